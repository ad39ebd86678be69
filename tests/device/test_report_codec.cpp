// Report layouts and value encodings, checked against hand-worked bytes.
#include "device/ReportBuilder.h"
#include "device/ReportHex.h"
#include "device/WireValue.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numeric>
#include <vector>

using namespace quilo;
using quilo::test::reportOf;
using quilo::test::wordAt;

TEST(ReportBuilder, SimpleCommandsCarryIdCodeAndArguments) {
    EXPECT_EQ(buildCommand(Command::LoadMode, {2}), reportOf({0x02, 0x05, 0x02}));
    EXPECT_EQ(buildCommand(Command::ResetMachine, {0xAA}), reportOf({0x02, 0x68, 0xAA}));
    EXPECT_EQ(buildCommand(Command::Goodbye), reportOf({0x02, 0x8A}));
    EXPECT_EQ(buildGetParam(5, 29, 6), reportOf({0x02, 0x0A, 0x00, 0x05, 0x1D, 0x06}));
}

TEST(ReportBuilder, SetParamRepeatsOneWordCountTimes) {
    // 80 % as f32 0.8 = 3F 4C CC CD, sent twice.
    const Report r = buildSetParamRepeated(3, 24, 0x3F4CCCCD, 2);
    EXPECT_EQ(r, reportOf({0x02, 0x09, 0x00, 0x03, 0x18, 0x02, 0x3F, 0x4C, 0xCC, 0xCD, 0x3F, 0x4C,
                           0xCC, 0xCD}));
}

TEST(ReportBuilder, SetParamNeverOverrunsTheReport) {
    std::vector<std::uint32_t> words(40, 0xFFFFFFFF);
    const Report r = buildSetParam(1, 2, words);
    EXPECT_EQ(r[5], 13); // 6 + 13 * 4 = 58 bytes used
    EXPECT_EQ(wordAt(r, 6 + 12 * 4), 0xFFFFFFFFu);
    EXPECT_EQ(r[58], 0);
    EXPECT_EQ(buildSetParamRepeated(1, 2, 7, -3)[5], 0);
}

TEST(ReportBuilder, EqCoefficientsGoOutAsMinusA1MinusA2ThenB) {
    BiquadCoefficients c;
    c.b0 = 1.0;  // 3F800000
    c.b1 = -2.0; // C0000000
    c.b2 = 0.5;  // 3F000000
    c.a1 = 0.25; // sent as -0.25 = BE800000
    c.a2 = -1.5; // sent as 1.5 = 3FC00000
    const Report r = buildSetEqCoefficients(7, 12, c);
    EXPECT_EQ(r[3], 7);
    EXPECT_EQ(r[4], 12);
    EXPECT_EQ(r[5], 5);
    EXPECT_EQ(wordAt(r, 6), 0xBE800000u);
    EXPECT_EQ(wordAt(r, 10), 0x3FC00000u);
    EXPECT_EQ(wordAt(r, 14), 0x3F800000u);
    EXPECT_EQ(wordAt(r, 18), 0xC0000000u);
    EXPECT_EQ(wordAt(r, 22), 0x3F000000u);
}

TEST(ReportBuilder, MemoryReportsAndPieces) {
    EXPECT_EQ(buildReadMemory(1232, 21), reportOf({0x02, 0x86, 0x04, 0xD0, 0x15}));
    const std::uint8_t data[] = {0xC1, 0x40};
    EXPECT_EQ(buildWriteMemory(1305, data), reportOf({0x02, 0x85, 0x05, 0x19, 0x02, 0xC1, 0x40}));

    // The band store moves as 22 pieces of 56 bytes and one of 21.
    std::vector<std::uint8_t> store(1253);
    std::iota(store.begin(), store.end(), 0);
    const auto pieces = buildWriteMemoryBlock(0, store);
    ASSERT_EQ(pieces.size(), 23u);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const unsigned address = (pieces[i][2] << 8) | pieces[i][3];
        EXPECT_EQ(address, i * 56);
        EXPECT_EQ(pieces[i][4], i < 22 ? 56 : 21);
        EXPECT_EQ(pieces[i][5], static_cast<std::uint8_t>(i * 56)); // first data byte
    }
    EXPECT_EQ(pieces.back()[5 + 20], static_cast<std::uint8_t>(1252));
    EXPECT_EQ(pieces.back()[5 + 21], 0);
    const auto reads = buildReadMemoryBlock(0, 1253);
    ASSERT_EQ(reads.size(), 23u);
    EXPECT_EQ(reads.back(), reportOf({0x02, 0x86, 0x04, 0xD0, 0x15}));
    // A single memory report never carries more than 56 bytes.
    std::vector<std::uint8_t> big(100, 0xAB);
    const Report w = buildWriteMemory(0, big);
    EXPECT_EQ(w[4], 56);
    EXPECT_EQ(w[60], 0xAB);
}

TEST(ReportBuilder, ZwaveFrameWrapsPayloadWithChecksum) {
    const std::uint8_t one[] = {0x02};
    EXPECT_EQ(buildZwaveFrame(one), reportOf({0x02, 0x12, 0x05, 0x01, 0x03, 0x00, 0x02, 0xFE}));
    // Basic Set: FF ^ 06 ^ 00 ^ 13 ^ 05 ^ 20 ^ 01 = 0xCE.
    const std::uint8_t set[] = {0x13, 0x05, 0x20, 0x01};
    EXPECT_EQ(buildZwaveFrame(set),
              reportOf({0x02, 0x12, 0x08, 0x01, 0x06, 0x00, 0x13, 0x05, 0x20, 0x01, 0xCE}));
    EXPECT_EQ(buildZwaveAck(), reportOf({0x02, 0x12, 0x01, 0x06}));
    // An oversized payload is cut so that the checksum still fits.
    std::vector<std::uint8_t> big(80, 0x11);
    const Report r = buildZwaveFrame(big);
    EXPECT_EQ(r[2], 54 + 4);
    EXPECT_EQ(r[4], 54 + 2);
}

TEST(ReportBuilder, MachineSettingsAndRemoteTablePayloads) {
    std::array<std::uint8_t, 13> settings{};
    settings[0] = 1;
    settings[12] = 0x5A;
    const Report m = buildSetMachineSettings(settings);
    EXPECT_EQ(m[1], 0x91);
    EXPECT_EQ(m[2], 1);
    EXPECT_EQ(m[14], 0x5A);
    EXPECT_EQ(m[15], 0);
    std::array<std::uint8_t, 18> table{};
    table[17] = 0x77;
    const Report t = buildSetRemoteTable(table);
    EXPECT_EQ(t[1], 0x63);
    EXPECT_EQ(t[19], 0x77);
    EXPECT_EQ(t[20], 0);
}

TEST(WireValue, PercentEncodings) {
    EXPECT_EQ(encodePctPlus(50), 0x3F0020C5u); // 0.5005
    EXPECT_EQ(encodePct(80), 0x3F4CCCCDu);     // 0.8
    EXPECT_EQ(encodePct(100), 0x3F800000u);
    EXPECT_EQ(encodeP10k(5000), 0x3F000000u); // 0.5
    EXPECT_EQ(encodePct(-50), 0xBF000000u);
}

TEST(WireValue, SwitchEncodings) {
    EXPECT_EQ(encodeOn(0), 0x3F800000u);
    EXPECT_EQ(encodeOn(1), 0x00000000u);
    EXPECT_EQ(encodeSw(100), 0x3F800000u);
    EXPECT_EQ(encodeSw(0), 0x00000000u);
    EXPECT_EQ(encodeNot(0), 1u);
    EXPECT_EQ(encodeNot(1), 0u);
    EXPECT_EQ(encodePhase(1), 0xBF800000u);
    EXPECT_EQ(encodePhase(0), 0x3F800000u);
    EXPECT_EQ(encodePitch(-5), 0u);
    EXPECT_EQ(encodePitch(5), 10u);
    EXPECT_EQ(encodeInt(-1), 0xFFFFFFFFu);
}

TEST(WireValue, MillisecondsBecomeRoundedSamples) {
    EXPECT_EQ(encodeMs(10.0), 480u);
    EXPECT_EQ(encodeMs(1.5), 72u);
    EXPECT_EQ(encodeMs(217.0), 10416u);
    EXPECT_EQ(encodeMs(0.01), 0u);  // 0.48 + 0.5 -> 0
    EXPECT_EQ(encodeMs(0.011), 1u); // 0.528 + 0.5 -> 1
    EXPECT_EQ(encodeMs(-3.0), 0u);  // never wraps around
}

TEST(WireValue, FrequencyShifterWords) {
    // 2*pi*5/48000 = 6.5449847e-4, whose nearest f32 is 3A 2B 92 A6.
    EXPECT_EQ(encodeShiftOmega(5), 0x3A2B92A6u);
    // (1000 / 20 - 25) * 48 + 0.5 = 1200.5 -> 1200.
    EXPECT_EQ(encodeShiftDelay(5), 1200u);
    // (1000 / 12 - 25) = 58.3333 (f32 58.33333206) * 48 = 2799.99994 (+0.5) -> 2800.
    EXPECT_EQ(encodeShiftDelay(3), 2800u);
}

TEST(WireValue, CompressorBlock) {
    // threshold -10 dB = C1200000; ratio 4 -> 0.75; attack 10 ms -> 1 - e^(-1/480);
    // release 100 ms -> 1 - e^(-1/4800).
    const CompressorBlock b = compressorBlock(-10.0f, 4.0f, 10.0f, 100.0f);
    EXPECT_EQ(b[0], 0xC1200000u);
    EXPECT_EQ(b[1], 0u);
    EXPECT_EQ(b[2], 0x3F400000u);
    EXPECT_EQ(b[3], 0x41A00000u);
    EXPECT_EQ(b[4], f32Bits(0.05));
    EXPECT_NEAR(f32FromBits(b[5]), 0.00208116, 1e-7);
    EXPECT_NEAR(f32FromBits(b[6]), 0.000208312, 1e-8);
}

// A fresh image holds ratio 0; nothing the processor is sent may be infinite or NaN.
TEST(WireValue, NoWordIsInfiniteOrNan) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        float ratio;
        std::uint32_t word; // the ratio word 1 - 1/ratio
    } const ratios[] = {{0.0f, 0u}, {0.5f, 0u}, {-4.0f, 0u},
                        {nan, 0u},  {1.0f, 0u}, {2.0f, 0x3F000000u}};
    for (const Case& c : ratios) {
        EXPECT_EQ(compressorBlock(-20.0f, c.ratio, 10.0f, 100.0f)[2], c.word) << c.ratio;
    }
    for (const double v : {double(inf), double(-inf), double(nan), 1e300, -1e300}) {
        EXPECT_TRUE(std::isfinite(f32FromBits(f32Bits(v)))) << v;
        EXPECT_TRUE(std::isfinite(f32FromBits(encodeRaw(static_cast<float>(v))))) << v;
    }
    EXPECT_EQ(f32Bits(nan), 0u);
    EXPECT_EQ(f32FromBits(encodeRaw(-inf)), -std::numeric_limits<float>::max());
    // A negative time constant would make exp() overflow.
    const CompressorBlock b = compressorBlock(nan, 0.0f, -1.0f, 0.0f);
    for (const std::uint32_t w : b) {
        EXPECT_TRUE(std::isfinite(f32FromBits(w)));
    }
}

TEST(WireValue, GainBlocksUseTheirFixedConstants) {
    // v = 0: d = e = 1.0.
    const GainBlock mic = gainBlock(0.0f, GainBlockKind::MicBoost);
    EXPECT_EQ(mic,
              (GainBlock{0x3F800000, 0x3F800000, 0x3F7D554A, 0xBFFEA8DC, 0x3F800000, 0x3F800000}));
    const GainBlock level = gainBlock(0.0f, GainBlockKind::OutputLevel);
    EXPECT_EQ(level[2], 0x3F7EFF25u);
    EXPECT_EQ(level[3], 0xBFFF7EF1u);
    // v = -20 dB: d = 0.1; e = 10^((0.0022594517*400 - 0.79990202*20)/20) = 10^(-0.754713)
    // = 0.17591 (products and sum in single precision).
    const GainBlock cut = gainBlock(-20.0f, GainBlockKind::MicBoost);
    EXPECT_EQ(cut[0], 0x3DCCCCCDu);
    EXPECT_NEAR(f32FromBits(cut[1]), 0.1759086, 1e-6);
    EXPECT_EQ(cut[4], cut[0]);
    EXPECT_EQ(cut[5], cut[1]);
}

TEST(ReportHex, FormatAndParse) {
    const Report r = reportOf({0x02, 0x0A, 0xFF});
    const std::string hex = formatReportHex(r);
    EXPECT_EQ(hex.substr(0, 9), "02 0A FF ");
    EXPECT_EQ(hex.size(), 61u * 3 - 1);
    EXPECT_EQ(parseReportHex(hex), r);
    EXPECT_EQ(parseReportHex("020aff"), r);
    EXPECT_EQ(parseReportHex(""), Report{});
    EXPECT_FALSE(parseReportHex("02 0G"));
    EXPECT_FALSE(parseReportHex("020"));
    EXPECT_FALSE(parseReportHex(std::string(62 * 2, 'A')));
    EXPECT_TRUE(parseReportHex(std::string(61 * 2, 'A')));
}
