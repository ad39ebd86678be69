// The remote-learning windows on the emulated processor: learning a key end to
// end, cancelling, Apply, Load and Save with and without a processor, the
// language switch while open, the status poll while open, remote data files
// opened from outside, and the screenshots.
#include "device/ReportBuilder.h"
#include "gui/app/AppHarness.h"
#include "remote/RemoteKeyTail.h"
#include "remote/gui/CRemoteDlg.h"
#include "remote/gui/CRemoteStudyDlg.h"
#include "remote/gui/RemoteKeyList.h"
#include "remote/gui/RemotePicture.h"

#include "ui/CInfoDlg.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest/QTest>

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

// What went to the processor, without the status polls.
std::vector<Report> sent(AppHarness& h) {
    std::vector<Report> out;
    for (const Report& r : h.received()) {
        if (r[1] != 0x0E) {
            out.push_back(r);
        }
    }
    return out;
}

Report tableReport(const RemoteKeyTable& table) {
    return buildSetRemoteTable(table);
}

template <typename W> W* control(QWidget* window, int ctrlId) {
    for (W* w : window->findChildren<W*>()) {
        if (w->property("ctrlId").toInt() == ctrlId) {
            return w;
        }
    }
    return nullptr;
}

QString textOf(QWidget* window, int ctrlId) {
    if (auto* b = control<QPushButton>(window, ctrlId)) {
        return b->text();
    }
    if (auto* l = control<QLabel>(window, ctrlId)) {
        return l->text();
    }
    return {};
}

void shoot(QWidget* w, const QString& name) {
    const QString dir = qEnvironmentVariable("QUILO_SHOTS");
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        w->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
    }
}

struct RemoteWindows : ::testing::Test {
    // The user's remote is pressed 200 ms after LearnKey unless a test waits longer.
    std::chrono::milliseconds keyPress{200};
    std::unique_ptr<AppHarness> h;

    void start(bool connect = true, int language = kChinese) {
        // Keys 16-17 a run before remembered are not this test's.
        std::filesystem::remove(remoteTailPath(
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString()));
        h = std::make_unique<AppHarness>(true, language, [this](AppOptions& o) {
            o.session.emulatorOptions.timings.learnKeyPress = keyPress;
        });
        h->start(connect);
        h->clearReceived();
    }
    CRemoteDlg* window() {
        return qobject_cast<CRemoteDlg*>(h->app->toolWindow(ToolWindowId::RemoteLearning));
    }
    CRemoteDlg* open() {
        h->view().commands().trigger(UserCommand::Remote);
        return window();
    }
    void click(int ctrlId) {
        QWidget* w = control<QWidget>(window(), ctrlId);
        ASSERT_NE(w, nullptr) << ctrlId;
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
    }
    QString notice() {
        return h->app->noticeWindow() != nullptr ? h->app->noticeWindow()->text() : QString();
    }
    QString writeFile(const QString& name, const QByteArray& bytes) {
        const QString path = h->dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
};

QByteArray counting(int n) {
    QByteArray bytes;
    for (int i = 0; i < n; ++i) {
        bytes.append(static_cast<char>(i));
    }
    return bytes;
}

} // namespace

TEST_F(RemoteWindows, LearningAKeyShowsTheCodeClosesByItselfAndApplySendsTheTable) {
    start();
    CRemoteDlg* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8("遥控学习"));
    EXPECT_FALSE(h->app->session().polling().open()); // no status poll while open

    // The hidden hot spot is there but learns nothing.
    QWidget* hidden = control<QWidget>(w, RemotePicture::kHiddenSpot);
    ASSERT_NE(hidden, nullptr);
    EXPECT_FALSE(hidden->isVisibleTo(w));
    w->hotSpotClicked(RemotePicture::kHiddenSpot);
    EXPECT_EQ(w->studyDialog(), nullptr);
    ASSERT_NE(h->prompter->last(QStringLiteral("message")), nullptr);
    EXPECT_EQ(h->prompter->last(QStringLiteral("message"))->text,
              QString::fromUtf8("不支持该功能"));
    EXPECT_EQ(h->prompter->last(QStringLiteral("message"))->caption, QString::fromUtf8("提示"));
    EXPECT_EQ(hidden->cursor().shape(), Qt::PointingHandCursor);

    click(1608); // key 10, mute
    CRemoteStudyDlg* study = w->studyDialog();
    ASSERT_NE(study, nullptr);
    EXPECT_TRUE(study->isModal());
    EXPECT_EQ(study->windowTitle(), QString::fromUtf8("学习中……"));
    EXPECT_EQ(textOf(study, 1167), QString::fromUtf8("您正在学习的键：静音键"));
    EXPECT_EQ(textOf(study, 1007), QString::fromUtf8("请您按下遥控器上的对应的按键"));
    EXPECT_EQ(textOf(study, 3), QString::fromUtf8("放弃学习"));
    // A second click while learning starts nothing.
    click(1587);
    EXPECT_EQ(w->studyDialog(), study);

    // The emulated remote sends 0x40 + key.
    ASSERT_TRUE(waitUntil([&] { return study->learned(); }));
    EXPECT_EQ(control<QLineEdit>(study, 1038)->text(), QStringLiteral("4A"));
    EXPECT_FALSE(control<QPushButton>(study, 3)->isVisibleTo(study));
    EXPECT_TRUE(control<QPushButton>(study, 1)->isVisibleTo(study));
    EXPECT_EQ(textOf(study, 1006), QString::fromUtf8("窗口将自动关闭"));
    EXPECT_EQ(h->image().remoteKeys[10], 0x4A);
    EXPECT_EQ(h->image().remoteKeys[0], 0x20);
    ASSERT_TRUE(waitUntil([&] { return w->studyDialog() == nullptr; }, 3000));
    h->drain();
    EXPECT_EQ(sent(*h), std::vector<Report>{buildCommand(Command::LearnKey, {10})});

    // Only Apply hands the table to the processor.
    h->clearReceived();
    click(1);
    EXPECT_EQ(notice(), QString::fromUtf8("遥控器键码保存成功!"));
    h->drain();
    EXPECT_EQ(sent(*h), std::vector<Report>{tableReport(h->image().remoteKeys)});
    EXPECT_EQ(h->emulator([](Emulator& e) { return e.state().remoteTable[10]; }), 0x4A);

    // Closing the window lets the status poll go again.
    w->close();
    ASSERT_TRUE(waitUntil([&] { return window() == nullptr; }));
    EXPECT_TRUE(h->app->session().polling().open());
}

// The processor never reports keys 16-17: a table sent carries them as last known, and
// while none are known the window says what they will be set to.
TEST_F(RemoteWindows, KeysSixteenAndSeventeenGoOutAsLastKnown) {
    start();
    CRemoteDlg* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->tailNote()->isVisibleTo(w));
    EXPECT_TRUE(w->tailNote()->text().contains(QStringLiteral("00 00")))
        << w->tailNote()->text().toStdString();

    const QString file = writeFile(QStringLiteral("all.remo"), counting(18));
    h->prompter->openNames = {file};
    click(3);
    h->drain();
    EXPECT_FALSE(w->tailNote()->isVisibleTo(w));
    // As a fresh program holds them: zero. Apply still sends the known codes.
    h->image().remoteKeys[16] = 0;
    h->image().remoteKeys[17] = 0;
    h->clearReceived();
    click(1);
    h->drain();
    RemoteKeyTable expected{};
    std::copy_n(counting(18).begin(), 18, expected.begin());
    EXPECT_EQ(sent(*h), std::vector<Report>{tableReport(expected)});
    EXPECT_EQ(h->emulator([](Emulator& e) { return e.state().remoteTable[17]; }), 0x11);
}

TEST_F(RemoteWindows, CancellingWithdrawsTheLearningAndLeavesTheTable) {
    keyPress = std::chrono::milliseconds(60 * 60 * 1000); // nobody presses a key
    start();
    CRemoteDlg* w = open();
    ASSERT_NE(w, nullptr);
    const RemoteKeyTable before = h->image().remoteKeys;
    for (int cancelBy : {0, 1}) {
        h->clearReceived();
        click(1587);
        ASSERT_NE(w->studyDialog(), nullptr);
        if (cancelBy == 0) {
            QTest::mouseClick(control<QPushButton>(w->studyDialog(), 3), Qt::LeftButton);
        } else {
            QTest::keyClick(w->studyDialog(), Qt::Key_Escape);
        }
        ASSERT_TRUE(waitUntil([&] { return w->studyDialog() == nullptr; }));
        h->drain();
        // StopLearn does not wait for the answer LearnKey never gets.
        EXPECT_EQ(sent(*h), (std::vector<Report>{buildCommand(Command::LearnKey, {1}),
                                                 buildCommand(Command::StopLearn)}));
        EXPECT_EQ(h->app->session().link().pacingTimeouts(), 0u);
    }
    EXPECT_EQ(h->image().remoteKeys, before);
}

TEST_F(RemoteWindows, WithoutAProcessorTheCommandIsIgnoredAndTheButtonsSayConnectFirst) {
    start(false);
    EXPECT_EQ(open(), nullptr);
    h->view().openToolWindow(ToolWindowId::RemoteLearning); // left open from a connection
    ASSERT_NE(window(), nullptr);
    h->prompter->openNames = {writeFile(QStringLiteral("a.remo"), counting(18))};
    h->prompter->saveNames = {h->dir.filePath(QStringLiteral("b.remo"))};
    for (int button : {1, 3, 4}) {
        if (h->app->noticeWindow() != nullptr) {
            h->app->noticeWindow()->close();
        }
        click(button);
        EXPECT_EQ(notice(), QString::fromUtf8("请先连接机器再进行此操作!")) << button;
    }
    EXPECT_EQ(h->prompter->count(QStringLiteral("open")), 0);
    EXPECT_EQ(h->prompter->count(QStringLiteral("save")), 0);
    EXPECT_FALSE(QFile::exists(h->dir.filePath(QStringLiteral("b.remo"))));
    EXPECT_EQ(h->image().remoteKeys, RemoteKeyTable{});
    EXPECT_TRUE(h->received().empty());
}

TEST_F(RemoteWindows, LoadAndSaveFilesWithTheirExtensionReplaced) {
    start();
    ASSERT_NE(open(), nullptr);
    h->image().remoteKeys.fill(0xEE);

    struct Case {
        const char* chosen;  // what the user picked
        const char* written; // the file that is read
        int bytes;           // its length
        int changed;         // table bytes it changes
        const char* notice;
    };
    for (const Case& c : {Case{"keys.txt", "keys.remo", 10, 10, "载入遥控文件成功"},
                          Case{"full.remo", "full.remo", 18, 18, "载入遥控文件成功"},
                          Case{"long.remo", "long.remo", 30, 18, "载入遥控文件成功"},
                          Case{"gone.remo", nullptr, 0, 0, "载入遥控文件失败"}}) {
        h->image().remoteKeys.fill(0xEE);
        if (c.written != nullptr) {
            writeFile(QString::fromLatin1(c.written), counting(c.bytes));
        }
        h->prompter->openNames = {h->dir.filePath(QString::fromLatin1(c.chosen))};
        h->clearReceived();
        const int boxes = h->prompter->count(QStringLiteral("message"));
        click(3);
        EXPECT_EQ(notice(), QString::fromUtf8(c.notice)) << c.chosen;
        RemoteKeyTable expected;
        expected.fill(0xEE);
        for (int i = 0; i < c.changed; ++i) {
            expected[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
        }
        EXPECT_EQ(h->image().remoteKeys, expected) << c.chosen;
        h->drain();
        if (c.written != nullptr) {
            EXPECT_EQ(sent(*h), std::vector<Report>{tableReport(expected)}) << c.chosen;
        } else {
            EXPECT_TRUE(sent(*h).empty());
            ASSERT_EQ(h->prompter->count(QStringLiteral("message")), boxes + 1);
            EXPECT_TRUE(h->prompter->last(QStringLiteral("message"))
                            ->text.contains(QStringLiteral("gone.remo")));
        }
    }

    // Saving: "keys.txt" becomes "keys.remo" with the 18 bytes of the table.
    h->image().remoteKeys.fill(0x5A);
    h->prompter->saveNames = {h->dir.filePath(QStringLiteral("saved.txt"))};
    click(4);
    EXPECT_EQ(notice(), QString::fromUtf8("保存遥控文件成功"));
    QFile saved(h->dir.filePath(QStringLiteral("saved.remo")));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray(18, '\x5A'));
    EXPECT_FALSE(QFile::exists(h->dir.filePath(QStringLiteral("saved.txt"))));
    // The file dialog asks nothing about "saved.txt": the window asks about the file it
    // writes, here the "saved.remo" that exists now. No keeps it.
    EXPECT_EQ(h->prompter->saveAsksOverwrite, std::vector<bool>{false});
    EXPECT_EQ(h->prompter->count(QStringLiteral("yesno")), 0);
    h->image().remoteKeys.fill(0x33);
    h->prompter->saveNames = {h->dir.filePath(QStringLiteral("saved.txt"))};
    h->prompter->yesNo = {false};
    click(4);
    ASSERT_EQ(h->prompter->count(QStringLiteral("yesno")), 1);
    EXPECT_TRUE(
        h->prompter->last(QStringLiteral("yesno"))->text.startsWith(QStringLiteral("saved.remo")));
    QFile kept(h->dir.filePath(QStringLiteral("saved.remo")));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray(18, '\x5A'));

    // A folder that is not there: the system's reason is given with its number.
    h->prompter->saveNames = {h->dir.filePath(QStringLiteral("nowhere/x.remo"))};
    click(4);
    EXPECT_EQ(notice(), QString::fromUtf8("保存遥控文件失败"));
    const auto* box = h->prompter->last(QStringLiteral("message"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->caption, QStringLiteral("Can't write to file"));
    EXPECT_TRUE(box->text.startsWith(QStringLiteral("Errcode="))) << box->text.toStdString();
    EXPECT_TRUE(box->text.contains(QStringLiteral("No such file or directory")));
}

TEST_F(RemoteWindows, TextsFollowTheLanguageWhileOpenAndShotsAreTaken) {
    keyPress = std::chrono::milliseconds(60 * 60 * 1000);
    start();
    CRemoteDlg* w = open();
    ASSERT_NE(w, nullptr);
    struct Expect {
        int language;
        const char* title;
        const char* buttons[3];
        const char* studyTitle;
        const char* prompt;
        const char* cancel;
        const char* keyText;
    };
    const Expect expects[] = {
        {kEnglish,
         "Learn remoter control",
         {"Apply", "Load file", "Save file"},
         "Learning",
         "Key code:",
         "Cancel",
         "Learning key:  Mute "},
        {kChinese,
         "遥控学习",
         {"应用参数", "载入参数", "保存参数"},
         "学习中……",
         "请您按下遥控器上的对应的按键",
         "放弃学习",
         "您正在学习的键：静音键"},
    };
    for (const Expect& e : expects) {
        h->app->setLanguage(e.language);
        const QString lang = e.language == kEnglish ? QStringLiteral("en") : QStringLiteral("zh");
        EXPECT_EQ(w->windowTitle(), QString::fromUtf8(e.title));
        int i = 0;
        for (int id : {1, 3, 4}) {
            EXPECT_EQ(textOf(w, id), QString::fromUtf8(e.buttons[i++]));
        }
        EXPECT_EQ(w->keyList()->language(), e.language);
        pump(30);
        shoot(w, QStringLiteral("remote_") + lang);

        click(1608);
        CRemoteStudyDlg* study = w->studyDialog();
        ASSERT_NE(study, nullptr);
        EXPECT_EQ(study->windowTitle(), QString::fromUtf8(e.studyTitle));
        EXPECT_EQ(textOf(study, 1007), QString::fromUtf8(e.prompt));
        EXPECT_EQ(textOf(study, 3), QString::fromUtf8(e.cancel));
        EXPECT_EQ(textOf(study, 1167), QString::fromUtf8(e.keyText));
        // Switching while learning relabels the learning window too.
        h->app->setLanguage(1 - e.language);
        EXPECT_NE(textOf(study, 1167), QString::fromUtf8(e.keyText));
        h->app->setLanguage(e.language);
        EXPECT_EQ(textOf(study, 1167), QString::fromUtf8(e.keyText));
        study->showLearnedCode(0x4A);
        pump(30);
        shoot(study, QStringLiteral("remote_learning_") + lang);
        ASSERT_TRUE(waitUntil([&] { return w->studyDialog() == nullptr; }, 3000));
    }
}

TEST_F(RemoteWindows, ARemoteFileFromOutsideGoesIntoTheWindowAndToTheProcessor) {
    start();
    const QString path = writeFile(QStringLiteral("living room.REMO"), counting(18));
    h->app->activate(path);
    CRemoteDlg* w = window();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(notice(), QString::fromUtf8("载入遥控文件成功"));
    h->drain();
    RemoteKeyTable expected;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        expected[i] = static_cast<std::uint8_t>(i);
    }
    EXPECT_EQ(h->image().remoteKeys, expected);
    EXPECT_EQ(sent(*h), std::vector<Report>{tableReport(expected)});
}
