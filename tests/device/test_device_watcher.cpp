// The device watcher: it either listens, or says why it cannot.
#include "device/DeviceWatcher.h"

#include <gtest/gtest.h>

using namespace quilo;

TEST(DeviceWatcher, StartsListeningOrReportsTheFailure) {
    DebugLog log;
    DeviceWatcher watcher(log);
    std::string text, caption;
    int failures = 0;
    watcher.setStartFailedCallback([&](std::string_view t, std::string_view c) {
        ++failures;
        text = t;
        caption = c;
    });
    int events = 0;
    watcher.setArrivalCallback([&](const std::string&) { ++events; });
    watcher.setRemovalCallback([&](const std::string&) { ++events; });

    if (watcher.start()) {
        EXPECT_TRUE(watcher.running());
        EXPECT_GE(watcher.fd(), 0);
        EXPECT_EQ(failures, 0);
        // Whatever comes or goes meanwhile, each event reaches one callback.
        const int reported = watcher.waitAndProcess(std::chrono::milliseconds(10));
        EXPECT_EQ(reported, events);
        EXPECT_TRUE(watcher.start()); // already running
        watcher.stop();
    } else {
        EXPECT_EQ(failures, 1);
        EXPECT_EQ(text, "Can't register device notification: ");
        EXPECT_EQ(caption, "Error");
        EXPECT_TRUE(log.contains("注册Guid错误，可能不能捕捉设备的连接或移除\n"));
    }
    EXPECT_FALSE(watcher.running());
    EXPECT_EQ(watcher.fd(), -1);
    EXPECT_EQ(watcher.process(), 0);
    EXPECT_EQ(watcher.waitAndProcess(std::chrono::milliseconds(1)), 0);
}
