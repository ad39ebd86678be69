// Machine settings on an emulated processor: the edit copy the controls change, the
// applied copy "Apply" sends, Cancel and the close box, the limits that clamp the start
// volumes, and the reset of a stored mode with its read-back.
#include "ToolWindowHarness.h"
#include "device/WireValue.h"
#include "pages/CDialogMusicInput.h"
#include "pages/CSetDlg.h"
#include "smarthome/PlugFrames.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <algorithm>

using namespace quilo;
using namespace quilo::test;

namespace {

// Power on: volumes by power cycle, mic starts at 60 (limit 80), music has no start
// volume (limit 90), front panel locked with its volume lock, power-on mode M1.
constexpr MachineSettingsBytes kApplied{0, 7, 0, 60, 255, 80, 90, 1, 0x83, 9, 10, 1, 12};

struct MachineSettingsTest : ::testing::Test {
    ToolWindowHarness h;
    CSetDlg* w = nullptr;

    void SetUp() override {
        h.image->machine.applied = kApplied;
        h.image->machine.edit = kApplied;
        h.image->params.musicVolume = 95;
        w = &h.open<CSetDlg>(ToolWindowId::MachineSettings);
    }
    MachineSettingsBytes& edit() { return h.image->machine.edit; }
    CXBmpSlider& slider(int id) { return w->control<CXBmpSlider>(id); }
    QString text(int id) { return w->control<QLabel>(id).text(); }
    QCheckBox& check(int id) { return w->control<QCheckBox>(id); }
    void click(QWidget& control) { QTest::mouseClick(&control, Qt::LeftButton); }
    void click(QCheckBox& box) { clickBox(box); }
};

} // namespace

TEST_F(MachineSettingsTest, LoadsTheAppliedCopy) {
    EXPECT_EQ(slider(CSetDlg::kMicStartSlider).position(), 60);
    EXPECT_EQ(slider(CSetDlg::kMicStartSlider).maximum(), 80);
    EXPECT_TRUE(check(CSetDlg::kMicEnable).isChecked());
    EXPECT_EQ(text(CSetDlg::kMicStartText), QStringLiteral("60"));
    EXPECT_FALSE(check(CSetDlg::kMusicEnable).isChecked());
    EXPECT_FALSE(slider(CSetDlg::kMusicStartSlider).isEnabled());
    EXPECT_EQ(slider(CSetDlg::kMusicStartSlider).position(), 0);
    EXPECT_EQ(text(CSetDlg::kMusicStartText), QString::fromUtf8("无效"));
    EXPECT_FALSE(w->control<QLabel>(CSetDlg::kMusicStartCaption).isEnabled());
    EXPECT_EQ(slider(CSetDlg::kMusicMaxSlider).position(), 90);
    EXPECT_TRUE(w->control<QRadioButton>(CSetDlg::kByPower).isChecked());
    EXPECT_EQ(w->powerOnCombo().currentIndex(), 1);
    EXPECT_TRUE(check(CSetDlg::kLockPanel).isChecked());
    EXPECT_TRUE(check(CSetDlg::kLockVolume).isChecked());
    EXPECT_TRUE(check(CSetDlg::kLockMode).isEnabled());
    EXPECT_FALSE(check(CSetDlg::kLockPanel).isVisibleTo(w));
    EXPECT_TRUE(w->control<QPushButton>(CSetDlg::kResetMode1).isChecked()); // currentMode 0

    h.language.set(kEnglish);
    EXPECT_EQ(text(CSetDlg::kMusicStartText), QStringLiteral("Invalid"));
    EXPECT_EQ(check(CSetDlg::kMicEnable).text(), QStringLiteral("Enable"));
    EXPECT_EQ(w->control<QRadioButton>(CSetDlg::kByPower).text(), QStringLiteral("By power"));
}

TEST_F(MachineSettingsTest, EditsThenApplySendsTheEditCopy) {
    ASSERT_TRUE(h.connect());
    h.clearReceived();

    // Lowering the mic limit below the start volume pulls the start volume down with it,
    // and the master volume follows at once.
    moveSlider(slider(CSetDlg::kMicMaxSlider), 40);
    EXPECT_EQ(slider(CSetDlg::kMicStartSlider).position(), 40);
    EXPECT_EQ(slider(CSetDlg::kMicStartSlider).maximum(), 40);
    EXPECT_EQ(edit()[3], 40);
    EXPECT_EQ(edit()[5], 40);
    EXPECT_EQ(text(CSetDlg::kMicStartText), QStringLiteral("40"));
    EXPECT_EQ(h.image->params.micVolume, 40);
    EXPECT_EQ(paramsIn(h.received()), (std::vector<Param>{{1, 14, encodePctPlus(40)}}));

    // Music start volume enabled: taken from the music volume, kept within its limit.
    click(check(CSetDlg::kMusicEnable));
    EXPECT_EQ(edit()[4], 90);
    EXPECT_TRUE(slider(CSetDlg::kMusicStartSlider).isEnabled());
    EXPECT_EQ(text(CSetDlg::kMusicStartText), QStringLiteral("90"));
    moveSlider(slider(CSetDlg::kMusicStartSlider), 30);
    EXPECT_EQ(edit()[4], 30);
    EXPECT_EQ(h.image->params.musicVolume, 30);
    click(check(CSetDlg::kMusicEnable));
    EXPECT_EQ(edit()[4], 255);
    EXPECT_EQ(text(CSetDlg::kMusicStartText), QString::fromUtf8("无效"));
    click(check(CSetDlg::kMusicEnable));
    EXPECT_EQ(edit()[4], 30);

    click(w->control<QRadioButton>(CSetDlg::kByMode));
    EXPECT_EQ(edit()[0], 1);
    EXPECT_EQ(edit()[2], 1);
    for (int index : {0, 4}) {
        w->powerOnCombo().setCurrentIndex(index);
        emit w->powerOnCombo().activated(index);
        EXPECT_EQ(edit()[11], index);
    }
    // The hidden locks: "Lock Mode" sets bit 4, "Lock Vol" clears bits 0, 1 and 7 only.
    check(CSetDlg::kLockMode).click();
    check(CSetDlg::kLockVolume).click();
    EXPECT_EQ(edit()[8], 0x10);
    check(CSetDlg::kLockPanel).click();
    EXPECT_EQ(edit()[7], 0);
    EXPECT_FALSE(check(CSetDlg::kLockMode).isEnabled());
    EXPECT_EQ(h.image->machine.applied, kApplied); // nothing applied yet

    h.clearReceived();
    click(w->control<QPushButton>(CSetDlg::kApply));
    const MachineSettingsBytes expected{1, 7, 1, 40, 30, 40, 90, 0, 0x10, 9, 10, 4, 12};
    EXPECT_EQ(edit(), expected);
    EXPECT_EQ(h.image->machine.applied, expected);
    const std::vector<Report> got = h.received();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0], reportOf({0x02, 0x91, 1, 7, 1, 40, 30, 40, 90, 0, 0x10, 9, 10, 4, 12}));
    EXPECT_EQ(h.processor([](Emulator& e) { return e.state().machine; }), expected);
    EXPECT_EQ(h.notice(), QString::fromUtf8("机器设置已生效!"));
    EXPECT_TRUE(w->isVisible()); // Apply keeps the window open
}

// The command given again (F7 for machine settings) centres the window over the main
// window again; machine settings keep their unsent edits, other windows reload.
TEST_F(MachineSettingsTest, GivenAgainAWindowIsCentredAndKeepsUnsentEdits) {
    QWidget main;
    main.setGeometry(200, 150, 1000, 700);
    main.show();
    h.windows.setContext(h.context.get(), &main);
    moveSlider(slider(CSetDlg::kMicMaxSlider), 40);
    auto& input = h.open<CDialogMusicInput>(ToolWindowId::InputSource);
    for (ToolWindow* window : {static_cast<ToolWindow*>(w), static_cast<ToolWindow*>(&input)}) {
        window->move(0, 0);
        h.windows.open(static_cast<ToolWindowId>(window->templateId()));
        EXPECT_LE((window->geometry().center() - main.geometry().center()).manhattanLength(), 4)
            << window->templateId();
    }
    EXPECT_EQ(slider(CSetDlg::kMicMaxSlider).position(), 40);
    EXPECT_EQ(edit()[5], 40);
    EXPECT_EQ(h.image->machine.applied[5], 80);
    h.windows.setContext(h.context.get(), nullptr);
}

TEST_F(MachineSettingsTest, WithoutAProcessorApplySendsNothingAndKeepsTheEdits) {
    click(w->control<QRadioButton>(CSetDlg::kByMode));
    click(w->control<QPushButton>(CSetDlg::kApply));
    EXPECT_EQ(h.notice(), QString::fromUtf8("请先连接设备!"));
    EXPECT_EQ(h.image->machine.applied, kApplied);
    EXPECT_EQ(edit()[0], 1);
    EXPECT_TRUE(w->control<QRadioButton>(CSetDlg::kByMode).isChecked());
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(h.processor([](Emulator& e) { return e.received(); }).empty());
}

TEST_F(MachineSettingsTest, CancelAndTheCloseBoxDropTheEdits) {
    ASSERT_TRUE(h.connect());
    for (bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox);
        click(w->control<QRadioButton>(CSetDlg::kByMode));
        moveSlider(slider(CSetDlg::kMusicMaxSlider), 50);
        h.clearReceived();
        if (closeBox) {
            w->close();
        } else {
            click(w->control<QPushButton>(CSetDlg::kCancel));
        }
        EXPECT_TRUE(
            waitFor([&] { return h.windows.window(ToolWindowId::MachineSettings) == nullptr; }));
        EXPECT_TRUE(h.received().empty());
        EXPECT_EQ(h.image->machine.applied, kApplied);
        EXPECT_EQ(edit(), kApplied);
        w = &h.open<CSetDlg>(ToolWindowId::MachineSettings);
        EXPECT_TRUE(w->control<QRadioButton>(CSetDlg::kByPower).isChecked());
        EXPECT_EQ(slider(CSetDlg::kMusicMaxSlider).position(), 90);
    }
}

TEST_F(MachineSettingsTest, DefaultModeResetsTheStoredModeAndReadsEverythingBack) {
    // Unconnected: nothing happens.
    click(w->control<QPushButton>(CSetDlg::kResetMode1 + 2));
    EXPECT_EQ(h.image->currentMode.load(), 0);
    EXPECT_TRUE(w->control<QPushButton>(CSetDlg::kResetMode1).isChecked());
    EXPECT_FALSE(w->control<QPushButton>(CSetDlg::kResetMode1 + 2).isChecked());
    click(w->control<QPushButton>(CSetDlg::kClearPlugs));
    EXPECT_EQ(h.notice(), QString::fromUtf8("请先连接设备!"));

    ASSERT_TRUE(h.connect());
    // The processor runs with its mic volume at 62; the stored mode's factory value differs.
    h.processor([](Emulator& e) {
        EmulatorState s = e.state();
        s.params[{1, 14}] = {encodePctPlus(62)};
        e.restore(s);
    });
    h.image->params.micVolume = 62;
    h.clearReceived();
    click(w->control<QPushButton>(CSetDlg::kResetMode1 + 2));
    const std::vector<Report> got = h.received();
    ASSERT_GT(got.size(), 2u);
    EXPECT_EQ(got[0], reportOf({0x02, 0x06, 0x02}));
    EXPECT_EQ(h.image->currentMode.load(), 2);
    const std::uint32_t micWord = h.processor([](Emulator& e) {
        return e.state().params.at({1, 14}).at(0);
    });
    EXPECT_NE(micWord, encodePctPlus(62));
    EXPECT_EQ(encodePctPlus(h.image->params.micVolume), micWord);
    h.windows.open(ToolWindowId::MachineSettings);
    EXPECT_TRUE(w->control<QPushButton>(CSetDlg::kResetMode1 + 2).isChecked());

    // Clearing the smart-plug data starts the smart home's reset worker: the Z-Wave module
    // is told to go back to its factory state.
    h.clearReceived();
    click(w->control<QPushButton>(CSetDlg::kClearPlugs));
    EXPECT_EQ(h.notice(), QString::fromUtf8("正在清除插座数据，请稍等……"));
    QElapsedTimer clock;
    clock.start();
    auto setDefaultSent = [&] {
        const std::vector<Report> got = h.received();
        return std::find(got.begin(), got.end(), buildSetDefault()) != got.end();
    };
    while (!setDefaultSent() && clock.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    EXPECT_TRUE(setDefaultSent());
}
