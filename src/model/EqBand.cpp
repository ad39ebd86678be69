#include "model/EqBand.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace quilo {

namespace {

// A 16-bit record field from a computed value; out-of-range and NaN values are held
// at the nearest end instead of wrapping.
std::uint16_t toCode(double value) {
    if (!(value > 0.0)) {
        return 0;
    }
    return static_cast<std::uint16_t>(std::min(std::trunc(value), 65535.0));
}

} // namespace

EqBandRecord encodeBand(double gainDb, std::int32_t freqHz, float q, std::uint8_t type) {
    // The 0.05 makes whole tenths survive the truncation (-3.0 dB -> 120).
    const std::uint16_t gainCode = toCode((gainDb + 0.05 + 15.0) * 10.0);
    const auto freq = static_cast<std::uint16_t>(std::clamp(freqHz, 0, 65535));
    // A Q decoded from a record (code / 1000 held as a float) can land a hair below
    // its code; the small allowance keeps a resend from lowering Q by one code.
    const std::uint16_t qCode = toCode(static_cast<double>(q) * 1000.0 + 0.005);
    return {static_cast<std::uint8_t>(gainCode >> 8),
            static_cast<std::uint8_t>(gainCode),
            static_cast<std::uint8_t>(freq >> 8),
            static_cast<std::uint8_t>(freq),
            static_cast<std::uint8_t>(qCode >> 8),
            static_cast<std::uint8_t>(qCode),
            type};
}

EqBand decodeBand(const EqBandRecord& r) {
    const int gainCode = (r[0] << 8) | r[1];
    const int freq = (r[2] << 8) | r[3];
    const int qCode = (r[4] << 8) | r[5];
    return {static_cast<float>(gainCode / 10.0 - 15.0), static_cast<float>(freq),
            static_cast<float>(qCode / 1000.0), r[6]};
}

std::optional<EqInfo> eqInfo(int eqId) {
    switch (eqId) {
    case 0:
        return EqInfo{1, 0, 10, 16};
    case 1:
        return EqInfo{1, 10, 10, 39};
    case 2:
        return EqInfo{3, 0, 7, 0};
    case 3:
        return EqInfo{3, 7, 7, 12};
    case 4:
        return EqInfo{2, 0, 7, 0};
    case 5:
        return EqInfo{2, 7, 7, 13};
    case 6:
        return EqInfo{4, 0, 10, 0};
    default:
        if (eqId >= kFirstOutputEqId && eqId < kEqCount) {
            return EqInfo{eqId - 2, 0, 13, 0};
        }
        return std::nullopt;
    }
}

std::size_t bandAddress(int module, int band) {
    const int b = band;
    int offset = 7 * b;
    switch (module) {
    case 2:
        offset = 140 + 7 * b;
        break;
    case 3:
        offset = 238 + 7 * b;
        break;
    case 4:
        offset = 336 + 7 * b;
        break;
    case kBoostBandModule:
        offset = 1246 + 7 * b;
        break;
    default:
        if (module >= 5 && module <= 12) {
            offset = 7 * (b + 15 * module - 17);
        }
        break;
    }
    return static_cast<std::size_t>(offset);
}

namespace {

struct DefaultBand {
    int freq;
    int type;
    double gainDb;
    float q;
};

constexpr std::array<int, 13> kGraphicFreqs{31,   62,   125,   250,   500,   1000, 2000,
                                            4000, 8000, 16000, 16000, 16000, 16000};

DefaultBand peq(int freq) {
    return {freq, 1, 0.0, 1.414f};
}

DefaultBand defaultBand(int eqId, int band) {
    static constexpr std::array<int, 7> kEffectMids{0, 160, 250, 500, 1000, 2300, 0};
    switch (eqId) {
    case 0:
    case 1:
    case 6:
        return peq(kGraphicFreqs[band]);
    case 4: { // echo A
        static constexpr std::array<int, 6> f{61, 125, 250, 500, 1000, 2300};
        return band < 6 ? peq(f[band]) : DefaultBand{5000, 2, 0.0, 0.707f};
    }
    case 5: // echo B
        if (band == 0) {
            return {200, 3, 0.0, 0.707f};
        }
        return band < 6 ? peq(kEffectMids[band]) : DefaultBand{5000, 5, 3.0, 0.707f};
    case 2: // reverb A
        if (band == 0) {
            return {120, 3, 0.0, 0.707f};
        }
        return band < 6 ? peq(kEffectMids[band]) : DefaultBand{5000, 5, -6.0, 0.707f};
    case 3: // reverb B
        if (band == 0) {
            return {100, 3, 0.0, 0.707f};
        }
        return band < 6 ? peq(kEffectMids[band]) : DefaultBand{3000, 5, -3.0, 0.707f};
    default: // outputs: bands 13 and 14 are the flat split filters of the delay
        if (band == 13) {
            return {500, 1, 0.0, 0.707f};
        }
        if (band == 14) {
            return {1000, 1, 0.0, 0.707f};
        }
        return peq(kGraphicFreqs[band]);
    }
}

} // namespace

int userBandCount(int eqId) {
    constexpr int kOutputUserBands = 9; // bands 9-12 are the crossover
    if (eqId >= kFirstOutputEqId && eqId < kEqCount) {
        return kOutputUserBands;
    }
    const auto eq = eqInfo(eqId);
    return eq ? eq->bandCount : 0;
}

EqBand flatBand(int eqId, int band) {
    static constexpr std::array<int, 7> kEffect{63, 125, 250, 500, 1000, 2300, 5000};
    const bool effect = eqId >= 2 && eqId <= 5;
    const std::size_t b = static_cast<std::size_t>(
        std::clamp(band, 0, effect ? int(kEffect.size()) - 1 : int(kGraphicFreqs.size()) - 1));
    const int freq = effect ? kEffect[b] : kGraphicFreqs[b];
    return {0.0f, static_cast<float>(freq), 1.41f, 1};
}

EqBandRecord defaultBandRecord(int eqId, int band) {
    const DefaultBand d = defaultBand(eqId, band);
    return encodeBand(d.gainDb, d.freq, d.q, static_cast<std::uint8_t>(d.type));
}

} // namespace quilo
