// The debug log: kept lines, their bound and the environment switch.
#include "device/DebugLog.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace quilo;

TEST(DebugLog, KeepsLinesExactlyAndOnlyTheMostRecent) {
    DebugLog log(false, 3);
    log.write("设备路径:\r\n/dev/hidraw1");
    log.write("removed!\n");
    log.write("removed!\n");
    EXPECT_EQ(log.count("removed!\n"), 2u);
    EXPECT_EQ(log.count("removed!"), 0u);
    log.write("x");
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"removed!\n", "removed!\n", "x"}));
    log.clear();
    EXPECT_TRUE(log.lines().empty());
}

TEST(DebugLog, EchoIsSwitchedOnOnlyByQuiloDebugOne) {
    ::setenv("QUILO_DEBUG", "1", 1);
    EXPECT_TRUE(DebugLog::echoRequestedByEnvironment());
    ::setenv("QUILO_DEBUG", "0", 1);
    EXPECT_FALSE(DebugLog::echoRequestedByEnvironment());
    ::unsetenv("QUILO_DEBUG");
    EXPECT_FALSE(DebugLog::echoRequestedByEnvironment());
}

TEST(DebugLog, EchoedLinesGoToStandardError) {
    DebugLog log(true);
    testing::internal::CaptureStderr();
    log.write("Read Usb Error will return !\n");
    log.write("usb数据写入出错");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Read Usb Error will return !\nusb数据写入出错\n");
}
