// Random and mangled reports against the Z-Wave receiver: whatever arrives, every
// frame but a lone ACK gets exactly one acknowledgement, only the part of the
// table the function id or memory address names may change, presence entries
// hold their own id or 0, and events match their frames. The sanitizer build runs
// this too, so a read or write outside a report or the table fails there.
#include "ZwaveChecker.h"
#include "support/ZwaveBytes.h"

#include "support/FuzzSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>

using namespace quilo;
using namespace quilo::test;

namespace {

constexpr std::uint8_t kFunctions[] = {0x02, 0x04, 0x13, 0x42, 0x4A, 0x4B};

Report randomReport(std::mt19937_64& rng) {
    Report r;
    for (auto& b : r) {
        b = static_cast<std::uint8_t>(rng());
    }
    r[1] = rng() % 2 ? 0x12 : 0x14;
    if (r[1] == 0x12) {
        if (rng() % 16 == 0) {
            r[3] = 0x06;
        }
        if (rng() % 8 != 0) {
            r[6] = kFunctions[rng() % std::size(kFunctions)];
        }
        if (rng() % 2) {
            r[8] = static_cast<std::uint8_t>(rng() % 8); // statuses that do something
        }
        if (rng() % 2) {
            r[9] = static_cast<std::uint8_t>(rng() % 40);
        }
    } else if (rng() % 2) {
        const auto address = static_cast<std::uint16_t>(rng() % 7000);
        r[2] = std::uint8_t(address >> 8);
        r[3] = std::uint8_t(address);
    }
    return r;
}

// Frames as the module sends them, and memory replies of every kind.
std::vector<Report> validReports() {
    std::vector<Report> out{
        moduleFrame(0x01, {0x02, 0x05, 0x08, 0x1D, 0x03, 0x01, 0x00, 0x00, 0x80}),
        moduleRequest({0x04, 0x00, 0x05, 0x03, 0x20, 0x03, 0x63}),
        moduleRequest({0x13, 0x43, 0x00}),
        moduleRequest({0x13, 0x44, 0x01}),
        moduleFrame(0x01, {0x13, 0x01}),
        moduleRequest({0x42, 0x02}),
        moduleRequest({0x4A, 0x30, 0x01, 0x00, 0x00}),
        moduleRequest({0x4A, 0x30, 0x03, 0x05, 0x05, 0x04, 0x10, 0x01, 0x20, 0x25}),
        moduleRequest({0x4A, 0x30, 0x05, 0x05, 0x00}),
        moduleRequest({0x4B, 0x09, 0x06, 0x05, 0x00}),
        reportOf({0x02, 0x12, 0x01, 0x06}),
    };
    for (std::uint16_t address : {0, 56, 6496, 6524, 6804, 6859}) {
        Report m = reportOf({0x02, 0x14, std::uint8_t(address >> 8), std::uint8_t(address), 56});
        std::fill(m.begin() + 5, m.end(), 0x41);
        out.push_back(m);
    }
    return out;
}

} // namespace

TEST(ZwaveFuzz, RandomReportsStayInsideTheirTargets) {
    std::mt19937_64 rng(0x5A57415645);
    ZwaveChecker c;
    PlugTableData state = c.table->snapshot();
    for (int i = 0; i < 1'000'000 && c.failures.empty(); ++i) {
        state = c.check(randomReport(rng), state);
    }
    EXPECT_EQ(c.checked, 1'000'000u);
    EXPECT_TRUE(c.failures.empty()) << c.failures.front();
    EXPECT_GT(c.events.count, 100'000u) << "the events were reached";
}

TEST(ZwaveFuzz, MangledValidReportsStayInsideTheirTargets) {
    const std::vector<Report> valid = validReports();
    std::mt19937_64 rng(0x4D414E474C45);
    ZwaveChecker c;
    PlugTableData state = c.table->snapshot();
    for (int i = 0; i < 300'000 && c.failures.empty(); ++i) {
        const Report r = mangledReport(valid[rng() % valid.size()], rng, 2);
        state = c.check(r, state);
    }
    EXPECT_EQ(c.checked, 300'000u);
    EXPECT_TRUE(c.failures.empty()) << c.failures.front();
}
