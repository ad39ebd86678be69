// The music and microphone page and the effects equaliser page on an emulated processor:
// what the user does reaches the processor in the right order and the image holds it.
#include "PageHarness.h"
#include "device/Command.h"
#include "device/ReportBuilder.h"
#include "device/WireValue.h"
#include "model/BandOps.h"
#include "model/EqBand.h"
#include "pages/CDialogEfx.h"
#include "pages/CDialogMusic.h"
#include "pages/ChannelEqSection.h"
#include "pages/EffectParamList.h"
#include "pages/EffectParamRows.h"
#include "pages/EqBandList.h"
#include "pages/MicInputStrip.h"
#include "ui/CInfoDlg.h"
#include "widgets/CEqPanel.h"
#include "widgets/CGdipButton.h"
#include "widgets/CPeakMeterCtrl.h"
#include "widgets/CSmallEqPanel.h"
#include "widgets/CXBmpSlider.h"

#include <QApplication>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cstring>

using namespace quilo;
using namespace quilo::test;

namespace {

std::uint32_t pct(double v) {
    return encodePct(v);
}
Report setParam(int module, int param, std::uint32_t word) {
    return buildSetParam(module, param, std::span(&word, 1));
}
DspParams factoryParams() {
    DeviceImage fresh;
    fresh.resetToDefaults();
    return fresh.params;
}

struct MusicPage : ::testing::Test {
    PageHarness h;
    std::unique_ptr<CDialogMusic> page;

    void SetUp() override { ASSERT_TRUE(h.connect()); }
    void TearDown() override { page.reset(); }

    CDialogMusic& open(int channel = 0) {
        h.state.musicChannel = channel;
        page = std::make_unique<CDialogMusic>(*h.context, nullptr);
        page->refreshFromImage();
        page->resize(1024, 560);
        page->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(page.get()));
        h.settle();
        h.processor([](Emulator& e) { e.clearLog(); });
        return *page;
    }
    std::vector<Report> sent() {
        h.settle();
        auto got = h.processor([](Emulator& e) { return e.received(); });
        h.processor([](Emulator& e) { e.clearLog(); });
        return got;
    }
    void clickRow(int row) {
        EffectParamList& list = page->paramList();
        const QRect cell = list.visualRect(list.model()->index(row, 1));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, cell.center());
    }
    // The user moves the parameter slider onto `value` with one arrow key.
    void slideTo(int value) {
        CXBmpSlider& s = page->paramSlider();
        const bool up = value == s.maximum();
        s.setPosition(up ? value - 1 : value + 1);
        QTest::keyClick(&s, up ? Qt::Key_Up : Qt::Key_Down);
    }
    QString noticeText() const {
        CInfoDlg* n = h.prompter.noticeWindow();
        return n != nullptr && n->isVisible() ? n->text() : QString();
    }
};

} // namespace

TEST_F(MusicPage, MicrophoneInputsSendAssignmentGateAndVolumeInOrder) {
    h.image->params.micToA[1] = 100;
    h.image->params.micToB[1] = 0;
    open();
    MicInputStrip& input2 = page->input(1);
    EXPECT_TRUE(input2.channelRadio(true).isChecked());

    QTest::mouseClick(&input2.channelRadio(false), Qt::LeftButton);
    // Mic channel A's word first: parameter 28 with 0.0, then parameter 51 with 1.0.
    EXPECT_EQ(sent(),
              (std::vector<Report>{setParam(1, 28, 0x00000000u), setParam(1, 51, 0x3F800000u)}));
    EXPECT_EQ(h.image->params.micToA[1], 0);
    EXPECT_EQ(h.image->params.micToB[1], 100);
    EXPECT_TRUE(input2.channelRadio(false).isChecked());

    QTest::mouseClick(&page->input(0).channelRadio(true), Qt::LeftButton);
    EXPECT_EQ(sent(),
              (std::vector<Report>{setParam(1, 27, 0x3F800000u), setParam(1, 50, 0x00000000u)}));

    input2.gateSlider().setPosition(29);
    QTest::keyClick(&input2.gateSlider(), Qt::Key_Right);
    input2.volumeSlider().setPosition(71);
    QTest::keyClick(&input2.volumeSlider(), Qt::Key_Left);
    EXPECT_EQ(sent(),
              (std::vector<Report>{setParam(1, 9, encodeP10k(30)), setParam(1, 5, pct(70))}));
    EXPECT_EQ(h.image->params.micGate[1], 30);
    EXPECT_EQ(h.image->params.micInputVolume[1], 70);
    EXPECT_EQ(input2.gateText().text(), QStringLiteral("30"));
    EXPECT_EQ(input2.volumeText().text(), QStringLiteral("70"));
    // Inputs 3 and 4 keep their controls out of the user's reach.
    EXPECT_FALSE(page->input(2).isVisible());
    EXPECT_FALSE(page->input(3).isVisible());
}

TEST_F(MusicPage, EveryParameterRowStoresItsFieldAndSendsItsWireValue) {
    struct Case {
        int row;
        int channel; // 0 set A, 1 set B
        int value;
        const char* text;
        std::vector<Report> reports;
    };
    const std::vector<Case> cases = {
        {0, 0, 55, "55%", {setParam(3, 8, pct(55))}},
        {0, 1, 20, "20%", {setParam(3, 20, pct(20))}},
        {1, 0, 120, "120ms", {setParam(3, 9, 120 * 48)}},
        {1, 1, 200, "200ms", {setParam(3, 21, 200 * 48)}},
        {2, 0, 100, "5000ms", {setParam(3, 10, pct(100)), setParam(3, 11, pct(100))}},
        {2, 1, 1, "90ms", {setParam(3, 22, pct(1)), setParam(3, 23, pct(1))}},
        {3, 0, 10, "10%", {setParam(2, 8, pct(10))}},
        {3, 1, 30, "30%", {setParam(2, 21, pct(30))}},
        {4, 0, 3, "3ms", {setParam(2, 9, 3 * 48)}},
        {4, 1, 77, "77ms", {setParam(2, 22, 77 * 48)}},
        {5, 0, 260, "260ms", {setParam(2, 10, 260 * 48)}},
        {5, 1, 8, "8ms", {setParam(2, 23, 8 * 48)}},
        {6, 0, 41, "41%", {setParam(2, 11, pct(41))}},
        {6, 1, 100, "100%", {setParam(2, 24, pct(100))}},
        {7, 0, 21, "21%", {setParam(2, 12, pct(21))}},
        {7, 1, 90, "90%", {setParam(2, 25, pct(90))}},
        // A shifter at 1 Hz is off: only its off flag goes out.
        {8,
         0,
         5,
         "5Hz",
         {setParam(1, 33, 0), setParam(1, 31, encodeShiftOmega(5)),
          setParam(1, 32, encodeShiftDelay(5))}},
        {8, 1, 1, "\xE5\x85\xB3\xE9\x97\xAD", {setParam(1, 56, 1)}}, // "关闭"
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << c.row << " set " << c.channel);
        open(c.channel);
        clickRow(c.row);
        ASSERT_EQ(page->selectedRow(), c.row);
        EXPECT_EQ(page->paramCaption().text(), effect_param::name(c.row, kChinese));
        slideTo(c.value);
        EXPECT_EQ(sent(), c.reports);
        EXPECT_EQ(effect_param::value(h.image->params, c.row, c.channel), c.value);
        EXPECT_EQ(page->paramList().cellText(c.row, EffectParamList::ValueColumn),
                  QString::fromUtf8(c.text));
        EXPECT_EQ(page->paramValue().text(), QString::fromUtf8(c.text));
        // The other set is untouched.
        const DspParams factory = factoryParams();
        EXPECT_EQ(effect_param::value(h.image->params, c.row, 1 - c.channel),
                  effect_param::value(factory, c.row, 1 - c.channel));
        // A new page shows the stored value at the slider.
        page.reset();
        open(c.channel);
        clickRow(c.row);
        EXPECT_EQ(page->paramSlider().position(), c.value);
        h.image->resetToDefaults();
    }
}

TEST_F(MusicPage, ShortEchoTimesSetTheReverbPredelayOfTheSameSet) {
    open(CDialogMusic::kMicB);
    clickRow(effect_param::kEchoTime);
    slideTo(4);
    EXPECT_EQ(sent(), (std::vector<Report>{setParam(2, 23, 4 * 48), setParam(3, 21, 40 * 48)}));
    EXPECT_EQ(h.image->params.reverbPredelayMsB, 40.0f);
    EXPECT_EQ(
        page->paramList().cellText(effect_param::kReverbPredelay, EffectParamList::ValueColumn),
        QStringLiteral("40ms"));
    EXPECT_EQ(page->paramValue().text(), QStringLiteral("4ms"));

    slideTo(7); // above the doubling range: the pre-delay stays
    EXPECT_EQ(sent(), (std::vector<Report>{setParam(2, 23, 7 * 48)}));
    EXPECT_EQ(h.image->params.reverbPredelayMsB, 40.0f);
    EXPECT_EQ(h.image->params.reverbPredelayMsA, factoryParams().reverbPredelayMsA);

    // The wheel over the focused list steps the selected parameter the same way.
    page->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(page.get()));
    page->paramList().setFocus();
    QWheelEvent down(QPointF(20, 40), page->paramList().mapToGlobal(QPointF(20, 40)), QPoint(),
                     QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    page->onWheelStep(-1);
    EXPECT_EQ(h.image->params.echoTimeMsB, 6.0f);
    EXPECT_EQ(h.image->params.reverbPredelayMsB, 60.0f);
    QApplication::sendEvent(page->paramList().viewport(), &down);
    EXPECT_EQ(h.image->params.echoTimeMsB, 5.0f);
    EXPECT_EQ(page->paramSlider().position(), 5);
    // Over another part of the page it still goes to the focused list, one step a message.
    QApplication::sendEvent(&page->eqSection().editor(), &down);
    EXPECT_EQ(h.image->params.echoTimeMsB, 4.0f);
    EXPECT_EQ(h.image->params.reverbPredelayMsB, 40.0f);
}

TEST_F(MusicPage, RaisingAMutedEffectLevelShowsTheMuteNotice) {
    h.image->params.reverbMute = 1;
    h.image->params.echoMute = 1;
    h.image->params.reverbLevelA = 0;
    open();
    clickRow(effect_param::kReverbLevel);
    slideTo(1);
    EXPECT_EQ(noticeText(), QString::fromUtf8("混响已静音"));
    EXPECT_EQ(h.image->params.reverbLevelA, 1); // stored and sent all the same
    EXPECT_EQ(sent().size(), 1u);
    h.prompter.noticeWindow()->hide();
    QTest::keyClick(&page->paramSlider(), Qt::Key_Down);
    EXPECT_EQ(h.image->params.reverbLevelA, 0);
    EXPECT_EQ(noticeText(), QString());

    h.language.set(kEnglish);
    page->applyLanguage(kEnglish);
    clickRow(effect_param::kEchoLevel);
    slideTo(12);
    EXPECT_EQ(noticeText(), QStringLiteral("Echo vol is mute"));
    h.prompter.noticeWindow()->hide();
    h.image->params.echoMute = 0;
    slideTo(13);
    EXPECT_EQ(noticeText(), QString());
}

TEST_F(MusicPage, PreviewsOpenTheirEffectsEqualiserAndMusicDisablesThem) {
    struct Case {
        int channel;
        bool reverb;
        int effectsEq;
    };
    for (const Case c : {Case{0, true, 0}, Case{1, true, 1}, Case{0, false, 2}, Case{1, false, 3},
                         Case{2, true, -1}, Case{2, false, -1}}) {
        open(c.channel);
        h.pagesShown.clear();
        QTest::mouseClick(&page->preview(c.reverb), Qt::LeftButton);
        if (c.effectsEq < 0) {
            EXPECT_TRUE(h.pagesShown.empty());
            EXPECT_FALSE(page->paramList().isEnabled());
            EXPECT_FALSE(page->paramSlider().isEnabled());
            EXPECT_EQ(page->preview(c.reverb).curveColor(), QColor::fromRgba(0xFF646464));
        } else {
            ASSERT_EQ(h.pagesShown.size(), 1u);
            EXPECT_EQ(h.pagesShown[0], std::make_pair(PageKind::Effects, c.effectsEq));
            EXPECT_TRUE(page->paramList().isEnabled());
        }
    }
}

TEST_F(MusicPage, PreviewsShowTheStoredBandsAndBypassOfTheirSet) {
    BandOps ops(*h.image, h.context->sink());
    ops.applyBand(3, 2, Peaking, 9.0f, 1000.0f, 2.0f, 0.0f); // reverb B, band 3
    h.image->params.echoEqSwitchB = 1;
    open(CDialogMusic::kMicB);
    const SmallEqCurve& reverb = page->preview(true).curve();
    EXPECT_EQ(reverb.band(2).frequency, 1000.0f);
    EXPECT_EQ(reverb.band(2).gain, 9.0f);
    EXPECT_TRUE(page->preview(false).pass());
    EXPECT_FALSE(page->preview(true).pass());
    EXPECT_EQ(page->preview(true).curveColor(), QColor::fromRgba(0xFF00DC00));
    page->selectPageChannel(CDialogMusic::kMicA);
    EXPECT_EQ(page->preview(true).curve().band(2).gain, 0.0f);
    EXPECT_EQ(h.state.musicChannel, CDialogMusic::kMicA);
    EXPECT_TRUE(page->channelButton(0).checkedState());
    EXPECT_FALSE(page->channelButton(1).checkedState());
}

TEST_F(MusicPage, EffectsBandEditsLandInTheirModuleAndBandOffset) {
    struct Case {
        int effectsEq;
        int module;
        int firstBand;
        int coefficientParam; // of band 1
    };
    for (const Case c :
         {Case{0, 3, 0, 1}, Case{1, 3, 7, 13}, Case{2, 2, 0, 1}, Case{3, 2, 7, 14}}) {
        h.state.effectsEq = c.effectsEq;
        CDialogEfx efx(*h.context);
        efx.refreshFromImage();
        EXPECT_EQ(efx.eqSection().eqId(), 2 + c.effectsEq);
        EXPECT_EQ(efx.eqSection().bandList().rowCount(), 7);
        h.processor([](Emulator& e) { e.clearLog(); });
        efx.eqSection().bandList().finishEdit(1, EqBandList::FreqColumn, QStringLiteral("3150"));
        const std::vector<Report> got = sent();
        ASSERT_EQ(got.size(), 2u);
        // The record of band 1 lands at the equaliser's offset in the module's store ...
        const std::size_t at = bandAddress(c.module, c.firstBand + 1);
        EqBandRecord record{};
        std::memcpy(record.data(), h.image->eqBands.data() + at, record.size());
        EXPECT_EQ(decodeBand(record).freqHz, 3150.0f);
        const std::vector<std::uint8_t> memory =
            h.processor([](Emulator& e) { return e.state().memory; });
        EXPECT_TRUE(std::equal(record.begin(), record.end(), memory.begin() + at));
        // ... and its coefficients go to the module's parameter of that band.
        EXPECT_EQ(got[1][1], static_cast<std::uint8_t>(Command::SetParam));
        EXPECT_EQ(got[1][3], c.module);
        EXPECT_EQ(got[1][4], c.coefficientParam);
        EXPECT_EQ(got[1][5], 5);
    }
}

TEST_F(MusicPage, EffectsPageReturnsToTheMusicPageOnTheChannelItCameFrom) {
    open(CDialogMusic::kMicA);
    page->selectPageChannel(CDialogMusic::kMicB);
    QTest::mouseClick(&page->preview(true), Qt::LeftButton);
    ASSERT_EQ(h.state.effectsEq, 1);
    page.reset();
    CDialogEfx efx(*h.context);
    EXPECT_EQ(efx.eqSection().eqId(), 3);
    const int before = h.image->params.reverbEqSwitchB;
    efx.toggleEqSwitch();
    EXPECT_EQ(h.image->params.reverbEqSwitchB, before != 0 ? 0 : 1);
    EXPECT_EQ(h.image->params.reverbEqSwitchA, factoryParams().reverbEqSwitchA);
    h.pagesShown.clear();
    QTest::mouseClick(&efx.returnButton(), Qt::LeftButton);
    EXPECT_EQ(h.pagesShown, (std::vector<std::pair<PageKind, int>>{{PageKind::MusicMic, -1}}));
    open(h.state.musicChannel);
    EXPECT_EQ(page->pageChannel(), CDialogMusic::kMicB);
    EXPECT_TRUE(page->channelButton(CDialogMusic::kMicB).checkedState());
    EXPECT_EQ(page->eqSection().eqId(), 1);
}

TEST_F(MusicPage, MeterTickFeedsSixMetersAndTheStreamFormat) {
    open();
    struct Case {
        std::uint8_t flags;
        const char* text;
    };
    for (const Case c : {Case{0x00, "Stereo"}, Case{0x01, "DOLBY"}, Case{0x03, "DOLBY"},
                         Case{0x06, "DTS"}, Case{0x04, "Multi-CH LPCM"}, Case{0xF8, "Stereo"}}) {
        LiveStatusBytes s{};
        s = {11, 22, 33, 44, 55, 66, 0, c.flags};
        h.image->liveStatus.store(s);
        page->meterTick();
        EXPECT_EQ(page->streamFormat().text(), QString::fromLatin1(c.text));
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(page->input(k).meter().band(0).level, 11 * (k + 1));
        EXPECT_EQ(page->musicMeter(0).band(0).level, 55);
        EXPECT_EQ(page->musicMeter(1).band(0).level, 60); // 66 is past the meter's range
    }
    EXPECT_TRUE(page->meterTimer().isActive());
    EXPECT_EQ(page->meterTimer().interval(), 300);
}
