#pragma once

#include "bus/ProcessorAdaptor.h"
#include "bus/ServiceBackend.h"
#include "connection/FieldSnapshot.h"

#include <QObject>
#include <QTimer>

namespace quilo {

// The session-bus service org.quilo.Quilo of the process that owns the processor:
// the object /org/quilo/Quilo with ProcessorAdaptor on it. Every 50 ms (at once
// after a client's change) it looks at the image while it owns it and tells the
// fields that changed in one FieldsChanged, whoever changed them, and the
// properties that changed in one PropertiesChanged.
class ProcessorService : public QObject {
    Q_OBJECT
public:
    explicit ProcessorService(ServiceBackend& backend, QObject* parent = nullptr);
    ~ProcessorService() override;

    // Exports the object and takes the name on the session bus; false when there
    // is no bus or another process has the name (`problem` then says which).
    bool start(QString* problem = nullptr);
    // Looks for changes now.
    void look();

signals:
    // A client changed a field (the window names it for a moment).
    void changedByClient(const QString& client);

private:
    void emitPropertiesChanged(const ProcessorAdaptor::Properties& before);

    ServiceBackend& m_backend;
    ProcessorAdaptor* m_adaptor;
    FieldSnapshot m_snapshot;
    QTimer m_tick;
    bool m_registered = false;
};

} // namespace quilo
