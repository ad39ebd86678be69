// Importing a measurement tool's 9-filter list into an output equaliser with all
// eight channels linked: parsing, limits, band records, biquad design and the 144
// reports queued into a recording sink; and the same with the undo history recording it.
#include "device/RecordingSink.h"
#include "model/EditHistory.h"
#include "model/EqImport.h"

#include <benchmark/benchmark.h>

#include <array>
#include <memory>

namespace {

constexpr const char* kNineFilters = "Filter Settings file\r\n"
                                     "\r\n"
                                     "Equaliser: Generic\r\n"
                                     "Filter  1: ON  LSC Fc    45 Hz Gain   4.5 dB Q 0.71\r\n"
                                     "Filter  2: ON  PK  Fc    63 Hz Gain  -5.0 dB Q 4.00\r\n"
                                     "Filter  3: ON  PK  Fc   118 Hz Gain  -7.5 dB Q 6.20\r\n"
                                     "Filter  4: ON  PK  Fc   240 Hz Gain   2.0 dB Q 1.80\r\n"
                                     "Filter  5: ON  PK  Fc   612 Hz Gain  -3.5 dB Q 2.40\r\n"
                                     "Filter  6: ON  PK  Fc  1500 Hz Gain   1.5 dB Q 0.90\r\n"
                                     "Filter  7: ON  PK  Fc  3200 Hz Gain  -2.0 dB Q 3.00\r\n"
                                     "Filter  8: ON  HSC Fc  9000 Hz Gain  -1.5 dB Q 0.71\r\n"
                                     "Filter  9: ON  HPQ Fc    25 Hz Q 0.71\r\n";

void importIntoEightLinkedOutputs(benchmark::State& state) {
    auto image = std::make_unique<quilo::DeviceImage>();
    image->resetToDefaults();
    quilo::RecordingSink sink;
    const std::array<int, 8> linked{7, 8, 9, 10, 11, 12, 13, 14};
    for (auto _ : state) {
        sink.clear();
        const quilo::EqImportResult r =
            quilo::importEqFilterText(kNineFilters, linked, *image, sink);
        benchmark::DoNotOptimize(r.refusal.has_value());
    }
    state.counters["reports"] = static_cast<double>(sink.reports().size());
}
BENCHMARK(importIntoEightLinkedOutputs)->Unit(benchmark::kMicrosecond);

// The import with the history recording it, and the step closed.
void recordedImportIntoEightLinkedOutputs(benchmark::State& state) {
    auto image = std::make_unique<quilo::DeviceImage>();
    image->resetToDefaults();
    quilo::RecordingSink sink;
    quilo::EditHistory history(*image);
    const std::array<int, 8> linked{7, 8, 9, 10, 11, 12, 13, 14};
    for (auto _ : state) {
        sink.clear();
        history.clear();
        const quilo::EqImportResult r =
            quilo::importEqFilterText(kNineFilters, linked, *image, sink);
        history.closeStep();
        benchmark::DoNotOptimize(r.refusal.has_value());
    }
    state.counters["reports"] = static_cast<double>(sink.reports().size());
}
BENCHMARK(recordedImportIntoEightLinkedOutputs)->Unit(benchmark::kMicrosecond);

} // namespace
