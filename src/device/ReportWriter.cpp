#include "device/ReportWriter.h"

#include "device/Command.h"

namespace quilo {

namespace {

constexpr int kAccepted = static_cast<int>(kReportSize);

bool isSetParam(const Report& r) {
    return r[1] == static_cast<std::uint8_t>(Command::SetParam);
}

// Same module, parameter and word count.
bool sameParameter(const Report& a, const Report& b) {
    return a[3] == b[3] && a[4] == b[4] && a[5] == b[5];
}

} // namespace

ReportWriter::ReportWriter(UsbLink& link) : m_link(link), m_thread([this] { run(); }) {}

ReportWriter::~ReportWriter() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        m_queue.clear();
    }
    m_wake.notify_all();
    m_thread.join();
}

int ReportWriter::send(const Report& report) {
    return enqueueReport(Kind::Paced, report);
}

int ReportWriter::sendUnpaced(const Report& report) {
    return enqueueReport(Kind::Unpaced, report);
}

int ReportWriter::enqueueReport(Kind kind, const Report& report) {
    if (!m_link.acceptsWrites()) {
        return 0;
    }
    const std::uint64_t session = m_link.session();
    {
        std::lock_guard lock(m_mutex);
        if (kind == Kind::Paced && isSetParam(report) && !m_queue.empty()) {
            Entry& tail = m_queue.back();
            if (tail.kind == Kind::Paced && tail.session == session && isSetParam(tail.report) &&
                sameParameter(tail.report, report)) {
                tail.report = report; // the newer value wins; its place stays
                return kAccepted;
            }
        }
        m_queue.push_back(Entry{kind, report, {}, session});
    }
    m_wake.notify_all();
    return kAccepted;
}

void ReportWriter::pause(std::chrono::milliseconds duration) {
    if (m_link.linkOpen()) {
        enqueue(Entry{Kind::Pause, {}, duration, m_link.session()});
    }
}

void ReportWriter::releasePacing() {
    if (m_link.linkOpen()) {
        enqueue(Entry{Kind::Release, {}, {}, m_link.session()});
    }
}

void ReportWriter::enqueue(Entry entry) {
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(entry);
    }
    m_wake.notify_all();
}

void ReportWriter::flush() {
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return drained(); });
}

bool ReportWriter::flushFor(std::chrono::milliseconds limit) {
    std::unique_lock lock(m_mutex);
    return m_idle.wait_for(lock, limit, [this] { return drained(); });
}

bool ReportWriter::drained() const {
    return m_stop || (m_queue.empty() && !m_busy);
}

std::uint64_t ReportWriter::written() const {
    std::lock_guard lock(m_mutex);
    return m_written;
}

std::size_t ReportWriter::queued() const {
    std::lock_guard lock(m_mutex);
    return m_queue.size();
}

void ReportWriter::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || !m_queue.empty(); });
        if (m_stop) {
            break;
        }
        m_busy = true;
        const Entry& front = m_queue.front();
        const Kind kind = front.kind;
        const std::uint64_t session = front.session;
        const std::chrono::milliseconds duration = front.duration;
        if (session != m_link.session()) {
            // Queued for an earlier connection: it does not go to a newer one.
            m_queue.pop_front();
        } else if (kind == Kind::Paced) {
            // The report stays at the head of the queue while the writer waits for
            // the reply, so a newer value of the same parameter can still replace it.
            lock.unlock();
            const bool accepted = m_link.acceptsWrites();
            if (accepted) {
                m_link.awaitReply(session);
            }
            lock.lock();
            if (m_stop) {
                break;
            }
            const Report report = m_queue.front().report;
            m_queue.pop_front();
            if (accepted) {
                lock.unlock();
                m_link.writeReport(report, session);
                lock.lock();
                ++m_written;
            }
        } else if (kind == Kind::Unpaced) {
            const Report report = front.report;
            m_queue.pop_front();
            lock.unlock();
            m_link.writeUnpaced(report);
            lock.lock();
            ++m_written;
        } else if (kind == Kind::Release) {
            m_queue.pop_front();
            lock.unlock();
            m_link.releasePacing();
            lock.lock();
        } else {
            m_queue.pop_front();
            if (m_link.linkOpen()) {
                // A stop ends the gap at once.
                m_wake.wait_for(lock, duration, [this] { return m_stop; });
            }
        }
        m_busy = false;
        if (m_queue.empty()) {
            m_idle.notify_all();
        }
    }
    m_busy = false;
    m_idle.notify_all();
}

} // namespace quilo
