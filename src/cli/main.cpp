#include "cli/Commands.h"
#include "device/ProtocolTrace.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace {

using namespace quilo::cli;
using quilo::ProtocolTrace;

struct Command {
    std::string_view name;
    int (*run)(Args);                         // commands without a processor
    int (*runOn)(Args, const GlobalOptions&); // commands that talk to one
    std::string_view usage;                   // empty: not listed by --help
};

const Command kCommands[] = {
    {"biquad", runBiquad, nullptr, "biquad TYPE GAIN_DB FREQ_HZ Q [EXTRA_DB]"},
    {"send", runSend, nullptr, "send FIELD VALUE"},
    {"band", runBand, nullptr, "band EQID BAND TYPE GAIN_DB FREQ_HZ Q"},
    {"decode", runDecode, nullptr, "decode HEX"},
    {"modefile", runModeFile, nullptr, "modefile dump FILE [--json] | modefile convert IN OUT"},
    {"room", runRoom, nullptr, "room W L LX LY X1 Y1 ... X8 Y8"},
    {"response", runResponse, nullptr, "response FILE OUTPUTS [--listener] [--freqs F1,F2,...]"},
    {"pull", nullptr, runPull, "[--emulate[=FILE]] pull OUT"},
    {"push", nullptr, runPush, "[--emulate[=FILE]] push IN"},
    {"info", nullptr, runInfo, "[--emulate[=FILE]] info"},
    {"devices", nullptr, runDevices, "[--emulate] devices"},
    {"get", nullptr, runGet, "[--emulate[=FILE]] get FIELD"},
    {"set", nullptr, runSet, "[--emulate[=FILE]] set FIELD VALUE"},
    {"mode", nullptr, runMode, "[--emulate[=FILE]] mode recall N | mode store N"},
    {"watch", nullptr, runWatch, "[--emulate=FILE] watch [FIELD...]"},
    {"owner", runOwner, nullptr, "owner"},
    {"web", runWeb, nullptr, "web on | web off | web pair | web list | web revoke NAME"},
    {"mqtt", nullptr, runMqtt, "[--emulate=FILE] mqtt on | off | status"},
    {"plugs", nullptr, runPlugs,
     "[--emulate[=FILE]] plugs | plugs add switch|dimmer|ir [NAME] | plugs remove"},
    {"plug", nullptr, runPlug, "[--emulate[=FILE]] plug ID VALUE"},
    {"scene", nullptr, runScene, "[--emulate[=FILE]] scene show N | scene run N"},
    {"frame", runFrame, nullptr, "frame NAME [ID VALUE]"},
    {"remote", nullptr, runRemote,
     "[--emulate[=FILE]] remote push FILE | remote pull FILE | remote learn KEY [--timeout "
     "SECONDS]"},
    {"eq", nullptr, runEq,
     "eq export FILE EQID | eq import FILE EQID TEXT [OUT] | [--emulate[=FILE]] eq apply EQID "
     "TEXT"},
    {"diff", nullptr, runDiff, "[--emulate[=FILE]] diff A [B]"},
    {"trace", runTrace, nullptr, "trace show FILE"},
    {"replay", nullptr, runReplay, "[--emulate[=FILE]] replay TRACE"},
    {"__fields", runFieldNames, nullptr, ""}, // for the shell completion
};

void printHelp() {
    std::cout
        << "usage: quiloctl [--emulate[=FILE]] [--trace FILE] COMMAND [ARGS...]\n\ncommands:\n";
    for (const auto& c : kCommands) {
        if (!c.usage.empty()) {
            std::cout << "  " << c.usage << '\n';
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    GlobalOptions options;
    std::size_t first = 0;
    std::optional<std::string> traceFile = ProtocolTrace::fileFromEnvironment();
    for (; first < args.size() &&
           (args[first].starts_with("--emulate") || args[first].starts_with("--trace"));
         ++first) {
        const std::string_view a = args[first];
        if (a == "--trace") {
            if (first + 1 == args.size()) {
                return usageError("--trace needs FILE");
            }
            traceFile = std::string(args[++first]);
        } else if (a.starts_with("--trace=") && a.size() > 8) {
            traceFile = std::string(a.substr(8));
        } else if (a == "--emulate") {
            options.emulate = true;
        } else if (a.starts_with("--emulate=") && a.size() > 10) {
            options.emulate = true;
            options.emulatorFile = std::string(a.substr(10));
        } else {
            return usageError("malformed option '" + std::string(a) +
                              "' (--emulate, --emulate=FILE or --trace FILE)");
        }
    }
    args.erase(args.begin(), args.begin() + std::ptrdiff_t(first));
    if (traceFile) {
        auto trace = std::make_shared<ProtocolTrace>();
        if (!trace->open(*traceFile)) {
            return failure("cannot open the trace file " + *traceFile);
        }
        options.trace = std::move(trace);
    }
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printHelp();
        return args.empty() ? kUsageError : 0;
    }
    for (const auto& c : kCommands) {
        if (c.name == args[0]) {
            const Args rest = Args(args).subspan(1);
            return c.run ? c.run(rest) : c.runOn(rest, options);
        }
    }
    return usageError("unknown command '" + std::string(args[0]) + "' (see quiloctl --help)");
}
