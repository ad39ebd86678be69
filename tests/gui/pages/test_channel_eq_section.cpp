// The equaliser section: loading rules, linked sending, the crossover selector, copy and
// paste across equalisers of different sizes, the switch, reset and the language.
#include "EqSectionHarness.h"
#include "gui/widgets/EqPanelHarness.h"
#include "pages/EqValueText.h"
#include "ui/LanguageTable.h"
#include "widgets/CXBmpSlider.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

struct Section : ::testing::Test, EqSectionHarness {};

int coefficientModule(const Report& r) {
    return r[3];
}

} // namespace

TEST_F(Section, LoadingReplacesUnacceptedTypesAndKeepsValuesWhereTheStoreHasNone) {
    store(kMusicEqId, 3, 5.0f, 800, 2.0f, 9);  // a crossover type on a music band
    store(kMusicEqId, 4, 6.0f, 3000, 1.5f, 2); // low-pass with a gain
    store(kMusicEqId, 5, -4.0f, 0, 0.0f, 1);   // no frequency, no Q
    store(kMusicEqId, 6, -20.0f, 25000, 50.0f, 1);
    make(EqSectionConfig::music(), kMusicEqId);
    const EqBandSet& bands = editor().bands();

    EXPECT_EQ(bands.band(3).filterType, 0);
    EXPECT_EQ(list().cellText(3, EqBandList::TypeColumn), "关闭");
    EXPECT_EQ(bands.band(4).filterType, LowPass);
    EXPECT_FLOAT_EQ(bands.band(4).gain, 0.0f);
    EXPECT_FLOAT_EQ(bands.band(4).q, 1.5f);
    EXPECT_EQ(list().cellText(4, EqBandList::GainColumn), "+0.0dB");
    // Band 5 keeps the default layout's 1000 Hz and the peaking Q of 1.41.
    EXPECT_FLOAT_EQ(bands.band(5).frequency, 1000.0f);
    EXPECT_FLOAT_EQ(bands.band(5).q, 1.41f);
    EXPECT_FLOAT_EQ(bands.band(5).gain, -4.0f);
    EXPECT_EQ(list().cellText(5, EqBandList::FreqColumn), "1000Hz");
    EXPECT_EQ(list().cellText(5, EqBandList::QColumn), "1.41");
    EXPECT_FLOAT_EQ(bands.band(6).gain, -15.0f);
    EXPECT_FLOAT_EQ(bands.band(6).frequency, 20000.0f);
    EXPECT_FLOAT_EQ(bands.band(6).q, 30.0f);
    EXPECT_EQ(list().cellText(6, EqBandList::GainColumn), "-15.0dB");
    EXPECT_EQ(list().rowCount(), 10);
    EXPECT_EQ(editor().bandCount(), 10);
    EXPECT_EQ(editor().panelId(), kMusicEqId);
    EXPECT_TRUE(sink.reports().empty()) << "loading sends nothing";
    EXPECT_TRUE(section->bandListMode());
}

TEST_F(Section, OutputLoadingAcceptsCrossoverTypesUpTo31) {
    store(8, 2, 3.0f, 400, 1.0f, 40);
    store(8, 4, 3.0f, 400, 1.0f, 20);
    store(8, 9, 0.0f, 90, 0.7f, HighPassQ1307);
    store(8, 10, 0.0f, 90, 0.7f, HighPassQ0541);
    store(8, 11, 0.0f, 90, 0.7f, Peaking);
    store(8, 12, 0.0f, 90, 0.7f, Peaking);
    make(EqSectionConfig::output({}), 8);
    EXPECT_EQ(editor().band(2).filterType, 0);
    EXPECT_EQ(editor().band(4).filterType, 20);
    EXPECT_FLOAT_EQ(editor().band(4).gain, 0.0f);
    EXPECT_EQ(editor().bandCount(), 13);
    EXPECT_EQ(list().rowCount(), 10);
    EXPECT_EQ(list().cellText(9, EqBandList::TypeColumn), "高通");
    EXPECT_EQ(list().cellText(9, EqBandList::FreqColumn), "90Hz");
    EXPECT_EQ(list().columnWidth(EqBandList::TypeColumn), 60);

    EqSectionHarness effects;
    effects.make(EqSectionConfig::effects(), 4);
    EXPECT_EQ(effects.list().rowCount(), 7);
    EXPECT_EQ(effects.editor().bandCount(), 7);
    EXPECT_EQ(effects.list().columnWidth(EqBandList::TypeColumn), 55);
}

TEST_F(Section, DraggingABandOfCh2SendsToCh2ThenLinkedCh6) {
    linked = {5};
    make(EqSectionConfig::output([] { return std::vector<int>{}; }), 8);
    const EqBandState before = editor().band(3);
    const QPoint from = handlePoint(editor(), before.frequency, before.gain);
    press(editor(), Qt::LeftButton, from);
    moveTo(editor(), from + QPoint(30, -25));
    release(editor(), Qt::LeftButton, from + QPoint(30, -25));

    const EqBandState& after = editor().band(3);
    ASSERT_GT(after.frequency, before.frequency);
    ASSERT_GT(after.gain, before.gain);
    const auto reports = sink.reports();
    ASSERT_FALSE(reports.empty());
    ASSERT_EQ(reports.size() % 4, 0u);
    // Every notice stores and sends the band for CH 2 (module 6) and then CH 6 (module 10).
    for (std::size_t i = 0; i < reports.size(); i += 4) {
        EXPECT_TRUE(isBandWrite(reports[i]));
        EXPECT_EQ(writeAddress(reports[i]), static_cast<int>(bandAddress(6, 3)));
        EXPECT_TRUE(isCoefficients(reports[i + 1]));
        EXPECT_EQ(coefficientModule(reports[i + 1]), 6);
        EXPECT_EQ(reports[i + 1][4], 3);
        EXPECT_EQ(writeAddress(reports[i + 2]), static_cast<int>(bandAddress(10, 3)));
        EXPECT_EQ(coefficientModule(reports[i + 3]), 10);
    }
    // The last four are exactly what applyBand sends for the final values.
    std::vector<Report> expected = applyBandReports(8, 3, after);
    const auto ch6 = applyBandReports(12, 3, after);
    expected.insert(expected.end(), ch6.begin(), ch6.end());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), reports.end() - 4));
    for (int eq : {8, 12}) {
        const EqBand b = stored(eq, 3);
        EXPECT_NEAR(b.gainDb, after.gain, 0.051f);
        EXPECT_EQ(b.freqHz, std::floor(after.frequency));
    }
    EXPECT_EQ(stored(9, 3).freqHz, 250.0f) << "an unlinked channel stays";

    EXPECT_FALSE(section->bandListMode());
    EXPECT_EQ(section->selectedBand(), 3);
    EXPECT_TRUE(list().isHidden());
    EXPECT_FALSE(section->bandEditor().isHidden());
    EXPECT_EQ(section->bandNumber().text(), "4");
    EXPECT_EQ(section->edit(ChannelEqSection::kGainEdit).text(), gainText(after.gain));
    EXPECT_EQ(list().cellText(3, EqBandList::FreqColumn), freqText(after.frequency));
    EXPECT_EQ(section->slider(ChannelEqSection::kFreqSlider).position(),
              std::lround(after.frequency));

    // A click on the background returns to the list; nothing more is sent.
    sink.clear();
    press(editor(), Qt::LeftButton, QPoint(60, 250));
    release(editor(), Qt::LeftButton, QPoint(60, 250));
    EXPECT_TRUE(section->bandListMode());
    EXPECT_FALSE(list().isHidden());
    EXPECT_TRUE(section->bandEditor().isHidden());
    EXPECT_TRUE(sink.reports().empty());
}

TEST_F(Section, PickingABandWithANumberKeyShowsItWithoutSending) {
    make(EqSectionConfig::effects(), 5);
    editor().setSelectedBand(0); // number keys act while a band is selected
    editor().setFocus();
    QTest::keyClick(&editor(), Qt::Key_5);
    EXPECT_EQ(section->selectedBand(), 4);
    EXPECT_EQ(section->bandNumber().text(), "5");
    EXPECT_TRUE(section->typeRadio(Peaking).isChecked());
    EXPECT_EQ(section->edit(ChannelEqSection::kFreqEdit).text(), "1000Hz");
    EXPECT_TRUE(sink.reports().empty());
}

TEST_F(Section, CrossoverComboFollowsTheKindOfTheCrossoverRow) {
    linked = {5, 2};
    make(EqSectionConfig::output({}), 8);
    QComboBox& combo = section->crossoverCombo();
    ASSERT_EQ(combo.count(), 11);
    EXPECT_EQ(combo.itemText(0), "LinkwitzRiely 12dB");
    EXPECT_EQ(combo.itemText(10), "Chebyshev 12dB");

    struct Kind {
        std::array<int, 4> types;
        const char* name;
        bool shown;
    };
    const Kind kinds[] = {
        {{Peaking, Peaking, Peaking, Peaking}, "参量", false},
        {{LowShelf, Peaking, Peaking, Peaking}, "低架", false},
        {{HighShelf, Peaking, Peaking, Peaking}, "高架", false},
        {{ButterworthLowPass, ButterworthLowPass, Peaking, Peaking}, "低通", true},
        {{HighPassQ1, FirstOrderHighPass, Peaking, Peaking}, "高通", true},
    };
    for (const Kind& k : kinds) {
        for (int i = 0; i < 4; ++i)
            store(8, 9 + i, 0.0f, 120, 0.7f, k.types[static_cast<std::size_t>(i)]);
        section->reload();
        EXPECT_EQ(list().cellText(9, EqBandList::TypeColumn), k.name);
        section->onRowClicked(9);
        EXPECT_EQ(combo.isVisible(), k.shown) << k.name;
        EXPECT_EQ(section->crossoverLabel().isVisible(), k.shown) << k.name;
        section->onRowClicked(3);
        EXPECT_FALSE(combo.isVisible());
        // The same rule when the slot is picked in the editor.
        section->onBandPicked(9);
        EXPECT_EQ(combo.isVisible(), k.shown) << k.name;
        section->onBackgroundClicked();
        EXPECT_FALSE(combo.isVisible()) << "the list hides the combo";
    }
    // The last kind loaded is Butterworth 18dB high-pass.
    list().setCurrentCell(9, 0);
    section->onRowClicked(9);
    EXPECT_EQ(combo.currentIndex(), 8);

    // Choosing Linkwitz-Riley 48 dB keeps high-pass and sends slots 9-12 per channel.
    sink.clear();
    combo.activated(3);
    EXPECT_EQ(editor().band(9).filterType, HighPassQ1307);
    EXPECT_EQ(editor().band(10).filterType, HighPassQ0541);
    EXPECT_EQ(editor().band(11).filterType, HighPassQ1307);
    EXPECT_EQ(editor().band(12).filterType, HighPassQ0541);
    const auto reports = sink.reports();
    ASSERT_EQ(reports.size(), 3u * 4u * 2u);
    const int modules[3] = {6, 7, 10}; // CH 2, CH 3, CH 6 in channel order
    for (int c = 0; c < 3; ++c) {
        for (int s = 0; s < 4; ++s) {
            const Report& coeff = reports[static_cast<std::size_t>(c * 8 + s * 2 + 1)];
            EXPECT_EQ(coefficientModule(coeff), modules[c]);
            EXPECT_EQ(coeff[4], 9 + s);
        }
    }
    EXPECT_EQ(stored(9, 11).type, HighPassQ1307) << "linked CH 3 got the family";
    EXPECT_EQ(list().cellText(9, EqBandList::TypeColumn), "高通");

    // Without a selected row the combo does nothing.
    section->reload();
    sink.clear();
    combo.activated(0);
    EXPECT_TRUE(sink.reports().empty());
}

TEST_F(Section, TypeRadiosOnTheCrossoverSlotSetTheWholeCrossover) {
    make(EqSectionConfig::output({}), 7);
    section->onBandPicked(9);
    EXPECT_FALSE(section->crossoverCombo().isVisible());
    section->typeRadio(LowPass).click();
    EXPECT_EQ(editor().band(9).filterType, LowPassQ1307);
    EXPECT_EQ(editor().band(10).filterType, LowPassQ0541);
    EXPECT_TRUE(section->crossoverCombo().isVisible());
    EXPECT_EQ(section->crossoverCombo().currentText(), "Butterworth 24dB");
    EXPECT_EQ(sink.reports().size(), 8u);
    EXPECT_EQ(stored(7, 10).type, LowPassQ0541);
    // "OFF" from the list switches the whole crossover off, companions included.
    list().finishEdit(9, EqBandList::TypeColumn, "关闭");
    EXPECT_EQ(stored(7, 9).type, 0);
    for (int slot = 10; slot <= 12; ++slot) {
        EXPECT_EQ(stored(7, slot).type, Peaking);
        EXPECT_EQ(stored(7, slot).gainDb, 0.0f);
    }
    EXPECT_EQ(list().cellText(9, EqBandList::TypeColumn), "关闭");
    EXPECT_FALSE(section->crossoverCombo().isVisible());
    section->typeRadio(HighShelf).click();
    EXPECT_FALSE(section->crossoverCombo().isVisible());
    EXPECT_EQ(list().cellText(9, EqBandList::TypeColumn), "高架");
    EXPECT_TRUE(section->edit(ChannelEqSection::kGainEdit).isEnabled());
}

TEST_F(Section, CopyAndPasteBetweenSevenTenAndThirteenBandEqualisers) {
    // Source curves with recognisable values.
    for (int b = 0; b < 7; ++b)
        store(4, b, static_cast<float>(b) - 3.0f, 100 * (b + 1), 2.0f, Peaking);
    for (int b = 0; b < 10; ++b)
        store(kMusicEqId, b, 1.5f, 1000 + b, 1.0f, b == 9 ? HighShelf : Peaking);
    for (int b = 0; b < 13; ++b)
        store(7, b, -1.0f, 5000 + b, 3.0f, Peaking);
    store(7, 9, 0.0f, 80, 0.7f, LowPassQ1307);

    {
        EqSectionHarness* self = this;
        auto echo = std::make_unique<ChannelEqSection>(*image, sink, EqSectionConfig::effects(),
                                                       copySource);
        echo->showEq(4);
        emit echo->editor().eqCopyPasteRequest(0, 4);
        EXPECT_EQ(self->copySource.eqId(), 4);
    } // the copy source outlives the page it was chosen on

    linked = {4};
    make(EqSectionConfig::output({}), 8); // CH 2 with CH 5 linked
    emit editor().eqCopyPasteRequest(1, 8);
    for (int b = 0; b < 7; ++b) {
        EXPECT_EQ(stored(8, b).freqHz, 100.0f * (b + 1)) << b;
        EXPECT_FLOAT_EQ(editor().band(b).gain, static_cast<float>(b) - 3.0f);
    }
    EXPECT_EQ(stored(8, 7).freqHz, 4000.0f) << "bands 7-12 keep their values";
    EXPECT_EQ(stored(8, 12).freqHz, 16000.0f);
    EXPECT_EQ(stored(11, 0).freqHz, 31.0f) << "a linked channel is not pasted to";
    EXPECT_EQ(list().cellText(0, EqBandList::FreqColumn), "100Hz");

    // 10 -> 13: three flat companions carry band 9's frequency.
    copySource.set(kMusicEqId);
    emit editor().eqCopyPasteRequest(1, 8);
    EXPECT_EQ(stored(8, 9).type, HighShelf);
    for (int b = 10; b < 13; ++b) {
        EXPECT_EQ(stored(8, b).freqHz, 1009.0f);
        EXPECT_EQ(stored(8, b).gainDb, 0.0f);
    }
    EXPECT_EQ(list().cellText(9, EqBandList::TypeColumn), "高架");

    // 13 -> 10: ten bands, the crossover section arrives as a plain low-pass.
    EqSectionHarness music;
    music.image = std::move(image);
    music.make(EqSectionConfig::music(), kMusicEqId);
    music.copySource.set(7);
    emit music.editor().eqCopyPasteRequest(1, kMusicEqId);
    EXPECT_EQ(music.stored(kMusicEqId, 9).type, LowPass);
    EXPECT_EQ(music.stored(kMusicEqId, 0).freqHz, 5000.0f);
    EXPECT_EQ(music.list().cellText(9, EqBandList::TypeColumn), "低通");

    // 10 -> 7: the first seven bands.
    EqSectionHarness reverb;
    reverb.image = std::move(music.image);
    reverb.make(EqSectionConfig::effects(), 3);
    reverb.copySource.set(kMusicEqId);
    emit reverb.editor().eqCopyPasteRequest(1, 3);
    EXPECT_EQ(reverb.stored(3, 6).freqHz, 5006.0f);
    EXPECT_EQ(reverb.editor().band(0).frequency, 5000.0f);
}

TEST_F(Section, PasteWithoutCopyOnlyReloads) {
    make(EqSectionConfig::effects(), 2);
    section->onBandPicked(2);
    const auto before = image->eqBands;
    emit editor().eqCopyPasteRequest(1, 2);
    EXPECT_EQ(image->eqBands, before);
    EXPECT_TRUE(sink.reports().empty());
    EXPECT_TRUE(section->bandListMode());
}

TEST_F(Section, EqSwitchTogglesForTheLinkedSetAndShowsBypass) {
    linked = {5};
    make(EqSectionConfig::output({}), 8);
    section->toggleEqSwitch();
    EXPECT_EQ(image->params.outEqSwitch[1], 1);
    EXPECT_EQ(image->params.outEqSwitch[5], 1);
    EXPECT_EQ(image->params.outEqSwitch[0], 0);
    EXPECT_TRUE(section->eqSwitch());
    EXPECT_TRUE(editor().bypass());
    auto reports = sink.reports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0][3], 6);
    EXPECT_EQ(reports[0][4], 15);
    EXPECT_EQ(reports[1][3], 10);
    section->toggleEqSwitch();
    EXPECT_EQ(image->params.outEqSwitch[5], 0);
    EXPECT_FALSE(editor().bypass());

    EqSectionHarness music;
    music.make(EqSectionConfig::music(), 1);
    music.section->toggleEqSwitch();
    EXPECT_EQ(music.image->params.micBEqSwitch, 1);
    EXPECT_EQ(music.image->params.micAEqSwitch, 0);
    EXPECT_EQ(music.sink.reports().size(), 1u);
    // A field set elsewhere shows after the next update.
    music.image->params.micBEqSwitch = 0;
    music.section->updateBypass();
    EXPECT_FALSE(music.editor().bypass());

    EqSectionHarness effects;
    effects.make(EqSectionConfig::effects(), 5);
    effects.section->toggleEqSwitch();
    EXPECT_EQ(effects.image->params.echoEqSwitchB, 1);
    EXPECT_EQ(effects.image->params.reverbEqSwitchB, 0);
}

TEST_F(Section, ResetFlattensEveryLinkedChannelAndReturnsToTheList) {
    for (int eq : {8, 12, 9})
        store(eq, 2, 7.0f, 777, 3.0f, HighShelf);
    linked = {5};
    make(EqSectionConfig::output({}), 8);
    section->onBandPicked(2);
    section->resetCurrentEq();
    for (int eq : {8, 12}) {
        const EqBand b = stored(eq, 2);
        EXPECT_EQ(b.type, Peaking);
        EXPECT_EQ(b.gainDb, 0.0f);
        EXPECT_EQ(b.freqHz, 125.0f);
    }
    EXPECT_EQ(stored(9, 2).freqHz, 777.0f);
    EXPECT_EQ(sink.reports().size(), 2u * 13u * 2u);
    EXPECT_TRUE(section->bandListMode());
    EXPECT_EQ(list().cellText(2, EqBandList::GainColumn), "+0.0dB");
    EXPECT_EQ(list().cellText(2, EqBandList::FreqColumn), "125Hz");
}

TEST_F(Section, LanguageRelabelsListAndTableTexts) {
    QWidget page;
    EqSectionHarness h;
    h.section = std::make_unique<ChannelEqSection>(*h.image, h.sink, EqSectionConfig::output({}),
                                                   h.copySource, &page);
    ChannelEqSection& s = *h.section;
    s.showEq(7);
    LanguageTable zh;
    ASSERT_TRUE(zh.load(0));
    zh.applyTable(&page, 385);
    EXPECT_EQ(s.typeRadio(LowPass).text(), "低通");
    EXPECT_EQ(s.crossoverLabel().text(), "类型");
    EXPECT_EQ(s.bandList().horizontalHeaderItem(EqBandList::QColumn)->text(), "Q值");
    EXPECT_EQ(s.bandList().cellText(0, EqBandList::TypeColumn), "参量");

    LanguageTable en;
    ASSERT_TRUE(en.load(1));
    en.applyTable(&page, 385);
    s.applyLanguage(1);
    EXPECT_EQ(s.typeRadio(HighShelf).text(), "HS");
    EXPECT_EQ(s.findChild<QWidget*>("ctrl1199")->property("title").toString(), "EQ Type");
    EXPECT_EQ(s.bandList().horizontalHeaderItem(EqBandList::FreqColumn)->text(), "Freq");
    EXPECT_EQ(s.bandList().cellText(0, EqBandList::TypeColumn), "PEQ");
    EXPECT_EQ(s.editor().language(), 1);
    h.section.release(); // owned by the page
}

// Dragging to any pixel or typing a fraction: the frequency the list shows is the one the
// band record keeps (echo B band 1 once showed 67 Hz and stored 66 Hz).
TEST(SectionFrequency, WhatIsShownIsWhatIsStored) {
    EqSectionHarness h;
    h.make(EqSectionConfig::effects(), 5);
    const EqBandState start = h.editor().band(1);
    QPoint at = handlePoint(h.editor(), start.frequency, start.gain);
    press(h.editor(), Qt::LeftButton, at);
    for (int step = 0; step < 12; ++step) {
        at += QPoint(step < 6 ? -3 : 1, 0);
        moveTo(h.editor(), at);
        const float stored = h.stored(5, 1).freqHz;
        EXPECT_EQ(h.editor().band(1).frequency, stored) << step;
        EXPECT_EQ(h.list().cellText(1, EqBandList::FreqColumn), freqText(stored)) << step;
    }
    release(h.editor(), Qt::LeftButton, at);
    for (const char* typed : {"66.6", "67.5", "1234.4"}) {
        h.list().finishEdit(1, EqBandList::FreqColumn, QString::fromLatin1(typed));
        const float stored = h.stored(5, 1).freqHz;
        EXPECT_EQ(h.editor().band(1).frequency, stored) << typed;
        EXPECT_EQ(h.list().cellText(1, EqBandList::FreqColumn), freqText(stored)) << typed;
    }
}
