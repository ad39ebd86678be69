// The built-in loudspeaker presets: complete version-8 mode files whose outputs
// match the combination the menu names.
#include "device/RecordingSink.h"
#include "dsp/Crossover.h"
#include "model/BandOps.h"
#include "model/ModeFile.h"
#include "model/Presets.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

using namespace quilo;

namespace {

// Location codes of the output page's position list.
int expectedLocation(SpeakerRole role) {
    switch (role) {
    case SpeakerRole::FrontLeft:
        return 0;
    case SpeakerRole::FrontRight:
        return 1;
    case SpeakerRole::BackLeft:
        return 2;
    case SpeakerRole::BackRight:
        return 3;
    case SpeakerRole::Subwoofer:
        return 4;
    case SpeakerRole::Centre:
        return 5;
    case SpeakerRole::SideLeft:
        return 6;
    case SpeakerRole::SideRight:
        return 7;
    case SpeakerRole::None:
        break;
    }
    return -1;
}

std::unique_ptr<DeviceImage> loadPreset(int i) {
    auto image = std::make_unique<DeviceImage>();
    image->resetToDefaults();
    const auto bytes = presetModeFile(i);
    const ModeFileResult r = readModeFileBytes(bytes, *image);
    EXPECT_TRUE(r.ok()) << "preset " << i;
    EXPECT_EQ(r.version, 8u) << "preset " << i;
    return image;
}

EqBand outputBand(const DeviceImage& image, int ch, int band) {
    RecordingSink unused;
    return BandOps(const_cast<DeviceImage&>(image), unused).band(kFirstOutputEqId + ch, band);
}

CrossoverFamily crossoverOf(const DeviceImage& image, int ch) {
    CrossoverTypes types{};
    for (int s = 0; s < 4; ++s) {
        types[std::size_t(s)] = outputBand(image, ch, 9 + s).type;
    }
    return crossoverFamilyOf(types, 0);
}

} // namespace

TEST(Presets, FifteenVersionEightFilesWithDistinctNames) {
    ASSERT_EQ(presetCount(), 15);
    std::set<std::string> zh, en;
    std::set<std::vector<std::uint8_t>> files;
    for (int i = 0; i < presetCount(); ++i) {
        const auto bytes = presetModeFile(i);
        ASSERT_EQ(bytes.size(), kModeFileSize);
        EXPECT_EQ(bytes[0], 8);
        EXPECT_EQ(bytes[1] | bytes[2] | bytes[3], 0);
        files.insert(bytes);
        EXPECT_FALSE(presetName(i, 0).empty());
        EXPECT_FALSE(presetName(i, 1).empty());
        EXPECT_NE(presetName(i, 0), presetName(i, 1));
        zh.insert(presetName(i, 0));
        en.insert(presetName(i, 1));
        loadPreset(i);
    }
    EXPECT_EQ(zh.size(), 15u);
    EXPECT_EQ(en.size(), 15u);
    EXPECT_EQ(files.size(), 15u);
    // The Chinese names are real UTF-8 text, not the English ones again.
    EXPECT_NE(presetName(9, 0).find("\xE5\xAE\xB6"), std::string::npos); // 家
}

TEST(Presets, IndexesOutsideTheMenuGiveNothing) {
    for (int i : {-1, 15, 1000}) {
        EXPECT_TRUE(presetModeFile(i).empty());
        EXPECT_TRUE(presetName(i, 0).empty());
        EXPECT_TRUE(presetName(i, 1).empty());
        for (SpeakerRole r : presetLayout(i)) {
            EXPECT_EQ(r, SpeakerRole::None);
        }
    }
}

TEST(Presets, LoudspeakerCountsMatchTheName) {
    for (int i = 0; i < presetCount(); ++i) {
        int mains = 0;
        int subs = 0;
        for (SpeakerRole r : presetLayout(i)) {
            mains += r != SpeakerRole::None && r != SpeakerRole::Subwoofer;
            subs += r == SpeakerRole::Subwoofer;
        }
        const std::string counts = std::to_string(mains) + "." + std::to_string(subs);
        EXPECT_EQ(presetName(i, 1).substr(0, 3), counts) << presetName(i, 1);
        EXPECT_EQ(presetName(i, 0).substr(0, 3), counts) << presetName(i, 1);
    }
}

TEST(Presets, PresentOutputsArePlacedAndAbsentOnesSilent) {
    for (int i = 0; i < presetCount(); ++i) {
        const auto image = loadPreset(i);
        const DspParams& p = image->params;
        const SpeakerLayout layout = presetLayout(i);
        for (int ch = 0; ch < 8; ++ch) {
            const SpeakerRole role = layout[std::size_t(ch)];
            SCOPED_TRACE(presetName(i, 1) + ", CH " + std::to_string(ch + 1));
            if (role == SpeakerRole::None) {
                EXPECT_EQ(p.outMute[ch], 1);
                EXPECT_EQ(p.outLevel[ch], 0);
                EXPECT_EQ(p.outDirectLevel[ch] | p.outReverbLevel[ch] | p.outEchoLevel[ch] |
                              p.outMusicLevel[ch],
                          0);
                continue;
            }
            EXPECT_EQ(p.outMute[ch], 0);
            EXPECT_GT(p.outLevel[ch], 0);
            EXPECT_GT(p.outMusicLevel[ch], 0);
            EXPECT_EQ(p.outLocation[ch], expectedLocation(role));
            EXPECT_GE(p.outDelayMs[ch], 1.5f);
            // A whole-channel delay keeps the split bands flat.
            EXPECT_EQ(p.outDelayMode[ch], 1);
            EXPECT_EQ(outputBand(*image, ch, 13).type, 1);
            EXPECT_EQ(outputBand(*image, ch, 14).type, 1);
            EXPECT_EQ(outputBand(*image, ch, 13).gainDb, 0.0f);
        }
        // Every microphone input belongs to exactly one mic channel.
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(p.micToA[k] + p.micToB[k], 100);
        }
    }
}

TEST(Presets, SubwooferLowPassAndSatelliteHighPassMeetAtOneFrequency) {
    int withSub = 0;
    for (int i = 0; i < presetCount(); ++i) {
        const auto image = loadPreset(i);
        const SpeakerLayout layout = presetLayout(i);
        bool hasSub = false;
        for (SpeakerRole r : layout) {
            hasSub = hasSub || r == SpeakerRole::Subwoofer;
        }
        withSub += hasSub;
        for (int ch = 0; ch < 8; ++ch) {
            const SpeakerRole role = layout[std::size_t(ch)];
            SCOPED_TRACE(presetName(i, 1) + ", CH " + std::to_string(ch + 1));
            const CrossoverFamily family = crossoverOf(*image, ch);
            if (!hasSub || role == SpeakerRole::None) {
                // Full range: four idle peaking sections.
                EXPECT_EQ(family.index, kCrossoverPeakingOnly);
                EXPECT_EQ(outputBand(*image, ch, 9).gainDb, 0.0f);
                continue;
            }
            EXPECT_EQ(family.index, 1); // "LinkwitzRiely 24dB"
            EXPECT_EQ(family.kind, role == SpeakerRole::Subwoofer ? 2 : 3);
            for (int s = 9; s <= 12; ++s) {
                const EqBand b = outputBand(*image, ch, s);
                EXPECT_EQ(b.freqHz, float(kPresetCrossoverHz));
                EXPECT_EQ(b.gainDb, 0.0f);
            }
        }
    }
    EXPECT_GE(withSub, 8);
}
