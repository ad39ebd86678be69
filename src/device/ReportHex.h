#pragma once

#include "device/Report.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quilo {

// "02 09 00 ..." : two upper-case hex digits per byte, single spaces.
std::string formatReportHex(const Report& report);
std::string formatHexBytes(std::span<const std::uint8_t> bytes);

// Hex digits with optional white space; fewer than 61 bytes are zero-filled.
// nullopt for a non-hex character, an odd digit count or more than 61 bytes.
std::optional<Report> parseReportHex(std::string_view text);

} // namespace quilo
