// Field setters: what each stores and the reports it sends, in order.
#include "device/RecordingSink.h"
#include "device/WireValue.h"
#include "model/DeviceImage.h"
#include "model/FieldSetters.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <memory>

using namespace quilo;
using quilo::test::reportOf;
using quilo::test::wordAt;

namespace {

struct Param {
    int module, param, count;
    std::uint32_t first;
};

Param paramOf(const Report& r) {
    return {r[3], r[4], r[5], wordAt(r, 6)};
}

std::uint32_t bits(float f) {
    return std::bit_cast<std::uint32_t>(f);
}

struct Setters : ::testing::Test {
    std::unique_ptr<DeviceImage> image = std::make_unique<DeviceImage>();
    RecordingSink sink;
    FieldSetters set{*image, sink};
    void SetUp() override { image->resetToDefaults(); }

    // module/param/count/first word of every report, which must all be SetParam.
    std::vector<Param> params() const {
        std::vector<Param> out;
        for (const Report& r : sink.reports()) {
            EXPECT_EQ(r[1], 0x09);
            out.push_back(paramOf(r));
        }
        return out;
    }
};

void expectParam(const Param& p, int module, int param, int count, std::uint32_t first) {
    EXPECT_EQ(p.module, module);
    EXPECT_EQ(p.param, param);
    EXPECT_EQ(p.count, count);
    EXPECT_EQ(p.first, first) << std::hex << "module " << module << " param " << param;
}

} // namespace

TEST_F(Setters, VolumeGoesOutAsPercentPlusRounding) {
    EXPECT_EQ(set.set(&DspParams::micVolume, 50), 61);
    EXPECT_EQ(image->params.micVolume, 50);
    ASSERT_EQ(sink.reports().size(), 1u);
    EXPECT_EQ(sink.reports()[0],
              reportOf({0x02, 0x09, 0x00, 0x01, 0x0E, 0x01, 0x3F, 0x00, 0x20, 0xC5}));
}

TEST_F(Setters, IntegerFieldsTakeTheWholePart) {
    set.set(&DspParams::musicVolume, 42.9);
    EXPECT_EQ(image->params.musicVolume, 42);
    set.set(&DspParams::musicPitch, -2.7);
    EXPECT_EQ(image->params.musicPitch, -2);
    set.set(&DspParams::musicVolume, 1e12); // held, not wrapped
    EXPECT_EQ(image->params.musicVolume, 2147483647);
    const auto p = params();
    expectParam(p[0], 4, 12, 1, bits(0.4205f));
    expectParam(p[1], 4, 21, 1, 3u);
}

TEST_F(Setters, DelaysAreRaisedToTheirMinimumAndKeptRaised) {
    set.set(&DspParams::outDelayMs, 2, 1.0);
    EXPECT_EQ(image->params.outDelayMs[2], 1.5f);
    set.set(&DspParams::echoPredelayMsA, 10.0);
    set.set(&DspParams::echoTimeMsB, 0.5);
    EXPECT_EQ(image->params.echoTimeMsB, 2.0f);
    set.set(&DspParams::reverbPredelayMsB, 1.0);
    EXPECT_EQ(image->params.reverbPredelayMsB, 2.0f);
    set.set(&DspParams::boostLpfDelayMs, 20);
    const auto p = params();
    ASSERT_EQ(p.size(), 5u);
    expectParam(p[0], 7, 18, 1, 72u);
    expectParam(p[1], 2, 9, 1, 480u);
    expectParam(p[2], 2, 23, 1, 96u);
    expectParam(p[3], 3, 21, 1, 96u);
    expectParam(p[4], 4, 36, 1, 960u);
}

TEST_F(Setters, SwitchesAndMutes) {
    set.set(&DspParams::outPhase, 3, 1);
    set.set(&DspParams::outMute, 0, 1);
    set.set(&DspParams::outMute, 7, 0);
    set.set(&DspParams::micMute, 1);
    set.set(&DspParams::outEqSwitch, 4, 1);
    set.set(&DspParams::musicCompBypass, 1);
    const auto p = params();
    expectParam(p[0], 8, 25, 1, 0xBF800000u);
    expectParam(p[1], 5, 26, 1, 0u);
    expectParam(p[2], 12, 26, 1, 0x3F800000u);
    expectParam(p[3], 1, 15, 1, 0u);
    expectParam(p[4], 9, 15, 1, 1u);
    expectParam(p[5], 4, 15, 1, 1u);
}

TEST_F(Setters, MicrophoneInputsAdvanceTheParameter) {
    set.set(&DspParams::micInputVolume, 3, 100);
    set.set(&DspParams::micGate, 1, 5000);
    set.set(&DspParams::micToA, 2, 100);
    set.set(&DspParams::micToB, 2, 0);
    const auto p = params();
    expectParam(p[0], 1, 7, 1, 0x3F800000u);
    expectParam(p[1], 1, 9, 1, 0x3F000000u);
    expectParam(p[2], 1, 29, 1, 0x3F800000u);
    expectParam(p[3], 1, 52, 1, 0u);
}

TEST_F(Setters, ValuesSentTwice) {
    set.set(&DspParams::reverbVolume, 80);
    set.set(&DspParams::reverbMute, 1);
    set.set(&DspParams::effectVolume, 50);
    set.set(&DspParams::reverbTimeB, 150);
    const auto r = sink.reports();
    ASSERT_EQ(r.size(), 6u);
    expectParam(paramOf(r[0]), 3, 24, 2, 0x3F4CCCCDu);
    EXPECT_EQ(wordAt(r[0], 10), 0x3F4CCCCDu);
    expectParam(paramOf(r[1]), 3, 25, 2, 0u);
    EXPECT_EQ(wordAt(r[1], 10), 0u);
    expectParam(paramOf(r[2]), 1, 34, 1, 0x3F0020C5u);
    expectParam(paramOf(r[3]), 1, 57, 1, 0x3F0020C5u);
    expectParam(paramOf(r[4]), 3, 22, 1, 0x3FC00000u);
    expectParam(paramOf(r[5]), 3, 23, 1, 0x3FC00000u);
}

TEST_F(Setters, FrequencyShifterOffSendsOnlyTheFlag) {
    // 1 Hz is off; so is the factory 0 and anything below, whose delay word would saturate.
    for (int freq : {1, 0, -3}) {
        SCOPED_TRACE(freq);
        sink.clear();
        image->params.shiftOffA = 0;
        set.set(&DspParams::shiftFreqA, freq);
        EXPECT_EQ(image->params.shiftOffA, 1);
        EXPECT_EQ(image->params.shiftFreqA, freq);
        const auto p = params();
        ASSERT_EQ(p.size(), 1u);
        expectParam(p[0], 1, 33, 1, 1u);
    }

    sink.clear();
    set.set(&DspParams::shiftFreqB, 5);
    EXPECT_EQ(image->params.shiftOffB, 0);
    const auto p = params();
    ASSERT_EQ(p.size(), 3u);
    expectParam(p[0], 1, 56, 1, 0u);
    expectParam(p[1], 1, 54, 1, 0x3A2B92A6u);
    expectParam(p[2], 1, 55, 1, 1200u);
}

TEST_F(Setters, MicBoostWritesMemoryThenChannelBThenChannelA) {
    set.setMicBoost(-12.0f);
    EXPECT_EQ(image->micBoost, (MicBoostWord{0xC1, 0x40}));
    const auto r = sink.reports();
    ASSERT_EQ(r.size(), 7u);
    EXPECT_EQ(r[0], reportOf({0x02, 0x85, 0x05, 0x19, 0x02, 0xC1, 0x40}));
    // 10^(-12/20) = 0.25118864, its inverse 3.98107171.
    const int order[] = {61, 59, 58, 38, 36, 35};
    const int counts[] = {6, 1, 1, 6, 1, 1};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(r[i + 1][3], 1);
        EXPECT_EQ(r[i + 1][4], order[i]);
        EXPECT_EQ(r[i + 1][5], counts[i]);
    }
    EXPECT_FLOAT_EQ(std::bit_cast<float>(wordAt(r[2], 6)), 0.25118864f);
    EXPECT_FLOAT_EQ(std::bit_cast<float>(wordAt(r[3], 6)), 3.98107171f);
    EXPECT_EQ(wordAt(r[1], 6), wordAt(r[2], 6)); // block word d = 10^(v/20)
    EXPECT_EQ(wordAt(r[1], 14), 0x3F7D554Au);
    EXPECT_EQ(wordAt(r[1], 18), 0xBFFEA8DCu);
    // blocks B and A carry the same words
    EXPECT_TRUE(std::equal(r[1].begin() + 5, r[1].end(), r[4].begin() + 5));
}

TEST_F(Setters, BoostOnIsSentInvertedToBothChannelsAndCopied) {
    set.set(&DspParams::micBoostOn, 1);
    EXPECT_EQ(image->params.micBoostOnCopy, 1);
    const auto p = params();
    ASSERT_EQ(p.size(), 2u);
    expectParam(p[0], 1, 37, 1, 0u);
    expectParam(p[1], 1, 60, 1, 0u);
    sink.clear();
    set.set(&DspParams::micBoostOnCopy, 0); // kept, never sent alone
    EXPECT_TRUE(sink.entries().empty());
}

TEST_F(Setters, RoomGainWritesTheWholeBlockThenTheLevelBlock) {
    set.setRoomGain(2, -3.0f);
    EXPECT_EQ(image->roomGain[8], 0xC0);
    EXPECT_EQ(image->roomGain[9], 0x40);
    const auto r = sink.reports();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0][1], 0x85);
    EXPECT_EQ((r[0][2] << 8) | r[0][3], 1253);
    EXPECT_EQ(r[0][4], 32);
    EXPECT_EQ(r[0][5 + 8], 0xC0);
    expectParam(paramOf(r[1]), 7, 29, 6, std::bit_cast<std::uint32_t>(0.70794578f));
    EXPECT_EQ(wordAt(r[1], 14), 0x3F7EFF25u);
    EXPECT_EQ(set.setRoomGain(8, 1.0f), 0);
}

TEST_F(Setters, MusicUnmuteRampsWithPauses) {
    set.set(&DspParams::musicMute, 0);
    const auto& e = sink.entries();
    ASSERT_EQ(e.size(), 19u);
    for (int i = 0; i < 9; ++i) {
        const Report& r = std::get<Report>(e[2 * i]);
        expectParam(paramOf(r), 4, 13, 1, std::bit_cast<std::uint32_t>(float(i / 10.0)));
        EXPECT_EQ(std::get<std::chrono::milliseconds>(e[2 * i + 1]).count(), 30);
    }
    expectParam(paramOf(std::get<Report>(e[18])), 4, 13, 1, 0x3F800000u);

    sink.clear();
    set.set(&DspParams::musicMute, 1);
    ASSERT_EQ(sink.entries().size(), 1u);
    expectParam(params()[0], 4, 13, 1, 0u);
}

TEST_F(Setters, HdmiSourceSendsTheSelectionFirst) {
    image->params.hdmiSelect = 3;
    set.set(&DspParams::musicSource, 2);
    auto p = params();
    ASSERT_EQ(p.size(), 2u);
    expectParam(p[0], 4, 33, 1, 3u);
    expectParam(p[1], 4, 23, 1, 2u);
    sink.clear();
    set.set(&DspParams::musicSource, 4);
    p = params();
    ASSERT_EQ(p.size(), 1u);
    expectParam(p[0], 4, 23, 1, 4u);
}

TEST_F(Setters, DelayModeRewritesTheSplitBands) {
    // Band 13 of CH 2 at 700 Hz selects the pair (700, 1200).
    image->eqBands[bandAddress(6, 13) + 2] = 0x02;
    image->eqBands[bandAddress(6, 13) + 3] = 0xBC;
    set.set(&DspParams::outDelayMode, 1, 0);
    auto r = sink.reports();
    ASSERT_EQ(r.size(), 5u);
    expectParam(paramOf(r[0]), 6, 17, 2, 0x3F800000u);
    EXPECT_EQ(wordAt(r[0], 10), 0x3F800000u);
    // high-pass at 700 Hz, then the low-pass at 1200 Hz, each record then coefficients
    EXPECT_TRUE(std::equal(r[1].begin() + 5, r[1].begin() + 12,
                           std::begin({0x00, 0x96, 0x02, 0xBC, 0x02, 0xC3, 0x03})));
    EXPECT_EQ((r[1][2] << 8) | r[1][3], int(bandAddress(6, 13)));
    expectParam(paramOf(r[2]), 6, 13, 5, wordAt(r[2], 6));
    EXPECT_TRUE(std::equal(r[3].begin() + 5, r[3].begin() + 12,
                           std::begin({0x00, 0x96, 0x04, 0xB0, 0x02, 0xC3, 0x02})));
    expectParam(paramOf(r[4]), 6, 14, 5, wordAt(r[4], 6));

    // Whole-channel mode: word 2 is 0.0 and both bands become flat peaking bands.
    sink.clear();
    set.set(&DspParams::outDelayMode, 1, 1);
    r = sink.reports();
    ASSERT_EQ(r.size(), 5u);
    EXPECT_EQ(wordAt(r[0], 10), 0u);
    EXPECT_EQ(r[1][5 + 6], 1);
    EXPECT_EQ(r[3][5 + 6], 1);
    EXPECT_EQ(r[3][5 + 3], 0xB0); // still 1200 Hz
}

TEST_F(Setters, DelayModeWithAnUnknownSplitUsesTheFirstPair) {
    set.set(&DspParams::outDelayMode, 0, 0); // default band 13 is 500 Hz: pair 0
    const auto r = sink.reports();
    EXPECT_EQ((r[1][5 + 2] << 8) | r[1][5 + 3], 500);
    EXPECT_EQ((r[3][5 + 2] << 8) | r[3][5 + 3], 1000);
    image->eqBands[bandAddress(5, 13) + 3] = 0xF5; // 501 Hz: not in the table
    sink.clear();
    set.set(&DspParams::outDelayMode, 0, 0);
    EXPECT_EQ((sink.reports()[1][5 + 2] << 8) | sink.reports()[1][5 + 3], 500);
}

TEST_F(Setters, DelaySwitchLeavesTheSplitBandsAlone) {
    const auto bands = image->eqBands;
    set.set(&DspParams::outDelayBypass, 5, 1);
    const auto p = params();
    ASSERT_EQ(p.size(), 1u);
    expectParam(p[0], 10, 19, 1, 1u);
    EXPECT_EQ(image->eqBands, bands);
}

TEST_F(Setters, CompressorFieldsSendTheWholeBlock) {
    set.set(&DspParams::outCompRatio, 6, 4.0);
    set.set(&DspParams::musicCompThreshold, -20.0);
    const auto r = sink.reports();
    ASSERT_EQ(r.size(), 2u);
    expectParam(paramOf(r[0]), 11, 27, 7, 0u);
    EXPECT_EQ(wordAt(r[0], 14), 0x3F400000u); // 1 - 1/4
    EXPECT_EQ(wordAt(r[0], 18), 0x41A00000u); // 20.0
    expectParam(paramOf(r[1]), 4, 14, 7, 0xC1A00000u);
}

TEST_F(Setters, OutputCompressorStoresAllFourAndSendsOneBlock) {
    EXPECT_EQ(set.setOutputCompressor(2, -12.0f, 4.0f, 30.0f, 200.0f), 61);
    EXPECT_EQ(set.setOutputCompressor(8, -1.0f, 2.0f, 1.0f, 1.0f), 0);
    const auto r = sink.reports();
    ASSERT_EQ(r.size(), 1u);
    const CompressorBlock block = compressorBlock(-12.0f, 4.0f, 30.0f, 200.0f);
    expectParam(paramOf(r[0]), 7, 27, 7, block[0]);
    for (std::size_t k = 0; k < block.size(); ++k)
        EXPECT_EQ(wordAt(r[0], 6 + 4 * k), block[k]) << k;
    EXPECT_EQ(image->params.outCompThreshold[2], -12.0f);
    EXPECT_EQ(image->params.outCompRatio[2], 4.0f);
    EXPECT_EQ(image->params.outCompAttackMs[2], 30.0f);
    EXPECT_EQ(image->params.outCompReleaseMs[2], 200.0f);
    // The same block as setting the fields one by one ends with.
    RecordingSink other;
    FieldSetters one{*image, other};
    one.set(&DspParams::outCompReleaseMs, 2, 200.0);
    EXPECT_EQ(other.reports().back(), r[0]);
}

TEST_F(Setters, WithoutAProcessorTheValueIsStillStored) {
    RecordingSink unplugged(0);
    FieldSetters offline(*image, unplugged);
    EXPECT_EQ(offline.set(&DspParams::outLevel, 1, 75), 0);
    EXPECT_EQ(image->params.outLevel[1], 75);
}

TEST_F(Setters, BadIndexesAndUnnamedWordsChangeNothing) {
    const DspParams before = image->params;
    EXPECT_EQ(set.set(&DspParams::outLevel, 8, 75), 0);
    EXPECT_EQ(set.set(&DspParams::micGate, -1, 75), 0);
    EXPECT_EQ(set.setWord(6, 5), 0);
    EXPECT_EQ(set.setWord(216, 5), 0);
    EXPECT_TRUE(sink.entries().empty());
    EXPECT_EQ(std::memcmp(&before, &image->params, sizeof before), 0);
}

TEST_F(Setters, EveryNamedWordIsSentOnItsOwnModule) {
    // Each word but the boost copy reaches the processor; outputs on modules 5-12.
    for (std::size_t w = 0; w < DspParams::kWords; ++w) {
        if (w == 6 || w == 14 || w == offsetof(DspParams, micBoostOnCopy) / 4) {
            continue;
        }
        sink.clear();
        set.sendWord(w);
        ASSERT_FALSE(sink.reports().empty()) << "word " << w;
        const Report first = sink.reports().front();
        EXPECT_EQ(first[1], 0x09) << "word " << w;
        EXPECT_GE(first[3], 1);
        EXPECT_LE(first[3], 12);
    }
}
