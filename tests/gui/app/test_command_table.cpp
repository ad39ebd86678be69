// The ribbon and the status bar reach every command through the one table of actions,
// and a moved slider arrives with the value of the copy that moved.
#include "app/CMFCMyRibbonStatusBar.h"
#include "app/CMyMFCRibbonBar.h"
#include "app/CommandActions.h"
#include "ui/BiText.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace quilo;
using namespace quilo::ribbon;

namespace {

using Triggered = std::vector<std::pair<UserCommand, int>>;

struct Table : ::testing::Test {
    CommandActions commands;
    Triggered triggered;
    CMyMFCRibbonBar bar{commands};
    CMFCMyRibbonStatusBar status{commands};

    void SetUp() override {
        for (int c = 0; c <= static_cast<int>(UserCommand::MachineSettings); ++c) {
            const auto command = static_cast<UserCommand>(c);
            commands.bind(command, [this, command](int i) { triggered.emplace_back(command, i); });
        }
        bar.setUndoRedo(true, true);
        bar.setMusicAgcShown(true);
        bar.setPresetNames({QStringLiteral("A"), QStringLiteral("B")});
        status.setEqControls(true, false);
    }
    Triggered click(QWidget* w) {
        triggered.clear();
        EXPECT_NE(w, nullptr);
        if (w != nullptr) {
            QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(4, w->height() / 2));
        }
        return triggered;
    }
};

} // namespace

TEST_F(Table, EveryButtonAndBoxTriggersItsOwnCommandOnce) {
    struct Case {
        int ctrlId;
        UserCommand command;
        int index;
    };
    const Case cases[] = {
        {kUndo, UserCommand::Undo, 0},
        {kRedo, UserCommand::Redo, 0},
        {kFeatures, UserCommand::Features, 0},
        {kSubDecay, UserCommand::SubDecay, 0},
        {kMusicAgc, UserCommand::MusicAgc, 0},
        {kMachineReset, UserCommand::MachineReset, 0},
        {kSmartPlug, UserCommand::SmartPlug, 0},
        {kRemote, UserCommand::Remote, 0},
        {kPhoneRemote, UserCommand::PhoneRemote, 0},
        {kInputSource, UserCommand::InputSource, 0},
        {kLanguage, UserCommand::Language, 0},
        {kAbout, UserCommand::About, 0},
        {kMuteIds[0][1], UserCommand::Mute, 0},
        {kMuteIds[1][0], UserCommand::Mute, 1},
        {kMuteIds[2][1], UserCommand::Mute, 2},
        {kMuteIds[3][0], UserCommand::Mute, 3},
        {kLoadFileIds[1], UserCommand::Open, 0},
        {kSaveFileIds[0], UserCommand::Save, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ctrlId);
        EXPECT_EQ(click(bar.control(c.ctrlId)), (Triggered{{c.command, c.index}}));
    }
    EXPECT_EQ(click(status.bypassBox()), (Triggered{{UserCommand::EqSwitch, 0}}));
    EXPECT_EQ(click(status.resetEqButton()), (Triggered{{UserCommand::EqReset, 0}}));
    // A button the table disables stays silent.
    bar.setUndoRedo(false, true);
    EXPECT_TRUE(click(bar.control(kUndo)).empty());
}

TEST_F(Table, MenusHoldTheTablesActionsAndFollowItsLanguage) {
    const auto menu = bar.applicationMenu()->actions();
    for (UserCommand c :
         {UserCommand::Open, UserCommand::Save, UserCommand::CompareFile, UserCommand::RecordTrace,
          UserCommand::HomeAutomation, UserCommand::Exit}) {
        EXPECT_TRUE(menu.contains(commands.action(c))) << static_cast<int>(c);
    }
    for (int category : {kInput, kOutput}) {
        const auto load = bar.loadModeMenu(category)->actions();
        const auto save = bar.saveModeMenu(category)->actions();
        ASSERT_EQ(load.size(), 4);
        ASSERT_EQ(save.size(), 4);
        triggered.clear();
        load[2]->trigger();
        save[3]->trigger();
        EXPECT_EQ(triggered, (Triggered{{UserCommand::LoadMode, 2}, {UserCommand::SaveMode, 3}}));
    }
    const auto presets = bar.presetMenu()->actions();
    ASSERT_EQ(presets.size(), 2);
    EXPECT_EQ(presets[1]->text(), QStringLiteral("B"));
    triggered.clear();
    presets[1]->trigger();
    EXPECT_EQ(triggered, (Triggered{{UserCommand::Preset, 1}}));

    // The stored mode is marked in every mode menu; the mark moves with it.
    bar.setModeCheck(1);
    bar.setModeCheck(3);
    for (int category : {kInput, kOutput}) {
        for (QMenu* m : {bar.loadModeMenu(category), bar.saveModeMenu(category)}) {
            const auto actions = m->actions();
            for (int i = 0; i < 4; ++i) {
                EXPECT_EQ(actions[i]->isChecked(), i == 3);
            }
        }
    }

    commands.relabel(kEnglish);
    auto* smartPlug = qobject_cast<QAbstractButton*>(bar.control(kSmartPlug));
    EXPECT_EQ(smartPlug->text(), QStringLiteral("Smart plug"));
    EXPECT_EQ(commands.action(UserCommand::Exit)->text(), QStringLiteral("Exit(&X)"));
    EXPECT_EQ(bar.control(kAbout)->toolTip(), QStringLiteral("About"));
    EXPECT_EQ(bar.control(kRedo)->toolTip(), QStringLiteral("Ctrl+Shift+Z"));
    EXPECT_TRUE(smartPlug->toolTip().isEmpty());
    EXPECT_EQ(presets[1]->text(), QStringLiteral("B")); // names stay the caller's
}

TEST_F(Table, ASliderReportsTheValueOfTheCopyThatMoved) {
    std::vector<std::pair<Slider, int>> moved;
    QObject::connect(&bar, &CMyMFCRibbonBar::volumeMoved,
                     [&](Slider s, int v) { moved.emplace_back(s, v); });
    bar.setActiveCategory(kInput);
    bar.setSliderPair(Slider::Echo, 10); // silent
    bar.slider(Slider::Echo, kOutput)->setValue(7);
    bar.slider(Slider::Pitch, kInput)->setValue(-3);
    EXPECT_EQ(moved, (std::vector<std::pair<Slider, int>>{{Slider::Echo, 7}, {Slider::Pitch, -3}}));
}
