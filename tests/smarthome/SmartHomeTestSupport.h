#pragma once

#include "smarthome/SmartHomeEvents.h"
#include "smarthome/ZwavePort.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace quilo::test {

// A Z-Wave event from its function id and the high and low halves of its word.
inline ZwaveEvent ev(std::uint8_t function, int high, int low) {
    return {function, std::uint32_t(high) << 16 | std::uint32_t(low)};
}

// Keeps what a port is handed, in order, each report with its kind.
class RecordingPort : public ZwavePort {
public:
    enum class Kind { Paced, Unpaced, Release };
    struct Entry {
        Kind kind;
        Report report;
    };

    int sendPaced(const Report& r) override { return record(Kind::Paced, r); }
    int sendUnpaced(const Report& r) override { return record(Kind::Unpaced, r); }
    void releasePacing() override { record(Kind::Release, Report{}); }
    bool connected() const override { return isConnected; }

    std::vector<Entry> entries;
    bool isConnected = true;

private:
    int record(Kind kind, const Report& r) {
        entries.push_back({kind, r});
        return isConnected ? 61 : 0;
    }
};

// Keeps every event and notice, from any thread; waits for notices.
class RecordingHomeEvents : public SmartHomeEvents {
public:
    void zwaveEvent(const ZwaveEvent& e) override {
        std::lock_guard lock(m_mutex);
        m_events.push_back(e);
        m_changed.notify_all();
    }
    void workerNotice(WorkerNotice n) override {
        std::lock_guard lock(m_mutex);
        m_notices.push_back(n);
        m_changed.notify_all();
    }
    void hdmiSelected(int input) override {
        std::lock_guard lock(m_mutex);
        m_hdmi.push_back(input);
    }

    std::vector<ZwaveEvent> events() const {
        std::lock_guard lock(m_mutex);
        return m_events;
    }
    std::vector<WorkerNotice> notices() const {
        std::lock_guard lock(m_mutex);
        return m_notices;
    }
    std::vector<int> hdmi() const {
        std::lock_guard lock(m_mutex);
        return m_hdmi;
    }
    // Waits until `count` notices have come, at most `timeout`.
    bool waitNotices(std::size_t count, std::chrono::milliseconds timeout) const {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, timeout, [&] { return m_notices.size() >= count; });
    }
    // Waits for an event matching `pred`.
    template <typename Pred> bool waitEvent(Pred pred, std::chrono::milliseconds timeout) const {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, timeout, [&] {
            for (const ZwaveEvent& e : m_events) {
                if (pred(e)) {
                    return true;
                }
            }
            return false;
        });
    }

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::vector<ZwaveEvent> m_events;
    std::vector<WorkerNotice> m_notices;
    std::vector<int> m_hdmi;
};

} // namespace quilo::test
