// Stored modes, mode files and the unsaved-changes question, with and without a
// processor.
#include "AppHarness.h"
#include "model/ModeFile.h"
#include "ui/CInfoDlg.h"
#include "ui/SyncProgressDialog.h"

#include <QApplication>
#include <QFile>
#include <QtTest/QTest>

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

std::filesystem::path fs(const QString& p) {
    return std::filesystem::path(QFile::encodeName(p).toStdString());
}

// Commands (by code) the processor received, with their first argument byte.
std::vector<std::pair<int, int>> commands(const std::vector<Report>& all) {
    std::vector<std::pair<int, int>> out;
    for (const Report& r : all) {
        if (r[1] != 0x09 && r[1] != 0x0A && r[1] != 0x0E && r[1] != 0x85 && r[1] != 0x86) {
            out.emplace_back(r[1], r[2]);
        }
    }
    return out;
}

bool contains(const std::vector<std::pair<int, int>>& list, int code, int arg) {
    return std::find(list.begin(), list.end(), std::pair{code, arg}) != list.end();
}

struct ModesFiles : ::testing::Test {
    AppHarness h{true, kChinese, [](AppOptions& o) { o.connectDelayMs = 60 * 60 * 1000; }};

    void SetUp() override { h.start(false); }
    // The link open as after a read-back of this processor, without the read-back.
    void connect() {
        h.image().info.modelName = u"MIVRAX";
        h.image().info.protocolVersion = 18;
        ASSERT_TRUE(h.app->session().openLink());
        h.drain();
        h.clearReceived();
    }
    void press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target != nullptr ? target : h.app->mainFrame(), Qt::Key(key), mods);
    }
    bool waitSyncEnd() {
        return waitUntil(
            [&] { return h.app->syncDialog() == nullptr && !h.app->session().sync().busy(); });
    }
    QString notice() {
        return h.app->noticeWindow() != nullptr ? h.app->noticeWindow()->text() : QString();
    }
    QString writeFile(const QString& name, int micVolume) {
        DeviceImage other;
        other.resetToDefaults();
        other.params.micVolume = micVolume;
        other.params.echoVolume = micVolume; // a write-out sends it and leaves it
        const QString path = h.dir.filePath(name);
        EXPECT_TRUE(writeModeFile(fs(path), other).ok());
        return path;
    }
};

} // namespace

TEST_F(ModesFiles, WithoutAProcessorTheCommandsSayConnectFirstOrDoNothing) {
    h.view().commands().trigger(UserCommand::Open);
    EXPECT_EQ(notice(), QString::fromUtf8("请先连接设备!"));
    h.app->setLanguage(kEnglish);
    h.view().commands().trigger(UserCommand::Save);
    EXPECT_EQ(notice(), QStringLiteral("Please connect device!"));
    h.view().commands().trigger(UserCommand::Preset, 3);
    EXPECT_EQ(notice(), QStringLiteral("Please connect device!"));
    EXPECT_EQ(h.prompter->count(QStringLiteral("open")), 0);
    EXPECT_EQ(h.prompter->count(QStringLiteral("save")), 0);

    h.image().settingsChanged = 1;
    h.view().commands().trigger(UserCommand::LoadMode, 1);
    h.view().commands().trigger(UserCommand::SaveMode, 1);
    press(Qt::Key_F2);
    h.view().commands().trigger(UserCommand::MachineReset);
    EXPECT_EQ(h.prompter->count(QStringLiteral("yesno")), 0);
    EXPECT_EQ(h.app->syncDialog(), nullptr);

    // By path: a missing file is reported; an existing one is not loaded unconnected.
    h.app->setLanguage(kChinese);
    h.app->OpenDocumentFile(h.dir.filePath(QStringLiteral("nowhere.quilo")));
    ASSERT_NE(h.prompter->last(QStringLiteral("message")), nullptr);
    EXPECT_EQ(h.prompter->last(QStringLiteral("message"))->text, QString::fromUtf8("文件不存在！"));
    EXPECT_EQ(h.prompter->last(QStringLiteral("message"))->caption,
              QString::fromUtf8("文件打开错误"));
    const QString file = writeFile(QStringLiteral("m1 x.quilo"), 77);
    const auto messages = h.prompter->count(QStringLiteral("message"));
    h.app->OpenDocumentFile(file);
    EXPECT_EQ(h.image().params.micVolume, 0);
    EXPECT_EQ(h.prompter->count(QStringLiteral("message")), messages);
    EXPECT_EQ(h.view().modeFiles().pendingModeSlot(), -1);
}

TEST_F(ModesFiles, SavingAFileStoresTheCurrentModeFirst) {
    connect();
    h.image().currentMode = 2;
    h.image().settingsChanged = 1;
    h.image().params.echoVolume = 44;
    const QString path = h.dir.filePath(QStringLiteral("saved.quilo"));
    h.prompter->saveNames = {path};
    h.view().commands().trigger(UserCommand::Save);
    ASSERT_NE(h.prompter->last(QStringLiteral("save")), nullptr);
    EXPECT_EQ(h.prompter->last(QStringLiteral("save"))->caption, QStringLiteral("name.quilo"));
    EXPECT_EQ(h.image().settingsChanged.load(), 0);

    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    ASSERT_EQ(bytes.size(), 2175);
    EXPECT_EQ(bytes.left(4), QByteArray("\x08\x00\x00\x00", 4));
    EXPECT_EQ(h.app->settings().recentFiles().value(0), path);

    h.drain();
    EXPECT_TRUE(contains(commands(h.received()), 0x04, 2)); // SaveMode(currentMode)
}

TEST_F(ModesFiles, AFailedSaveSaysSoAndKeepsTheChangesUnsaved) {
    connect();
    h.image().settingsChanged = 1;
    const QString path = h.dir.filePath(QStringLiteral("no such folder/saved.quilo"));
    h.prompter->saveNames = {path};
    h.view().commands().trigger(UserCommand::Save);
    ASSERT_NE(h.prompter->last(QStringLiteral("message")), nullptr);
    EXPECT_EQ(h.prompter->last(QStringLiteral("message"))->caption,
              QStringLiteral("Can't write to file"));
    EXPECT_EQ(h.image().settingsChanged.load(), 1);
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(h.app->settings().recentFiles().isEmpty());
}

TEST_F(ModesFiles, OpeningAFileNamedForAModePushesThenStoresIntoThatMode) {
    connect();
    const QString path = writeFile(QStringLiteral("m2 party.quilo"), 77);
    h.prompter->openNames = {path};
    h.view().commands().trigger(UserCommand::Open);
    EXPECT_NE(h.app->syncDialog(), nullptr);
    EXPECT_EQ(h.view().modeFiles().pendingModeSlot(), 1);
    ASSERT_TRUE(waitSyncEnd());
    h.drain();
    EXPECT_EQ(h.image().params.echoVolume, 77); // once the image is the program's again

    const auto cmds = commands(h.received());
    ASSERT_GE(cmds.size(), 2u);
    EXPECT_EQ(cmds[cmds.size() - 2], (std::pair{0x03, 1})); // SetCurrentMode(1)
    EXPECT_EQ(cmds.back(), (std::pair{0x04, 1}));           // SaveMode(1)
    EXPECT_EQ(h.image().currentMode.load(), 1);
    EXPECT_EQ(h.view().modeFiles().pendingModeSlot(), -1);
    EXPECT_EQ(h.app->settings().recentFiles().value(0), path);
    EXPECT_TRUE(h.app->connected());
}

TEST_F(ModesFiles, AFileOfAnUnknownVersionLoadsNothing) {
    connect();
    const QString path = h.dir.filePath(QStringLiteral("m3 bad.quilo"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    QByteArray bytes(2175, '\0');
    bytes[0] = 9;
    f.write(bytes);
    f.close();
    h.image().params.micVolume = 12;
    h.prompter->openNames = {path};
    h.view().modeFiles().openModeFile();
    ASSERT_NE(h.prompter->last(QStringLiteral("message")), nullptr);
    EXPECT_EQ(h.prompter->last(QStringLiteral("message"))->text,
              QStringLiteral("Mode file version not support!"));
    EXPECT_EQ(h.prompter->last(QStringLiteral("message"))->caption, QStringLiteral("Info"));
    EXPECT_EQ(h.image().params.micVolume, 12);
    EXPECT_EQ(h.view().modeFiles().pendingModeSlot(), -1);
    EXPECT_EQ(h.app->syncDialog(), nullptr);
    EXPECT_TRUE(h.app->settings().recentFiles().isEmpty());
}

TEST_F(ModesFiles, LoadingAStoredModeAsksOnlyWithUnsavedChangesThenReadsBack) {
    connect();
    h.image().settingsChanged = 1;
    h.prompter->yesNo = {false};
    h.view().commands().trigger(UserCommand::LoadMode, 1);
    ASSERT_NE(h.prompter->last(QStringLiteral("yesno")), nullptr);
    EXPECT_EQ(h.prompter->last(QStringLiteral("yesno"))->text,
              QString::fromUtf8("参数已更改，确定要直接载入模式二?"));
    EXPECT_EQ(h.app->syncDialog(), nullptr);

    h.prompter->yesNo = {true};
    press(Qt::Key_F2);
    EXPECT_EQ(h.image().currentMode.load(), 1);
    EXPECT_NE(h.app->syncDialog(), nullptr);
    // While the progress dialog is up the mode keys do nothing.
    const int asked = h.prompter->count(QStringLiteral("yesno"));
    press(Qt::Key_F4);
    EXPECT_EQ(h.prompter->count(QStringLiteral("yesno")), asked);
    ASSERT_TRUE(waitSyncEnd());
    h.drain();
    const auto cmds = commands(h.received());
    ASSERT_FALSE(cmds.empty());
    EXPECT_EQ(cmds.front(), (std::pair{0x05, 1})); // LoadMode(1), then the read-back
    EXPECT_FALSE(contains(cmds, 0x05, 3));

    // Without unsaved changes there is no question.
    h.image().settingsChanged = 0;
    h.clearReceived();
    h.view().commands().trigger(UserCommand::LoadMode, 3);
    EXPECT_EQ(h.prompter->count(QStringLiteral("yesno")), asked);
    ASSERT_TRUE(waitSyncEnd());
    h.drain();
    EXPECT_EQ(commands(h.received()).front(), (std::pair{0x05, 3}));
}

TEST_F(ModesFiles, StoringIntoAModeAsksAndShowsTheSavingNotice) {
    connect();
    h.image().settingsChanged = 1;
    h.prompter->yesNo = {false, true, true};
    press(Qt::Key_F3, Qt::ControlModifier);
    EXPECT_EQ(h.prompter->last(QStringLiteral("yesno"))->text,
              QString::fromUtf8("确定要保存至机器模式三?"));
    EXPECT_EQ(h.image().settingsChanged.load(), 1);

    press(Qt::Key_F3, Qt::ControlModifier);
    EXPECT_EQ(h.image().settingsChanged.load(), 0);
    EXPECT_EQ(h.image().currentMode.load(), 2);
    EXPECT_EQ(notice(), QString::fromUtf8("正在储存模式三,请稍等")); // from the keyboard: at once

    h.app->setLanguage(kEnglish);
    h.app->noticeWindow()->close();
    waitUntil([&] { return h.app->noticeWindow() == nullptr; });
    h.view().commands().trigger(UserCommand::SaveMode, 3);
    EXPECT_EQ(h.prompter->last(QStringLiteral("yesno"))->text,
              QStringLiteral("Save to machine mode 4?"));
    EXPECT_EQ(h.prompter->last(QStringLiteral("yesno"))->caption, QStringLiteral("Information"));
    EXPECT_EQ(h.app->noticeWindow(), nullptr); // the notice follows a moment later
    EXPECT_TRUE(waitUntil([&] { return !notice().isEmpty(); }, 2000));
    EXPECT_EQ(notice(), QStringLiteral("Saving Mode 4 ……"));
    EXPECT_EQ(h.app->noticeWindow()->remainingMs() > 2000, true);

    h.drain();
    const auto cmds = commands(h.received());
    EXPECT_EQ(cmds, (std::vector<std::pair<int, int>>{{0x04, 2}, {0x04, 3}}));
}

TEST_F(ModesFiles, MachineResetAsksThenSendsAndTellsToRestart) {
    connect();
    h.prompter->yesNo = {false, true};
    h.view().commands().trigger(UserCommand::MachineReset);
    h.view().commands().trigger(UserCommand::MachineReset);
    EXPECT_EQ(h.prompter->last(QStringLiteral("yesno"))->text,
              QString::fromUtf8("您确定要将机器复位吗? \n机器复位后请手动重启机器."));
    EXPECT_EQ(notice(), QString::fromUtf8("请手动重启……"));
    h.drain();
    EXPECT_EQ(commands(h.received()), (std::vector<std::pair<int, int>>{{0x68, 0xAA}}));
}

TEST_F(ModesFiles, CancelInTheUnsavedQuestionKeepsTheProgramAndTheLinkOpen) {
    connect();
    h.image().settingsChanged = 1;
    h.prompter->yesNoCancel = {Prompter::Answer::Cancel, Prompter::Answer::Yes};
    EXPECT_FALSE(h.app->mainFrame()->close());
    EXPECT_TRUE(h.app->mainFrame()->isVisible());
    EXPECT_TRUE(h.app->connected());
    EXPECT_EQ(
        h.prompter->last(QStringLiteral("yesnocancel"))->text,
        QString::fromUtf8(
            "参数已改动，请问是否需要保存?\r\n提示：保存成电脑文件并同时保存至机器的当前模式"));

    // Yes, then the save dialog cancelled: nothing is lost, the program stays.
    EXPECT_FALSE(h.app->mainFrame()->close());
    EXPECT_TRUE(h.app->connected());
    EXPECT_EQ(h.prompter->last(QStringLiteral("save"))->caption, QStringLiteral("preset.quilo"));
    h.drain();
    EXPECT_TRUE(commands(h.received()).empty());
}

TEST_F(ModesFiles, YesSavesIntoTheModeAndAFileThenClosesWithGoodbye) {
    connect();
    h.image().settingsChanged = 1;
    h.image().currentMode = 3;
    h.app->setLanguage(kEnglish);
    const QString path = h.dir.filePath(QStringLiteral("exit.quilo"));
    h.prompter->yesNoCancel = {Prompter::Answer::Yes};
    h.prompter->saveNames = {path};
    EXPECT_TRUE(h.app->mainFrame()->close());
    EXPECT_EQ(h.prompter->last(QStringLiteral("yesnocancel"))->caption, QStringLiteral("Save?"));
    EXPECT_FALSE(h.app->connected());
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_FALSE(h.app->settings().recentFiles().contains(path));
    const auto cmds = commands(h.received());
    EXPECT_TRUE(contains(cmds, 0x04, 3));
    ASSERT_FALSE(cmds.empty());
    EXPECT_EQ(cmds.back().first, 0x8A); // Goodbye last
}

TEST_F(ModesFiles, NoClosesWithoutSaving) {
    connect();
    h.image().settingsChanged = 1;
    h.prompter->yesNoCancel = {Prompter::Answer::No};
    EXPECT_TRUE(h.app->mainFrame()->close());
    EXPECT_FALSE(h.app->connected());
    EXPECT_EQ(h.prompter->count(QStringLiteral("save")), 0);
    const auto cmds = commands(h.received());
    EXPECT_EQ(cmds, (std::vector<std::pair<int, int>>{{0x8A, 0}}));
}
