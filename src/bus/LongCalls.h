#pragma once

#include "bus/ServiceBackend.h"
#include "connection/ProcessorConnection.h"
#include "remote/RemoteKeys.h"
#include "smarthome/PlugJoining.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace quilo {

// The long calls a bus client (or another remote) asks of the processor's owner:
// read-back into a mode file, write-out of one, stored modes, scenes and one plug
// command, one at a time and each answered when it is done. Both owners use it on
// their own thread; they tell it the ends their connection reports.
class LongCalls : public QObject {
    Q_OBJECT
public:
    using Done = ServiceBackend::Done;
    using LongStart = ServiceBackend::LongStart;
    // How the owner starts a run (the program under its progress dialog); the run's id.
    struct Runs {
        std::function<std::uint64_t()> startPull;
        std::function<std::uint64_t()> startPush;
    };

    LongCalls(ProcessorConnection& connection, DeviceImage& image, Runs runs,
              QObject* parent = nullptr);

    LongStart pull(const std::string& path, Done done);
    LongStart push(const std::string& path, Done done, std::string* problem);
    LongStart recallMode(int mode, Done done);
    LongStart storeMode(int mode, Done done);
    LongStart runScene(int scene, Done done);
    LongStart setPlug(int id, int value, Done done);
    LongStart includePlug(int type, const std::string& name, ServiceBackend::DoneWith done,
                          std::string* problem);
    LongStart excludePlug(ServiceBackend::DoneWith done);
    // The processor learns remote key `key` (1-17) from the user's remote within
    // `timeout`; `done` tells the code. The status poll keeps quiet meanwhile.
    LongStart learnRemoteKey(int key, std::chrono::milliseconds timeout,
                             ServiceBackend::DoneWith done);
    // A remote-key file into the processor's table (answered once sent), or the
    // table as the owner holds it into a file. Refused: a file that does not read.
    LongStart pushRemote(const std::string& path, Done done, std::string* problem);
    LongStart pullRemote(const std::string& path, Done done);

    // A run (a client's, or the owner's own read-back) or another call holds the processor.
    bool busy() const;

    // What the connection told the owner.
    void syncDone(std::uint64_t run);
    void zwaveEvent(const ZwaveEvent& event);
    void workerNotice(WorkerNotice notice);
    void learnedKey(int code);

private:
    struct LongRun {
        std::uint64_t run = 0;
        SyncRunner::Direction direction = SyncRunner::Direction::Pull;
        std::string path; // the mode file of a pull; none after a recall
        Done done;
    };
    void finishLongRun();
    LongStart startJoining(PlugJoining::Kind kind, int type, const std::string& name,
                           ServiceBackend::DoneWith done, std::string* problem);
    void joiningOutcome(const PlugJoining::Outcome& outcome);
    // Calls `then` on this thread once the writer has written what is queued now
    // (or the link is gone).
    void whenWritten(std::function<void()> then);

    ProcessorConnection& m_connection;
    DeviceImage& m_image;
    Runs m_runs;
    std::optional<LongRun> m_longRun;
    // A scene running, or a Basic Set waiting for its end of send (callback id).
    Done m_sceneDone;
    int m_plugId = 0;
    int m_plugValue = 0;
    int m_plugCallback = -1;
    Done m_plugDone;
    QTimer m_plugTimeout;
    PlugJoining m_joining;
    ServiceBackend::DoneWith m_joinDone;
    QTimer m_joinTimeout; // no word from the module this long: no plug is coming
    RemoteKeys m_remote;
    int m_learningKey = 0;
    ServiceBackend::DoneWith m_learnDone;
    std::optional<PollingGate::Pause> m_learnQuiet;
    QTimer m_learnTimeout;
};

} // namespace quilo
