// The image has one owner at a time: while a read-back or write-out runs, the
// user-interface thread's timers must not read what the run and the processor's
// replies are filling in. Run under ThreadSanitizer, a read of the wrong owner
// stops the test.
#include "AppHarness.h"
#include "device/WireValue.h"
#include "emulator/EmulatorState.h"
#include "model/ModeFile.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QtTest/QTest>

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

// The processor holds mode 3 under its own name and a microphone volume of its own.
void giveProcessorItsOwnMode(Emulator& e) {
    EmulatorState s = e.state();
    const std::u16string name = u"Kino";
    const std::size_t at = kModeNameAddresses[2];
    for (std::size_t i = 0; i <= name.size(); ++i) {
        const char16_t unit = i < name.size() ? name[i] : u'\0';
        s.memory[at + 2 * i] = static_cast<std::uint8_t>(unit >> 8);
        s.memory[at + 2 * i + 1] = static_cast<std::uint8_t>(unit);
    }
    s.currentMode = 2;
    s.params[{1, 14}] = {encodePctPlus(63)};
    e.restore(s);
}

// Refreshes the indicators as often as the event loop lets it until the run is over.
void refreshWhileRunning(AppHarness& h) {
    EXPECT_TRUE(waitUntil(
        [&] {
            h.view().updateIndicators();
            return h.app->syncDialog() == nullptr && !h.app->session().sync().busy();
        },
        20000));
    pump(50);
}

} // namespace

TEST(ImageOwner, IndicatorsRefreshedDuringAReadBackShowWhatItBroughtAfterwards) {
    AppHarness h(true, kEnglish);
    h.emulator(giveProcessorItsOwnMode);
    h.start(false);
    ASSERT_TRUE(waitUntil([&] { return h.app->connected(); }, 3000));
    refreshWhileRunning(h);

    h.view().updateIndicators();
    EXPECT_EQ(h.status().modePane()->text(), QStringLiteral("Current Mode:Mode3[Kino]"));
    EXPECT_EQ(h.ribbon().sliderValue(ribbon::Slider::Mic, 0), 63);
}

TEST(ImageOwner, IndicatorsRefreshedDuringAWriteOutShowTheVolumesReadBackAtItsEnd) {
    AppHarness h(true, kEnglish);
    h.start(true);
    ASSERT_TRUE(h.app->connected());
    h.view().commands().trigger(UserCommand::Preset, 3);
    refreshWhileRunning(h);

    // The write-out ends by reading the two master volumes back.
    const int pushed = h.image().params.micVolume;
    EXPECT_EQ(h.ribbon().sliderValue(ribbon::Slider::Mic, 0), pushed);
    EXPECT_TRUE(h.app->connected());
}

TEST(ImageOwner, OnceTheDialogGivesUpInputWaitsForTheImageAndACloseCancelsTheRun) {
    AppHarness h(true, kEnglish, [](AppOptions& o) {
        o.syncDialogTimeoutMs = 200;
        o.session.linkOptions.pacingWait = std::chrono::milliseconds(100);
    });
    h.emulator([](Emulator& e) {
        EmulatorFaults f;
        f.silent = true; // every paced write waits out its time: a long read-back
        e.setFaults(f);
    });
    h.start(false);
    ASSERT_TRUE(waitUntil([&] { return h.prompter->count(QStringLiteral("message")) > 0; }, 5000));
    ASSERT_EQ(h.app->syncDialog(), nullptr);
    ASSERT_FALSE(h.image().mainThreadOwns());

    // The run still fills the image: a click on a mute box goes nowhere.
    auto* mute = qobject_cast<QCheckBox*>(h.ribbon().control(ribbon::kMuteIds[0][0]));
    ASSERT_NE(mute, nullptr);
    const bool before = mute->isChecked();
    QTest::mouseClick(mute, Qt::LeftButton);
    EXPECT_EQ(mute->isChecked(), before);

    // Closing cancels the run and happens once the image is back.
    EXPECT_FALSE(h.app->mainFrame()->close());
    EXPECT_TRUE(h.app->mainFrame()->isVisible());
    EXPECT_TRUE(waitUntil([&] { return !h.app->mainFrame()->isVisible(); }, 3000));
    EXPECT_TRUE(h.image().mainThreadOwns());
    EXPECT_FALSE(h.app->connected());

    // Input goes through again.
    QTest::mouseClick(mute, Qt::LeftButton);
    EXPECT_NE(mute->isChecked(), before);
}

TEST(ImageOwner, AFileHandedOverDuringAReadBackIsLoadedWhenTheImageIsBack) {
    AppHarness h(true, kEnglish, [](AppOptions& o) {
        o.session.syncTimings.pullSettle = std::chrono::milliseconds(300);
    });
    DeviceImage file;
    file.resetToDefaults();
    file.params.echoVolume = 33;
    const QString path = h.dir.filePath(QStringLiteral("party.quilo"));
    ASSERT_TRUE(writeModeFile(QFile::encodeName(path).toStdString(), file).ok());
    h.start(false);
    ASSERT_TRUE(waitUntil([&] { return h.app->connected(); }, 3000));
    ASSERT_FALSE(h.image().mainThreadOwns()); // the read-back waits for the processor to settle

    h.app->activate(path); // another start hands its file over
    refreshWhileRunning(h);
    EXPECT_TRUE(waitUntil([&] { return h.app->settings().recentFiles().value(0) == path; }));
    refreshWhileRunning(h); // the file's write-out
    EXPECT_EQ(h.image().params.echoVolume, 33);
}
