#include "dsp/FrequencyResponse.h"

#include <cmath>
#include <numbers>

namespace quilo {

namespace {

using Complex = std::complex<double>;
constexpr Complex kJ{0.0, 1.0};

// c0 + c1 z^-1 + c2 z^-2 at z^-1 = e^(-jwT), and its derivative by w.
struct Polynomial {
    Complex value;
    Complex slope;
};

Polynomial polynomial(double c0, double c1, double c2, const Complex& z1, const Complex& z2,
                      double period) {
    return {c0 + c1 * z1 + c2 * z2, -kJ * period * (c1 * z1 + 2.0 * c2 * z2)};
}

} // namespace

ResponsePoint sectionResponse(const BiquadCoefficients& c, double freqHz, double fs) {
    const double period = 1.0 / fs;
    const double w = 2.0 * std::numbers::pi * freqHz;
    const Complex z1 = std::polar(1.0, -w * period);
    const Complex z2 = z1 * z1;
    const Polynomial n = polynomial(c.b0, c.b1, c.b2, z1, z2, period);
    const Polynomial d = polynomial(1.0, c.a1, c.a2, z1, z2, period);
    return {n.value / d.value, (n.slope * d.value - n.value * d.slope) / (d.value * d.value)};
}

ResponsePoint cascade(const ResponsePoint& a, const ResponsePoint& b) {
    return {a.value * b.value, a.slope * b.value + a.value * b.slope};
}

ResponsePoint scaled(const ResponsePoint& p, double gain) {
    return {p.value * gain, p.slope * gain};
}

ResponsePoint delayed(const ResponsePoint& p, double seconds, double freqHz) {
    const Complex e = std::polar(1.0, -2.0 * std::numbers::pi * freqHz * seconds);
    return {p.value * e, (p.slope - kJ * seconds * p.value) * e};
}

ResponsePoint combined(const ResponsePoint& a, const ResponsePoint& b) {
    return {a.value + b.value, a.slope + b.slope};
}

ResponseReading readResponse(const ResponsePoint& p) {
    const double magnitude = std::abs(p.value);
    const double db = magnitude > 0.0 ? 20.0 * std::log10(magnitude) : kSilenceDb;
    if (!(db > kSilenceDb)) {
        return {kSilenceDb, 0.0, 0.0};
    }
    // tau = -d arg(H) / dw = -Im(H' / H).
    const double tau = -(p.slope / p.value).imag();
    return {db, std::arg(p.value) * 180.0 / std::numbers::pi, tau * 1000.0};
}

} // namespace quilo
