#pragma once

#include "device/Report.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quilo {

enum class TraceDirection : std::uint8_t { Out, In };

// One report as a protocol trace keeps it: when it passed (monotonic microseconds),
// which way, and the bytes that went over the wire (61, fewer for a short read).
struct TraceEntry {
    std::uint64_t timeUs = 0;
    TraceDirection direction = TraceDirection::Out;
    Report bytes{};
    std::size_t length = kReportSize;
};

// "TIME_US out|in HEX..." without the line end, hex as formatHexBytes writes it.
std::string formatTraceLine(const TraceEntry& entry);
// The reverse; nullopt for anything else (a torn last line, a comment, a blank line).
std::optional<TraceEntry> parseTraceLine(std::string_view line);

} // namespace quilo
