#pragma once

#include "device/Report.h"

#include <cstdint>
#include <initializer_list>
#include <string>

namespace quilo::test {

// A 61-byte report from its leading bytes; the rest is zero.
inline Report reportOf(std::initializer_list<std::uint8_t> head) {
    Report r{};
    std::size_t i = 0;
    for (auto b : head) {
        r[i++] = b;
    }
    return r;
}

// Big-endian 32-bit word at byte offset `at`.
inline std::uint32_t wordAt(const Report& r, std::size_t at) {
    return (std::uint32_t(r[at]) << 24) | (std::uint32_t(r[at + 1]) << 16) |
           (std::uint32_t(r[at + 2]) << 8) | r[at + 3];
}

} // namespace quilo::test
