#include "connection/CallLoop.h"

namespace quilo {

void CallLoop::post(std::function<void()> call) {
    {
        std::lock_guard lock(m_mutex);
        m_calls.push_back(std::move(call));
    }
    m_posted.notify_one();
}

bool CallLoop::runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        std::function<void()> call;
        {
            std::unique_lock lock(m_mutex);
            if (!m_posted.wait_until(lock, deadline, [this] { return !m_calls.empty(); })) {
                return done();
            }
            call = std::move(m_calls.front());
            m_calls.pop_front();
        }
        call();
    }
    return true;
}

void CallLoop::runPending() {
    std::deque<std::function<void()>> calls;
    {
        std::lock_guard lock(m_mutex);
        calls.swap(m_calls);
    }
    for (auto& call : calls) {
        call();
    }
}

} // namespace quilo
