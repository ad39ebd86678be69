#pragma once

#include "device/DebugLog.h"
#include "device/ReportSink.h"
#include "model/DeviceImage.h"
#include "model/PollingGate.h"
#include "model/Synchroniser.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace quilo {

// Runs read-backs and write-outs off the user-interface thread.
//
// Starting a run takes the image from the main thread (DeviceImage::owner); the
// worker hands it back when no further run is waiting, before it reports "sync
// done". The paced sink must put the processor's replies into the image as they
// come (a DrainingSink), since the worker owns it meanwhile.
//
// Every run holds a pause of the status poll and zeroes the live status for its whole
// length, waits for the processor to settle, synchronises through the paced sink
// and then reports "sync done" with its direction. Runs go one after another on
// one worker thread. Starting a run while another is still going cancels the
// older one: its remaining reports are dropped, its waits end at once and it
// reports nothing, so only the newest run's result reaches the caller.
class SyncRunner {
public:
    enum class Direction { Pull = 0, Push = 1 };
    // Called on the worker thread after the image went back to the main thread;
    // `run` is the number startPull/startPush returned, `identity` what the image
    // said of the processor when the run ended.
    using DoneCallback =
        std::function<void(Direction direction, std::uint64_t run, IdentityVerdict identity)>;

    SyncRunner(DeviceImage& image, ReportSink& pacedSink, PollingGate& polling,
               SyncTimings timings = {}, DebugLog* log = nullptr);
    // Cancels whatever runs or waits and joins the worker; the image is the main
    // thread's again.
    ~SyncRunner();
    SyncRunner(const SyncRunner&) = delete;
    SyncRunner& operator=(const SyncRunner&) = delete;

    void setDoneCallback(DoneCallback callback);
    // Called whenever the image goes back to the main thread, before a done call,
    // also when the last run was cancelled (on the worker, or on the thread that
    // cancelled when nothing was running).
    void setHandBackCallback(std::function<void()> callback);
    // Called on the worker as every run starts, before it sends or waits: the owner
    // lets the edits it has queued reach the processor first, so that a read-back
    // cannot overtake them and read back the values they replace.
    void setBeforeRunCallback(std::function<void()> callback);

    std::uint64_t startPull() { return start(Direction::Pull); }
    std::uint64_t startPush() { return start(Direction::Push); }

    // Ends the current and queued runs early, without their done calls; the image
    // goes back when the current run has stopped.
    void cancel();
    // True while a run is queued or going.
    bool busy() const;
    // Waits until no run is queued or going. Not for the user-interface thread.
    void waitIdle();

    const SyncTimings& timings() const { return m_timings; }

private:
    struct Job {
        Direction direction;
        std::uint64_t run;
    };
    class RunSink;

    std::uint64_t start(Direction direction);
    void workerLoop();
    IdentityVerdict perform(const Job& job);
    bool cancelled(std::uint64_t run) const;
    // Waits `d` unless run `run` is cancelled first.
    void waitFor(std::uint64_t run, std::chrono::milliseconds d);

    DeviceImage& m_image;
    ReportSink& m_pacedSink;
    PollingGate::Pause m_pollPause; // the worker's own, taken and released there
    const SyncTimings m_timings;
    DebugLog* m_log;

    mutable std::mutex m_mutex;
    std::condition_variable m_wake; // new work, cancellation or stop
    std::condition_variable m_idle;
    std::deque<Job> m_queue;
    bool m_running = false;
    bool m_stop = false;
    std::uint64_t m_lastRun = 0;
    std::atomic<std::uint64_t> m_cancelBelow{0}; // runs numbered below this are cancelled
    DoneCallback m_done;
    std::function<void()> m_handBack;
    std::function<void()> m_beforeRun;
    std::thread m_thread; // started on the first run
};

} // namespace quilo
