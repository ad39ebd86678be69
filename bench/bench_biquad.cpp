// Cost of designing one section, per band type family. Gains and frequencies move each
// iteration so no call can be folded away.
#include "dsp/Biquad.h"

#include <benchmark/benchmark.h>

namespace {

void designOne(benchmark::State& state, int type, double q) {
    double gain = -6.0;
    double freq = 900.0;
    for (auto _ : state) {
        gain = gain > 6.0 ? -6.0 : gain + 0.1;
        freq = freq > 1100.0 ? 900.0 : freq + 1.0;
        benchmark::DoNotOptimize(quilo::designBiquad(type, gain, freq, q, 0.0, quilo::kSampleRate));
    }
}

void peaking(benchmark::State& state) {
    designOne(state, quilo::Peaking, 1.41);
}
void lowShelf(benchmark::State& state) {
    designOne(state, quilo::LowShelf, 0.707);
}
void chebyshevLowPass(benchmark::State& state) {
    designOne(state, quilo::ChebyshevLowPass, 1.0);
}
void butterworthHighPass(benchmark::State& state) {
    designOne(state, quilo::ButterworthHighPass, 1.0);
}

} // namespace

BENCHMARK(peaking);
BENCHMARK(lowShelf);
BENCHMARK(chebyshevLowPass);
BENCHMARK(butterworthHighPass);
