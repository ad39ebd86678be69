// Comparing two settings: which fields differ, how they are printed and sorted,
// and the page each belongs to.
#include "device/RecordingSink.h"
#include "model/BandOps.h"
#include "model/FieldLabels.h"
#include "model/ImageDiff.h"
#include "model/SettingsDiff.h"

#include <gtest/gtest.h>

#include <bit>
#include <memory>
#include <set>
#include <string>

using namespace quilo;
using Page = SettingsPage;

namespace {

std::unique_ptr<DeviceImage> factoryImage() {
    auto image = std::make_unique<DeviceImage>();
    image->resetToDefaults();
    return image;
}

} // namespace

TEST(SettingsDiff, ListsEveryChangedFieldOfAModeFileSortedAsDecodeSortsThem) {
    const auto a = factoryImage();
    const auto b = factoryImage();
    EXPECT_TRUE(settingsDifferences(*a, *b).empty());

    b->params.outDelayMs[10 - 8] = 2.5f;
    b->params.micVolume = 40;
    b->params.reserved6 = 7;
    b->params.musicSource = 3;
    RecordingSink sink;
    BandOps(*b, sink).applyBand(5, 3, 1, -3.0f, 1000.0f,
                                1.414f); // echo B band 3: module 2, band 10
    b->roomGain[4 * 1 + 0] = 0x40;       // CH 2 gains 2 dB
    b->roomLayout[4] = 0x11;
    b->micBoost = {0xC1, 0x20}; // boost of 10 dB
    // Not in a mode file: never compared.
    b->remoteKeys[3] = 9;
    b->machine.applied[0] = 1;
    b->modeNames[0] = u"Party";

    const std::vector<FieldDifference> d = settingsDifferences(*a, *b);
    std::vector<std::string> lines;
    std::vector<Page> pages;
    for (const FieldDifference& f : d) {
        lines.push_back(differenceLine(f));
        pages.push_back(f.page);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "band[2,10]: 0,500,1.41400003,1 -> -3,1000,1.41400003,1",
                         "micBoost: 0 -> 10",
                         "micVolume: 0 -> 40",
                         "musicSource: 0 -> 3",
                         "outDelayMs[2]: 0 -> 2.5",
                         "reserved6: 0 -> 7",
                         "roomGain[1]: 0 -> 2",
                         "roomLayout[4]: 138 -> 17",
                     }));
    EXPECT_EQ(pages, (std::vector<Page>{Page::Effects, Page::Features, Page::MainControls,
                                        Page::InputSource, Page::Output, Page::None, Page::Room,
                                        Page::Room}));
    // Swapped sides swap the values.
    EXPECT_EQ(differenceLine(settingsDifferences(*b, *a)[2]), "micVolume: 40 -> 0");
}

TEST(SettingsDiff, EveryFieldBelongsToThePageThatEditsIt) {
    const std::pair<const char*, Page> cases[] = {
        {"micVolume", Page::MainControls},
        {"musicPitch", Page::MainControls},
        {"micToA[2]", Page::MusicAndMicrophone},
        {"shiftFreqB", Page::MusicAndMicrophone},
        {"echoTimeMsA", Page::MusicAndMicrophone},
        {"musicEqSwitch", Page::MusicAndMicrophone},
        {"band[1,12]", Page::MusicAndMicrophone},
        {"echoEqSwitchB", Page::Effects},
        {"band[2,0]", Page::Effects},
        {"outLocation[7]", Page::Output},
        {"outCompRatio[1]", Page::Output},
        {"band[5,0]", Page::Output},
        {"outLevel[3]", Page::Room},
        {"roomGain[0]", Page::Room},
        {"musicSource", Page::InputSource},
        {"hdmiSelect", Page::InputSource},
        {"musicGainHdmi3", Page::InputSource},
        {"micBoost", Page::Features},
        {"boostLpfGain", Page::Features},
        {"subDecayLevel", Page::Features},
        {"musicCompReleaseMs", Page::Features},
        {"band[15,0]", Page::Features},
        {"musicGainExtra", Page::None},
    };
    for (const auto& [name, page] : cases) {
        EXPECT_EQ(settingsPageOf(name), page) << name;
    }
}

// The compare window names every field of a mode file in both languages, and each row
// differently: a field added to the table without a label shows up here.
TEST(FieldLabels, EveryModeFieldHasItsOwnNameInBothLanguages) {
    const auto image = factoryImage();
    for (int lang : {0, 1}) {
        std::set<std::string> seen;
        for (const FieldValue& f : modeFieldValues(*image)) {
            const std::string label = fieldLabel(f.name, lang);
            EXPECT_NE(label, f.name) << lang;
            EXPECT_TRUE(seen.insert(label).second) << label << " twice (" << f.name << ")";
        }
    }
    struct Case {
        const char* name;
        const char* value;
        const char* zh[2]; // label, value
        const char* en[2];
    } const cases[] = {
        {"micMute", "1", {"话筒静音", "开"}, {"Mic mute", "On"}},
        {"outDelayMs[1]", "3.5", {"通道2延时", "3.5 ms"}, {"CH 2 delay", "3.5 ms"}},
        {"outCompBypass[7]", "1", {"通道8压缩开关", "关"}, {"CH 8 compressor switch", "Off"}},
        {"band[4,2]",
         "-6,125,1.414,1",
         {"音乐均衡第3段", "-6,125,1.414,1"},
         {"Music EQ band 3", "-6,125,1.414,1"}},
        {"band[1,12]",
         "0,0,0,1",
         {"话筒通道B均衡第3段", "0,0,0,1"},
         {"Mic CH B EQ band 3", "0,0,0,1"}},
        {"band[6,10]", "0,0,0,7", {"通道2分频2", "0,0,0,7"}, {"CH 2 crossover 2", "0,0,0,7"}},
        {"micInputVolume[3]", "80", {"话筒4音量", "80%"}, {"Mic 4 volume", "80%"}},
        {"reverbTimeA", "30", {"A通道混响时长", "1528 ms"}, {"CH A reverb time", "1528 ms"}},
        {"musicCompRatio", "0.5", {"音乐压缩比", "0.5:1"}, {"Music compressor ratio", "0.5:1"}},
        {"unknownField", "7", {"unknownField", "7"}, {"unknownField", "7"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fieldLabel(c.name, 0), c.zh[0]);
        EXPECT_EQ(fieldValueText(c.name, c.value, 0), c.zh[1]) << c.name;
        EXPECT_EQ(fieldLabel(c.name, 1), c.en[0]);
        EXPECT_EQ(fieldValueText(c.name, c.value, 1), c.en[1]) << c.name;
    }
}
