#pragma once

#include "device/Report.h"
#include "model/DspParams.h"
#include "model/ParamTable.h"

#include <array>
#include <cstdint>
#include <span>

namespace quilo {

// Parameter words in both directions, one codec per Wire kind: what a row of the
// parameter table sends for a field's value, and what a parameter reply puts back
// into the field.

// The words one row of the parameter table sends for a field's value.
struct ParamWords {
    std::array<std::uint32_t, 7> words{};
    std::size_t count = 0;

    std::span<const std::uint32_t> span() const { return {words.data(), count}; }
};

// The words of `row` for element `element` of its field as `params` holds it:
// single-word encodings repeated `count` times, the delay mode's two words, the
// compressor block of the row's group. Rows of no field (boost and level blocks)
// give nothing: their values are not in DspParams.
ParamWords encodeRow(const ParamRow& row, const DspParams& params, int element);

// Stores what a parameter reply (0x0A: [3] module, [4] parameter, words from
// [6]) says into its DspParams field, in display units. Modules and parameters
// we keep nothing of are ignored, and so is a word that is not a finite number:
// such a field keeps its value. Returns whether the parameter is one we keep.
bool decodeParamReply(const Report& report, DspParams& params);

} // namespace quilo
