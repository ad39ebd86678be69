#include "device/DeviceOps.h"

namespace quilo {

namespace {

int sendAll(ReportSink& sink, const std::vector<Report>& reports) {
    int result = 0;
    for (const Report& r : reports) {
        result = sink.send(r);
    }
    return result;
}

} // namespace

int DeviceOps::WriteMemory(std::uint16_t address, std::span<const std::uint8_t> data) {
    return sendAll(m_sink, buildWriteMemoryBlock(address, data));
}

int DeviceOps::ReadMemory(std::uint16_t address, std::size_t length) {
    return sendAll(m_sink, buildReadMemoryBlock(address, length));
}

} // namespace quilo
