#include "connection/NamedField.h"

#include "model/DecimalText.h"
#include "model/DspFields.h"

namespace quilo {

namespace {

// roomGain[i] takes one of the eight outputs.
constexpr int kRoomGainOutputs = 8;

} // namespace

std::optional<FieldRef> parseFieldRef(std::string_view text) {
    const auto open = text.find('[');
    if (open == std::string_view::npos) {
        return FieldRef{std::string(text), std::nullopt};
    }
    if (text.back() != ']' || open == 0) {
        return std::nullopt;
    }
    const auto index = parseWholeNumber(text.substr(open + 1, text.size() - open - 2));
    if (!index) {
        return std::nullopt;
    }
    return FieldRef{std::string(text.substr(0, open)), index};
}

std::string setNamedField(FieldSetters& setters, const FieldRef& ref, double value) {
    if (ref.name == "micBoost" && !ref.index) {
        setters.setMicBoost(static_cast<float>(-value));
        return {};
    }
    if (ref.name == "roomGain") {
        if (!ref.index || *ref.index < 0 || *ref.index >= kRoomGainOutputs) {
            return "roomGain needs an output index 0-7, as roomGain[i]";
        }
        setters.setRoomGain(static_cast<int>(*ref.index), static_cast<float>(value));
        return {};
    }
    const DspFieldInfo* field = findDspField(ref.name);
    if (!field) {
        return "unknown field '" + ref.name + "'";
    }
    if (field->count > 1 && !ref.index) {
        return ref.name + " is an array; name an element as " + ref.name + "[i]";
    }
    if (field->count == 1 && ref.index) {
        return ref.name + " is not an array";
    }
    const long index = ref.index.value_or(0);
    if (index < 0 || index >= static_cast<long>(field->count)) {
        return "index of " + ref.name + " must be 0-" + std::to_string(field->count - 1);
    }
    setters.setWord(field->firstWord + static_cast<std::size_t>(index), value);
    return {};
}

std::vector<std::string> settableFieldNames() {
    std::vector<std::string> names;
    for (const DspFieldInfo& field : dspFields()) {
        if (field.count == 1) {
            names.emplace_back(field.name);
            continue;
        }
        for (std::size_t i = 0; i < field.count; ++i) {
            names.push_back(std::string(field.name) + '[' + std::to_string(i) + ']');
        }
    }
    names.emplace_back("micBoost");
    for (int i = 0; i < kRoomGainOutputs; ++i) {
        names.push_back("roomGain[" + std::to_string(i) + ']');
    }
    return names;
}

} // namespace quilo
