#pragma once

#include "app/MainThreadPoster.h"
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
    LongStart pull(const std::string& path, Done done) override;
    LongStart push(const std::string& path, Done done, std::string* problem) override;
    LongStart recallMode(int mode, Done done) override;
    LongStart storeMode(int mode, Done done) override;
    LongStart runScene(int scene, Done done) override;
    LongStart setPlug(int id, int value, Done done) override;

    ProcessorConnection& connection() { return *m_connection; }

private:
    void tryOpen();
    void watchHotPlug();
    void pollStatus();
    void syncDone(SyncRunner::Direction direction, std::uint64_t run) override;
    void readFailed() override;
    void zwaveEvent(const ZwaveEvent& event) override;
    void workerNotice(WorkerNotice notice) override;

    // A bus client's read-back or write-out, answered when its run is done.
    struct LongRun {
        std::uint64_t run = 0;
        SyncRunner::Direction direction = SyncRunner::Direction::Pull;
        std::string path; // the mode file of a pull; none after a recall
        Done done;
    };
    // Busy: a run (the client's or the daemon's own read-back) holds the image.
    bool busy() const;
    void finishLongRun();
    // Calls `then` on this thread once the writer has written what is queued now
    // (or the link is gone).
    void whenWritten(std::function<void()> then);

    DeviceImage m_image;
    // Hands what the read thread and the workers tell onto this thread.
    MainThreadPoster m_poster;
    std::optional<LongRun> m_longRun;
    // A scene running, or a Basic Set waiting for its end of send (callback id).
    Done m_sceneDone;
    int m_plugId = 0;
    int m_plugValue = 0;
    int m_plugCallback = -1;
    Done m_plugDone;
    QTimer m_plugTimeout;
    std::unique_ptr<ProcessorConnection> m_connection;
    std::unique_ptr<DeviceWatcher> m_watcher;
    QSocketNotifier* m_watchNotifier = nullptr;
    QTimer m_poll;
};

} // namespace quilo
