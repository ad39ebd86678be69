#include "model/DspFields.h"

#include "model/ParamTable.h"

#include <vector>

namespace quilo {

namespace {

// The fields of the parameter table in word order.
const std::vector<DspFieldInfo>& fields() {
    static const std::vector<DspFieldInfo> list = [] {
        std::vector<DspFieldInfo> out;
        for (std::size_t w = 0; w < DspParams::kWords; ++w) {
            const ParamRow* row = firstRowOfWord(w);
            if (row != nullptr && row->field.word == w) {
                const ParamField& f = row->field;
                out.push_back({f.name, f.word, f.elements, f.isFloat});
            }
        }
        return out;
    }();
    return list;
}

} // namespace

std::span<const DspFieldInfo> dspFields() {
    return fields();
}

const DspFieldInfo* findDspField(std::string_view name) {
    for (const auto& f : fields()) {
        if (f.name == name) {
            return &f;
        }
    }
    return nullptr;
}

const DspFieldInfo* dspFieldOfWord(std::size_t word) {
    for (const auto& f : fields()) {
        if (word >= f.firstWord && word < f.firstWord + f.count) {
            return &f;
        }
    }
    return nullptr;
}

} // namespace quilo
