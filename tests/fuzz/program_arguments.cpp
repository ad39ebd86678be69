// The desktop program's command line, one argument per line: whatever is given,
// an error is an option, a state file comes only with --emulate, the file to
// open is never an option, and the arguments as understood read back the same.
#include "FuzzCheck.h"
#include "app/ProgramArguments.h"

#include <string>
#include <vector>

using namespace quilo;

namespace {

bool same(const ProgramArguments& a, const ProgramArguments& b) {
    return a.emulate == b.emulate && a.emulatorFile == b.emulatorFile && a.file == b.file &&
           a.traceFile == b.traceFile && a.error == b.error;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> args;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        args.push_back(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    const ProgramArguments p = parseProgramArguments(args);
    FUZZ_CHECK(p.error.empty() || p.error.starts_with("--"), "an error that is no option");
    FUZZ_CHECK(p.emulate || p.emulatorFile.empty(), "a state file without --emulate");
    FUZZ_CHECK(!p.file.starts_with("--"), "an option taken for the file to open");

    // What was understood, written as arguments again, means the same.
    std::vector<std::string> again;
    if (p.emulate) {
        again.push_back(p.emulatorFile.empty() ? "--emulate" : "--emulate=" + p.emulatorFile);
    }
    if (!p.traceFile.empty()) {
        again.push_back("--trace=" + p.traceFile);
    }
    if (!p.file.empty()) {
        again.push_back(p.file);
    }
    // Last: a --trace left without its file must not take the file to open as one.
    if (!p.error.empty()) {
        again.push_back(p.error);
    }
    const std::vector<std::string_view> views(again.begin(), again.end());
    FUZZ_CHECK(same(parseProgramArguments(views), p), "arguments read back differently");
    return 0;
}
