#pragma once

namespace quilo {

// Every band and crossover section runs on the processor as one biquad at this rate.
constexpr double kSampleRate = 48000.0;

// Band type codes as stored in EqBandRecord::filterType. Even codes from 6 are
// low-pass crossover sections, odd codes from 7 high-pass ones.
enum FilterType : int {
    Off = 0,
    Peaking = 1,
    LowPass = 2,
    HighPass = 3,
    LowShelf = 4,
    HighShelf = 5,
    ChebyshevLowPass = 6,
    ChebyshevHighPass = 7,
    BesselLowPass = 8,
    BesselHighPass = 9,
    FirstOrderLowPass = 10,
    FirstOrderHighPass = 11,
    ButterworthLowPass = 12,
    ButterworthHighPass = 13,
    LowPassQ1 = 14,
    HighPassQ1 = 15,
    LowPassQHalf = 16,
    HighPassQHalf = 17,
    LowPassQ1307 = 18,
    HighPassQ1307 = 19,
    LowPassQ0541 = 20,
    HighPassQ0541 = 21,
};

// a0-normalised: H(z) = (b0 + b1 z^-1 + b2 z^-2) / (1 + a1 z^-1 + a2 z^-2).
struct BiquadCoefficients {
    double b0 = 1.0;
    double b1 = 0.0;
    double b2 = 0.0;
    double a1 = 0.0;
    double a2 = 0.0;
};

// Designs one section. Never fails: codes outside 1..21 give the all-pass. Inputs that
// cannot make a stable section (a non-finite value, frequency not strictly between 0 and
// fs/2, Q <= 0 for a type that uses it, gains so extreme the poles reach the unit circle)
// give the pass-through b0 = 1, all others 0. extraGainDb scales a peaking band's numerator by
// 10^(extra/20) and the all-pass by 10^(extra/40); other types ignore it.
BiquadCoefficients designBiquad(int filterType, double gainDb, double freqHz, double q,
                                double extraGainDb, double fs);

// True when a section at this frequency and Q can be designed at fs: all finite, frequency
// strictly between 0 and fs/2, Q above 0.
bool designableSection(double freqHz, double q, double fs);

} // namespace quilo
