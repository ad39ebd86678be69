#include "connection/ReplyWatch.h"

namespace quilo {

void ReplyWatch::handleReport(const Report& report) {
    m_next.handleReport(report);
    {
        std::lock_guard lock(m_mutex);
        ++m_counts[report[1]];
        m_latest[report[1]] = report;
    }
    m_arrived.notify_all();
}

std::uint64_t ReplyWatch::count(std::uint8_t code) const {
    std::lock_guard lock(m_mutex);
    return m_counts[code];
}

std::optional<Report> ReplyWatch::await(std::uint8_t code, std::uint64_t seen,
                                        std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    if (!m_arrived.wait_for(lock, timeout, [&] { return m_counts[code] > seen; })) {
        return std::nullopt;
    }
    return m_latest[code];
}

} // namespace quilo
