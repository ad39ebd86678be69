#include "dsp/ResponseCurve.h"

#include <algorithm>
#include <cmath>

namespace quilo {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Keeps log10 finite at an exact zero of the numerator or denominator (about -300 dB).
constexpr double kFloor = 1e-30;

double quadratic(double c0, double c1, double c2, double phi) {
    const double sum = c0 + c1 + c2;
    return sum * sum - 4.0 * (c0 * c1 + 4.0 * c0 * c2 + c1 * c2) * phi + 16.0 * c0 * c2 * phi * phi;
}

double phiOf(double freqHz, double fs) {
    const double s = std::sin(kPi * freqHz / fs);
    return s * s;
}

double ratioDb(double n, double d) {
    return 10.0 * std::log10(std::max(n, kFloor)) - 10.0 * std::log10(std::max(d, kFloor));
}

} // namespace

double magnitudeDb(double b0, double b1, double b2, double a0, double a1, double a2, double freqHz,
                   double fs) {
    const double phi = phiOf(freqHz, fs);
    return ratioDb(quadratic(b0, b1, b2, phi), quadratic(a0, a1, a2, phi));
}

double magnitudeDb(const BiquadCoefficients& c, double freqHz, double fs) {
    return magnitudeDb(c.b0, c.b1, c.b2, 1.0, c.a1, c.a2, freqHz, fs);
}

CurveGrid::CurveGrid(int width) {
    setWidth(width);
}

void CurveGrid::setWidth(int width) {
    // A collapsed plot still gets a usable grid; nothing is drawn into it anyway.
    m_width = std::max(width, 1);
    m_step = static_cast<float>(m_width) * (1.0f / kCurvePoints);
    const double decades = std::log10(kCurveFreqMax / kCurveFreqMin);
    for (int i = 0; i < kCurvePoints; ++i) {
        const double fraction = static_cast<double>(i) * m_step / m_width;
        const auto f = static_cast<float>(kCurveFreqMin * std::pow(10.0, fraction * decades));
        m_freq[static_cast<std::size_t>(i)] = f;
        m_phi[static_cast<std::size_t>(i)] = phiOf(f, kSampleRate);
    }
}

int CurveGrid::indexOf(double freqHz) const {
    if (!(freqHz > 0.0))
        return -1;
    const double fraction =
        std::log10(freqHz / kCurveFreqMin) / std::log10(kCurveFreqMax / kCurveFreqMin);
    const double x = std::trunc(fraction * m_width);
    const double k = std::trunc(x / m_step);
    if (!std::isfinite(k) || std::abs(k) > 1e6)
        return -1;
    return static_cast<int>(k);
}

int CurveGrid::xAt(int i) const {
    return static_cast<int>(static_cast<long long>(i) * m_width / kCurvePoints);
}

void computeBandResponse(int filterType, float gainDb, float freqHz, float q, const CurveGrid& grid,
                         BandCurve& out) {
    const BiquadCoefficients c = designBiquad(filterType, gainDb, freqHz, q, 0.0, kSampleRate);
    for (int i = 0; i < kCurvePoints; ++i) {
        const double phi = grid.phiAt(i);
        const double n = quadratic(c.b0, c.b1, c.b2, phi);
        const double d = quadratic(1.0, c.a1, c.a2, phi);
        const double v = ratioDb(n, d);
        out[static_cast<std::size_t>(i)] = std::isfinite(v) ? static_cast<float>(v) : 0.0f;
    }
    if (filterType == Peaking) {
        const int k = grid.indexOf(freqHz);
        if (k >= 0 && k < kCurvePoints)
            out[static_cast<std::size_t>(k)] = gainDb;
    }
}

} // namespace quilo
