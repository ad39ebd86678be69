#pragma once

#include "cli/Commands.h"
#include "connection/NamedField.h"

#include <optional>
#include <string>

namespace quilo::cli {

// FIELD VALUE as `send` and `set` take them.
struct FieldArgs {
    FieldRef field;
    double value = 0;
};

// Reads FIELD VALUE for `command`; on a usage error `problem` says why (as `command: …`).
std::optional<FieldArgs> parseFieldArgs(const std::string& command, Args args,
                                        std::string& problem);

} // namespace quilo::cli
