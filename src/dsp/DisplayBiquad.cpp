#include "dsp/DisplayBiquad.h"

#include <cmath>

namespace quilo {

namespace {

constexpr double kTwoPi = 6.283185307179586;

DisplayBiquad fromNormalised(const BiquadCoefficients& c) {
    return DisplayBiquad{c.b0, c.b1, c.b2, 1.0, c.a1, c.a2};
}

// Band-pass with a 0 dB peak, or notch.
DisplayBiquad bandPassOrNotch(bool notch, double freqHz, double fs, double q) {
    if (!designableSection(freqHz, q, fs))
        return {};
    const double w0 = kTwoPi * freqHz / fs;
    const double cs = std::cos(w0);
    const double alpha = std::sin(w0) / (2.0 * q);
    const double a0 = 1.0 + alpha;
    DisplayBiquad r;
    if (notch) {
        r.b0 = 1.0 / a0;
        r.b1 = -2.0 * cs / a0;
        r.b2 = 1.0 / a0;
    } else {
        r.b0 = alpha / a0;
        r.b1 = 0.0;
        r.b2 = -alpha / a0;
    }
    r.a0 = 1.0;
    r.a1 = -2.0 * cs / a0;
    r.a2 = (1.0 - alpha) / a0;
    return r;
}

} // namespace

int designDisplayBiquad(int type, double freqHz, double fs, double q, double gainDb,
                        DisplayBiquad& out) {
    switch (type) {
    case DisplayPeaking:
    case DisplayLowShelf:
    case DisplayHighShelf:
        // Same codes and the same cookbook design as the bands the processor runs.
        out = fromNormalised(designBiquad(type, gainDb, freqHz, q, 0.0, fs));
        return 0;
    case DisplayLowPass:
    case DisplayHighPass:
        out = fromNormalised(designBiquad(type, 0.0, freqHz, q, 0.0, fs));
        return 0;
    case DisplayBandPass:
    case DisplayNotch:
        out = bandPassOrNotch(type == DisplayNotch, freqHz, fs, q);
        return 0;
    default:
        return kDisplayBiquadBadType;
    }
}

} // namespace quilo
