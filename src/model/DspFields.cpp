#include "model/DspFields.h"

#include "model/DspParams.h"

#include <array>

namespace quilo {

namespace {

constexpr std::array kFields{
    DspFieldInfo{"micVolume", 0, 1, false},
    DspFieldInfo{"micToA", 1, 4, false},
    DspFieldInfo{"micAEqSwitch", 5, 1, false},
    DspFieldInfo{"shiftFreqA", 7, 1, false},
    DspFieldInfo{"shiftOffA", 8, 1, false},
    DspFieldInfo{"micToB", 9, 4, false},
    DspFieldInfo{"micBEqSwitch", 13, 1, false},
    DspFieldInfo{"shiftFreqB", 15, 1, false},
    DspFieldInfo{"shiftOffB", 16, 1, false},
    DspFieldInfo{"micMute", 17, 1, false},
    DspFieldInfo{"effectVolume", 18, 1, false},
    DspFieldInfo{"micInputVolume", 19, 4, false},
    DspFieldInfo{"micGate", 23, 4, false},
    DspFieldInfo{"subDecayOn", 27, 1, false},
    DspFieldInfo{"subDecayLevel", 28, 1, false},
    DspFieldInfo{"echoEqSwitchA", 29, 1, false},
    DspFieldInfo{"echoLevelA", 30, 1, false},
    DspFieldInfo{"echoPredelayMsA", 31, 1, true},
    DspFieldInfo{"echoTimeMsA", 32, 1, true},
    DspFieldInfo{"echoStartVolA", 33, 1, false},
    DspFieldInfo{"echoDecayA", 34, 1, false},
    DspFieldInfo{"echoEqSwitchB", 35, 1, false},
    DspFieldInfo{"echoLevelB", 36, 1, false},
    DspFieldInfo{"echoPredelayMsB", 37, 1, true},
    DspFieldInfo{"echoTimeMsB", 38, 1, true},
    DspFieldInfo{"echoStartVolB", 39, 1, false},
    DspFieldInfo{"echoDecayB", 40, 1, false},
    DspFieldInfo{"echoVolume", 41, 1, false},
    DspFieldInfo{"echoMute", 42, 1, false},
    DspFieldInfo{"reverbEqSwitchA", 43, 1, false},
    DspFieldInfo{"reverbLevelA", 44, 1, false},
    DspFieldInfo{"reverbPredelayMsA", 45, 1, true},
    DspFieldInfo{"reverbTimeA", 46, 1, true},
    DspFieldInfo{"reverbEqSwitchB", 47, 1, false},
    DspFieldInfo{"reverbLevelB", 48, 1, false},
    DspFieldInfo{"reverbPredelayMsB", 49, 1, true},
    DspFieldInfo{"reverbTimeB", 50, 1, true},
    DspFieldInfo{"reverbVolume", 51, 1, false},
    DspFieldInfo{"reverbMute", 52, 1, false},
    DspFieldInfo{"musicVolume", 53, 1, false},
    DspFieldInfo{"musicGainSpdif", 54, 1, false},
    DspFieldInfo{"musicGainHdmi1", 55, 1, false},
    DspFieldInfo{"musicGainBluetooth", 56, 1, false},
    DspFieldInfo{"musicGainExtra", 57, 1, false},
    DspFieldInfo{"musicGainAux", 58, 1, false},
    DspFieldInfo{"musicGainAux2", 59, 1, false},
    DspFieldInfo{"musicMute", 60, 1, false},
    DspFieldInfo{"musicEqSwitch", 61, 1, false},
    DspFieldInfo{"musicPitch", 62, 1, false},
    DspFieldInfo{"musicSource", 63, 1, false},
    DspFieldInfo{"musicGate", 64, 1, false},
    DspFieldInfo{"outDirectLevel", 65, 8, false},
    DspFieldInfo{"outReverbLevel", 73, 8, false},
    DspFieldInfo{"outEchoLevel", 81, 8, false},
    DspFieldInfo{"outMusicLevel", 89, 8, false},
    DspFieldInfo{"outLocation", 97, 8, false},
    DspFieldInfo{"outEqSwitch", 105, 8, false},
    DspFieldInfo{"outCompBypass", 113, 8, false},
    DspFieldInfo{"outCompThreshold", 121, 8, true},
    DspFieldInfo{"outCompRatio", 129, 8, true},
    DspFieldInfo{"outCompAttackMs", 137, 8, true},
    DspFieldInfo{"outCompReleaseMs", 145, 8, true},
    DspFieldInfo{"outDelayMs", 153, 8, true},
    DspFieldInfo{"outDelayBypass", 161, 8, false},
    DspFieldInfo{"outDelayMode", 169, 8, false},
    DspFieldInfo{"outMute", 177, 8, false},
    DspFieldInfo{"outPhase", 185, 8, false},
    DspFieldInfo{"musicAgcOn", 193, 1, false},
    DspFieldInfo{"musicAgcLevel", 194, 1, true},
    DspFieldInfo{"hdmiSelect", 195, 1, false},
    DspFieldInfo{"musicGainHdmi2", 196, 1, false},
    DspFieldInfo{"musicGainHdmi3", 197, 1, false},
    DspFieldInfo{"musicGainHdmi4", 198, 1, false},
    DspFieldInfo{"outLevel", 199, 8, false},
    DspFieldInfo{"micBoostOn", 207, 1, false},
    DspFieldInfo{"micBoostOnCopy", 208, 1, false},
    DspFieldInfo{"boostLpfDelayMs", 209, 1, false},
    DspFieldInfo{"boostLpfGain", 210, 1, false},
    DspFieldInfo{"musicCompThreshold", 211, 1, true},
    DspFieldInfo{"musicCompRatio", 212, 1, true},
    DspFieldInfo{"musicCompAttackMs", 213, 1, true},
    DspFieldInfo{"musicCompReleaseMs", 214, 1, true},
    DspFieldInfo{"musicCompBypass", 215, 1, false},
};

} // namespace

std::span<const DspFieldInfo> dspFields() {
    return kFields;
}

const DspFieldInfo* findDspField(std::string_view name) {
    for (const auto& f : kFields) {
        if (f.name == name) {
            return &f;
        }
    }
    return nullptr;
}

const DspFieldInfo* dspFieldOfWord(std::size_t word) {
    for (const auto& f : kFields) {
        if (word >= f.firstWord && word < f.firstWord + f.count) {
            return &f;
        }
    }
    return nullptr;
}

} // namespace quilo
