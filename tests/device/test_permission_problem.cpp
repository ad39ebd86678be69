// The explanation shown when the processor is attached but may not be opened.
#include "device/PermissionProblem.h"

#include <gtest/gtest.h>

using namespace quilo;

TEST(PermissionProblem, BothLanguagesNameTheNodeTheRuleTheReloadAndTheReplug) {
    const struct {
        int language;
        const char* replug;
        const char* emptyParens;
    } languages[] = {{0, "拔下处理器并重新插上", "（）"},
                     {1, "unplug the processor and plug it in again", "()"},
                     {2, "拔下处理器并重新插上", "（）"}}; // anything but 1 is Chinese
    for (const auto& l : languages) {
        SCOPED_TRACE(l.language);
        const std::string text = permissionProblemText(l.language, "/dev/hidraw7");
        EXPECT_NE(text.find("/dev/hidraw7"), std::string::npos);
        EXPECT_NE(text.find("/usr/lib/udev/rules.d/70-quilo.rules"), std::string::npos);
        EXPECT_NE(text.find("udevadm control --reload-rules && sudo udevadm trigger"),
                  std::string::npos);
        EXPECT_NE(text.find(l.replug), std::string::npos);
        EXPECT_EQ(text.find('\n'), std::string::npos); // one line for the command-line tool
        // Without a node the sentence reads on without an empty bracket.
        EXPECT_EQ(permissionProblemText(l.language, "").find(l.emptyParens), std::string::npos);
    }
    EXPECT_NE(permissionProblemText(0, "x"), permissionProblemText(1, "x"));
    EXPECT_EQ(permissionStatusText(1), "USB:No permission");
    EXPECT_EQ(permissionStatusText(0), "USB：无访问权限");
}
