#include "smarthome/PlugWorkers.h"

#include "smarthome/PlugFrames.h"
#include "smarthome/ZwaveMemoryMap.h"

#include <condition_variable>

namespace quilo {

PlugWorkers::PlugWorkers(PlugTable& table, ZwavePort& port, SmartHomeEvents& events, DebugLog* log,
                         SmartHomeTimings timings)
    : m_table(table), m_events(events), m_log(log), m_commands(table, port, events, log),
      m_timings(timings) {}

PlugWorkers::~PlugWorkers() {
    stop();
}

bool PlugWorkers::syncPlugsAsync() {
    return start([this](std::stop_token stop) { synchronise(stop); });
}

bool PlugWorkers::resetNetworkAsync() {
    return start([this](std::stop_token stop) { resetNetwork(stop); });
}

bool PlugWorkers::runSceneAsync(int scene) {
    return start([this, scene](std::stop_token stop) { runScene(scene, stop); });
}

bool PlugWorkers::start(std::function<void(std::stop_token)> work) {
    std::lock_guard lock(m_mutex);
    if (m_stopped) {
        return false;
    }
    // Threads that have finished are joined here, so the list stays short.
    for (auto it = m_workers.begin(); it != m_workers.end();) {
        if (it->done) {
            it->thread.join();
            it = m_workers.erase(it);
        } else {
            ++it;
        }
    }
    Worker& worker = m_workers.emplace_back();
    worker.thread = std::thread([this, &worker, work = std::move(work), stop = m_stop.get_token()] {
        work(stop);
        std::lock_guard done(m_mutex);
        worker.done = true;
        m_idle.notify_all();
    });
    return true;
}

void PlugWorkers::requestStop() {
    std::lock_guard lock(m_mutex);
    m_stopped = true;
    m_stop.request_stop();
}

void PlugWorkers::stop() {
    requestStop();
    // A finishing worker takes the lock to say so: wait, then join without it.
    waitIdle();
    std::list<Worker> workers;
    {
        std::lock_guard lock(m_mutex);
        workers.swap(m_workers);
    }
    for (Worker& w : workers) {
        w.thread.join();
    }
}

void PlugWorkers::waitIdle() {
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] {
        for (const Worker& w : m_workers) {
            if (!w.done) {
                return false;
            }
        }
        return true;
    });
}

bool PlugWorkers::busy() const {
    std::lock_guard lock(m_mutex);
    for (const Worker& w : m_workers) {
        if (!w.done) {
            return true;
        }
    }
    return false;
}

bool PlugWorkers::getInitData(std::stop_token stop) {
    m_table.clearFlag(PlugTable::Flag::InitData);
    m_commands.sendFrame(buildGetInitData());
    return m_table.waitFlag(PlugTable::Flag::InitData, m_timings.initDataTimeout(), stop);
}

void PlugWorkers::readAllPlugData(std::stop_token stop) {
    if (!pause(m_timings.readAllStart, stop)) {
        return;
    }
    debug("ZWAVE_ReadAll\n");
    for (int id : m_table.snapshot().plugIds()) {
        if (stop.stop_requested()) {
            return;
        }
        m_commands.sendPaced(buildReadPlugRecord(id));
    }
    if (!pause(m_timings.readAllGap, stop)) {
        return;
    }
    for (int s = 0; s < kSceneCount && !stop.stop_requested(); ++s) {
        m_commands.sendPaced(buildReadScene(s));
    }
}

void PlugWorkers::synchronise(std::stop_token stop) {
    if (!pause(m_timings.syncSettle, stop)) {
        return;
    }
    if (getInitData(stop)) {
        readAllPlugData(stop);
        m_table.setPlugsSynced(true);
        pause(m_timings.workerTail, stop);
    }
    notice(WorkerNotice::PlugDataRefreshed, stop);
}

void PlugWorkers::resetNetwork(std::stop_token stop) {
    m_table.clearFlag(PlugTable::Flag::Ack);
    m_commands.sendFrame(buildSetDefault());
    m_table.waitFlag(PlugTable::Flag::Ack, m_timings.ackTimeout(), stop);
    m_table.clearScenes();
    for (int s = 0; s < kSceneCount && !stop.stop_requested(); ++s) {
        m_commands.writeScene(s);
    }
    if (stop.stop_requested()) {
        return;
    }
    getInitData(stop);
    readAllPlugData(stop);
    pause(m_timings.workerTail, stop);
    notice(WorkerNotice::PlugDataRefreshed, stop);
}

void PlugWorkers::runScene(int scene, std::stop_token stop) {
    notice(WorkerNotice::SceneStarted, stop);
    const Scene steps = m_table.scene(scene);
    for (const SceneStep& step : steps) {
        if (stop.stop_requested()) {
            return;
        }
        switch (m_commands.startStep(step.node, step.value)) {
        case PlugCommands::StepWait::None:
            break;
        case PlugCommands::StepWait::Delay:
            if (pause(step.value * m_timings.delaySecond, stop)) {
                m_table.setFlag(PlugTable::Flag::Ack);
            }
            break;
        case PlugCommands::StepWait::Ack:
            // Without an end of send in time the step counts as done.
            m_table.waitFlag(PlugTable::Flag::Ack, m_timings.ackTimeout(), stop);
            break;
        }
        if (step.node != kEmptyStep) {
            pause(m_timings.stepGap, stop);
        }
    }
    notice(WorkerNotice::SceneFinished, stop);
}

bool PlugWorkers::pause(std::chrono::milliseconds duration, std::stop_token stop) {
    if (duration.count() <= 0) {
        return !stop.stop_requested();
    }
    std::mutex mutex;
    std::condition_variable_any cv;
    std::unique_lock lock(mutex);
    return !cv.wait_for(lock, stop, duration, [] { return false; }) && !stop.stop_requested();
}

void PlugWorkers::notice(WorkerNotice notice, std::stop_token stop) {
    if (!stop.stop_requested()) {
        m_events.workerNotice(notice);
    }
}

void PlugWorkers::debug(const char* text) {
    if (m_log) {
        m_log->write(text);
    }
}

} // namespace quilo
