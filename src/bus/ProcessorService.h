#pragma once

#include "bus/ProcessorAdaptor.h"
#include "bus/ServiceBackend.h"
#include "connection/FieldSnapshot.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>

namespace quilo {

// The session-bus service org.quilo.Quilo of the process that owns the processor:
// the object /org/quilo/Quilo with ProcessorAdaptor on it. Every 50 ms (sooner
// after an edit, see poke) it looks at the image while it owns it and tells the
// fields that changed in one FieldsChanged, whoever changed them, and the
// properties that changed in one PropertiesChanged. The same looks feed the
// owner's other remotes (fieldsChanged, propertiesChanged), bus or no bus.
class ProcessorService : public QObject {
    Q_OBJECT
public:
    explicit ProcessorService(ServiceBackend& backend, QObject* parent = nullptr);
    ~ProcessorService() override;

    // Exports the object and takes the name on the session bus; false when there
    // is no bus or another process has the name (`problem` then says which).
    bool start(QString* problem = nullptr);
    bool onBus() const { return m_registered; }
    // Looks for changes now.
    void look();
    // Something was sent: look once the event loop runs again (so a setter has
    // finished all it stores), or, when fields were told less than 50 ms ago, as
    // soon as that is 50 ms old.
    void poke();

    ServiceBackend& backend() { return m_backend; }
    // What was last told of Connected, Model, ProtocolVersion and CurrentMode.
    const ProcessorAdaptor::Properties& properties() const { return m_adaptor->told(); }

signals:
    // A client changed a field (the window names it for a moment).
    void changedByClient(const QString& client);
    // After a look that found changes, with or without the bus.
    void fieldsChanged(const QStringList& names);
    void propertiesChanged();

private:
    void emitPropertiesChanged(const ProcessorAdaptor::Properties& before);

    ServiceBackend& m_backend;
    ProcessorAdaptor* m_adaptor;
    FieldSnapshot m_snapshot;
    QTimer m_tick;
    QTimer m_soon;
    QElapsedTimer m_sinceTold; // since the last look that found changed fields
    bool m_registered = false;
};

} // namespace quilo
