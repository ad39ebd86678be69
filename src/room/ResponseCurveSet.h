#pragma once

#include "dsp/FrequencyResponse.h"
#include "room/SystemResponse.h"

#include <array>
#include <string>
#include <vector>

namespace quilo {

// What the system response window draws, worked out without a screen: the ticked
// outputs' curves and the listener sum, with what could not be drawn as asked.

enum class ResponseView { Magnitude, Phase, GroupDelay };

// The curve of the listener sum; outputs are 0-7.
constexpr int kListenerCurve = -1;

struct ShownCurve {
    int source = 0; // output 0-7, or kListenerCurve
    std::vector<ResponseReading> points;
};

struct ShownCurves {
    std::vector<double> freqs;
    std::vector<ShownCurve> curves; // ticked outputs in order, then the sum
    // Ticked outputs the sum leaves out, and those whose delay is not drawn.
    std::vector<int> withoutSpeaker;
    std::vector<int> delayNotModelled;
};

ShownCurves shownCurves(const SystemResponse& system,
                        const std::array<bool, kOutputChannels>& ticked, bool withSum);

// The value a view plots.
double viewValue(const ResponseReading& reading, ResponseView view);

// The point whose frequency lies nearest to `freqHz` on a logarithmic axis; -1 for none.
int nearestPoint(const std::vector<double>& freqs, double freqHz);

// "CH1".."CH8", "listener": the names the export and the read-out give the curves.
std::string curveName(int source);

// The curves as text: a '#' header naming the columns, then one line per frequency,
// FREQ_HZ followed by magnitude dB, phase degrees and group delay ms of every curve.
std::string exportCurvesText(const ShownCurves& shown);

} // namespace quilo
