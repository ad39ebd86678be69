#include "app/ProgramArguments.h"

namespace quilo {

ProgramArguments parseProgramArguments(std::span<const std::string_view> arguments) {
    constexpr std::string_view kEmulate = "--emulate";
    ProgramArguments p;
    constexpr std::string_view kTrace = "--trace";
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view a = arguments[i];
        if (a == kTrace && i + 1 < arguments.size()) {
            p.traceFile = std::string(arguments[++i]);
        } else if (a.starts_with("--trace=") && a.size() > kTrace.size() + 1) {
            p.traceFile = std::string(a.substr(kTrace.size() + 1));
        } else if (a == kEmulate) {
            p.emulate = true;
        } else if (a.starts_with(kEmulate) && a.size() > kEmulate.size() &&
                   a[kEmulate.size()] == '=') {
            p.emulate = true;
            p.emulatorFile = std::string(a.substr(kEmulate.size() + 1));
        } else if (a.starts_with("--")) {
            if (p.error.empty()) {
                p.error = std::string(a);
            }
        } else if (p.file.empty()) {
            p.file = std::string(a);
        }
    }
    return p;
}

} // namespace quilo
