// The output page in the whole program on the emulated processor: the "Output" category
// brings it for the remembered channel, the status bar's equaliser commands act on it, and
// a read-back, a stored mode, a preset and a language switch all reach what it shows.
#include "AppHarness.h"
#include "model/FieldSetters.h"
#include "pages/CDialogOutput.h"
#include "pages/ChannelEqSection.h"
#include "widgets/CEqPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest/QTest>

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

constexpr int kReverbValueLabel = 1128;

struct OutputArea : ::testing::Test {
    AppHarness h{true, kChinese};
    void SetUp() override {
        h.start(true);
        ASSERT_TRUE(h.app->connected());
    }
    CDialogOutput* page() { return dynamic_cast<CDialogOutput*>(h.view().pages().current()); }
    QString reverbShown() { return page()->label(kReverbValueLabel).text(); }
    bool waitSyncEnd() {
        return waitUntil(
            [&] { return h.app->syncDialog() == nullptr && !h.app->session().sync().busy(); },
            20000);
    }
    // Stores and sends a level as the page would, then forgets it in the image only.
    void sendReverbThenForget(int channel, int percent) {
        FieldSetters(h.image(), h.app->session().uiSink())
            .set(&DspParams::outReverbLevel, channel, percent);
        h.drain();
        h.image().params.outReverbLevel[channel] = 0;
    }
};

} // namespace

TEST_F(OutputArea, OutputCategoryShowsTheRememberedChannelAndTheEqualiserCommandsReachIt) {
    h.view().pageState().outputChannel = 4;
    h.ribbon().setActiveCategory(ribbon::kOutput);
    ASSERT_NE(page(), nullptr);
    EXPECT_EQ(page()->currentChannel(), 4);
    EXPECT_GE(page()->width(), 1024);

    // Chosen again, the page goes back to the channel the page area remembers.
    QTest::mouseClick(&page()->linkedBox(6), Qt::LeftButton, {}, QPoint(6, 8));
    page()->selectChannel(1);
    h.view().pageState().outputChannel = 4;
    h.view().pages().categoryChanged(ribbon::kOutput);
    EXPECT_EQ(page()->currentChannel(), 4);

    // Bypass from the status bar and from the P key: CH 5 and linked CH 7, stored and sent.
    h.view().updateIndicators();
    QCheckBox* bypass = h.status().bypassBox();
    ASSERT_TRUE(bypass->isEnabled());
    h.clearReceived();
    QTest::mouseClick(bypass, Qt::LeftButton);
    EXPECT_EQ(h.image().params.outEqSwitch[4], 1);
    EXPECT_EQ(h.image().params.outEqSwitch[6], 1);
    EXPECT_TRUE(bypass->isChecked());
    EXPECT_TRUE(page()->eqSection().editor().bypass());
    h.drain();
    std::vector<int> modules;
    for (const Report& r : h.received())
        if (r[1] == 0x09 && r[4] == 15)
            modules.push_back(r[3]);
    EXPECT_EQ(modules, (std::vector<int>{9, 11}));
    QTest::keyClick(h.app->mainFrame(), Qt::Key_P);
    EXPECT_EQ(h.image().params.outEqSwitch[4], 0);
    EXPECT_FALSE(bypass->isChecked());

    // Reset EQ, confirmed: both channels flat again, the page shows the band list.
    BandOps(h.image(), h.app->session().uiSink()).applyBand(13, 2, 1, 9.0f, 300.0f, 2.0f);
    page()->refreshFromImage();
    page()->eqSection().onBandPicked(2);
    h.prompter->yesNo = {true};
    QTest::mouseClick(h.status().resetEqButton(), Qt::LeftButton);
    EXPECT_EQ(BandOps(h.image(), h.app->session().uiSink()).band(13, 2).gainDb, 0.0f);
    EXPECT_TRUE(page()->eqSection().bandListMode());
}

TEST_F(OutputArea, ReadBackStoredModePresetAndLanguageRefreshThePage) {
    h.view().pageState().outputChannel = 2;
    h.ribbon().setActiveCategory(ribbon::kOutput);
    ASSERT_NE(page(), nullptr);

    // A read-back.
    sendReverbThenForget(2, 40);
    page()->refreshFromImage();
    EXPECT_EQ(reverbShown(), QStringLiteral("0%"));
    h.view().connection().startPull();
    ASSERT_TRUE(waitSyncEnd());
    EXPECT_EQ(reverbShown(), QStringLiteral("40%"));

    // A stored mode: mode 2 holds 40, the processor 15 live.
    h.emulator([](Emulator& e) {
        EmulatorState s = e.state();
        s.modes[2].params = s.params;
        e.restore(s);
    });
    sendReverbThenForget(2, 15);
    h.image().settingsChanged = 0;
    h.view().commands().trigger(UserCommand::LoadMode, 2);
    ASSERT_TRUE(waitSyncEnd());
    EXPECT_EQ(h.image().params.outReverbLevel[2], 40);
    EXPECT_EQ(reverbShown(), QStringLiteral("40%"));

    // A preset: whatever it holds for CH 3 is what the page shows.
    h.image().params.outReverbLevel[2] = 37;
    page()->refreshFromImage();
    h.view().commands().trigger(UserCommand::Preset, 3);
    ASSERT_TRUE(waitSyncEnd());
    EXPECT_NE(h.image().params.outReverbLevel[2], 37);
    EXPECT_EQ(reverbShown(), QStringLiteral("%1%").arg(h.image().params.outReverbLevel[2]));

    // A language switch relabels and reloads the page; the page stays.
    CDialogOutput* before = page();
    const int code = h.image().params.outLocation[5];
    h.image().params.outReverbLevel[2] = 12; // changed behind the page's back
    h.app->setLanguage(kEnglish);
    EXPECT_EQ(page(), before);
    EXPECT_EQ(page()->muteBox(0).text(), QStringLiteral("Mute"));
    EXPECT_EQ(page()->positionBox(5).currentIndex(), code);
    EXPECT_FALSE(page()->positionBox(5).currentText().isEmpty());
    EXPECT_EQ(page()->positionBox(5).currentText().at(0), QLatin1Char('C')); // "CH-..."
    EXPECT_EQ(reverbShown(), QStringLiteral("12%"));
}
