#pragma once

#include "dsp/ResponseCurve.h"

#include <cmath>

namespace quilo {

// Where a band's handle sits in the curve editor's plot, in pixels from the plot's
// top-left corner, and the inverse used while dragging. The gain axis always spans
// +-15 dB.
struct EqPlotGeometry {
    double width = 0.0;
    double height = 0.0;

    double xOfFrequency(double freqHz) const {
        return width * std::log10(freqHz / kCurveFreqMin) /
               std::log10(kCurveFreqMax / kCurveFreqMin);
    }
    double frequencyAtX(double x) const {
        if (width <= 0.0)
            return kCurveFreqMin;
        return kCurveFreqMin *
               std::pow(10.0, std::log10(kCurveFreqMax / kCurveFreqMin) * x / width);
    }
    double yOfGain(double gainDb) const {
        return (kCurveGainMax - gainDb) * height / (kCurveGainMax - kCurveGainMin);
    }
    // Gain under a pointer, quantised to 0.1 dB with halves away from zero.
    double gainAtY(double y) const {
        if (height <= 0.0)
            return 0.0;
        const double g = kCurveGainMax - (kCurveGainMax - kCurveGainMin) * y / height;
        return std::round(g * 10.0) / 10.0;
    }
};

} // namespace quilo
