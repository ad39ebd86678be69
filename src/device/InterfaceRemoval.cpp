#include "device/InterfaceRemoval.h"

#include "device/UsbLink.h"

#include <algorithm>

namespace quilo {

namespace {

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool sameInterfacePath(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

bool handleInterfaceRemoval(UsbLink& link, std::string_view removedPath) {
    link.log().write("removed!\n");
    if (!link.linkOpen()) {
        return false;
    }
    const std::string opened = link.devicePath();
    if (opened.empty() || !sameInterfacePath(opened, removedPath)) {
        return false;
    }
    link.closeLink(false);
    return true;
}

} // namespace quilo
