#pragma once

#include <string>
#include <string_view>

namespace quilo {

// The udev rule that gives the user at the seat access to the processor, where
// the package installs it, and the command that makes udev read it.
inline constexpr std::string_view kUdevRuleFile = "70-quilo.rules";
inline constexpr std::string_view kUdevRulePath = "/usr/lib/udev/rules.d/70-quilo.rules";
inline constexpr std::string_view kUdevReloadCommand =
    "sudo udevadm control --reload-rules && sudo udevadm trigger";

// What to tell the user when the processor is attached at `path` but this user
// may not open it: the rule, the reload command and to plug the processor in
// again. Language 1 English, any other Chinese; UTF-8, one line. An empty path
// is left out.
std::string permissionProblemText(int language, std::string_view path);

// The short form for the status bar's connection field.
std::string_view permissionStatusText(int language);

} // namespace quilo
