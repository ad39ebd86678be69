#include "cli/FieldArgs.h"

#include "cli/ArgParse.h"

namespace quilo::cli {

std::optional<FieldArgs> parseFieldArgs(const std::string& command, Args args,
                                        std::string& problem) {
    if (args.size() != 2) {
        problem = command + " needs FIELD VALUE";
        return std::nullopt;
    }
    const auto ref = parseFieldRef(args[0]);
    if (!ref) {
        problem = command + ": malformed field '" + std::string(args[0]) + "'";
        return std::nullopt;
    }
    const auto value = parseNumber(args[1]);
    if (!value) {
        problem = command + ": VALUE must be a number, got '" + std::string(args[1]) + "'";
        return std::nullopt;
    }
    return FieldArgs{*ref, *value};
}

} // namespace quilo::cli
