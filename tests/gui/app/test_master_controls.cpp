// Master volumes, pitch, noise gate and mutes on the ribbon, and the keyboard
// shortcuts that drive them.
#include "AppHarness.h"
#include "support/Bytes.h"
#include "ui/CInfoDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QSlider>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <bit>

using namespace quilo;
using namespace quilo::test;
using ribbon::Mute;
using ribbon::Slider;

namespace {

std::uint32_t f32(double v) {
    return std::bit_cast<std::uint32_t>(static_cast<float>(v));
}

// SetParam reports (0x09) to module/parameter, in arrival order.
std::vector<Report> setParams(const std::vector<Report>& all, int module, int param) {
    std::vector<Report> out;
    for (const Report& r : all) {
        if (r[1] == 0x09 && r[3] == module && r[4] == param) {
            out.push_back(r);
        }
    }
    return out;
}

// A program on the emulated processor with the link open but no read-back, so
// what the controls send is all the processor receives.
struct RibbonMasters : ::testing::Test {
    AppHarness h{true, kChinese, [](AppOptions& o) { o.connectDelayMs = 60 * 60 * 1000; }};

    void SetUp() override {
        h.start(false);
        ASSERT_TRUE(h.app->session().openLink());
        h.drain();
        h.clearReceived();
    }
    void press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target != nullptr ? target : h.app->mainFrame(), Qt::Key(key), mods);
    }
    QString notice() {
        return h.app->noticeWindow() != nullptr ? h.app->noticeWindow()->text() : QString();
    }
    QSlider* slider(Slider s, int category = 0) { return h.ribbon().slider(s, category); }
};

} // namespace

TEST_F(RibbonMasters, SliderPairsMoveTogetherStoreSendAndLabel) {
    slider(Slider::Mic)->setValue(40);
    EXPECT_EQ(slider(Slider::Mic, 1)->value(), 40);
    EXPECT_EQ(h.image().params.micVolume, 40);
    EXPECT_EQ(h.ribbon().labelText(Slider::Mic, 0), QString::fromUtf8("话筒音量: 40"));
    EXPECT_EQ(h.ribbon().labelText(Slider::Mic, 1), QString::fromUtf8("话筒音量: 40"));

    h.ribbon().setActiveCategory(1);
    slider(Slider::Echo, 1)->setValue(7);
    EXPECT_EQ(slider(Slider::Echo, 0)->value(), 7);
    EXPECT_EQ(h.image().params.echoVolume, 7);
    EXPECT_EQ(h.ribbon().labelText(Slider::Echo, 0), QString::fromUtf8("回声音量:  7"));

    h.drain();
    const auto got = h.received();
    const auto mic = setParams(got, 1, 14);
    ASSERT_EQ(mic.size(), 1u);
    EXPECT_EQ(mic[0][5], 1);
    EXPECT_EQ(wordAt(mic[0], 6), f32(40 / 100.0 + 0.0005)); // volumes: pct+
    const auto echo = setParams(got, 2, 26);
    ASSERT_EQ(echo.size(), 1u);
    EXPECT_EQ(wordAt(echo[0], 6), f32(7 / 100.0));
}

TEST_F(RibbonMasters, MaximumVolumesLimitWithANotice) {
    h.app->setLanguage(kEnglish);
    h.image().machine.applied[5] = 60;
    h.image().machine.applied[6] = 30;

    slider(Slider::Mic)->setValue(75);
    EXPECT_EQ(notice(), QStringLiteral("Mic vol can't over max value!"));
    EXPECT_EQ(h.image().params.micVolume, 60);
    EXPECT_EQ(slider(Slider::Mic, 0)->value(), 60);
    EXPECT_EQ(slider(Slider::Mic, 1)->value(), 60);
    EXPECT_EQ(h.ribbon().labelText(Slider::Mic, 0), QStringLiteral("Mic    Vol:  60"));

    slider(Slider::Music)->setValue(31);
    EXPECT_EQ(notice(), QStringLiteral("Music vol can't over max value!"));
    EXPECT_EQ(h.image().params.musicVolume, 30);

    h.drain();
    const auto mic = setParams(h.received(), 1, 14);
    ASSERT_EQ(mic.size(), 1u);
    EXPECT_EQ(wordAt(mic[0], 6), f32(60 / 100.0 + 0.0005));
    const auto music = setParams(h.received(), 4, 12);
    ASSERT_EQ(music.size(), 1u);
    EXPECT_EQ(wordAt(music[0], 6), f32(30 / 100.0 + 0.0005));

    // At the maximum there is nothing to say.
    h.app->noticeWindow()->close();
    waitUntil([&] { return h.app->noticeWindow() == nullptr; });
    slider(Slider::Mic)->setValue(59);
    EXPECT_EQ(h.app->noticeWindow(), nullptr);
}

TEST_F(RibbonMasters, AVolumeMovedWhileMutedSaysSo) {
    h.image().params.reverbMute = 1;
    slider(Slider::Reverb)->setValue(20);
    EXPECT_EQ(notice(), QStringLiteral("vol is mute"));
    EXPECT_EQ(h.image().params.reverbVolume, 20);
    h.drain();
    const auto reverb = setParams(h.received(), 3, 24);
    ASSERT_EQ(reverb.size(), 1u);
    EXPECT_EQ(reverb[0][5], 2); // both reverb sets at once
}

TEST_F(RibbonMasters, PitchAndNoiseGateTexts) {
    slider(Slider::Pitch)->setValue(-3);
    EXPECT_EQ(h.image().params.musicPitch, -3);
    EXPECT_EQ(h.ribbon().panelTitle(0, 5), QString::fromUtf8("音乐变调:-3"));
    slider(Slider::Pitch)->setValue(2);
    EXPECT_EQ(h.ribbon().panelTitle(1, 5), QString::fromUtf8("音乐变调:+2"));
    slider(Slider::Gate)->setValue(42);
    EXPECT_EQ(h.ribbon().labelText(Slider::Gate, 0), QString::fromUtf8("音乐噪声门: 42"));
    h.app->setLanguage(kEnglish);
    EXPECT_EQ(h.ribbon().labelText(Slider::Gate, 1), QStringLiteral("Noisegate:     42"));
    EXPECT_EQ(h.ribbon().panelTitle(0, 5), QStringLiteral("Music Pitch:+2"));
    h.drain();
    const auto pitch = setParams(h.received(), 4, 21);
    // The first may have been replaced by the second before it went out.
    ASSERT_FALSE(pitch.empty());
    EXPECT_EQ(wordAt(pitch.back(), 6), 7u); // steps + 5
    const auto gate = setParams(h.received(), 4, 22);
    ASSERT_EQ(gate.size(), 1u);
    EXPECT_EQ(wordAt(gate[0], 6), f32(42 / 10000.0));
}

TEST_F(RibbonMasters, VolumeKeysStepByFiveBelowFiftyByTwoAboveAndOneWithCtrl) {
    h.image().params.musicVolume = 48;
    h.view().masterControls().refresh();
    press(Qt::Key_Q);
    EXPECT_EQ(h.image().params.musicVolume, 53);
    h.image().params.musicVolume = 50;
    h.view().masterControls().refresh();
    press(Qt::Key_Q);
    EXPECT_EQ(h.image().params.musicVolume, 52);
    press(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(h.image().params.musicVolume, 53);
    press(Qt::Key_A);
    EXPECT_EQ(h.image().params.musicVolume, 51);
    EXPECT_EQ(slider(Slider::Music, 1)->value(), 51);

    h.image().params.micVolume = 3;
    h.view().masterControls().refresh();
    press(Qt::Key_S);
    EXPECT_EQ(h.image().params.micVolume, 0); // never below the range
    press(Qt::Key_W);
    EXPECT_EQ(h.image().params.micVolume, 5);

    h.image().params.reverbVolume = 97;
    h.view().masterControls().refresh();
    press(Qt::Key_R);
    EXPECT_EQ(h.image().params.reverbVolume, 99);
    press(Qt::Key_F);
    EXPECT_EQ(h.image().params.reverbVolume, 97);
    press(Qt::Key_E);
    EXPECT_EQ(h.image().params.echoVolume, 5);
    press(Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(h.image().params.echoVolume, 4);

    // The limits and their notices apply to keys too.
    h.image().machine.applied[5] = 6;
    press(Qt::Key_W);
    EXPECT_EQ(h.image().params.micVolume, 6);
    EXPECT_EQ(notice(), QString::fromUtf8("不能超过最大话筒音量!"));
}

TEST_F(RibbonMasters, LettersTypedIntoATextFieldAreNotShortcuts) {
    auto* edit = new QLineEdit(&h.view());
    edit->show();
    QApplication::setActiveWindow(h.app->mainFrame());
    edit->setFocus();
    ASSERT_TRUE(waitUntil([&] { return QApplication::focusWidget() == edit; }, 1000));
    h.image().params.musicVolume = 20;
    QTest::keyClicks(edit, QStringLiteral("qz"));
    EXPECT_EQ(edit->text(), QStringLiteral("qz"));
    EXPECT_EQ(h.image().params.musicVolume, 20);
    EXPECT_EQ(h.image().params.musicMute, 0);
    delete edit;
}

TEST_F(RibbonMasters, MuteBoxesAndKeysInvertTheFieldsAndUnmuteRampsTheMusic) {
    auto* box = qobject_cast<QCheckBox*>(h.ribbon().control(ribbon::kMuteIds[0][0]));
    ASSERT_NE(box, nullptr);
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_EQ(h.image().params.micMute, 1);
    EXPECT_TRUE(h.ribbon().muteChecked(Mute::Mic, 0));
    EXPECT_TRUE(h.ribbon().muteChecked(Mute::Mic, 1));

    h.app->setLanguage(kEnglish);
    press(Qt::Key_Z);
    EXPECT_EQ(h.image().params.musicMute, 1);
    EXPECT_EQ(notice(), QStringLiteral("Music Muted"));
    h.app->noticeWindow()->close();
    waitUntil([&] { return h.app->noticeWindow() == nullptr; });
    press(Qt::Key_Z); // unmuting says nothing
    EXPECT_EQ(h.image().params.musicMute, 0);
    EXPECT_EQ(h.app->noticeWindow(), nullptr);
    press(Qt::Key_C);
    EXPECT_EQ(h.image().params.echoMute, 1);
    EXPECT_EQ(notice(), QStringLiteral("Echo muted"));
    press(Qt::Key_V);
    EXPECT_EQ(h.image().params.reverbMute, 1);
    EXPECT_EQ(notice(), QStringLiteral("Reverb muted"));
    press(Qt::Key_X);
    EXPECT_EQ(h.image().params.micMute, 0);

    h.drain();
    const auto got = h.received();
    const auto mic = setParams(got, 1, 15);
    ASSERT_EQ(mic.size(), 2u);
    EXPECT_EQ(wordAt(mic[0], 6), f32(0.0)); // muted
    EXPECT_EQ(wordAt(mic[1], 6), f32(1.0));
    // Muting the music sends 0.0 once; unmuting ramps 0.0, 0.1 ... 0.8, then 1.0.
    const auto music = setParams(got, 4, 13);
    ASSERT_EQ(music.size(), 1u + 10u);
    EXPECT_EQ(wordAt(music[0], 6), f32(0.0));
    for (int i = 0; i <= 8; ++i) {
        EXPECT_EQ(wordAt(music[1 + i], 6), f32(i / 10.0)) << "step " << i;
    }
    EXPECT_EQ(wordAt(music[10], 6), f32(1.0));
    ASSERT_EQ(setParams(got, 2, 27).size(), 1u);
    ASSERT_EQ(setParams(got, 3, 25).size(), 1u);
}

TEST(MasterControlsUnconnected, ControlsChangeTheImageAndSendNothing) {
    AppHarness h(true, kChinese, [](AppOptions& o) { o.connectDelayMs = 60 * 60 * 1000; });
    h.start(false);
    // Without settings from a processor the maximums are unknown: nothing is limited.
    h.ribbon().slider(Slider::Mic, 0)->setValue(90);
    EXPECT_EQ(h.image().params.micVolume, 90);
    EXPECT_EQ(h.app->noticeWindow(), nullptr);
    h.ribbon().slider(Slider::Music, 0)->setValue(80);
    EXPECT_EQ(h.image().params.musicVolume, 80);
    h.drain();
    EXPECT_TRUE(h.received().empty());
    EXPECT_EQ(h.app->session().writer().written(), 0u);
}
