// What a person sees: every ribbon and status-bar text fits its control in both
// languages. With QUILO_SHOTS=DIR the main window and the shared windows are
// also written there as PNG files to be looked at.
#include "AppHarness.h"
#include "app/AboutBox.h"
#include "app/CDlgMsgBox.h"
#include "app/CInfoDlg.h"
#include "app/SyncProgressDialog.h"
#include "gui/ShotFile.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QtTest/QTest>

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

// Texts that do not fit the width their control was given, as "id: text".
QStringList clippedTexts(QWidget* root) {
    QStringList bad;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(root)) {
            continue;
        }
        QString text;
        int room = 0;
        if (auto* l = qobject_cast<QLabel*>(w)) {
            if (l->wordWrap() || l->text().isEmpty()) {
                continue;
            }
            text = l->text();
            room = l->contentsRect().width();
        } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            if (b->text().isEmpty()) {
                continue;
            }
            // A button shows its whole text, icon and frame at its size hint.
            text = b->text();
            if (b->width() < b->sizeHint().width()) {
                bad << QStringLiteral("%1: %2").arg(w->property("ctrlId").toInt()).arg(text);
            }
            continue;
        } else {
            continue;
        }
        if (w->fontMetrics().horizontalAdvance(text) > room) {
            bad << QStringLiteral("%1: %2").arg(w->property("ctrlId").toInt()).arg(text);
        }
    }
    return bad;
}

struct Screens : ::testing::Test {
    AppHarness h{true, kChinese, [](AppOptions& o) { o.connectDelayMs = 60 * 60 * 1000; }};
    void SetUp() override {
        h.start(false);
        h.app->mainFrame()->resize(1240, 700);
        pump(50);
    }
    void showBusyMicrophones() {
        LiveStatusBytes s{};
        s[8] = 240;
        s[9] = 15;
        s[10] = 199;
        s[11] = 255;
        s[12] = 200;
        s[13] = 8;
        s[14] = 13;
        s[15] = 190;
        h.image().liveStatus.store(s);
        h.view().updateIndicators();
    }
};

} // namespace

TEST_F(Screens, RibbonAndStatusTextsFitInBothLanguagesConnectedOrNot) {
    for (int language : {kChinese, kEnglish}) {
        h.app->setLanguage(language);
        for (int c : {0, 1}) {
            h.ribbon().setActiveCategory(c);
            showBusyMicrophones();
            // Relabelled texts are laid out on the event loop, which a sanitizer slows.
            waitUntil([&] { return clippedTexts(h.app->mainFrame()).isEmpty(); }, 2000);
            EXPECT_TRUE(clippedTexts(h.app->mainFrame()).isEmpty())
                << "language " << language << " category " << c << ": "
                << clippedTexts(h.app->mainFrame()).join(QStringLiteral("; ")).toStdString();
        }
        h.ribbon().setActiveCategory(0);
        const QString lang = language == kEnglish ? QStringLiteral("en") : QStringLiteral("zh");
        shoot(h.app->mainFrame(), QStringLiteral("main_disconnected_") + lang);
        ASSERT_TRUE(h.app->session().openLink());
        h.view().updateIndicators();
        waitUntil([&] { return clippedTexts(&h.status()).isEmpty(); }, 2000);
        EXPECT_TRUE(clippedTexts(&h.status()).isEmpty())
            << clippedTexts(&h.status()).join(QStringLiteral("; ")).toStdString();
        shoot(h.app->mainFrame(), QStringLiteral("main_connected_") + lang);
        h.app->session().closeLink(false);
        h.view().updateIndicators();
    }
    // The frame keeps its minimum size.
    h.app->mainFrame()->resize(800, 500);
    EXPECT_GE(h.app->mainFrame()->width(), 1240);
    EXPECT_GE(h.app->mainFrame()->height(), 700);
}

TEST_F(Screens, SharedWindows) {
    for (int language : {kChinese, kEnglish}) {
        h.app->setLanguage(language);
        const QString lang = language == kEnglish ? QStringLiteral("en") : QStringLiteral("zh");

        h.app->showNotice(language == kEnglish ? QStringLiteral("Mic vol can't over max value!")
                                               : QString::fromUtf8("不能超过最大话筒音量!"),
                          10000);
        pump(30);
        EXPECT_TRUE(clippedTexts(h.app->noticeWindow()).isEmpty());
        shoot(h.app->noticeWindow(), QStringLiteral("notice_") + lang);
        h.app->noticeWindow()->close();

        CDlgMsgBox choice(h.app->mainFrame(),
                          language == kEnglish
                              ? QStringLiteral("Apply the change to which channel?")
                              : QString::fromUtf8("请选择要应用的通道?"),
                          QStringLiteral("CH 1"), QStringLiteral("CH 1 - CH 8"));
        choice.applyLanguage(&h.app->languageTable());
        choice.show();
        pump(30);
        EXPECT_TRUE(clippedTexts(&choice).isEmpty());
        shoot(&choice, QStringLiteral("choice_") + lang);
        choice.close();

        h.app->syncProgress().show();
        pump(30);
        ASSERT_NE(h.app->syncDialog(), nullptr);
        shoot(h.app->syncDialog(), QStringLiteral("progress_") + lang);
        h.app->syncProgress().close();

        DeviceInfo info;
        info.modelName = u"MIVRAX";
        info.firmwareDateA = u"2013-06-18";
        info.firmwareDateB = u"2013-07-02";
        info.protocolVersion = 18;
        bool peak = true;
        AboutBox about(h.app->mainFrame(), language, &info, true, peak,
                       [&peak](bool on) { peak = on; });
        about.show();
        EXPECT_FALSE(about.modelLine()->isVisible());
        EXPECT_FALSE(about.peakBox()->isVisible());
        EXPECT_EQ(about.mcuLine()->text(), QStringLiteral("MCU Ver:2013-06-18 CMD Ver:18"));
        EXPECT_EQ(about.dspLine()->text(), QStringLiteral("DSP Ver:2013-07-02"));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_F11, Qt::ControlModifier | Qt::ShiftModifier);
        QCoreApplication::sendEvent(&about, &release);
        EXPECT_TRUE(about.modelLine()->isVisible());
        EXPECT_EQ(about.modelLine()->text(), QStringLiteral("Module:MIVRAX"));
        EXPECT_TRUE(about.peakBox()->isVisible());
        about.peakBox()->click();
        EXPECT_FALSE(peak);
        pump(30);
        EXPECT_TRUE(clippedTexts(&about).isEmpty());
        shoot(&about, QStringLiteral("about_") + lang);
    }
}
