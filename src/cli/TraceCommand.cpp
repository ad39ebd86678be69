#include "cli/Commands.h"
#include "cli/TraceText.h"
#include "device/TraceLine.h"

#include <fstream>
#include <iostream>
#include <string>

namespace quilo::cli {

// trace show FILE: every line of a protocol trace, decoded.
int runTrace(Args args) {
    if (args.size() != 2 || args[0] != "show") {
        return usageError("trace needs show FILE");
    }
    const std::string file(args[1]);
    std::ifstream in(file);
    if (!in) {
        return failure("cannot read the trace file " + file);
    }
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        const auto entry = parseTraceLine(text);
        if (!entry) {
            std::cout << "line " << number << ": not a trace line\n";
            continue;
        }
        std::cout << describeTraceEntry(*entry) << '\n';
    }
    return 0;
}

} // namespace quilo::cli
