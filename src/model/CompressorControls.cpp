#include "model/CompressorControls.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quilo {

namespace {

constexpr std::array<CompressorSliderRange, kCompressorKnobs> kRanges = {{
    {-60, 0, 0},
    {10, 300, 10},
    {1, 100, 1},
    {1, 1000, 100},
}};

std::size_t indexOf(CompressorKnob knob) {
    return static_cast<std::size_t>(knob);
}

// The ratio slider counts tenths.
double scaleOf(CompressorKnob knob) {
    return knob == CompressorKnob::Ratio ? 10.0 : 1.0;
}

} // namespace

CompressorSliderRange compressorSliderRange(CompressorKnob knob) {
    return kRanges[indexOf(knob)];
}

float compressorValue(const CompressorSettings& s, CompressorKnob knob) {
    switch (knob) {
    case CompressorKnob::Threshold:
        return s.thresholdDb;
    case CompressorKnob::Ratio:
        return s.ratio;
    case CompressorKnob::Attack:
        return s.attackMs;
    case CompressorKnob::Release:
        break;
    }
    return s.releaseMs;
}

float compressorValueAt(CompressorKnob knob, int position) {
    const CompressorSliderRange r = compressorSliderRange(knob);
    return static_cast<float>(std::clamp(position, r.minimum, r.maximum) / scaleOf(knob));
}

int compressorSliderPosition(CompressorKnob knob, float value) {
    const CompressorSliderRange r = compressorSliderRange(knob);
    if (std::isnan(value)) {
        return r.minimum;
    }
    // Rounded, not truncated: a stored ratio of 2.3 is 22.99998 tenths in single precision.
    const double scaled = std::clamp(static_cast<double>(value) * scaleOf(knob), double(r.minimum),
                                     double(r.maximum));
    return static_cast<int>(std::lround(scaled));
}

CompressorSettings withCompressorKnob(CompressorSettings s, CompressorKnob knob, int position) {
    const float v = compressorValueAt(knob, position);
    switch (knob) {
    case CompressorKnob::Threshold:
        s.thresholdDb = v;
        break;
    case CompressorKnob::Ratio:
        s.ratio = v;
        break;
    case CompressorKnob::Attack:
        s.attackMs = v;
        break;
    case CompressorKnob::Release:
        s.releaseMs = v;
        break;
    }
    return s;
}

std::string compressorReadout(CompressorKnob knob, float value) {
    char text[32];
    const double v = std::isfinite(value) ? static_cast<double>(value) : 0.0;
    switch (knob) {
    case CompressorKnob::Threshold:
        std::snprintf(text, sizeof text, "%.0fdB", v);
        break;
    case CompressorKnob::Ratio:
        std::snprintf(text, sizeof text, "%.1f:1", v >= 1.0 ? v : 1.0);
        break;
    default:
        std::snprintf(text, sizeof text, "%.0fms", v);
        break;
    }
    return text;
}

} // namespace quilo
