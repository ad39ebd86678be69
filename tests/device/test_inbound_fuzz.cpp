// Random and mangled reports against the dispatcher: whatever arrives, only the
// part of the image the reply code and address name may change, texts stay
// within their capacity, float fields stay finite and events match their codes.
// The sanitizer build runs this too, so a read or write outside a report or a
// block fails there even when the result looks right.
#include "InboundChecker.h"
#include "RecordedReplies.h"

#include "support/FuzzSupport.h"

#include <gtest/gtest.h>

#include <bit>
#include <random>

using namespace quilo;
using namespace quilo::test;

namespace {

constexpr std::uint8_t kKnownCodes[] = {0x07, 0x09, 0x0A, 0x0E, 0x12, 0x14, 0x60, 0x62,
                                        0x7E, 0x7F, 0x80, 0x81, 0x86, 0x92, 0xDB};

// Word values that reach every branch of the rules: small fractions and
// integers, signs, infinities, NaNs, zero and all ones.
std::uint32_t interestingWord(std::mt19937_64& rng) {
    static constexpr std::uint32_t kSpecial[] = {
        0x00000000, 0x80000000, 0x3F800000, 0xBF800000, 0x7F800000, 0xFF800000, 0x7FC00000,
        0xFFFFFFFF, 0x3F000000, 0x7F7FFFFF, 0x00000001, 0x4F000000, 0xCF000000, 0x3F7FFFFF};
    switch (rng() % 4) {
    case 0:
        return kSpecial[rng() % std::size(kSpecial)];
    case 1:
        return std::bit_cast<std::uint32_t>(
            static_cast<float>(std::uniform_real_distribution<double>(-2.0, 2.0)(rng)));
    case 2:
        return static_cast<std::uint32_t>(rng() % 70000);
    default:
        return static_cast<std::uint32_t>(rng());
    }
}

Report randomReport(std::mt19937_64& rng) {
    Report r;
    for (auto& b : r) {
        b = static_cast<std::uint8_t>(rng());
    }
    r[1] = rng() % 10 < 8 ? kKnownCodes[rng() % std::size(kKnownCodes)]
                          : static_cast<std::uint8_t>(rng());
    if (r[1] == 0x0A) {
        if (rng() % 4 != 0) {
            r[2] = 0;
        }
        r[3] = static_cast<std::uint8_t>(rng() % 8 != 0 ? rng() % 14 : rng());
        r[4] = static_cast<std::uint8_t>(rng() % 8 != 0 ? rng() % 63 : rng());
        for (std::size_t at = 6; at + 4 <= kReportSize; at += 4) {
            const std::uint32_t w = interestingWord(rng);
            r[at] = std::uint8_t(w >> 24);
            r[at + 1] = std::uint8_t(w >> 16);
            r[at + 2] = std::uint8_t(w >> 8);
            r[at + 3] = std::uint8_t(w);
        }
    } else if (r[1] == 0x86 || r[1] == 0xDB) {
        static constexpr std::uint16_t kAddresses[] = {1253,   1285,   1305, 0x0F00, 0x0F40,
                                                       0x0F80, 0x0FC0, 1252, 1254,   1306};
        const std::uint16_t address = rng() % 3 == 0   ? kAddresses[rng() % std::size(kAddresses)]
                                      : rng() % 2 == 0 ? static_cast<std::uint16_t>(rng() % 1253)
                                                       : static_cast<std::uint16_t>(rng());
        r[2] = std::uint8_t(address >> 8);
        r[3] = std::uint8_t(address);
        if (rng() % 2 == 0) {
            r[4] = static_cast<std::uint8_t>(rng() % 60);
        }
        if (rng() % 8 == 0) {
            r[5] = r[6] = r[7] = r[8] = 0xFF;
        }
    } else if (r[1] == 0x60 && rng() % 2 == 0) {
        r[3] = static_cast<std::uint8_t>(rng() % 20);
    }
    return r;
}

} // namespace

TEST(InboundFuzz, RandomReportsStayInsideTheirTargets) {
    std::mt19937_64 rng(0x5157494C4F);
    InboundChecker c;
    ImageSnapshot state(*c.image);
    for (int i = 0; i < 1'000'000 && c.failures.empty(); ++i) {
        state = c.check(randomReport(rng), state);
        if (i % 50'000 == 0) { // start again from defaults now and then
            c.image->resetToDefaults();
            state = ImageSnapshot(*c.image);
        }
    }
    EXPECT_EQ(c.checked, 1'000'000u);
    EXPECT_TRUE(c.failures.empty()) << c.failures.front();
    // Nonzero error codes were frequent; the box came once.
    EXPECT_EQ(c.events.errors.size(), 1u);
}

TEST(InboundFuzz, MangledValidRepliesStayInsideTheirTargets) {
    const std::vector<Report> valid = recordedReplies();
    ASSERT_GT(valid.size(), 200u);
    std::mt19937_64 rng(0x4D414E474C45);
    InboundChecker c;
    ImageSnapshot state(*c.image);
    for (int i = 0; i < 300'000 && c.failures.empty(); ++i) {
        const Report r = mangledReport(valid[rng() % valid.size()], rng, 1);
        state = c.check(r, state);
    }
    EXPECT_EQ(c.checked, 300'000u);
    EXPECT_TRUE(c.failures.empty()) << c.failures.front();
}
