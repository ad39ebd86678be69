#pragma once

#include <string>
#include <string_view>

namespace quilo::cli {

// `text` as a JSON string with its quotes. Quotes, backslashes and control
// characters are escaped; bytes that are not valid UTF-8 become U+FFFD, so the
// result is always valid UTF-8 JSON.
std::string jsonString(std::string_view text);

// Whether `text` is a number as JSON writes it ("-0.5", "1e+10"; not "nan",
// "inf", "+1", "01" or ".5").
bool isJsonNumber(std::string_view text);

} // namespace quilo::cli
