#pragma once

#include "PageHarness.h"
#include "device/RecordingSink.h"
#include "device/ReportBuilder.h"
#include "device/ReportHex.h"
#include "emulator/Emulator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quilo::test {

// What reached the emulated processor since the last call, once everything queued is
// written.
inline std::vector<Report> takeReceived(PageHarness& h) {
    h.settle();
    return h.processor([](Emulator& e) {
        std::vector<Report> got = e.received();
        e.clearLog();
        return got;
    });
}

inline std::vector<std::string> hexLines(const std::vector<Report>& reports) {
    std::vector<std::string> out;
    for (const Report& r : reports) {
        out.push_back(formatReportHex(r));
    }
    return out;
}

// Compares two report lists byte for byte, printing them as hex lines on a mismatch.
#define EXPECT_REPORTS(got, want) EXPECT_EQ(hexLines(got), hexLines(want))

inline std::vector<Report> setParam(int module, int param, std::vector<std::uint32_t> words) {
    return {buildSetParam(module, param, words)};
}

inline std::vector<Report> concat(std::initializer_list<std::vector<Report>> parts) {
    std::vector<Report> out;
    for (const auto& p : parts) {
        out.insert(out.end(), p.begin(), p.end());
    }
    return out;
}

} // namespace quilo::test
