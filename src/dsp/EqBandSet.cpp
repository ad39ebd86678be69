#include "dsp/EqBandSet.h"

#include "dsp/Crossover.h"
#include "dsp/EqPlotGeometry.h"

#include <algorithm>
#include <cmath>

namespace quilo {

namespace {

constexpr float kDefaultLayoutQ = 1.41f;
constexpr float kPassQ = 0.7f;
constexpr std::array<float, 10> kDefaultLayout{31.0f,   62.0f,   125.0f,  250.0f,  500.0f,
                                               1000.0f, 2000.0f, 4000.0f, 8000.0f, 16000.0f};

// Slots 9-12 for each entry of the type menu on a crossover slot; low- and high-pass make
// the 24 dB Butterworth pair.
constexpr std::array<std::array<int, 4>, 5> kCrossoverMenuTypes{{
    {1, 1, 1, 1},
    {LowPassQ1307, LowPassQ0541, 1, 1},
    {HighPassQ1307, HighPassQ0541, 1, 1},
    {LowShelf, 1, 1, 1},
    {HighShelf, 1, 1, 1},
}};

} // namespace

EqBandSet::EqBandSet() {
    for (int i = 0; i < kMaxBands; ++i)
        band(i).index = i;
}

void EqBandSet::setPlotSize(int width, int height) {
    m_grid.setWidth(width);
    m_plotHeight = std::max(height, 0);
    computeAllCurves();
}

void EqBandSet::setBandCount(int n) {
    n = std::clamp(n, 0, kMaxBands);
    if (n == 7 || n == 10) {
        for (int i = 0; i < n; ++i) {
            EqBandState& s = band(i);
            s.filterType = Peaking;
            s.q = kDefaultLayoutQ;
            s.frequency = kDefaultLayout[static_cast<std::size_t>(i)];
        }
    }
    m_bandCount = n;
    for (int i = 0; i < n; ++i) {
        band(i).index = i;
        band(i).gain = 0.0f;
    }
    computeAllCurves();
}

int EqBandSet::reachableCount() const {
    return isOutputChannel() ? std::min(m_bandCount, kCrossoverSlot + 1) : m_bandCount;
}

void EqBandSet::setGainLimits(float gainMin, float gainMax) {
    if (std::isnan(gainMin) || std::isnan(gainMax))
        return;
    m_gainMin = std::min(gainMin, gainMax);
    m_gainMax = std::max(gainMin, gainMax);
}

float EqBandSet::qLimitFor(int type) {
    return type == Peaking ? 30.0f : 2.0f;
}

bool EqBandSet::gainIsFixed(int type) {
    return type == LowPass || type == HighPass || type >= ChebyshevLowPass;
}

bool EqBandSet::isPassType(int type) {
    return type == LowPass || type == HighPass ||
           (type >= ChebyshevLowPass && type <= HighPassQ0541);
}

void EqBandSet::setBandType(int b, int type) {
    if (!isSlot(b))
        return;
    band(b).filterType = type;
    if (type == Peaking) {
        band(b).q = kDefaultLayoutQ;
    } else if (type >= LowPass && type <= HighShelf) {
        setBandGain(b, 0.0f);
        setBandQ(b, kPassQ);
    }
    computeBandCurve(b);
}

void EqBandSet::setBandGain(int b, float gainDb) {
    if (!isSlot(b) || std::isnan(gainDb))
        return;
    EqBandState& s = band(b);
    if (gainIsFixed(s.filterType))
        gainDb = 0.0f;
    s.gain = std::clamp(gainDb, m_gainMin, m_gainMax);
    computeBandCurve(b);
}

void EqBandSet::setBandQ(int b, float q) {
    if (!isSlot(b) || std::isnan(q) || std::fabs(q) < 1e-7f)
        return;
    EqBandState& s = band(b);
    s.q = std::clamp(q, 0.1f, qLimitFor(s.filterType));
    computeBandCurve(b);
}

void EqBandSet::setBandFrequency(int b, float freqHz) {
    if (!isSlot(b) || std::isnan(freqHz))
        return;
    EqBandState& s = band(b);
    s.frequency = std::clamp(wholeHertz(freqHz), s.freqMin, s.freqMax);
    computeBandCurve(b);
}

void EqBandSet::applyCrossoverFamily(int b, int family) {
    if (!isCrossoverSlot(b))
        return;
    const CrossoverTypes types =
        crossoverSections(family, crossoverDirectionOf(band(b).filterType));
    for (int i = 0; i < 4; ++i) {
        band(b + i).gain = 0.0f;
        band(b + i).filterType = types[static_cast<std::size_t>(i)];
    }
    computeBandCurve(b);
}

void EqBandSet::applyMenuType(int b, int type) {
    if (!isSlot(b) || type < Peaking || type > HighShelf)
        return;
    if (!isOutputChannel()) {
        setBandType(b, type);
        return;
    }
    band(b).gain = 0.0f;
    if (b != kCrossoverSlot) {
        setBandType(b, type);
        return;
    }
    const auto& types = kCrossoverMenuTypes[static_cast<std::size_t>(type - 1)];
    for (int i = 1; i < 4; ++i) {
        band(b + i).gain = 0.0f;
        band(b + i).filterType = types[static_cast<std::size_t>(i)];
    }
    // A new kind keeps the slot's Q (within what the kind allows): the user tuned it, and
    // resetting it to the kind's default would silently retune the crossover.
    EqBandState& slot = band(b);
    slot.filterType = types[0];
    slot.q = std::clamp(slot.q, 0.1f, qLimitFor(slot.filterType));
    computeBandCurve(b);
}

void EqBandSet::computeOne(int b) {
    EqBandState& s = band(b);
    if (s.filterType == Off)
        return;
    computeBandResponse(s.filterType, s.gain, s.frequency, s.q, m_grid, s.curve);
}

void EqBandSet::computeBandCurve(int b) {
    if (!isSlot(b) || band(b).filterType == Off)
        return;
    if (isCrossoverSlot(b)) {
        const EqBandState& slot = band(b);
        for (int c = b + 1; c <= kLastCompanionSlot; ++c) {
            band(c).frequency = slot.frequency;
            band(c).q = slot.q;
            band(c).gain = 0.0f;
            computeOne(c);
        }
    }
    computeOne(b);
}

void EqBandSet::computeAllCurves() {
    for (int i = 0; i < kMaxBands; ++i)
        computeOne(i);
}

BandCurve EqBandSet::totalCurve() const {
    BandCurve total{};
    for (int b = 0; b < m_bandCount; ++b) {
        const EqBandState& s = band(b);
        if (s.filterType == Off)
            continue;
        for (int i = 0; i < kCurvePoints; ++i)
            total[static_cast<std::size_t>(i)] += s.curve[static_cast<std::size_t>(i)];
    }
    return total;
}

BandCurve EqBandSet::shadedCurve(int b) const {
    if (!isSlot(b))
        return {};
    if (!isCrossoverSlot(b))
        return band(b).curve;
    BandCurve sum{};
    for (int c = b; c <= kLastCompanionSlot; ++c) {
        if (band(c).filterType == Off)
            continue;
        for (int i = 0; i < kCurvePoints; ++i)
            sum[static_cast<std::size_t>(i)] += band(c).curve[static_cast<std::size_t>(i)];
    }
    return sum;
}

void EqBandSet::updateHandles() {
    const EqPlotGeometry geometry{static_cast<double>(plotWidth()),
                                  static_cast<double>(m_plotHeight)};
    for (int b = 0; b < reachableCount(); ++b) {
        EqBandState& s = band(b);
        if (s.filterType == Off)
            continue;
        const double x = geometry.xOfFrequency(s.frequency);
        const double y = geometry.yOfGain(s.gain);
        // A frequency of 0 written by a host would put the handle at -infinity.
        if (std::isfinite(x) && std::isfinite(y)) {
            s.handleX = static_cast<float>(x);
            s.handleY = static_cast<float>(y);
        }
    }
}

} // namespace quilo
