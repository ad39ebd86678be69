#include "model/DecimalText.h"

#include <charconv>
#include <cmath>

namespace quilo {

namespace {

// Drops a leading '+', which from_chars does not take; false when a '-'
// follows it, as "+-5" has one sign too many.
bool dropPlus(std::string_view& text) {
    if (!text.starts_with('+')) {
        return true;
    }
    text.remove_prefix(1);
    return !text.starts_with('-');
}

} // namespace

std::optional<double> parseDecimal(std::string_view text) {
    if (!dropPlus(text)) {
        return std::nullopt;
    }
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<long> parseWholeNumber(std::string_view text) {
    if (!dropPlus(text)) {
        return std::nullopt;
    }
    long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

} // namespace quilo
