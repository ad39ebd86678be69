#include "device/ParamReplyDecoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <numbers>
#include <optional>
#include <span>

namespace quilo {

namespace {

// How a reply word becomes a field value.
enum class Rule : std::uint8_t {
    Percent,                 // hundredths of the f32 word, rounded half away from zero
    PerTenThousand,          // ten-thousandths of the f32 word, the same way
    Byte,                    // lowest byte of the word (switches, codes)
    Milliseconds,            // u32 samples at 48 kHz to ms, f32
    WholeMilliseconds,       // the same, truncated to an i32
    PercentAsFloat,          // Percent, kept as f32 (reverb times)
    MutedWhenZero,           // 1 when the level word reads 0 %, else 0
    InvertedWhenNotPositive, // phase word -1.0 / +1.0
    OnWhenZeroByte,          // microphone boost: the processor's bypass flag
    ShiftFrequency,          // phase step back to Hz
    ShiftOff,                // Byte; 1 also puts the frequency (the word before) to 1
    Float,                   // the f32 word as it is
    Pitch,                   // byte - 5
    DelayMode,               // second word 0.0 -> whole channel (1), 1.0 -> band (0)
    Compressor,              // threshold, ratio, attack, release at word + k * stride
};

struct Entry {
    std::uint8_t param;
    std::uint8_t span; // consecutive parameters fill consecutive words
    Rule rule;
    std::uint16_t word;
};

#define QUILO_WORD(member) static_cast<std::uint16_t>(offsetof(DspParams, member) / 4)

constexpr std::array kMicrophones{
    Entry{4, 4, Rule::Percent, QUILO_WORD(micInputVolume)},
    Entry{8, 4, Rule::PerTenThousand, QUILO_WORD(micGate)},
    Entry{12, 1, Rule::Byte, QUILO_WORD(subDecayOn)},
    Entry{13, 1, Rule::Percent, QUILO_WORD(subDecayLevel)},
    Entry{14, 1, Rule::Percent, QUILO_WORD(micVolume)},
    Entry{15, 1, Rule::MutedWhenZero, QUILO_WORD(micMute)},
    Entry{26, 1, Rule::Byte, QUILO_WORD(micAEqSwitch)},
    Entry{27, 4, Rule::Percent, QUILO_WORD(micToA)},
    Entry{31, 1, Rule::ShiftFrequency, QUILO_WORD(shiftFreqA)},
    Entry{33, 1, Rule::ShiftOff, QUILO_WORD(shiftOffA)},
    Entry{34, 1, Rule::Percent, QUILO_WORD(effectVolume)},
    Entry{37, 1, Rule::OnWhenZeroByte, QUILO_WORD(micBoostOn)},
    Entry{49, 1, Rule::Byte, QUILO_WORD(micBEqSwitch)},
    Entry{50, 4, Rule::Percent, QUILO_WORD(micToB)},
    Entry{54, 1, Rule::ShiftFrequency, QUILO_WORD(shiftFreqB)},
    Entry{56, 1, Rule::ShiftOff, QUILO_WORD(shiftOffB)},
};

constexpr std::array kEcho{
    Entry{7, 1, Rule::Byte, QUILO_WORD(echoEqSwitchA)},
    Entry{8, 1, Rule::Percent, QUILO_WORD(echoLevelA)},
    Entry{9, 1, Rule::Milliseconds, QUILO_WORD(echoPredelayMsA)},
    Entry{10, 1, Rule::Milliseconds, QUILO_WORD(echoTimeMsA)},
    Entry{11, 1, Rule::Percent, QUILO_WORD(echoStartVolA)},
    Entry{12, 1, Rule::Percent, QUILO_WORD(echoDecayA)},
    Entry{20, 1, Rule::Byte, QUILO_WORD(echoEqSwitchB)},
    Entry{21, 1, Rule::Percent, QUILO_WORD(echoLevelB)},
    Entry{22, 1, Rule::Milliseconds, QUILO_WORD(echoPredelayMsB)},
    Entry{23, 1, Rule::Milliseconds, QUILO_WORD(echoTimeMsB)},
    Entry{24, 1, Rule::Percent, QUILO_WORD(echoStartVolB)},
    Entry{25, 1, Rule::Percent, QUILO_WORD(echoDecayB)},
    Entry{26, 1, Rule::Percent, QUILO_WORD(echoVolume)},
    Entry{27, 1, Rule::MutedWhenZero, QUILO_WORD(echoMute)},
};

// Parameters 11 and 23 repeat the reverb times and are left alone.
constexpr std::array kReverb{
    Entry{7, 1, Rule::Byte, QUILO_WORD(reverbEqSwitchA)},
    Entry{8, 1, Rule::Percent, QUILO_WORD(reverbLevelA)},
    Entry{9, 1, Rule::Milliseconds, QUILO_WORD(reverbPredelayMsA)},
    Entry{10, 1, Rule::PercentAsFloat, QUILO_WORD(reverbTimeA)},
    Entry{19, 1, Rule::Byte, QUILO_WORD(reverbEqSwitchB)},
    Entry{20, 1, Rule::Percent, QUILO_WORD(reverbLevelB)},
    Entry{21, 1, Rule::Milliseconds, QUILO_WORD(reverbPredelayMsB)},
    Entry{22, 1, Rule::PercentAsFloat, QUILO_WORD(reverbTimeB)},
    Entry{24, 1, Rule::Percent, QUILO_WORD(reverbVolume)},
    Entry{25, 1, Rule::MutedWhenZero, QUILO_WORD(reverbMute)},
};

constexpr std::array kMusic{
    Entry{11, 1, Rule::Byte, QUILO_WORD(musicEqSwitch)},
    Entry{12, 1, Rule::Percent, QUILO_WORD(musicVolume)},
    Entry{13, 1, Rule::MutedWhenZero, QUILO_WORD(musicMute)},
    Entry{14, 1, Rule::Compressor, QUILO_WORD(musicCompThreshold)},
    Entry{15, 1, Rule::Byte, QUILO_WORD(musicCompBypass)},
    Entry{16, 1, Rule::Byte, QUILO_WORD(musicAgcOn)},
    Entry{17, 1, Rule::Float, QUILO_WORD(musicAgcLevel)},
    Entry{21, 1, Rule::Pitch, QUILO_WORD(musicPitch)},
    Entry{22, 1, Rule::PerTenThousand, QUILO_WORD(musicGate)},
    Entry{23, 1, Rule::Byte, QUILO_WORD(musicSource)},
    Entry{24, 1, Rule::Percent, QUILO_WORD(musicGainSpdif)},
    Entry{25, 1, Rule::Percent, QUILO_WORD(musicGainExtra)},
    Entry{26, 1, Rule::Percent, QUILO_WORD(musicGainHdmi1)},
    Entry{27, 3, Rule::Percent, QUILO_WORD(musicGainHdmi2)},
    Entry{30, 1, Rule::Percent, QUILO_WORD(musicGainBluetooth)},
    Entry{31, 1, Rule::Percent, QUILO_WORD(musicGainAux)},
    Entry{32, 1, Rule::Percent, QUILO_WORD(musicGainAux2)},
    Entry{33, 1, Rule::Byte, QUILO_WORD(hdmiSelect)},
    Entry{36, 1, Rule::WholeMilliseconds, QUILO_WORD(boostLpfDelayMs)},
    Entry{37, 1, Rule::Percent, QUILO_WORD(boostLpfGain)},
};

// Words of output channel 0; channel ch adds ch.
constexpr std::array kOutput{
    Entry{15, 1, Rule::Byte, QUILO_WORD(outEqSwitch)},
    Entry{16, 1, Rule::Byte, QUILO_WORD(outLocation)},
    Entry{17, 1, Rule::DelayMode, QUILO_WORD(outDelayMode)},
    Entry{18, 1, Rule::Milliseconds, QUILO_WORD(outDelayMs)},
    Entry{19, 1, Rule::Byte, QUILO_WORD(outDelayBypass)},
    Entry{20, 1, Rule::Percent, QUILO_WORD(outDirectLevel)},
    Entry{21, 1, Rule::Percent, QUILO_WORD(outReverbLevel)},
    Entry{22, 1, Rule::Percent, QUILO_WORD(outEchoLevel)},
    Entry{23, 1, Rule::Percent, QUILO_WORD(outMusicLevel)},
    Entry{24, 1, Rule::Percent, QUILO_WORD(outLevel)},
    Entry{25, 1, Rule::InvertedWhenNotPositive, QUILO_WORD(outPhase)},
    Entry{26, 1, Rule::MutedWhenZero, QUILO_WORD(outMute)},
    Entry{27, 1, Rule::Compressor, QUILO_WORD(outCompThreshold)},
    Entry{28, 1, Rule::Byte, QUILO_WORD(outCompBypass)},
};

static_assert(QUILO_WORD(shiftFreqA) + 1 == QUILO_WORD(shiftOffA));
static_assert(QUILO_WORD(shiftFreqB) + 1 == QUILO_WORD(shiftOffB));
static_assert(QUILO_WORD(musicGainHdmi2) + 2 == QUILO_WORD(musicGainHdmi4));
static_assert(QUILO_WORD(musicCompThreshold) + 3 == QUILO_WORD(musicCompReleaseMs));
static_assert(QUILO_WORD(outCompThreshold) + 24 == QUILO_WORD(outCompReleaseMs));

#undef QUILO_WORD

constexpr int kFirstOutputModule = 5;
constexpr int kLastOutputModule = 12;
constexpr std::size_t kOutputChannels = 8;

// The words of a reply as the rules read them.
struct ReplyWords {
    float first;          // [6-9] as f32
    std::uint32_t firstU; // [6-9] as u32
    std::uint8_t low;     // [9]
    float second;         // [10-13]
    float third;          // [14-17]
    float sixth;          // [26-29]
    float seventh;        // [30-33]
};

std::uint32_t wordAt(const Report& r, std::size_t at) {
    return (std::uint32_t(r[at]) << 24) | (std::uint32_t(r[at + 1]) << 16) |
           (std::uint32_t(r[at + 2]) << 8) | std::uint32_t(r[at + 3]);
}

ReplyWords readWords(const Report& r) {
    const auto f = [&r](std::size_t at) { return std::bit_cast<float>(wordAt(r, at)); };
    return {f(6), wordAt(r, 6), r[9], f(10), f(14), f(26), f(30)};
}

// Truncation towards zero that holds values past the i32 range at its ends
// instead of leaving the result undefined; nothing for NaN.
std::optional<std::int32_t> truncToI32(double v) {
    if (std::isnan(v)) {
        return std::nullopt;
    }
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    constexpr double kMin = std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(std::clamp(std::trunc(v), kMin, kMax));
}

// A computed value as f32, or nothing when it is not a finite single.
std::optional<float> toF32(double v) {
    if (!std::isfinite(v) || std::fabs(v) > std::numeric_limits<float>::max()) {
        return std::nullopt;
    }
    return static_cast<float>(v);
}

// Fixed-point of a fraction word: truncate((w +- half a step) x scale).
std::optional<std::int32_t> scaled(float w, double scale) {
    if (!std::isfinite(w)) {
        return std::nullopt;
    }
    const double half = 0.5 / scale;
    const double v = w >= 0.0f ? (double(w) + half) * scale : (double(w) - half) * scale;
    return truncToI32(v);
}

std::optional<std::int32_t> percent(float w) {
    return scaled(w, 100.0);
}

double samplesToMs(std::uint32_t samples) {
    return double(samples) * 1000.0 / 48000.0;
}

// Ratio from its word 1 - 1 / ratio.
std::optional<float> ratioOf(float w) {
    const double d = 1.0 - double(w);
    if (!(d != 0.0)) {
        return std::nullopt;
    }
    return toF32(1.0 / d);
}

// Attack or release time from its word 1 - e^(-1 / (ms x 48)).
std::optional<float> timeConstantOf(float w) {
    const double l = std::log(1.0 - double(w));
    if (!(l != 0.0)) {
        return std::nullopt;
    }
    return toF32(-1.0 / l / 48.0);
}

void setInt(DspParams& p, std::size_t word, std::int32_t v) {
    p.setWord(word, std::bit_cast<std::uint32_t>(v));
}

void setFloat(DspParams& p, std::size_t word, std::optional<float> v) {
    if (v) {
        p.setWord(word, std::bit_cast<std::uint32_t>(*v));
    }
}

void setInt(DspParams& p, std::size_t word, std::optional<std::int32_t> v) {
    if (v) {
        setInt(p, word, *v);
    }
}

std::optional<float> finite(float w) {
    return std::isfinite(w) ? std::optional<float>(w) : std::nullopt;
}

void apply(Rule rule, std::size_t word, std::size_t stride, const ReplyWords& w, DspParams& p) {
    switch (rule) {
    case Rule::Percent:
        setInt(p, word, percent(w.first));
        break;
    case Rule::PerTenThousand:
        setInt(p, word, scaled(w.first, 10000.0));
        break;
    case Rule::Byte:
        setInt(p, word, std::int32_t{w.low});
        break;
    case Rule::Milliseconds:
        setFloat(p, word, toF32(samplesToMs(w.firstU)));
        break;
    case Rule::WholeMilliseconds:
        setInt(p, word, truncToI32(samplesToMs(w.firstU)));
        break;
    case Rule::PercentAsFloat:
        if (const auto h = percent(w.first)) {
            setFloat(p, word, static_cast<float>(*h));
        }
        break;
    case Rule::MutedWhenZero:
        if (const auto h = percent(w.first)) {
            setInt(p, word, *h == 0 ? 1 : 0);
        }
        break;
    case Rule::InvertedWhenNotPositive:
        if (const auto h = percent(w.first)) {
            setInt(p, word, *h <= 0 ? 1 : 0);
        }
        break;
    case Rule::OnWhenZeroByte:
        setInt(p, word, w.low == 0 ? 1 : 0);
        break;
    case Rule::ShiftFrequency:
        if (std::isfinite(w.first)) {
            setInt(p, word, truncToI32(double(w.first) * 48000.0 / (2.0 * std::numbers::pi) + 0.5));
        }
        break;
    case Rule::ShiftOff:
        setInt(p, word, std::int32_t{w.low});
        if (w.low == 1) {
            setInt(p, word - 1, 1);
        }
        break;
    case Rule::Float:
        setFloat(p, word, finite(w.first));
        break;
    case Rule::Pitch:
        setInt(p, word, std::int32_t{w.low} - 5);
        break;
    case Rule::DelayMode:
        if (std::isfinite(w.second)) {
            setInt(p, word, std::fabs(w.second) < 1.0f ? 1 : 0);
        }
        break;
    case Rule::Compressor:
        setFloat(p, word, finite(w.first));
        setFloat(p, word + stride, ratioOf(w.third));
        setFloat(p, word + 2 * stride, timeConstantOf(w.sixth));
        setFloat(p, word + 3 * stride, timeConstantOf(w.seventh));
        break;
    }
}

std::span<const Entry> entriesOf(int module) {
    switch (module) {
    case 1:
        return kMicrophones;
    case 2:
        return kEcho;
    case 3:
        return kReverb;
    case 4:
        return kMusic;
    default:
        if (module >= kFirstOutputModule && module <= kLastOutputModule) {
            return kOutput;
        }
        return {};
    }
}

} // namespace

bool decodeParamReply(const Report& report, DspParams& params) {
    const int module = report[3];
    const int param = report[4];
    const bool output = module >= kFirstOutputModule && module <= kLastOutputModule;
    const std::size_t channel = output ? std::size_t(module - kFirstOutputModule) : 0;
    const std::size_t stride = output ? kOutputChannels : 1;
    for (const Entry& e : entriesOf(module)) {
        if (param < e.param || param >= e.param + e.span) {
            continue;
        }
        const std::size_t word = e.word + std::size_t(param - e.param) + channel;
        apply(e.rule, word, stride, readWords(report), params);
        return true;
    }
    return false;
}

} // namespace quilo
