// quiloctl decode end to end, and the image-to-text listing it prints with.
#include "model/DeviceImage.h"
#include "model/EqBand.h"
#include "model/ImageDiff.h"
#include "support/RunCommand.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <memory>

using namespace quilo;
using quilo::test::runCommand;

namespace {

quilo::test::CommandResult decode(const std::string& hex) {
    return runCommand(std::string(QUILOCTL_PATH) + " decode " + hex + " 2>/dev/null");
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        out.push_back(text.substr(start, end - start));
    }
    return out;
}

} // namespace

TEST(DecodeCommand, ParameterRepliesPrintTheirField) {
    const auto r = decode("02 0A 00 01 0E 01 3F 00 20 C5");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "micVolume=50\n");
    EXPECT_EQ(decode("020A0007120100000048").out, "outDelayMs[2]=1.5\n"); // 72 samples, CH 3
    // Compressor of the music: four fields, by name. Threshold -20 dB, ratio word 0.75.
    EXPECT_EQ(decode("02 0A 00 04 0E 07 C1 A0 00 00 00 00 00 00 3F 40 00 00").out,
              "musicCompRatio=4\nmusicCompThreshold=-20\n");
    // Words of 0 give no finite attack or release; those fields stay as they were.
}

TEST(DecodeCommand, BandRecordsPrintAsGainFrequencyQAndType) {
    // Output CH 1 band 0 (address 406): -3 dB (code 120), 1000 Hz, Q 1.414, low-pass.
    EXPECT_EQ(decode("02 86 01 96 07 00 78 03 E8 05 86 02").out,
              "band[5,0]=-3,1000,1.41400003,2\n");
    // The music low-pass boost band (1246) under its store module 15.
    EXPECT_EQ(decode("02 86 04 DE 07 00 96 00 64 02 C3 03").out,
              "band[15,0]=0,100,0.707000017,3\n");

    // Records 8-15 are mic bands 8-15: band 9 comes before band 10.
    std::string piece = "02 86 00 38 38";
    for (int i = 0; i < 8; ++i) {
        piece += " 00 96 00 64 02 C3 03";
    }
    const auto r = lines(decode(piece).out);
    ASSERT_EQ(r.size(), 8u);
    EXPECT_EQ(r[0], "band[1,8]=0,100,0.707000017,3");
    EXPECT_EQ(r[1], "band[1,9]=0,100,0.707000017,3");
    EXPECT_EQ(r[2], "band[1,10]=0,100,0.707000017,3");
    EXPECT_EQ(r[7], "band[1,15]=0,100,0.707000017,3");
}

TEST(DecodeCommand, BlocksBytesAndTexts) {
    EXPECT_EQ(decode("02 86 05 19 02 C1 40").out, "micBoost=12\n"); // word -12 dB
    EXPECT_EQ(decode("02 86 04 E5 08 00 00 00 00 C0 20 00 00").out, "roomGain[1]=-2.5\n");
    EXPECT_EQ(decode("02 DB 0F C0 06 6A 21 5F 0F 56 DB").out, "modeNames[3]=模式四\n");
    // A backslash and a line break inside a text cannot break the line.
    EXPECT_EQ(decode("02 80 41 5C 0A 42").out, "modelName=A\\\\\\u000AB\n");
    const auto settings = lines(decode("02 92 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D").out);
    ASSERT_EQ(settings.size(), 26u);
    EXPECT_EQ(settings[0], "machine.applied[0]=1");
    EXPECT_EQ(settings[9], "machine.applied[9]=10");
    EXPECT_EQ(settings[10], "machine.applied[10]=11");
    EXPECT_EQ(settings[13], "machine.edit[0]=1");
    EXPECT_EQ(settings[25], "machine.edit[12]=13");
}

TEST(DecodeCommand, RepliesThatChangeNothingPrintNothing) {
    for (const char* hex : {"02 55 01 02", "02 12 05 01 03 00 02 FE", "", "02 86 05 20 02 11 22"}) {
        const auto r = decode(std::string("'") + hex + "'");
        EXPECT_EQ(r.status, 0) << hex;
        EXPECT_EQ(r.out, "") << hex;
    }
}

TEST(DecodeCommand, MalformedHexIsAUsageError) {
    const std::string tooLong(62 * 2, 'A');
    for (const std::string& bad :
         {tooLong, std::string("0G"), std::string("02 0"), std::string("02-0A")}) {
        const auto r = decode(bad);
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_EQ(r.out, "") << bad;
    }
    EXPECT_EQ(runCommand(std::string(QUILOCTL_PATH) + " decode 2>/dev/null").status, 2);
    // The message is one line on standard error.
    const auto err = runCommand(std::string(QUILOCTL_PATH) + " decode 0G 2>&1 >/dev/null");
    EXPECT_EQ(std::count(err.out.begin(), err.out.end(), '\n'), 1);
}

TEST(ImageText, BandSlotsFollowTheStoreAddresses) {
    for (std::size_t r = 0; r < kEqBandRecords; ++r) {
        const BandSlot s = bandSlotOfRecord(r);
        EXPECT_EQ(bandAddress(s.module, s.band), r * kEqBandRecordSize) << r;
    }
    EXPECT_EQ(bandSlotOfRecord(58).module, 5);
    EXPECT_EQ(bandSlotOfRecord(177).module, 12);
    EXPECT_EQ(bandSlotOfRecord(177).band, 14);
}

TEST(ImageText, EveryFieldOnceSortedByName) {
    auto image = std::make_unique<DeviceImage>();
    image->resetToDefaults();
    const auto lines = imageFieldLines(*image);
    // 216 words, 179 bands, 8 gains, 20 layout bytes, the boost, 16 status bytes,
    // mode and flag, 2 x 13 settings, 4 names, 3 texts and the version, 18 keys.
    EXPECT_EQ(lines.size(), 216u + 179 + 8 + 20 + 1 + 16 + 2 + 26 + 4 + 4 + 18);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "echoTimeMsA=217"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "modeNames[0]=Mode1"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "band[5,13]=0,500,0.707000017,1"), lines.end());
    const auto pos = [&lines](const std::string& prefix) {
        return std::find_if(lines.begin(), lines.end(),
                            [&](const std::string& l) { return l.starts_with(prefix); }) -
               lines.begin();
    };
    EXPECT_LT(pos("outLevel[2]="), pos("outLevel[3]="));
    EXPECT_LT(pos("band[5,9]="), pos("band[5,10]="));
    EXPECT_LT(pos("band[9,0]="), pos("band[10,0]="));
    EXPECT_LT(pos("band[15,0]="), pos("boostLpfDelayMs="));
}

TEST(ImageText, DifferencesCompareStoredBits) {
    auto a = std::make_unique<DeviceImage>();
    auto b = std::make_unique<DeviceImage>();
    a->resetToDefaults();
    b->resetToDefaults();
    EXPECT_TRUE(imageDifferences(*a, *b).empty());
    a->params.musicAgcLevel = std::bit_cast<float>(0x7FC00000u);
    b->params.musicAgcLevel = std::bit_cast<float>(0x7FC00001u);
    b->params.reserved6 = -4;
    b->liveStatus.store({0, 0, 0, 0, 0, 0, 0xF6});
    b->modeNames[2] = u"A\U0001F600\xD800";
    EXPECT_EQ(imageDifferences(*a, *b),
              (std::vector<std::string>{"liveStatus[6]=246", "modeNames[2]=A😀\\uD800",
                                        "musicAgcLevel=nan", "reserved6=-4"}));
}
