#include "device/TracingTransport.h"

#include "device/ProtocolTrace.h"

#include <algorithm>

namespace quilo {

namespace {

void tell(TraceSink& sink, TraceDirection direction, const Report& report, int bytes) {
    if (bytes <= 0) {
        return;
    }
    TraceEntry entry{ProtocolTrace::nowUs(), direction, report,
                     std::min(static_cast<std::size_t>(bytes), kReportSize)};
    sink.record(entry);
}

} // namespace

TracingTransport::TracingTransport(std::unique_ptr<HidTransport> inner,
                                   std::shared_ptr<TraceSink> sink)
    : m_inner(std::move(inner)), m_sink(std::move(sink)) {}

int TracingTransport::read(Report& into, std::chrono::milliseconds timeout) {
    const int n = m_inner->read(into, timeout);
    if (n > 0) {
        std::lock_guard lock(m_order);
        tell(*m_sink, TraceDirection::In, into, n);
    }
    return n;
}

int TracingTransport::write(const Report& report) {
    // Held across the write: a reply that comes back before the write returns is told
    // after the report it answers, as a replay needs them.
    std::lock_guard lock(m_order);
    const int n = m_inner->write(report);
    tell(*m_sink, TraceDirection::Out, report, n);
    return n;
}

} // namespace quilo
