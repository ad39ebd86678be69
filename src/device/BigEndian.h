#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace quilo {

// Numbers inside reports, processor memory blocks and band records are big-endian:
// high byte first. `at` is the offset of the first byte; callers keep it in range.

constexpr std::uint16_t readU16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] << 8 | bytes[at + 1]);
}

constexpr std::uint32_t readU32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return std::uint32_t{readU16(bytes, at)} << 16 | readU16(bytes, at + 2);
}

constexpr void writeU16(std::span<std::uint8_t> bytes, std::size_t at, std::uint16_t v) {
    bytes[at] = static_cast<std::uint8_t>(v >> 8);
    bytes[at + 1] = static_cast<std::uint8_t>(v);
}

constexpr void writeU32(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t v) {
    writeU16(bytes, at, static_cast<std::uint16_t>(v >> 16));
    writeU16(bytes, at + 2, static_cast<std::uint16_t>(v));
}

} // namespace quilo
