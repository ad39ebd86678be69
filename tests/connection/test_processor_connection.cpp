#include "connection/CallLoop.h"
#include "connection/ProcessorConnection.h"
#include "device/ReportBuilder.h"
#include "model/FieldSetters.h"

#include <gtest/gtest.h>

#include <thread>

namespace quilo {
namespace {

using namespace std::chrono_literals;

struct Recorder : ConnectionEvents {
    int syncs = 0;
    std::thread::id thread;
    void syncDone(SyncRunner::Direction, std::uint64_t) override {
        ++syncs;
        thread = std::this_thread::get_id();
    }
};

ConnectionOptions emulatedWithoutPauses() {
    ConnectionOptions options;
    options.emulate = true;
    options.syncTimings = {0ms, 0ms, 0ms, 0ms, 0ms, 0ms};
    return options;
}

// This test's thread owns the connection and runs its loop; the read thread and
// the synchronisation worker reach the image and the events only through it.
TEST(ProcessorConnection, RepliesAndEventsReachTheOwnerThreadThroughItsLoop) {
    DeviceImage image;
    image.resetToDefaults();
    image.info = DeviceInfo{};
    CallLoop loop;
    Recorder events;
    ProcessorConnection connection(image, emulatedWithoutPauses(), loop.poster(), events);
    ASSERT_TRUE(connection.openLink());

    const std::uint8_t model = codeByte(Command::GetModel);
    const std::uint64_t seen = connection.replies().count(model);
    connection.writer().send(buildCommand(Command::GetModel));
    ASSERT_TRUE(connection.replies().await(model, seen, 2s));
    // The reply has come and waits in the queue until the owner drains it.
    EXPECT_TRUE(image.info.modelName.empty());
    EXPECT_TRUE(loop.runUntil([&] { return !image.info.modelName.empty(); }, 2s));

    connection.sync().startPull();
    EXPECT_FALSE(image.mainThreadOwns());
    ASSERT_TRUE(loop.runUntil([&] { return events.syncs == 1; }, 10s));
    EXPECT_EQ(events.thread, std::this_thread::get_id());
    EXPECT_TRUE(image.mainThreadOwns());
    EXPECT_EQ(image.info.protocolVersion, kExpectedProtocol);
}

// An edit still queued when a read-back starts reaches the processor first, so the
// read-back brings it back rather than the value it replaced.
TEST(ProcessorConnection, AReadBackDoesNotOvertakeTheEditsQueuedBeforeIt) {
    DeviceImage image;
    image.resetToDefaults();
    CallLoop loop;
    Recorder events;
    ProcessorConnection connection(image, emulatedWithoutPauses(), loop.poster(), events);
    ASSERT_TRUE(connection.openLink());
    connection.sync().startPull();
    ASSERT_TRUE(loop.runUntil([&] { return events.syncs == 1; }, 10s));
    ASSERT_NE(image.params.micVolume, 40);

    connection.writer().pause(300ms); // the writer is still busy with what came before
    FieldSetters(image, connection.writer()).set(&DspParams::micVolume, 40);
    connection.sync().startPull();
    ASSERT_TRUE(loop.runUntil([&] { return events.syncs == 2; }, 10s));
    EXPECT_EQ(image.params.micVolume, 40);
}

} // namespace
} // namespace quilo
