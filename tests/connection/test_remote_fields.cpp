#include "connection/RemoteFields.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quilo {
namespace {

TEST(RemoteFields, ValuesAreBroughtIntoTheRangeOfTheWindowsControls) {
    DeviceImage image{};
    image.machine.applied[machine::kMaxMicVolume] = 60;
    image.machine.applied[machine::kMaxMusicVolume] = 0; // not read yet: no limit
    struct Case {
        const char* name;
        double value;
        int expected;
    };
    const Case cases[] = {
        {"micVolume", 80, 60},
        {"micVolume", -3, 0},
        {"micVolume", 40.6, 41},
        {"musicVolume", 120, 99},
        {"effectVolume", 99.4, 99},
        {"musicPitch", 9, 5},
        {"musicPitch", -9, -5},
        {"micMute", 7, 1},
        {"micMute", 0, 0},
        {"echoVolume", std::numeric_limits<double>::quiet_NaN(), 0},
        {"reverbVolume", std::numeric_limits<double>::infinity(), 0},
    };
    for (const Case& c : cases) {
        const RemoteField* field = findRemoteField(c.name);
        ASSERT_NE(field, nullptr) << c.name;
        EXPECT_EQ(clampRemoteValue(image, *field, c.value), c.expected) << c.name << " " << c.value;
    }
    EXPECT_EQ(findRemoteField("outLevel"), nullptr);
}

TEST(RemoteFields, AMuteReadsAsZeroOrOne) {
    DeviceImage image{};
    image.params.musicMute = 5;
    EXPECT_EQ(remoteFieldValue(image, *findRemoteField("musicMute")), 1);
    image.params.musicPitch = -3;
    EXPECT_EQ(remoteFieldValue(image, *findRemoteField("musicPitch")), -3);
}

} // namespace
} // namespace quilo
