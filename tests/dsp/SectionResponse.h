#pragma once

#include <cmath>
#include <complex>
#include <numbers>

namespace quilo::test {

// H(e^jw) of b0 + b1 z^-1 + b2 z^-2 over a0 + a1 z^-1 + a2 z^-2, worked out directly.
inline std::complex<double> responseAt(double b0, double b1, double b2, double a0, double a1,
                                       double a2, double freqHz, double fs = 48000.0) {
    const double w = 2.0 * std::numbers::pi * freqHz / fs;
    const std::complex<double> z1 = std::polar(1.0, -w);
    const std::complex<double> z2 = z1 * z1;
    return (b0 + b1 * z1 + b2 * z2) / (a0 + a1 * z1 + a2 * z2);
}

template <class C> std::complex<double> responseAt(const C& c, double freqHz) {
    return responseAt(c.b0, c.b1, c.b2, 1.0, c.a1, c.a2, freqHz);
}

template <class C> double dbAt(const C& c, double freqHz) {
    return 20.0 * std::log10(std::abs(responseAt(c, freqHz)));
}

// At DC and Nyquist the response is real: plain sums, no trigonometry.
template <class C> double dbAtDc(const C& c) {
    return 20.0 * std::log10(std::abs((c.b0 + c.b1 + c.b2) / (1.0 + c.a1 + c.a2)));
}
template <class C> double dbAtNyquist(const C& c) {
    return 20.0 * std::log10(std::abs((c.b0 - c.b1 + c.b2) / (1.0 - c.a1 + c.a2)));
}

} // namespace quilo::test
