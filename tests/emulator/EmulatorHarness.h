#pragma once

#include "device/ReportHex.h"
#include "emulator/Emulator.h"
#include "support/Bytes.h"

#include <chrono>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace quilo::test {

// Drives an emulator on a made-up clock: what a test sends arrives at `now`,
// and only replies due by `now` come back.
struct EmulatorHarness {
    Emulator emulator;
    EmulatorTime now = EmulatorTime{} + std::chrono::hours(1);

    explicit EmulatorHarness(EmulatorOptions options = {}) : emulator(std::move(options)) {}

    std::vector<Report> send(const Report& r) {
        emulator.handle(r, now);
        return collect();
    }
    std::vector<Report> advance(std::chrono::milliseconds d) {
        now += d;
        return collect();
    }
    std::vector<Report> collect() {
        std::vector<Report> out;
        while (auto r = emulator.popDue(now)) {
            out.push_back(*r);
        }
        return out;
    }
    // The one reply a request gets at once.
    std::string ask(const Report& r) {
        const auto replies = send(r);
        return replies.size() == 1 ? formatReportHex(replies[0])
                                   : "<" + std::to_string(replies.size()) + " replies>";
    }
};

inline std::string hex(const Report& r) {
    return formatReportHex(r);
}

// A report from its leading bytes, then `count` copies of `fill`, zeros after.
inline Report reportFilled(std::initializer_list<std::uint8_t> head, std::size_t count,
                           std::uint8_t fill) {
    Report r = reportOf(head);
    for (std::size_t i = 0; i < count; ++i) {
        r[head.size() + i] = fill;
    }
    return r;
}

} // namespace quilo::test
