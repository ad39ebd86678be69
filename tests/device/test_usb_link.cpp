// The link: interface search, read thread, paced writes, broken state, close and removal.
#include "FakeTransport.h"
#include "device/InterfaceRemoval.h"
#include "device/UsbLink.h"
#include "model/DeviceImage.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <future>

using namespace quilo;
using namespace quilo::test;

namespace {

// Short waits everywhere except where a test proves that a reply, not a timeout,
// let a write through: there the pacing wait is far longer than the test waits.
UsbLinkOptions fastOptions(std::chrono::milliseconds pacing = 5000ms) {
    UsbLinkOptions o;
    o.pacingWait = pacing;
    o.closeWait = 200ms;
    o.readSlice = 5ms;
    return o;
}

Report setParam(std::uint8_t module, std::uint8_t param, std::uint8_t value) {
    return reportOf({0x02, 0x09, 0x00, module, param, 0x01, 0x3F, value});
}

struct LinkFixture {
    explicit LinkFixture(std::vector<FakeInterface> interfaces = {FakeInterface{"/dev/hidraw0"}},
                         UsbLinkOptions options = fastOptions())
        : transport(std::move(interfaces)), link(transport, handler, log, options) {
        handler.onLinkClosing = [this] { status.store({}); };
    }

    FakeTransport transport;
    RecordingHandler handler;
    LiveStatus status;
    DebugLog log;
    UsbLink link;
};

} // namespace

// ---- search

TEST(UsbLinkSearch, OtherProductClosedSilentlyAndTheProcessorOpened) {
    LinkFixture f({otherDevice("/dev/hidraw0"), FakeInterface{"/dev/hidraw1"}});
    ASSERT_TRUE(f.link.openLink());
    EXPECT_TRUE(f.link.linkOpen());
    EXPECT_EQ(f.link.devicePath(), "/dev/hidraw1");
    EXPECT_EQ(f.transport.openAttempts(),
              (std::vector<std::string>{"/dev/hidraw0", "/dev/hidraw1"}));
    EXPECT_EQ(f.transport.closeCount(), 1); // the other product, and nothing else
    ASSERT_TRUE(eventually([&] { return f.log.contains("start thread: ReadUsbThreadProc \n"); }));
    // The first interface leaves no line of its own beyond the usual opening steps.
    const std::vector<std::string> expected{
        "开始枚举usb设备",
        "枚举usb设备成功",
        "设备路径:\r\n/dev/hidraw0",
        "尝试打开通信端口....",
        "打开通信端口成功!\n",
        "正在读取设备的标识...\n",
        "枚举usb设备成功",
        "设备路径:\r\n/dev/hidraw1",
        "尝试打开通信端口....",
        "打开通信端口成功!\n",
        "正在读取设备的标识...\n",
        "连接目标设备成功!",
        "start thread: ReadUsbThreadProc \n",
    };
    EXPECT_EQ(f.log.lines(), expected);
}

TEST(UsbLinkSearch, TheThirtyThirdInterfaceIsNeverExamined) {
    std::vector<FakeInterface> interfaces;
    for (int i = 0; i < 32; ++i) {
        interfaces.push_back(otherDevice("/dev/hidraw" + std::to_string(i)));
    }
    interfaces.push_back(FakeInterface{"/dev/hidraw32"}); // the processor, too late
    LinkFixture f(interfaces);
    EXPECT_FALSE(f.link.openLink());
    EXPECT_FALSE(f.link.linkOpen());
    const auto attempts = f.transport.openAttempts();
    EXPECT_EQ(attempts.size(), 32u);
    EXPECT_EQ(std::count(attempts.begin(), attempts.end(), "/dev/hidraw32"), 0);
    EXPECT_EQ(f.log.count("枚举usb设备成功"), 32u);
    EXPECT_EQ(f.log.count("枚举usb设备出错,usb设备接口可能枚举完成了"), 0u);
    EXPECT_EQ(f.log.lines().back(), "连接目标设备失败，没有找到目标设备");
    EXPECT_FALSE(f.log.contains("start thread: ReadUsbThreadProc \n"));
}

TEST(UsbLinkSearch, FailuresOfOneInterfaceAreLoggedAndTheSearchGoesOn) {
    FakeInterface locked{"/dev/hidraw0"};
    locked.openable = false;
    FakeInterface mute{"/dev/hidraw1"};
    mute.attributesReadable = false;
    LinkFixture f({locked, mute, FakeInterface{""}});
    EXPECT_FALSE(f.link.openLink());
    EXPECT_EQ(f.log.count("无法打开通信端口。不能读取设备信息!(设备连接可能不正确?)\n"), 1u);
    EXPECT_EQ(f.log.count("查询设备信息出错!\n"), 1u);
    EXPECT_EQ(f.log.count("查找设备路径时出错!"), 1u);
    EXPECT_EQ(f.transport.closeCount(), 1); // the one whose attributes could not be read
    // The list ran out before 32 interfaces.
    EXPECT_EQ(f.log.count("枚举usb设备出错,usb设备接口可能枚举完成了"), 1u);
    EXPECT_EQ(f.log.lines().back(), "连接目标设备失败，没有找到目标设备");
}

FakeInterface locked(std::string path, FakeInterface device = {}) {
    device.path = std::move(path);
    device.permissionDenied = true;
    return device;
}

TEST(UsbLinkSearch, APresentButLockedProcessorIsAPermissionProblemNotAMissingOne) {
    using Outcome = SearchResult::Outcome;
    FakeInterface broken{"/dev/hidraw1"};
    broken.openable = false; // fails for another reason than permission
    const struct {
        const char* what;
        std::vector<FakeInterface> interfaces;
        Outcome outcome;
        std::string path;
    } cases[] = {
        {"nothing attached", {}, Outcome::NoProcessor, ""},
        {"the processor, locked",
         {otherDevice("/dev/hidraw0"), locked("/dev/hidraw1")},
         Outcome::PermissionDenied,
         "/dev/hidraw1"},
        // Most hidraw nodes belong to root: someone else's locked device says nothing.
        {"another product, locked",
         {locked("/dev/hidraw0", otherDevice(""))},
         Outcome::NoProcessor,
         ""},
        {"the processor, failing otherwise", {broken}, Outcome::NoProcessor, ""},
        {"two locked processors",
         {locked("/dev/hidraw2"), locked("/dev/hidraw3")},
         Outcome::PermissionDenied,
         "/dev/hidraw2"},
        {"a locked and an open one",
         {locked("/dev/hidraw0"), FakeInterface{"/dev/hidraw1"}},
         Outcome::Opened,
         "/dev/hidraw1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LinkFixture f(c.interfaces);
        EXPECT_EQ(f.link.openLink(), c.outcome == Outcome::Opened);
        EXPECT_EQ(f.link.linkOpen(), c.outcome == Outcome::Opened);
        const SearchResult r = f.link.lastSearch();
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_EQ(r.path, c.path);
        EXPECT_EQ(f.log.contains("no permission to open the processor: " + c.path),
                  c.outcome == Outcome::PermissionDenied);
    }
}

TEST(UsbLinkSearch, EachSearchReportsWhatItFoundThen) {
    LinkFixture f({locked("/dev/hidraw4")});
    EXPECT_FALSE(f.link.openLink());
    EXPECT_EQ(f.link.lastSearch().outcome, SearchResult::Outcome::PermissionDenied);
    // Unplugged: no processor, not the old permission problem.
    f.transport.setInterfaces({});
    EXPECT_FALSE(f.link.openLink());
    EXPECT_EQ(f.link.lastSearch().outcome, SearchResult::Outcome::NoProcessor);
    EXPECT_EQ(f.link.lastSearch().path, "");
    // Plugged in again after the rule took effect.
    f.transport.setInterfaces({FakeInterface{"/dev/hidraw5"}});
    ASSERT_TRUE(f.link.openLink());
    EXPECT_EQ(f.link.lastSearch().outcome, SearchResult::Outcome::Opened);
    EXPECT_EQ(f.link.lastSearch().path, "/dev/hidraw5");
    // Opening again while open searches nothing and changes nothing.
    EXPECT_FALSE(f.link.openLink());
    EXPECT_EQ(f.link.lastSearch().outcome, SearchResult::Outcome::Opened);
}

TEST(UsbLinkOpen, OpeningTwiceFailsAndStartsNoSecondThread) {
    LinkFixture f;
    ASSERT_TRUE(f.link.openLink());
    EXPECT_FALSE(f.link.openLink());
    ASSERT_TRUE(eventually([&] { return f.log.contains("start thread: ReadUsbThreadProc \n"); }));
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(f.log.count("start thread: ReadUsbThreadProc \n"), 1u);
    EXPECT_EQ(f.transport.openAttempts().size(), 1u);
}

// ---- read thread

TEST(UsbLinkRead, EveryReportReachesTheHandlerInOrder) {
    LinkFixture f;
    ASSERT_TRUE(f.link.openLink());
    for (std::uint8_t code : {0x07, 0x0E, 0x80}) {
        f.transport.pushInbound(reportOf({0x02, code, 0x11}));
    }
    ASSERT_TRUE(f.handler.waitForReports(3));
    const auto got = f.handler.reports();
    EXPECT_EQ(got[0][1], 0x07);
    EXPECT_EQ(got[1][1], 0x0E);
    EXPECT_EQ(got[2][1], 0x80);
    EXPECT_EQ(got[2][2], 0x11);
}

TEST(UsbLinkRead, AFailedReadBreaksTheLinkUntilItIsOpenedAgain) {
    LinkFixture f;
    std::atomic<int> stopPolling{0};
    f.link.setReadFailedCallback([&] { ++stopPolling; });
    ASSERT_TRUE(f.link.openLink());
    ASSERT_EQ(f.link.WriteUsbData(setParam(4, 12, 1)), 61);

    // A paced writer is waiting for a reply when the read fails: it is let go.
    auto waiting =
        std::async(std::launch::async, [&] { return f.link.WriteUsbData(setParam(4, 12, 2)); });
    std::this_thread::sleep_for(20ms);
    f.transport.failNextRead();
    ASSERT_EQ(waiting.wait_for(2s), std::future_status::ready); // pacing wait is 5 s
    waiting.get();

    EXPECT_TRUE(f.link.readThreadEnd());
    EXPECT_TRUE(f.link.linkOpen());
    EXPECT_EQ(stopPolling.load(), 1);
    EXPECT_EQ(f.log.count("Read Usb Error will return !\n"), 1u);

    const std::size_t before = f.transport.writeCount();
    EXPECT_EQ(f.link.WriteUsbData(setParam(4, 12, 3)), 0);
    EXPECT_EQ(f.link.writeUnpaced(setParam(4, 12, 4)), 0);
    EXPECT_EQ(f.log.count("g_bReadThreadEnd == TRUE ,WriteUsbData return \n"), 2u);
    EXPECT_EQ(f.transport.writeCount(), before);

    f.link.closeLink(false);
    ASSERT_TRUE(f.link.openLink());
    EXPECT_FALSE(f.link.readThreadEnd());
    EXPECT_EQ(f.link.WriteUsbData(setParam(4, 12, 5)), 61);
}

// ---- pacing

TEST(UsbLinkPacing, AReplyLetsTheNextWriteThrough) {
    LinkFixture f; // silent processor, 5 s pacing
    ASSERT_TRUE(f.link.openLink());
    EXPECT_EQ(f.link.WriteUsbData(setParam(1, 14, 1)), 61); // nothing to wait for yet
    auto second =
        std::async(std::launch::async, [&] { return f.link.WriteUsbData(setParam(1, 14, 2)); });
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(f.transport.writeCount(), 1u);
    f.transport.pushInbound(reportOf({0x02, 0x09}));
    ASSERT_EQ(second.wait_for(2s), std::future_status::ready);
    EXPECT_EQ(second.get(), 61);
    EXPECT_EQ(f.transport.writeCount(), 2u);
    EXPECT_EQ(f.link.pacingTimeouts(), 0u);
}

TEST(UsbLinkPacing, WithoutAReplyTheWriteGoesAheadAfterThePacingWait) {
    LinkFixture f({FakeInterface{"/dev/hidraw0"}}, fastOptions(40ms));
    ASSERT_TRUE(f.link.openLink());
    EXPECT_EQ(f.link.WriteUsbData(setParam(1, 14, 1)), 61);
    EXPECT_EQ(f.link.WriteUsbData(setParam(1, 14, 2)), 61);
    const auto w = f.transport.written();
    ASSERT_EQ(w.size(), 2u);
    EXPECT_GE(w[1].at - w[0].at, 40ms);
    EXPECT_EQ(f.link.pacingTimeouts(), 1u);
}

TEST(UsbLinkPacing, TwoWaitingWritersAreReleasedOnePerReply) {
    LinkFixture f;
    ASSERT_TRUE(f.link.openLink());
    ASSERT_EQ(f.link.WriteUsbData(setParam(1, 14, 0)), 61);
    auto a =
        std::async(std::launch::async, [&] { return f.link.WriteUsbData(setParam(1, 14, 1)); });
    auto b =
        std::async(std::launch::async, [&] { return f.link.WriteUsbData(setParam(1, 14, 2)); });
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(f.transport.writeCount(), 1u);

    f.transport.pushInbound(reportOf({0x02, 0x09}));
    ASSERT_TRUE(f.transport.waitForWrites(2, 2s));
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(f.transport.writeCount(), 2u); // one reply, one writer

    f.transport.pushInbound(reportOf({0x02, 0x09}));
    ASSERT_TRUE(f.transport.waitForWrites(3, 2s));
    EXPECT_EQ(a.get(), 61);
    EXPECT_EQ(b.get(), 61);
}

TEST(UsbLinkPacing, ReleasePacingLetsOneWriteGoWithoutAReply) {
    LinkFixture f;
    ASSERT_TRUE(f.link.openLink());
    ASSERT_EQ(f.link.WriteUsbData(setParam(1, 14, 0)), 61);
    f.link.releasePacing();
    const auto start = Clock::now();
    EXPECT_EQ(f.link.WriteUsbData(reportOf({0x02, 0x61})), 61);
    EXPECT_LT(Clock::now() - start, 2s); // pacing wait is 5 s
}

TEST(UsbLinkPacing, UnpacedWritesDoNotWait) {
    LinkFixture f;
    ASSERT_TRUE(f.link.openLink());
    ASSERT_EQ(f.link.WriteUsbData(setParam(1, 14, 0)), 61);
    const auto start = Clock::now();
    EXPECT_EQ(f.link.writeUnpaced(reportOf({0x02, 0x12, 0x01, 0x06})), 61);
    EXPECT_LT(Clock::now() - start, 2s);
}

TEST(UsbLinkWrite, ShortOrFailedWritesAreReportedNotRetried) {
    LinkFixture f({FakeInterface{"/dev/hidraw0"}}, fastOptions(5ms));
    ASSERT_TRUE(f.link.openLink());
    f.transport.setWriteResult(30);
    EXPECT_EQ(f.link.WriteUsbData(setParam(1, 14, 0)), 30);
    f.transport.setWriteResult(-1);
    EXPECT_EQ(f.link.WriteUsbData(setParam(1, 14, 0)), 0);
    EXPECT_EQ(f.log.count("usb数据写入出错"), 2u);
    EXPECT_EQ(f.transport.writeCount(), 2u);
}

TEST(UsbLinkWrite, ClosedLinkWritesNothing) {
    LinkFixture f;
    EXPECT_EQ(f.link.WriteUsbData(setParam(1, 14, 0)), 0);
    EXPECT_EQ(f.link.writeUnpaced(setParam(1, 14, 0)), 0);
    EXPECT_EQ(f.transport.writeCount(), 0u);
    EXPECT_TRUE(f.log.lines().empty());
}

// ---- close

TEST(UsbLinkClose, GoodbyeZeroedStatusAndClosedTransport) {
    LinkFixture f;
    ASSERT_TRUE(f.link.openLink());
    f.status.store(LiveStatusBytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
    f.link.closeLink(true);
    EXPECT_FALSE(f.link.linkOpen());
    EXPECT_EQ(f.status.load(), LiveStatusBytes{});
    ASSERT_EQ(f.transport.writeCount(), 1u);
    EXPECT_EQ(f.transport.writtenReports()[0], reportOf({0x02, 0x8A}));
    EXPECT_FALSE(f.transport.isOpen());
    EXPECT_FALSE(f.log.contains("wait read thread exited time out !\n"));

    f.link.closeLink(true); // already closed: nothing at all
    EXPECT_EQ(f.transport.writeCount(), 1u);
}

TEST(UsbLinkClose, AHurriedLinkWaitsBrieflyAndItsGoodbyeComesLast) {
    UsbLinkOptions o = fastOptions(); // a reply could take 5 s, the read thread as long
    o.closeWait = 5000ms;
    LinkFixture f({FakeInterface{"/dev/hidraw0"}}, o);
    ASSERT_TRUE(f.link.openLink());
    ASSERT_EQ(f.link.WriteUsbData(setParam(1, 14, 1)), 61); // nothing to wait for yet
    // Nothing answers: the next write waits for the pacing until the link hurries.
    auto waiting =
        std::async(std::launch::async, [&] { return f.link.WriteUsbData(setParam(1, 14, 2)); });
    EXPECT_EQ(waiting.wait_for(100ms), std::future_status::timeout);
    const auto hurried = std::chrono::steady_clock::now();
    f.link.hurry();
    EXPECT_EQ(waiting.get(), 61);
    EXPECT_EQ(f.link.WriteUsbData(setParam(1, 14, 3)), 61); // waits hurriedPacingWait at most
    // A read thread held in its handler is waited for hurriedCloseWait at most.
    f.handler.hold();
    f.transport.pushInbound(reportOf({0x02, 0x0E}));
    ASSERT_TRUE(f.handler.waitEntered());
    auto late =
        std::async(std::launch::async, [&] { return f.link.WriteUsbData(setParam(1, 15, 4)); });
    f.link.closeLink(true);
    EXPECT_LT(std::chrono::steady_clock::now() - hurried, 2000ms); // never the full waits
    EXPECT_EQ(f.log.count("wait read thread exited time out !\n"), 1u);
    f.handler.release();
    late.get();
    const std::vector<Report> written = f.transport.writtenReports();
    ASSERT_GE(written.size(), 4u);
    EXPECT_EQ(written.back(), reportOf({0x02, 0x8A}));
}

TEST(UsbLinkClose, WithoutGoodbyeNothingIsWritten) {
    LinkFixture f;
    ASSERT_TRUE(f.link.openLink());
    f.link.closeLink(false);
    EXPECT_EQ(f.transport.writeCount(), 0u);
    EXPECT_FALSE(f.transport.isOpen());
}

TEST(UsbLinkClose, AReadThreadThatDoesNotStopInTimeIsLeftAndTheTransportClosed) {
    LinkFixture f;
    ASSERT_TRUE(f.link.openLink());
    f.handler.hold();
    f.transport.pushInbound(reportOf({0x02, 0x60}));
    ASSERT_TRUE(f.handler.waitEntered());

    f.link.closeLink(false); // closeWait is 200 ms
    EXPECT_EQ(f.log.count("wait read thread exited time out !\n"), 1u);
    EXPECT_FALSE(f.transport.isOpen());
    EXPECT_FALSE(f.link.linkOpen());

    // A new connection while the old thread is still held: the old one must not
    // read from it once it is let go.
    ASSERT_TRUE(f.link.openLink());
    ASSERT_TRUE(eventually([&] { return f.log.count("start thread: ReadUsbThreadProc \n") == 2; }));
    f.handler.release();
    f.transport.pushInbound(reportOf({0x02, 0x0E}));
    ASSERT_TRUE(f.handler.waitForReports(2));
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(f.handler.reports().size(), 2u);
}

// ---- removal

TEST(InterfaceRemoval, PathsCompareWithoutLetterCase) {
    EXPECT_TRUE(sameInterfacePath("/dev/hidraw3", "/DEV/HIDRAW3"));
    EXPECT_FALSE(sameInterfacePath("/dev/hidraw3", "/dev/hidraw30"));
    EXPECT_FALSE(sameInterfacePath("/dev/hidraw3", ""));
}

TEST(InterfaceRemoval, OnlyTheOpenedInterfaceClosesTheLink) {
    LinkFixture f({FakeInterface{"/dev/HidRaw3"}});
    ASSERT_TRUE(f.link.openLink());

    EXPECT_FALSE(handleInterfaceRemoval(f.link, "/dev/hidraw7"));
    EXPECT_TRUE(f.link.linkOpen());
    EXPECT_EQ(f.log.count("removed!\n"), 1u);

    EXPECT_TRUE(handleInterfaceRemoval(f.link, "/dev/hidraw3"));
    EXPECT_FALSE(f.link.linkOpen());
    EXPECT_EQ(f.log.count("removed!\n"), 2u);
    EXPECT_EQ(f.transport.writeCount(), 0u); // no Goodbye to a device that is gone

    EXPECT_FALSE(handleInterfaceRemoval(f.link, "/dev/hidraw3"));
    EXPECT_EQ(f.log.count("removed!\n"), 3u);
}
