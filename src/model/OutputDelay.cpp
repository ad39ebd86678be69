#include "model/OutputDelay.h"

#include "dsp/Biquad.h"
#include "model/EqBand.h"
#include "model/HfDelayBands.h"

#include <algorithm>
#include <cmath>

namespace quilo {

float clampOutputDelay(double ms) {
    if (std::isnan(ms)) {
        return kMinOutputDelayMs;
    }
    return static_cast<float>(std::clamp(ms, double{kMinOutputDelayMs}, double{kMaxOutputDelayMs}));
}

float setOutputDelay(DeviceImage& image, FieldSetters& setters, int channel, double ms) {
    if (channel < 0 || channel >= 8) {
        return kMinOutputDelayMs;
    }
    const float d = clampOutputDelay(ms);
    if (d != image.params.outDelayMs[channel]) {
        setters.set(&DspParams::outDelayMs, channel, d);
    }
    return d;
}

int applyDelaySplit(BandOps& bands, int channel, int pair, bool wholeChannel) {
    const int eqId = kFirstOutputEqId + channel;
    const auto low = static_cast<float>(hfDelayLowHz(pair));
    const auto high = static_cast<float>(hfDelayHighHz(pair));
    bands.applyBand(eqId, 13, wholeChannel ? FilterType::Peaking : FilterType::HighPass, 0.0f, low,
                    0.707f);
    return bands.applyBand(eqId, 14, wholeChannel ? FilterType::Peaking : FilterType::LowPass, 0.0f,
                           high, 0.707f);
}

} // namespace quilo
