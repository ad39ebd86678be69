#include "connection/FieldSnapshot.h"

#include <gtest/gtest.h>

#include <memory>

namespace quilo {
namespace {

// What a look after each kind of change names: whoever changed the image, the
// fields that differ; the live status, which moves all the time, never.
TEST(FieldSnapshot, NamesTheChangedFieldsAndLeavesTheLiveStatusOut) {
    auto image = std::make_unique<DeviceImage>();
    image->resetToDefaults();
    FieldSnapshot snapshot;
    EXPECT_TRUE(snapshot.update(*image).empty()); // the first look only remembers

    struct Case {
        const char* what;
        void (*change)(DeviceImage&);
        std::vector<std::string> named;
    };
    const Case cases[] = {
        {"a parameter", [](DeviceImage& i) { i.params.micVolume = 12; }, {"micVolume"}},
        {"two at once",
         [](DeviceImage& i) {
             i.params.micVolume = 13;
             i.currentMode = 2;
         },
         {"currentMode", "micVolume"}},
        {"the live status",
         [](DeviceImage& i) {
             LiveStatusBytes status{};
             status.fill(7);
             i.liveStatus.store(status);
         },
         {}},
        {"nothing", [](DeviceImage&) {}, {}},
    };
    for (const Case& c : cases) {
        c.change(*image);
        EXPECT_EQ(snapshot.update(*image), c.named) << c.what;
    }
    EXPECT_EQ(fieldText(*image, "micVolume"), "13");
    EXPECT_FALSE(fieldText(*image, "noSuchField"));
}

} // namespace
} // namespace quilo
