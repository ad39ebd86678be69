#pragma once

#include "connection/Poster.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace quilo {

// The event loop of a thread without Qt (a command-line run): other threads post
// calls, the owning thread runs them, oldest first, while it waits in runUntil.
class CallLoop {
public:
    void post(std::function<void()> call);
    // A poster onto this loop; the loop must outlive every call of it.
    Poster poster() {
        return [this](std::function<void()> call) { post(std::move(call)); };
    }

    // Runs posted calls until `done` holds (checked before and after each call) or
    // `timeout` has passed; whether `done` held.
    bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
    // Runs what has been posted so far.
    void runPending();

private:
    std::mutex m_mutex;
    std::condition_variable m_posted;
    std::deque<std::function<void()>> m_calls;
};

} // namespace quilo
