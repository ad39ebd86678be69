// The system response of eight outputs with crossovers and delays and their sum at the
// listener, at the 241 default frequencies: what the window recomputes on every edit.
#include "device/RecordingSink.h"
#include "dsp/ResponseFrequencies.h"
#include "model/BandOps.h"
#include "room/SystemResponse.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <numeric>

namespace {

std::unique_ptr<quilo::DeviceImage> tunedImage() {
    auto image = std::make_unique<quilo::DeviceImage>();
    image->resetToDefaults();
    quilo::RecordingSink sink;
    quilo::BandOps bands(*image, sink);
    for (int ch = 0; ch < 8; ++ch) {
        const int eq = quilo::kFirstOutputEqId + ch;
        for (int b = 0; b < 9; ++b) {
            bands.applyBand(eq, b, quilo::Peaking, static_cast<float>(b % 5 - 2),
                            40.0f * static_cast<float>((b + 1) * (b + 1)), 2.0f);
        }
        const int pass = ch == 4 ? quilo::LowPassQ1307 : quilo::HighPassQ1307;
        bands.applyBand(eq, 9, pass, 0.0f, 80.0f, 1.0f);
        bands.applyBand(eq, 10, pass + 2, 0.0f, 80.0f, 1.0f);
        const auto c = static_cast<std::size_t>(ch);
        image->params.outDelayBypass[c] = 0;
        image->params.outDelayMode[c] = 1;
        image->params.outDelayMs[c] = 1.5f + static_cast<float>(ch);
        image->params.outMute[c] = 0;
        image->params.outLocation[c] = ch;
    }
    return image;
}

void eightOutputsAndTheSum(benchmark::State& state) {
    const auto image = tunedImage();
    const std::vector<double> freqs = quilo::twentyFourthOctaveFrequencies();
    std::vector<int> all(8);
    std::iota(all.begin(), all.end(), 0);
    for (auto _ : state) {
        const quilo::SystemResponse system = quilo::computeSystemResponse(*image, freqs);
        const auto sum = quilo::listenerSum(system, all);
        benchmark::DoNotOptimize(sum.data());
    }
    state.counters["points"] = static_cast<double>(freqs.size());
}
BENCHMARK(eightOutputsAndTheSum)->Unit(benchmark::kMillisecond);

} // namespace
