// Filter texts of measurement tools: what is taken lies within the band limits,
// an export of it reads back as the same bands, and an import either fills
// the equalisers whole or changes and sends nothing.
#include "FuzzCheck.h"
#include "device/InboundHelpers.h"
#include "device/RecordingSink.h"
#include "dsp/Biquad.h"
#include "dsp/EqBandSet.h"
#include "model/EqImport.h"

#include <array>
#include <cmath>
#include <memory>

using namespace quilo;
using namespace quilo::test;

namespace {

bool sameBand(const EqBand& a, const EqBand& b) {
    return a.type == b.type && a.gainDb == b.gainDb && a.freqHz == b.freqHz && a.q == b.q;
}

bool sameBands(const std::vector<ParsedFilter>& a, const std::vector<ParsedFilter>& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](auto& x, auto& y) {
               return sameBand(x.band, y.band);
           });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const EqFilterText parsed = parseEqFilterText(text);
    if (!parsed.ok()) {
        FUZZ_CHECK(parsed.filters.empty() && parsed.warnings.empty(),
                   "a refusal that keeps filters");
        return 0;
    }
    std::vector<EqBand> bands;
    for (const ParsedFilter& f : parsed.filters) {
        const EqBand& b = f.band;
        FUZZ_CHECK(b.type >= 0 && b.type <= HighShelf, "type");
        FUZZ_CHECK(b.freqHz >= 20.0f && b.freqHz <= 20000.0f && b.freqHz == std::round(b.freqHz),
                   "frequency outside 20-20000 Hz or not whole");
        FUZZ_CHECK(std::abs(b.gainDb) <= 15.0f, "gain outside +-15 dB");
        FUZZ_CHECK(b.q >= 0.1f - 1e-6f && b.q <= 30.0f, "Q outside 0.1-30");
        FUZZ_CHECK(!EqBandSet::gainIsFixed(b.type) || b.type == 0 || b.gainDb == 0.0f,
                   "a pass filter with gain");
        bands.push_back(b);
    }
    if (!bands.empty()) {
        const EqFilterText back = parseEqFilterText(formatEqFilterText(bands));
        FUZZ_CHECK(back.ok() && back.warnings.empty(), "an export is refused or changed on import");
        FUZZ_CHECK(sameBands(back.filters, parsed.filters), "an export reads back differently");
    }

    // Into the microphone equaliser A and the linked outputs CH 1 and CH 2.
    static constexpr std::array<int, 3> kEqIds{0, 7, 8};
    auto image = std::make_unique<DeviceImage>();
    image->resetToDefaults();
    const ImageSnapshot before(*image);
    RecordingSink sink;
    const EqImportResult imported = importEqFilterText(text, kEqIds, *image, sink);
    if (!imported.ok()) {
        FUZZ_CHECK(ImageSnapshot(*image).partsChanged(before).empty() && sink.entries().empty(),
                   "a refused import changed or sent something");
        return 0;
    }
    for (const int eqId : kEqIds) {
        const EqFilterText stored = parseEqFilterText(exportEqFilterText(*image, eqId));
        FUZZ_CHECK(stored.ok(), "the imported equaliser cannot be exported");
        FUZZ_CHECK(stored.filters.size() == std::size_t(userBandCount(eqId)), "band count");
        for (std::size_t i = 0; i < parsed.filters.size(); ++i) {
            FUZZ_CHECK(sameBand(stored.filters[i].band, parsed.filters[i].band),
                       "an imported band is stored differently");
        }
    }
    return 0;
}
