#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace quilo {

// An event that lets exactly one waiter through per set() and then closes again.
class AutoResetEvent {
public:
    explicit AutoResetEvent(bool signalled = false) : m_signalled(signalled) {}

    void set() {
        {
            std::lock_guard lock(m_mutex);
            m_signalled = true;
        }
        m_cv.notify_one();
    }

    void reset() {
        std::lock_guard lock(m_mutex);
        m_signalled = false;
    }

    // True when the event was set within `timeout` (and is now consumed).
    bool waitFor(std::chrono::milliseconds timeout) {
        return waitFor(timeout, [] { return false; });
    }

    // The same, but also gives up as soon as `abandon` holds; whoever makes it
    // hold calls wakeAll() afterwards.
    template <typename Abandon> bool waitFor(std::chrono::milliseconds timeout, Abandon abandon) {
        std::unique_lock lock(m_mutex);
        m_cv.wait_for(lock, timeout, [&] { return m_signalled || abandon(); });
        // An abandoned waiter leaves the signal to those who still want it.
        if (!m_signalled || abandon()) {
            return false;
        }
        m_signalled = false;
        return true;
    }

    // Wakes every waiter to look at its abandon condition; sets nothing.
    void wakeAll() {
        { std::lock_guard lock(m_mutex); }
        m_cv.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_signalled;
};

} // namespace quilo
