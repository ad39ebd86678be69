// The output page on an emulated processor: what each control sends, to which channels and
// in which order, how linking a pair equalises it, and what the page shows of the image.
#include "PageHarness.h"
#include "device/RecordingSink.h"
#include "dsp/Biquad.h"
#include "model/HfDelayBands.h"
#include "pages/CDialogOutput.h"
#include "pages/ChannelEqSection.h"
#include "pages/ChannelPicture.h"
#include "pages/OutputChannelRow.h"
#include "ui/CInfoDlg.h"
#include "widgets/CEqPanel.h"
#include "widgets/CGdipButton.h"
#include "widgets/CXBmpSlider.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

using namespace quilo;
using namespace quilo::test;

namespace {

// The reports a sequence of setter and band calls makes, and the image it leaves, on a copy
// of the image as it is now: what the page must have sent and stored.
struct Replica {
    DeviceImage image;
    RecordingSink sink;
    FieldSetters setters{image, sink};
    BandOps bands{image, sink};
    explicit Replica(const DeviceImage& from) {
        image.params = from.params;
        image.eqBands = from.eqBands;
    }
};

struct OutputPage : ::testing::Test {
    PageHarness h;
    std::unique_ptr<CDialogOutput> page;

    void open(int channel) {
        page = std::make_unique<CDialogOutput>(*h.context, channel);
        page->resize(1024, 520);
        page->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(page.get()));
    }
    std::size_t receivedCount() {
        return h.processor([](Emulator& e) { return e.receivedCount(); });
    }
    // What the processor received since `count`.
    std::vector<Report> receivedSince(std::size_t count) {
        h.settle();
        const std::vector<Report> log = h.processor([](Emulator& e) { return e.received(); });
        const std::size_t fresh = receivedCount() - count;
        EXPECT_LE(fresh, log.size());
        return {log.end() - static_cast<std::ptrdiff_t>(std::min(fresh, log.size())), log.end()};
    }
};

void expectSameImage(const DeviceImage& got, const DeviceImage& expected) {
    for (std::size_t w = 0; w < DspParams::kWords; ++w)
        EXPECT_EQ(got.params.word(w), expected.params.word(w)) << "word " << w;
    EXPECT_EQ(got.eqBands, expected.eqBands);
}

// One move of a slider, as the user drags its thumb to `value`.
void dragTo(CXBmpSlider& slider, int value) {
    const QRect thumb = slider.thumbRect();
    int offset = -1;
    for (int o = 0; o <= slider.width() && offset < 0; ++o)
        if (slider.valueAtOffset(o) == value)
            offset = o;
    ASSERT_GE(offset, 0) << "value " << value << " cannot be reached";
    const QPoint to(offset + thumb.width() / 2, thumb.center().y());
    QTest::mousePress(&slider, Qt::LeftButton, {}, thumb.center());
    QTest::mouseMove(&slider, to);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, to);
    EXPECT_EQ(slider.position(), value);
}

void clickBox(QAbstractButton& box) {
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(6, box.height() / 2));
}

} // namespace

// CH 5 edited with CH 2 and CH 8 linked: every linked edit goes to CH 2, CH 5 and CH 8 in
// that order, the column edits only to their own channel.
TEST_F(OutputPage, LinkedEditsReachEveryLinkedChannelInChannelOrder) {
    DspParams& p = h.image->params;
    for (int ch = 0; ch < 8; ++ch) {
        p.outCompThreshold[ch] = -10.0f;
        p.outCompRatio[ch] = 2.0f;
        p.outCompAttackMs[ch] = 5.0f;
        p.outCompReleaseMs[ch] = 50.0f;
        p.outLocation[ch] = ch;
    }
    p.outCompThreshold[4] = -24.0f; // CH 5's own compressor
    p.outCompRatio[4] = 3.5f;
    p.outCompReleaseMs[4] = 400.0f;
    ASSERT_TRUE(h.connect());
    open(4);
    clickBox(page->linkedBox(1));
    clickBox(page->linkedBox(7));
    EXPECT_TRUE(h.prompter.shown.empty()); // neither box equalises a pair
    ASSERT_EQ(page->linkedSet(), (std::vector<int>{1, 4, 7}));

    using Expect = std::function<void(Replica&)>;
    const auto eachLinked = [](const std::function<void(Replica&, int)>& f) {
        return [f](Replica& r) {
            for (int ch : {1, 4, 7})
                f(r, ch);
        };
    };
    struct Step {
        const char* what;
        std::function<void()> act;
        Expect expect;
    };
    const Step steps[] = {
        {"reverb level 40", [&] { dragTo(page->slider(1042), 40); },
         eachLinked([](Replica& r, int ch) { r.setters.set(&DspParams::outReverbLevel, ch, 40); })},
        {"split pair 25", [&] { dragTo(page->slider(CDialogOutput::kHfBandSliderId), 25); },
         eachLinked([](Replica& r, int ch) {
             r.bands.applyBand(kFirstOutputEqId + ch, 13, HighPass, 0.0f, 3000.0f, 0.707f);
             r.bands.applyBand(kFirstOutputEqId + ch, 14, LowPass, 0.0f, 3500.0f, 0.707f);
         })},
        {"whole-channel delay", [&] { clickBox(page->channelDelayRadio()); },
         eachLinked([](Replica& r, int ch) { r.setters.set(&DspParams::outDelayMode, ch, 1); })},
        {"delay one step up",
         [&] {
             CXBmpSlider& s = page->slider(CDialogOutput::kDelaySliderId);
             s.setFocus();
             QTest::keyClick(&s, Qt::Key_Right);
         },
         eachLinked([](Replica& r, int ch) { r.setters.set(&DspParams::outDelayMs, ch, 1.7f); })},
        {"delay off", [&] { clickBox(page->delaySwitch()); },
         eachLinked([](Replica& r, int ch) { r.setters.set(&DspParams::outDelayBypass, ch, 1); })},
        {"compressor off", [&] { clickBox(page->compressorSwitch()); },
         eachLinked([](Replica& r, int ch) { r.setters.set(&DspParams::outCompBypass, ch, 1); })},
        {"attack 30: all four values of CH 5", [&] { dragTo(page->slider(1017), 30); },
         eachLinked([](Replica& r, int ch) {
             r.setters.setOutputCompressor(ch, -24.0f, 3.5f, 30.0f, 400.0f);
         })},
        {"equaliser bypass", [&] { page->toggleEqSwitch(); },
         eachLinked([](Replica& r, int ch) { r.setters.set(&DspParams::outEqSwitch, ch, 1); })},
        {"band 3 to a low shelf",
         [&] {
             page->eqSection().onBandPicked(2);
             clickBox(page->eqSection().typeRadio(LowShelf));
         },
         eachLinked([&](Replica& r, int ch) {
             const EqBandState& s = page->eqSection().editor().band(2);
             r.bands.applyBand(kFirstOutputEqId + ch, 2, LowShelf, s.gain, s.frequency, s.q);
         })},
        {"mute under linked CH 2", [&] { clickBox(page->muteBox(1)); },
         [](Replica& r) { r.setters.set(&DspParams::outMute, 1, 1); }},
        {"phase under CH 8", [&] { clickBox(page->phaseBox(7)); },
         [](Replica& r) { r.setters.set(&DspParams::outPhase, 7, 1); }},
        {"position of CH 2",
         [&] {
             page->positionBox(1).setFocus();
             QTest::keyClick(&page->positionBox(1), Qt::Key_Down);
         },
         [](Replica& r) { r.setters.set(&DspParams::outLocation, 1, 2); }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        Replica expected(*h.image);
        const std::size_t before = receivedCount();
        step.act();
        step.expect(expected); // may read what the page holds after the act
        const std::vector<Report> got = receivedSince(before);
        EXPECT_EQ(got, expected.sink.reports());
        expectSameImage(*h.image, expected.image);
    }
    EXPECT_EQ(page->label(1226).text(), QStringLiteral("3.5:1"));
    EXPECT_EQ(page->label(1227).text(), QStringLiteral("30ms"));
    EXPECT_EQ(page->label(CDialogOutput::kDelayLabelId).text(), QStringLiteral("1.7ms"));
    // Off, the delay leaves only its own slider usable.
    EXPECT_FALSE(page->hfDelayRadio().isEnabled());
    EXPECT_FALSE(page->slider(CDialogOutput::kHfBandSliderId).isEnabled());
    EXPECT_TRUE(page->slider(CDialogOutput::kDelaySliderId).isEnabled());
}

TEST_F(OutputPage, ALevelMovedWhileMutedWarnsAndStillSends) {
    h.image->params.outMute[2] = 1;
    ASSERT_TRUE(h.connect());
    open(2);
    Replica expected(*h.image);
    expected.setters.set(&DspParams::outDirectLevel, 2, 77);
    const std::size_t before = receivedCount();
    dragTo(page->slider(1041), 77);
    EXPECT_EQ(receivedSince(before), expected.sink.reports());
    EXPECT_EQ(page->label(1127).text(), QStringLiteral("77%"));
    ASSERT_NE(h.prompter.noticeWindow(), nullptr);
    EXPECT_EQ(h.prompter.noticeWindow()->text(), QString::fromUtf8("当前是静音状态"));
}

// CH 1 and CH 2 differ in a level, the delay, the compressor and one band; linking them
// asks which one sets both, and the answer sends only what differs.
TEST(OutputPagePairs, LinkingAPairOffersToEqualiseIt) {
    struct Case {
        int box;
        int answer;
        int source, destination; // -1: nothing is sent
        bool asked;
    };
    const Case cases[] = {
        {0, 1, 0, 1, true},    {0, 2, 1, 0, true},
        {0, 0, -1, -1, true},  {2, 1, -1, -1, false}, // CH 3 and CH 4 are equal already
        {1, 1, -1, -1, false},                        // the box under CH 2 only links
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "box " << c.box << " answer " << c.answer);
        PageHarness fresh(kEnglish);
        std::unique_ptr<CDialogOutput> own;
        DspParams& p = fresh.image->params;
        p.outReverbLevel[0] = 50;
        p.outReverbLevel[1] = 30;
        p.outDelayMs[0] = 5.0f;
        p.outDelayMs[1] = 2.0f;
        p.outCompAttackMs[1] = 20.0f;
        BandOps(*fresh.image, fresh.session->uiSink())
            .writeBand(5, 4, 6.0f, 2000, 2.5f, Peaking); // CH 1 band 4 in the store only
        ASSERT_TRUE(fresh.connect());
        own = std::make_unique<CDialogOutput>(*fresh.context, 5);
        own->show();
        fresh.prompter.choices = {c.answer};

        Replica expected(*fresh.image);
        if (c.source >= 0) {
            const int s = c.source, d = c.destination;
            const DspParams& from = expected.image.params;
            expected.setters.set(&DspParams::outReverbLevel, d, from.outReverbLevel[s]);
            const int pair = hfDelayBandIndex(
                static_cast<std::int32_t>(expected.bands.band(kFirstOutputEqId + s, 13).freqHz));
            expected.bands.applyBand(kFirstOutputEqId + d, 13, HighPass, 0.0f,
                                     static_cast<float>(hfDelayLowHz(pair)), 0.707f);
            expected.bands.applyBand(kFirstOutputEqId + d, 14, LowPass, 0.0f,
                                     static_cast<float>(hfDelayHighHz(pair)), 0.707f);
            expected.setters.set(&DspParams::outDelayMs, d, from.outDelayMs[s]);
            expected.setters.setOutputCompressor(d, from.outCompThreshold[s], from.outCompRatio[s],
                                                 from.outCompAttackMs[s], from.outCompReleaseMs[s]);
            const EqBand band = expected.bands.band(kFirstOutputEqId + s, 4);
            expected.bands.applyBand(kFirstOutputEqId + d, 4, band.type, band.gainDb, band.freqHz,
                                     band.q);
        }
        const std::size_t before = fresh.processor([](Emulator& e) { return e.receivedCount(); });
        clickBox(own->linkedBox(c.box));
        fresh.settle();
        const std::vector<Report> log = fresh.processor([](Emulator& e) { return e.received(); });
        const std::size_t sent =
            fresh.processor([](Emulator& e) { return e.receivedCount(); }) - before;
        EXPECT_EQ(std::vector<Report>(log.end() - static_cast<std::ptrdiff_t>(sent), log.end()),
                  expected.sink.reports());
        expectSameImage(*fresh.image, expected.image);
        EXPECT_EQ(own->linkedBox(c.box).isChecked(), c.answer != 0 || !c.asked);
        ASSERT_EQ(fresh.prompter.count(QStringLiteral("choice")), c.asked ? 1 : 0);
        if (c.asked) {
            const ScriptedPrompter::Shown* q = fresh.prompter.last(QStringLiteral("choice"));
            EXPECT_EQ(q->text, QStringLiteral("Parameter is different, Is need set same?"));
            EXPECT_EQ(fresh.prompter.lastChoices, (QStringList{QStringLiteral("Both set CH1"),
                                                               QStringLiteral("Both set CH2")}));
        }
    }
}

TEST_F(OutputPage, ShowsTheImageClampedAndFollowsChannelAndLanguage) {
    DspParams& p = h.image->params;
    p.outDelayMs[3] = 120.0f;
    p.outCompThreshold[3] = -80.0f;
    p.outCompRatio[3] = 4.0f;
    p.outLocation[3] = 6;
    p.outDelayMode[3] = 1;
    p.outDelayBypass[3] = 0;
    BandOps(*h.image, h.session->uiSink()).writeBand(8, 13, 0.0f, 750, 0.707f, HighPass);
    open(3);
    EXPECT_EQ(page->slider(CDialogOutput::kDelaySliderId).position(), 1000);
    EXPECT_EQ(page->label(CDialogOutput::kDelayLabelId).text(), QStringLiteral("120.0ms"));
    EXPECT_FLOAT_EQ(p.outDelayMs[3], 120.0f); // shown clamped, never written back
    EXPECT_EQ(page->slider(1015).position(), -60);
    EXPECT_EQ(page->label(1225).text(), QStringLiteral("-80dB"));
    EXPECT_EQ(page->slider(1016).position(), 40);
    EXPECT_TRUE(page->channelDelayRadio().isChecked());
    EXPECT_FALSE(page->slider(CDialogOutput::kHfBandSliderId).isEnabled()); // whole channel
    EXPECT_EQ(page->positionBox(3).currentText(), QString::fromUtf8("侧环绕左"));
    EXPECT_EQ(page->picture().caption(), QString::fromUtf8("通道4"));
    for (int ch = 0; ch < 8; ++ch)
        EXPECT_EQ(page->linkedBox(ch).isVisible(), ch != 3) << ch;
    EXPECT_TRUE(page->channelRow().channelButton(3).checkedState());

    // CH 2 through its button: a band 13 off the table shows the first pair; the links stay.
    clickBox(page->linkedBox(5));
    QTest::mouseClick(&page->channelRow().channelButton(1), Qt::LeftButton);
    EXPECT_EQ(page->currentChannel(), 1);
    EXPECT_EQ(h.state.outputChannel, 1);
    EXPECT_EQ(page->slider(CDialogOutput::kHfBandSliderId).position(), 0);
    EXPECT_EQ(page->label(CDialogOutput::kHfBandLabelId).text(), QStringLiteral("500Hz"));
    EXPECT_EQ(page->eqSection().eqId(), 8);
    EXPECT_EQ(page->linkedSet(), (std::vector<int>{1, 5}));
    EXPECT_TRUE(page->linkedBox(3).isVisible());
    EXPECT_FALSE(page->linkedBox(1).isVisible());
    EXPECT_TRUE(page->channelRow().channelButton(1).checkedState());
    EXPECT_FALSE(page->channelRow().channelButton(3).checkedState());
    EXPECT_TRUE(h.pagesShown.empty()); // the same page, another channel

    // English: positions renamed, selections kept; the page area's channel comes back.
    h.language.set(kEnglish);
    h.context->applyTable(page.get(), CDialogOutput::kTemplateId);
    page->applyLanguage(kEnglish);
    EXPECT_EQ(page->positionBox(3).currentText(), QStringLiteral("CH-SL"));
    EXPECT_EQ(page->positionBox(3).count(), 8);
    EXPECT_EQ(page->muteBox(0).text(), QStringLiteral("Mute"));
    EXPECT_EQ(page->picture().caption(), QStringLiteral("CH 2"));
    h.state.outputChannel = 6;
    page->reselect();
    EXPECT_EQ(page->currentChannel(), 6);
    EXPECT_EQ(page->eqSection().eqId(), 13);
}

// A channel delayed as a whole keeps flat split bands when a linked move or an equalised
// pair hands it a new split pair; filters there would cut the channel down to the pair.
TEST_F(OutputPage, AChannelDelayedAsAWholeKeepsItsSplitBandsFlat) {
    DspParams& p = h.image->params;
    p.outDelayMode[1] = 1; // CH 2 whole channel, CH 1 the high band
    p.outDelayMode[2] = 1; // CH 3 and CH 4 both whole channel, CH 4 at another pair
    p.outDelayMode[3] = 1;
    BandOps(*h.image, h.session->uiSink()).writeBand(8, 13, 0.0f, 1500, 0.707f, Peaking);
    ASSERT_TRUE(h.connect());
    open(0);
    clickBox(page->linkedBox(1));
    Replica expected(*h.image);
    std::size_t before = receivedCount();
    dragTo(page->slider(CDialogOutput::kHfBandSliderId), 3);
    expected.bands.applyBand(7, 13, HighPass, 0.0f, 800.0f, 0.707f);
    expected.bands.applyBand(7, 14, LowPass, 0.0f, 1300.0f, 0.707f);
    expected.bands.applyBand(8, 13, Peaking, 0.0f, 800.0f, 0.707f);
    expected.bands.applyBand(8, 14, Peaking, 0.0f, 1300.0f, 0.707f);
    EXPECT_EQ(receivedSince(before), expected.sink.reports());
    expectSameImage(*h.image, expected.image);

    // CH 3 onto CH 4: only the split pair differs, and it stays flat.
    h.prompter.choices = {1};
    Replica pair(*h.image);
    before = receivedCount();
    clickBox(page->linkedBox(2));
    pair.bands.applyBand(10, 13, Peaking, 0.0f, 500.0f, 0.707f);
    pair.bands.applyBand(10, 14, Peaking, 0.0f, 1000.0f, 0.707f);
    EXPECT_EQ(receivedSince(before), pair.sink.reports());
    expectSameImage(*h.image, pair.image);
}
