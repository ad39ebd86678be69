// Cost of the editor's curve work: one band's response on the grid, and one drag step on
// an output channel's crossover slot (the slot and its three companions).
#include "dsp/EqBandSet.h"
#include "widgets/EqEditController.h"

#include <benchmark/benchmark.h>

namespace {

// The plot of a 1200-pixel-wide editor.
constexpr int kPlotWidth = 1200 - 42;
constexpr int kPlotHeight = 500 - 38;

class NoListener : public quilo::EqEditListener {
public:
    void onBandChanged(int band) override { benchmark::DoNotOptimize(band); }
    void onBackgroundClicked() override {}
    void onCopyPasteRequest(int, int) override {}
    void onBandPicked(int) override {}
};

void computeBandCurve(benchmark::State& state) {
    quilo::EqBandSet bands;
    bands.setPlotSize(kPlotWidth, kPlotHeight);
    bands.setBandCount(10);
    float gain = -6.0f;
    for (auto _ : state) {
        gain = gain > 6.0f ? -6.0f : gain + 0.1f;
        bands.band(4).gain = gain;
        bands.computeBandCurve(4);
        benchmark::DoNotOptimize(bands.band(4).curve.data());
    }
}
BENCHMARK(computeBandCurve);

void crossoverDragStep(benchmark::State& state) {
    quilo::EqBandSet bands;
    bands.setPlotSize(kPlotWidth, kPlotHeight);
    bands.setPanelId(7);
    bands.setBandCount(13);
    bands.setBandFrequency(9, 1000.0f);
    bands.applyMenuType(9, quilo::LowPass); // the 24 dB Butterworth pair
    NoListener listener;
    quilo::EqEditController editor(bands, listener);
    bands.updateHandles();
    const double x = bands.band(9).handleX;
    const double y = bands.band(9).handleY;
    editor.leftPress(x, y, false);
    editor.move(x + 5.0, y);
    int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 40;
        editor.move(x - 20.0 + step, y);
        benchmark::DoNotOptimize(bands.band(12).curve.data());
    }
    editor.leftRelease();
}
BENCHMARK(crossoverDragStep);

} // namespace
