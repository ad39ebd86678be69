// The band list's in-place edits, the band editor's radios, sliders and edits, the wheel and
// the value texts.
#include "EqSectionHarness.h"
#include "pages/EqValueText.h"
#include "widgets/CXBmpSlider.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QWheelEvent>

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

struct Edits : ::testing::Test, EqSectionHarness {
    void SetUp() override { make(EqSectionConfig::music(), kMusicEqId); }
    void edit(int row, int column, const char* text) {
        list().finishEdit(row, column, QString::fromUtf8(text));
    }
};

} // namespace

TEST(EqValueText, FormatsAndLeadingNumbers) {
    EXPECT_EQ(gainText(3.0), "+3.0dB");
    EXPECT_EQ(gainText(-0.04), "+0.0dB");
    EXPECT_EQ(gainText(-12.26), "-12.3dB");
    EXPECT_EQ(freqText(999.6), "1000Hz");
    EXPECT_EQ(freqTextWhole(20), "20Hz");
    EXPECT_EQ(qText(1.414), "1.41");
    EXPECT_EQ(leadingNumber("+3.5dB"), 3.5);
    EXPECT_EQ(leadingNumber("  -2"), -2.0);
    EXPECT_EQ(leadingNumber("1000Hz"), 1000.0);
    EXPECT_EQ(leadingNumber(".5"), 0.5);
    EXPECT_FALSE(leadingNumber("abc"));
    EXPECT_FALSE(leadingNumber(""));
    EXPECT_FALSE(leadingNumber("-"));
    EXPECT_FALSE(leadingNumber("inf"));
    EXPECT_FALSE(leadingNumber("nan"));
    EXPECT_FALSE(leadingNumber("1e999"));
}

TEST_F(Edits, TextThatIsNoFrequencyLeavesItAndRewritesTheCell) {
    edit(2, EqBandList::FreqColumn, "abc");
    EXPECT_FLOAT_EQ(editor().band(2).frequency, 125.0f);
    EXPECT_EQ(list().cellText(2, EqBandList::FreqColumn), "125Hz");
    edit(2, EqBandList::FreqColumn, "0");
    EXPECT_FLOAT_EQ(editor().band(2).frequency, 125.0f);
    edit(2, EqBandList::FreqColumn, "50000");
    EXPECT_FLOAT_EQ(editor().band(2).frequency, 20000.0f);
    EXPECT_EQ(list().cellText(2, EqBandList::FreqColumn), "20000Hz");
    edit(2, EqBandList::FreqColumn, "7");
    EXPECT_FLOAT_EQ(editor().band(2).frequency, 20.0f);
    EXPECT_EQ(stored(kMusicEqId, 2).freqHz, 20.0f);
}

TEST_F(Edits, GainAndQCellsFollowTheBandRules) {
    edit(1, EqBandList::GainColumn, "40");
    EXPECT_FLOAT_EQ(editor().band(1).gain, 15.0f);
    EXPECT_EQ(list().cellText(1, EqBandList::GainColumn), "+15.0dB");
    edit(1, EqBandList::GainColumn, "-4.5dB");
    EXPECT_FLOAT_EQ(editor().band(1).gain, -4.5f);
    // Not a number: the gain stays (and so does the Q, which ignores 0).
    edit(1, EqBandList::GainColumn, "loud");
    EXPECT_FLOAT_EQ(editor().band(1).gain, -4.5f);
    EXPECT_EQ(list().cellText(1, EqBandList::GainColumn), "-4.5dB");
    edit(1, EqBandList::QColumn, "x");
    EXPECT_FLOAT_EQ(editor().band(1).q, 1.41f);
    edit(1, EqBandList::QColumn, "45");
    EXPECT_FLOAT_EQ(editor().band(1).q, 30.0f);
    EXPECT_EQ(list().cellText(1, EqBandList::QColumn), "30.00");
    const EqBand b = stored(kMusicEqId, 1);
    EXPECT_FLOAT_EQ(b.gainDb, -4.5f);
    EXPECT_NEAR(b.q, 30.0f, 0.001f);

    // A low-pass band holds 0 dB and at most Q 2.
    edit(4, EqBandList::TypeColumn, "低通");
    edit(4, EqBandList::GainColumn, "6");
    edit(4, EqBandList::QColumn, "9");
    EXPECT_FLOAT_EQ(editor().band(4).gain, 0.0f);
    EXPECT_FLOAT_EQ(editor().band(4).q, 2.0f);
    // Every edit stored and sent the band once: a record and its coefficients.
    EXPECT_EQ(sink.reports().size(), 2u * 8u);
}

TEST_F(Edits, TypeCellTakesOnlyTheNamesOfTheCurrentLanguage) {
    edit(3, EqBandList::TypeColumn, "LP"); // English name while Chinese is shown
    EXPECT_EQ(editor().band(3).filterType, Peaking);
    EXPECT_EQ(list().cellText(3, EqBandList::TypeColumn), "参量");
    EXPECT_TRUE(sink.reports().empty());
    edit(3, EqBandList::TypeColumn, "关闭");
    EXPECT_EQ(editor().band(3).filterType, 0);
    EXPECT_EQ(stored(kMusicEqId, 3).type, 0);
    section->applyLanguage(1);
    EXPECT_EQ(list().cellText(3, EqBandList::TypeColumn), "OFF");
    edit(3, EqBandList::TypeColumn, "HS");
    EXPECT_EQ(editor().band(3).filterType, HighShelf);
    EXPECT_FLOAT_EQ(editor().band(3).q, 0.7f);
}

TEST_F(Edits, InPlaceEditorsReportTheirText) {
    list().setCurrentCell(5, EqBandList::FreqColumn);
    list().editItem(list().item(5, EqBandList::FreqColumn));
    auto* line = list().viewport()->findChild<QLineEdit*>();
    ASSERT_NE(line, nullptr);
    line->selectAll();
    QTest::keyClicks(line, "2500");
    QTest::keyClick(line, Qt::Key_Return);
    QApplication::processEvents(); // the view commits a finished edit from its queue
    EXPECT_FLOAT_EQ(editor().band(5).frequency, 2500.0f);
    EXPECT_EQ(list().cellText(5, EqBandList::FreqColumn), "2500Hz");

    list().setCurrentCell(5, EqBandList::TypeColumn);
    list().editItem(list().item(5, EqBandList::TypeColumn));
    auto* combo = list().viewport()->findChild<QComboBox*>();
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->count(), 5);
    EXPECT_EQ(combo->itemText(0), "参量");
    combo->setCurrentIndex(2);
    combo->activated(2);
    QApplication::processEvents();
    EXPECT_EQ(editor().band(5).filterType, HighPass);
    EXPECT_EQ(list().cellText(5, EqBandList::TypeColumn), "高通");
    EXPECT_EQ(list().item(5, EqBandList::NumberColumn)->flags() & Qt::ItemIsEditable, 0);
}

TEST_F(Edits, ChoosingLowPassZeroesGainAndNarrowsTheQSlider) {
    section->onBandPicked(2);
    section->edit(ChannelEqSection::kGainEdit).setText("5");
    QTest::keyClick(&section->edit(ChannelEqSection::kGainEdit), Qt::Key_Return);
    ASSERT_FLOAT_EQ(editor().band(2).gain, 5.0f);
    CXBmpSlider& q = section->slider(ChannelEqSection::kQSlider);
    EXPECT_EQ(q.maximum(), 3000);

    sink.clear();
    section->typeRadio(LowPass).click();
    EXPECT_EQ(editor().band(2).filterType, LowPass);
    EXPECT_FLOAT_EQ(editor().band(2).gain, 0.0f);
    EXPECT_FLOAT_EQ(editor().band(2).q, 0.7f);
    EXPECT_FALSE(section->slider(ChannelEqSection::kGainSlider).isEnabled());
    EXPECT_FALSE(section->edit(ChannelEqSection::kGainEdit).isEnabled());
    EXPECT_EQ(q.maximum(), 200);
    EXPECT_EQ(q.minimum(), 10);
    EXPECT_EQ(q.position(), 70);
    EXPECT_EQ(section->edit(ChannelEqSection::kQEdit).text(), "0.70");
    EXPECT_EQ(list().cellText(2, EqBandList::TypeColumn), "低通");
    EXPECT_EQ(sink.reports().size(), 2u);
    EXPECT_EQ(stored(kMusicEqId, 2).type, LowPass);

    section->typeRadio(LowShelf).click();
    EXPECT_TRUE(section->slider(ChannelEqSection::kGainSlider).isEnabled());
    EXPECT_EQ(q.maximum(), 200);
    section->typeRadio(Peaking).click();
    EXPECT_EQ(q.maximum(), 3000);
    EXPECT_FLOAT_EQ(editor().band(2).q, 1.41f);
    EXPECT_EQ(q.position(), 141);
}

TEST_F(Edits, SlidersAndEditsApplyToTheSelectedBand) {
    section->onBandPicked(6);
    CXBmpSlider& gain = section->slider(ChannelEqSection::kGainSlider);
    gain.setFocus();
    QTest::keyClick(&gain, Qt::Key_Right);
    EXPECT_EQ(section->edit(ChannelEqSection::kGainEdit).text(), "+0.1dB");
    EXPECT_FLOAT_EQ(editor().band(6).gain, 0.1f);
    EXPECT_EQ(list().cellText(6, EqBandList::GainColumn), "+0.1dB");
    CXBmpSlider& freq = section->slider(ChannelEqSection::kFreqSlider);
    freq.setFocus();
    QTest::keyClick(&freq, Qt::Key_Left);
    EXPECT_EQ(section->edit(ChannelEqSection::kFreqEdit).text(), "1999Hz");
    EXPECT_FLOAT_EQ(editor().band(6).frequency, 1999.0f);
    EXPECT_EQ(stored(kMusicEqId, 6).freqHz, 1999.0f);

    // Enter in an edit applies all three; a frequency below 20 Hz is raised to 20.
    QLineEdit& f = section->edit(ChannelEqSection::kFreqEdit);
    f.setText("5");
    section->edit(ChannelEqSection::kQEdit).setText("4.5");
    QTest::keyClick(&f, Qt::Key_Return);
    EXPECT_FLOAT_EQ(editor().band(6).frequency, 20.0f);
    EXPECT_FLOAT_EQ(editor().band(6).q, 4.5f);
    EXPECT_EQ(freq.position(), 20);
    EXPECT_EQ(section->slider(ChannelEqSection::kQSlider).position(), 450);
    EXPECT_EQ(list().cellText(6, EqBandList::QColumn), "4.50");

    // With no band selected the edits do nothing.
    section->onBackgroundClicked();
    sink.clear();
    section->applyEdits();
    EXPECT_TRUE(sink.reports().empty());
}

TEST_F(Edits, WheelOverTheSectionReachesTheFocusedSlider) {
    section->activateWindow();
    section->onBandPicked(1);
    CXBmpSlider& gain = section->slider(ChannelEqSection::kGainSlider);
    gain.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == &gain; }));
    const int before = gain.position();
    QWidget& over = section->bandNumber();
    const QPointF at(5, 5);
    QWheelEvent wheel(at, over.mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&over, &wheel);
    EXPECT_EQ(gain.position(), before + 1);
    EXPECT_FLOAT_EQ(editor().band(1).gain, 0.1f);

    // A control that is not one of the targets gets its own wheel.
    section->edit(ChannelEqSection::kQEdit).setFocus();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return QApplication::focusWidget() == &section->edit(ChannelEqSection::kQEdit); }));
    QApplication::sendEvent(&over, &wheel);
    EXPECT_EQ(gain.position(), before + 1);
}

// A type drop-down opened and left without a pick changes and sends nothing, whether it is
// left by moving to another cell or by losing the focus; a pick goes to every linked
// channel. A new kind on the crossover row keeps slot 9's Q.
TEST(OutputEdits, TypeDropDownChangesABandOnlyWhenAnEntryIsPicked) {
    EqSectionHarness h;
    h.store(8, 3, 0.0f, 500, 1.0f, 0);  // "OFF"
    h.store(8, 4, 3.0f, 1200, 3.0f, 1); // PEQ with its own Q
    h.store(8, 9, 0.0f, 90, 0.9f, 18);  // Butterworth 24dB low-pass ...
    h.store(8, 10, 0.0f, 90, 0.9f, 20); // ... and its companion
    h.linked = {5};
    h.make(EqSectionConfig::output({}), 8); // CH 2 with CH 6 linked
    const EqBandStore before = h.image->eqBands;
    EqBandList& list = h.list();

    const auto openTypeDropDown = [&](int row) -> QComboBox* {
        // Editors closed before are deleted first, so the one found is the new one.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(list.viewport()->findChild<QComboBox*>(), nullptr);
        list.setCurrentCell(row, EqBandList::TypeColumn);
        list.editItem(list.item(row, EqBandList::TypeColumn));
        return list.viewport()->findChild<QComboBox*>();
    };
    for (int row : {3, 4, 9}) {
        SCOPED_TRACE(row);
        // Left for another cell.
        ASSERT_NE(openTypeDropDown(row), nullptr);
        list.setCurrentCell(row == 3 ? 5 : 3, EqBandList::GainColumn);
        QApplication::processEvents();
        // Left by a focus change.
        QComboBox* combo = openTypeDropDown(row);
        ASSERT_NE(combo, nullptr);
        QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(combo, &out);
        QApplication::processEvents();
        list.closePersistentEditor(list.item(row, EqBandList::TypeColumn));
    }
    EXPECT_TRUE(h.sink.reports().empty());
    EXPECT_EQ(h.image->eqBands, before);
    EXPECT_EQ(h.editor().band(3).filterType, 0);
    EXPECT_FLOAT_EQ(h.editor().band(4).q, 3.0f);
    EXPECT_EQ(h.editor().band(9).filterType, LowPassQ1307);
    EXPECT_EQ(list.cellText(3, EqBandList::TypeColumn), "关闭");

    // Picking "HP" on the crossover row: the high-pass set, slot 9's Q kept, CH 2 then CH 6.
    QComboBox* combo = openTypeDropDown(9);
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(2);
    combo->activated(2);
    QApplication::processEvents();
    EXPECT_EQ(h.editor().band(9).filterType, HighPassQ1307);
    EXPECT_NEAR(h.editor().band(9).q, 0.9f, 1e-6f);
    for (int eq : {8, 12}) {
        EXPECT_EQ(h.stored(eq, 9).type, HighPassQ1307) << eq;
        EXPECT_NEAR(h.stored(eq, 9).q, 0.9f, 0.001f) << eq;
    }
    const std::vector<Report> sent = h.sink.reports();
    ASSERT_EQ(sent.size(), 16u); // four slots, record and coefficients, two channels
    std::vector<int> modules;
    for (const Report& r : sent)
        if (isCoefficients(r))
            modules.push_back(r[3]);
    EXPECT_EQ(modules, (std::vector<int>{6, 6, 6, 6, 10, 10, 10, 10}));
}
