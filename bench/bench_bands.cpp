// Cost of applying one band: record encode, store, biquad design and two reports.
#include "device/ReportSink.h"
#include "model/BandOps.h"
#include "model/DeviceImage.h"

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

} // namespace
