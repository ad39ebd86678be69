// A full repaint of the system response plot at 1200 x 700: eight outputs and the listener
// sum in each view, with the hover read-out shown.
#include "dsp/ResponseFrequencies.h"
#include "room/ResponseCurveSet.h"
#include "widgets/ResponsePlot.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

// Eight outputs of distinct shapes, without an image: a band-limited ripple each.
quilo::ShownCurves syntheticCurves() {
    quilo::ShownCurves shown;
    shown.freqs = quilo::twentyFourthOctaveFrequencies();
    for (int k = -1; k < 8; ++k) {
        quilo::ShownCurve c{k < 0 ? quilo::kListenerCurve : k, {}};
        for (std::size_t i = 0; i < shown.freqs.size(); ++i) {
            const double t = static_cast<double>(i) / 20.0 + k;
            c.points.push_back(
                {6.0 * std::sin(t) - k, std::remainder(37.0 * t, 360.0), 2.0 + std::cos(t)});
        }
        shown.curves.push_back(std::move(c));
    }
    return shown;
}

void repaintPlot(benchmark::State& state) {
    quilo::ResponsePlot plot;
    plot.resize(1200, 700);
    std::vector<QColor> colours;
    QStringList names;
    quilo::ShownCurves shown = syntheticCurves();
    for (const auto& c : shown.curves) {
        colours.push_back(quilo::responseCurveColour(c.source));
        names << QString::fromStdString(quilo::curveName(c.source));
    }
    plot.setCurves(std::move(shown), colours, names);
    plot.setView(static_cast<quilo::ResponseView>(state.range(0)));
    plot.hoverAt(600.0);
    QImage image(plot.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        plot.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(repaintPlot)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace
