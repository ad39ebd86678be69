#include "cli/Commands.h"

#include <iostream>

namespace quilo::cli {

int usageError(std::string_view message) {
    std::cerr << "quiloctl: " << message << '\n';
    return kUsageError;
}

int failure(std::string_view message) {
    std::cerr << "quiloctl: " << message << '\n';
    return kFailure;
}

} // namespace quilo::cli
