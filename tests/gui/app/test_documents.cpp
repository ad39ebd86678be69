// Files handed to the program from outside (command line, another start) and a
// processor this user may not open.
#include "AppHarness.h"
#include "device/PermissionProblem.h"
#include "model/ModeFile.h"
#include "ui/CInfoDlg.h"

#include <QFile>
#include <QLabel>

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

QString writeModeFileWithMic(AppHarness& h, const QString& name, int micVolume) {
    DeviceImage other;
    other.resetToDefaults();
    other.params.micVolume = micVolume;
    const QString path = h.dir.filePath(name);
    EXPECT_TRUE(
        writeModeFile(std::filesystem::path(QFile::encodeName(path).toStdString()), other).ok());
    return path;
}

bool idle(AppHarness& h) {
    return waitUntil(
        [&] { return h.app->syncDialog() == nullptr && !h.app->session().sync().busy(); }, 20000);
}

QString notice(AppHarness& h) {
    return h.app->noticeWindow() != nullptr ? h.app->noticeWindow()->text() : QString();
}

// Byte 0 of the processor's machine settings: the volumes come from a loaded
// setting (1) or the processor keeps its own (0).
void setVolumeRecall(AppHarness& h, bool on) {
    h.emulator([&](Emulator& e) {
        EmulatorState s = e.state();
        s.machine[machine::kVolumeRecall] = on ? 1 : 0;
        e.restore(s);
    });
}

void setUnplugged(AppHarness& h, bool unplugged, bool locked = false) {
    h.emulator([&](Emulator& e) {
        EmulatorFaults f;
        f.locked = locked;
        if (unplugged) {
            f.unplugAfterReports = 0;
        }
        e.setFaults(f);
        if (!unplugged) {
            e.replug();
        }
    });
}

// Both ribbon sliders and the label show the mic volume.
void expectRibbonMic(AppHarness& h, int volume) {
    EXPECT_EQ(h.ribbon().sliderValue(ribbon::Slider::Mic, 0), volume);
    EXPECT_EQ(h.ribbon().sliderValue(ribbon::Slider::Mic, 1), volume);
    EXPECT_TRUE(h.ribbon().labelText(ribbon::Slider::Mic, 0).endsWith(QString::number(volume)));
}

} // namespace

TEST(Documents, AFileOnTheCommandLineIsLoadedOnceTheFirstReadBackIsDone) {
    AppHarness h;
    setVolumeRecall(h, true);
    const QString path = writeModeFileWithMic(h, QStringLiteral("party.quilo"), 17);
    h.app->InitInstance(path, true);
    EXPECT_EQ(h.view().documents().waitingFile(), path); // no processor yet: it waits
    ASSERT_TRUE(waitUntil([&] { return h.app->connected(); }, 3000));
    // The read-back, then the write-out of the file.
    ASSERT_TRUE(waitUntil([&] { return h.view().documents().waitingFile().isEmpty(); }, 20000));
    ASSERT_TRUE(idle(h));
    pump(20);
    EXPECT_EQ(h.image().params.micVolume, 17);
    expectRibbonMic(h, 17);
    EXPECT_EQ(h.app->settings().recentFiles().value(0), path);
    EXPECT_NE(notice(h), QString::fromUtf8("请先连接设备!\nparty.quilo"));
}

TEST(Documents, AHandedOverFileShowsOnTheRibbonTheVolumesTheProcessorUses) {
    // With volume recall on, the file's volumes go to the processor; with it off
    // the processor keeps its own (50) and the ribbon shows those, not the file's.
    struct Case {
        bool recall;
        bool duringReadBack; // handed over while the first read-back still runs
        int shown;
    };
    for (const Case& c : {Case{true, false, 17}, Case{true, true, 17}, Case{false, false, 50},
                          Case{false, true, 50}}) {
        AppHarness h;
        setVolumeRecall(h, c.recall);
        h.start(!c.duringReadBack);
        if (c.duringReadBack) {
            ASSERT_TRUE(waitUntil([&] { return h.app->syncDialog() != nullptr; }, 3000));
        }
        h.app->activate(writeModeFileWithMic(h, QStringLiteral("handed.quilo"), 17));
        ASSERT_TRUE(waitUntil([&] { return h.view().documents().waitingFile().isEmpty(); }, 20000));
        ASSERT_TRUE(idle(h));
        pump(20);
        SCOPED_TRACE(testing::Message() << "recall " << c.recall << " during " << c.duringReadBack);
        EXPECT_EQ(h.image().params.micVolume, c.shown);
        expectRibbonMic(h, c.shown);
        EXPECT_EQ(h.app->settings().recentFiles().size(), 1);
    }
}

TEST(Documents, WithoutAProcessorTheConnectNoticeNamesTheFileWhichWaits) {
    AppHarness h;
    setVolumeRecall(h, true);
    setUnplugged(h, true);
    const QString path = writeModeFileWithMic(h, QStringLiteral("party.quilo"), 17);
    h.app->InitInstance(path, true);
    // Nothing is said before the attempt at start.
    EXPECT_EQ(h.app->noticeWindow(), nullptr);
    ASSERT_TRUE(waitUntil([&] { return h.view().connection().startAttempted(); }, 3000));
    EXPECT_EQ(notice(h), QString::fromUtf8("请先连接设备!\nparty.quilo"));
    EXPECT_EQ(h.app->noticeWindow()->remainingMs() > 2000, true);
    h.app->noticeWindow()->close();
    ASSERT_TRUE(waitUntil([&] { return h.app->noticeWindow() == nullptr; }));
    h.view().updateIndicators();
    EXPECT_EQ(h.status().connectionPane()->text(), QString::fromUtf8("USB：未连接"));

    // Said once: the next connection attempt that finds nothing stays quiet.
    h.view().connection().onDeviceArrival(QStringLiteral("/dev/hidraw7"));
    EXPECT_EQ(h.app->noticeWindow(), nullptr);

    // The processor comes: read back, then the file.
    setUnplugged(h, false);
    h.view().connection().onDeviceArrival(QString::fromLatin1(EmulatorTransport::kPath));
    ASSERT_TRUE(waitUntil([&] { return h.view().documents().waitingFile().isEmpty(); }, 20000));
    ASSERT_TRUE(idle(h));
    pump(20);
    EXPECT_EQ(h.image().params.micVolume, 17);
    expectRibbonMic(h, 17);
}

TEST(Documents, AProcessorThatMayNotBeOpenedIsReportedAsSuch) {
    AppHarness h(true, kChinese);
    setUnplugged(h, false, true);
    h.start(false);
    ASSERT_TRUE(waitUntil([&] { return h.view().connection().startAttempted(); }, 3000));
    EXPECT_FALSE(h.app->connected());
    const QString zh = QString::fromStdString(permissionProblemText(kChinese, "emulator://0"));
    EXPECT_EQ(notice(h), zh);
    // With QUILO_SHOTS=DIR the notice is written there to be looked at.
    if (const QString dir = qEnvironmentVariable("QUILO_SHOTS"); !dir.isEmpty()) {
        h.app->noticeWindow()->grab().save(dir + QStringLiteral("/permission_notice_zh.png"));
    }
    EXPECT_EQ(h.view().connection().tray().lastText(), zh);
    h.view().updateIndicators();
    EXPECT_EQ(h.status().connectionPane()->text(), QString::fromUtf8("USB：无访问权限"));
    EXPECT_EQ(h.status().connectionPane()->palette().color(QPalette::WindowText),
              QColor(220, 0, 0));
    h.app->setLanguage(kEnglish);
    h.view().updateIndicators();
    EXPECT_EQ(h.status().connectionPane()->text(), QStringLiteral("USB:No permission"));

    // Another interface arriving does not say it again; unplugging ends it.
    const int said = h.view().connection().tray().shownCount();
    h.view().connection().onDeviceArrival(QStringLiteral("/dev/hidraw7"));
    EXPECT_EQ(h.view().connection().tray().shownCount(), said);
    h.view().connection().onDeviceRemoval(QString::fromLatin1(EmulatorTransport::kPath));
    h.view().updateIndicators();
    EXPECT_EQ(h.status().connectionPane()->text(), QStringLiteral("USB:Disconnected"));

    // Plugged in again still locked: said again, in English now.
    h.view().connection().onDeviceArrival(QString::fromLatin1(EmulatorTransport::kPath));
    EXPECT_EQ(h.view().connection().tray().lastText(),
              QString::fromStdString(permissionProblemText(kEnglish, "emulator://0")));
    EXPECT_EQ(h.view().connection().tray().shownCount(), said + 1);

    // With the rule in place it connects.
    setUnplugged(h, false, false);
    h.view().connection().onDeviceArrival(QString::fromLatin1(EmulatorTransport::kPath));
    EXPECT_TRUE(h.app->connected());
    ASSERT_TRUE(idle(h));
    h.view().updateIndicators();
    EXPECT_TRUE(h.status().connectionPane()->text().startsWith(QStringLiteral("USB:Connected")));
}
