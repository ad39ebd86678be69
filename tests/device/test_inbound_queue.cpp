// The read thread's side of the image's threading rule: what it keeps to itself,
// what waits for the image's owner, and that a paced writer finds the reply to
// its previous report queued when its write returns.
#include "InboundHelpers.h"
#include "device/DrainingSink.h"
#include "device/InboundQueue.h"
#include "device/LinkSink.h"
#include "device/ReportBuilder.h"
#include "device/UsbLink.h"
#include "emulator/Emulator.h"
#include "emulator/EmulatorTransport.h"
#include "model/InboundDispatcher.h"

#include <gtest/gtest.h>

#include <memory>

using namespace quilo;
using namespace quilo::test;

namespace {

struct Queue {
    std::unique_ptr<DeviceImage> image = std::make_unique<DeviceImage>();
    RecordingEvents events;
    InboundDispatcher dispatcher{*image, events};
    int notified = 0;
    InboundQueue queue{dispatcher, [this] { ++notified; }};
    Queue() { image->resetToDefaults(); }
};

} // namespace

TEST(InboundQueue, ImageDataWaitsForTheOwnerAndTheRestIsTakenAtOnce) {
    Queue q;
    const ImageSnapshot before(*q.image);
    struct Case {
        Report report;
        bool queued;
        std::vector<std::string> changedAtOnce;
    };
    const Case cases[] = {
        {reply(0x0E, {1, 2, 3}), false, {"liveStatus"}},
        {reply(0x09, {}), false, {"liveStatus", "settingsChanged"}},
        {reply(0x07, {2}), false, {"liveStatus", "currentMode", "settingsChanged"}},
        {reply(0x12, {5, 1, 3}), false, {"liveStatus", "currentMode", "settingsChanged"}},
        {paramReply(1, 14, {0x3F0020C5}), true, {"liveStatus", "currentMode", "settingsChanged"}},
        {reply(0x80, {'M', 'I'}), true, {"liveStatus", "currentMode", "settingsChanged"}},
        {reply(0x60, {0x00, 3, 0x44}), true, {"liveStatus", "currentMode", "settingsChanged"}},
        {reply(0xDB, {0x0F, 0x00, 2, 0, 'K'}),
         true,
         {"liveStatus", "currentMode", "settingsChanged"}},
    };
    std::size_t queued = 0;
    for (const Case& c : cases) {
        q.queue.handleReport(c.report);
        queued += c.queued ? 1 : 0;
        EXPECT_EQ(q.queue.size(), queued) << int(c.report[1]);
        EXPECT_EQ(q.notified, static_cast<int>(queued)) << int(c.report[1]);
        EXPECT_EQ(ImageSnapshot(*q.image).partsChanged(before), c.changedAtOnce)
            << int(c.report[1]);
    }
    // Events leave on the read thread, also for replies whose data waits.
    EXPECT_EQ(q.events.frames.size(), 1u);
    EXPECT_EQ(q.events.keys, std::vector<int>{0x44});

    EXPECT_EQ(q.queue.drain(), queued);
    EXPECT_EQ(q.queue.size(), 0u);
    EXPECT_EQ(q.image->params.micVolume, 50);
    EXPECT_EQ(q.image->info.modelName, u"MI");
    EXPECT_EQ(q.image->remoteKeys[3], 0x44);
    EXPECT_EQ(q.image->modeNames[0], u"K");

    q.queue.linkClosing();
    EXPECT_EQ(q.image->liveStatus.load(), LiveStatusBytes{});
}

TEST(InboundQueue, APacedWriteReturnsWithThePreviousReplyQueued) {
    Emulator emulator;
    EmulatorTransport transport(emulator);
    Queue q;
    DebugLog log;
    UsbLink link(transport, q.queue, log);
    ASSERT_TRUE(link.openLink());
    LinkSink paced(link);
    DrainingSink draining(paced, q.queue);

    for (int i = 0; i < 200; ++i) {
        ASSERT_EQ(paced.send(buildCommand(Command::GetProtocolVersion)), 61);
        ASSERT_EQ(paced.send(buildCommand(Command::GetCurrentMode)), 61);
        // The second write waited for the first reply, which was queued before
        // the link let the write go.
        ASSERT_GE(q.queue.size(), 1u) << i;
        q.queue.drain();
    }
    q.image->info.modelName.clear();
    draining.send(buildCommand(Command::GetModel));
    draining.send(buildCommand(Command::GetCurrentMode));
    EXPECT_EQ(q.image->info.modelName, u"MIVRAX");
    EXPECT_EQ(q.image->info.protocolVersion, 18);
    link.closeLink(false);
}
