// The input source, features, music automatic level and subwoofer decay windows on an
// emulated processor: what each control stores and what reaches the processor, in order.
#include "ToolWindowHarness.h"
#include "model/BandOps.h"
#include "pages/CAutoMusicVolDlg.h"
#include "pages/CAutoSubDlg.h"
#include "pages/CDialogMusicInput.h"
#include "pages/CloudnessDlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

struct ToolWindowsTest : ::testing::Test {
    ToolWindowHarness h;
    void SetUp() override { ASSERT_TRUE(h.connect()); }
};

} // namespace

TEST_F(ToolWindowsTest, InputSourceChoosesInputsInOrderAndSendsGains) {
    h.image->params.musicSource = 2;
    h.image->params.hdmiSelect = 3;
    h.image->params.musicGainBluetooth = 140; // out of the slider's range
    auto& w = h.open<CDialogMusicInput>(ToolWindowId::InputSource);
    EXPECT_TRUE(w.control<QRadioButton>(1195).isChecked()); // HDMI4
    EXPECT_EQ(w.control<CXBmpSlider>(1042).position(), 100);
    EXPECT_EQ(w.control<QLabel>(1007).text(), QStringLiteral("140%"));

    // An HDMI input sends its selection (4/33) first, then the source (4/23).
    struct Choice {
        int radio;
        std::vector<Param> sent;
        int source;
        int hdmi;
    };
    const Choice choices[] = {
        {1192, {{4, 33, 0}, {4, 23, 2}}, 2, 0},
        {1193, {{4, 33, 1}, {4, 23, 2}}, 2, 1},
        {1194, {{4, 33, 2}, {4, 23, 2}}, 2, 2},
        {1195, {{4, 33, 3}, {4, 23, 2}}, 2, 3},
        {1190, {{4, 23, 0}}, 0, 3},
        {1191, {{4, 23, 3}}, 3, 3},
    };
    for (const Choice& c : choices) {
        SCOPED_TRACE(c.radio);
        h.clearReceived();
        QTest::mouseClick(&w.control<QRadioButton>(c.radio), Qt::LeftButton);
        EXPECT_EQ(paramsIn(h.received()), c.sent);
        EXPECT_EQ(h.image->params.musicSource, c.source);
        EXPECT_EQ(h.image->params.hdmiSelect, c.hdmi);
    }

    // Each gain slider stores its field and sends value / 100 to its parameter.
    struct Gain {
        int slider;
        std::int32_t DspParams::*field;
        int param;
        int text;
    };
    const Gain gains[] = {{1043, &DspParams::musicGainHdmi1, 26, 1006},
                          {1044, &DspParams::musicGainHdmi2, 27, 1002},
                          {1045, &DspParams::musicGainHdmi3, 28, 1003},
                          {1046, &DspParams::musicGainHdmi4, 29, 1131},
                          {1041, &DspParams::musicGainSpdif, 24, 1005},
                          {1042, &DspParams::musicGainBluetooth, 30, 1007}};
    for (const Gain& g : gains) {
        SCOPED_TRACE(g.slider);
        h.clearReceived();
        moveSlider(w.control<CXBmpSlider>(g.slider), 75);
        EXPECT_EQ(h.image->params.*g.field, 75);
        EXPECT_EQ(paramsIn(h.received()), (std::vector<Param>{{4, g.param, f32(0.75f)}}));
        EXPECT_EQ(w.control<QLabel>(g.text).text(), QStringLiteral("75%"));
    }

    // The next opening shows the model again, whatever changed meanwhile.
    h.image->params.musicSource = 3;
    EXPECT_EQ(&h.open<CDialogMusicInput>(ToolWindowId::InputSource), &w);
    EXPECT_TRUE(w.control<QRadioButton>(1191).isChecked());
    h.image->params.musicSource = 7; // unknown: the first radio
    h.windows.open(ToolWindowId::InputSource);
    EXPECT_TRUE(w.control<QRadioButton>(1190).isChecked());
}

TEST_F(ToolWindowsTest, EveryFeatureControlStoresAndSendsItsField) {
    auto& w = h.open<CloudnessDlg>(ToolWindowId::Features);
    struct Case {
        int ctrl;
        int value; // slider position, or 1/0 for a check box
        QString text;
        std::vector<Param> sent; // SetParams, in order (a block: its first word)
        std::function<bool(const DeviceImage&)> stored;
    };
    const float lpfDelaySamples = 5 * 48;
    const std::vector<Case> cases = {
        {1043,
         12,
         QStringLiteral("12dB"),
         {},
         [](const DeviceImage& i) {
             return i.micBoost == MicBoostWord{0xC1, 0x40};
         }},
        {1046,
         120,
         QStringLiteral("120Hz"),
         {},
         [](const DeviceImage& i) {
             const auto at = i.eqBands.begin() + 178 * 7;
             return std::vector<std::uint8_t>(at, at + 7) ==
                    std::vector<std::uint8_t>{0x00, 0x96, 0x00, 0x78, 0x02, 0xC3, 0x02};
         }},
        {1047,
         5,
         QStringLiteral("5ms"),
         {{4, 36, static_cast<std::uint32_t>(lpfDelaySamples)}},
         [](const DeviceImage& i) { return i.params.boostLpfDelayMs == 5; }},
        {1048,
         150,
         QStringLiteral("150%"),
         {{4, 37, f32(1.5f)}},
         [](const DeviceImage& i) { return i.params.boostLpfGain == 150; }},
        {1050,
         30,
         QStringLiteral("30%"),
         {{1, 13, f32(0.3f)}},
         [](const DeviceImage& i) { return i.params.subDecayLevel == 30; }},
        {1051,
         -20,
         QStringLiteral("-20dB"),
         {{4, 14, f32(-20.0f)}},
         [](const DeviceImage& i) { return i.params.musicCompThreshold == -20.0f; }},
        {1052,
         40,
         QStringLiteral("4.0:1"),
         {{4, 14, f32(-20.0f)}},
         [](const DeviceImage& i) { return i.params.musicCompRatio == 4.0f; }},
        {1053,
         10,
         QStringLiteral("10ms"),
         {{4, 14, f32(-20.0f)}},
         [](const DeviceImage& i) { return i.params.musicCompAttackMs == 10.0f; }},
        {1054,
         200,
         QStringLiteral("200ms"),
         {{4, 14, f32(-20.0f)}},
         [](const DeviceImage& i) { return i.params.musicCompReleaseMs == 200.0f; }},
        // Boost on: both switches get 0 ("not off"), parameter 37 first.
        {1040,
         1,
         {},
         {{1, 37, 0}, {1, 60, 0}},
         [](const DeviceImage& i) {
             return i.params.micBoostOn == 1 && i.params.micBoostOnCopy == 1;
         }},
        {1040,
         0,
         {},
         {{1, 37, 1}, {1, 60, 1}},
         [](const DeviceImage& i) {
             return i.params.micBoostOn == 0 && i.params.micBoostOnCopy == 0;
         }},
        {1042, 1, {}, {{1, 12, 1}}, [](const DeviceImage& i) { return i.params.subDecayOn == 1; }},
        // The compressor box is a bypass switch the other way round.
        {1044,
         0,
         {},
         {{4, 15, 1}},
         [](const DeviceImage& i) { return i.params.musicCompBypass == 1; }},
        {1044,
         1,
         {},
         {{4, 15, 0}},
         [](const DeviceImage& i) { return i.params.musicCompBypass == 0; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ctrl);
        h.clearReceived();
        const int textId = c.ctrl == 1043   ? 1006
                           : c.ctrl == 1046 ? 1008
                           : c.ctrl == 1047 ? 1004
                           : c.ctrl == 1048 ? 1009
                           : c.ctrl == 1050 ? 1011
                                            : c.ctrl - 1051 + 1014;
        if (c.text.isEmpty()) {
            auto& box = w.control<QCheckBox>(c.ctrl);
            box.setChecked(c.value == 0);
            clickBox(box);
        } else {
            moveSlider(w.control<CXBmpSlider>(c.ctrl), c.value);
            EXPECT_EQ(w.control<QLabel>(textId).text(), c.text);
        }
        const std::vector<Report> got = h.received();
        std::vector<Param> sent = paramsIn(got);
        EXPECT_TRUE(c.stored(*h.image));
        if (c.ctrl == 1043) {
            // Memory 1305 first, then the boost blocks.
            ASSERT_FALSE(got.empty());
            EXPECT_EQ(got[0], reportOf({0x02, 0x85, 0x05, 0x19, 0x02, 0xC1, 0x40}));
            EXPECT_EQ(got.size(), 7u);
        } else if (c.ctrl == 1046) {
            // The band record, then its coefficients to the music module's parameter 10.
            ASSERT_EQ(got.size(), 2u);
            EXPECT_EQ(got[0][1], static_cast<std::uint8_t>(Command::WriteMemory));
            EXPECT_EQ(got[1][3], 4);
            EXPECT_EQ(got[1][4], 10);
        } else {
            if (!sent.empty() && c.sent.size() == 1 && sent.size() == 1) {
                sent[0].word =
                    sent[0].module == 4 && sent[0].param == 14 ? wordAt(got[0], 6) : sent[0].word;
            }
            EXPECT_EQ(sent, c.sent);
        }
    }

    // Loading: a never-written low-pass record shows 0Hz with the slider at 20; values
    // beyond a slider's range are clamped there but shown as they are.
    h.image->eqBands.fill(0);
    h.image->params.musicCompReleaseMs = 5000.0f;
    LiveStatusBytes status = h.image->liveStatus.load();
    status[6] = 0xF6; // the music level byte is signed: -10 dB
    h.image->liveStatus.store(status);
    h.windows.open(ToolWindowId::Features);
    EXPECT_EQ(w.control<QLabel>(CloudnessDlg::kMusicLevelText).text(), QStringLiteral("-10dB"));
    EXPECT_EQ(w.control<QLabel>(1008).text(), QStringLiteral("0Hz"));
    EXPECT_EQ(w.control<CXBmpSlider>(1046).position(), 20);
    EXPECT_EQ(w.control<CXBmpSlider>(1054).position(), 1000);
    EXPECT_EQ(w.control<QLabel>(1017).text(), QStringLiteral("5000ms"));
    EXPECT_FALSE(w.control<QWidget>(1012).isVisibleTo(&w)); // the AGC group stays hidden
}

TEST_F(ToolWindowsTest, MusicLevelAndSubDecayWindowsFollowTheirSwitch) {
    h.image->params.musicAgcOn = 0;
    h.image->params.musicAgcLevel = -12.7f;
    auto& agc = h.open<CAutoMusicVolDlg>(ToolWindowId::MusicAgc);
    EXPECT_EQ(agc.levelSlider().position(), -127);
    EXPECT_EQ(agc.valueText().text(), QStringLiteral("-0.7dB"));
    EXPECT_FALSE(agc.levelSlider().isEnabled());
    EXPECT_FALSE(agc.caption().isEnabled());

    h.clearReceived();
    clickBox(agc.onBox());
    EXPECT_TRUE(agc.levelSlider().isEnabled());
    moveSlider(agc.levelSlider(), -120);
    // The processor gets -12.0 dB; the user sees 0.0 dB.
    EXPECT_EQ(h.image->params.musicAgcLevel, -12.0f);
    EXPECT_EQ(agc.valueText().text(), QStringLiteral("0.0dB"));
    EXPECT_EQ(paramsIn(h.received()), (std::vector<Param>{{4, 16, 1}, {4, 17, f32(-12.0f)}}));
    EXPECT_EQ(h.image->params.musicAgcOn, 1);

    h.image->params.subDecayOn = 0;
    h.image->params.subDecayLevel = 35;
    auto& sub = h.open<CAutoSubDlg>(ToolWindowId::SubDecay);
    EXPECT_FALSE(sub.levelSlider().isEnabled());
    EXPECT_EQ(sub.levelSlider().position(), 35);
    EXPECT_EQ(sub.valueText().text(), QStringLiteral("35%"));
    h.clearReceived();
    clickBox(sub.onBox());
    moveSlider(sub.levelSlider(), 60);
    EXPECT_EQ(paramsIn(h.received()), (std::vector<Param>{{1, 12, 1}, {1, 13, f32(0.6f)}}));
    EXPECT_EQ(sub.valueText().text(), QStringLiteral("60%"));
    clickBox(sub.onBox());
    EXPECT_FALSE(sub.levelSlider().isEnabled());
    EXPECT_EQ(h.image->params.subDecayOn, 0);
}

TEST_F(ToolWindowsTest, OneOfEachFollowingTheLanguageUntilClosed) {
    const ToolWindowId ids[] = {ToolWindowId::MachineSettings, ToolWindowId::SubDecay,
                                ToolWindowId::MusicAgc, ToolWindowId::InputSource,
                                ToolWindowId::Features};
    for (ToolWindowId id : ids) {
        ToolWindow* first = h.windows.open(id);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(h.windows.open(id), first);
    }
    EXPECT_EQ(h.windows.openWindows().size(), 5u);
    auto* settings = h.windows.window(ToolWindowId::MachineSettings);
    EXPECT_EQ(settings->windowTitle(), QString::fromUtf8("机器设置"));
    h.language.set(kEnglish);
    EXPECT_EQ(settings->windowTitle(), QStringLiteral("Machine Set"));
    EXPECT_EQ(h.windows.window(ToolWindowId::InputSource)->windowTitle(),
              QStringLiteral("Music source setting"));
    EXPECT_EQ(h.windows.window(ToolWindowId::Features)->windowTitle(), QStringLiteral("Features"));
    auto* sub = dynamic_cast<CAutoSubDlg*>(h.windows.window(ToolWindowId::SubDecay));
    EXPECT_EQ(sub->control<QLabel>(1005).text(),
              QStringLiteral("When detected mic level,the SUB vol is auto decay."));

    // Back to Chinese while open: every wrapped text gets the height its lines take.
    h.language.set(kChinese);
    for (ToolWindow* w : h.windows.openWindows()) {
        for (const QLabel* label : w->findChildren<QLabel*>()) {
            if (label->wordWrap() && label->isVisibleTo(w)) {
                EXPECT_GE(label->height(), label->heightForWidth(label->width()))
                    << w->templateId() << " " << label->text().toStdString();
            }
        }
    }

    // Esc closes and destroys; the next opening makes a new one.
    QTest::keyClick(sub, Qt::Key_Escape);
    EXPECT_TRUE(waitFor([&] { return h.windows.window(ToolWindowId::SubDecay) == nullptr; }));
    h.windows.closeAll();
    EXPECT_TRUE(waitFor([&] { return h.windows.openWindows().empty(); }));
}
