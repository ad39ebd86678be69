#include "model/EqBand.h"

#include "device/BigEndian.h"

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
    EqBandRecord record{};
    writeU16(record, 0, gainCode);
    writeU16(record, 2, freq);
    writeU16(record, 4, qCode);
    record[6] = type;
    return record;
}

EqBand decodeBand(const EqBandRecord& r) {
    const int gainCode = readU16(r, 0);
    const int freq = readU16(r, 2);
    const int qCode = readU16(r, 4);
    return {static_cast<float>(gainCode / 10.0 - 15.0), static_cast<float>(freq),
            static_cast<float>(qCode / 1000.0), r[6]};
}

namespace {

constexpr auto kEqInfos = [] {
    std::array<EqInfo, kEqCount> infos{};
    for (std::size_t id = 0; id < infos.size(); ++id) {
        const EqualiserRow& eq = kEqualiserTable[id];
        infos[id] = {eq.module, eq.firstBand, eq.bandCount, eq.firstParam, eq.storedBands};
    }
    return infos;
}();

} // namespace

std::optional<EqInfo> eqInfo(int eqId) {
    if (eqId < 0 || eqId >= kEqCount) {
        return std::nullopt;
    }
    return kEqInfos[static_cast<std::size_t>(eqId)];
}

namespace {

// Store module -> the first record of its run; a module without a run of its own
// counts from the start.
constexpr auto kFirstRecordOfModule = [] {
    std::array<int, kBoostBandModule + 1> first{};
    for (const BandStoreRun& run : kBandStoreRuns) {
        first[run.module] = run.firstRecord;
    }
    return first;
}();

} // namespace

std::size_t bandAddress(int module, int band) {
    const bool known = module >= 0 && module < static_cast<int>(kFirstRecordOfModule.size());
    const int firstRecord = known ? kFirstRecordOfModule[static_cast<std::size_t>(module)] : 0;
    return static_cast<std::size_t>(static_cast<int>(kEqBandRecordSize) * (firstRecord + band));
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
