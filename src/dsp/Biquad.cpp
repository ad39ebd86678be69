#include "dsp/Biquad.h"

#include <cmath>
#include <numbers>

namespace quilo {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kPi = std::numbers::pi;

// Q of a Butterworth pole pair at pole angle theta.
double butterworthQ(double theta) {
    return 1.0 / (2.0 * std::sin(theta));
}

// Second-order Chebyshev prototype with 0.1 dB ripple.
struct ChebyshevPrototype {
    double y;  // real-part scale of the pole pair
    double g;  // passband normalisation, -0.1 dB
    double c;  // cos(3pi/4)
    double s2; // sin(3pi/4) squared
};

// Everything that does not depend on the call's inputs, worked out once.
struct FixedValues {
    double qBessel;
    double qButterworth;
    double qOne;
    double qHalf;
    double q1307;
    double q0541;
    ChebyshevPrototype chebyshev;
};

FixedValues makeFixedValues() {
    FixedValues v{};
    v.qBessel = 1.0 / (2.0 * (std::sqrt(3.0) / 2.0));
    v.qButterworth = 1.0 / (2.0 * (std::sqrt(2.0) / 2.0));
    v.qOne = butterworthQ(kPi / 6.0);
    v.qHalf = butterworthQ(kPi / 2.0);
    v.q1307 = butterworthQ(kPi / 8.0);
    v.q0541 = butterworthQ(3.0 * kPi / 8.0);

    const double eps2 = std::pow(10.0, 0.1 / 10.0) - 1.0;
    const double eps = std::sqrt(eps2);
    ChebyshevPrototype& p = v.chebyshev;
    // This exact expression, not sinh(asinh(1/eps)/2): the processor's crossovers have
    // always been designed with it.
    p.y = std::sinh(0.5 * std::sqrt(std::log(1.0 / eps2 + 1.0 / eps + 1.0)));
    p.g = 1.0 / std::sqrt(1.0 + eps2);
    p.c = std::cos(3.0 * kPi / 4.0);
    const double s = std::sin(3.0 * kPi / 4.0);
    p.s2 = s * s;
    return v;
}

// A function-local static, so callers running during static initialisation are safe too.
const FixedValues& fixedValues() {
    static const FixedValues v = makeFixedValues();
    return v;
}

// 10^(dB/div), skipping the power for the 0 dB every caller passes most of the time.
double dbToLinear(double db, double div) {
    return db == 0.0 ? 1.0 : std::pow(10.0, db / div);
}

bool usesQ(int type) {
    return type < ChebyshevLowPass || type > HighPassQ0541;
}

double fixedQ(int type) {
    const FixedValues& v = fixedValues();
    switch (type) {
    case BesselLowPass:
    case BesselHighPass:
        return v.qBessel;
    case ButterworthLowPass:
    case ButterworthHighPass:
        return v.qButterworth;
    case LowPassQ1:
    case HighPassQ1:
        return v.qOne;
    case LowPassQHalf:
    case HighPassQHalf:
        return v.qHalf;
    case LowPassQ1307:
    case HighPassQ1307:
        return v.q1307;
    default:
        return v.q0541;
    }
}

// Inputs outside the designable range would give unstable or non-finite sections.
bool designable(int type, double gainDb, double freqHz, double q, double extraGainDb, double fs) {
    if (!std::isfinite(gainDb) || !std::isfinite(extraGainDb))
        return false;
    // Q is checked only where the type uses it.
    return designableSection(freqHz, usesQ(type) ? q : 1.0, fs);
}

// Finite, with both poles strictly inside the unit circle (the stability triangle).
bool usable(const BiquadCoefficients& c) {
    return std::isfinite(c.b0) && std::isfinite(c.b1) && std::isfinite(c.b2) &&
           std::isfinite(c.a1) && std::isfinite(c.a2) && std::abs(c.a2) < 1.0 &&
           std::abs(c.a1) < 1.0 + c.a2;
}

BiquadCoefficients secondOrderPass(bool highPass, double gl, double cs, double alpha) {
    const double a0 = 1.0 + alpha;
    BiquadCoefficients r;
    if (highPass) {
        r.b0 = gl * (1.0 + cs) / (2.0 * a0);
        r.b1 = -gl * (1.0 + cs) / a0;
    } else {
        r.b0 = gl * (1.0 - cs) / (2.0 * a0);
        r.b1 = gl * (1.0 - cs) / a0;
    }
    r.b2 = r.b0;
    r.a1 = -2.0 * cs / a0;
    r.a2 = (1.0 - alpha) / a0;
    return r;
}

BiquadCoefficients shelf(bool high, double a, double cs, double sn, double q) {
    const double beta = std::sqrt(a) * sn / q;
    const double ap = a + 1.0;
    const double am = a - 1.0;
    BiquadCoefficients r;
    if (high) {
        const double a0 = ap - am * cs + beta;
        r.b0 = a * (ap + am * cs + beta) / a0;
        r.b1 = -2.0 * a * (am + ap * cs) / a0;
        r.b2 = a * (ap + am * cs - beta) / a0;
        r.a1 = 2.0 * (am - ap * cs) / a0;
        r.a2 = (ap - am * cs - beta) / a0;
    } else {
        const double a0 = ap + am * cs + beta;
        r.b0 = a * (ap - am * cs + beta) / a0;
        r.b1 = 2.0 * a * (am - ap * cs) / a0;
        r.b2 = a * (ap - am * cs - beta) / a0;
        r.a1 = -2.0 * (am + ap * cs) / a0;
        r.a2 = (ap + am * cs - beta) / a0;
    }
    return r;
}

BiquadCoefficients chebyshev(bool highPass, double gl, double freqHz, double fs) {
    const ChebyshevPrototype& p = fixedValues().chebyshev;
    const double t = std::tan(kPi * freqHz / fs);
    // The high-pass is the low-pass at fs/2 - f mirrored by z -> -z.
    const double k = highPass ? 1.0 / t : t;
    const double pk = p.y * k;
    const double ks2 = k * k * p.s2;
    const double d = 1.0 - 2.0 * pk * p.c + pk * pk + ks2;
    const double n = gl * p.g * (ks2 + pk * pk) / d;
    BiquadCoefficients r;
    r.b0 = n;
    r.b1 = highPass ? -2.0 * n : 2.0 * n;
    r.b2 = n;
    const double a1 = 2.0 * (ks2 + pk * pk - 1.0) / d;
    r.a1 = highPass ? -a1 : a1;
    r.a2 = (1.0 + 2.0 * pk * p.c + pk * pk + ks2) / d;
    return r;
}

BiquadCoefficients firstOrder(bool highPass, double gl, double cs, double sn) {
    const double d = 1.0 + sn + cs;
    BiquadCoefficients r;
    if (highPass) {
        r.b0 = gl * (1.0 + cs) / d;
        r.b1 = -r.b0;
    } else {
        r.b0 = gl * sn / d;
        r.b1 = r.b0;
    }
    r.b2 = 0.0;
    r.a1 = (sn - cs - 1.0) / d;
    r.a2 = 0.0;
    return r;
}

BiquadCoefficients allPass(double extraGainDb, double cs, double alpha) {
    const double m = dbToLinear(extraGainDb, 40.0);
    const double a0 = 1.0 + alpha;
    BiquadCoefficients r;
    r.a1 = -2.0 * cs / a0;
    r.a2 = (1.0 - alpha) / a0;
    r.b0 = m * r.a2;
    r.b1 = m * r.a1;
    r.b2 = m;
    return r;
}

BiquadCoefficients design(int type, double gainDb, double freqHz, double q, double extraGainDb,
                          double fs) {
    if (type == ChebyshevLowPass || type == ChebyshevHighPass)
        return chebyshev(type == ChebyshevHighPass, dbToLinear(gainDb, 20.0), freqHz, fs);

    const double w0 = kTwoPi * freqHz / fs;
    const double cs = std::cos(w0);
    const double sn = std::sin(w0);

    switch (type) {
    case Peaking: {
        const double a = dbToLinear(gainDb, 40.0);
        const double k = dbToLinear(extraGainDb, 20.0);
        const double alpha = sn / (2.0 * q);
        const double a0 = 1.0 + alpha / a;
        BiquadCoefficients r;
        r.b0 = k * (1.0 + alpha * a) / a0;
        r.b1 = -k * 2.0 * cs / a0;
        r.b2 = k * (1.0 - alpha * a) / a0;
        r.a1 = -2.0 * cs / a0;
        r.a2 = (1.0 - alpha / a) / a0;
        return r;
    }
    case LowPass:
    case HighPass:
        return secondOrderPass(type == HighPass, dbToLinear(gainDb, 20.0), cs, sn / (2.0 * q));
    case LowShelf:
    case HighShelf:
        return shelf(type == HighShelf, dbToLinear(gainDb, 40.0), cs, sn, q);
    case FirstOrderLowPass:
    case FirstOrderHighPass:
        return firstOrder(type == FirstOrderHighPass, dbToLinear(gainDb, 20.0), cs, sn);
    case BesselLowPass:
    case BesselHighPass:
    case ButterworthLowPass:
    case ButterworthHighPass:
    case LowPassQ1:
    case HighPassQ1:
    case LowPassQHalf:
    case HighPassQHalf:
    case LowPassQ1307:
    case HighPassQ1307:
    case LowPassQ0541:
    case HighPassQ0541:
        // Odd codes are the high-pass halves.
        return secondOrderPass((type & 1) != 0, dbToLinear(gainDb, 20.0), cs,
                               sn / (2.0 * fixedQ(type)));
    default:
        return allPass(extraGainDb, cs, sn / (2.0 * q));
    }
}

} // namespace

bool designableSection(double freqHz, double q, double fs) {
    return std::isfinite(fs) && std::isfinite(freqHz) && std::isfinite(q) && fs > 0.0 &&
           freqHz > 0.0 && freqHz < fs / 2.0 && q > 0.0;
}

BiquadCoefficients designBiquad(int filterType, double gainDb, double freqHz, double q,
                                double extraGainDb, double fs) {
    // Out-of-range input gives the plain pass-through rather than coefficients that would
    // make the processor's section blow up.
    if (!designable(filterType, gainDb, freqHz, q, extraGainDb, fs))
        return {};
    const BiquadCoefficients r = design(filterType, gainDb, freqHz, q, extraGainDb, fs);
    return usable(r) ? r : BiquadCoefficients{};
}

} // namespace quilo
