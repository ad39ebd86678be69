#pragma once

#include "device/ReportSink.h"
#include "device/UsbLink.h"

#include <chrono>
#include <thread>

namespace quilo {

// Sends straight through the link on the calling thread, which waits for the
// pacing and sleeps through pauses. For worker threads (synchronisation, smart
// home), never for the user-interface thread.
class LinkSink : public ReportSink {
public:
    enum class Pacing { Paced, Unpaced };

    explicit LinkSink(UsbLink& link, Pacing pacing = Pacing::Paced)
        : m_link(link), m_pacing(pacing) {}

    int send(const Report& report) override {
        return m_pacing == Pacing::Paced ? m_link.WriteUsbData(report)
                                         : m_link.writeUnpaced(report);
    }
    void pause(std::chrono::milliseconds duration) override {
        std::this_thread::sleep_for(duration);
    }

private:
    UsbLink& m_link;
    Pacing m_pacing;
};

} // namespace quilo
