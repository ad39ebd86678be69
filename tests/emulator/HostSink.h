#pragma once

#include "EmulatorHarness.h"
#include "device/InboundHandler.h"
#include "device/ReportSink.h"
#include "model/Synchroniser.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace quilo::test {

// Synchronisation with every prescribed pause and settle wait at zero.
inline constexpr SyncTimings kNoPauses{std::chrono::milliseconds(0), std::chrono::milliseconds(0),
                                       std::chrono::milliseconds(0), std::chrono::milliseconds(0),
                                       std::chrono::milliseconds(0), std::chrono::milliseconds(0)};

// The paced write path in miniature, on the harness's clock: each report reaches
// the emulator and its replies are handed to the host's inbound handler before
// the next report goes out; pauses move the clock. A filter may lose replies.
class HostSink : public ReportSink {
public:
    HostSink(EmulatorHarness& h, InboundHandler& inbound) : m_h(h), m_inbound(inbound) {}
    int send(const Report& r) override {
        ++sent;
        deliver(m_h.send(r));
        return 61;
    }
    void pause(std::chrono::milliseconds d) override { deliver(m_h.advance(d)); }

    // Return false to lose a reply on its way to the host.
    std::function<bool(const Report&)> keep;
    int sent = 0;

private:
    void deliver(const std::vector<Report>& replies) {
        for (const Report& x : replies) {
            if (!keep || keep(x)) {
                m_inbound.handleReport(x);
            }
        }
    }
    EmulatorHarness& m_h;
    InboundHandler& m_inbound;
};

} // namespace quilo::test
