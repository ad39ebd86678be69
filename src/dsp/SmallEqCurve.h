#pragma once

#include <array>
#include <cstdint>

namespace quilo {

// One band of the small seven-band preview.
struct SmallEqBand {
    std::int32_t handleX = 0; // pixels; kept up to date though no handle is drawn
    std::int32_t handleY = 0;
    std::int32_t displayType = 1; // designDisplayBiquad code
    float frequency = 1000.0f;
    float gain = 0.0f;
    float q = 1.414f;
    std::array<float, 56> x{}; // curve points in pixels
    std::array<float, 56> y{};
    float freqMin = 20.0f;
    float freqMax = 20000.0f;
    float gainMin = -12.0f;
    float gainMax = 12.0f;
};

// Curves of the small preview: 56 points over 3.4 decades from 10 Hz, +-15 dB over the
// height, and the total of the seven bands as whole pixels.
class SmallEqCurve {
public:
    static constexpr int kBands = 7;
    static constexpr int kPoints = 56;
    static constexpr int kMargin = 2;
    static constexpr double kDecades = 3.4;

    struct Point {
        int x = 0;
        int y = 0;
    };

    SmallEqCurve();

    // Client size; every band is laid out again for it.
    void setClientSize(int width, int height);
    int plotWidth() const { return m_width; }
    int plotHeight() const { return m_height; }

    // Band operations; a band outside 0...6 is ignored.
    void setBandFrequency(int b, float freqHz);
    void setBandGain(int b, float gainDb);
    // Redesigns one band and the total, after its type or Q was written.
    void computeBandCurve(int b);

    static bool isBand(int b) { return b >= 0 && b < kBands; }
    // Precondition: isBand(b).
    SmallEqBand& band(int b) { return m_bands[static_cast<std::size_t>(b)]; }
    const SmallEqBand& band(int b) const { return m_bands[static_cast<std::size_t>(b)]; }
    const std::array<Point, kPoints>& total() const { return m_total; }

    // Frequency of point u: trunc(10 * 10^(3.4 u / 56)) Hz.
    static int pointFrequency(int u);
    // x of a frequency on the axis: left + (log10 f - 1) W / 3.4.
    double xOfFrequency(double freqHz) const;
    double yOfGain(double gainDb) const;

private:
    void layoutBand(int b);
    void computeTotal();

    int m_width = 0;
    int m_height = 0;
    std::array<SmallEqBand, kBands> m_bands{};
    std::array<Point, kPoints> m_total{};
};

} // namespace quilo
