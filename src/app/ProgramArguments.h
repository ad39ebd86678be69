#pragma once

#include <span>
#include <string>
#include <string_view>

namespace quilo {

// The desktop program's arguments after its name, read as given (plain C++, so
// that it can be fuzzed without Qt):
//   [--emulate[=STATEFILE]] [--trace FILE | --trace=FILE] [MODEFILE.quilo | REMOTEFILE.remo]
// The first file counts; an unknown option is kept as the error.
struct ProgramArguments {
    bool emulate = false;
    std::string emulatorFile; // may be empty with --emulate
    std::string file;         // the file to open, as given
    std::string traceFile;    // where to record the protocol trace, or empty
    std::string error;        // the first option that is not known
};

ProgramArguments parseProgramArguments(std::span<const std::string_view> arguments);

} // namespace quilo
