// Parameter replies (0x0A) into DspParams fields. Reply words were worked out by
// hand from the wire encodings: f32 bit patterns (IEEE-754 single) and u32
// sample counts at 48 kHz.
#include "InboundHelpers.h"
#include "model/DspFields.h"
#include "model/InboundDispatcher.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <memory>

using namespace quilo;
using namespace quilo::test;

namespace {

// f32 bit patterns used below.
constexpr std::uint32_t kZero = 0x00000000;
constexpr std::uint32_t kOne = 0x3F800000;
constexpr std::uint32_t kMinusOne = 0xBF800000;
constexpr std::uint32_t kPoint5005 = 0x3F0020C5; // 0.50050002
constexpr std::uint32_t kPoint29 = 0x3E947AE1;   // 0.28999999, below 0.29
constexpr std::uint32_t kMinusQuarter = 0xBE800000;
constexpr std::uint32_t kNaN = 0x7FC00000;
constexpr std::uint32_t kInfinity = 0x7F800000;

struct ParamReplies : ::testing::Test {
    std::unique_ptr<DeviceImage> image = std::make_unique<DeviceImage>();
    RecordingEvents events;
    InboundDispatcher dispatcher{*image, events};
    DspParams& p = image->params;

    void SetUp() override { image->resetToDefaults(); }
    void feed(const Report& r) { dispatcher.handleReport(r); }

    // Feeds the reply and returns the words it changed.
    std::vector<std::size_t> changedBy(const Report& r) {
        const ImageSnapshot before(*image);
        feed(r);
        const ImageSnapshot after(*image);
        EXPECT_EQ(after.partsChanged(before),
                  (after.wordsChanged(before).empty() ? std::vector<std::string>{}
                                                      : std::vector<std::string>{"params"}));
        return after.wordsChanged(before);
    }
    std::size_t word(const char* name, std::size_t index = 0) const {
        return findDspField(name)->firstWord + index;
    }
};

} // namespace

TEST_F(ParamReplies, PercentWordsRoundHalfAwayFromZero) {
    feed(paramReply(1, 14, {kPoint5005}));
    EXPECT_EQ(p.micVolume, 50);
    // 0.28999999 is 29 %, not the 28 plain truncation would give.
    feed(paramReply(1, 6, {kPoint29}));
    EXPECT_EQ(p.micInputVolume[2], 29);
    feed(paramReply(1, 7, {kMinusQuarter})); // (-0.25 - 0.005) x 100 = -25.5
    EXPECT_EQ(p.micInputVolume[3], -25);
    for (int k = 0; k < 4; ++k) {
        feed(paramReply(1, 27 + k, {kOne}));
        feed(paramReply(1, 50 + k, {kZero}));
        EXPECT_EQ(p.micToA[k], 100);
        EXPECT_EQ(p.micToB[k], 0);
    }
    feed(paramReply(4, 28, {kPoint29})); // HDMI3 gain sits apart from HDMI1
    EXPECT_EQ(p.musicGainHdmi3, 29);
    feed(paramReply(4, 25, {kPoint5005}));
    EXPECT_EQ(p.musicGainExtra, 50);
    feed(paramReply(11, 24, {kPoint29})); // CH 7
    EXPECT_EQ(p.outLevel[6], 29);
}

TEST_F(ParamReplies, GateWordsAreTenThousandths) {
    feed(paramReply(1, 8, {0x3A03126F})); // 0.0005 -> 5
    EXPECT_EQ(p.micGate[0], 5);
    feed(paramReply(1, 11, {0xB99D4952})); // -0.0003: (-0.0003 - 0.00005) x 10000 = -3.5
    EXPECT_EQ(p.micGate[3], -3);
    feed(paramReply(4, 22, {0x3A03126F}));
    EXPECT_EQ(p.musicGate, 5);
}

TEST_F(ParamReplies, SampleCountsBecomeMilliseconds) {
    feed(paramReply(2, 9, {480})); // 480 / 48
    EXPECT_EQ(p.echoPredelayMsA, 10.0f);
    feed(paramReply(2, 23, {10416}));
    EXPECT_EQ(p.echoTimeMsB, 217.0f);
    feed(paramReply(7, 18, {72})); // CH 3
    EXPECT_EQ(p.outDelayMs[2], 1.5f);
    feed(paramReply(3, 21, {1}));
    EXPECT_EQ(p.reverbPredelayMsB, static_cast<float>(1.0 / 48.0));
    feed(paramReply(4, 36, {500})); // 10.42 ms, kept whole
    EXPECT_EQ(p.boostLpfDelayMs, 10);
    feed(paramReply(2, 10, {0xFFFFFFFF}));
    EXPECT_EQ(p.echoTimeMsA, static_cast<float>(4294967295.0 / 48.0));
}

TEST_F(ParamReplies, SwitchesAndCodesTakeTheLowestByte) {
    feed(paramReply(4, 23, {0x00000102}));
    EXPECT_EQ(p.musicSource, 2);
    feed(paramReply(12, 16, {5})); // CH 8
    EXPECT_EQ(p.outLocation[7], 5);
    feed(paramReply(5, 19, {1}));
    EXPECT_EQ(p.outDelayBypass[0], 1);
    feed(paramReply(1, 26, {1}));
    feed(paramReply(2, 20, {1}));
    feed(paramReply(3, 7, {1}));
    EXPECT_EQ(p.micAEqSwitch + p.echoEqSwitchB + p.reverbEqSwitchA, 3);
    feed(paramReply(4, 21, {2})); // u32 pitch + 5
    EXPECT_EQ(p.musicPitch, -3);
    feed(paramReply(4, 21, {10}));
    EXPECT_EQ(p.musicPitch, 5);
    // The processor holds the boost's bypass flag: 0 means the boost is on.
    feed(paramReply(1, 37, {0}));
    EXPECT_EQ(p.micBoostOn, 1);
    feed(paramReply(1, 37, {1}));
    EXPECT_EQ(p.micBoostOn, 0);
}

TEST_F(ParamReplies, MutesAndPhase) {
    feed(paramReply(1, 15, {kZero}));
    EXPECT_EQ(p.micMute, 1);
    feed(paramReply(1, 15, {kOne}));
    EXPECT_EQ(p.micMute, 0);
    feed(paramReply(2, 27, {0x3B83126F})); // 0.004 reads as 0 %: muted
    EXPECT_EQ(p.echoMute, 1);
    feed(paramReply(3, 25, {kZero}));
    feed(paramReply(4, 13, {kZero}));
    feed(paramReply(5, 26, {kZero}));
    EXPECT_EQ(p.reverbMute + p.musicMute + p.outMute[0], 3);

    feed(paramReply(8, 25, {kMinusOne}));
    EXPECT_EQ(p.outPhase[3], 1);
    feed(paramReply(8, 25, {kOne}));
    EXPECT_EQ(p.outPhase[3], 0);
    feed(paramReply(8, 25, {kZero}));
    EXPECT_EQ(p.outPhase[3], 1);
}

TEST_F(ParamReplies, FrequencyShifterAndItsOffFlag) {
    feed(paramReply(1, 31, {0x3D6BE9A4})); // f32 of 2 pi 440 / 48000
    EXPECT_EQ(p.shiftFreqA, 440);
    feed(paramReply(1, 54, {0x3D6BE9A4}));
    EXPECT_EQ(p.shiftFreqB, 440);

    feed(paramReply(1, 33, {0}));
    EXPECT_EQ(p.shiftOffA, 0);
    EXPECT_EQ(p.shiftFreqA, 440);
    EXPECT_EQ(changedBy(paramReply(1, 33, {1})), (std::vector<std::size_t>{7, 8}));
    EXPECT_EQ(p.shiftOffA, 1);
    EXPECT_EQ(p.shiftFreqA, 1);
    feed(paramReply(1, 56, {1}));
    EXPECT_EQ(p.shiftOffB, 1);
    EXPECT_EQ(p.shiftFreqB, 1);
}

TEST_F(ParamReplies, ReverbTimeIsAWholeNumberHeldAsFloat) {
    feed(paramReply(3, 10, {0x3EB33333}));                               // 0.35
    EXPECT_EQ(std::bit_cast<std::uint32_t>(p.reverbTimeA), 0x420C0000u); // 35.0
    feed(paramReply(3, 22, {kPoint29}));
    EXPECT_EQ(p.reverbTimeB, 29.0f);
    // The second parameter of each time carries the same value and is left alone.
    EXPECT_TRUE(changedBy(paramReply(3, 11, {kOne})).empty());
    EXPECT_TRUE(changedBy(paramReply(3, 23, {kOne})).empty());
}

TEST_F(ParamReplies, CompressorBlockGivesBackItsFourSettings) {
    // Threshold -20 dB, 1 - 1/4, 20, 0.05, 1 - e^(-1/480), 1 - e^(-1/4800): ratio 4,
    // attack 10 ms, release 100 ms.
    const std::initializer_list<std::uint32_t> block{0xC1A00000, 0,          0x3F400000, 0x41A00000,
                                                     0x3D4CCCCD, 0x3B086426, 0x395A6E3A};
    feed(paramReply(4, 14, block));
    EXPECT_EQ(p.musicCompThreshold, -20.0f);
    EXPECT_EQ(p.musicCompRatio, 4.0f);
    EXPECT_NEAR(p.musicCompAttackMs, 10.0f, 1e-4);
    EXPECT_NEAR(p.musicCompReleaseMs, 100.0f, 1e-3);

    // CH 5: its four fields only, eight words apart.
    const std::size_t ch = 4;
    EXPECT_EQ(
        changedBy(paramReply(9, 27, block)),
        (std::vector<std::size_t>{word("outCompThreshold", ch), word("outCompRatio", ch),
                                  word("outCompAttackMs", ch), word("outCompReleaseMs", ch)}));
    EXPECT_EQ(p.outCompRatio[ch], 4.0f);
    EXPECT_NEAR(p.outCompAttackMs[ch], 10.0f, 1e-4);
}

TEST_F(ParamReplies, DelayModeFollowsTheSecondWord) {
    feed(paramReply(6, 17, {kOne, kZero}));
    EXPECT_EQ(p.outDelayMode[1], 1);
    feed(paramReply(6, 17, {kOne, 0x3F000000})); // 0.5 truncates to 0 as well
    EXPECT_EQ(p.outDelayMode[1], 1);
    feed(paramReply(6, 17, {kOne, kOne}));
    EXPECT_EQ(p.outDelayMode[1], 0);
}

TEST_F(ParamReplies, RawLevelIsStoredAsItIs) {
    feed(paramReply(4, 17, {0xC1480000}));
    EXPECT_EQ(p.musicAgcLevel, -12.5f);
    feed(paramReply(4, 16, {1}));
    EXPECT_EQ(p.musicAgcOn, 1);
}

TEST_F(ParamReplies, ModulesAndParametersWithoutAFieldChangeNothing) {
    for (int module : {0, 13, 15, 255}) {
        for (int param = 0; param < 256; ++param) {
            EXPECT_TRUE(changedBy(paramReply(module, param, {kOne, kOne, kOne})).empty())
                << module << "/" << param;
        }
    }
    // Coefficients, boost words and the room level block are only ever sent.
    for (auto [module, param] : {std::pair{1, 16},
                                 {1, 32},
                                 {1, 35},
                                 {1, 36},
                                 {1, 38},
                                 {1, 61},
                                 {2, 0},
                                 {3, 12},
                                 {4, 10},
                                 {4, 34},
                                 {5, 13},
                                 {5, 29},
                                 {12, 30}}) {
        EXPECT_TRUE(changedBy(paramReply(module, param, {kOne, kOne})).empty())
            << module << "/" << param;
    }
}

TEST_F(ParamReplies, EachOutputModuleWritesOnlyItsOwnChannel) {
    for (int ch = 0; ch < 8; ++ch) {
        EXPECT_EQ(changedBy(paramReply(5 + ch, 24, {kPoint29})),
                  std::vector<std::size_t>{word("outLevel", ch)});
        EXPECT_EQ(changedBy(paramReply(5 + ch, 16, {ch + 1u})),
                  std::vector<std::size_t>{word("outLocation", ch)});
    }
}

TEST_F(ParamReplies, WordsThatAreNoNumberLeaveTheFieldAlone) {
    p.micVolume = 40;
    for (std::uint32_t bad : {kNaN, kInfinity, kInfinity | 0x80000000u}) {
        EXPECT_TRUE(changedBy(paramReply(1, 14, {bad})).empty());
        EXPECT_TRUE(changedBy(paramReply(1, 31, {bad})).empty());
        EXPECT_TRUE(changedBy(paramReply(4, 17, {bad})).empty());
        EXPECT_TRUE(changedBy(paramReply(5, 17, {kOne, bad})).empty());
    }
    // Finite but far past the field: held at the end of the i32 range.
    feed(paramReply(1, 14, {0x7149F2CA})); // 1e30
    EXPECT_EQ(p.micVolume, std::numeric_limits<std::int32_t>::max());
    feed(paramReply(1, 14, {0xF149F2CA})); // -1e30
    EXPECT_EQ(p.micVolume, std::numeric_limits<std::int32_t>::min());

    // A ratio word of 1 and time words of 0 or past 1 have no finite setting.
    p.musicCompRatio = 3.0f;
    p.musicCompAttackMs = 5.0f;
    p.musicCompReleaseMs = 50.0f;
    feed(paramReply(4, 14, {0xC1A00000, 0, kOne, 0, 0, kZero, 0x40000000}));
    EXPECT_EQ(p.musicCompThreshold, -20.0f);
    EXPECT_EQ(p.musicCompRatio, 3.0f);
    EXPECT_EQ(p.musicCompAttackMs, 5.0f);
    EXPECT_EQ(p.musicCompReleaseMs, 50.0f);
}

TEST_F(ParamReplies, ErrorIsPassedOnOncePerDispatcherAndTheValueStoredAnyway) {
    feed(paramReply(1, 14, {kPoint5005}, 0x03));
    EXPECT_EQ(p.micVolume, 50);
    feed(paramReply(4, 12, {kPoint29}, 0x07));
    EXPECT_EQ(p.musicVolume, 29);
    ASSERT_EQ(events.errors.size(), 1u);
    EXPECT_EQ(events.errors[0], std::make_tuple(3, 1, 14));
    EXPECT_TRUE(dispatcher.errorShown());

    // Another run (another dispatcher) tells again; error code 0 never does.
    RecordingEvents otherEvents;
    InboundDispatcher other(*image, otherEvents);
    other.handleReport(paramReply(1, 14, {kPoint5005}));
    EXPECT_FALSE(other.errorShown());
    other.handleReport(paramReply(9, 2, {0}, 0xFF));
    EXPECT_EQ(otherEvents.errors, (std::vector<std::tuple<int, int, int>>{{255, 9, 2}}));
}

TEST(ParameterErrorText, FormatsCodeModuleAndParameterInHex) {
    EXPECT_EQ(parameterErrorText(0x12, 1, 0x0E), "参数错误,代码0x:12,指令1:0x01,指令2:0x0E ");
    EXPECT_EQ(parameterErrorText(0xAB, 0xFF, 0), "参数错误,代码0x:AB,指令1:0xFF,指令2:0x00 ");
}
