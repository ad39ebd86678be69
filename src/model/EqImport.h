#pragma once

#include "device/ReportSink.h"
#include "model/DeviceImage.h"
#include "model/EqFilterText.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quilo {

// An equaliser's user bands (userBandCount) to and from a filter text. The
// crossover and delay split bands of an output are never part of it.

struct EqImportResult {
    std::vector<EqTextMessage> warnings;
    std::optional<EqTextMessage> refusal; // set: nothing was changed or sent
    bool ok() const { return !refusal; }
};

// The user bands of equaliser `eqId` as a filter text; empty for an unknown id.
std::string exportEqFilterText(const DeviceImage& image, int eqId);

// The refusal "too many filters" when the filters do not fit one of the
// equalisers of `eqIds` (an id outside 0-14 takes none); nothing when they fit.
std::optional<EqTextMessage> checkEqFilterFit(const EqFilterText& parsed,
                                              std::span<const int> eqIds);

// Puts the filters into the user bands of every equaliser of `eqIds` (one, or a
// linked set), from band 1 on, and makes the remaining user bands flat. Each band
// goes through applyBand, so it is stored and sent; band by band, each band to
// the equalisers in the order given. Refused with nothing changed or sent when
// the text was refused or the filters do not fit (checkEqFilterFit).
EqImportResult applyEqFilters(const EqFilterText& parsed, std::span<const int> eqIds,
                              DeviceImage& image, ReportSink& sink);

// parseEqFilterText, then applyEqFilters.
EqImportResult importEqFilterText(std::string_view text, std::span<const int> eqIds,
                                  DeviceImage& image, ReportSink& sink);

} // namespace quilo
