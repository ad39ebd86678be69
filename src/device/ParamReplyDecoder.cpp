#include "device/ParamReplyDecoder.h"

#include "device/BigEndian.h"
#include "model/ParamTable.h"

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

ReplyWords readWords(const Report& r) {
    const auto f = [&r](std::size_t at) { return std::bit_cast<float>(readU32(r, at)); };
    return {f(6), readU32(r, 6), r[9], f(10), f(14), f(26), f(30)};
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

void apply(const ParamRow& row, std::size_t word, const ReplyWords& w, DspParams& p) {
    switch (row.wire) {
    case Wire::Pct:
    case Wire::PctPlus:
    case Wire::Sw:
        if (!row.field.isFloat) {
            setInt(p, word, percent(w.first));
        } else if (const auto h = percent(w.first)) {
            setFloat(p, word, static_cast<float>(*h)); // the reverb times
        }
        break;
    case Wire::P10k:
        setInt(p, word, scaled(w.first, 10000.0));
        break;
    case Wire::Int:
        setInt(p, word, std::int32_t{w.low});
        if (row.send == Send::ShiftOff && w.low == 1) {
            setInt(p, word - 1, 1); // the shifter's frequency, the field before
        }
        break;
    case Wire::Ms:
        if (row.field.isFloat) {
            setFloat(p, word, toF32(samplesToMs(w.firstU)));
        } else {
            setInt(p, word, truncToI32(samplesToMs(w.firstU)));
        }
        break;
    case Wire::On:
        if (const auto h = percent(w.first)) {
            setInt(p, word, *h == 0 ? 1 : 0);
        }
        break;
    case Wire::Phase:
        if (const auto h = percent(w.first)) {
            setInt(p, word, *h <= 0 ? 1 : 0);
        }
        break;
    case Wire::Not:
        setInt(p, word, w.low == 0 ? 1 : 0);
        break;
    case Wire::ShiftOmega:
        if (std::isfinite(w.first)) {
            setInt(p, word, truncToI32(double(w.first) * 48000.0 / (2.0 * std::numbers::pi) + 0.5));
        }
        break;
    case Wire::Raw:
        setFloat(p, word, finite(w.first));
        break;
    case Wire::Pitch:
        setInt(p, word, std::int32_t{w.low} - 5);
        break;
    case Wire::DelayMode:
        if (std::isfinite(w.second)) {
            setInt(p, word, std::fabs(w.second) < 1.0f ? 1 : 0);
        }
        break;
    case Wire::Compressor: {
        // Threshold, ratio, attack and release, one field apart.
        const std::size_t stride = row.field.elements;
        setFloat(p, word, finite(w.first));
        setFloat(p, word + stride, ratioOf(w.third));
        setFloat(p, word + 2 * stride, timeConstantOf(w.sixth));
        setFloat(p, word + 3 * stride, timeConstantOf(w.seventh));
        break;
    }
    case Wire::None:
    case Wire::ShiftDelay:
    case Wire::BoostCut:
    case Wire::BoostGain:
    case Wire::GainBlock:
        break;
    }
}

} // namespace

bool decodeParamReply(const Report& report, DspParams& params) {
    const RowElement at = fieldRowAt(report[3], report[4]);
    if (at.row == nullptr) {
        return false;
    }
    apply(*at.row, at.row->field.word + std::size_t(at.element), readWords(report), params);
    return true;
}

} // namespace quilo
