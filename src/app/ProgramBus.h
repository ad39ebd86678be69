#pragma once

#include "bus/ProcessorService.h"
#include "bus/ServiceBackend.h"

#include <QObject>
#include <QTimer>

namespace quilo {

class CMainFrame;
class CVORNEXv13App;

// The desktop program as the processor's owner on the session bus: a client's
// change goes through the image's setters as one undo step, shows at once in the
// master controls, the page and the tool windows, and is named in the status
// bar's hint for a second. Without a bus the program works as before and says
// once that scripts cannot reach it.
class ProgramBus : public QObject, public ServiceBackend {
    Q_OBJECT
public:
    // Without `serveOnBus` (plain emulation) the changes are still looked at for
    // the program's other remotes, but nothing is served on the bus.
    ProgramBus(CVORNEXv13App& app, CMainFrame& frame, bool serveOnBus, QObject* parent = nullptr);
    ~ProgramBus() override;

    ProcessorService& service() { return m_service; }

    QString ownerName() const override { return QStringLiteral("quilo"); }
    bool connected() const override;
    const DeviceImage& image() const override;
    const PlugTable* plugs() const override;
    const PlugKeyFile* plugKeys() const override;
    std::string setField(const FieldRef& field, double value, const QString& client) override;

private:
    void hint(const QString& text);

    CVORNEXv13App& m_app;
    CMainFrame& m_frame;
    ProcessorService m_service;
    QTimer m_hintEnd;
};

} // namespace quilo
