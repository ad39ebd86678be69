#pragma once

#include "dsp/Biquad.h"

#include <complex>

namespace quilo {

// A complex response at one frequency together with its derivative by angular frequency
// (rad/s). Carrying the derivative through products, delays and sums gives the exact group
// delay of any chain, where a difference of wrapped phases would not.
struct ResponsePoint {
    std::complex<double> value{1.0, 0.0};
    std::complex<double> slope{0.0, 0.0}; // dH/domega
};

// H(e^jwT) of one a0-normalised section and its derivative.
ResponsePoint sectionResponse(const BiquadCoefficients& c, double freqHz, double fs = kSampleRate);

// The response of two stages in series (product rule for the slope).
ResponsePoint cascade(const ResponsePoint& a, const ResponsePoint& b);
// A frequency-independent gain.
ResponsePoint scaled(const ResponsePoint& p, double gain);
// The stage followed by a pure delay of `seconds`: times e^(-j 2 pi f seconds).
ResponsePoint delayed(const ResponsePoint& p, double seconds, double freqHz);
// Two paths that add up (outputs meeting at one point).
ResponsePoint combined(const ResponsePoint& a, const ResponsePoint& b);

// What is drawn and printed of a response: magnitude in dB, phase wrapped to +-180 degrees
// and group delay in milliseconds. Silence reads as kSilenceDb with phase and delay 0, so
// a null stays a number a plot and a script can take.
constexpr double kSilenceDb = -200.0;
struct ResponseReading {
    double magnitudeDb = 0.0;
    double phaseDeg = 0.0;
    double groupDelayMs = 0.0;
};
ResponseReading readResponse(const ResponsePoint& p);

} // namespace quilo
