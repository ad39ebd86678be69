#pragma once

#include "device/Report.h"

#include <array>
#include <cstdint>
#include <span>

namespace quilo {

// Memory reports, for processor memory (0x85 / 0x86) and Z-Wave memory
// (0x13 / 0x14) alike: [2-3] address, [4] length (at most 56), [5...] data.

// Stores the data, never past the end of `memory`. Returns the acknowledgement:
// the request's code, [2-3] address, [4] the number of bytes stored.
Report applyMemoryWrite(std::span<std::uint8_t> memory, const Report& request);

// The reply of the request's code: [2-3] address, [4] length, [5...] data. The
// length is cut to 56 and to the end of memory (0 for an address past the end).
Report answerMemoryRead(std::span<const std::uint8_t> memory, const Report& request);

// What GetModeNames prompts: one 0xDB reply per stored mode, [2-3] the name's
// address, [4] 50, [5-54] the 50 bytes there (24 UTF-16BE units and a zero unit;
// FF FF FF FF... for a name never written).
constexpr std::uint8_t kModeNameReplyLength = 50;
std::array<Report, 4> modeNameReplies(std::span<const std::uint8_t> memory);

} // namespace quilo
