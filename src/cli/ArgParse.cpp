#include "cli/ArgParse.h"

#include "model/DecimalText.h"

namespace quilo::cli {

std::optional<double> parseNumber(std::string_view text) {
    return parseDecimal(text);
}

std::optional<long> parseInteger(std::string_view text) {
    return parseWholeNumber(text);
}

} // namespace quilo::cli
