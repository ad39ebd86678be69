#include "pages/SmallEqPreview.h"

#include "dsp/Biquad.h"
#include "model/BandOps.h"
#include "widgets/CSmallEqPanel.h"

namespace quilo {

namespace {

constexpr int kMaxLoadType = HighShelf;

} // namespace

void loadSmallPreview(CSmallEqPanel& panel, const BandOps& bands, int eqId) {
    for (int b = 0; b < SmallEqCurve::kBands; ++b) {
        const EqBand stored = bands.band(eqId, b);
        const int type = stored.type < 0 || stored.type > kMaxLoadType ? 0 : stored.type;
        SmallEqBand& band = panel.band(b);
        band.displayType = type;
        // A zero Q is no value: the band keeps its own.
        if (stored.q > 0.0f)
            band.q = stored.q;
        panel.setSmallBandFrequency(b, stored.freqHz);
        panel.setSmallBandGain(b, type == LowPass || type == HighPass ? 0.0f : stored.gainDb);
        panel.computeSmallBandCurve(b);
    }
}

} // namespace quilo
