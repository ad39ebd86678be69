#pragma once

#include <array>
#include <cstdint>

namespace quilo {

// The value encodings of parameter words. Every function returns the 32-bit word
// as it goes on the wire (f32 bit patterns or unsigned integers). No f32 word is
// ever infinite or NaN: every float passes through encodeRaw.

std::uint32_t f32Bits(double value); // converted to single precision first
float f32FromBits(std::uint32_t bits);

// Float to u32 with truncation; NaN and negatives give 0, huge values saturate.
std::uint32_t truncToU32(double value);

std::uint32_t encodePct(double field);     // f32 field / 100
std::uint32_t encodePctPlus(double field); // f32 field / 100 + 0.0005 (volumes)
std::uint32_t encodeP10k(double field);    // f32 field / 10000
std::uint32_t encodeInt(std::int32_t field);
std::uint32_t encodeNot(std::int32_t field);      // 1 when the field is 0, else 0
std::uint32_t encodeOn(std::int32_t field);       // f32 1.0 when 0 (not muted), 0.0 when not
std::uint32_t encodeSw(std::int32_t field);       // f32 1.0 when nonzero, else 0.0
std::uint32_t encodeMs(double ms);                // samples at 48 kHz, rounded
std::uint32_t encodeRaw(float field);             // NaN -> 0, +-inf -> +-FLT_MAX
std::uint32_t encodePhase(std::int32_t inverted); // f32 -1.0 when inverted, +1.0 otherwise
std::uint32_t encodePitch(std::int32_t steps);    // u32 steps + 5

// Frequency shifter: the phase step (parameters 31/54) and the delay word (32/55).
std::uint32_t encodeShiftOmega(std::int32_t freqHz);
std::uint32_t encodeShiftDelay(std::int32_t freqHz);

using CompressorBlock = std::array<std::uint32_t, 7>;
// A ratio below 1 (or NaN) is sent as 1:1.
CompressorBlock compressorBlock(float thresholdDb, float ratio, float attackMs, float releaseMs);

// Microphone boost block and output level block: d, e, c1, c2, d, e for v dB.
using GainBlock = std::array<std::uint32_t, 6>;
enum class GainBlockKind { MicBoost, OutputLevel };
GainBlock gainBlock(float v, GainBlockKind kind);

} // namespace quilo
