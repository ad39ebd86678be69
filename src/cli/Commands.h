#pragma once

#include <span>
#include <string_view>

namespace quilo::cli {

// Arguments after the subcommand name.
using Args = std::span<const std::string_view>;

// Exit status for a usage error: unknown name, missing or malformed argument.
constexpr int kUsageError = 2;

// Prints "quiloctl: <message>" on standard error and returns kUsageError.
int usageError(std::string_view message);

// One function per subcommand; each returns the process exit status.
int runBiquad(Args args);
int runSend(Args args);
int runBand(Args args);
int runDecode(Args args);

} // namespace quilo::cli
