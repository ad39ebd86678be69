#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace quilo {

// Name, position and word type of every named field of DspParams, in word order,
// as the parameter table names them. Arrays are one entry with their element count.
struct DspFieldInfo {
    std::string_view name;
    std::size_t firstWord;
    std::size_t count;
    bool isFloat;
};

std::span<const DspFieldInfo> dspFields();

// The field with that name, or nullptr.
const DspFieldInfo* findDspField(std::string_view name);

// The field holding word i, or nullptr for the unnamed words 6 and 14.
const DspFieldInfo* dspFieldOfWord(std::size_t word);

} // namespace quilo
