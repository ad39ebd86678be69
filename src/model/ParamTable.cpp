#include "model/ParamTable.h"

#include <algorithm>

namespace quilo {

namespace {

constexpr std::int16_t kNone = -1;

// The first row of each field is the one it is read back by and named by.
constexpr bool isFirstRowOfField(std::size_t index) {
    const ParamRow& r = kParamTable[index];
    if (r.field.word == kNoWord) {
        return false;
    }
    for (std::size_t i = 0; i < index; ++i) {
        if (kParamTable[i].field.word == r.field.word) {
            return false;
        }
    }
    return true;
}

// Word of DspParams -> index of its field's first row.
constexpr auto kRowOfWord = [] {
    std::array<std::int16_t, DspParams::kWords> index{};
    index.fill(kNone);
    for (std::size_t i = 0; i < kParamTable.size(); ++i) {
        if (!isFirstRowOfField(i)) {
            continue;
        }
        const ParamField& f = kParamTable[i].field;
        for (std::size_t w = f.word; w < std::size_t(f.word) + f.elements; ++w) {
            // A word claimed twice, or past the end, stops the build below.
            index[w < index.size() ? w : 0] = index[w < index.size() ? w : 0] == kNone
                                                  ? static_cast<std::int16_t>(i)
                                                  : std::int16_t{-2};
        }
    }
    return index;
}();

// Every word of DspParams but the two unnamed ones belongs to exactly one field.
constexpr bool coversEveryNamedWordOnce() {
    for (std::size_t w = 0; w < kRowOfWord.size(); ++w) {
        const bool unnamed =
            w == offsetof(DspParams, reserved6) / 4 || w == offsetof(DspParams, reserved14) / 4;
        if ((kRowOfWord[w] < 0) != unnamed || kRowOfWord[w] == -2) {
            return false;
        }
    }
    return true;
}
static_assert(coversEveryNamedWordOnce());

// A shifter's off flag is the field right after its frequency.
static_assert(rowOf("shiftOffA").field.word == rowOf("shiftFreqA").field.word + 1);
static_assert(rowOf("shiftOffB").field.word == rowOf("shiftFreqB").field.word + 1);
// A compressor's four fields follow each other, one element apart.
static_assert(rowOf("musicCompReleaseMs").field.word == rowOf("musicCompThreshold").field.word + 3);
static_assert(rowOf("outCompReleaseMs").field.word == rowOf("outCompThreshold").field.word + 24);

constexpr int kModules = kFirstOutputModule + kOutputCount; // 1-12, 0 unused
constexpr int kParams = 64;

// (module, parameter) -> the first field row read from it (its index + 1, 0 for
// none) and the element addressed.
struct Slot {
    std::int16_t rowPlusOne;
    std::int8_t element;
};
constexpr auto kFieldAt = [] {
    std::array<std::array<Slot, kParams>, kModules> at{};
    for (std::size_t i = 0; i < kParamTable.size(); ++i) {
        if (!isFirstRowOfField(i)) {
            continue;
        }
        const ParamRow& r = kParamTable[i];
        for (int e = 0; e < r.field.elements; ++e) {
            Slot& slot = at[r.moduleOf(e)][r.paramOf(e)];
            if (slot.rowPlusOne == 0) { // the compressor's threshold before its other fields
                slot = {static_cast<std::int16_t>(i + 1), static_cast<std::int8_t>(e)};
            }
        }
    }
    return at;
}();

} // namespace

const ParamRow* firstRowOfWord(std::size_t word) {
    if (word >= kRowOfWord.size() || kRowOfWord[word] < 0) {
        return nullptr;
    }
    return &kParamTable[static_cast<std::size_t>(kRowOfWord[word])];
}

RowElement fieldRowAt(int module, int param) {
    if (module < 0 || module >= kModules || param < 0 || param >= kParams) {
        return {nullptr, 0};
    }
    const Slot slot = kFieldAt[static_cast<std::size_t>(module)][static_cast<std::size_t>(param)];
    if (slot.rowPlusOne == 0) {
        return {nullptr, 0};
    }
    return {&kParamTable[static_cast<std::size_t>(slot.rowPlusOne - 1)], slot.element};
}

std::vector<ParamAddress> readBackRequests() {
    std::vector<const ParamRow*> ranked;
    for (const ParamRow& r : kParamTable) {
        if (r.pullRank != 0) {
            ranked.push_back(&r);
        }
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const ParamRow* a, const ParamRow* b) {
        return a->pullRank < b->pullRank;
    });
    std::vector<ParamAddress> list;
    for (auto group = ranked.begin(); group != ranked.end();) {
        const auto end = std::find_if(group, ranked.end(), [&](const ParamRow* r) {
            return r->pullRank != (*group)->pullRank;
        });
        // Rows of one rank go element by element: every row for CH 1, then for CH 2...
        for (int e = 0; e < (*group)->field.elements; ++e) {
            for (auto r = group; r != end; ++r) {
                list.push_back(addressOf(**r, e));
            }
        }
        group = end;
    }
    return list;
}

} // namespace quilo
