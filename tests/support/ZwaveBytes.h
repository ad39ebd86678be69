#pragma once

#include "support/Bytes.h"

#include <cstdint>
#include <vector>

namespace quilo::test {

// A frame of the Z-Wave module in a 0x12 report, built here independently of the
// program's builders: [2] total length, SOF, length, type, payload, checksum
// (FF xor length, type and payload).
inline Report moduleFrame(std::uint8_t type, const std::vector<std::uint8_t>& payload) {
    Report r = reportOf({0x02, 0x12, static_cast<std::uint8_t>(payload.size() + 4), 0x01,
                         static_cast<std::uint8_t>(payload.size() + 2), type});
    std::uint8_t sum = 0xFF ^ r[4] ^ type;
    for (std::size_t i = 0; i < payload.size(); ++i) {
        r[6 + i] = payload[i];
        sum ^= payload[i];
    }
    r[6 + payload.size()] = sum;
    return r;
}

// A request frame of the module (type 0).
inline Report moduleRequest(const std::vector<std::uint8_t>& payload) {
    return moduleFrame(0x00, payload);
}

} // namespace quilo::test
