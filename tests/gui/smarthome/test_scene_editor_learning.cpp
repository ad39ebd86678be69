// The scene editor and the key learning page against the emulated processor:
// a scene edited, saved (and refused without a processor) and test-run, and the
// learning and emitting cycles of an infrared plug with each of the plug's
// answers, down to the key file.
#include "SmartHomeHarness.h"
#include "smarthome/PlugFrames.h"
#include "smarthome/ZwaveMemoryMap.h"
#include "smarthome/gui/CDialogZwaveRemoter.h"
#include "smarthome/gui/CRemoteLearnDlg.h"
#include "smarthome/gui/SmartHomeTexts.h"
#include "ui/SyncProgress.h"
#include "ui/SyncProgressDialog.h"
#include "widgets/CXBmpSlider.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace quilo;
using namespace quilo::test;
using std::chrono::milliseconds;
using Editor = CDialogZwaveRemoter;

namespace {

void click(QWidget* root, int ctrlId) {
    auto* b = control<QAbstractButton>(root, ctrlId);
    ASSERT_NE(b, nullptr) << ctrlId;
    b->click();
}

void choose(QWidget* root, int ctrlId, int index) {
    auto* combo = control<QComboBox>(root, ctrlId);
    ASSERT_NE(combo, nullptr) << ctrlId;
    combo->setCurrentIndex(index);
    combo->activated(index);
}

QStringList rows(QTreeWidget* list) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* r = list->topLevelItem(i);
        out << r->text(0) + QLatin1Char('|') + r->text(1) + QLatin1Char('|') + r->text(2);
    }
    return out;
}

void select(QTreeWidget* list, int row) {
    list->setCurrentItem(list->topLevelItem(row));
}

} // namespace

TEST(SceneEditor, EditSaveAndTestAScene) {
    SmartHomeHarness s({PlugKind::Switch, PlugKind::Dimmer});
    CDialogHomeTheater& w = s.open();
    Editor& e = w.sceneEditor();
    w.showTab(1);
    choose(&e, Editor::kSceneChoice, kPowerOnScene);

    // Switch plug on, a 2 s delay, dimmer at 50.
    choose(&e, Editor::kPlugChoice, 0);
    control<QCheckBox>(&e, Editor::kOnCheck)->setChecked(true);
    click(&e, Editor::kAdd);
    control<CXBmpSlider>(&e, Editor::kDelaySlider)->setPosition(2);
    click(&e, Editor::kAddDelay);
    choose(&e, Editor::kPlugChoice, 1);
    EXPECT_TRUE(control<CXBmpSlider>(&e, Editor::kLevelSlider)->isVisibleTo(&e));
    EXPECT_FALSE(control<QCheckBox>(&e, Editor::kOnCheck)->isVisibleTo(&e));
    control<CXBmpSlider>(&e, Editor::kLevelSlider)->setPosition(50);
    click(&e, Editor::kAdd);
    EXPECT_EQ(rows(e.steps()), (QStringList{"1|Plug0|开", "2|延时|2秒", "3|Plug1|51"}));

    // The last row up and down again: the first order, Index column unchanged.
    select(e.steps(), 2);
    click(&e, Editor::kUp);
    EXPECT_EQ(rows(e.steps()), (QStringList{"1|Plug0|开", "2|Plug1|51", "3|延时|2秒"}));
    click(&e, Editor::kDown);
    EXPECT_EQ(rows(e.steps()), (QStringList{"1|Plug0|开", "2|延时|2秒", "3|Plug1|51"}));
    click(&e, Editor::kDown);
    EXPECT_EQ(s.lastNotice(), QStringLiteral("已移至尾项"));
    EXPECT_EQ(e.draft().rows()[2].step, (SceneStep{3, 50}));

    s.forget();
    click(&e, Editor::kSave);
    EXPECT_EQ(s.lastNotice(), QStringLiteral("保存完成"));
    Scene expected{};
    expected[0] = {2, kPlugOn};
    expected[1] = {kDelayStep, 2};
    expected[2] = {3, 50};
    EXPECT_EQ(s.home().table().scene(kPowerOnScene), expected);
    EXPECT_EQ(s.sent(), std::vector<Report>{buildWriteScene(kPowerOnScene, expected)});

    // Test runs the scene as stored, not the rows being edited.
    click(&e, Editor::kClear);
    EXPECT_EQ(e.steps()->topLevelItemCount(), 0);
    click(&e, Editor::kTest);
    ASSERT_NE(w.progress().dialog(), nullptr);
    // A scene may run longer than 30 s: its dialog waits for the scene, not for a clock.
    EXPECT_FALSE(w.progress().dialog()->timeoutRunning());
    ASSERT_TRUE(waitUntil([&] { return w.progress().dialog() == nullptr; }, 5000));
    EXPECT_EQ(s.sent(),
              (std::vector<Report>{buildSendBasicSet(2, kPlugOn), buildSendBasicSet(3, 50)}));
    // The window refreshed the pages after the scene: the stored rows are back.
    EXPECT_EQ(e.steps()->topLevelItemCount(), 3);

    // 28 rows: every add and reset refuses.
    for (int i = e.steps()->topLevelItemCount(); i < kSceneStepCount; ++i) {
        click(&e, Editor::kAddDelay);
    }
    select(e.steps(), 0);
    for (int button : {Editor::kAdd, Editor::kAddKey, Editor::kAddDelay, Editor::kResetValue,
                       Editor::kResetKey, Editor::kResetDelay}) {
        s.h.prompter.noticeWindow()->close();
        click(&e, button);
        EXPECT_EQ(s.lastNotice(), QStringLiteral("情景指令已达最大数量")) << button;
    }
    EXPECT_EQ(e.steps()->topLevelItemCount(), kSceneStepCount);
}

TEST(SceneEditor, StoredStepsShowWithGapsAndSavingWithoutAProcessorChangesNothing) {
    SmartHomeHarness s({PlugKind::Switch}, kEnglish);
    Scene stored{};
    stored[0] = {kHdmiStep, 2};
    stored[1] = {2, 0};
    stored[2] = {9, kPlugOn}; // a plug that is not in the network
    stored[3] = {kDelayStep, 100};
    CDialogHomeTheater& w = s.open();
    ASSERT_TRUE(s.home().saveScene(0, stored));
    w.refreshPages();
    Editor& e = w.sceneEditor();
    EXPECT_EQ(rows(e.steps()), (QStringList{"2|Plug0|OFF", "4|Delay|100s"}));

    // Running it: the HDMI step reaches the image on this thread, the absent plug
    // is skipped.
    s.forget();
    click(&e, Editor::kTest);
    ASSERT_TRUE(waitUntil([&] { return w.progress().dialog() == nullptr; }, 5000));
    pump(20);
    EXPECT_EQ(s.h.image->params.hdmiSelect, 2);
    const std::vector<Report> ran = s.sent();
    ASSERT_EQ(ran.size(), 2u);
    EXPECT_EQ(ran[0][1], 0x09); // SetParam of the HDMI input
    EXPECT_EQ(ran[1], buildSendBasicSet(2, 0));

    s.h.session->closeLink(false);
    click(&e, Editor::kDelete); // nothing selected
    EXPECT_EQ(s.lastNotice(), QStringLiteral("Please select a item"));
    select(e.steps(), 0);
    click(&e, Editor::kDelete);
    click(&e, Editor::kSave);
    EXPECT_EQ(s.lastNotice(), QStringLiteral("Please connect device!"));
    EXPECT_EQ(s.home().table().scene(0), stored);
}

TEST(KeyLearning, LearningAndEmittingFollowThePlugsAnswers) {
    struct Case {
        const char* what;
        bool learn;
        std::uint8_t learnOutcome;
        bool alreadyLearned;
        int plugReportMs; // how long the plug takes to answer
        const char* text; // what the wait dialog says last; empty: no dialog
        int status;       // the key's Status in the file afterwards
    };
    const Case cases[] = {
        {"learned", true, 3, false, 30, "学习完成", 1},
        {"check error", true, 4, true, 30, "校验错误，请重新学习", 0},
        {"no key in time", true, 5, true, 30, "等待遥控器按键超时", 0},
        {"emitted at once", false, 3, true, 30, "", 1},
        {"emitted slowly", false, 3, true, 300, "", 1}, // the dialog closes at once
        {"emitting failed", false, 3, false, 300, "遥控按键发射失败", 0},
    };
    constexpr int kRow = 62; // learning sends 254, emitting 190
    for (const Case& c : cases) {
        SmartHomeHarness s({PlugKind::Infrared}, kChinese, true, [&](EmulatorTimings& t) {
            t.plugReport = milliseconds(c.plugReportMs);
            t.irKeyPress = milliseconds(60);
            t.irLearnTimeout = milliseconds(60);
        });
        CDialogHomeTheater& w = s.open();
        s.setFaults([&](EmulatorFaults& f) { f.zwave.learnOutcome = c.learnOutcome; });
        if (c.alreadyLearned) {
            s.h.processor([](Emulator& e) {
                EmulatorState st = e.state();
                st.plugs[0].learnedKeys = std::uint64_t(1) << kRow;
                e.restore(st);
            });
        }
        CRemoteLearnDlg& page = w.learnPage();
        w.showTab(2);
        choose(&page, CRemoteLearnDlg::kPlugChoice, 0);
        ASSERT_EQ(page.keys()->topLevelItemCount(), kInfraredKeyCount) << c.what;
        EXPECT_EQ(page.keys()->topLevelItem(0)->text(1), QStringLiteral("Key1"));
        s.home().keys().setKeyStatus(2, kRow, c.alreadyLearned ? 1 : 0);
        page.refreshKeyList();
        select(page.keys(), kRow);
        s.forget();

        click(&page, c.learn ? CRemoteLearnDlg::kLearn : CRemoteLearnDlg::kTransmit);
        QString lastText;
        bool waitSeen = false;
        waitUntil(
            [&] {
                if (CWaitDlg* d = s.wait()) {
                    waitSeen = true;
                    lastText = d->text();
                }
                return !w.operation().timerActive() && s.wait() == nullptr &&
                       (waitSeen || c.plugReportMs < PlugOperation::kQuickAnswerMs);
            },
            5000);
        if (*c.text != 0) {
            EXPECT_EQ(lastText, QString::fromUtf8(c.text)) << c.what;
        }
        EXPECT_EQ(waitSeen, c.learn || c.plugReportMs > PlugOperation::kQuickAnswerMs) << c.what;
        std::vector<PlugKey> keys;
        ASSERT_EQ(s.home().keys().readKeys(2, keys), KeyFileStatus::Ok);
        EXPECT_EQ(keys[kRow].status, c.status) << c.what;
        EXPECT_EQ(page.keys()->topLevelItem(kRow)->text(2),
                  QString::fromUtf8(c.status != 0 ? "已学习" : "未学习"))
            << c.what;
        EXPECT_EQ(s.sent(), std::vector<Report>{buildSendBasicSet(
                                2, (c.learn ? kLearnKeyValue : kEmitKeyValue) + kRow)})
            << c.what;
    }
}

TEST(KeyLearning, RenamingTrimsAndRefusesEmptyNamesAndReportsWithoutDialogAreHandled) {
    SmartHomeHarness s({PlugKind::Infrared});
    CDialogHomeTheater& w = s.open();
    CRemoteLearnDlg& page = w.learnPage();
    choose(&page, CRemoteLearnDlg::kPlugChoice, 0);
    auto* name = control<QLineEdit>(&page, CRemoteLearnDlg::kName);

    name->setText(QStringLiteral("   "));
    click(&page, CRemoteLearnDlg::kRename);
    ASSERT_NE(s.h.prompter.last(QStringLiteral("message")), nullptr);
    EXPECT_EQ(s.h.prompter.last(QStringLiteral("message"))->text,
              QStringLiteral("遥控键名称不能为空字符串!"));
    name->setText(QStringLiteral("  TV & <Power>  "));
    click(&page, CRemoteLearnDlg::kRename);
    EXPECT_EQ(s.lastNotice(), QStringLiteral("请在列表中选择一个按键"));
    select(page.keys(), 4);
    click(&page, CRemoteLearnDlg::kRename);
    EXPECT_EQ(s.home().keys().keyName(2, 4), "TV & <Power>");
    EXPECT_EQ(page.keys()->topLevelItem(4)->text(1), QStringLiteral("TV & <Power>"));

    // A key file that cannot be read is shown as such and left as it is.
    const std::string damaged = "<Keys><Key Index=\"0\" Name=";
    { std::ofstream(s.home().keys().path(2), std::ios::binary) << damaged; }
    const std::size_t messages = s.h.prompter.shown.size();
    page.refreshKeyList();
    EXPECT_EQ(s.h.prompter.shown.size(), messages + 1);
    EXPECT_EQ(page.keys()->topLevelItemCount(), kInfraredKeyCount); // the list as it was
    std::ifstream in(s.home().keys().path(2), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), damaged);
    ASSERT_EQ(s.home().keys().createKeyFile(2), KeyFileStatus::Ok);
    page.refreshKeyList();

    // Without a wait dialog: 3 changes nothing, 4 and 5 still clear the key.
    s.home().table().setLearningKey(4);
    s.home().keys().setKeyStatus(2, 4, 1);
    page.plugReport(2, 3);
    page.plugReport(2, 5);
    EXPECT_EQ(page.keys()->topLevelItem(4)->text(2), QStringLiteral("未学习"));
    s.home().keys().setKeyStatus(2, 4, 1);
    page.plugReport(2, 3);
    std::vector<PlugKey> keys;
    ASSERT_EQ(s.home().keys().readKeys(2, keys), KeyFileStatus::Ok);
    EXPECT_EQ(keys[4].status, 1);
}
