// The smart-plug window against the emulated processor: adding a plug
// (exclusion, then inclusion) and its failures, removing one, switching and
// dimming answered fast and slow, and the wait dialog's stop and time-out. Each
// asserts the reports the processor received, in order, and the plug table.
#include "SmartHomeHarness.h"
#include "smarthome/PlugFrames.h"
#include "smarthome/ZwaveMemoryMap.h"
#include "smarthome/gui/CDlgZwaveEdit.h"
#include "smarthome/gui/CDlgZwaveLight.h"
#include "smarthome/gui/CDlgZwaveList.h"
#include "smarthome/gui/CDlgZwaveSwitch.h"
#include "smarthome/gui/SmartHomeTexts.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest/QTest>

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;
using std::chrono::milliseconds;

namespace {

void click(QWidget* root, int ctrlId) {
    auto* b = control<QAbstractButton>(root, ctrlId);
    ASSERT_NE(b, nullptr) << ctrlId;
    b->click();
}

// A user who presses a plug's button only once the wait dialog is up.
void slowHands(EmulatorTimings& t) {
    t.learnReady = milliseconds(20);
    t.buttonPress = milliseconds(150);
    t.inclusionStep = milliseconds(20);
}

} // namespace

TEST(SmartPlugWindow, AddingAPlugExcludesThenIncludesItAndStoresItsRecord) {
    SmartHomeHarness s({PlugKind::Switch}, kEnglish, false, slowHands);
    CDialogHomeTheater& w = s.open();
    EXPECT_EQ(w.plugList().list()->count(), 0);
    s.forget();

    click(&w.plugList(), CDlgZwaveList::kAdd);
    ASSERT_NE(w.editDialog(), nullptr);
    auto* name = control<QLineEdit>(w.editDialog(), CDlgZwaveEdit::kName);
    EXPECT_EQ(name->text(), QStringLiteral("开关1"));
    name->setText(QStringLiteral("Lamp by the sofa"));      // more than a record keeps
    EXPECT_EQ(name->text(), QStringLiteral("Lamp by the")); // the edit keeps 11
    click(w.editDialog(), CDlgZwaveEdit::kOk);
    ASSERT_TRUE(waitUntil([&] { return s.wait() != nullptr; }, 1000));
    ASSERT_TRUE(waitUntil([&] { return w.plugList().list()->count() == 1; }, 5000));
    EXPECT_TRUE(waitUntil([&] { return s.wait() == nullptr; }, 1000));

    const PlugRecord stored = PlugRecord::make(kSwitchPlug, u"Lamp by the");
    EXPECT_EQ(s.home().table().record(2), stored);
    EXPECT_TRUE(s.home().table().present(2));
    EXPECT_EQ(w.plugList().list()->item(0)->text(), QStringLiteral("Lamp by the"));
    const std::vector<Report> expected{buildRemoveNodeStart(),
                                       buildRemoveNodeStop(RemoveStop::AfterRemoval),
                                       buildAddNodeStart(), buildWritePlugRecord(2, stored)};
    EXPECT_EQ(s.sent(), expected);
    EXPECT_EQ(s.h.processor([](Emulator& e) { return e.state().plugs[0].nodeId; }), 2);
}

// Renaming keeps what the user did not change: a type the window has no name for, and the
// name itself, with the caret after it rather than the whole name selected.
TEST(SmartPlugWindow, ModifyKeepsTheStoredTypeAndOpensWithTheCaretAfterTheName) {
    SmartHomeHarness s({PlugKind::Switch}, kEnglish);
    CDialogHomeTheater& w = s.open();
    struct Case {
        std::uint8_t stored;
        int choose; // combo entry the user picks, -1 none
        std::uint8_t written;
    } const cases[] = {{7, -1, 7}, {kDimmerPlug, -1, kDimmerPlug}, {7, 0, kSwitchPlug}};
    for (const Case& c : cases) {
        s.home().table().setRecord(5, PlugRecord::make(c.stored, u"Fan"));
        s.home().table().setPresent(5, true);
        w.openEdit(5);
        ASSERT_NE(w.editDialog(), nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.editDialog()));
        auto* name = control<QLineEdit>(w.editDialog(), CDlgZwaveEdit::kName);
        EXPECT_TRUE(name->selectedText().isEmpty()) << int(c.stored);
        EXPECT_EQ(name->cursorPosition(), 3);
        if (c.choose >= 0) {
            control<QComboBox>(w.editDialog(), CDlgZwaveEdit::kType)->setCurrentIndex(c.choose);
        }
        s.forget();
        click(w.editDialog(), CDlgZwaveEdit::kOk);
        EXPECT_EQ(s.home().table().record(5).type(), c.written) << int(c.stored);
        EXPECT_EQ(s.sent(), std::vector<Report>{
                                buildWritePlugRecord(5, PlugRecord::make(c.written, u"Fan"))});
        ASSERT_TRUE(waitUntil([&] { return w.editDialog() == nullptr; }, 1000));
    }
}

TEST(SmartPlugWindow, AFailedStepOfAddingSaysSoAndAddsNothing) {
    struct Case {
        bool exclusionFails;
        const char* text;
        std::vector<Report> sent;
    };
    const Case cases[] = {
        {true, "删除失败，请重试", {buildRemoveNodeStart()}},
        {false,
         "添加失败，请重试",
         {buildRemoveNodeStart(), buildRemoveNodeStop(RemoveStop::AfterRemoval),
          buildAddNodeStart()}},
    };
    for (const Case& c : cases) {
        SmartHomeHarness s({PlugKind::Switch}, kChinese, false, slowHands);
        CDialogHomeTheater& w = s.open();
        s.setFaults([&](EmulatorFaults& f) {
            f.zwave.exclusionFails = c.exclusionFails;
            f.zwave.inclusionFails = !c.exclusionFails;
        });
        s.forget();
        w.openEdit(0);
        click(w.editDialog(), CDlgZwaveEdit::kOk);
        ASSERT_TRUE(waitUntil([&] { return s.wait() != nullptr; }, 1000));
        ASSERT_TRUE(waitUntil(
            [&] { return s.wait() != nullptr && s.wait()->text() == QString::fromUtf8(c.text); },
            5000))
            << c.text;
        EXPECT_EQ(s.wait()->textColour(), hometext::kFailure);
        EXPECT_TRUE(waitUntil([&] { return s.wait() == nullptr; }, 3000)); // after 1 s
        EXPECT_EQ(s.sent(), c.sent) << c.text;
        EXPECT_EQ(w.plugList().list()->count(), 0);
        EXPECT_TRUE(s.home().table().addAfterRemove()); // left for the next remove to clear
    }
}

TEST(SmartPlugWindow, RemovingAPlugTakesItOutOfTheListAndDeletesItsKeyFile) {
    SmartHomeHarness s({PlugKind::Switch, PlugKind::Dimmer}, kChinese, true, slowHands);
    CDialogHomeTheater& w = s.open();
    ASSERT_EQ(w.plugList().list()->count(), 2);
    ASSERT_EQ(s.home().keys().createKeyFile(3), KeyFileStatus::Ok);
    s.h.processor([](Emulator& e) { e.setButtonTarget(1); }); // the dimmer, id 3
    s.forget();

    click(&w.plugList(), CDlgZwaveList::kRemove);
    ASSERT_TRUE(waitUntil([&] { return w.plugList().list()->count() == 1; }, 5000));
    EXPECT_FALSE(s.home().table().present(3));
    EXPECT_FALSE(s.home().keys().exists(3));
    EXPECT_TRUE(waitUntil([&] { return s.wait() == nullptr; }, 1000));
    EXPECT_EQ(s.sent(), (std::vector<Report>{buildRemoveNodeStart(),
                                             buildRemoveNodeStop(RemoveStop::AfterRemoval)}));
}

TEST(SmartPlugWindow, PlugCommandsShowTheWaitDialogOnlyWhenTheAnswerIsSlow) {
    struct Case {
        const char* what;
        milliseconds replyDelay;
        bool dimmer;
        int button;
        int value;
        bool waitShown;
    };
    const Case cases[] = {
        {"switch on, fast", milliseconds(0), false, CDlgZwaveSwitch::kOn, kPlugOnSwitch, false},
        {"switch off, slow", milliseconds(400), false, CDlgZwaveSwitch::kOff, kPlugOff, true},
        {"dimmer up from 40", milliseconds(0), true, CDlgZwaveLight::kUp, 41, false},
        {"dimmer down from 40", milliseconds(0), true, CDlgZwaveLight::kDown, 39, false},
        {"dimmer off", milliseconds(400), true, CDlgZwaveLight::kOff, 0, true},
        {"dimmer max", milliseconds(0), true, CDlgZwaveLight::kMax, 99, false},
    };
    for (const Case& c : cases) {
        SmartHomeHarness s({PlugKind::Switch, PlugKind::Dimmer});
        CDialogHomeTheater& w = s.open();
        s.home().table().setLastValue(3, 40);
        s.forget();
        s.setFaults([&](EmulatorFaults& f) { f.replyDelay = c.replyDelay; });
        if (c.dimmer) {
            w.plugList().list()->itemClicked(w.plugList().list()->item(1));
            ASSERT_NE(w.dimmerDialog(), nullptr);
            EXPECT_EQ(w.dimmerDialog()->level(), 40);
            click(w.dimmerDialog(), c.button);
            EXPECT_EQ(w.dimmerDialog()->level(), c.value) << c.what;
            EXPECT_EQ(w.dimmerDialog()->levelText(), CDlgZwaveLight::levelText(c.value));
        } else {
            w.plugList().list()->itemClicked(w.plugList().list()->item(0));
            ASSERT_NE(w.switchDialog(), nullptr);
            click(w.switchDialog(), c.button);
        }
        bool waitSeen = false;
        waitUntil(
            [&] {
                waitSeen = waitSeen || s.wait() != nullptr;
                return !w.operation().timerActive() && s.wait() == nullptr &&
                       s.h.session->writer().queued() == 0 && (waitSeen || !c.waitShown);
            },
            5000);
        pump(c.waitShown ? 500 : 150); // the answer, and no dialog after it
        EXPECT_EQ(waitSeen, c.waitShown) << c.what;
        EXPECT_EQ(s.wait(), nullptr) << c.what;
        EXPECT_EQ(s.sent(), std::vector<Report>{buildSendBasicSet(c.dimmer ? 3 : 2, c.value)})
            << c.what;
        EXPECT_EQ(s.home().table().lastValue(c.dimmer ? 3 : 2), c.value) << c.what;
    }
}

TEST(SmartPlugWindow, TheWaitDialogStopsOrTimesOutWithTheOperationsStopFrame) {
    struct Case {
        const char* what;
        int op;
        bool timeOut;
        Report stop;
    };
    const Case cases[] = {
        {"plug command stopped", PlugOperation::kPlugCommand, false, buildSendAbort()},
        {"plug command timed out", PlugOperation::kPlugCommand, true, buildSendAbort()},
        {"removal stopped", PlugOperation::kExclusion, false,
         buildRemoveNodeStop(RemoveStop::Cancelled)},
        {"inclusion timed out", PlugOperation::kInclusion, true, buildAddNodeStop()},
    };
    for (const Case& c : cases) {
        SmartHomeHarness s({PlugKind::Switch});
        CDialogHomeTheater& w = s.open();
        s.setFaults([](EmulatorFaults& f) {
            f.zwave.noSendCallback = true;
            f.zwave.nobodyPresses = true;
        });
        w.operation().setWaitTimings({150, 300, 300});
        s.forget();
        w.operation().start(QStringLiteral("…"), c.op, 0, 2, kPlugOnSwitch);
        ASSERT_TRUE(waitUntil([&] { return s.wait() != nullptr; }, 1000)) << c.what;
        if (!c.timeOut) {
            click(s.wait(), CWaitDlg::kStopButton);
        }
        EXPECT_TRUE(waitUntil([&] { return s.wait() == nullptr; }, 3000)) << c.what;
        const std::vector<Report> got = s.sent();
        ASSERT_FALSE(got.empty()) << c.what;
        EXPECT_EQ(got.back(), c.stop) << c.what;
        EXPECT_EQ(s.lastNotice() == QStringLiteral("发生错误，操作超时……"), c.timeOut) << c.what;
    }
}

TEST(SmartPlugWindow, WithoutAProcessorCommandsOnlySayPleaseConnect) {
    SmartHomeHarness s({PlugKind::Switch, PlugKind::Dimmer}, kEnglish);
    CDialogHomeTheater& w = s.open(false);
    w.openSwitch(2);
    click(w.switchDialog(), CDlgZwaveSwitch::kOn);
    EXPECT_EQ(s.lastNotice(), QStringLiteral("Please connect device!"));
    EXPECT_FALSE(w.operation().timerActive());
    click(&w, CDialogHomeTheater::kReset); // nothing at all
    click(&w, CDialogHomeTheater::kPowerOn);
    EXPECT_EQ(w.progress().dialog(), nullptr);
    EXPECT_TRUE(s.sent().empty());
    // The status poll stays off while the window exists.
    EXPECT_FALSE(s.h.session->polling().open());
    s.window.reset();
    EXPECT_TRUE(s.h.session->polling().open());
}

TEST(SmartPlugWindow, StoppingAnAddInItsInclusionPhaseEndsTheInclusion) {
    SmartHomeHarness s({PlugKind::Switch}, kChinese, false, [](EmulatorTimings& t) {
        t.learnReady = milliseconds(20);
        t.buttonPress = milliseconds(400);
    });
    CDialogHomeTheater& w = s.open();
    w.openEdit(0);
    s.forget();
    click(w.editDialog(), CDlgZwaveEdit::kOk);
    // The second press is asked for once the exclusion is done.
    ASSERT_TRUE(waitUntil(
        [&] {
            return s.wait() != nullptr && s.wait()->text() == QStringLiteral("请长按3秒第二次确认");
        },
        3000));
    EXPECT_EQ(s.wait()->textColour(), hometext::kAttention);
    click(s.wait(), CWaitDlg::kStopButton);
    EXPECT_TRUE(waitUntil([&] { return s.wait() == nullptr; }, 1000));
    pump(600); // the plug's button would have been pressed by now
    EXPECT_EQ(s.sent(), (std::vector<Report>{buildRemoveNodeStart(),
                                             buildRemoveNodeStop(RemoveStop::AfterRemoval),
                                             buildAddNodeStart(), buildAddNodeStop()}));
    EXPECT_FALSE(s.home().table().present(2));
    EXPECT_EQ(w.plugList().list()->count(), 0);
}
