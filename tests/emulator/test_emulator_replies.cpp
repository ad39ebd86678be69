// The emulated processor's answer to every operation, byte for byte. Expected
// bytes are written out from the report tables; f32 words worked by hand
// (0.5 = 3F000000, 0.8 = 3F4CCCCD, 1.0 = 3F800000, 20.0 = 41A00000).
#include "EmulatorHarness.h"
#include "emulator/FactorySettings.h"

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;
using namespace std::chrono_literals;

namespace {

Report setParam(std::uint8_t module, std::uint8_t param, std::initializer_list<std::uint32_t> w) {
    Report r = reportOf({0x02, 0x09, 0x00, module, param, static_cast<std::uint8_t>(w.size())});
    std::size_t at = 6;
    for (std::uint32_t v : w) {
        r[at++] = static_cast<std::uint8_t>(v >> 24);
        r[at++] = static_cast<std::uint8_t>(v >> 16);
        r[at++] = static_cast<std::uint8_t>(v >> 8);
        r[at++] = static_cast<std::uint8_t>(v);
    }
    return r;
}

Report getParam(std::uint8_t module, std::uint8_t param, std::uint8_t count) {
    return reportOf({0x02, 0x0A, 0x00, module, param, count});
}

} // namespace

TEST(EmulatorIdentity, ModelVersionAndBothFirmwareDates) {
    EmulatorHarness h;
    EXPECT_EQ(h.ask(reportOf({0x02, 0x80})),
              hex(reportOf({0x02, 0x80, 'M', 'I', 'V', 'R', 'A', 'X'})));
    EXPECT_EQ(h.ask(reportOf({0x02, 0x7F})), hex(reportOf({0x02, 0x7F, 0x12})));

    const auto dates = h.send(reportOf({0x02, 0x81}));
    ASSERT_EQ(dates.size(), 2u);
    EXPECT_EQ(hex(dates[0]), hex(reportOf({0x02, 0x81, 0x32, 0x30, 0x31, 0x33, 0x2D, 0x30, 0x36,
                                           0x2D, 0x31, 0x38})));
    EXPECT_EQ(hex(dates[1]), hex(reportOf({0x02, 0x7E, 0x32, 0x30, 0x31, 0x33, 0x2D, 0x30, 0x37,
                                           0x2D, 0x30, 0x32})));
}

TEST(EmulatorParams, SetIsAcknowledgedAndGetReturnsTheWordsLastSent) {
    EmulatorHarness h;
    // micVolume 50: 0.5005 = 3F 00 20 C5; a fresh processor already holds it.
    EXPECT_EQ(h.ask(getParam(1, 14, 1)),
              hex(reportOf({0x02, 0x0A, 0x00, 0x01, 0x0E, 0x01, 0x3F, 0x00, 0x20, 0xC5})));
    EXPECT_EQ(h.ask(setParam(1, 14, {0x3F4CCCCD})),
              hex(reportOf({0x02, 0x09, 0x00, 0x01, 0x0E, 0x01})));
    EXPECT_EQ(h.ask(getParam(1, 14, 1)),
              hex(reportOf({0x02, 0x0A, 0x00, 0x01, 0x0E, 0x01, 0x3F, 0x4C, 0xCC, 0xCD})));

    // A five-word biquad on CH 1 band 3 comes back word for word.
    h.send(setParam(5, 3, {0x11223344, 0x55667788, 0x99AABBCC, 0xDDEEFF00, 0x01020304}));
    EXPECT_EQ(h.ask(getParam(5, 3, 5)),
              hex(reportOf({0x02, 0x0A, 0x00, 0x05, 0x03, 0x05, 0x11, 0x22, 0x33,
                            0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA, 0xBB, 0xCC,
                            0xDD, 0xEE, 0xFF, 0x00, 0x01, 0x02, 0x03, 0x04})));
}

TEST(EmulatorParams, FactoryWordsAreThoseAHostWouldSend) {
    EmulatorHarness h;
    // echoTimeMsA 217 ms = 10416 samples = 0x28B0.
    EXPECT_EQ(h.ask(getParam(2, 10, 1)),
              hex(reportOf({0x02, 0x0A, 0x00, 0x02, 0x0A, 0x01, 0x00, 0x00, 0x28, 0xB0})));
    // reverbVolume 50 %, sent twice.
    EXPECT_EQ(h.ask(getParam(3, 24, 2)), hex(reportOf({0x02, 0x0A, 0x00, 0x03, 0x18, 0x02, 0x3F,
                                                       0x00, 0x00, 0x00, 0x3F, 0x00, 0x00, 0x00})));
    // CH 4 sits on location 3; not muted (1.0).
    EXPECT_EQ(h.ask(getParam(8, 16, 1)),
              hex(reportOf({0x02, 0x0A, 0x00, 0x08, 0x10, 0x01, 0x00, 0x00, 0x00, 0x03})));
    EXPECT_EQ(h.ask(getParam(8, 26, 1)),
              hex(reportOf({0x02, 0x0A, 0x00, 0x08, 0x1A, 0x01, 0x3F, 0x80, 0x00, 0x00})));
    // Music compressor: threshold 0 dB, 0, 1 - 1/2, 20.0, 0.05 (3D4CCCCD), ...
    const auto comp = h.send(getParam(4, 14, 7));
    ASSERT_EQ(comp.size(), 1u);
    EXPECT_EQ(comp[0][5], 7);
    EXPECT_EQ(wordAt(comp[0], 6), 0u);
    EXPECT_EQ(wordAt(comp[0], 10), 0u);
    EXPECT_EQ(wordAt(comp[0], 14), 0x3F000000u);
    EXPECT_EQ(wordAt(comp[0], 18), 0x41A00000u);
    EXPECT_EQ(wordAt(comp[0], 22), 0x3D4CCCCDu);
}

TEST(EmulatorParams, ShortCountsReplaceTheFirstWordsOnly) {
    EmulatorHarness h;
    h.send(setParam(3, 24, {0x3F4CCCCD}));
    EXPECT_EQ(h.ask(getParam(3, 24, 2)), hex(reportOf({0x02, 0x0A, 0x00, 0x03, 0x18, 0x02, 0x3F,
                                                       0x4C, 0xCC, 0xCD, 0x3F, 0x00, 0x00, 0x00})));
}

TEST(EmulatorParams, UnknownParametersAndBadCountsAreRefusedWithAStatus) {
    EmulatorHarness h;
    // Module 4 has no parameter 18; module 13 does not exist.
    EXPECT_EQ(h.ask(setParam(4, 18, {1})), hex(reportOf({0x02, 0x09, 0x02, 0x04, 0x12, 0x01})));
    EXPECT_EQ(h.ask(getParam(4, 18, 1)), hex(reportOf({0x02, 0x0A, 0x02, 0x04, 0x12, 0x01})));
    EXPECT_EQ(h.ask(getParam(13, 0, 1)), hex(reportOf({0x02, 0x0A, 0x01, 0x0D, 0x00, 0x01})));
    EXPECT_EQ(h.ask(getParam(1, 14, 0)), hex(reportOf({0x02, 0x0A, 0x03, 0x01, 0x0E, 0x00})));
    EXPECT_EQ(h.ask(getParam(1, 14, 14)), hex(reportOf({0x02, 0x0A, 0x03, 0x01, 0x0E, 0x0E})));

    // More words than micVolume has: refused, nothing stored.
    EXPECT_EQ(h.ask(setParam(1, 14, {1, 2})), hex(reportOf({0x02, 0x09, 0x03, 0x01, 0x0E, 0x02})));
    Report huge = setParam(1, 14, {1});
    huge[5] = 200;
    EXPECT_EQ(h.ask(huge), hex(reportOf({0x02, 0x09, 0x03, 0x01, 0x0E, 0xC8})));
    EXPECT_EQ(wordAt(h.send(getParam(1, 14, 1))[0], 6), 0x3F0020C5u);
}

// A processor never set up (the factory one holds flat bands).
static EmulatorOptions blankBands() {
    EmulatorOptions o;
    o.blankBandStore = true;
    return o;
}

TEST(EmulatorMemory, BandStoreReadsBlankAndRoomBlocksHoldTheirDefaults) {
    EmulatorHarness h(blankBands());
    // The last band-store piece: 21 bytes at 1232.
    EXPECT_EQ(h.ask(reportOf({0x02, 0x86, 0x04, 0xD0, 0x15})),
              hex(reportFilled({0x02, 0x86, 0x04, 0xD0, 0x15}, 21, 0xFF)));
    EXPECT_EQ(h.ask(reportOf({0x02, 0x86, 0x00, 0x00, 0x38})),
              hex(reportFilled({0x02, 0x86, 0x00, 0x00, 0x38}, 56, 0xFF)));
    // Room gain (1253) zero, room layout (1285) the default, boost word (1305) zero.
    EXPECT_EQ(h.ask(reportOf({0x02, 0x86, 0x04, 0xE5, 0x20})),
              hex(reportOf({0x02, 0x86, 0x04, 0xE5, 0x20})));
    EXPECT_EQ(
        h.ask(reportOf({0x02, 0x86, 0x05, 0x05, 0x14})),
        hex(reportOf({0x02, 0x86, 0x05, 0x05, 0x14, 0x04, 0x04, 0x00, 0x00, 0x8A, 0x0A, 0x00, 0x0A,
                      0x0A, 0x0A, 0x8A, 0x8A, 0x00, 0x8A, 0x0A, 0x8A, 0x85, 0x00, 0x05, 0x00})));
    EXPECT_EQ(h.ask(reportOf({0x02, 0x86, 0x05, 0x19, 0x02})),
              hex(reportOf({0x02, 0x86, 0x05, 0x19, 0x02})));
}

TEST(EmulatorMemory, WritesComeBackAndStayInsideMemory) {
    EmulatorHarness h(blankBands());
    // One band record (0 dB, 1000 Hz, Q 1.414, PEQ) at CH 1 band 0, address 406.
    EXPECT_EQ(
        h.ask(reportOf({0x02, 0x85, 0x01, 0x96, 0x07, 0x00, 0x96, 0x03, 0xE8, 0x05, 0x86, 0x01})),
        hex(reportOf({0x02, 0x85, 0x01, 0x96, 0x07})));
    EXPECT_EQ(h.ask(reportOf({0x02, 0x86, 0x01, 0x95, 0x09})),
              hex(reportOf({0x02, 0x86, 0x01, 0x95, 0x09, 0xFF, 0x00, 0x96, 0x03, 0xE8, 0x05, 0x86,
                            0x01, 0xFF})));

    // At the top of memory only what fits is stored and read.
    EXPECT_EQ(h.ask(reportOf({0x02, 0x85, 0xFF, 0xFC, 0x08, 1, 2, 3, 4, 5, 6, 7, 8})),
              hex(reportOf({0x02, 0x85, 0xFF, 0xFC, 0x04})));
    EXPECT_EQ(h.ask(reportOf({0x02, 0x86, 0xFF, 0xFE, 0x38})),
              hex(reportOf({0x02, 0x86, 0xFF, 0xFE, 0x02, 3, 4})));
    // A length over 56 is cut to 56.
    EXPECT_EQ(h.send(reportOf({0x02, 0x86, 0x00, 0x00, 0xFF}))[0][4], 56);
}

TEST(EmulatorModes, NamesAreBlankUntilWrittenAndComeAsFourReplies) {
    EmulatorHarness h;
    auto names = h.send(reportOf({0x02, 0x95}));
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(hex(names[0]), hex(reportFilled({0x02, 0xDB, 0x0F, 0x00, 0x32}, 50, 0xFF)));
    EXPECT_EQ(hex(names[3]), hex(reportFilled({0x02, 0xDB, 0x0F, 0xC0, 0x32}, 50, 0xFF)));

    // "Live" as UTF-16BE with its zero at 0x0F40 names Mode2.
    h.send(reportOf(
        {0x02, 0x85, 0x0F, 0x40, 0x0A, 0x00, 'L', 0x00, 'i', 0x00, 'v', 0x00, 'e', 0x00, 0x00}));
    names = h.send(reportOf({0x02, 0x95}));
    ASSERT_EQ(names.size(), 4u);
    Report expected = reportFilled({0x02, 0xDB, 0x0F, 0x40, 0x32}, 50, 0xFF);
    const std::uint8_t live[] = {0x00, 'L', 0x00, 'i', 0x00, 'v', 0x00, 'e', 0x00, 0x00};
    std::copy(std::begin(live), std::end(live), expected.begin() + 5);
    EXPECT_EQ(hex(names[1]), hex(expected));
    EXPECT_EQ(hex(names[2]), hex(reportFilled({0x02, 0xDB, 0x0F, 0x80, 0x32}, 50, 0xFF)));
}

TEST(EmulatorModes, SaveLoadSelectAndResetStoredModes) {
    EmulatorHarness h;
    h.send(reportOf({0x02, 0x91, 1})); // volumes recalled per mode
    EXPECT_EQ(h.ask(reportOf({0x02, 0x07})), hex(reportOf({0x02, 0x07, 0x00})));

    // Mode 2 gets micVolume 0.8 and a band record.
    h.send(setParam(1, 14, {0x3F4CCCCD}));
    h.send(reportOf({0x02, 0x85, 0x00, 0x00, 0x02, 0x12, 0x34}));
    EXPECT_EQ(h.ask(reportOf({0x02, 0x04, 0x02})), hex(reportOf({0x02, 0x04, 0x02})));
    EXPECT_EQ(h.ask(reportOf({0x02, 0x07})), hex(reportOf({0x02, 0x07, 0x02})));

    // Change both, then recall mode 2.
    h.send(setParam(1, 14, {0}));
    h.send(reportOf({0x02, 0x85, 0x00, 0x00, 0x02, 0x00, 0x00}));
    EXPECT_EQ(h.ask(reportOf({0x02, 0x03, 0x01})), hex(reportOf({0x02, 0x03, 0x01})));
    EXPECT_EQ(h.ask(reportOf({0x02, 0x07})), hex(reportOf({0x02, 0x07, 0x01})));
    EXPECT_EQ(wordAt(h.send(getParam(1, 14, 1))[0], 6), 0u); // selecting loads nothing

    EXPECT_EQ(h.ask(reportOf({0x02, 0x05, 0x02})), hex(reportOf({0x02, 0x05, 0x02})));
    EXPECT_EQ(wordAt(h.send(getParam(1, 14, 1))[0], 6), 0x3F4CCCCDu);
    EXPECT_EQ(h.ask(reportOf({0x02, 0x86, 0x00, 0x00, 0x02})),
              hex(reportOf({0x02, 0x86, 0x00, 0x00, 0x02, 0x12, 0x34})));
    EXPECT_EQ(h.ask(reportOf({0x02, 0x07})), hex(reportOf({0x02, 0x07, 0x02})));

    // Factory reset of mode 2: stored and live setting back to the factory.
    EXPECT_EQ(h.ask(reportOf({0x02, 0x06, 0x02})), hex(reportOf({0x02, 0x06, 0x02})));
    EXPECT_EQ(wordAt(h.send(getParam(1, 14, 1))[0], 6), 0x3F0020C5u);
    EXPECT_EQ(h.ask(reportOf({0x02, 0x86, 0x00, 0x00, 0x02})),
              hex(reportOf(
                  {0x02, 0x86, 0x00, 0x00, 0x02, factoryModeMemory()[0], factoryModeMemory()[1]})));
    h.send(setParam(1, 14, {0}));
    h.send(reportOf({0x02, 0x05, 0x02}));
    EXPECT_EQ(wordAt(h.send(getParam(1, 14, 1))[0], 6), 0x3F0020C5u);

    // Mode 4 (index 4) does not exist: acknowledged, nothing changes.
    EXPECT_EQ(h.ask(reportOf({0x02, 0x04, 0x04})), hex(reportOf({0x02, 0x04, 0x04})));
    EXPECT_EQ(h.ask(reportOf({0x02, 0x07})), hex(reportOf({0x02, 0x07, 0x02})));
}

TEST(EmulatorModes, PowerCycleVolumesSurviveALoad) {
    EmulatorHarness h;                    // factory: volumes kept per power cycle (byte 0 = 0)
    h.send(setParam(2, 8, {0x3F4CCCCD})); // echoLevelA 80 %
    h.send(reportOf({0x02, 0x04, 0x01}));
    h.send(setParam(2, 8, {0}));
    h.send(setParam(4, 12, {0x3F800000})); // musicVolume
    h.send(reportOf({0x02, 0x05, 0x01}));
    EXPECT_EQ(wordAt(h.send(getParam(2, 8, 1))[0], 6), 0x3F4CCCCDu);
    EXPECT_EQ(wordAt(h.send(getParam(4, 12, 1))[0], 6), 0x3F800000u);
}

TEST(EmulatorSettings, MachineSettingsAndRemoteTable) {
    EmulatorHarness h;
    EXPECT_EQ(h.ask(reportOf({0x02, 0x92})),
              hex(reportOf({0x02, 0x92, 0x00, 0x00, 0x00, 0x32, 0x32, 0x63, 0x63})));
    EXPECT_EQ(h.ask(reportOf({0x02, 0x91, 1, 2, 1, 40, 255, 60, 70, 0, 0x93, 9, 10, 4, 12})),
              hex(reportOf({0x02, 0x91})));
    EXPECT_EQ(h.ask(reportOf({0x02, 0x92})),
              hex(reportOf({0x02, 0x92, 1, 2, 1, 40, 255, 60, 70, 0, 0x93, 9, 10, 4, 12})));

    EXPECT_EQ(h.ask(reportOf({0x02, 0x62})),
              hex(reportOf({0x02, 0x62, 0x00, 0x45, 0x46, 0x47, 0x44, 0x40, 0x43, 0x07, 0x15, 0x09,
                            0x16, 0x19, 0x0D, 0x0C, 0x18, 0x5E})));
    EXPECT_EQ(h.ask(reportOf({0x02, 0x63, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07,
                              0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10, 0x11})),
              hex(reportOf({0x02, 0x63})));
    // Only the first 16 bytes travel back.
    EXPECT_EQ(h.ask(reportOf({0x02, 0x62})),
              hex(reportOf({0x02, 0x62, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09,
                            0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F})));
    EXPECT_EQ(h.emulator.state().remoteTable[17], 0x11);
}

TEST(EmulatorStatus, MetersMoveStayInRangeAndFollowMutes) {
    EmulatorHarness h;
    std::vector<Report> samples;
    for (int i = 0; i < 40; ++i) {
        const auto r = h.send(reportOf({0x02, 0x0E}));
        ASSERT_EQ(r.size(), 1u);
        samples.push_back(r[0]);
        h.now += 97ms;
    }
    bool moved = false;
    for (const Report& s : samples) {
        EXPECT_EQ(s[1], 0x0E);
        for (int b = 2; b <= 7; ++b) {
            EXPECT_LE(s[b], 60) << "meter byte " << b;
        }
        EXPECT_EQ(s[9], 0x02); // SPDIF: DTS flag
        EXPECT_GT(s[10], 210); // microphone 1 close by
        EXPECT_LE(s[11], 15);  // AF 0-15
        EXPECT_EQ(s[12], 13);  // channel 13 = 672.25 MHz
        EXPECT_EQ(s[16], 77);
        EXPECT_GT(8 * s[13], 1610); // fresh battery
        moved = moved || s[2] != samples[0][2] || s[6] != samples[0][6];
        for (std::size_t b = 18; b < kReportSize; ++b) {
            EXPECT_EQ(s[b], 0);
        }
    }
    EXPECT_TRUE(moved);

    // Music muted (0.0) and the microphones muted: their meters drop to 0.
    h.send(setParam(4, 13, {0}));
    h.send(setParam(1, 15, {0}));
    const Report quiet = h.send(reportOf({0x02, 0x0E}))[0];
    for (int b = 2; b <= 7; ++b) {
        EXPECT_EQ(quiet[b], 0) << "meter byte " << b;
    }
}

TEST(EmulatorLearning, LearnedCodeArrivesAfterTheDelayAndStopWithdrawsIt) {
    EmulatorOptions options;
    options.timings.learnKeyPress = 1500ms;
    EmulatorHarness h(options);

    // Key 10 (Mute): nothing at once, the code 1.5 s later.
    EXPECT_TRUE(h.send(reportOf({0x02, 0x60, 0x0A})).empty());
    EXPECT_TRUE(h.advance(1499ms).empty());
    const auto learned = h.advance(1ms);
    ASSERT_EQ(learned.size(), 1u);
    EXPECT_EQ(hex(learned[0]), hex(reportOf({0x02, 0x60, 0x20, 0x0A, 0x4A})));
    EXPECT_EQ(h.emulator.state().remoteTable[10], 0x16) << "kept out of the table";

    // StopLearn before the press: acknowledged, and no code ever comes.
    h.send(reportOf({0x02, 0x60, 0x01}));
    EXPECT_EQ(h.ask(reportOf({0x02, 0x61})), hex(reportOf({0x02, 0x61})));
    EXPECT_TRUE(h.advance(10s).empty());

    // A second LearnKey replaces the first.
    h.send(reportOf({0x02, 0x60, 0x01}));
    h.advance(1000ms);
    h.send(reportOf({0x02, 0x60, 0x11}));
    const auto second = h.advance(1500ms);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(hex(second[0]), hex(reportOf({0x02, 0x60, 0x20, 0x11, 0x51})));
    EXPECT_TRUE(h.advance(10s).empty());

    // Keys outside 1-17 are not learned; Goodbye ends a learning too.
    h.send(reportOf({0x02, 0x60, 0x00}));
    h.send(reportOf({0x02, 0x60, 0x12}));
    EXPECT_TRUE(h.advance(10s).empty());
    h.send(reportOf({0x02, 0x60, 0x05}));
    EXPECT_TRUE(h.send(reportOf({0x02, 0x8A})).empty());
    EXPECT_TRUE(h.advance(10s).empty());
}

TEST(EmulatorMachine, ResetMachineRestoresTheFactoryButKeepsZwave) {
    EmulatorHarness h;
    h.send(setParam(1, 14, {0}));
    h.send(reportOf({0x02, 0x04, 0x03}));
    h.send(reportOf({0x02, 0x85, 0x0F, 0x00, 0x02, 0x00, 'A'}));
    h.send(reportOf({0x02, 0x91, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}));
    h.send(reportOf({0x02, 0x63, 9, 9, 9}));
    h.send(reportOf({0x02, 0x13, 0x00, 0x38, 0x02, 0x01, 0x00}));

    // The wrong key does nothing; the right one answers nothing.
    EXPECT_TRUE(h.send(reportOf({0x02, 0x68, 0x00})).empty());
    EXPECT_EQ(wordAt(h.send(getParam(1, 14, 1))[0], 6), 0u);
    EXPECT_TRUE(h.send(reportOf({0x02, 0x68, 0xAA})).empty());

    EXPECT_EQ(wordAt(h.send(getParam(1, 14, 1))[0], 6), 0x3F0020C5u);
    EXPECT_EQ(h.ask(reportOf({0x02, 0x07})), hex(reportOf({0x02, 0x07, 0x00})));
    h.send(reportOf({0x02, 0x05, 0x03}));
    EXPECT_EQ(wordAt(h.send(getParam(1, 14, 1))[0], 6), 0x3F0020C5u);
    EXPECT_EQ(h.send(reportOf({0x02, 0x95}))[0][5], 0xFF);
    EXPECT_EQ(h.send(reportOf({0x02, 0x92}))[0][5], 0x32);
    EXPECT_EQ(h.send(reportOf({0x02, 0x62}))[0][3], 0x45);
    EXPECT_EQ(h.ask(reportOf({0x02, 0x14, 0x00, 0x38, 0x02})),
              hex(reportOf({0x02, 0x14, 0x00, 0x38, 0x02, 0x01, 0x00})));
}

TEST(EmulatorCodes, UnknownCodesAndGoodbyeGetNoAnswer) {
    EmulatorHarness h;
    EXPECT_TRUE(h.send(reportOf({0x02, 0x55})).empty());
    EXPECT_TRUE(h.send(reportOf({0x02, 0x8A})).empty());
    EXPECT_TRUE(h.advance(5s).empty());
    EXPECT_EQ(h.emulator.receivedCount(), 2u);
    ASSERT_EQ(h.emulator.received().size(), 2u);
    EXPECT_EQ(h.emulator.received()[1], reportOf({0x02, 0x8A}));
}
