#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace quilo {

// Every report to and from the processor is 61 bytes. Outbound reports carry the
// HID report id 0x02 in byte 0 and the command code in byte 1.
constexpr std::size_t kReportSize = 61;
constexpr std::uint8_t kReportId = 0x02;

using Report = std::array<std::uint8_t, kReportSize>;

} // namespace quilo
