#include "room/OutputChain.h"

#include "model/FieldSetters.h"
#include "model/StoredBand.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace quilo {

namespace {

// A damaged file may hold anything; a value that is not a number must not poison a sum.
double finiteOr(double value, double fallback) {
    return std::isfinite(value) ? value : fallback;
}

} // namespace

OutputChain outputChain(const DeviceImage& image, int channel) {
    OutputChain chain;
    if (channel < 0 || channel >= kOutputChannels) {
        chain.gain = 0.0;
        return chain;
    }
    const auto ch = static_cast<std::size_t>(channel);
    const DspParams& p = image.params;
    const EqInfo eq = *eqInfo(kFirstOutputEqId + channel);
    for (int b = 0; b < kOutputResponseBands; ++b) {
        chain.sections[static_cast<std::size_t>(b)] =
            designBand(storedBand(image.eqBands, eq.module, eq.firstBand + b));
    }

    if (p.outMute[ch] != 0) {
        chain.gain = 0.0;
    } else {
        const double level = std::max(0, p.outLevel[ch]) / 100.0;
        const double roomDb = finiteOr(roomGainDb(image.roomGain, channel), 0.0);
        chain.gain = (p.outPhase[ch] != 0 ? -1.0 : 1.0) * level * std::pow(10.0, roomDb / 20.0);
    }

    if (p.outDelayBypass[ch] == 0) {
        if (p.outDelayMode[ch] == 1) {
            chain.delaySeconds = std::max(0.0, finiteOr(p.outDelayMs[ch], 0.0)) / 1000.0;
        } else {
            chain.delayNotModelled = true;
        }
    }
    chain.location = p.outLocation[ch];
    return chain;
}

ResponsePoint outputResponse(const OutputChain& chain, double freqHz) {
    ResponsePoint h;
    for (const BiquadCoefficients& c : chain.sections) {
        h = cascade(h, sectionResponse(c, freqHz));
    }
    return delayed(scaled(h, chain.gain), chain.delaySeconds, freqHz);
}

} // namespace quilo
