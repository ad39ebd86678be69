#include "cli/Commands.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace quilo::cli {

int usageError(std::string_view message) {
    std::cerr << "quiloctl: " << message << '\n';
    return kUsageError;
}

} // namespace quilo::cli

namespace {

using namespace quilo::cli;

struct Command {
    std::string_view name;
    int (*run)(Args);
    std::string_view usage;
};

const Command kCommands[] = {
    {"biquad", runBiquad, "biquad TYPE GAIN_DB FREQ_HZ Q [EXTRA_DB]"},
    {"send", runSend, "send FIELD VALUE"},
    {"band", runBand, "band EQID BAND TYPE GAIN_DB FREQ_HZ Q"},
    {"decode", runDecode, "decode HEX"},
};

void printHelp() {
    std::cout << "usage: quiloctl COMMAND [ARGS...]\n\ncommands:\n";
    for (const auto& c : kCommands) {
        std::cout << "  " << c.usage << '\n';
    }
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printHelp();
        return args.empty() ? kUsageError : 0;
    }
    for (const auto& c : kCommands) {
        if (c.name == args[0]) {
            return c.run(Args(args).subspan(1));
        }
    }
    return usageError("unknown command '" + std::string(args[0]) + "' (see quiloctl --help)");
}
