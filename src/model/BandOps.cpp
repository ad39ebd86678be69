#include "model/BandOps.h"

#include "device/BigEndian.h"
#include "dsp/Biquad.h"
#include "model/EditHistory.h"
#include "model/StoredBand.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace quilo {

namespace {

bool recordFits(std::size_t address) {
    return address + kEqBandRecordSize <= kEqBandStoreSize;
}

bool isTenBand(int eqId) {
    return eqId == 0 || eqId == 1 || eqId == kMusicEqId;
}
bool isOutput(int eqId) {
    return eqId >= kFirstOutputEqId && eqId < kEqCount;
}

int storedBandCount(int eqId) {
    const auto eq = eqInfo(eqId);
    return eq ? eq->storedBands : 0;
}

std::int32_t wholeHz(float freqHz) {
    return static_cast<std::int32_t>(std::clamp(freqHz, 0.0f, 65535.0f));
}

} // namespace

int eqBandCount(int eqId) {
    const auto eq = eqInfo(eqId);
    return eq ? eq->bandCount : 0;
}

EqBand BandOps::readBand(int module, int band) const {
    return storedBand(m_image.eqBands, module, band);
}

int BandOps::writeBand(int module, int band, float gainDb, std::int32_t freqHz, float q,
                       std::uint8_t type) {
    const std::size_t at = bandAddress(module, band);
    if (band < 0 || !recordFits(at)) {
        return 0;
    }
    const EqBandRecord rec = encodeBand(gainDb, freqHz, q, type);
    noteEdit(m_image, EditTarget::BandRecord, at / kEqBandRecordSize);
    std::memcpy(m_image.eqBands.data() + at, rec.data(), rec.size());
    return m_ops.WriteMemory(static_cast<std::uint16_t>(kEqBandStoreAddress + at), rec);
}

EqBand BandOps::band(int eqId, int b) const {
    const auto eq = eqInfo(eqId);
    if (!eq || b < 0 || b >= storedBandCount(eqId)) {
        return EqBand{0.0f, 0.0f, 0.0f, 0};
    }
    return readBand(eq->module, eq->firstBand + b);
}

int BandOps::storeAndSend(int module, int storeBand, int wireModule, int wireParam, int type,
                          float gainDb, float freqHz, float q, float extraGainDb) {
    const std::int32_t hz = wholeHz(freqHz);
    writeBand(module, storeBand, gainDb, hz, q, static_cast<std::uint8_t>(type));
    const BiquadCoefficients c = designBiquad(type, gainDb, hz, q, extraGainDb, kSampleRate);
    return m_ops.SetEqCoefficients(wireModule, wireParam, c);
}

int BandOps::applyBand(int eqId, int b, int type, float gainDb, float freqHz, float q,
                       float extraGainDb) {
    const auto eq = eqInfo(eqId);
    if (!eq || b < 0 || b >= storedBandCount(eqId)) {
        return 0;
    }
    return storeAndSend(eq->module, eq->firstBand + b, eq->module, eq->firstParam + b, type, gainDb,
                        freqHz, q, extraGainDb);
}

int BandOps::applyBoostBand(int type, float gainDb, float freqHz, float q) {
    return storeAndSend(kBoostBandModule, 0, kBoostBandWireModule, kBoostBandWireParam, type,
                        gainDb, freqHz, q, 0.0f);
}

int BandOps::sendStored(int module, int storeBand, int wireModule, int wireParam) {
    return m_ops.SetEqCoefficients(wireModule, wireParam, designBand(readBand(module, storeBand)));
}

int BandOps::sendBandCoefficients(int eqId, int b) {
    const auto eq = eqInfo(eqId);
    if (!eq || b < 0 || b >= storedBandCount(eqId)) {
        return 0;
    }
    return sendStored(eq->module, eq->firstBand + b, eq->module, eq->firstParam + b);
}

int BandOps::sendBoostBandCoefficients() {
    return sendStored(kBoostBandModule, 0, kBoostBandWireModule, kBoostBandWireParam);
}

void BandOps::resendEq(int eqId) {
    for (int b = 0; b < eqBandCount(eqId); ++b) {
        const EqBand v = band(eqId, b);
        applyBand(eqId, b, v.type, v.gainDb, v.freqHz, v.q, 0.0f);
    }
}

void BandOps::resetEq(int eqId) {
    for (int b = 0; b < eqBandCount(eqId); ++b) {
        const EqBand flat = flatBand(eqId, b);
        applyBand(eqId, b, flat.type, flat.gainDb, flat.freqHz, flat.q, 0.0f);
    }
}

bool BandOps::copyEq(int srcEqId, int dstEqId) {
    const auto src = eqInfo(srcEqId);
    const auto dst = eqInfo(dstEqId);
    if (!src || !dst) {
        return false;
    }
    const int n = std::min(src->bandCount, dst->bandCount);
    const std::size_t from = bandAddress(src->module, src->firstBand);
    const std::size_t to = bandAddress(dst->module, dst->firstBand);
    for (int b = 0; b < dst->bandCount; ++b) {
        noteEdit(m_image, EditTarget::BandRecord, to / kEqBandRecordSize + std::size_t(b));
    }
    // memmove: copying an equaliser onto itself is harmless.
    std::memmove(m_image.eqBands.data() + to, m_image.eqBands.data() + from,
                 kEqBandRecordSize * static_cast<std::size_t>(n));

    if (isTenBand(srcEqId) && isOutput(dstEqId)) {
        // Outputs have three more bands: flat copies of band 9's frequency and Q.
        std::uint8_t* band9 = m_image.eqBands.data() + to + 9 * kEqBandRecordSize;
        const EqBandRecord flat = encodeBand(0.0, readU16({band9, kEqBandRecordSize}, 2), 0.0f, 1);
        for (int b = 10; b < 13; ++b) {
            std::uint8_t* rec = m_image.eqBands.data() + to + b * kEqBandRecordSize;
            std::memcpy(rec, flat.data(), flat.size());
            rec[4] = band9[4];
            rec[5] = band9[5];
        }
    }
    if (isOutput(srcEqId) && isTenBand(dstEqId)) {
        // A crossover section arriving in a plain equaliser becomes a low- or high-pass.
        std::uint8_t& type = m_image.eqBands[to + (n - 1) * kEqBandRecordSize + 6];
        if (type >= 6 && type <= 21) {
            type = (type % 2 == 1) ? FilterType::HighPass : FilterType::LowPass;
        }
    }
    resendEq(dstEqId);
    return true;
}

} // namespace quilo
