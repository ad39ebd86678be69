#include "room/ResponseCurveSet.h"

#include <cmath>
#include <cstdio>

namespace quilo {

ShownCurves shownCurves(const SystemResponse& system,
                        const std::array<bool, kOutputChannels>& ticked, bool withSum) {
    ShownCurves shown;
    shown.freqs = system.freqs;
    std::vector<int> outputs;
    for (int k = 0; k < kOutputChannels; ++k) {
        if (!ticked[static_cast<std::size_t>(k)]) {
            continue;
        }
        outputs.push_back(k);
        ShownCurve curve{k, {}};
        for (const ResponsePoint& p : system.outputs[static_cast<std::size_t>(k)]) {
            curve.points.push_back(readResponse(p));
        }
        shown.curves.push_back(std::move(curve));
        if (system.chains[static_cast<std::size_t>(k)].delayNotModelled) {
            shown.delayNotModelled.push_back(k);
        }
    }
    if (withSum && !outputs.empty()) {
        ShownCurve sum{kListenerCurve, {}};
        for (const ResponsePoint& p : listenerSum(system, outputs)) {
            sum.points.push_back(readResponse(p));
        }
        shown.curves.push_back(std::move(sum));
        shown.withoutSpeaker = outputsWithoutSpeaker(system, outputs);
    }
    return shown;
}

double viewValue(const ResponseReading& reading, ResponseView view) {
    switch (view) {
    case ResponseView::Magnitude:
        return reading.magnitudeDb;
    case ResponseView::Phase:
        return reading.phaseDeg;
    case ResponseView::GroupDelay:
        return reading.groupDelayMs;
    }
    return 0.0;
}

int nearestPoint(const std::vector<double>& freqs, double freqHz) {
    int best = -1;
    double bestGap = 0.0;
    for (std::size_t i = 0; i < freqs.size(); ++i) {
        const double gap = std::abs(std::log(freqs[i] / freqHz));
        if (best < 0 || gap < bestGap) {
            best = static_cast<int>(i);
            bestGap = gap;
        }
    }
    return best;
}

std::string curveName(int source) {
    return source == kListenerCurve ? "listener" : "CH" + std::to_string(source + 1);
}

std::string exportCurvesText(const ShownCurves& shown) {
    std::string text = "# FREQ_HZ";
    for (const ShownCurve& c : shown.curves) {
        const std::string name = curveName(c.source);
        text += ' ' + name + "_DB " + name + "_DEG " + name + "_MS";
    }
    text += '\n';
    char number[96];
    for (std::size_t i = 0; i < shown.freqs.size(); ++i) {
        std::snprintf(number, sizeof number, "%.6g", shown.freqs[i]);
        text += number;
        for (const ShownCurve& c : shown.curves) {
            const ResponseReading& r = c.points[i];
            std::snprintf(number, sizeof number, " %.6g %.6g %.6g", r.magnitudeDb, r.phaseDeg,
                          r.groupDelayMs);
            text += number;
        }
        text += '\n';
    }
    return text;
}

} // namespace quilo
