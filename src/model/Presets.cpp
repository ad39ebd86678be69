#include "model/Presets.h"

#include "device/RecordingSink.h"
#include "dsp/Crossover.h"
#include "model/BandOps.h"
#include "model/FieldSetters.h"
#include "model/ModeFile.h"

#include <memory>
#include <string_view>

namespace quilo {

namespace {

using R = SpeakerRole;
constexpr SpeakerRole N = SpeakerRole::None, L = R::FrontLeft, Rt = R::FrontRight, C = R::Centre,
                      S = R::Subwoofer, SL = R::SideLeft, SR = R::SideRight, BL = R::BackLeft,
                      BR = R::BackRight;

struct PresetRow {
    std::string_view zh;
    std::string_view en;
    SpeakerLayout outputs; // CH 1 ... CH 8
};

// One row per entry of the speaker-preset menu, in menu order.
constexpr std::array<PresetRow, 15> kPresets{{
    {"2.0 立体声", "2.0 Stereo", {L, Rt, N, N, N, N, N, N}},
    {"2.1 立体声+超低音", "2.1 Stereo + subwoofer", {L, Rt, N, S, N, N, N, N}},
    {"2.2 立体声+双超低音", "2.2 Stereo + two subwoofers", {L, Rt, N, S, N, S, N, N}},
    {"3.0 前置左右+中置", "3.0 Front left, right and centre", {L, Rt, C, N, N, N, N, N}},
    {"3.1 前置左右+中置+超低音", "3.1 Front with centre + subwoofer", {L, Rt, C, S, N, N, N, N}},
    {"4.0 前置左右+侧环绕", "4.0 Front + side surround", {L, Rt, N, N, SL, SR, N, N}},
    {"4.0 前置左右+后环绕", "4.0 Front + back surround", {L, Rt, N, N, N, N, BL, BR}},
    {"4.1 前置左右+侧环绕+超低音",
     "4.1 Front + side surround + subwoofer",
     {L, Rt, N, S, SL, SR, N, N}},
    {"5.0 前置左右+中置+侧环绕",
     "5.0 Front, centre and side surround",
     {L, Rt, C, N, SL, SR, N, N}},
    {"5.1 家庭影院", "5.1 Home theatre", {L, Rt, C, S, SL, SR, N, N}},
    {"5.2 家庭影院+双超低音", "5.2 Home theatre + two subwoofers", {L, Rt, C, S, SL, SR, S, N}},
    {"6.0 前置左右+侧环绕+后环绕",
     "6.0 Front, side and back surround",
     {L, Rt, N, N, SL, SR, BL, BR}},
    {"6.1 前置左右+侧环绕+后环绕+超低音",
     "6.1 Front, side and back surround + subwoofer",
     {L, Rt, N, S, SL, SR, BL, BR}},
    {"7.0 前置左右+中置+侧环绕+后环绕",
     "7.0 Front, centre, side and back surround",
     {L, Rt, C, N, SL, SR, BL, BR}},
    {"7.1 家庭影院", "7.1 Home theatre", {L, Rt, C, S, SL, SR, BL, BR}},
}};

// How each kind of loudspeaker is driven: its location code, the shares of the
// dry microphones, reverb, echo and music (percent) and its delay. The subwoofer
// carries no dry voice and no effects; surrounds carry more effect than voice and
// sit a few milliseconds later, as they are usually nearer to the listener.
struct RoleSetting {
    int location;
    int direct;
    int reverb;
    int echo;
    int music;
    float delayMs; // 0: delay bypassed
};

RoleSetting roleSetting(SpeakerRole role) {
    switch (role) {
    case R::FrontLeft:
        return {0, 100, 100, 100, 100, 0.0f};
    case R::FrontRight:
        return {1, 100, 100, 100, 100, 0.0f};
    case R::BackLeft:
        return {2, 50, 100, 100, 100, 8.0f};
    case R::BackRight:
        return {3, 50, 100, 100, 100, 8.0f};
    case R::Subwoofer:
        return {4, 0, 0, 0, 100, 0.0f};
    case R::Centre:
        return {5, 100, 50, 50, 100, 0.0f};
    case R::SideLeft:
        return {6, 50, 100, 100, 100, 5.0f};
    case R::SideRight:
        return {7, 50, 100, 100, 100, 5.0f};
    case R::None:
        break;
    }
    return {0, 0, 0, 0, 0, 0.0f};
}

// Everything but the loudspeakers: microphones and music at half volume, inputs 1-2
// on mic channel A and 3-4 on B, shifters off, moderate effects, every music input
// at full gain.
void setCommon(FieldSetters& set) {
    set.set(&DspParams::micVolume, 50);
    set.set(&DspParams::musicVolume, 50);
    set.set(&DspParams::effectVolume, 50);
    for (int k = 0; k < 4; ++k) {
        set.set(&DspParams::micInputVolume, k, 80);
        set.set(&DspParams::micToA, k, k < 2 ? 100 : 0);
        set.set(&DspParams::micToB, k, k < 2 ? 0 : 100);
    }
    set.set(&DspParams::shiftFreqA, 1); // 1 Hz is off, and sets the off flag
    set.set(&DspParams::shiftFreqB, 1);
    set.set(&DspParams::echoVolume, 50);
    set.set(&DspParams::reverbVolume, 50);
    for (auto field : {&DspParams::echoLevelA, &DspParams::echoLevelB, &DspParams::reverbLevelA,
                       &DspParams::reverbLevelB}) {
        set.set(field, 50);
    }
    for (auto field : {&DspParams::echoPredelayMsA, &DspParams::echoPredelayMsB,
                       &DspParams::reverbPredelayMsA, &DspParams::reverbPredelayMsB}) {
        set.set(field, 20.0);
    }
    set.set(&DspParams::reverbTimeA, 30.0); // 1528 ms, inside the page's 0-100
    set.set(&DspParams::reverbTimeB, 30.0);
    set.set(&DspParams::echoDecayA, 40);
    set.set(&DspParams::echoDecayB, 40);
    for (auto field :
         {&DspParams::musicGainSpdif, &DspParams::musicGainHdmi1, &DspParams::musicGainBluetooth,
          &DspParams::musicGainExtra, &DspParams::musicGainAux, &DspParams::musicGainAux2,
          &DspParams::musicGainHdmi2, &DspParams::musicGainHdmi3, &DspParams::musicGainHdmi4}) {
        set.set(field, 100);
    }
    // The music compressor as the output ones: bypassed, with values its sliders can show
    // (a ratio of 0 would go out as 1:1 and read back as 1).
    set.set(&DspParams::musicCompThreshold, 0.0);
    set.set(&DspParams::musicCompRatio, 2.0);
    set.set(&DspParams::musicCompAttackMs, 10.0);
    set.set(&DspParams::musicCompReleaseMs, 100.0);
    set.set(&DspParams::musicCompBypass, 1);
}

// Slots 9-12 of an output as one crossover family in one direction.
void setCrossover(BandOps& bands, int channel, CrossoverDirection direction) {
    const CrossoverTypes types = crossoverSections(1, direction); // "LinkwitzRiely 24dB"
    for (int slot = 0; slot < 4; ++slot) {
        bands.applyBand(kFirstOutputEqId + channel, 9 + slot, types[std::size_t(slot)], 0.0f,
                        float(kPresetCrossoverHz), 0.707f);
    }
}

void setOutput(FieldSetters& set, BandOps& bands, int ch, SpeakerRole role, bool withSub) {
    const RoleSetting r = roleSetting(role);
    const bool present = role != R::None;
    if (present) {
        set.set(&DspParams::outLocation, ch, r.location);
    }
    set.set(&DspParams::outDirectLevel, ch, r.direct);
    set.set(&DspParams::outReverbLevel, ch, r.reverb);
    set.set(&DspParams::outEchoLevel, ch, r.echo);
    set.set(&DspParams::outMusicLevel, ch, r.music);
    set.set(&DspParams::outLevel, ch, present ? 100 : 0);
    set.set(&DspParams::outMute, ch, present ? 0 : 1);
    // The delay acts on the whole channel; its split bands stay flat.
    set.set(&DspParams::outDelayMode, ch, 1);
    set.set(&DspParams::outDelayMs, ch, r.delayMs);
    set.set(&DspParams::outDelayBypass, ch, r.delayMs > 0.0f ? 0 : 1);
    set.set(&DspParams::outCompThreshold, ch, 0.0);
    set.set(&DspParams::outCompRatio, ch, 2.0);
    set.set(&DspParams::outCompAttackMs, ch, 10.0);
    set.set(&DspParams::outCompReleaseMs, ch, 100.0);
    set.set(&DspParams::outCompBypass, ch, 1);
    if (present && withSub) {
        setCrossover(bands, ch,
                     role == R::Subwoofer ? CrossoverDirection::LowPass
                                          : CrossoverDirection::HighPass);
    }
}

bool validIndex(int i) {
    return i >= 0 && i < presetCount();
}

} // namespace

int presetCount() {
    return static_cast<int>(kPresets.size());
}

std::string presetName(int i, int language) {
    if (!validIndex(i)) {
        return {};
    }
    const PresetRow& row = kPresets[std::size_t(i)];
    return std::string(language == 0 ? row.zh : row.en);
}

SpeakerLayout presetLayout(int i) {
    if (!validIndex(i)) {
        SpeakerLayout none;
        none.fill(R::None);
        return none;
    }
    return kPresets[std::size_t(i)].outputs;
}

std::vector<std::uint8_t> presetModeFile(int i) {
    if (!validIndex(i)) {
        return {};
    }
    const SpeakerLayout& outputs = kPresets[std::size_t(i)].outputs;
    const auto image = std::make_unique<DeviceImage>();
    image->resetToDefaults();
    // The setters keep every side effect of a field (minimums, split bands); the
    // reports they would send go nowhere.
    RecordingSink nowhere;
    FieldSetters set(*image, nowhere);
    BandOps bands(*image, nowhere);
    setCommon(set);
    bool withSub = false;
    for (SpeakerRole role : outputs) {
        withSub = withSub || role == R::Subwoofer;
    }
    for (int ch = 0; ch < 8; ++ch) {
        setOutput(set, bands, ch, outputs[std::size_t(ch)], withSub);
    }
    return encodeModeFile(captureModeContent(*image));
}

} // namespace quilo
