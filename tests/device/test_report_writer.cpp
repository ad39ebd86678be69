// The queued writer of the user-interface thread: order, pauses, coalescing, flush.
#include "FakeTransport.h"
#include "device/LinkSink.h"
#include "device/ReportBuilder.h"
#include "device/ReportWriter.h"
#include "device/UsbLink.h"
#include "model/FieldSetters.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

UsbLinkOptions options(std::chrono::milliseconds pacing) {
    UsbLinkOptions o;
    o.pacingWait = pacing;
    o.closeWait = 200ms;
    o.readSlice = 5ms;
    return o;
}

Report setParam(std::uint8_t module, std::uint8_t param, std::uint8_t value,
                std::uint8_t count = 1) {
    return reportOf({0x02, 0x09, 0x00, module, param, count, 0x3F, value});
}

// The link, its fake processor and the writer in front of it.
struct WriterFixture {
    explicit WriterFixture(std::chrono::milliseconds pacing = 5000ms)
        : link(transport, handler, log, options(pacing)), writer(link) {}

    FakeTransport transport;
    RecordingHandler handler;
    DebugLog log;
    UsbLink link;
    ReportWriter writer;
};

void reply(FakeTransport& t) {
    t.pushInbound(reportOf({0x02, 0x09}));
}

} // namespace

TEST(ReportWriter, WritesEverythingInCallingOrder) {
    WriterFixture f;
    f.transport.setReplyDelay(0us);
    ASSERT_TRUE(f.link.openLink());
    std::vector<Report> sent;
    for (std::uint8_t i = 0; i < 40; ++i) {
        sent.push_back(setParam(5 + i % 8, i, i));
        EXPECT_EQ(f.writer.send(sent.back()), 61);
        if (i % 10 == 0) {
            sent.push_back(reportOf({0x02, 0x12, 0x01, 0x06, i}));
            EXPECT_EQ(f.writer.sendUnpaced(sent.back()), 61);
        }
    }
    f.writer.flush();
    EXPECT_EQ(f.transport.writtenReports(), sent);
    EXPECT_EQ(f.writer.written(), sent.size());
}

TEST(ReportWriter, SendReturnsAtOnceWhileTheProcessorIsSilent) {
    WriterFixture f; // 5 s pacing, nobody answers
    ASSERT_TRUE(f.link.openLink());
    EXPECT_EQ(f.writer.send(setParam(1, 14, 1)), 61);
    ASSERT_TRUE(f.transport.waitForWrites(1));
    // The writer thread now waits for a reply; the caller must not.
    for (std::uint8_t i = 0; i < 20; ++i) {
        EXPECT_EQ(f.writer.send(reportOf({0x02, 0x0A, 0x00, 0x01, i, 0x01})), 61);
    }
    f.writer.pause(1000ms);
    EXPECT_EQ(f.transport.writeCount(), 1u);
    f.link.closeLink(false); // lets the writer thread drain without writing
    f.writer.flush();
    EXPECT_EQ(f.transport.writeCount(), 1u);
}

TEST(ReportWriter, NothingIsAcceptedWhileTheLinkIsClosedOrBroken) {
    WriterFixture f;
    EXPECT_EQ(f.writer.send(setParam(1, 14, 1)), 0);
    EXPECT_EQ(f.writer.sendUnpaced(setParam(1, 14, 1)), 0);
    f.writer.pause(500ms);
    f.writer.flush(); // nothing queued, so no wait
    EXPECT_EQ(f.writer.written(), 0u);

    ASSERT_TRUE(f.link.openLink());
    f.transport.failNextRead();
    ASSERT_TRUE(eventually([&] { return f.link.readThreadEnd(); }));
    EXPECT_EQ(f.writer.send(setParam(1, 14, 1)), 0);
    EXPECT_EQ(f.log.count("g_bReadThreadEnd == TRUE ,WriteUsbData return \n"), 1u);
    EXPECT_EQ(f.transport.writeCount(), 0u);
}

TEST(ReportWriter, PausesSpaceTheWritesWithoutHoldingTheCaller) {
    WriterFixture f;
    f.transport.setReplyDelay(0us);
    ASSERT_TRUE(f.link.openLink());
    const auto start = Clock::now();
    f.writer.send(setParam(4, 13, 0));
    f.writer.pause(80ms);
    f.writer.send(setParam(4, 13, 1));
    f.writer.pause(80ms);
    f.writer.send(setParam(4, 13, 2));
    const auto returned = Clock::now() - start;
    EXPECT_LT(returned, 80ms); // both pauses lie ahead of the writer thread
    f.writer.flush();
    const auto w = f.transport.written();
    ASSERT_EQ(w.size(), 3u);
    EXPECT_GE(w[1].at - w[0].at, 80ms);
    EXPECT_GE(w[2].at - w[1].at, 80ms);
}

TEST(ReportWriter, ASetParamReplacesOnlyTheSameParameterAtTheTailOfTheQueue) {
    WriterFixture f; // silent: the test hands out the replies
    ASSERT_TRUE(f.link.openLink());
    f.writer.send(setParam(9, 1, 0xA0)); // written at once: nothing to wait for yet
    ASSERT_TRUE(f.transport.waitForWrites(1));

    f.writer.send(setParam(4, 12, 1)); // waits for the reply at the head of the queue
    f.writer.send(setParam(4, 12, 2));
    f.writer.send(setParam(4, 12, 3));
    f.writer.send(setParam(4, 12, 4)); // 1 to 3 never go out
    EXPECT_EQ(f.writer.queued(), 1u);
    f.writer.send(setParam(3, 24, 5, 2)); // another parameter in between
    f.writer.send(setParam(4, 12, 6));    // so this one queues behind it
    f.writer.send(setParam(4, 12, 7, 2)); // same parameter, other count: kept
    f.writer.send(setParam(5, 12, 8, 2)); // other module: kept
    f.writer.send(buildGetParam(4, 12, 1));
    f.writer.send(buildGetParam(4, 12, 1)); // only SetParam is ever replaced
    EXPECT_EQ(f.writer.queued(), 7u);
    EXPECT_EQ(f.transport.writeCount(), 1u);

    f.transport.setReplyDelay(0us);
    reply(f.transport);
    f.writer.flush();
    const std::vector<Report> expected{
        setParam(9, 1, 0xA0),    setParam(4, 12, 4),      setParam(3, 24, 5, 2),
        setParam(4, 12, 6),      setParam(4, 12, 7, 2),   setParam(5, 12, 8, 2),
        buildGetParam(4, 12, 1), buildGetParam(4, 12, 1),
    };
    EXPECT_EQ(f.transport.writtenReports(), expected);
}

TEST(ReportWriter, TheMusicUnmuteRampNeverCollapses) {
    WriterFixture f; // silent processor, so every step queues up behind the first
    ASSERT_TRUE(f.link.openLink());
    DeviceImage image;
    FieldSetters setters(image, f.writer);
    const auto start = Clock::now();
    setters.set(&DspParams::musicMute, 0);
    EXPECT_LT(Clock::now() - start, 270ms); // nine 30 ms pauses lie with the writer
    f.transport.setReplyDelay(0us);
    reply(f.transport);
    f.writer.flush();

    // Module 4 parameter 13: 0.0, 0.1 ... 0.8 then 1.0, as f32 bit patterns.
    const std::uint32_t expected[] = {0x00000000, 0x3DCCCCCD, 0x3E4CCCCD, 0x3E99999A, 0x3ECCCCCD,
                                      0x3F000000, 0x3F19999A, 0x3F333333, 0x3F4CCCCD, 0x3F800000};
    const auto w = f.transport.written();
    ASSERT_EQ(w.size(), 10u);
    for (std::size_t i = 0; i < w.size(); ++i) {
        EXPECT_EQ(w[i].report[3], 4);
        EXPECT_EQ(w[i].report[4], 13);
        EXPECT_EQ(wordAt(w[i].report, 6), expected[i]) << "step " << i;
        if (i > 0) {
            EXPECT_GE(w[i].at - w[i - 1].at, 30ms) << "step " << i;
        }
    }
}

TEST(ReportWriter, ReleasePacingKeepsItsPlaceInTheQueue) {
    WriterFixture f; // silent, 5 s pacing
    ASSERT_TRUE(f.link.openLink());
    f.writer.send(reportOf({0x02, 0x60, 0x03})); // learning a key: no reply for now
    f.writer.releasePacing();
    f.writer.send(reportOf({0x02, 0x61})); // stop learning
    const auto start = Clock::now();
    f.writer.flush();
    EXPECT_LT(Clock::now() - start, 2s);
    EXPECT_EQ(f.transport.writeCount(), 2u);
}

TEST(ReportWriter, QueuedReportsDoNotReachALaterConnection) {
    WriterFixture f;
    ASSERT_TRUE(f.link.openLink());
    f.writer.send(setParam(1, 14, 1));
    ASSERT_TRUE(f.transport.waitForWrites(1));
    f.writer.send(setParam(1, 14, 2)); // waits for a reply
    f.writer.send(setParam(1, 15, 3));
    f.link.closeLink(false);
    ASSERT_TRUE(f.link.openLink());
    f.transport.setReplyDelay(0us);
    f.writer.flush();
    EXPECT_EQ(f.transport.writeCount(), 1u);
    EXPECT_EQ(f.writer.send(setParam(1, 14, 4)), 61);
    f.writer.flush();
    EXPECT_EQ(f.transport.writtenReports().back(), setParam(1, 14, 4));
}

TEST(LinkSink, SendsOnTheCallingThreadAndSleepsThroughPauses) {
    WriterFixture f(30ms);
    ASSERT_TRUE(f.link.openLink());
    LinkSink paced(f.link);
    LinkSink unpaced(f.link, LinkSink::Pacing::Unpaced);
    EXPECT_EQ(paced.send(setParam(1, 14, 1)), 61);
    EXPECT_EQ(f.transport.writeCount(), 1u);
    const auto start = Clock::now();
    paced.pause(20ms);
    EXPECT_GE(Clock::now() - start, 20ms);
    EXPECT_EQ(unpaced.send(setParam(1, 14, 2)), 61);
    EXPECT_EQ(paced.send(setParam(1, 14, 3)), 61); // no reply: waits out the 30 ms
    const auto w = f.transport.written();
    ASSERT_EQ(w.size(), 3u);
    EXPECT_GE(w[2].at - w[1].at, 30ms);
}
