// Delays that make every driven loudspeaker's sound reach the listener together.
#include "room/TimeAlignment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

using namespace quilo;

namespace {

constexpr std::array<std::int32_t, 8> kOneEach{0, 1, 2, 3, 4, 5, 6, 7};

// A layout with the listener at the centre and loudspeaker k at (0, -d[k]).
RoomLayout inLine(const std::array<float, 8>& distance) {
    RoomLayout layout;
    for (int k = 0; k < kSpeakerCount; ++k) {
        layout.setPosition(k + 1, {0.0f, -distance[static_cast<std::size_t>(k)]});
    }
    return layout;
}

constexpr double kMsPerMetre = 1000.0 / 343.0;

} // namespace

TEST(TimeAlignment, FarthestGetsTheMinimumAndNearerOnesTheirLead) {
    struct Case {
        const char* name;
        std::array<float, 8> distance;              // of loudspeakers k = 0-7
        std::array<std::int32_t, 8> location;       // of output channels 0-7
        std::array<std::optional<double>, 8> delay; // of output channels 0-7
    };
    const double lead2 = 1.5 + 2.0 * kMsPerMetre;
    const double lead3 = 1.5 + 3.0 * kMsPerMetre;
    const Case cases[] = {
        {"all at one distance",
         {2, 2, 2, 2, 2, 2, 2, 2},
         kOneEach,
         {1.5, 1.5, 1.5, 1.5, 1.5, 1.5, 1.5, 1.5}},
        // Loudspeaker k is driven by the channel with its location code:
        // L 0, CEN 5, R 1, SBL 2, SUB 4, SBR 3, SL 6, SR 7.
        {"two farthest tie",
         {4, 1, 4, 2, 3, 2, 1, 2},
         kOneEach,
         {1.5, 1.5, lead2, lead2, 1.5 + kMsPerMetre, lead3, lead3, lead2}},
        {"a silent far loudspeaker sets nothing",
         {1, 1, 1, 1, 9, 1, 2, 1},
         {0, 1, 2, 3, 8, 5, 6, 7}, // nobody on SUB (4)
         {1.5 + kMsPerMetre, 1.5 + kMsPerMetre, 1.5 + kMsPerMetre, 1.5 + kMsPerMetre, std::nullopt,
          1.5 + kMsPerMetre, 1.5, 1.5 + kMsPerMetre}},
        {"shared location, both channels",
         {3, 1, 1, 1, 1, 1, 1, 1},
         {0, 0, 9, 9, 9, 9, 9, -1},
         {1.5, 1.5, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
          std::nullopt}},
        {"capped at 100 ms",
         {40, 1, 1, 1, 1, 1, 1, 1},
         kOneEach,
         {1.5, 100.0, 100.0, 100.0, 100.0, 100.0, 100.0, 100.0}},
        {"no output on the plan", {1, 2, 3, 4, 5, 6, 7, 8}, {8, 8, 8, 8, 8, 8, 8, 8}, {}},
    };
    for (const Case& c : cases) {
        const TimeAlignment a = alignDelays(inLine(c.distance), c.location);
        for (std::size_t ch = 0; ch < 8; ++ch) {
            ASSERT_EQ(a.channelDelayMs[ch].has_value(), c.delay[ch].has_value())
                << c.name << ", channel " << ch;
            if (c.delay[ch]) {
                EXPECT_NEAR(*a.channelDelayMs[ch], *c.delay[ch], 1e-9)
                    << c.name << ", channel " << ch;
            }
        }
        for (std::size_t k = 0; k < 8; ++k) {
            EXPECT_EQ(a.speakers[k].distanceM, c.distance[k]) << c.name << ", loudspeaker " << k;
        }
    }
}

TEST(TimeAlignment, LeadIsCountedFromTheFarthestDrivenLoudspeaker) {
    RoomLayout layout;               // default loudspeakers
    layout.listener = {-1.0f, 1.0f}; // on top of L; SBR at (1, -1) is sqrt(8) m away
    TimeAlignment a = alignDelays(layout, kOneEach);
    EXPECT_EQ(a.speakers[5].aheadMs, 0.0);
    EXPECT_NEAR(*a.speakers[0].aheadMs, std::sqrt(8.0) * kMsPerMetre, 1e-6);

    // Only L driven (every output on code 0): R keeps its distance but no lead.
    a = alignDelays(layout, std::array<std::int32_t, 8>{});
    EXPECT_EQ(a.speakers[0].aheadMs, 0.0);
    EXPECT_FALSE(a.speakers[2].aheadMs);
    EXPECT_EQ(a.speakers[2].distanceM, 2.0f);
}
