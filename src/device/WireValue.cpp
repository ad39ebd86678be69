#include "device/WireValue.h"

#include <bit>
#include <cmath>
#include <limits>
#include <numbers>

namespace quilo {

std::uint32_t f32Bits(double value) {
    return encodeRaw(static_cast<float>(value));
}

float f32FromBits(std::uint32_t bits) {
    return std::bit_cast<float>(bits);
}

std::uint32_t truncToU32(double value) {
    if (!(value > 0.0)) {
        return 0;
    }
    if (value >= 4294967295.0) {
        return std::numeric_limits<std::uint32_t>::max();
    }
    return static_cast<std::uint32_t>(value);
}

std::uint32_t encodePct(double field) {
    return f32Bits(field / 100.0);
}

std::uint32_t encodePctPlus(double field) {
    return f32Bits(field / 100.0 + 0.0005);
}

std::uint32_t encodeP10k(double field) {
    return f32Bits(field / 10000.0);
}

std::uint32_t encodeInt(std::int32_t field) {
    return static_cast<std::uint32_t>(field);
}

std::uint32_t encodeNot(std::int32_t field) {
    return field == 0 ? 1u : 0u;
}

std::uint32_t encodeOn(std::int32_t field) {
    return f32Bits(field == 0 ? 1.0 : 0.0);
}

std::uint32_t encodeSw(std::int32_t field) {
    return f32Bits(field != 0 ? 1.0 : 0.0);
}

std::uint32_t encodeMs(double ms) {
    return truncToU32(ms * 48000.0 / 1000.0 + 0.5);
}

std::uint32_t encodeRaw(float field) {
    // The processor has no use for an infinite or undefined word: NaN goes out as 0,
    // infinities as the largest finite value of their sign.
    if (std::isnan(field)) {
        return 0;
    }
    if (std::isinf(field)) {
        field = std::copysign(std::numeric_limits<float>::max(), field);
    }
    return std::bit_cast<std::uint32_t>(field);
}

std::uint32_t encodePhase(std::int32_t inverted) {
    return f32Bits(inverted != 0 ? -1.0 : 1.0);
}

std::uint32_t encodePitch(std::int32_t steps) {
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(steps) + 5);
}

std::uint32_t encodeShiftOmega(std::int32_t freqHz) {
    return f32Bits(2.0 * std::numbers::pi * freqHz / 48000.0);
}

std::uint32_t encodeShiftDelay(std::int32_t freqHz) {
    // Quotient in double, difference in single, then scaled and rounded.
    const float diff = static_cast<float>(1000.0 / (4.0 * freqHz) - 25.0);
    return truncToU32(static_cast<double>(diff * 48.0f) + 0.5);
}

CompressorBlock compressorBlock(float thresholdDb, float ratio, float attackMs, float releaseMs) {
    // A ratio below 1:1 (a fresh image holds 0) compresses nothing, as the curve draws it.
    const double r = ratio >= 1.0f ? static_cast<double>(ratio) : 1.0;
    return {encodeRaw(thresholdDb),
            0u,
            f32Bits(1.0 - 1.0 / r),
            f32Bits(20.0),
            f32Bits(0.05),
            f32Bits(1.0 - std::exp(-1.0 / (attackMs * 48.0))),
            f32Bits(1.0 - std::exp(-1.0 / (releaseMs * 48.0)))};
}

GainBlock gainBlock(float v, GainBlockKind kind) {
    const float v2 = static_cast<float>(static_cast<double>(v) * static_cast<double>(v));
    const float shaped = 0.0022594517f * v2 + 0.79990202f * v;
    const std::uint32_t d = f32Bits(std::pow(10.0, v / 20.0));
    const std::uint32_t e = f32Bits(std::pow(10.0, shaped / 20.0));
    const bool boost = kind == GainBlockKind::MicBoost;
    const std::uint32_t c1 = boost ? 0x3F7D554Au : 0x3F7EFF25u;
    const std::uint32_t c2 = boost ? 0xBFFEA8DCu : 0xBFFF7EF1u;
    return {d, e, c1, c2, d, e};
}

} // namespace quilo
