#pragma once

#include "device/DebugLog.h"
#include "smarthome/PlugCommands.h"
#include "smarthome/PlugTable.h"
#include "smarthome/SmartHomeEvents.h"
#include "smarthome/SmartHomeTimings.h"
#include "smarthome/ZwavePort.h"

#include <condition_variable>
#include <functional>
#include <list>
#include <mutex>
#include <stop_token>
#include <thread>

namespace quilo {

// The smart-home workers: synchronisation, network reset and scene runs, each on
// a thread of its own started per request (a scene may run during a
// synchronisation). They send through a blocking port and report through the
// events when they are done. stop() — and the destructor — ends every pause and
// poll at once; a stopped worker sends nothing more and reports nothing.
class PlugWorkers {
public:
    PlugWorkers(PlugTable& table, ZwavePort& port, SmartHomeEvents& events, DebugLog* log = nullptr,
                SmartHomeTimings timings = {});
    ~PlugWorkers();
    PlugWorkers(const PlugWorkers&) = delete;
    PlugWorkers& operator=(const PlugWorkers&) = delete;

    // Start a worker; false once stop() has been called.
    bool syncPlugsAsync();
    bool resetNetworkAsync();
    bool runSceneAsync(int scene);

    // Ends every worker's pauses and polls and refuses new work from then on;
    // returns at once. A paced write in progress still waits for the processor
    // (at most the link's pacing wait) unless the link is closed.
    void requestStop();
    // requestStop(), then waits for every worker to end. At exit: requestStop(),
    // close the link, stop(). Never from a worker or from its events.
    void stop();
    // Waits until no worker runs. Not for the user-interface thread.
    void waitIdle();
    bool busy() const;

    // The work itself, on the calling thread; each wait ends early when `stop`
    // is requested.
    //
    // Clears the init-data flag, asks for the node list and waits for it (6 s);
    // true when it came.
    bool getInitData(std::stop_token stop);
    // Reads the record of every present plug 2-232, then the six scenes.
    void readAllPlugData(std::stop_token stop);
    // Settle, node list, and when it came the records and scenes; then
    // PlugDataRefreshed. Without a node list the table stays as it was.
    void synchronise(std::stop_token stop);
    // SetDefault, six empty scenes written, node list, records and scenes, then
    // PlugDataRefreshed. The records in Z-Wave memory are not cleared.
    void resetNetwork(std::stop_token stop);
    // SceneStarted, the scene's steps in order, SceneFinished. A plug step waits
    // for its end of send (6 s; on time-out the scene goes on), a delay step for
    // its seconds; every non-empty step is followed by a short pause.
    void runScene(int scene, std::stop_token stop);

    const SmartHomeTimings& timings() const { return m_timings; }

private:
    struct Worker {
        std::thread thread;
        bool done = false; // guarded by m_mutex
    };

    bool start(std::function<void(std::stop_token)> work);
    bool pause(std::chrono::milliseconds duration, std::stop_token stop);
    void notice(WorkerNotice notice, std::stop_token stop);
    void debug(const char* text);

    PlugTable& m_table;
    SmartHomeEvents& m_events;
    DebugLog* m_log;
    PlugCommands m_commands;
    const SmartHomeTimings m_timings;

    mutable std::mutex m_mutex;
    std::condition_variable m_idle;
    std::list<Worker> m_workers;
    std::stop_source m_stop;
    bool m_stopped = false;
};

} // namespace quilo
