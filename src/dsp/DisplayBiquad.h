#pragma once

#include "dsp/Biquad.h"

namespace quilo {

// One section for drawing the small seven-band panel; never sent to the processor.
// Divided by a0, with a0 kept as 1.
struct DisplayBiquad {
    double b0 = 1.0;
    double b1 = 0.0;
    double b2 = 0.0;
    double a0 = 1.0;
    double a1 = 0.0;
    double a2 = 0.0;
};

// The panel's own type codes; the first five are the band type codes.
enum DisplayFilterType : int {
    DisplayPeaking = Peaking,
    DisplayLowPass = LowPass,
    DisplayHighPass = HighPass,
    DisplayLowShelf = LowShelf,
    DisplayHighShelf = HighShelf,
    DisplayBandPass = 6, // constant 0 dB peak
    DisplayNotch = 7,
};

constexpr int kDisplayBiquadBadType = -2;

// Returns 0 and fills out, or kDisplayBiquadBadType for a type outside 1..7 and leaves out
// as it was. Low- and high-pass ignore the gain. Inputs that cannot make a stable section
// give the pass-through, as designBiquad does.
int designDisplayBiquad(int type, double freqHz, double fs, double q, double gainDb,
                        DisplayBiquad& out);

} // namespace quilo
