#pragma once

#include <optional>
#include <string_view>

namespace quilo {

// Numbers in the C locale whatever the user's locale: a point, never a comma.

// A finite decimal number with an optional sign and nothing after it; nullopt otherwise.
std::optional<double> parseDecimal(std::string_view text);
// A whole decimal number with an optional sign and nothing after it; nullopt otherwise.
std::optional<long> parseWholeNumber(std::string_view text);

} // namespace quilo
