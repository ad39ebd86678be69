#pragma once

#include "dsp/Biquad.h"

#include <array>

namespace quilo {

// Points of the curve editor's frequency grid.
constexpr int kCurvePoints = 512;
using BandCurve = std::array<float, kCurvePoints>;

// Plotted span of the curve editor, wider than the 20...20000 Hz bands may take.
constexpr double kCurveFreqMin = 18.0;
constexpr double kCurveFreqMax = 23000.0;
constexpr double kCurveGainMin = -15.0;
constexpr double kCurveGainMax = 15.0;

// Magnitude in dB of a section with an explicit a0, evaluated in closed form (no complex
// arithmetic). A zero numerator or denominator is floored instead of giving -inf.
double magnitudeDb(double b0, double b1, double b2, double a0, double a1, double a2, double freqHz,
                   double fs = kSampleRate);
// Same for an a0-normalised section.
double magnitudeDb(const BiquadCoefficients& c, double freqHz, double fs = kSampleRate);

// The editor grid: 512 points spaced logarithmically between fmin and fmax, spread over
// a plot `width` pixels wide. The frequencies and their sin^2 terms are computed once per
// width, so a band curve costs one logarithm per point.
class CurveGrid {
public:
    explicit CurveGrid(int width = kCurvePoints);

    void setWidth(int width);
    int width() const { return m_width; }
    // W/512 in single precision, the spacing of the points in pixels.
    float step() const { return m_step; }

    float frequencyAt(int i) const { return m_freq[static_cast<std::size_t>(i)]; }
    // sin^2(pi f / 48000) of point i.
    double phiAt(int i) const { return m_phi[static_cast<std::size_t>(i)]; }
    // Grid index of a frequency: trunc(trunc(fraction * W) / step); may fall outside
    // 0...511 for frequencies outside the span.
    int indexOf(double freqHz) const;
    // Pixel offset of point i from the plot's left edge: trunc(i * W / 512).
    int xAt(int i) const;

private:
    int m_width = kCurvePoints;
    float m_step = 1.0f;
    std::array<float, kCurvePoints> m_freq{};
    std::array<double, kCurvePoints> m_phi{};
};

// Response of one band on the grid: the designed section's magnitude at every point, and
// for a peaking band the point at its own frequency set to its gain exactly, so the drawn
// peak reaches the set gain between grid points. Values that are not finite become 0.
void computeBandResponse(int filterType, float gainDb, float freqHz, float q, const CurveGrid& grid,
                         BandCurve& out);

// Vertical mapping of dB values onto a plot of the given top and height.
struct DbScale {
    double top = 0.0;
    double height = 0.0;
    double gainMin = kCurveGainMin;
    double gainMax = kCurveGainMax;

    double y(double valueDb) const {
        return top + (gainMax - valueDb) * height / (gainMax - gainMin);
    }
};

} // namespace quilo
