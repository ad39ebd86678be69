#include "model/SyncRunner.h"

namespace quilo {

// What a run sends through: the paced sink while the run is current, nothing
// once it has been cancelled. Waits are the runner's own, so cancelling ends them.
class SyncRunner::RunSink : public ReportSink {
public:
    RunSink(SyncRunner& runner, std::uint64_t run) : m_runner(runner), m_run(run) {}

    int send(const Report& report) override {
        if (m_runner.cancelled(m_run)) {
            return 0;
        }
        return m_runner.m_pacedSink.send(report);
    }
    void pause(std::chrono::milliseconds duration) override { m_runner.waitFor(m_run, duration); }

private:
    SyncRunner& m_runner;
    std::uint64_t m_run;
};

SyncRunner::SyncRunner(DeviceImage& image, ReportSink& pacedSink, PollingGate& polling,
                       SyncTimings timings, DebugLog* log)
    : m_image(image), m_pacedSink(pacedSink), m_pollPause(polling), m_timings(timings), m_log(log) {
}

SyncRunner::~SyncRunner() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        m_cancelBelow = m_lastRun + 1;
        m_queue.clear();
    }
    m_wake.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
    m_image.owner = ImageOwner::Main;
}

void SyncRunner::setDoneCallback(DoneCallback callback) {
    std::lock_guard lock(m_mutex);
    m_done = std::move(callback);
}

void SyncRunner::setHandBackCallback(std::function<void()> callback) {
    std::lock_guard lock(m_mutex);
    m_handBack = std::move(callback);
}

void SyncRunner::setBeforeRunCallback(std::function<void()> callback) {
    std::lock_guard lock(m_mutex);
    m_beforeRun = std::move(callback);
}

std::uint64_t SyncRunner::start(Direction direction) {
    std::uint64_t run = 0;
    {
        std::lock_guard lock(m_mutex);
        run = ++m_lastRun;
        // Only the newest run matters: older ones stop sending and waiting.
        m_cancelBelow = run;
        m_queue.clear();
        m_queue.push_back({direction, run});
        m_image.owner = ImageOwner::Sync; // until the worker hands it back
        if (!m_thread.joinable()) {
            m_thread = std::thread([this] { workerLoop(); });
        }
    }
    m_wake.notify_all();
    return run;
}

void SyncRunner::cancel() {
    std::function<void()> handBack;
    {
        std::lock_guard lock(m_mutex);
        m_cancelBelow = m_lastRun + 1;
        m_queue.clear();
        if (!m_running && m_image.owner.load() == ImageOwner::Sync) {
            m_image.owner = ImageOwner::Main; // nothing started: nothing to wait for
            handBack = m_handBack;
        }
    }
    m_wake.notify_all();
    if (handBack) {
        handBack();
    }
}

bool SyncRunner::busy() const {
    std::lock_guard lock(m_mutex);
    return m_running || !m_queue.empty();
}

void SyncRunner::waitIdle() {
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return !m_running && m_queue.empty(); });
}

bool SyncRunner::cancelled(std::uint64_t run) const {
    return run < m_cancelBelow.load();
}

void SyncRunner::waitFor(std::uint64_t run, std::chrono::milliseconds d) {
    std::unique_lock lock(m_mutex);
    m_wake.wait_for(lock, d, [&] { return m_stop || cancelled(run); });
}

void SyncRunner::workerLoop() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || !m_queue.empty(); });
        if (m_stop) {
            break;
        }
        const Job job = m_queue.front();
        m_queue.pop_front();
        m_running = true;
        lock.unlock();
        const IdentityVerdict identity = perform(job);
        lock.lock();
        // A newer run queued meanwhile keeps the image; otherwise it goes back
        // before anyone hears that this run is done.
        std::function<void()> handBack;
        if (m_queue.empty()) {
            m_image.owner = ImageOwner::Main;
            handBack = m_handBack;
        }
        const DoneCallback done = cancelled(job.run) ? DoneCallback{} : m_done;
        lock.unlock();
        if (handBack) {
            handBack();
        }
        if (done) {
            done(job.direction, job.run, identity);
        }
        m_image.liveStatus.store({});
        m_pollPause.hold(false);
        lock.lock();
        m_running = false;
        if (m_queue.empty()) {
            m_idle.notify_all();
        }
    }
    m_running = false;
    m_idle.notify_all();
}

IdentityVerdict SyncRunner::perform(const Job& job) {
    if (m_log != nullptr) {
        m_log->write("Start thread:SynchronizeData\n");
    }
    RunSink sink(*this, job.run);
    Synchroniser sync(m_image, sink, m_timings);

    std::function<void()> beforeRun;
    {
        std::lock_guard lock(m_mutex);
        beforeRun = m_beforeRun;
    }
    if (beforeRun) {
        beforeRun();
    }
    m_image.liveStatus.store({});
    m_pollPause.hold(true);
    if (job.direction == Direction::Pull) {
        waitFor(job.run, m_timings.pullSettle);
        if (!cancelled(job.run)) {
            sync.pullAll();
        }
    } else {
        waitFor(job.run, m_timings.pushSettle);
        if (!cancelled(job.run)) {
            sync.pushAll();
        }
    }
    return checkIdentity(m_image);
}

} // namespace quilo
