// What a new user meets first: the emulated processor's factory setting and the built-in
// presets hold only values the pages' controls can show, so the first touch of a control
// never jumps.
#include "PageHarness.h"
#include "model/CompressorControls.h"
#include "model/ModeFile.h"
#include "model/Presets.h"
#include "pages/EffectParamRows.h"

#include <gtest/gtest.h>

#include <string>

using namespace quilo;
using namespace quilo::test;

namespace {

void expectInsideTheControls(const DspParams& p, const std::string& source) {
    SCOPED_TRACE(source);
    for (int row = 0; row < effect_param::kRowCount; ++row) {
        const EffectParamRow& r = effect_param::kRows[static_cast<std::size_t>(row)];
        for (int set = 0; set < 2; ++set) {
            const int v = effect_param::value(p, row, set);
            EXPECT_GE(v, r.minimum) << r.name.en << " set " << set;
            EXPECT_LE(v, r.maximum) << r.name.en << " set " << set;
        }
    }
    // Eight output compressors, then the music compressor.
    for (int ch = 0; ch <= 8; ++ch) {
        const CompressorSettings c =
            ch < 8 ? CompressorSettings{p.outCompThreshold[ch], p.outCompRatio[ch],
                                        p.outCompAttackMs[ch], p.outCompReleaseMs[ch]}
                   : CompressorSettings{p.musicCompThreshold, p.musicCompRatio, p.musicCompAttackMs,
                                        p.musicCompReleaseMs};
        for (const CompressorKnob knob : kAllCompressorKnobs) {
            const float v = compressorValue(c, knob);
            EXPECT_EQ(compressorValueAt(knob, compressorSliderPosition(knob, v)), v)
                << "compressor " << ch + 1 << " knob " << int(knob);
        }
        if (ch == 8) {
            break;
        }
        for (const std::int32_t level : {p.outDirectLevel[ch], p.outReverbLevel[ch],
                                         p.outEchoLevel[ch], p.outMusicLevel[ch]}) {
            EXPECT_TRUE(level >= 0 && level <= 100) << "CH " << ch + 1;
        }
    }
    for (const std::int32_t volume :
         {p.micVolume, p.musicVolume, p.effectVolume, p.echoVolume, p.reverbVolume}) {
        EXPECT_TRUE(volume >= 0 && volume <= 100);
    }
}

} // namespace

TEST(FactoryRanges, EmulatedFactorySettingAndPresetsFitTheControls) {
    PageHarness h(kEnglish);
    ASSERT_TRUE(h.connect());
    h.session->sync().startPull();
    h.settle();
    ASSERT_FALSE(h.session->sync().busy());
    expectInsideTheControls(h.image->params, "emulated factory setting");

    for (int preset = 0; preset < presetCount(); ++preset) {
        auto image = std::make_unique<DeviceImage>();
        image->resetToDefaults();
        ASSERT_TRUE(readModeFileBytes(presetModeFile(preset), *image).ok());
        expectInsideTheControls(image->params, "preset " + std::to_string(preset));
    }
}
