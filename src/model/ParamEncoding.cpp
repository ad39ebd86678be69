#include "model/ParamEncoding.h"

#include "device/WireValue.h"

#include <algorithm>
#include <bit>

namespace quilo {

namespace {

std::uint32_t singleWord(Wire wire, std::uint32_t bits, bool isFloat) {
    const auto i = static_cast<std::int32_t>(bits);
    const double value = isFloat ? static_cast<double>(std::bit_cast<float>(bits)) : i;
    switch (wire) {
    case Wire::Pct:
        return encodePct(value);
    case Wire::PctPlus:
        return encodePctPlus(value);
    case Wire::P10k:
        return encodeP10k(value);
    case Wire::Int:
        return encodeInt(i);
    case Wire::Not:
        return encodeNot(i);
    case Wire::On:
        return encodeOn(i);
    case Wire::Sw:
        return encodeSw(i);
    case Wire::Ms:
        return encodeMs(value);
    case Wire::Raw:
        return isFloat ? encodeRaw(std::bit_cast<float>(bits)) : bits;
    case Wire::Phase:
        return encodePhase(i);
    case Wire::Pitch:
        return encodePitch(i);
    case Wire::ShiftOmega:
        return encodeShiftOmega(i);
    case Wire::ShiftDelay:
        return encodeShiftDelay(i);
    default:
        return 0;
    }
}

} // namespace

ParamWords encodeRow(const ParamRow& row, const DspParams& params, int element) {
    ParamWords out;
    if (row.field.word == kNoWord) {
        return out;
    }
    const std::size_t word = row.field.word + static_cast<std::size_t>(element);
    switch (row.wire) {
    case Wire::None:
    case Wire::BoostCut:
    case Wire::BoostGain:
    case Wire::GainBlock:
        return out;
    case Wire::DelayMode: {
        const bool wholeChannel = params.word(word) != 0;
        out.words[0] = f32Bits(1.0);
        out.words[1] = f32Bits(wholeChannel ? 0.0 : 1.0);
        out.count = 2;
        return out;
    }
    case Wire::Compressor: {
        // Threshold, ratio, attack and release follow each other one field apart.
        const std::size_t first =
            fieldRowAt(row.moduleOf(element), row.paramOf(element)).row->field.word +
            static_cast<std::size_t>(element);
        const std::size_t stride = row.field.elements;
        const auto f = [&](std::size_t k) { return f32FromBits(params.word(first + k * stride)); };
        const CompressorBlock block = compressorBlock(f(0), f(1), f(2), f(3));
        std::copy(block.begin(), block.end(), out.words.begin());
        out.count = block.size();
        return out;
    }
    default:
        out.words.fill(singleWord(row.wire, params.word(word), row.field.isFloat));
        out.count = row.count;
        return out;
    }
}

} // namespace quilo
