#pragma once

#include "device/Report.h"

#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace quilo::test {

// A valid report with one to three of its bytes from `first` on damaged: a bit
// flipped, set to 00 or FF, or replaced at random.
inline Report mangledReport(Report r, std::mt19937_64& rng, std::size_t first) {
    const int flips = 1 + int(rng() % 3);
    for (int f = 0; f < flips; ++f) {
        const std::size_t at = first + rng() % (kReportSize - first);
        switch (rng() % 3) {
        case 0:
            r[at] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
            break;
        case 1:
            r[at] = rng() % 2 ? 0xFF : 0x00;
            break;
        default:
            r[at] = static_cast<std::uint8_t>(rng());
            break;
        }
    }
    return r;
}

// Keeps the first ten failures of a fuzz run, each with the report that caused it.
inline void recordFailure(std::vector<std::string>& failures, const Report& r,
                          const std::string& what) {
    if (failures.size() < 10) {
        std::ostringstream s;
        s << what << " after report";
        for (auto b : r) {
            s << ' ' << std::hex << int(b);
        }
        failures.push_back(s.str());
    }
}

} // namespace quilo::test
