#pragma once

#include "device/UsbLink.h"
#include "smarthome/ZwavePort.h"

namespace quilo {

// Straight through the link on the calling thread, which waits for the pacing:
// for the read thread (acknowledgements) and the workers, never for the
// user-interface thread.
class LinkZwavePort : public ZwavePort {
public:
    explicit LinkZwavePort(UsbLink& link) : m_link(link) {}

    int sendPaced(const Report& report) override { return m_link.WriteUsbData(report); }
    int sendUnpaced(const Report& report) override { return m_link.writeUnpaced(report); }
    void releasePacing() override { m_link.releasePacing(); }
    bool connected() const override { return m_link.linkOpen(); }

private:
    UsbLink& m_link;
};

} // namespace quilo
