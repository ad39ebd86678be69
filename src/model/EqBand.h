#pragma once

#include "model/DeviceImage.h"
#include "model/ParamTable.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace quilo {

// One band as the editors see it.
struct EqBand {
    float gainDb = 0.0f;
    float freqHz = 1000.0f;
    float q = 1.414f;
    int type = 1;
};

// The 7-byte record kept in processor memory: gain code, whole hertz, Q code, type.
using EqBandRecord = std::array<std::uint8_t, kEqBandRecordSize>;

EqBandRecord encodeBand(double gainDb, std::int32_t freqHz, float q, std::uint8_t type);
EqBand decodeBand(const EqBandRecord& record);

// Equalisers by EqId: 0 mic channel A, 1 mic channel B, 2/3 reverb A/B, 4/5 echo A/B,
// 6 music, 7-14 outputs CH 1-8.
constexpr int kEqCount = 15;
constexpr int kMusicEqId = 6;
constexpr int kFirstOutputEqId = 7;
static_assert(kEqualiserTable.size() == kEqCount);

struct EqInfo {
    int module;      // wire module
    int firstBand;   // band index of band 0 within the module's band store run
    int bandCount;   // editable bands (13 for outputs)
    int firstParam;  // wire parameter of band 0
    int storedBands; // bands kept and sent (outputs: 15, with the delay split bands)
};

// Wire and store facts of an equaliser, or nullopt for an id outside 0-14.
std::optional<EqInfo> eqInfo(int eqId);

// Byte offset of band `band` of store module `module` (1-12, or kBoostBandModule)
// in EqBandStore.
std::size_t bandAddress(int module, int band);

// Default band record of an equaliser band (what a fresh image holds).
EqBandRecord defaultBandRecord(int eqId, int band);

// Bands of an equaliser the user shapes freely: all of them, except on an output,
// whose bands 9-12 are the crossover and 13-14 the delay split (so 9 there); 0 for
// an unknown id.
int userBandCount(int eqId);

// The flat band that resetting an equaliser puts in band `band`: 0 dB peaking at
// the band's reset frequency, Q 1.41.
EqBand flatBand(int eqId, int band);

} // namespace quilo
