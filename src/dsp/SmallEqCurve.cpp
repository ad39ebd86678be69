#include "dsp/SmallEqCurve.h"

#include "dsp/Biquad.h"
#include "dsp/DisplayBiquad.h"
#include "dsp/ResponseCurve.h"

#include <algorithm>
#include <cmath>

namespace quilo {

namespace {

// Pixel positions as whole numbers, kept in a sane range whatever a host wrote.
int toPixel(double v) {
    if (!std::isfinite(v))
        return 0;
    return static_cast<int>(std::clamp(v, -1e6, 1e6));
}

constexpr std::array<float, SmallEqCurve::kBands> kDefaultFrequencies{31,  62,   125, 250,
                                                                      500, 1000, 2000};
} // namespace

SmallEqCurve::SmallEqCurve() {
    for (int b = 0; b < kBands; ++b)
        band(b).frequency = kDefaultFrequencies[static_cast<std::size_t>(b)];
}

int SmallEqCurve::pointFrequency(int u) {
    return static_cast<int>(10.0 * std::pow(10.0, kDecades * u / kPoints));
}

double SmallEqCurve::xOfFrequency(double freqHz) const {
    return kMargin + (std::log10(freqHz) - 1.0) * m_width / kDecades;
}

double SmallEqCurve::yOfGain(double gainDb) const {
    return kMargin + m_height / 2.0 - gainDb * m_height / 30.0;
}

void SmallEqCurve::setClientSize(int width, int height) {
    m_width = std::max(width - 2 * kMargin, 0);
    m_height = std::max(height - 2 * kMargin, 0);
    for (int b = 0; b < kBands; ++b)
        layoutBand(b);
    computeTotal();
}

void SmallEqCurve::layoutBand(int b) {
    SmallEqBand& s = band(b);
    s.handleX = kMargin + toPixel(std::log10(s.frequency / 10.0) * m_width / kDecades);
    s.handleY = toPixel(yOfGain(s.gain));
    const DisplayBiquad flat;
    DisplayBiquad c;
    // A type the display designer refuses draws flat rather than as garbage.
    if (designDisplayBiquad(s.displayType, s.frequency, kSampleRate, s.q, s.gain, c) != 0)
        c = flat;
    for (int u = 0; u < kPoints; ++u) {
        double v = magnitudeDb(c.b0, c.b1, c.b2, c.a0, c.a1, c.a2, pointFrequency(u));
        if (!std::isfinite(v))
            v = 0.0;
        s.x[static_cast<std::size_t>(u)] =
            static_cast<float>(kMargin + u * m_width / double(kPoints));
        s.y[static_cast<std::size_t>(u)] = static_cast<float>(yOfGain(v));
    }
}

void SmallEqCurve::computeTotal() {
    const double middle = kMargin + m_height / 2.0;
    for (int u = 0; u < kPoints; ++u) {
        double sum = 0.0;
        if (m_height > 0) {
            for (const SmallEqBand& s : m_bands) {
                // Each band's value is read back from its pixel position in tenths of a dB.
                const double value = (middle - s.y[static_cast<std::size_t>(u)]) * 30.0 / m_height;
                sum += std::trunc(value * 10.0 + 0.5) / 10.0;
            }
        }
        Point& p = m_total[static_cast<std::size_t>(u)];
        p.x = toPixel(band(0).x[static_cast<std::size_t>(u)]);
        p.y = toPixel(middle - sum * m_height / 30.0);
    }
}

void SmallEqCurve::setBandFrequency(int b, float freqHz) {
    if (!isBand(b) || std::isnan(freqHz) || std::fabs(freqHz) < 1e-7f)
        return;
    band(b).frequency = std::clamp(freqHz, 20.0f, 20000.0f);
    computeBandCurve(b);
}

void SmallEqCurve::setBandGain(int b, float gainDb) {
    if (!isBand(b) || std::isnan(gainDb))
        return;
    band(b).gain = std::clamp(gainDb, -15.0f, 15.0f);
    computeBandCurve(b);
}

void SmallEqCurve::computeBandCurve(int b) {
    if (!isBand(b))
        return;
    layoutBand(b);
    computeTotal();
}

} // namespace quilo
