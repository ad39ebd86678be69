#pragma once

#include "device/DeviceOps.h"
#include "model/DeviceImage.h"
#include "model/EqBand.h"

namespace quilo {

// The band operations every equaliser editor uses: each change is stored in the
// band store, written to processor memory and sent as ready coefficients.
class BandOps {
public:
    BandOps(DeviceImage& image, ReportSink& sink) : m_image(image), m_ops(sink) {}

    // Store-level access by store module (1-12, or kBoostBandModule).
    EqBand readBand(int module, int band) const;
    int writeBand(int module, int band, float gainDb, std::int32_t freqHz, float q,
                  std::uint8_t type);

    // By EqId 0-14. Outputs accept bands 0-14 (13 and 14 are the delay split
    // filters); ids or bands out of range change and send nothing (result 0).
    EqBand band(int eqId, int band) const;
    int applyBand(int eqId, int band, int type, float gainDb, float freqHz, float q,
                  float extraGainDb = 0.0f);
    // The music low-pass boost band (store record 178).
    int applyBoostBand(int type, float gainDb, float freqHz, float q);

    void resendEq(int eqId);
    void resetEq(int eqId);
    bool copyEq(int srcEqId, int dstEqId);

    // Designs a stored band and sends its coefficients without rewriting the record.
    int sendBandCoefficients(int eqId, int band);
    int sendBoostBandCoefficients();

private:
    int sendStored(int module, int storeBand, int wireModule, int wireParam);
    int storeAndSend(int module, int storeBand, int wireModule, int wireParam, int type,
                     float gainDb, float freqHz, float q, float extraGainDb);

    DeviceImage& m_image;
    DeviceOps m_ops;
};

// Bands an equaliser shows and edits (13 for outputs), or 0 for an unknown id.
int eqBandCount(int eqId);

} // namespace quilo
