// The real tool windows in the program: the commands that open them, the protocol rule of
// the music automatic level, closing them when a processor arrives, and the status bar
// keeping its panes while a recent file is hovered.
#include "AppHarness.h"
#include "pages/CAutoMusicVolDlg.h"
#include "pages/CAutoSubDlg.h"
#include "pages/CDialogMusicInput.h"
#include "pages/CSetDlg.h"
#include "pages/CloudnessDlg.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QtTest/QTest>

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

TEST(ToolWindowShell, CommandsOpenTheWindowsAndAProcessorArrivingClosesThem) {
    AppHarness h{true, kChinese, [](AppOptions& o) { o.connectDelayMs = 60 * 60 * 1000; }};
    h.start(false);
    ASSERT_FALSE(h.app->connected());

    // Music automatic level: nothing before protocol version 9.
    h.image().info.protocolVersion = 8;
    h.view().commands().trigger(UserCommand::MusicAgc);
    EXPECT_EQ(h.app->toolWindow(ToolWindowId::MusicAgc), nullptr);
    h.image().info.protocolVersion = 9;
    h.view().commands().trigger(UserCommand::MusicAgc);
    EXPECT_NE(dynamic_cast<CAutoMusicVolDlg*>(h.app->toolWindow(ToolWindowId::MusicAgc)), nullptr);

    // The subwoofer decay sits in the tab row next to "Features".
    for (int id : {ribbon::kFeatures, ribbon::kSubDecay, ribbon::kInputSource}) {
        QTest::mouseClick(h.ribbon().control(id), Qt::LeftButton);
    }
    EXPECT_NE(dynamic_cast<CloudnessDlg*>(h.app->toolWindow(ToolWindowId::Features)), nullptr);
    EXPECT_NE(dynamic_cast<CAutoSubDlg*>(h.app->toolWindow(ToolWindowId::SubDecay)), nullptr);
    EXPECT_NE(dynamic_cast<CDialogMusicInput*>(h.app->toolWindow(ToolWindowId::InputSource)),
              nullptr);
    QTest::keyClick(h.app->mainFrame(), Qt::Key_F7);
    EXPECT_NE(dynamic_cast<CSetDlg*>(h.app->toolWindow(ToolWindowId::MachineSettings)), nullptr);
    EXPECT_EQ(h.app->toolWindows().openWindows().size(), 5u);

    h.view().connection().onDeviceArrival(QStringLiteral("/dev/hidraw9"));
    EXPECT_TRUE(h.app->connected());
    EXPECT_TRUE(waitUntil([&] { return h.app->toolWindows().openWindows().empty(); }, 3000));
}

TEST(ToolWindowShell, HoveringARecentFileKeepsTheStatusPanes) {
    AppHarness h{true, kChinese, [](AppOptions& o) { o.connectDelayMs = 60 * 60 * 1000; }};
    h.start(false);
    const QString path = QStringLiteral("/home/user/modes/cinema.quilo");
    h.ribbon().setRecentFiles({path});
    QAction* recent = nullptr;
    for (QAction* a : h.ribbon().applicationMenu()->actions()) {
        if (a->statusTip() == path) {
            recent = a;
        }
    }
    ASSERT_NE(recent, nullptr);
    recent->showStatusText(&h.ribbon());
    pump(20);
    EXPECT_TRUE(h.status().connectionPane()->isVisible());
    EXPECT_TRUE(h.status().modePane()->isVisible());
    EXPECT_TRUE(h.status().hintPane()->text().contains(QStringLiteral("cinema.quilo")));
    EXPECT_TRUE(h.status().currentMessage().isEmpty());

    QStatusTipEvent leave{QString()};
    QCoreApplication::sendEvent(&h.ribbon(), &leave);
    EXPECT_TRUE(h.status().hintPane()->text().isEmpty());
}
