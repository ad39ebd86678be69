// The compressor and delay pages on an emulated processor: every control's edit reaches
// the processor as the reports of its field, byte for byte and in order, the values are
// held within their limits, and loading a channel sends nothing.
#include "OutputPageChecks.h"
#include "device/WireValue.h"
#include "model/BandOps.h"
#include "model/EqBand.h"
#include "pages/CCompDlg.h"
#include "pages/CDelayDlg.h"
#include "widgets/CCompressPanelPlus.h"
#include "widgets/CDelayPanel.h"
#include "widgets/CXBmpSlider.h"
#include "widgets/SpinButtons.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest/QTest>

#include <memory>

using namespace quilo;
using namespace quilo::test;

namespace {

struct OutputPage : ::testing::Test {
    PageHarness h{kEnglish};
    void SetUp() override {
        ASSERT_TRUE(h.connect());
        takeReceived(h);
    }
    template <typename PageT> std::unique_ptr<PageT> make() {
        auto page = std::make_unique<PageT>(*h.context);
        h.language.applyTable(page.get(), page->templateId());
        page->applyLanguage(kEnglish);
        page->refreshFromImage();
        page->resize(1024, 520);
        page->show();
        return page;
    }
    // The reports of applying one band, from the band operations themselves.
    std::vector<Report> bandReports(int eqId, int band, int type, float freqHz) {
        auto copy = std::make_unique<DeviceImage>();
        copy->eqBands = h.image->eqBands;
        RecordingSink sink;
        BandOps(*copy, sink).applyBand(eqId, band, type, 0.0f, freqHz, 0.707f);
        return sink.reports();
    }
};

void setCompressor(DspParams& p, int ch, int bypass, float t, float ratio, float a, float r) {
    p.outCompBypass[ch] = bypass;
    p.outCompThreshold[ch] = t;
    p.outCompRatio[ch] = ratio;
    p.outCompAttackMs[ch] = a;
    p.outCompReleaseMs[ch] = r;
}

} // namespace

TEST_F(OutputPage, CompressorLoadsAChannelSilentlyAndSendsEachEditForItAlone) {
    DspParams& p = h.image->params;
    setCompressor(p, 2, 0, -20.0f, 4.0f, 10.0f, 200.0f);
    setCompressor(p, 5, 1, -80.0f, 30.0f, 150.0f, 2000.0f); // beyond the sliders' ranges
    h.state.outputChannel = 2;
    auto page = make<CCompDlg>();

    struct Shown {
        int threshold, ratio, attack, release;
        const char* texts[4];
    };
    const auto expectShown = [&](const Shown& s) {
        const int positions[4] = {s.threshold, s.ratio, s.attack, s.release};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(page->slider(CCompDlg::kThreshold + i).position(), positions[i]) << i;
            EXPECT_EQ(page->readout(CCompDlg::kThreshold + i).text(), s.texts[i]) << i;
        }
    };
    EXPECT_EQ(page->channelList().currentText(), QStringLiteral("CH 3"));
    EXPECT_TRUE(page->compOn().isChecked());
    expectShown({-20, 40, 10, 200, {"-20dB", "4.0:1", "10ms", "200ms"}});
    EXPECT_EQ(page->panel().enabledFlag(), 1);
    EXPECT_FLOAT_EQ(compressorTopOutputDb(page->panel().shape()), -20.0f + 26.0f / 4.0f);

    // Another channel: reloaded from the image, sliders clamped, read-outs as stored,
    // nothing sent.
    emit page->channelList().activated(5);
    EXPECT_EQ(page->channel(), 5);
    EXPECT_EQ(h.state.outputChannel, 5);
    EXPECT_FALSE(page->compOn().isChecked());
    EXPECT_EQ(page->panel().enabledFlag(), 0);
    expectShown({-60, 300, 100, 1000, {"-80dB", "30.0:1", "150ms", "2000ms"}});
    EXPECT_NEAR(compressorTopOutputDb(page->panel().shape()), -80.0f + 86.0f / 30.0f, 1e-4);
    EXPECT_TRUE(takeReceived(h).empty());

    // Each slider step sends the whole block: the moved value with the others as stored.
    const auto block = [](float t, float ratio, float a, float r) {
        const CompressorBlock b = compressorBlock(t, ratio, a, r);
        return setParam(10, 27, {b.begin(), b.end()});
    };
    QTest::keyClick(&page->slider(CCompDlg::kThreshold), Qt::Key_Right);
    EXPECT_REPORTS(takeReceived(h), block(-59.0f, 30.0f, 150.0f, 2000.0f));
    QTest::keyClick(&page->slider(CCompDlg::kRatio), Qt::Key_Left);
    const auto ratioBlock = takeReceived(h);
    QTest::keyClick(&page->slider(CCompDlg::kAttack), Qt::Key_Left);
    const auto attackBlock = takeReceived(h);
    page->compOn().click();
    const auto switched = takeReceived(h);

    EXPECT_REPORTS(ratioBlock, block(-59.0f, 29.9f, 150.0f, 2000.0f));
    EXPECT_REPORTS(attackBlock, block(-59.0f, 29.9f, 99.0f, 2000.0f));
    EXPECT_REPORTS(switched, setParam(10, 28, {encodeInt(0)}));
    EXPECT_EQ(p.outCompThreshold[5], -59.0f);
    EXPECT_FLOAT_EQ(p.outCompRatio[5], 29.9f);
    EXPECT_EQ(p.outCompAttackMs[5], 99.0f);
    EXPECT_EQ(p.outCompReleaseMs[5], 2000.0f); // not moved: kept as stored
    EXPECT_EQ(p.outCompBypass[5], 0);
    EXPECT_EQ(page->panel().enabledFlag(), 1);
    EXPECT_EQ(page->readout(CCompDlg::kRatio).text(), QStringLiteral("29.9:1"));
    EXPECT_NEAR(compressorTopOutputDb(page->panel().shape()), -59.0f + 65.0f / 29.9f, 1e-4);
    // Channel 3 was never touched.
    EXPECT_EQ(p.outCompThreshold[2], -20.0f);
    EXPECT_EQ(p.outCompBypass[2], 0);

    page->compOn().click();
    EXPECT_REPORTS(takeReceived(h), setParam(10, 28, {encodeInt(1)}));
    EXPECT_EQ(page->panel().enabledFlag(), 0);
}

TEST_F(OutputPage, DelayEditsSpinsAndDragsAreHeldWithinTheirLimits) {
    DspParams& p = h.image->params;
    p.outDelayMs[0] = 12.5f;
    p.outDelayMs[6] = 20.0f;
    p.outDelayBypass[1] = 1;
    p.outDelayMode[3] = 1;
    BandOps bands(*h.image, h.context->sink());
    const auto setBand13 = [&](int ch, std::int32_t hz) {
        const EqBand b = bands.band(kFirstOutputEqId + ch, 13);
        bands.writeBand(5 + ch, 13, b.gainDb, hz, b.q, static_cast<std::uint8_t>(b.type));
    };
    setBand13(2, 1700); // split pair 12
    setBand13(4, 1234); // not a pair's low edge
    takeReceived(h);
    auto page = make<CDelayDlg>();

    EXPECT_EQ(page->row(0).edit->text(), QStringLiteral("12.5ms"));
    EXPECT_EQ(page->row(0).spin->position(), 125);
    EXPECT_FLOAT_EQ(page->panel().lanes().lane(0).value, 12.5f);
    EXPECT_EQ(page->row(2).slider->position(), 12);
    EXPECT_EQ(page->row(2).readout->text(), QStringLiteral("1700Hz"));
    EXPECT_EQ(page->row(4).slider->position(), 0);
    EXPECT_EQ(page->row(4).readout->text(), QStringLiteral("500Hz"));
    // A fresh delay of 0 ms shows the 1.5 ms the processor takes at least.
    EXPECT_FLOAT_EQ(page->panel().lanes().lane(5).value, 1.5f);
    // Row enabling: switched off, or a whole-channel delay without a split frequency.
    EXPECT_FALSE(page->row(1).on->isChecked());
    EXPECT_FALSE(page->row(1).edit->isEnabled());
    EXPECT_FALSE(page->row(1).highFreq->isEnabled());
    EXPECT_FALSE(page->row(1).slider->isEnabled());
    EXPECT_TRUE(page->row(3).channel->isChecked());
    EXPECT_TRUE(page->row(3).edit->isEnabled());
    EXPECT_FALSE(page->row(3).slider->isEnabled());
    EXPECT_FALSE(page->row(3).readout->isEnabled());
    EXPECT_TRUE(page->row(2).slider->isEnabled());
    EXPECT_TRUE(takeReceived(h).empty());

    // Typed delays, each applied on Enter: clamped, shown, sent when it changed.
    struct Typed {
        const char* text;
        const char* shown;
        int spin;
        std::vector<Report> sent;
    };
    const Typed typed[] = {
        {"0.5", "1.5ms", 15, setParam(5, 18, {encodeMs(1.5)})},
        {"250", "100.0ms", 1000, setParam(5, 18, {encodeMs(100.0)})},
        {"100ms", "100.0ms", 1000, {}}, // the same delay again sends nothing
        {"33.3", "33.3ms", 333, setParam(5, 18, {encodeMs(33.3f)})},
        {"abc", "1.5ms", 15, setParam(5, 18, {encodeMs(1.5)})},
    };
    for (const Typed& t : typed) {
        SCOPED_TRACE(t.text);
        QLineEdit& edit = *page->row(0).edit;
        edit.setText(QString::fromUtf8(t.text));
        QTest::keyClick(&edit, Qt::Key_Return);
        EXPECT_EQ(edit.text(), QString::fromUtf8(t.shown));
        EXPECT_EQ(page->row(0).spin->position(), t.spin);
        EXPECT_REPORTS(takeReceived(h), t.sent);
    }

    // The up-down steps a tenth; its lowest delay is 1.5 ms. (Waiting after each click:
    // a queued delay that is not yet written is replaced by the next one.)
    page->row(0).spin->upButton()->click();
    EXPECT_EQ(page->row(0).edit->text(), QStringLiteral("1.6ms"));
    EXPECT_REPORTS(takeReceived(h), setParam(5, 18, {encodeMs(1.6f)}));
    page->row(0).spin->downButton()->click();
    EXPECT_REPORTS(takeReceived(h), setParam(5, 18, {encodeMs(1.5)}));
    page->row(0).spin->downButton()->click();
    EXPECT_EQ(page->row(0).edit->text(), QStringLiteral("1.5ms"));
    EXPECT_TRUE(takeReceived(h).empty());
    // The wheel over the edit steps it as the up-down does.
    QWheelEvent up(QPointF(5, 5), page->row(0).edit->mapToGlobal(QPointF(5, 5)), QPoint(),
                   QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(page->row(0).edit, &up);
    EXPECT_EQ(page->row(0).edit->text(), QStringLiteral("1.6ms"));
    EXPECT_REPORTS(takeReceived(h), setParam(5, 18, {encodeMs(1.6f)}));

    // A marker dragged past the scale's 106 ms stops at 100 ms, and back past 0 at 1.5 ms.
    CDelayPanel& panel = page->panel();
    const DelayLane lane = panel.lanes().lane(6);
    const QPoint grab(lane.markerX + panel.lanes().markerWidth() / 2,
                      lane.top + panel.lanes().laneHeight() / 2);
    QTest::mousePress(&panel, Qt::LeftButton, Qt::NoModifier, grab);
    QTest::mouseMove(&panel, QPoint(panel.width() - 1, grab.y()));
    EXPECT_EQ(page->row(6).edit->text(), QStringLiteral("100.0ms"));
    EXPECT_EQ(page->row(6).spin->position(), 1000);
    EXPECT_REPORTS(takeReceived(h), setParam(11, 18, {encodeMs(100.0)}));
    QTest::mouseMove(&panel, QPoint(panel.width() - 3, grab.y()));
    EXPECT_TRUE(takeReceived(h).empty()); // still 100 ms
    QTest::mouseMove(&panel, QPoint(2, grab.y()));
    QTest::mouseRelease(&panel, Qt::LeftButton, Qt::NoModifier, QPoint(2, grab.y()));
    EXPECT_EQ(page->row(6).edit->text(), QStringLiteral("1.5ms"));
    EXPECT_EQ(page->row(6).spin->position(), 15);
    EXPECT_REPORTS(takeReceived(h), setParam(11, 18, {encodeMs(1.5)}));
    EXPECT_FLOAT_EQ(p.outDelayMs[6], 1.5f);

    // The split frequency: band 13 a high-pass at the pair's low edge, band 14 a low-pass
    // at its high edge.
    QTest::keyClick(page->row(2).slider, Qt::Key_Right);
    EXPECT_EQ(page->row(2).readout->text(), QStringLiteral("1800Hz"));
    EXPECT_REPORTS(takeReceived(h), concat({bandReports(9, 13, HighPass, 1800.0f),
                                            bandReports(9, 14, LowPass, 2300.0f)}));
    EXPECT_EQ(bands.band(9, 13).type, HighPass);
    EXPECT_EQ(bands.band(9, 14).freqHz, 2300.0f);

    // Whole channel: the mode, then both split bands flat at the same frequencies.
    page->row(2).channel->click();
    EXPECT_REPORTS(takeReceived(h), concat({setParam(7, 17, {f32Bits(1.0), f32Bits(0.0)}),
                                            bandReports(9, 13, Peaking, 1800.0f),
                                            bandReports(9, 14, Peaking, 2300.0f)}));
    EXPECT_EQ(p.outDelayMode[2], 1);
    EXPECT_FALSE(page->row(2).slider->isEnabled());

    // Switching a row off keeps its delay and mode.
    page->row(3).on->click();
    EXPECT_REPORTS(takeReceived(h), setParam(8, 19, {encodeInt(1)}));
    EXPECT_FALSE(page->row(3).edit->isEnabled());
    EXPECT_FALSE(page->row(3).channel->isEnabled());
    EXPECT_EQ(p.outDelayMode[3], 1);
    EXPECT_EQ(p.outDelayBypass[3], 1);
}
