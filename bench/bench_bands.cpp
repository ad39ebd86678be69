// Cost of applying one band: record encode, store, biquad design and two reports; and of
// taking a band drag back and doing it again.
#include "device/ReportSink.h"
#include "model/BandOps.h"
#include "model/DeviceImage.h"
#include "model/EditHistory.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// Takes reports and drops them, so only the host-side work is measured.
class DiscardSink : public quilo::ReportSink {
public:
    int send(const quilo::Report& r) override {
        benchmark::DoNotOptimize(r.data());
        return 61;
    }
    void pause(std::chrono::milliseconds) override {}
};

void applyBand(benchmark::State& state) {
    auto image = std::make_unique<quilo::DeviceImage>();
    image->resetToDefaults();
    DiscardSink sink;
    quilo::BandOps bands(*image, sink);
    float gain = -6.0f;
    for (auto _ : state) {
        gain = gain > 6.0f ? -6.0f : gain + 0.1f;
        benchmark::DoNotOptimize(bands.applyBand(9, 4, 1, gain, 1250.0f, 1.2f));
    }
}
BENCHMARK(applyBand);

void resendOutputEq(benchmark::State& state) {
    auto image = std::make_unique<quilo::DeviceImage>();
    image->resetToDefaults();
    DiscardSink sink;
    quilo::BandOps bands(*image, sink);
    for (auto _ : state) {
        bands.resendEq(7);
    }
}
BENCHMARK(resendOutputEq);

// Each iteration takes the drag back or does it again, in turn: both restore one step.
void undoBandDrag(benchmark::State& state) {
    auto image = std::make_unique<quilo::DeviceImage>();
    image->resetToDefaults();
    DiscardSink sink;
    quilo::EditHistory history(*image);
    quilo::BandOps bands(*image, sink);
    const int channels = static_cast<int>(state.range(0));
    // A drag: many moves of band 4, all in one step.
    for (int move = 0; move < 40; ++move) {
        for (int ch = 0; ch < channels; ++ch) {
            bands.applyBand(7 + ch, 4, 1, -6.0f + 0.3f * float(move), 500.0f + 20.0f * float(move),
                            1.4f);
        }
    }
    history.closeStep();
    bool back = true;
    for (auto _ : state) {
        benchmark::DoNotOptimize(back ? history.undo(sink) : history.redo(sink));
        back = !back;
    }
}
BENCHMARK(undoBandDrag)->Arg(1)->Arg(8)->Unit(benchmark::kMicrosecond);

} // namespace
