#include "device/InboundQueue.h"

namespace quilo {

void InboundQueue::handleReport(const Report& report) {
    if (!m_dispatcher.takeOnReadThread(report)) {
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        m_reports.push_back(report);
    }
    if (m_notify) {
        m_notify();
    }
}

std::size_t InboundQueue::drain() {
    std::deque<Report> taken;
    {
        std::lock_guard lock(m_mutex);
        taken.swap(m_reports);
    }
    for (const Report& r : taken) {
        m_dispatcher.applyLater(r);
    }
    return taken.size();
}

std::size_t InboundQueue::size() const {
    std::lock_guard lock(m_mutex);
    return m_reports.size();
}

} // namespace quilo
