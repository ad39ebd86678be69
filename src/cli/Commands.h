#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quilo {
class TraceSink;
}

namespace quilo::cli {

// Arguments after the subcommand name.
using Args = std::span<const std::string_view>;

// Exit status for a usage error: unknown name, missing or malformed argument.
constexpr int kUsageError = 2;
// Exit status when the work itself fails: no processor, a bad file.
constexpr int kFailure = 1;

// The language of the tool's messages, as the core's texts count them (1 English).
constexpr int kMessageLanguage = 1;

// Prints "quiloctl: <message>" on standard error and returns kUsageError.
int usageError(std::string_view message);
// Prints "quiloctl: <message>" on standard error and returns kFailure.
int failure(std::string_view message);

// Options given before the command name.
struct GlobalOptions {
    // --emulate[=FILE]: the in-process emulated processor instead of the USB
    // device; with FILE its state is loaded from there (when it exists) and saved
    // back at exit.
    bool emulate = false;
    std::optional<std::string> emulatorFile;
    // --trace FILE or QUILO_TRACE: every report to and from the processor goes here.
    std::shared_ptr<TraceSink> trace;
};

// One function per subcommand; each returns the process exit status.
int runBiquad(Args args);
int runSend(Args args);
int runFieldNames(Args args);
int runBand(Args args);
int runDecode(Args args);
int runModeFile(Args args);
int runRoom(Args args);
int runResponse(Args args);
int runPull(Args args, const GlobalOptions& options);
int runPush(Args args, const GlobalOptions& options);
int runInfo(Args args, const GlobalOptions& options);
int runDevices(Args args, const GlobalOptions& options);
int runPlugs(Args args, const GlobalOptions& options);
int runPlug(Args args, const GlobalOptions& options);
int runScene(Args args, const GlobalOptions& options);
int runFrame(Args args);
int runRemote(Args args, const GlobalOptions& options);
int runEq(Args args, const GlobalOptions& options);
int runDiff(Args args, const GlobalOptions& options);
int runReplay(Args args, const GlobalOptions& options);
int runTrace(Args args);
int runGet(Args args, const GlobalOptions& options);
int runSet(Args args, const GlobalOptions& options);
int runWatch(Args args, const GlobalOptions& options);
int runMode(Args args, const GlobalOptions& options);
int runOwner(Args args);
int runMqtt(Args args, const GlobalOptions& options);
int runWeb(Args args);

} // namespace quilo::cli
