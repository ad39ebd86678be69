// What a person sees: every ribbon and status-bar text fits its control in both
// languages. With QUILO_SHOTS=DIR the main window and the shared windows are
// also written there as PNG files to be looked at.
#include "AppHarness.h"
#include "FakeWindows.h"
#include "app/AboutBox.h"
#include "app/ToolWindows.h"
#include "gui/ShotFile.h"
#include "pages/CDialogEfx.h"
#include "pages/CDialogMusic.h"
#include "ui/CDlgMsgBox.h"
#include "ui/CInfoDlg.h"
#include "ui/SyncProgressDialog.h"
#include "widgets/CGdipButton.h"
#include "widgets/CSmallEqPanel.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QtTest/QTest>

#include <optional>

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
            // Quiet microphones show other lines; nothing may move for it.
            QWidget* load = h.ribbon().control(ribbon::kLoadFileIds[c]);
            QWidget* status = h.ribbon().control(ribbon::kStatusLineIds[c][1][0]);
            const QRect loadAt = load->geometry();
            const QRect statusAt = status->geometry();
            h.image().liveStatus.store(LiveStatusBytes{});
            h.view().updateIndicators();
            pump(20);
            EXPECT_EQ(load->geometry(), loadAt);
            EXPECT_EQ(status->geometry(), statusAt);
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

TEST_F(Screens, MusicPageOnStartUpAndTheEffectsPageInBothLanguages) {
    // The output page is another window's; a stand-in lets the categories switch.
    h.app->setPageFactory(PageKind::Output, [](PageContext&, QWidget* parent) {
        return new FakePage(PageKind::Output, true, parent);
    });
    auto music = [&] { return qobject_cast<CDialogMusic*>(h.view().pages().current()); };
    ASSERT_NE(music(), nullptr); // the first page the view makes
    for (int language : {kChinese, kEnglish}) {
        h.app->setLanguage(language);
        const QString lang = language == kEnglish ? QStringLiteral("en") : QStringLiteral("zh");
        ASSERT_NE(music(), nullptr);
        EXPECT_EQ(music()->channelButton(CDialogMusic::kMusic).text(),
                  language == kEnglish ? QStringLiteral("Music") : QString::fromUtf8("音乐"));
        LiveStatusBytes s{};
        s = {30, 52, 0, 0, 41, 58, 0, 0x01};
        h.image().liveStatus.store(s);
        music()->meterTick();
        pump(30);
        shoot(h.app->mainFrame(), QStringLiteral("main_music_") + lang);
        music()->selectPageChannel(CDialogMusic::kMicB);
        pump(30);
        EXPECT_TRUE(clippedTexts(music()).isEmpty())
            << clippedTexts(music()).join(QStringLiteral("; ")).toStdString();
        shoot(music(), QStringLiteral("music_") + lang);

        // The reverb preview leads to reverb equaliser B, and back to mic channel B.
        QTest::mouseClick(&music()->preview(true), Qt::LeftButton);
        auto* efx = qobject_cast<CDialogEfx*>(h.view().pages().current());
        ASSERT_NE(efx, nullptr);
        EXPECT_EQ(efx->index(), 1);
        pump(30);
        EXPECT_TRUE(clippedTexts(efx).isEmpty())
            << clippedTexts(efx).join(QStringLiteral("; ")).toStdString();
        shoot(efx, QStringLiteral("effects_") + lang);
        QTest::mouseClick(&efx->returnButton(), Qt::LeftButton);
        ASSERT_NE(music(), nullptr);
        EXPECT_EQ(music()->pageChannel(), CDialogMusic::kMicB);

        // "Input" chosen from the output category comes back on mic channel A.
        h.ribbon().setActiveCategory(ribbon::kOutput);
        EXPECT_EQ(music(), nullptr);
        h.ribbon().setActiveCategory(ribbon::kInput);
        ASSERT_NE(music(), nullptr);
        EXPECT_EQ(music()->pageChannel(), CDialogMusic::kMicA);
    }
}

TEST_F(Screens, OutputPageInBothLanguages) {
    DspParams& p = h.image().params;
    for (int ch = 0; ch < 8; ++ch) {
        p.outDirectLevel[ch] = 80;
        p.outReverbLevel[ch] = 45;
        p.outEchoLevel[ch] = 60;
        p.outMusicLevel[ch] = 100;
        p.outLocation[ch] = ch;
        p.outCompThreshold[ch] = -18.0f;
        p.outCompRatio[ch] = 4.0f;
        p.outCompAttackMs[ch] = 10.0f;
        p.outCompReleaseMs[ch] = 300.0f;
        p.outDelayMs[ch] = 12.5f;
    }
    p.outMute[6] = 1;
    p.outPhase[2] = 1;
    h.view().pageState().outputChannel = 2;
    for (int language : {kChinese, kEnglish}) {
        h.app->setLanguage(language);
        h.ribbon().setActiveCategory(ribbon::kOutput);
        pump(50);
        Page* page = h.view().pages().current();
        ASSERT_NE(page, nullptr);
        ASSERT_EQ(page->kind(), PageKind::Output);
        EXPECT_GE(page->width(), 1024);
        waitUntil([&] { return clippedTexts(page).isEmpty(); }, 2000);
        EXPECT_TRUE(clippedTexts(page).isEmpty())
            << clippedTexts(page).join(QStringLiteral("; ")).toStdString();
        const QString lang = language == kEnglish ? QStringLiteral("en") : QStringLiteral("zh");
        page->resize(1024, 520); // the smallest the page area gives it
        pump(30);
        shoot(page, QStringLiteral("output_") + lang);
        h.view().pages().layout();
        pump(30);
        shoot(h.app->mainFrame(), QStringLiteral("main_output_") + lang);
    }
}

TEST_F(Screens, ToolWindows) {
    struct Shot {
        std::optional<UserCommand> command; // none: the F7 key
        ToolWindowId id;
        const char* name;
    };
    const Shot shots[] = {{UserCommand::InputSource, ToolWindowId::InputSource, "input_source"},
                          {std::nullopt, ToolWindowId::MachineSettings, "machine_settings"},
                          {UserCommand::Features, ToolWindowId::Features, "features"},
                          {UserCommand::MusicAgc, ToolWindowId::MusicAgc, "music_agc"},
                          {UserCommand::SubDecay, ToolWindowId::SubDecay, "sub_decay"}};
    h.image().info.protocolVersion = 9;
    // Values a processor might hold, so that every text shows something typical.
    DspParams& p = h.image().params;
    p.musicSource = 2;
    p.hdmiSelect = 1;
    p.musicGainHdmi1 = p.musicGainHdmi2 = p.musicGainSpdif = 80;
    p.musicGainBluetooth = 100;
    p.musicAgcOn = 1;
    p.musicAgcLevel = -13.5f;
    p.subDecayOn = 1;
    p.subDecayLevel = 40;
    p.boostLpfGain = 120;
    p.boostLpfDelayMs = 4;
    p.musicCompThreshold = -18.0f;
    p.musicCompRatio = 2.5f;
    p.musicCompAttackMs = 20.0f;
    p.musicCompReleaseMs = 300.0f;
    h.image().machine.applied = {0, 0, 0, 60, 255, 80, 99, 0, 0, 0, 0, 1, 0};
    for (int language : {kChinese, kEnglish}) {
        h.app->setLanguage(language);
        const QString lang = language == kEnglish ? QStringLiteral("en") : QStringLiteral("zh");
        // Protocol 9: the ribbon's tab row holds the Music AGC button too.
        h.view().updateIndicators();
        waitUntil([&] { return clippedTexts(h.app->mainFrame()).isEmpty(); }, 2000);
        EXPECT_TRUE(clippedTexts(h.app->mainFrame()).isEmpty())
            << clippedTexts(h.app->mainFrame()).join(QStringLiteral("; ")).toStdString();
        shoot(h.app->mainFrame(), QStringLiteral("main_agc_") + lang);
        for (const Shot& s : shots) {
            if (s.command) {
                h.view().commands().trigger(*s.command);
            } else {
                QTest::keyClick(h.app->mainFrame(), Qt::Key_F7);
            }
            ToolWindow* w = h.app->toolWindow(s.id);
            ASSERT_NE(w, nullptr) << s.name;
            pump(30);
            EXPECT_TRUE(clippedTexts(w).isEmpty())
                << s.name << " " << lang.toStdString() << ": "
                << clippedTexts(w).join(QStringLiteral("; ")).toStdString();
            shoot(w, QLatin1String(s.name) + QLatin1Char('_') + lang);
            w->close();
            waitUntil([&] { return h.app->toolWindow(s.id) == nullptr; }, 1000);
        }
    }
}
