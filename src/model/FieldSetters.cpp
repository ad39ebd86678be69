#include "model/FieldSetters.h"

#include "device/WireValue.h"
#include "dsp/Biquad.h"
#include "model/DspFields.h"
#include "model/HfDelayBands.h"

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>

namespace quilo {

namespace {

#define WORD_OF(field) (offsetof(DspParams, field) / 4)

enum class Enc { None, Pct, PctPlus, P10k, Int, Not, On, Sw, Ms, Raw, Phase, Pitch };

enum class Kind {
    Simple,       // one parameter, one encoding
    StoreOnly,    // kept in the image, never sent on its own
    Shifter,      // frequency shifter: off flag, phase step, delay word
    EffectVolume, // the same volume to parameters 34 and 57
    BoostOn,      // parameters 37 and 60, refreshes the copy
    ReverbTime,   // the same value to two parameters
    MusicMute,    // unmuting ramps
    MusicSource,  // HDMI selection first
    DelayMode,    // mode words, then the split bands 13 and 14
    MusicComp,    // compressor block of module 4
    OutputComp,   // compressor block of an output
};

// How a field reaches the processor. For arrays of four (microphone inputs) the
// parameter advances with the element; for arrays of eight (outputs) the module does.
struct Rule {
    std::size_t word;
    Kind kind;
    int module = 0;
    int param = 0;
    Enc enc = Enc::None;
    int count = 1;
    float minimum = 0.0f;
    int param2 = 0; // second parameter of the two-parameter kinds
};

constexpr Rule simple(std::size_t word, int module, int param, Enc enc, int count = 1,
                      float minimum = 0.0f) {
    return {word, Kind::Simple, module, param, enc, count, minimum};
}

constexpr int kOut = 0; // placeholder module of output fields: 5 + channel

const std::array kRules{
    simple(WORD_OF(micVolume), 1, 14, Enc::PctPlus),
    simple(WORD_OF(micToA), 1, 27, Enc::Sw),
    simple(WORD_OF(micAEqSwitch), 1, 26, Enc::Int),
    Rule{WORD_OF(shiftFreqA), Kind::Shifter, 1, 31, Enc::None, 1, 0.0f, 33},
    simple(WORD_OF(shiftOffA), 1, 33, Enc::Int),
    simple(WORD_OF(micToB), 1, 50, Enc::Sw),
    simple(WORD_OF(micBEqSwitch), 1, 49, Enc::Int),
    Rule{WORD_OF(shiftFreqB), Kind::Shifter, 1, 54, Enc::None, 1, 0.0f, 56},
    simple(WORD_OF(shiftOffB), 1, 56, Enc::Int),
    simple(WORD_OF(micMute), 1, 15, Enc::On),
    Rule{WORD_OF(effectVolume), Kind::EffectVolume, 1, 34, Enc::PctPlus, 1, 0.0f, 57},
    simple(WORD_OF(micInputVolume), 1, 4, Enc::Pct),
    simple(WORD_OF(micGate), 1, 8, Enc::P10k),
    simple(WORD_OF(subDecayOn), 1, 12, Enc::Int),
    simple(WORD_OF(subDecayLevel), 1, 13, Enc::Pct),
    simple(WORD_OF(echoEqSwitchA), 2, 7, Enc::Int),
    simple(WORD_OF(echoLevelA), 2, 8, Enc::Pct),
    simple(WORD_OF(echoPredelayMsA), 2, 9, Enc::Ms, 1, 2.0f),
    simple(WORD_OF(echoTimeMsA), 2, 10, Enc::Ms, 1, 2.0f),
    simple(WORD_OF(echoStartVolA), 2, 11, Enc::Pct),
    simple(WORD_OF(echoDecayA), 2, 12, Enc::Pct),
    simple(WORD_OF(echoEqSwitchB), 2, 20, Enc::Int),
    simple(WORD_OF(echoLevelB), 2, 21, Enc::Pct),
    simple(WORD_OF(echoPredelayMsB), 2, 22, Enc::Ms, 1, 2.0f),
    simple(WORD_OF(echoTimeMsB), 2, 23, Enc::Ms, 1, 2.0f),
    simple(WORD_OF(echoStartVolB), 2, 24, Enc::Pct),
    simple(WORD_OF(echoDecayB), 2, 25, Enc::Pct),
    simple(WORD_OF(echoVolume), 2, 26, Enc::Pct),
    simple(WORD_OF(echoMute), 2, 27, Enc::On),
    simple(WORD_OF(reverbEqSwitchA), 3, 7, Enc::Int),
    simple(WORD_OF(reverbLevelA), 3, 8, Enc::Pct),
    simple(WORD_OF(reverbPredelayMsA), 3, 9, Enc::Ms, 1, 2.0f),
    Rule{WORD_OF(reverbTimeA), Kind::ReverbTime, 3, 10, Enc::Pct, 1, 0.0f, 11},
    simple(WORD_OF(reverbEqSwitchB), 3, 19, Enc::Int),
    simple(WORD_OF(reverbLevelB), 3, 20, Enc::Pct),
    simple(WORD_OF(reverbPredelayMsB), 3, 21, Enc::Ms, 1, 2.0f),
    Rule{WORD_OF(reverbTimeB), Kind::ReverbTime, 3, 22, Enc::Pct, 1, 0.0f, 23},
    simple(WORD_OF(reverbVolume), 3, 24, Enc::Pct, 2),
    simple(WORD_OF(reverbMute), 3, 25, Enc::On, 2),
    simple(WORD_OF(musicVolume), 4, 12, Enc::PctPlus),
    simple(WORD_OF(musicGainSpdif), 4, 24, Enc::Pct),
    simple(WORD_OF(musicGainHdmi1), 4, 26, Enc::Pct),
    simple(WORD_OF(musicGainBluetooth), 4, 30, Enc::Pct),
    simple(WORD_OF(musicGainExtra), 4, 25, Enc::Pct),
    simple(WORD_OF(musicGainAux), 4, 31, Enc::Pct),
    simple(WORD_OF(musicGainAux2), 4, 32, Enc::Pct),
    Rule{WORD_OF(musicMute), Kind::MusicMute, 4, 13},
    simple(WORD_OF(musicEqSwitch), 4, 11, Enc::Int),
    simple(WORD_OF(musicPitch), 4, 21, Enc::Pitch),
    Rule{WORD_OF(musicSource), Kind::MusicSource, 4, 23, Enc::Int, 1, 0.0f, 33},
    simple(WORD_OF(musicGate), 4, 22, Enc::P10k),
    simple(WORD_OF(outDirectLevel), kOut, 20, Enc::Pct),
    simple(WORD_OF(outReverbLevel), kOut, 21, Enc::Pct),
    simple(WORD_OF(outEchoLevel), kOut, 22, Enc::Pct),
    simple(WORD_OF(outMusicLevel), kOut, 23, Enc::Pct),
    simple(WORD_OF(outLocation), kOut, 16, Enc::Int),
    simple(WORD_OF(outEqSwitch), kOut, 15, Enc::Int),
    simple(WORD_OF(outCompBypass), kOut, 28, Enc::Int),
    Rule{WORD_OF(outCompThreshold), Kind::OutputComp, kOut, 27},
    Rule{WORD_OF(outCompRatio), Kind::OutputComp, kOut, 27},
    Rule{WORD_OF(outCompAttackMs), Kind::OutputComp, kOut, 27},
    Rule{WORD_OF(outCompReleaseMs), Kind::OutputComp, kOut, 27},
    simple(WORD_OF(outDelayMs), kOut, 18, Enc::Ms, 1, 1.5f),
    simple(WORD_OF(outDelayBypass), kOut, 19, Enc::Int),
    Rule{WORD_OF(outDelayMode), Kind::DelayMode, kOut, 17},
    simple(WORD_OF(outMute), kOut, 26, Enc::On),
    simple(WORD_OF(outPhase), kOut, 25, Enc::Phase),
    simple(WORD_OF(musicAgcOn), 4, 16, Enc::Int),
    simple(WORD_OF(musicAgcLevel), 4, 17, Enc::Raw),
    simple(WORD_OF(hdmiSelect), 4, 33, Enc::Int),
    simple(WORD_OF(musicGainHdmi2), 4, 27, Enc::Pct),
    simple(WORD_OF(musicGainHdmi3), 4, 28, Enc::Pct),
    simple(WORD_OF(musicGainHdmi4), 4, 29, Enc::Pct),
    simple(WORD_OF(outLevel), kOut, 24, Enc::Pct),
    Rule{WORD_OF(micBoostOn), Kind::BoostOn, 1, 37, Enc::Not, 1, 0.0f, 60},
    Rule{WORD_OF(micBoostOnCopy), Kind::StoreOnly},
    simple(WORD_OF(boostLpfDelayMs), 4, 36, Enc::Ms),
    simple(WORD_OF(boostLpfGain), 4, 37, Enc::Pct),
    Rule{WORD_OF(musicCompThreshold), Kind::MusicComp, 4, 14},
    Rule{WORD_OF(musicCompRatio), Kind::MusicComp, 4, 14},
    Rule{WORD_OF(musicCompAttackMs), Kind::MusicComp, 4, 14},
    Rule{WORD_OF(musicCompReleaseMs), Kind::MusicComp, 4, 14},
    simple(WORD_OF(musicCompBypass), 4, 15, Enc::Int),
};

#undef WORD_OF

std::int32_t toInt(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    return static_cast<std::int32_t>(std::clamp(std::trunc(value), -2147483648.0, 2147483647.0));
}

std::uint32_t encode(Enc enc, const DspParams& p, std::size_t word, bool isFloat) {
    const std::uint32_t bits = p.word(word);
    const double value = isFloat ? static_cast<double>(std::bit_cast<float>(bits))
                                 : static_cast<double>(static_cast<std::int32_t>(bits));
    const auto i = static_cast<std::int32_t>(bits);
    switch (enc) {
    case Enc::Pct:
        return encodePct(value);
    case Enc::PctPlus:
        return encodePctPlus(value);
    case Enc::P10k:
        return encodeP10k(value);
    case Enc::Int:
        return encodeInt(i);
    case Enc::Not:
        return encodeNot(i);
    case Enc::On:
        return encodeOn(i);
    case Enc::Sw:
        return encodeSw(i);
    case Enc::Ms:
        return encodeMs(value);
    case Enc::Raw:
        return bits;
    case Enc::Phase:
        return encodePhase(i);
    case Enc::Pitch:
        return encodePitch(i);
    case Enc::None:
        break;
    }
    return 0;
}

} // namespace

int FieldSetters::set(std::int32_t DspParams::*field, double value) {
    return setWord(wordOf(m_image.params, m_image.params.*field), value);
}

int FieldSetters::set(float DspParams::*field, double value) {
    return setWord(wordOf(m_image.params, m_image.params.*field), value);
}

int FieldSetters::set(std::int32_t (DspParams::*field)[4], int index, double value) {
    if (index < 0 || index >= 4) {
        return 0;
    }
    return setWord(wordOf(m_image.params, (m_image.params.*field)[index]), value);
}

int FieldSetters::set(std::int32_t (DspParams::*field)[8], int index, double value) {
    if (index < 0 || index >= 8) {
        return 0;
    }
    return setWord(wordOf(m_image.params, (m_image.params.*field)[index]), value);
}

int FieldSetters::set(float (DspParams::*field)[8], int index, double value) {
    if (index < 0 || index >= 8) {
        return 0;
    }
    return setWord(wordOf(m_image.params, (m_image.params.*field)[index]), value);
}

int FieldSetters::setWord(std::size_t word, double value) {
    const DspFieldInfo* field = dspFieldOfWord(word);
    if (!field) {
        return 0;
    }
    if (field->isFloat) {
        m_image.params.setWord(word, std::bit_cast<std::uint32_t>(static_cast<float>(value)));
    } else {
        m_image.params.setWord(word, static_cast<std::uint32_t>(toInt(value)));
    }
    return sendWord(word);
}

int FieldSetters::sendWord(std::size_t word) {
    const DspFieldInfo* field = dspFieldOfWord(word);
    const auto rule = std::find_if(kRules.begin(), kRules.end(), [&](const Rule& r) {
        return field && r.word == field->firstWord;
    });
    if (rule == kRules.end()) {
        return 0;
    }
    DspParams& p = m_image.params;
    const int index = static_cast<int>(word - field->firstWord);
    const int module = rule->module == kOut ? 5 + index : rule->module;
    const int param = field->count == 4 ? rule->param + index : rule->param;
    const std::int32_t intValue = static_cast<std::int32_t>(p.word(word));

    if (rule->minimum > 0.0f) {
        // Delays below the processor's minimum are raised, and kept raised.
        if (field->isFloat) {
            float v = std::bit_cast<float>(p.word(word));
            if (!(v >= rule->minimum)) {
                p.setWord(word, std::bit_cast<std::uint32_t>(rule->minimum));
            }
        }
    }

    switch (rule->kind) {
    case Kind::StoreOnly:
        return 0;
    case Kind::Simple:
        return m_ops.SetParam(module, param, encode(rule->enc, p, word, field->isFloat),
                              rule->count);
    case Kind::EffectVolume: {
        const std::uint32_t w = encode(rule->enc, p, word, false);
        m_ops.SetParam(module, rule->param, w);
        return m_ops.SetParam(module, rule->param2, w);
    }
    case Kind::ReverbTime: {
        const std::uint32_t w = encode(rule->enc, p, word, true);
        m_ops.SetParam(module, rule->param, w);
        return m_ops.SetParam(module, rule->param2, w);
    }
    case Kind::BoostOn: {
        p.micBoostOnCopy = p.micBoostOn;
        const std::uint32_t w = encodeNot(p.micBoostOn);
        m_ops.SetParam(module, rule->param, w);
        return m_ops.SetParam(module, rule->param2, w);
    }
    case Kind::Shifter: {
        // Off flag word: the one right after the frequency.
        const std::size_t offWord = word + 1;
        if (intValue == 1) {
            p.setWord(offWord, 1);
            return m_ops.SetParam(module, rule->param2, 1);
        }
        p.setWord(offWord, 0);
        m_ops.SetParam(module, rule->param2, 0);
        m_ops.SetParam(module, rule->param, encodeShiftOmega(intValue));
        return m_ops.SetParam(module, rule->param + 1, encodeShiftDelay(intValue));
    }
    case Kind::MusicMute: {
        if (intValue != 0) {
            return m_ops.SetParam(module, rule->param, f32Bits(0.0));
        }
        // Unmuting fades in over nine steps so the music does not thump back.
        for (int i = 0; i <= 8; ++i) {
            m_ops.SetParam(module, rule->param, f32Bits(i / 10.0));
            m_ops.sink().pause(std::chrono::milliseconds(30));
        }
        return m_ops.SetParam(module, rule->param, f32Bits(1.0));
    }
    case Kind::MusicSource:
        if (intValue == 2) {
            m_ops.SetParam(module, rule->param2, encodeInt(p.hdmiSelect));
        }
        return m_ops.SetParam(module, rule->param, encodeInt(intValue));
    case Kind::DelayMode: {
        const bool wholeChannel = intValue != 0;
        const std::array<std::uint32_t, 2> words{f32Bits(1.0), f32Bits(wholeChannel ? 0.0 : 1.0)};
        m_ops.SetParamBlock(module, param, words);
        const int eqId = kFirstOutputEqId + index;
        const int pair = hfDelayBandIndex(static_cast<std::int32_t>(m_bands.band(eqId, 13).freqHz));
        const auto low = static_cast<float>(hfDelayLowHz(pair));
        const auto high = static_cast<float>(hfDelayHighHz(pair));
        m_bands.applyBand(eqId, 13, wholeChannel ? FilterType::Peaking : FilterType::HighPass, 0.0f,
                          low, 0.707f);
        return m_bands.applyBand(eqId, 14, wholeChannel ? FilterType::Peaking : FilterType::LowPass,
                                 0.0f, high, 0.707f);
    }
    case Kind::MusicComp: {
        const CompressorBlock block = compressorBlock(p.musicCompThreshold, p.musicCompRatio,
                                                      p.musicCompAttackMs, p.musicCompReleaseMs);
        return m_ops.SetParamBlock(module, param, block);
    }
    case Kind::OutputComp: {
        const CompressorBlock block =
            compressorBlock(p.outCompThreshold[index], p.outCompRatio[index],
                            p.outCompAttackMs[index], p.outCompReleaseMs[index]);
        return m_ops.SetParamBlock(module, param, block);
    }
    }
    return 0;
}

float micBoostDb(const MicBoostWord& word) {
    const std::uint32_t bits =
        (static_cast<std::uint32_t>(word[0]) << 24) | (static_cast<std::uint32_t>(word[1]) << 16);
    return std::bit_cast<float>(bits);
}

MicBoostWord micBoostWordOf(float valueDb) {
    const auto bits = std::bit_cast<std::uint32_t>(valueDb);
    return {static_cast<std::uint8_t>(bits >> 24), static_cast<std::uint8_t>(bits >> 16)};
}

int FieldSetters::setMicBoost(float valueDb) {
    m_image.micBoost = micBoostWordOf(valueDb);
    return sendMicBoost();
}

int FieldSetters::sendMicBoost() {
    m_ops.WriteMemory(kMicBoostWordAddress, m_image.micBoost);
    const float v = micBoostDb(m_image.micBoost);
    const GainBlock block = gainBlock(v, GainBlockKind::MicBoost);
    const std::uint32_t cut = f32Bits(1.0 / std::pow(10.0, v / 20.0));
    const std::uint32_t gain = f32Bits(std::pow(10.0, v / 20.0));
    // Channel B first, then channel A; each block before its two words.
    m_ops.SetParamBlock(1, 61, block);
    m_ops.SetParam(1, 59, gain);
    m_ops.SetParam(1, 58, cut);
    m_ops.SetParamBlock(1, 38, block);
    m_ops.SetParam(1, 36, gain);
    return m_ops.SetParam(1, 35, cut);
}

float roomGainDb(const RoomGainBlock& block, int channel) {
    if (channel < 0 || channel >= 8) {
        return 0.0f;
    }
    const std::size_t at = static_cast<std::size_t>(channel) * 4;
    const std::uint32_t bits = (static_cast<std::uint32_t>(block[at]) << 24) |
                               (static_cast<std::uint32_t>(block[at + 1]) << 16) |
                               (static_cast<std::uint32_t>(block[at + 2]) << 8) | block[at + 3];
    return std::bit_cast<float>(bits);
}

int FieldSetters::setRoomGain(int channel, float gainDb) {
    if (channel < 0 || channel >= 8) {
        return 0;
    }
    const auto bits = std::bit_cast<std::uint32_t>(gainDb);
    const std::size_t at = static_cast<std::size_t>(channel) * 4;
    for (int i = 0; i < 4; ++i) {
        m_image.roomGain[at + i] = static_cast<std::uint8_t>(bits >> (24 - 8 * i));
    }
    m_ops.WriteMemory(kRoomGainBlockAddress, m_image.roomGain);
    return sendRoomGain(channel);
}

int FieldSetters::sendRoomGain(int channel) {
    if (channel < 0 || channel >= 8) {
        return 0;
    }
    const GainBlock block =
        gainBlock(roomGainDb(m_image.roomGain, channel), GainBlockKind::OutputLevel);
    return m_ops.SetParamBlock(5 + channel, 29, block);
}

} // namespace quilo
