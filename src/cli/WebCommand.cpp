#include "cli/Commands.h"
#include "web/WebClient.h"

#include <iostream>

namespace quilo::cli {

// web on|off|pair|list|revoke NAME: the owner's phone remote, through the bus.
int runWeb(Args args) {
    static constexpr std::string_view kUsage = "web needs on, off, pair, list or revoke NAME";
    if (args.empty()) {
        return usageError(kUsage);
    }
    const std::string_view what = args[0];
    std::string method;
    if (what == "on" && args.size() == 1) {
        method = "On";
    } else if (what == "off" && args.size() == 1) {
        method = "Off";
    } else if (what == "pair" && args.size() == 1) {
        method = "Pair";
    } else if (what == "list" && args.size() == 1) {
        method = "List";
    } else if (what == "revoke" && args.size() == 2) {
        method = "Revoke";
    } else {
        return usageError(kUsage);
    }
    const WebReply reply = callWebRemote(method, args.size() == 2 ? std::string(args[1]) : "");
    if (!reply.reached) {
        return failure("web: no owner of the processor is running (start quilod or quilo)");
    }
    if (!reply.error.empty()) {
        const std::string text = "web " + std::string(what) + ": " + reply.error;
        return reply.invalidArgs ? usageError(text) : failure(text);
    }
    for (const std::string& line : reply.lines) {
        std::cout << line << '\n';
    }
    return 0;
}

} // namespace quilo::cli
