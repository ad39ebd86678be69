#pragma once

#include "dsp/ResponseCurve.h"

#include <cmath>
#include <cstdint>

namespace quilo {

// A band's frequency is whole hertz, as its stored record keeps it: what the editor shows
// is what is stored.
inline float wholeHertz(float freqHz) {
    return std::round(freqHz);
}

// One band of the curve editor while it is being edited.
struct EqBandState {
    // Handle centre in plot pixels; rewritten whenever the handle is laid out, so a band
    // switched off stays findable where it was last shown.
    float handleX = 0.0f;
    float handleY = 0.0f;
    std::int32_t index = 0;
    std::int32_t filterType = Peaking;
    float frequency = 100.0f;
    float gain = 0.0f;
    float q = 1.0f;
    BandCurve curve{};
    float freqMin = 20.0f;
    float freqMax = 20000.0f;
    float gainMin = -15.0f;
    float gainMax = 15.0f;
};

// The bands of one equaliser as the curve editor holds them: the host's band operations,
// the response curves and the crossover slot of the output channels with its three hidden
// companion slots. Plain data and arithmetic; drawing and input live elsewhere.
class EqBandSet {
public:
    static constexpr int kMaxBands = 40;
    static constexpr int kDefaultBandCount = 10;
    static constexpr int kCrossoverSlot = 9;
    static constexpr int kLastCompanionSlot = 12;
    static constexpr int kFirstOutputPanel = 7;
    static constexpr int kLastOutputPanel = 14;

    EqBandSet();

    // Panel identity: the EqId of the equaliser shown (7-14 are the output channels).
    void setPanelId(int id) { m_panelId = id; }
    int panelId() const { return m_panelId; }
    bool isOutputChannel() const {
        return m_panelId >= kFirstOutputPanel && m_panelId <= kLastOutputPanel;
    }

    // Plot size in pixels. The grid follows the width, so every active curve is redone.
    void setPlotSize(int width, int height);
    int plotWidth() const { return m_grid.width(); }
    int plotHeight() const { return m_plotHeight; }
    const CurveGrid& grid() const { return m_grid; }

    int bandCount() const { return m_bandCount; }
    // Loads the default 7- or 10-band layout for those counts; every count then gets
    // index = i and gain 0 on its bands. Counts are limited to 0...40.
    void setBandCount(int n);
    // Bands with a handle: 0-9 on an output channel (10-12 are the hidden companions),
    // all of them elsewhere.
    int reachableCount() const;
    bool isReachable(int b) const { return b >= 0 && b < reachableCount(); }
    static bool isSlot(int b) { return b >= 0 && b < kMaxBands; }
    bool isCrossoverSlot(int b) const { return isOutputChannel() && b == kCrossoverSlot; }

    // Precondition: isSlot(b).
    EqBandState& band(int b) { return m_bands[static_cast<std::size_t>(b)]; }
    const EqBandState& band(int b) const { return m_bands[static_cast<std::size_t>(b)]; }

    void setGainLimits(float gainMin, float gainMax);
    float gainLimitMin() const { return m_gainMin; }
    float gainLimitMax() const { return m_gainMax; }

    // Host operations; each recomputes the band's curve. Slots outside 0...39 are ignored.
    void setBandType(int b, int type);
    void setBandGain(int b, float gainDb);
    void setBandQ(int b, float q);
    // Stores a frequency clamped to the band's own limits.
    void setBandFrequency(int b, float freqHz);
    // Crossover slot only: all four slots get 0 dB and the types of the family, keeping the
    // direction slot 9 has now.
    void applyCrossoverFamily(int b, int family);
    // The editor's type menu (types 1-5). On output channels the gain is cleared first and
    // the crossover slot takes a whole set of four types.
    void applyMenuType(int b, int type);

    // Recomputes a band's curve; on an output channel's crossover slot the companions first
    // take its frequency and Q at 0 dB. Bands of type 0 keep their last curve.
    void computeBandCurve(int b);
    void computeAllCurves();

    // Sum of every band of type other than 0 up to the band count.
    BandCurve totalCurve() const;
    // The curve shaded for a selected band: the crossover slot shows its four sections.
    BandCurve shadedCurve(int b) const;

    // Lays out the handles of the reachable bands of type other than 0.
    void updateHandles();

    // Q range of a type as the setter holds it: 0.1...30 for peaking, 0.1...2 otherwise.
    static float qLimitFor(int type);
    // Types whose gain is held at 0 dB: low-pass, high-pass and every crossover section.
    static bool gainIsFixed(int type);
    // Types drawn against a baseline below the plot instead of 0 dB.
    static bool isPassType(int type);

private:
    void computeOne(int b);

    CurveGrid m_grid;
    int m_plotHeight = 0;
    int m_panelId = 0;
    int m_bandCount = kDefaultBandCount;
    float m_gainMin = -15.0f;
    float m_gainMax = 15.0f;
    std::array<EqBandState, kMaxBands> m_bands{};
};

} // namespace quilo
