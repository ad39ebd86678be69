#pragma once

#include "device/ReportWriter.h"
#include "device/UsbLink.h"
#include "smarthome/ZwavePort.h"

namespace quilo {

// Through the writer thread, in calling order, without waiting: for the
// user-interface thread.
class WriterZwavePort : public ZwavePort {
public:
    WriterZwavePort(ReportWriter& writer, const UsbLink& link) : m_writer(writer), m_link(link) {}

    int sendPaced(const Report& report) override { return m_writer.send(report); }
    int sendUnpaced(const Report& report) override { return m_writer.sendUnpaced(report); }
    void releasePacing() override { m_writer.releasePacing(); }
    bool connected() const override { return m_link.linkOpen(); }

private:
    ReportWriter& m_writer;
    const UsbLink& m_link;
};

} // namespace quilo
