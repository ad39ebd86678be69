#pragma once

#include "device/InboundHandler.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>

namespace quilo {

// Sits between the read thread and the dispatcher: hands every report on, then
// counts it by its code, so that a caller can wait for the answer to what it
// sends (a remote table, a learned key) instead of guessing how long it takes.
class ReplyWatch : public InboundHandler {
public:
    explicit ReplyWatch(InboundHandler& next) : m_next(next) {}

    void handleReport(const Report& report) override;
    void linkClosing() override { m_next.linkClosing(); }

    // Replies with this code so far; take it before sending the request.
    std::uint64_t count(std::uint8_t code) const;
    // Waits until more than `seen` replies with this code have come, at most
    // `timeout`; the newest of them, or nothing on time-out. Once it returns,
    // the next handler has taken that reply.
    std::optional<Report> await(std::uint8_t code, std::uint64_t seen,
                                std::chrono::milliseconds timeout);

private:
    InboundHandler& m_next;
    mutable std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::array<std::uint64_t, 256> m_counts{};
    std::array<Report, 256> m_latest{};
};

} // namespace quilo
