#include "model/StoredBand.h"

#include <algorithm>
#include <cstddef>

namespace quilo {

EqBand storedBand(const EqBandStore& store, int module, int band) {
    const std::size_t at = bandAddress(module, band);
    if (band < 0 || at + kEqBandRecordSize > store.size()) {
        return EqBand{0.0f, 0.0f, 0.0f, 0};
    }
    EqBandRecord rec;
    std::copy_n(store.begin() + static_cast<std::ptrdiff_t>(at), rec.size(), rec.begin());
    return decodeBand(rec);
}

BiquadCoefficients designBand(const EqBand& band) {
    return designBiquad(band.type, band.gainDb, band.freqHz, band.q, 0.0, kSampleRate);
}

} // namespace quilo
