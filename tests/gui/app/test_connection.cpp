// Connecting at start, the status poll, unplugging and plugging in again, and
// what a wrong or silent processor leads to.
#include "AppHarness.h"
#include "FakeWindows.h"
#include "device/ProtocolTrace.h"
#include "ui/SyncProgressDialog.h"

#include <QAction>
#include <QFile>
#include <QMenu>

#include <QLabel>

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

int countCode(const std::vector<Report>& all, int code) {
    int n = 0;
    for (const Report& r : all) {
        n += r[1] == code ? 1 : 0;
    }
    return n;
}

bool syncEnded(AppHarness& h) {
    return waitUntil(
        [&] { return h.app->syncDialog() == nullptr && !h.app->session().sync().busy(); }, 20000);
}

} // namespace

TEST(Connection, ArrivesAfterTheTimerAndReadsBackUnderTheDialog) {
    AppHarness h(true, kChinese, [](AppOptions& o) { o.connectDelayMs = 250; });
    h.start(false);
    EXPECT_FALSE(h.app->connected());
    EXPECT_EQ(h.status().connectionPane()->text(), QString::fromUtf8("USB：未连接"));
    ASSERT_TRUE(waitUntil([&] { return h.app->connected(); }, 3000));
    EXPECT_TRUE(h.view().connection().announced());
    EXPECT_EQ(h.view().connection().tray().lastTitle(), QString::fromUtf8("信息"));
    EXPECT_EQ(h.view().connection().tray().lastText(), QString::fromUtf8("设备已连接，同步中……"));
    ASSERT_NE(h.app->syncDialog(), nullptr);
    EXPECT_EQ(h.app->syncDialog()->text(),
              QString::fromUtf8("当前正在与机器同步数据,请稍候......"));
    EXPECT_EQ(h.app->syncDialog()->windowTitle(), QString::fromUtf8("同步过程"));
    EXPECT_TRUE(h.app->syncDialog()->isModal());
    ASSERT_TRUE(syncEnded(h));
    EXPECT_TRUE(h.app->connected());
    EXPECT_TRUE(h.view().connection().pollRunning());
    // The processor's answers went into the image.
    EXPECT_EQ(h.image().info.modelName, std::u16string(u"MIVRAX"));
    EXPECT_EQ(h.image().info.protocolVersion, 18);
    h.view().updateIndicators();
    EXPECT_TRUE(h.status().connectionPane()->text().startsWith(QString::fromUtf8("USB：已连接")));
    EXPECT_EQ(h.status().connectionPane()->palette().color(QPalette::WindowText),
              QColor(0, 150, 0));

    // The read-back asked for everything, starting with the identity.
    const auto got = h.received();
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.front()[1], 0x80);
    EXPECT_EQ(countCode(got, 0x0A), 192);
    EXPECT_EQ(countCode(got, 0x92), 1);
}

TEST(Connection, StatusPollFollowsPeakAndPollingSwitches) {
    AppHarness h;
    h.start(false);
    ASSERT_TRUE(waitUntil([&] { return h.app->connected(); }, 3000));
    ASSERT_TRUE(syncEnded(h));
    h.clearReceived();
    EXPECT_TRUE(waitUntil([&] { return countCode(h.received(), 0x0E) >= 2; }, 3000));

    h.view().connection().setPeakEnabled(false);
    pump(350); // a poll already queued may still go out
    h.clearReceived();
    pump(800);
    EXPECT_EQ(countCode(h.received(), 0x0E), 0);

    h.view().connection().setPeakEnabled(true);
    auto pause = std::make_unique<PollingGate::Pause>(h.app->session().polling(), true);
    pump(350);
    h.clearReceived();
    pump(800);
    EXPECT_EQ(countCode(h.received(), 0x0E), 0);

    pause.reset();
    EXPECT_TRUE(waitUntil([&] { return countCode(h.received(), 0x0E) >= 1; }, 3000));
}

TEST(Connection, UnplugAndReplugDuringASession) {
    AppHarness h;
    registerFakes(*h.app);
    h.start(false);
    ASSERT_TRUE(waitUntil([&] { return h.app->connected(); }, 3000));
    ASSERT_TRUE(syncEnded(h));

    // Another device going away changes nothing.
    h.view().connection().onDeviceRemoval(QStringLiteral("/dev/hidraw9"));
    EXPECT_TRUE(h.app->connected());
    EXPECT_TRUE(h.view().connection().pollRunning());

    // The processor is pulled out: reads fail, then the removal arrives.
    h.emulator([](Emulator& e) {
        EmulatorFaults f;
        f.unplugAfterReports = 0;
        e.setFaults(f);
    });
    h.view().connection().onDeviceRemoval(QString::fromLatin1(EmulatorTransport::kPath));
    EXPECT_FALSE(h.app->connected());
    EXPECT_FALSE(h.view().connection().pollRunning());
    EXPECT_EQ(h.view().connection().tray().lastText(), QString::fromUtf8("设备已断开!"));
    h.view().updateIndicators();
    EXPECT_EQ(h.status().connectionPane()->text(), QString::fromUtf8("USB：未连接"));
    EXPECT_EQ(h.status().connectionPane()->palette().color(QPalette::WindowText),
              QColor(220, 0, 0));

    // Open tool windows go when it comes back; it is announced and read back again.
    h.view().commands().trigger(UserCommand::Features);
    h.view().commands().trigger(UserCommand::InputSource);
    ASSERT_NE(h.app->toolWindow(ToolWindowId::Features), nullptr);
    h.emulator([](Emulator& e) { e.replug(); });
    h.clearReceived();
    const int balloons = h.view().connection().tray().shownCount();
    h.view().connection().onDeviceArrival(QString::fromLatin1(EmulatorTransport::kPath));
    EXPECT_TRUE(h.app->connected());
    EXPECT_EQ(h.view().connection().tray().shownCount(), balloons + 1);
    EXPECT_EQ(h.view().connection().tray().lastText(), QString::fromUtf8("设备已连接，同步中……"));
    EXPECT_TRUE(waitUntil([&] {
        return h.app->toolWindow(ToolWindowId::Features) == nullptr &&
               h.app->toolWindow(ToolWindowId::InputSource) == nullptr;
    }));
    EXPECT_NE(h.app->syncDialog(), nullptr);
    ASSERT_TRUE(syncEnded(h));
    EXPECT_TRUE(h.app->connected());
    EXPECT_TRUE(h.view().connection().pollRunning());
    EXPECT_EQ(h.received().front()[1], 0x80);

    // A second arrival while connected opens nothing new.
    h.view().connection().onDeviceArrival(QString::fromLatin1(EmulatorTransport::kPath));
    EXPECT_EQ(h.view().connection().tray().shownCount(), balloons + 1);
}

TEST(Connection, AWrongModelClosesTheLinkWithGoodbyeAndSaysSo) {
    AppHarness h;
    h.start(false);
    h.emulator([](Emulator& e) {
        EmulatorFaults f;
        f.modelName = "OTHER";
        e.setFaults(f);
    });
    // The link may open and be let go again within one turn of the event loop (the first
    // paint of the page takes a while), so only its end is waited for; the goodbye at the
    // end of the processor's log shows it was open.
    ASSERT_TRUE(waitUntil(
        [&] { return !h.app->connected() && h.prompter->count(QStringLiteral("message")) > 0; },
        20000));
    ASSERT_FALSE(h.received().empty());
    EXPECT_EQ(h.app->syncDialog(), nullptr);
    EXPECT_FALSE(h.view().connection().pollRunning());
    ASSERT_NE(h.prompter->last(QStringLiteral("message")), nullptr);
    EXPECT_EQ(h.prompter->last(QStringLiteral("message"))->text,
              QString::fromUtf8("机器型号与软件不匹配!"));
    EXPECT_EQ(h.prompter->last(QStringLiteral("message"))->caption, QString::fromUtf8("错误"));
    EXPECT_EQ(h.prompter->last(QStringLiteral("message"))->icon, Prompter::Icon::Error);
    EXPECT_EQ(h.received().back()[1], 0x8A);
}

TEST(Connection, AParameterErrorIsShownOnceAndTheValuesAreKept) {
    AppHarness h(true, kEnglish);
    h.start(false);
    h.emulator([](Emulator& e) {
        EmulatorFaults f;
        f.paramErrorCode = 3;
        e.setFaults(f);
    });
    ASSERT_TRUE(waitUntil([&] { return h.app->connected(); }, 3000));
    ASSERT_TRUE(syncEnded(h));
    pump(50);
    int errors = 0;
    for (const auto& shown : h.prompter->shown) {
        if (shown.caption == QStringLiteral("Error") &&
            shown.text.startsWith(QString::fromUtf8("参数错误,代码0x:03,"))) {
            ++errors;
        }
    }
    EXPECT_EQ(errors, 1);
    EXPECT_TRUE(h.app->connected());
}

TEST(Connection, ASilentProcessorEndsTheDialogAfterItsTimeout) {
    AppHarness h(true, kEnglish, [](AppOptions& o) {
        o.syncDialogTimeoutMs = 300;
        o.session.linkOptions.pacingWait = std::chrono::milliseconds(100);
    });
    h.start(false);
    h.emulator([](Emulator& e) {
        EmulatorFaults f;
        f.silent = true;
        e.setFaults(f);
    });
    // The goodbye to a processor that does not answer waits for the pacing: that
    // is over before the user-interface thread hears of the end of the read-back.
    std::vector<bool> openWhenDone;
    QObject::connect(&h.app->session(), &DeviceSession::syncDone, h.app.get(),
                     [&] { openWhenDone.push_back(h.app->session().linkOpen()); });
    ASSERT_TRUE(waitUntil([&] { return h.app->connected(); }, 3000));
    ASSERT_NE(h.app->syncDialog(), nullptr);
    ASSERT_TRUE(waitUntil([&] { return h.prompter->count(QStringLiteral("message")) > 0; }, 3000));
    EXPECT_EQ(h.app->syncDialog(), nullptr);
    EXPECT_EQ(h.prompter->shown.back().text,
              QStringLiteral("An error occurred: synchronising with the device timed out……"));
    EXPECT_EQ(h.prompter->shown.back().caption, QStringLiteral("Error"));
    // The synchronisation went on and ends by itself; nothing answered, so the
    // identity check fails then.
    ASSERT_TRUE(waitUntil([&] { return !openWhenDone.empty(); }, 20000));
    EXPECT_EQ(openWhenDone, std::vector<bool>{false});
    EXPECT_FALSE(h.app->connected());
    EXPECT_EQ(h.received().back()[1], 0x8A);
}

TEST(Connection, AnotherStartBringsTheWindowBackAndHandsItsFile) {
    AppHarness h(true, kChinese, [](AppOptions& o) { o.connectDelayMs = 60 * 60 * 1000; });
    h.start(false);
    h.app->mainFrame()->showMinimized();
    h.app->activate({});
    EXPECT_FALSE(h.app->mainFrame()->isMinimized());
    EXPECT_TRUE(h.app->mainFrame()->isVisible());
    h.app->activate(h.dir.filePath(QStringLiteral("gone.quilo")));
    ASSERT_NE(h.prompter->last(QStringLiteral("message")), nullptr);
    EXPECT_EQ(h.prompter->last(QStringLiteral("message"))->text, QString::fromUtf8("文件不存在！"));
}

namespace {

QAction* traceItem(AppHarness& h) {
    for (QAction* a : h.ribbon().applicationMenu()->actions()) {
        if (a->text() == QStringLiteral("Record a diagnostic trace…")) {
            return a;
        }
    }
    return nullptr;
}

int traceLines(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? static_cast<int>(f.readAll().count('\n')) : 0;
}

} // namespace

TEST(DiagnosticTrace, TheApplicationMenuStartsAndStopsIt) {
    auto trace = std::make_shared<ProtocolTrace>();
    AppHarness h(true, kEnglish, [&](AppOptions& o) { o.session.trace = trace; });
    h.start();
    ASSERT_NE(traceItem(h), nullptr);
    EXPECT_FALSE(traceItem(h)->isChecked());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("session.trace"));
    h.prompter->saveNames.push_back(path);
    traceItem(h)->trigger();
    EXPECT_TRUE(trace->isOpen());
    EXPECT_TRUE(traceItem(h)->isChecked());

    // An edit and the processor's acknowledgement, each a line.
    FieldSetters setters(h.image(), h.app->session().uiSink());
    setters.set(&DspParams::micVolume, 40);
    EXPECT_TRUE(waitUntil([&] { return traceLines(path) >= 2; }));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(f.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral(" out 02 09 00 01 0E "))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral(" in ")));

    traceItem(h)->trigger();
    EXPECT_FALSE(trace->isOpen());
    EXPECT_FALSE(traceItem(h)->isChecked());
    const int stopped = traceLines(path);
    setters.set(&DspParams::micVolume, 41);
    pump(200);
    EXPECT_EQ(traceLines(path), stopped);
}
