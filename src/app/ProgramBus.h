#pragma once

#include "bus/LongCalls.h"
#include "bus/ProcessorService.h"
#include "bus/ServiceBackend.h"

#include <QElapsedTimer>
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
    std::string setField(const FieldRef& field, double value, const QString& client) override;
    std::string applyEq(int eqId, const std::string& text, const QString& client) override;
    // Runs go under the window's progress dialog, as the user's own do.
    LongStart pull(const std::string& path, Done done) override {
        return m_calls.pull(path, std::move(done));
    }
    LongStart push(const std::string& path, Done done, std::string* problem) override {
        return m_calls.push(path, std::move(done), problem);
    }
    LongStart recallMode(int mode, Done done) override {
        return m_calls.recallMode(mode, std::move(done));
    }
    LongStart storeMode(int mode, Done done) override {
        return m_calls.storeMode(mode, std::move(done));
    }
    LongStart runScene(int scene, Done done) override {
        return m_calls.runScene(scene, std::move(done));
    }
    LongStart setPlug(int id, int value, Done done) override {
        return m_calls.setPlug(id, value, std::move(done));
    }
    LongStart includePlug(int type, const std::string& name, DoneWith done,
                          std::string* problem) override {
        return m_calls.includePlug(type, name, std::move(done), problem);
    }
    LongStart excludePlug(DoneWith done) override { return m_calls.excludePlug(std::move(done)); }
    LongStart learnRemoteKey(int key, int timeoutS, DoneWith done) override {
        return m_calls.learnRemoteKey(key, std::chrono::seconds(timeoutS), std::move(done));
    }
    LongStart pushRemote(const std::string& path, Done done, std::string* problem) override {
        return m_calls.pushRemote(path, std::move(done), problem);
    }
    LongStart pullRemote(const std::string& path, Done done) override {
        return m_calls.pullRemote(path, std::move(done));
    }

private:
    // A read-back or write-out under the progress dialog; its run id.
    std::uint64_t startRun(SyncRunner::Direction direction);
    // The window shows what clients changed: at once, or when the last showing is a
    // frame old.
    void showSoon();
    void hint(const QString& text);

    CVORNEXv13App& m_app;
    CMainFrame& m_frame;
    LongCalls m_calls;
    ProcessorService m_service;
    QTimer m_refresh;
    QElapsedTimer m_sinceRefresh;
    QTimer m_hintEnd;
};

} // namespace quilo
