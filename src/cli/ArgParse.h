#pragma once

#include <optional>
#include <string_view>

namespace quilo::cli {

// A finite decimal number with nothing after it; nullopt otherwise.
std::optional<double> parseNumber(std::string_view text);
// A whole decimal number with nothing after it; nullopt otherwise.
std::optional<long> parseInteger(std::string_view text);

} // namespace quilo::cli
