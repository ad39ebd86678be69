// The page area, the tool windows and the language switch of every open window.
#include "AppHarness.h"
#include "FakeWindows.h"
#include "ui/CInfoDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QtTest/QTest>

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

struct PagesWindows : ::testing::Test {
    AppHarness h{true, kChinese, [](AppOptions& o) { o.connectDelayMs = 60 * 60 * 1000; }};
    void SetUp() override {
        registerFakes(*h.app);
        h.start(false);
    }
    FakePage* page() { return dynamic_cast<FakePage*>(h.view().pages().current()); }
    void press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target != nullptr ? target : h.app->mainFrame(), Qt::Key(key), mods);
    }
    FakeToolWindow* tool(ToolWindowId id) {
        return dynamic_cast<FakeToolWindow*>(h.app->toolWindow(id));
    }
};

} // namespace

TEST_F(PagesWindows, FirstPageFillsTheAreaAndCategoriesSwitchPages) {
    FakePage* music = page();
    ASSERT_NE(music, nullptr);
    EXPECT_EQ(music->kind(), PageKind::MusicMic);
    EXPECT_GE(music->width(), 1024);
    EXPECT_GE(music->height(), 520);
    EXPECT_EQ(music->label->text(), QString::fromUtf8("取消")); // its table applied
    EXPECT_GE(music->refreshes, 1);

    QPointer<FakePage> first = music;
    h.ribbon().setActiveCategory(ribbon::kOutput);
    ASSERT_NE(page(), nullptr);
    EXPECT_EQ(page()->kind(), PageKind::Output);
    EXPECT_TRUE(waitUntil([&] { return first.isNull(); }, 1000)); // the old page is gone

    h.ribbon().setActiveCategory(ribbon::kInput);
    ASSERT_NE(page(), nullptr);
    EXPECT_EQ(page()->kind(), PageKind::MusicMic);
    h.view().pages().categoryChanged(ribbon::kInput); // chosen again: the page reselects
    EXPECT_EQ(page()->reselects, 1);

    // The page never gets smaller than 1024 x 520, whatever the view.
    h.view().resize(800, 400);
    EXPECT_EQ(page()->width(), 1024);
    EXPECT_EQ(page()->height(), 520);
}

TEST_F(PagesWindows, BypassResetAndNumberKeysGoToThePage) {
    auto& status = h.status();
    h.view().updateIndicators();
    EXPECT_TRUE(status.bypassBox()->isEnabled());
    EXPECT_FALSE(status.bypassBox()->isChecked());

    QTest::mouseClick(status.bypassBox(), Qt::LeftButton);
    EXPECT_TRUE(page()->eqOn);
    EXPECT_TRUE(status.bypassBox()->isChecked());
    press(Qt::Key_P);
    EXPECT_FALSE(page()->eqOn);
    EXPECT_FALSE(status.bypassBox()->isChecked());

    h.prompter->yesNo = {false, true};
    QTest::mouseClick(status.resetEqButton(), Qt::LeftButton);
    EXPECT_EQ(page()->eqResets, 0);
    const int refreshes = page()->refreshes;
    QTest::mouseClick(status.resetEqButton(), Qt::LeftButton);
    EXPECT_EQ(page()->eqResets, 1);
    EXPECT_GT(page()->refreshes, refreshes);
    ASSERT_NE(h.prompter->last(QStringLiteral("yesno")), nullptr);
    EXPECT_EQ(h.prompter->last(QStringLiteral("yesno"))->text,
              QString::fromUtf8("您确定重置当前均衡吗?"));
    EXPECT_EQ(h.prompter->last(QStringLiteral("yesno"))->caption, QString::fromUtf8("提示"));

    press(Qt::Key_1, Qt::ControlModifier);
    press(Qt::Key_9, Qt::ControlModifier);
    press(Qt::Key_0, Qt::ControlModifier);
    press(Qt::Key_5, Qt::ControlModifier | Qt::KeypadModifier);
    press(Qt::Key_3); // without Ctrl: not a shortcut
    EXPECT_EQ(page()->numbers, (std::vector<int>{0, 8, 9, 4}));
}

TEST(PagesWindowsNoEq, BypassAndResetAreDisabledForPagesWithoutEqualiser) {
    AppHarness h(true, kChinese, [](AppOptions& o) { o.connectDelayMs = 60 * 60 * 1000; });
    registerFakes(*h.app, false);
    h.start(false);
    h.ribbon().setActiveCategory(ribbon::kOutput);
    h.view().updateIndicators();
    EXPECT_FALSE(h.status().bypassBox()->isEnabled());
    EXPECT_FALSE(h.status().resetEqButton()->isEnabled());
}

TEST_F(PagesWindows, ToolWindowsExistOnceAndMachineSettingsRefreshTheMasterControls) {
    QTest::mouseClick(qobject_cast<QWidget*>(h.ribbon().control(ribbon::kFeatures)),
                      Qt::LeftButton);
    FakeToolWindow* features = tool(ToolWindowId::Features);
    ASSERT_NE(features, nullptr);
    EXPECT_TRUE(features->isVisible());
    EXPECT_EQ(features->button->text(), QString::fromUtf8("取消"));
    h.view().commands().trigger(UserCommand::Features);
    EXPECT_EQ(tool(ToolWindowId::Features), features); // the same window again
    EXPECT_EQ(features->refreshes, 2);

    // Remote learning needs a processor; the smart plug warns and opens anyway.
    h.view().commands().trigger(UserCommand::Remote);
    EXPECT_EQ(tool(ToolWindowId::RemoteLearning), nullptr);
    h.view().commands().trigger(UserCommand::SmartPlug);
    EXPECT_NE(tool(ToolWindowId::SmartPlug), nullptr);
    ASSERT_NE(h.app->noticeWindow(), nullptr);
    EXPECT_EQ(h.app->noticeWindow()->text(), QString::fromUtf8("请先连接机器"));
    // Music automatic level only for protocol 9 and later, its button beside SUB decay.
    QWidget* agcButton = h.ribbon().control(ribbon::kMusicAgc);
    ASSERT_NE(agcButton, nullptr);
    h.view().updateIndicators();
    EXPECT_FALSE(agcButton->isVisibleTo(&h.ribbon()));
    h.view().commands().trigger(UserCommand::MusicAgc);
    EXPECT_EQ(tool(ToolWindowId::MusicAgc), nullptr);
    for (const std::uint8_t protocol : {std::uint8_t{9}, std::uint8_t{18}}) {
        h.image().info.protocolVersion = protocol;
        h.view().updateIndicators();
        EXPECT_TRUE(agcButton->isVisibleTo(&h.ribbon())) << int(protocol);
    }
    QTest::mouseClick(agcButton, Qt::LeftButton);
    EXPECT_NE(tool(ToolWindowId::MusicAgc), nullptr);

    // F7 opens the machine settings; closing them shows the volumes again.
    press(Qt::Key_F7);
    FakeToolWindow* settings = tool(ToolWindowId::MachineSettings);
    ASSERT_NE(settings, nullptr);
    h.image().params.micVolume = 33;
    settings->close();
    EXPECT_TRUE(waitUntil([&] { return tool(ToolWindowId::MachineSettings) == nullptr; }, 1000));
    EXPECT_EQ(h.ribbon().sliderValue(ribbon::Slider::Mic, 0), 33);
}

TEST_F(PagesWindows, LanguageSwitchRelabelsEveryOpenWindowAndBack) {
    h.view().commands().trigger(UserCommand::Features);
    h.view().commands().trigger(UserCommand::InputSource);
    h.app->showNotice(QStringLiteral("n"), 10000);
    FakeToolWindow* features = tool(ToolWindowId::Features);
    FakeToolWindow* input = tool(ToolWindowId::InputSource);
    ASSERT_TRUE(features && input);

    QTest::mouseClick(qobject_cast<QWidget*>(h.ribbon().control(ribbon::kLanguage)),
                      Qt::LeftButton);
    EXPECT_EQ(h.app->language(), kEnglish);
    EXPECT_EQ(h.app->settings().language(), kEnglish);
    EXPECT_EQ(h.ribbon().categoryName(0), QStringLiteral("Input"));
    EXPECT_EQ(h.ribbon().categoryName(1), QStringLiteral("Output"));
    EXPECT_EQ(h.ribbon().panelTitle(0, 0), QStringLiteral("Mic  Vol"));
    EXPECT_EQ(h.ribbon().panelTitle(1, 9), QStringLiteral("Mic 2 Status"));
    EXPECT_EQ(qobject_cast<QCheckBox*>(h.ribbon().control(ribbon::kMuteIds[3][1]))->text(),
              QStringLiteral("Mute"));
    EXPECT_EQ(qobject_cast<QAbstractButton*>(h.ribbon().control(ribbon::kSmartPlug))->text(),
              QStringLiteral("Smart plug"));
    EXPECT_EQ(h.ribbon().labelText(ribbon::Slider::Music, 0), QStringLiteral("Music Vol:  0"));
    EXPECT_EQ(h.status().bypassBox()->text(), QStringLiteral("Bypass"));
    EXPECT_EQ(h.status().resetEqButton()->text(), QStringLiteral("Reset EQ"));
    EXPECT_EQ(h.status().connectionPane()->text(), QStringLiteral("USB:Disconnected"));
    EXPECT_EQ(features->button->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(input->button->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(features->languages.back(), kEnglish);
    EXPECT_EQ(page()->label->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(page()->languages.back(), kEnglish);
    EXPECT_EQ(h.app->noticeWindow()->windowTitle(), QStringLiteral("Information"));

    // A window opened for the first time now comes up in English.
    h.view().commands().trigger(UserCommand::SubDecay);
    EXPECT_EQ(tool(ToolWindowId::SubDecay)->button->text(), QStringLiteral("Cancel"));

    h.app->toggleLanguage();
    EXPECT_EQ(h.app->language(), kChinese);
    EXPECT_EQ(h.ribbon().categoryName(0), QString::fromUtf8("输入控制"));
    EXPECT_EQ(h.ribbon().panelTitle(0, 6), QString::fromUtf8("调用"));
    EXPECT_EQ(h.ribbon().labelText(ribbon::Slider::Music, 1), QString::fromUtf8("音乐音量:  0"));
    EXPECT_EQ(h.status().connectionPane()->text(), QString::fromUtf8("USB：未连接"));
    EXPECT_EQ(features->button->text(), QString::fromUtf8("取消"));
    EXPECT_EQ(tool(ToolWindowId::SubDecay)->button->text(), QString::fromUtf8("取消"));
    EXPECT_EQ(page()->label->text(), QString::fromUtf8("取消"));
    EXPECT_EQ(h.app->noticeWindow()->windowTitle(), QString::fromUtf8("信息"));
}

TEST_F(PagesWindows, ModePaneNamesTheCurrentModeInBothLanguages) {
    h.image().currentMode = 2;
    h.image().modeNames[2] = u"Party";
    h.app->setLanguage(kEnglish);
    h.view().updateIndicators();
    EXPECT_EQ(h.status().modePane()->text(), QStringLiteral("Current Mode:Mode3[Party]"));
    h.app->setLanguage(kChinese);
    EXPECT_EQ(h.status().modePane()->text(), QString::fromUtf8("当前模式:模式三[Party]"));
    h.image().currentMode = 7; // out of range: the first mode
    h.view().updateIndicators();
    EXPECT_EQ(h.status().modePane()->text(), QString::fromUtf8("当前模式:模式一[Mode1]"));
}

TEST(StartSettings, LookIsWrittenBackAndAnUnknownLanguageIsChinese) {
    AppHarness h(true, kChinese, [](AppOptions& o) {
        o.connectDelayMs = 60 * 60 * 1000;
        AppSettings s(o.settingsFile);
        s.setApplicationLook(3);
        s.setStoredValue(QStringLiteral("Settings/language"), 2);
        s.sync();
    });
    // The harness wrote language 0 after the tweak; put the odd value back.
    h.app->settings().setStoredValue(QStringLiteral("Settings/language"), 2);
    EXPECT_EQ(h.app->settings().applicationLook(), 3);
    h.start(false);
    EXPECT_EQ(h.app->settings().applicationLook(), AppSettings::kApplicationLook);
    EXPECT_EQ(h.app->language(), kChinese);
    EXPECT_EQ(h.ribbon().categoryName(0), QString::fromUtf8("输入控制"));
    EXPECT_EQ(h.app->mainFrame()->windowTitle(), QStringLiteral("QUILO v1.3.4"));
    EXPECT_EQ(h.app->mainFrame()->minimumSize(), QSize(1240, 700));
}
