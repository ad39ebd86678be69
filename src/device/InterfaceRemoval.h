#pragma once

#include <string_view>

namespace quilo {

class UsbLink;

// Interface paths name the same interface when they differ at most in letter case.
bool sameInterfacePath(std::string_view a, std::string_view b);

// What the link does when an interface goes away: every removal is logged, and
// the link closes (without Goodbye) only when the opened interface is the one
// removed. True when the link was closed.
bool handleInterfaceRemoval(UsbLink& link, std::string_view removedPath);

} // namespace quilo
