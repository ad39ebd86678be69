#include "model/ParamCodec.h"

#include "device/BigEndian.h"
#include "device/WireValue.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <limits>
#include <numbers>
#include <optional>

namespace quilo {

namespace {

// ---------------------------------------------------------------- replies

// The words of a reply as the decoders read them.
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

std::optional<float> finite(float w) {
    return std::isfinite(w) ? std::optional<float>(w) : std::nullopt;
}

void setInt(DspParams& p, std::size_t word, std::optional<std::int32_t> v) {
    if (v) {
        p.setWord(word, std::bit_cast<std::uint32_t>(*v));
    }
}

void setFloat(DspParams& p, std::size_t word, std::optional<float> v) {
    if (v) {
        p.setWord(word, std::bit_cast<std::uint32_t>(*v));
    }
}

// What one reply does to the field `word` of `row`.
using Decoder = void (*)(const ParamRow& row, std::size_t word, const ReplyWords& w, DspParams& p);

void decodePct(const ParamRow& row, std::size_t word, const ReplyWords& w, DspParams& p) {
    if (!row.field.isFloat) {
        setInt(p, word, percent(w.first));
    } else if (const auto h = percent(w.first)) {
        setFloat(p, word, static_cast<float>(*h)); // the reverb times
    }
}

void decodeP10k(const ParamRow&, std::size_t word, const ReplyWords& w, DspParams& p) {
    setInt(p, word, scaled(w.first, 10000.0));
}

void decodeInt(const ParamRow& row, std::size_t word, const ReplyWords& w, DspParams& p) {
    setInt(p, word, std::int32_t{w.low});
    if (row.send == Send::ShiftOff && w.low == 1) {
        setInt(p, word - 1, 1); // the shifter's frequency, the field before
    }
}

void decodeNot(const ParamRow&, std::size_t word, const ReplyWords& w, DspParams& p) {
    setInt(p, word, w.low == 0 ? 1 : 0);
}

void decodeOn(const ParamRow&, std::size_t word, const ReplyWords& w, DspParams& p) {
    if (const auto h = percent(w.first)) {
        setInt(p, word, *h == 0 ? 1 : 0);
    }
}

void decodeMs(const ParamRow& row, std::size_t word, const ReplyWords& w, DspParams& p) {
    if (row.field.isFloat) {
        setFloat(p, word, toF32(samplesToMs(w.firstU)));
    } else {
        setInt(p, word, truncToI32(samplesToMs(w.firstU)));
    }
}

void decodeRaw(const ParamRow&, std::size_t word, const ReplyWords& w, DspParams& p) {
    setFloat(p, word, finite(w.first));
}

void decodePhase(const ParamRow&, std::size_t word, const ReplyWords& w, DspParams& p) {
    if (const auto h = percent(w.first)) {
        setInt(p, word, *h <= 0 ? 1 : 0);
    }
}

void decodePitch(const ParamRow&, std::size_t word, const ReplyWords& w, DspParams& p) {
    setInt(p, word, std::int32_t{w.low} - 5);
}

void decodeShiftOmega(const ParamRow&, std::size_t word, const ReplyWords& w, DspParams& p) {
    if (std::isfinite(w.first)) {
        setInt(p, word, truncToI32(double(w.first) * 48000.0 / (2.0 * std::numbers::pi) + 0.5));
    }
}

void decodeDelayMode(const ParamRow&, std::size_t word, const ReplyWords& w, DspParams& p) {
    if (std::isfinite(w.second)) {
        setInt(p, word, std::fabs(w.second) < 1.0f ? 1 : 0);
    }
}

void decodeCompressor(const ParamRow& row, std::size_t word, const ReplyWords& w, DspParams& p) {
    // Threshold, ratio, attack and release, one field apart.
    const std::size_t stride = row.field.elements;
    setFloat(p, word, finite(w.first));
    setFloat(p, word + stride, ratioOf(w.third));
    setFloat(p, word + 2 * stride, timeConstantOf(w.sixth));
    setFloat(p, word + 3 * stride, timeConstantOf(w.seventh));
}

// ---------------------------------------------------------------- requests

// One word from the field's bits, for the kinds that send one word `count` times.
using WordEncoder = std::uint32_t (*)(std::uint32_t bits, bool isFloat);

double valueOf(std::uint32_t bits, bool isFloat) {
    return isFloat ? static_cast<double>(std::bit_cast<float>(bits))
                   : static_cast<std::int32_t>(bits);
}

std::int32_t intOf(std::uint32_t bits) {
    return static_cast<std::int32_t>(bits);
}

// A field's words from the whole parameter set, for the kinds of several words.
using BlockEncoder = ParamWords (*)(const ParamRow& row, const DspParams& params, int element);

ParamWords delayModeWords(const ParamRow& row, const DspParams& params, int element) {
    const bool wholeChannel = params.word(row.field.word + std::size_t(element)) != 0;
    ParamWords out;
    out.words[0] = f32Bits(1.0);
    out.words[1] = f32Bits(wholeChannel ? 0.0 : 1.0);
    out.count = 2;
    return out;
}

ParamWords compressorWords(const ParamRow& row, const DspParams& params, int element) {
    // Threshold, ratio, attack and release follow each other one field apart.
    const std::size_t first =
        fieldRowAt(row.moduleOf(element), row.paramOf(element)).row->field.word +
        static_cast<std::size_t>(element);
    const std::size_t stride = row.field.elements;
    const auto f = [&](std::size_t k) { return f32FromBits(params.word(first + k * stride)); };
    const CompressorBlock block = compressorBlock(f(0), f(1), f(2), f(3));
    ParamWords out;
    std::copy(block.begin(), block.end(), out.words.begin());
    out.count = block.size();
    return out;
}

// ---------------------------------------------------------------- the table

struct WireCodec {
    Wire wire;
    WordEncoder word = nullptr;   // a single word repeated
    BlockEncoder block = nullptr; // or several words; neither: nothing is sent
    Decoder decode = nullptr;     // null: not read back
};

constexpr WireCodec kCodecs[] = {
    {Wire::None},
    {Wire::Pct, [](std::uint32_t b, bool f) { return encodePct(valueOf(b, f)); }, nullptr,
     decodePct},
    {Wire::PctPlus, [](std::uint32_t b, bool f) { return encodePctPlus(valueOf(b, f)); }, nullptr,
     decodePct},
    {Wire::P10k, [](std::uint32_t b, bool f) { return encodeP10k(valueOf(b, f)); }, nullptr,
     decodeP10k},
    {Wire::Int, [](std::uint32_t b, bool) { return encodeInt(intOf(b)); }, nullptr, decodeInt},
    {Wire::Not, [](std::uint32_t b, bool) { return encodeNot(intOf(b)); }, nullptr, decodeNot},
    {Wire::On, [](std::uint32_t b, bool) { return encodeOn(intOf(b)); }, nullptr, decodeOn},
    {Wire::Sw, [](std::uint32_t b, bool) { return encodeSw(intOf(b)); }, nullptr, decodePct},
    {Wire::Ms, [](std::uint32_t b, bool f) { return encodeMs(valueOf(b, f)); }, nullptr, decodeMs},
    {Wire::Raw, [](std::uint32_t b, bool f) { return f ? encodeRaw(std::bit_cast<float>(b)) : b; },
     nullptr, decodeRaw},
    {Wire::Phase, [](std::uint32_t b, bool) { return encodePhase(intOf(b)); }, nullptr,
     decodePhase},
    {Wire::Pitch, [](std::uint32_t b, bool) { return encodePitch(intOf(b)); }, nullptr,
     decodePitch},
    {Wire::ShiftOmega, [](std::uint32_t b, bool) { return encodeShiftOmega(intOf(b)); }, nullptr,
     decodeShiftOmega},
    {Wire::ShiftDelay, [](std::uint32_t b, bool) { return encodeShiftDelay(intOf(b)); }},
    {Wire::DelayMode, nullptr, delayModeWords, decodeDelayMode},
    {Wire::Compressor, nullptr, compressorWords, decodeCompressor},
    {Wire::BoostCut},
    {Wire::BoostGain},
    {Wire::GainBlock},
};

constexpr bool inWireOrder() {
    for (std::size_t i = 0; i < std::size(kCodecs); ++i) {
        if (static_cast<std::size_t>(kCodecs[i].wire) != i) {
            return false;
        }
    }
    return std::size(kCodecs) == static_cast<std::size_t>(Wire::GainBlock) + 1;
}
static_assert(inWireOrder(), "one codec per Wire kind, in the enum's order");

const WireCodec& codecOf(Wire wire) {
    return kCodecs[static_cast<std::size_t>(wire)];
}

} // namespace

ParamWords encodeRow(const ParamRow& row, const DspParams& params, int element) {
    ParamWords out;
    if (row.field.word == kNoWord) {
        return out;
    }
    const WireCodec& codec = codecOf(row.wire);
    if (codec.block != nullptr) {
        return codec.block(row, params, element);
    }
    if (codec.word != nullptr) {
        const std::size_t word = row.field.word + static_cast<std::size_t>(element);
        out.words.fill(codec.word(params.word(word), row.field.isFloat));
        out.count = row.count;
    }
    return out;
}

bool decodeParamReply(const Report& report, DspParams& params) {
    const RowElement at = fieldRowAt(report[3], report[4]);
    if (at.row == nullptr) {
        return false;
    }
    if (const Decoder decode = codecOf(at.row->wire).decode) {
        decode(*at.row, at.row->field.word + std::size_t(at.element), readWords(report), params);
    }
    return true;
}

} // namespace quilo
