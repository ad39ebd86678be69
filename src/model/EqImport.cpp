#include "model/EqImport.h"

#include "model/BandOps.h"

#include <algorithm>

namespace quilo {

std::string exportEqFilterText(const DeviceImage& image, int eqId) {
    const auto eq = eqInfo(eqId);
    if (!eq) {
        return {};
    }
    std::vector<EqBand> bands;
    for (int b = 0; b < userBandCount(eqId); ++b) {
        EqBandRecord record;
        const auto at = std::ptrdiff_t(bandAddress(eq->module, eq->firstBand + b));
        std::copy_n(image.eqBands.begin() + at, record.size(), record.begin());
        bands.push_back(decodeBand(record));
    }
    return formatEqFilterText(bands);
}

std::optional<EqTextMessage> checkEqFilterFit(const EqFilterText& parsed,
                                              std::span<const int> eqIds) {
    const int count = static_cast<int>(parsed.filters.size());
    int fit = count;
    for (const int eqId : eqIds) {
        fit = std::min(fit, userBandCount(eqId));
    }
    if (fit >= count) {
        return std::nullopt;
    }
    EqTextMessage m;
    m.issue = EqTextIssue::TooManyFilters;
    m.given = count;
    m.stored = fit;
    return m;
}

EqImportResult applyEqFilters(const EqFilterText& parsed, std::span<const int> eqIds,
                              DeviceImage& image, ReportSink& sink) {
    EqImportResult result{parsed.warnings, parsed.refusal};
    if (!result.ok()) {
        return result;
    }
    if ((result.refusal = checkEqFilterFit(parsed, eqIds))) {
        return result;
    }
    int widest = 0;
    for (const int eqId : eqIds) {
        widest = std::max(widest, userBandCount(eqId));
    }
    const std::size_t count = parsed.filters.size();
    BandOps ops(image, sink);
    for (int b = 0; b < widest; ++b) {
        for (const int eqId : eqIds) {
            if (b >= userBandCount(eqId)) {
                continue;
            }
            const std::size_t i = static_cast<std::size_t>(b);
            const EqBand v = i < count ? parsed.filters[i].band : flatBand(eqId, b);
            ops.applyBand(eqId, b, v.type, v.gainDb, v.freqHz, v.q);
        }
    }
    return result;
}

EqImportResult importEqFilterText(std::string_view text, std::span<const int> eqIds,
                                  DeviceImage& image, ReportSink& sink) {
    return applyEqFilters(parseEqFilterText(text), eqIds, image, sink);
}

} // namespace quilo
