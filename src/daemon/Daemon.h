#pragma once

#include "bus/LongCalls.h"
#include "bus/MainThreadPoster.h"
#include "bus/ServiceBackend.h"
#include "connection/ProcessorConnection.h"
#include "smarthome/SmartHome.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>

class QSocketNotifier;

namespace quilo {

class DeviceWatcher;

// The headless owner of the processor: one connection kept synchronised (a
// read-back after every connection, then the smart-plug data, and the status
// poll) on this thread's event loop, served on the bus by a ProcessorService.
class Daemon : public QObject, public ServiceBackend, private ConnectionEvents {
    Q_OBJECT
public:
    struct Options {
        bool emulate = false;
        QString emulatorFile; // with emulate: the state file, loaded now and saved at stop
        std::shared_ptr<TraceSink> trace; // every report sent and received; none when null
    };
    explicit Daemon(const Options& options, QObject* parent = nullptr);
    ~Daemon() override;

    // Empty when the processor can be this process's: otherwise one line saying
    // who owns it or why its state file cannot be used.
    QString refusal() const;
    // Opens the processor (or waits for it to be plugged in) and keeps it synchronised.
    void start();
    // The goodbye, then the emulator's state saved; false when the save failed.
    bool stop(QString* problem = nullptr);

    QString ownerName() const override { return QStringLiteral("quilod"); }
    bool connected() const override { return m_connection->linkOpen(); }
    const DeviceImage& image() const override { return m_image; }
    const PlugTable* plugs() const override { return &m_connection->smartHome().table(); }
    const PlugKeyFile* plugKeys() const override { return &m_connection->smartHome().keys(); }
    std::string setField(const FieldRef& field, double value, const QString& client) override;
    std::string applyEq(int eqId, const std::string& text, const QString& client) override;
    LongStart pull(const std::string& path, Done done) override {
        return m_calls->pull(path, std::move(done));
    }
    LongStart push(const std::string& path, Done done, std::string* problem) override {
        return m_calls->push(path, std::move(done), problem);
    }
    LongStart recallMode(int mode, Done done) override {
        return m_calls->recallMode(mode, std::move(done));
    }
    LongStart storeMode(int mode, Done done) override {
        return m_calls->storeMode(mode, std::move(done));
    }
    LongStart runScene(int scene, Done done) override {
        return m_calls->runScene(scene, std::move(done));
    }
    LongStart setPlug(int id, int value, Done done) override {
        return m_calls->setPlug(id, value, std::move(done));
    }
    LongStart includePlug(int type, const std::string& name, DoneWith done,
                          std::string* problem) override {
        return m_calls->includePlug(type, name, std::move(done), problem);
    }
    LongStart excludePlug(DoneWith done) override { return m_calls->excludePlug(std::move(done)); }
    LongStart learnRemoteKey(int key, int timeoutS, DoneWith done) override {
        return m_calls->learnRemoteKey(key, std::chrono::seconds(timeoutS), std::move(done));
    }
    LongStart pushRemote(const std::string& path, Done done, std::string* problem) override {
        return m_calls->pushRemote(path, std::move(done), problem);
    }
    LongStart pullRemote(const std::string& path, Done done) override {
        return m_calls->pullRemote(path, std::move(done));
    }

    ProcessorConnection& connection() { return *m_connection; }

private:
    void tryOpen();
    void watchHotPlug();
    void pollStatus();
    void syncDone(SyncRunner::Direction direction, std::uint64_t run) override;
    void readFailed() override;
    void zwaveEvent(const ZwaveEvent& event) override;
    void workerNotice(WorkerNotice notice) override;
    void learnedKey(int code) override { m_calls->learnedKey(code); }

    DeviceImage m_image;
    // Hands what the read thread and the workers tell onto this thread.
    MainThreadPoster m_poster;
    std::unique_ptr<ProcessorConnection> m_connection;
    std::unique_ptr<LongCalls> m_calls;
    std::unique_ptr<DeviceWatcher> m_watcher;
    QSocketNotifier* m_watchNotifier = nullptr;
    QTimer m_poll;
};

} // namespace quilo
