#pragma once

#include "model/ParamTable.h"

#include <array>
#include <cstdint>
#include <span>

namespace quilo {

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

} // namespace quilo
