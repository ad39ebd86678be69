#pragma once

#include "model/EqBand.h"
#include "model/EqTextMessage.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quilo {

// The plain-text filter lists that room-measurement and headphone-correction
// tools read and write, one filter a line:
//
//   Preamp: -6.2 dB
//   Filter 1: ON PK Fc 63 Hz Gain -5.0 dB Q 4.00
//   Filter: ON LSC Fc 105 Hz Gain 3.5 dB Q 0.71
//   Filter 3: OFF HPQ Fc 30 Hz Q 0.71
//   Filter 4: ON None
//
// Types: PK and PEQ (peaking), LP and LPQ (low-pass), HP and HPQ (high-pass),
// LS and LSC (low shelf), HS and HSC (high shelf); the Q of a shelf is its Q, and
// a pass or shelf filter without one gets 0.707. Filter numbers are only for the
// reader: filters take bands in the order they are written. "None" filters take
// no band. Every line that is neither a filter nor a preamp (headers, notes,
// comments, blank lines) is passed over. Numbers use a decimal point; CR LF and
// LF line ends both work.

// One filter as it will be stored: type 0 for an OFF filter, which keeps its
// values so that a band switched off survives an export and import.
struct ParsedFilter {
    int line = 0;
    EqBand band;
};

struct EqFilterText {
    std::vector<ParsedFilter> filters;
    std::vector<EqTextMessage> warnings;
    std::optional<EqTextMessage> refusal; // set: nothing may be imported
    bool ok() const { return !refusal; }
};

// Reads a filter text and brings every value into the band limits (gain +-15 dB
// in tenths, 20-20000 Hz in whole hertz, Q 0.1-30 for peaking and 0.1-2 for the
// other types in thousandths), with one warning per value changed. The first
// line that cannot be taken refuses the whole text.
EqFilterText parseEqFilterText(std::string_view text);

// The bands as a filter text, numbered from 1, one LF-ended line each: peaking as
// PK, low- and high-pass as LPQ/HPQ, shelves as LSC/HSC, any other type as an
// OFF peaking filter with the band's values.
std::string formatEqFilterText(std::span<const EqBand> bands);

// A Q as the band record keeps it (thousandths), with at least two decimals:
// "4.00", "1.414", "0.707".
std::string formatQ(double q);

} // namespace quilo
