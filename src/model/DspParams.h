#pragma once

#include <cstddef>
#include <cstdint>

namespace quilo {

// The 216 words of module settings, in display units, laid out exactly as the
// processor's parameter image and the mode files hold them. Arrays of eight are
// indexed by output channel 0-7, arrays of four by microphone input 0-3.
struct DspParams {
    std::int32_t micVolume;
    std::int32_t micToA[4];
    std::int32_t micAEqSwitch;
    std::int32_t reserved6;
    std::int32_t shiftFreqA;
    std::int32_t shiftOffA;
    std::int32_t micToB[4];
    std::int32_t micBEqSwitch;
    std::int32_t reserved14;
    std::int32_t shiftFreqB;
    std::int32_t shiftOffB;
    std::int32_t micMute;
    std::int32_t effectVolume;
    std::int32_t micInputVolume[4];
    std::int32_t micGate[4];
    std::int32_t subDecayOn;
    std::int32_t subDecayLevel;
    std::int32_t echoEqSwitchA;
    std::int32_t echoLevelA;
    float echoPredelayMsA;
    float echoTimeMsA;
    std::int32_t echoStartVolA;
    std::int32_t echoDecayA;
    std::int32_t echoEqSwitchB;
    std::int32_t echoLevelB;
    float echoPredelayMsB;
    float echoTimeMsB;
    std::int32_t echoStartVolB;
    std::int32_t echoDecayB;
    std::int32_t echoVolume;
    std::int32_t echoMute;
    std::int32_t reverbEqSwitchA;
    std::int32_t reverbLevelA;
    float reverbPredelayMsA;
    float reverbTimeA;
    std::int32_t reverbEqSwitchB;
    std::int32_t reverbLevelB;
    float reverbPredelayMsB;
    float reverbTimeB;
    std::int32_t reverbVolume;
    std::int32_t reverbMute;
    std::int32_t musicVolume;
    std::int32_t musicGainSpdif;
    std::int32_t musicGainHdmi1;
    std::int32_t musicGainBluetooth;
    std::int32_t musicGainExtra;
    std::int32_t musicGainAux;
    std::int32_t musicGainAux2;
    std::int32_t musicMute;
    std::int32_t musicEqSwitch;
    std::int32_t musicPitch;
    std::int32_t musicSource;
    std::int32_t musicGate;
    std::int32_t outDirectLevel[8];
    std::int32_t outReverbLevel[8];
    std::int32_t outEchoLevel[8];
    std::int32_t outMusicLevel[8];
    std::int32_t outLocation[8];
    std::int32_t outEqSwitch[8];
    std::int32_t outCompBypass[8];
    float outCompThreshold[8];
    float outCompRatio[8];
    float outCompAttackMs[8];
    float outCompReleaseMs[8];
    float outDelayMs[8];
    std::int32_t outDelayBypass[8];
    std::int32_t outDelayMode[8];
    std::int32_t outMute[8];
    std::int32_t outPhase[8];
    std::int32_t musicAgcOn;
    float musicAgcLevel;
    std::int32_t hdmiSelect;
    std::int32_t musicGainHdmi2;
    std::int32_t musicGainHdmi3;
    std::int32_t musicGainHdmi4;
    std::int32_t outLevel[8];
    std::int32_t micBoostOn;
    std::int32_t micBoostOnCopy;
    std::int32_t boostLpfDelayMs;
    std::int32_t boostLpfGain;
    float musicCompThreshold;
    float musicCompRatio;
    float musicCompAttackMs;
    float musicCompReleaseMs;
    std::int32_t musicCompBypass;

    static constexpr std::size_t kWords = 216;

    // Raw access to word i (0-215) as its 32-bit pattern, for codecs and files.
    std::uint32_t word(std::size_t i) const;
    void setWord(std::size_t i, std::uint32_t bits);
};

static_assert(sizeof(DspParams) == DspParams::kWords * 4, "DspParams must be 216 words");

// Word number of a field (or array element) of `params`: wordOf(p, p.outLevel[2]).
template <typename T> std::size_t wordOf(const DspParams& params, const T& field) {
    return static_cast<std::size_t>(reinterpret_cast<const char*>(&field) -
                                    reinterpret_cast<const char*>(&params)) /
           4;
}

} // namespace quilo
