// Room layout block coding and the distance correction, with the page's precision.
#include "room/DistanceCorrection.h"
#include "room/RoomLayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace quilo;

TEST(RoomCodec, CoordinatesRoundToTenthsWithTheProcessorsSteps) {
    struct Case {
        float metres;
        std::uint8_t byte;
    };
    const Case cases[] = {
        {0.0f, 0x80},   // zero goes out with the sign bit
        {-0.0f, 0x80},  //
        {0.04f, 0x00},  // positive values just short of the half step
        {-0.04f, 0x80}, //
        {0.05f, 0x01},  // halves away from zero
        {-0.55f, 0x86}, //
        {0.35f, 0x04},  // times ten in single precision: in double it would be 0x03
        {-0.95f, 0x8A}, // likewise 0x89 in double
        {1.05f, 0x0A},  // and not 0x0B as rounding the metres would give
        {2.5f, 0x19},   //
        {-5.0f, 0xB2},  //
        {12.7f, 0x7F},  // the largest magnitude
        {13.0f, 0x7F},  // held there instead of spilling into the sign bit
        {-40.0f, 0xFF}, //
        {std::numeric_limits<float>::infinity(), 0x7F},
        {std::numeric_limits<float>::quiet_NaN(), 0x80},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(encodeRoomCoordinate(c.metres), c.byte) << c.metres;
    }
}

TEST(RoomCodec, EveryByteDecodesAndCodesBackToTheSameValue) {
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<std::uint8_t>(b);
        const float v = decodeRoomCoordinate(byte);
        EXPECT_EQ(v, ((b & 0x7F) / 10.0f) * ((b & 0x80) ? -1.0f : 1.0f)) << b;
        EXPECT_FALSE(std::signbit(v) && v == 0.0f) << "minus zero from " << b;
        // Zero always comes back as 0x80, everything else as itself.
        EXPECT_EQ(encodeRoomCoordinate(v), b == 0 ? 0x80 : byte) << b;
    }
}

TEST(RoomCodec, DefaultBlockIsTheDefaultLayout) {
    const RoomLayout layout = decodeRoomLayout(kDefaultRoomLayout);
    EXPECT_EQ(layout, RoomLayout{});
    EXPECT_EQ(layout.roomWidth, 4);
    EXPECT_EQ(layout.position(6), (RoomPoint{1.0f, -1.0f})); // SBR
    EXPECT_EQ(layout.position(7), (RoomPoint{-0.5f, 0.0f})); // SL
}

TEST(RoomCodec, BlockPlacesSizeListenerAndEachLoudspeaker) {
    RoomLayout layout;
    layout.roomWidth = 7;
    layout.roomLength = 10;
    layout.listener = {0.3f, -0.2f};
    for (int k = 0; k < kSpeakerCount; ++k) {
        layout.setPosition(k + 1, {0.1f * (k + 1), -0.1f * (k + 11)});
    }
    const RoomLayoutBlock expected{7,    10,   0x03, 0x82, 0x01, 0x8B, 0x02, 0x8C, 0x03, 0x8D,
                                   0x04, 0x8E, 0x05, 0x8F, 0x06, 0x90, 0x07, 0x91, 0x08, 0x92};
    EXPECT_EQ(encodeRoomLayout(layout), expected);
    EXPECT_EQ(encodeRoomLayout(decodeRoomLayout(expected)), expected);

    // Sizes from a damaged block are taken into 1-10 m.
    RoomLayoutBlock damaged = expected;
    damaged[0] = 0;
    damaged[1] = 200;
    EXPECT_EQ(decodeRoomLayout(damaged).roomWidth, 1);
    EXPECT_EQ(decodeRoomLayout(damaged).roomLength, 10);
}

TEST(DistanceCorrection, ThreeDecibelsPerMetreFromPlusThreeAtTheListener) {
    struct Case {
        RoomPoint listener, speaker;
        float distance, gain;
    };
    // Hand values: sqrt(2) as float is 1.41421354 (1.4142135381698608), and
    // 3 - 3 * 1.4142135381698608 = -1.2426406145 as float -1.24264061; the
    // difference and root all in double would give -1.24264073 instead.
    // For (0.1, 1.1) the sum of squares in single precision gives 1.10453606,
    // where double throughout gives 1.10453618.
    const Case cases[] = {
        {{0.0f, 0.0f}, {0.0f, 0.0f}, 0.0f, 3.0f},
        {{1.5f, -2.0f}, {1.5f, -2.0f}, 0.0f, 3.0f},
        {{0.0f, 0.0f}, {1.0f, 0.0f}, 1.0f, 0.0f},
        {{-0.5f, 0.0f}, {0.5f, 0.0f}, 1.0f, 0.0f},
        {{0.0f, 0.0f}, {0.0f, -2.0f}, 2.0f, -3.0f},
        {{1.0f, 1.0f}, {-2.0f, -3.0f}, 5.0f, -12.0f},
        {{0.0f, 0.0f}, {-1.0f, 1.0f}, 1.41421354f, -1.24264061f},
        {{0.0f, 0.0f}, {0.1f, 1.1f}, 1.10453606f, -0.31360817f},
    };
    for (const Case& c : cases) {
        const SpeakerCorrection got = distanceCorrection(c.listener, c.speaker);
        EXPECT_EQ(got.distanceM, c.distance) << c.speaker.x << "," << c.speaker.y;
        EXPECT_EQ(got.gainDb, c.gain) << c.speaker.x << "," << c.speaker.y;
    }
}
