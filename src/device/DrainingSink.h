#pragma once

#include "device/InboundQueue.h"
#include "device/ReportSink.h"

namespace quilo {

// The paced path of a thread that owns the image away from the user interface (a
// synchronisation worker, quiloctl's main thread). A paced write returns once the
// processor has answered the report before it, so draining the inbound queue right
// after each write (and after each pause) puts every earlier reply into the image
// before the caller looks at it.
class DrainingSink : public ReportSink {
public:
    DrainingSink(ReportSink& paced, InboundQueue& queue) : m_paced(paced), m_queue(queue) {}

    int send(const Report& report) override {
        const int written = m_paced.send(report);
        m_queue.drain();
        return written;
    }
    void pause(std::chrono::milliseconds duration) override {
        m_paced.pause(duration);
        m_queue.drain();
    }

private:
    ReportSink& m_paced;
    InboundQueue& m_queue;
};

} // namespace quilo
