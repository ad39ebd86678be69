#include "device/PermissionProblem.h"

namespace quilo {

std::string permissionProblemText(int language, std::string_view path) {
    const bool en = language == 1;
    std::string text = en ? "The processor is attached" : "已检测到处理器";
    if (!path.empty()) {
        text += en ? " (" : "（";
        text += path;
        text += en ? ")" : "）";
    }
    text += en ? " but this user has no permission to open it. Install the udev rule "
               : "，但当前用户没有权限打开它。请安装 udev 规则 ";
    text += kUdevRulePath;
    text += en ? " (it comes with the quilo package), run " : "（随 quilo 软件包提供），执行 ";
    text += kUdevReloadCommand;
    text +=
        en ? ", then unplug the processor and plug it in again." : "，然后拔下处理器并重新插上。";
    return text;
}

std::string_view permissionStatusText(int language) {
    return language == 1 ? "USB:No permission" : "USB：无访问权限";
}

} // namespace quilo
