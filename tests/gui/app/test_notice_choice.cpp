// The notice window and the choice box.
#include "AppHarness.h"
#include "ui/CDlgMsgBox.h"
#include "ui/CInfoDlg.h"
#include "ui/DialogLook.h"
#include "ui/LanguageTable.h"
#include "ui/Texts.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

TEST(NoticeWindow, ASecondNoticeReplacesTheTextAndRestartsTheTime) {
    AppHarness h(false);
    h.start(false);
    h.app->showNotice(QStringLiteral("first"), 1100);
    CInfoDlg* notice = h.app->noticeWindow();
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->text(), QStringLiteral("first"));
    pump(300);
    h.app->showNotice(QStringLiteral("second"), 2000);
    EXPECT_EQ(h.app->noticeWindow(), notice); // the same window
    EXPECT_EQ(notice->text(), QStringLiteral("second"));
    EXPECT_GT(notice->remainingMs(), 1500);
    EXPECT_EQ(notice->palette().color(QPalette::Window), kDialogBackground);
}

TEST(NoticeWindow, GoesAwayByItselfOrByItsButton) {
    AppHarness h(false);
    h.start(false);
    h.app->showNotice(QStringLiteral("short"), 50);
    EXPECT_TRUE(waitUntil([&] { return h.app->noticeWindow() == nullptr; }, 2000));

    h.app->showNotice(QStringLiteral("closed by hand"), 10000);
    CInfoDlg* first = h.app->noticeWindow();
    ASSERT_NE(first, nullptr);
    auto* close = first->findChild<QPushButton*>();
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->property("ctrlId").toInt(), 2);
    EXPECT_EQ(close->text(), QString::fromUtf8("关闭"));
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_TRUE(waitUntil([&] { return h.app->noticeWindow() == nullptr; }, 2000));

    h.app->showNotice(QStringLiteral("again"), 1100);
    ASSERT_NE(h.app->noticeWindow(), nullptr);
    EXPECT_EQ(h.app->noticeWindow()->text(), QStringLiteral("again"));
}

namespace {

// Presses a key or a button of the choice box once it is on screen.
int runChoice(const std::function<void(CDlgMsgBox*)>& act, int language) {
    LanguageTable table;
    table.load(language);
    Prompter prompter([language] { return language; }, [&table] { return &table; });
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<CDlgMsgBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->cancelButton()->text(),
                  language == kEnglish ? QStringLiteral("Cancel") : QString::fromUtf8("取消"));
        EXPECT_EQ(box->firstButton()->text(), QStringLiteral("Left"));
        EXPECT_EQ(box->secondButton()->text(), QStringLiteral("Right"));
        act(box);
    });
    return prompter.askChoice(nullptr, QStringLiteral("Which?"), QStringLiteral("Left"),
                              QStringLiteral("Right"));
}

} // namespace

TEST(ChoiceBox, ReturnsOneTwoOrZero) {
    EXPECT_EQ(runChoice([](CDlgMsgBox* b) { QTest::mouseClick(b->firstButton(), Qt::LeftButton); },
                        kChinese),
              1);
    EXPECT_EQ(runChoice([](CDlgMsgBox* b) { QTest::mouseClick(b->secondButton(), Qt::LeftButton); },
                        kEnglish),
              2);
    EXPECT_EQ(runChoice([](CDlgMsgBox* b) { QTest::mouseClick(b->cancelButton(), Qt::LeftButton); },
                        kEnglish),
              0);
    EXPECT_EQ(runChoice([](CDlgMsgBox* b) { QTest::keyClick(b, Qt::Key_Escape); }, kChinese), 0);
    EXPECT_EQ(runChoice([](CDlgMsgBox* b) { b->close(); }, kChinese), 0);
}
