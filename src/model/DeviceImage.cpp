#include "model/DeviceImage.h"

#include "model/EqBand.h"

#include <algorithm>

namespace quilo {

const RoomLayoutBlock kDefaultRoomLayout{0x04, 0x04, 0x00, 0x00, 0x8A, 0x0A, 0x00,
                                         0x0A, 0x0A, 0x0A, 0x8A, 0x8A, 0x00, 0x8A,
                                         0x0A, 0x8A, 0x85, 0x00, 0x05, 0x00};

void DeviceImage::resetToDefaults() {
    info.modelName = u"VORNEX";
    info.firmwareDateA = u"2012-10-03";
    info.firmwareDateB = u"2012-11-30";
    modeNames = {u"Mode1", u"Mode2", u"Mode3", u"Mode4"};
    roomLayout = kDefaultRoomLayout;

    machine.applied.fill(0);
    machine.edit.fill(0);
    machine.applied[machine::kMicStartVolume] = 99;
    machine.applied[machine::kMusicStartVolume] = 99;

    params = DspParams{};
    eqBands.fill(0);
    roomGain.fill(0);
    params.echoTimeMsA = 217.0f;
    params.echoTimeMsB = 217.0f;
    params.echoStartVolA = 60;
    params.echoStartVolB = 60;

    for (int eqId = 0; eqId < kEqCount; ++eqId) {
        const EqInfo eq = *eqInfo(eqId);
        // Outputs also own their two delay split bands 13 and 14.
        for (int b = 0; b < eq.storedBands; ++b) {
            const EqBandRecord rec = defaultBandRecord(eqId, b);
            std::copy(rec.begin(), rec.end(),
                      eqBands.begin() + bandAddress(eq.module, eq.firstBand + b));
        }
    }
    // Record 178, the music low-pass boost band, stays all zero.
}

} // namespace quilo
