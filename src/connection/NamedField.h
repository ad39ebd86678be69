#pragma once

#include "model/FieldSetters.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quilo {

// A field as scripts name it: "name" or "name[i]".
struct FieldRef {
    std::string name;
    std::optional<long> index;
};

// Nothing when the text is not of that form.
std::optional<FieldRef> parseFieldRef(std::string_view text);

// Sets a field through the setters, exactly as the pages send it: every DspParams
// field (array elements as name[i]), micBoost in dB as the boost slider shows it,
// and roomGain[i]. Empty on success, otherwise why not; nothing changed then.
std::string setNamedField(FieldSetters& setters, const FieldRef& field, double value);

// Every name setNamedField takes, in the order `quiloctl __fields` lists them.
std::vector<std::string> settableFieldNames();

} // namespace quilo
