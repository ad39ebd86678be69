// Input rules of the equaliser curve editor, driven through real mouse, wheel and key
// events on the offscreen platform.
#include "EqPanelHarness.h"
#include "widgets/CSmallEqPanel.h"

#include <QApplication>
#include <QWheelEvent>

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

// A 600 x 300 plot: 642 x 338 client minus the 36/6 and 18/20 insets.
class EqPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        panel.resize(642, 338);
        panel.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
        panel.setPanelId(6);
        panel.setBandCount(4);
        notices.attach(panel);
        const float freqs[4] = {100.0f, 1000.0f, 3000.0f, 10000.0f};
        for (int b = 0; b < 4; ++b)
            panel.setBandFrequency(b, freqs[b]);
        notices.clear();
    }

    void wheel(int delta) {
        const QPointF pos(10, 10);
        QWheelEvent event(pos, panel.mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        lastWheelAccepted = QApplication::sendEvent(&panel, &event) && event.isAccepted();
    }

    void click(Qt::MouseButton b, QPoint p) {
        press(panel, b, p);
        release(panel, b, p);
    }

    MenuPanel panel;
    Notices notices;
    bool lastWheelAccepted = false;
};

TEST_F(EqPanelTest, PlotIsTheClientLessItsInsets) {
    EXPECT_EQ(panel.plotRect(), QRect(36, 18, 600, 300));
}

TEST_F(EqPanelTest, LeftClickPicksLowestBandNearbyAndHoverTheHighest) {
    panel.setBandFrequency(2, 1020.0f); // 1.7 px right of band 1
    const QPoint at = handlePoint(panel, 1000.0, 0.0);
    click(Qt::LeftButton, at);
    EXPECT_EQ(panel.selectedBand(), 1);
    ASSERT_EQ(notices.count('c'), 1); // the press; a release without motion adds nothing
    EXPECT_EQ(notices.log[0].a, 1);
    EXPECT_FLOAT_EQ(notices.log[0].band.frequency, 1000.0f);

    moveTo(panel, at + QPoint(1, 0));
    EXPECT_EQ(panel.hoverBand(), 2);
    moveTo(panel, QPoint(600, 30));
    EXPECT_EQ(panel.hoverBand(), -1);
}

TEST_F(EqPanelTest, LeftHitNeedsTenPixelsAndSkipsBandsSwitchedOff) {
    const QPoint at = handlePoint(panel, 1000.0, 0.0);
    click(Qt::LeftButton, at + QPoint(10, 0));
    EXPECT_EQ(panel.selectedBand(), -1);
    EXPECT_EQ(notices.count('b'), 1);

    click(Qt::LeftButton, at + QPoint(9, -9));
    EXPECT_EQ(panel.selectedBand(), 1);

    panel.setBandType(1, Off);
    notices.clear();
    click(Qt::LeftButton, at);
    EXPECT_EQ(panel.selectedBand(), -1);
    EXPECT_EQ(notices.count('c'), 0);
    EXPECT_EQ(notices.count('b'), 1);
}

TEST_F(EqPanelTest, LockedInputIgnoresButtons) {
    panel.setInputLocked(true);
    click(Qt::LeftButton, handlePoint(panel, 1000.0, 0.0));
    click(Qt::RightButton, QPoint(300, 100));
    EXPECT_EQ(panel.selectedBand(), -1);
    EXPECT_TRUE(notices.log.empty());
    EXPECT_TRUE(panel.menus.empty());
}

TEST_F(EqPanelTest, DragMovesGainInTenthsWithTheGrabOffset) {
    const QPoint at = handlePoint(panel, 1000.0, 0.0) + QPoint(2, 2);
    press(panel, Qt::LeftButton, at);
    // One tenth of the 300-pixel plot lower is exactly 3 dB lower.
    moveTo(panel, at + QPoint(0, 30));
    EXPECT_FLOAT_EQ(panel.band(1).gain, -3.0f);
    // The frequency follows the pointer, not the handle: plot x 339 is
    // 18 * 10^(log10(23000/18) * 339/600) = 1024.28 Hz, kept in whole hertz as stored.
    EXPECT_EQ(panel.band(1).frequency, 1024.0f);
    release(panel, Qt::LeftButton, at + QPoint(0, 30));
    EXPECT_EQ(notices.log.back().kind, 'c');
    EXPECT_EQ(notices.count('c'), 3); // press, move, release after a move
}

TEST_F(EqPanelTest, DragGainRoundsHalvesAwayFromZero) {
    panel.resize(642, 238); // 200-pixel plot: 0.15 dB per pixel
    QTest::qWait(1);
    const QPoint at = handlePoint(panel, 1000.0, 0.0);
    press(panel, Qt::LeftButton, at);
    moveTo(panel, at + QPoint(4, 1));
    EXPECT_FLOAT_EQ(panel.band(1).gain, -0.2f);
    moveTo(panel, at + QPoint(4, -1));
    EXPECT_FLOAT_EQ(panel.band(1).gain, 0.2f);
    release(panel, Qt::LeftButton, at);
}

TEST_F(EqPanelTest, SmallMotionIsStillAClick) {
    const QPoint at = handlePoint(panel, 1000.0, 0.0);
    press(panel, Qt::LeftButton, at);
    moveTo(panel, at + QPoint(1, 1));
    release(panel, Qt::LeftButton, at + QPoint(1, 1));
    EXPECT_FLOAT_EQ(panel.band(1).frequency, 1000.0f);
    EXPECT_FLOAT_EQ(panel.band(1).gain, 0.0f);
    EXPECT_EQ(notices.count('c'), 1);
}

TEST_F(EqPanelTest, DragClampsToBandLimitsNotThePlotSpan) {
    const QPoint at = handlePoint(panel, 1000.0, 0.0);
    press(panel, Qt::LeftButton, at);
    moveTo(panel, QPoint(-40, -200));
    EXPECT_FLOAT_EQ(panel.band(1).frequency, 20.0f);
    EXPECT_FLOAT_EQ(panel.band(1).gain, 15.0f);
    moveTo(panel, QPoint(900, 900));
    EXPECT_FLOAT_EQ(panel.band(1).frequency, 20000.0f);
    EXPECT_FLOAT_EQ(panel.band(1).gain, -15.0f);
    release(panel, Qt::LeftButton, QPoint(900, 900));
}

TEST_F(EqPanelTest, LowPassDragKeepsGainAtZero) {
    panel.setBandType(1, LowPass);
    const QPoint at = handlePoint(panel, 1000.0, 0.0);
    press(panel, Qt::LeftButton, at);
    moveTo(panel, at + QPoint(40, 60));
    EXPECT_FLOAT_EQ(panel.band(1).gain, 0.0f);
    EXPECT_GT(panel.band(1).frequency, 1200.0f);
    release(panel, Qt::LeftButton, at + QPoint(40, 60));
}

TEST_F(EqPanelTest, RightClickOnBackgroundOffersCopyAndPaste) {
    panel.setLanguage(1);
    panel.nextCommand = 3026;
    click(Qt::RightButton, QPoint(500, 40));
    ASSERT_EQ(panel.menus.size(), 1u);
    EXPECT_EQ(panel.menus[0], (QStringList{"Copy EQ", "Paste EQ"}));
    ASSERT_EQ(notices.count('x'), 1);
    EXPECT_EQ(notices.log.back().a, 1);
    EXPECT_EQ(notices.log.back().b, 6);

    panel.setLanguage(0);
    panel.nextCommand = 3025;
    click(Qt::RightButton, QPoint(500, 40));
    EXPECT_EQ(panel.menus[1], (QStringList{"复制均衡", "粘贴均衡"}));
    EXPECT_EQ(notices.log.back().a, 0);
}

TEST_F(EqPanelTest, RightClickOnBandOffersTypesAndRetypes) {
    panel.setBandGain(1, 4.0f);
    panel.nextCommand = 2026; // LP
    click(Qt::RightButton, handlePoint(panel, 1000.0, 4.0) + QPoint(15, -15));
    ASSERT_EQ(panel.menus.size(), 1u);
    EXPECT_EQ(panel.menus[0],
              (QStringList{"参量(PEQ)", "低通(LP)", "高通(HP)", "低架(LS)", "高架(HS)"}));
    EXPECT_EQ(panel.band(1).filterType, LowPass);
    EXPECT_FLOAT_EQ(panel.band(1).gain, 0.0f);
    EXPECT_FLOAT_EQ(panel.band(1).q, 0.7f);
    // press, release, then the retype
    ASSERT_EQ(notices.count('c'), 3);
    EXPECT_EQ(notices.log.back().band.filterType, LowPass);

    panel.setLanguage(1);
    panel.nextCommand = 0; // menu dismissed
    click(Qt::RightButton, handlePoint(panel, 1000.0, 0.0));
    EXPECT_EQ(panel.menus[1], (QStringList{"PEQ", "LP", "HP", "LS", "HS"}));
    EXPECT_EQ(panel.band(1).filterType, LowPass);
}

TEST_F(EqPanelTest, RightClickFindsABandSwitchedOffWhereItWasShown) {
    panel.setBandGain(2, -6.0f);
    panel.grab(); // draw it once
    const QPoint shown = handlePoint(panel, 3000.0, -6.0);
    panel.setBandType(2, Off);
    panel.setBandFrequency(2, 5000.0f); // moves nothing on screen while off
    panel.nextCommand = 2025;
    click(Qt::RightButton, shown);
    EXPECT_EQ(panel.selectedBand(), 2);
    EXPECT_EQ(panel.band(2).filterType, Peaking);
}

TEST_F(EqPanelTest, RightDragChangesOnlyQ) {
    const QPoint at = handlePoint(panel, 1000.0, 0.0);
    press(panel, Qt::RightButton, at);
    moveTo(panel, at + QPoint(24, 40)); // peaking: 12 pixels per unit of Q
    EXPECT_FLOAT_EQ(panel.band(1).q, 3.0f);
    moveTo(panel, at + QPoint(12, 40));
    EXPECT_FLOAT_EQ(panel.band(1).q, 2.0f);
    EXPECT_FLOAT_EQ(panel.band(1).frequency, 1000.0f);
    EXPECT_FLOAT_EQ(panel.band(1).gain, 0.0f);
    release(panel, Qt::RightButton, at + QPoint(12, 40));
    EXPECT_TRUE(panel.menus.empty()); // moved: no type menu

    panel.setBandType(1, HighShelf); // Q 0.7, 80 pixels per unit, at most 2
    press(panel, Qt::RightButton, at);
    moveTo(panel, at + QPoint(40, 0));
    EXPECT_NEAR(panel.band(1).q, 1.2f, 1e-6);
    moveTo(panel, at + QPoint(400, 0));
    EXPECT_FLOAT_EQ(panel.band(1).q, 2.0f);
    moveTo(panel, at + QPoint(-600, 0));
    EXPECT_FLOAT_EQ(panel.band(1).q, 0.1f);
    release(panel, Qt::RightButton, at);
}

TEST_F(EqPanelTest, WheelStepsGainOfGainBands) {
    wheel(120);
    EXPECT_FALSE(lastWheelAccepted); // nothing selected
    click(Qt::LeftButton, handlePoint(panel, 1000.0, 0.0));
    notices.clear();
    wheel(360);
    wheel(1);
    EXPECT_TRUE(lastWheelAccepted);
    EXPECT_NEAR(panel.band(1).gain, 0.2f, 1e-5);
    wheel(-120);
    EXPECT_NEAR(panel.band(1).gain, 0.1f, 1e-5);
    EXPECT_EQ(notices.count('c'), 3);

    panel.setBandGain(1, 14.95f);
    wheel(120);
    EXPECT_FLOAT_EQ(panel.band(1).gain, 15.0f);

    panel.setBandType(1, HighPass);
    notices.clear();
    wheel(120);
    EXPECT_FALSE(lastWheelAccepted);
    EXPECT_FLOAT_EQ(panel.band(1).gain, 0.0f);
    EXPECT_TRUE(notices.log.empty());
}

TEST_F(EqPanelTest, KeysDoNothingWithoutSelection) {
    QTest::keyClick(&panel, Qt::Key_Right);
    QTest::keyClick(&panel, Qt::Key_Up);
    QTest::keyClick(&panel, Qt::Key_2);
    EXPECT_FLOAT_EQ(panel.band(1).frequency, 1000.0f);
    EXPECT_EQ(panel.selectedBand(), -1);
    EXPECT_TRUE(notices.log.empty());
}

TEST_F(EqPanelTest, ArrowKeysStepFrequencyGainAndQ) {
    panel.setSelectedBand(1);
    QTest::keyClick(&panel, Qt::Key_Right); // 1000 is not above 1000: 5 Hz
    EXPECT_FLOAT_EQ(panel.band(1).frequency, 1005.0f);
    QTest::keyClick(&panel, Qt::Key_Right, Qt::ControlModifier); // 10 + 1
    EXPECT_FLOAT_EQ(panel.band(1).frequency, 1016.0f);
    panel.setBandFrequency(1, 10050.0f);
    QTest::keyClick(&panel, Qt::Key_Left);
    EXPECT_FLOAT_EQ(panel.band(1).frequency, 9950.0f);
    panel.setBandFrequency(1, 21.0f);
    QTest::keyClick(&panel, Qt::Key_Left);
    EXPECT_FLOAT_EQ(panel.band(1).frequency, 20.0f);

    QTest::keyClick(&panel, Qt::Key_Up);
    QTest::keyClick(&panel, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_NEAR(panel.band(1).gain, 0.3f, 1e-5);
    QTest::keyClick(&panel, Qt::Key_Down);
    EXPECT_NEAR(panel.band(1).gain, 0.1f, 1e-5);

    panel.setBandQ(1, 1.0f);
    QTest::keyClick(&panel, Qt::Key_Equal);
    QTest::keyClick(&panel, Qt::Key_Plus, Qt::KeypadModifier);
    QTest::keyClick(&panel, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_NEAR(panel.band(1).q, 1.19f, 1e-5);
    EXPECT_EQ(notices.count('c'), 10);
    EXPECT_EQ(notices.log.back().a, 1);

    QTest::keyClick(&panel, Qt::Key_F5); // not ours, yet swallowed
    EXPECT_EQ(notices.count('c'), 10);
}

TEST_F(EqPanelTest, CommaAndPeriodWalkTheBandTypes) {
    panel.setSelectedBand(1);
    panel.setBandGain(1, 5.0f);
    QTest::keyClick(&panel, Qt::Key_Comma); // PEQ is the first
    EXPECT_EQ(panel.band(1).filterType, Peaking);
    QTest::keyClick(&panel, Qt::Key_Period);
    EXPECT_EQ(panel.band(1).filterType, LowPass);
    EXPECT_FLOAT_EQ(panel.band(1).gain, 0.0f);
    EXPECT_FLOAT_EQ(panel.band(1).q, 0.7f);
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(&panel, Qt::Key_Period);
    EXPECT_EQ(panel.band(1).filterType, HighShelf);
    QTest::keyClick(&panel, Qt::Key_Comma);
    EXPECT_EQ(panel.band(1).filterType, LowShelf);
}

TEST_F(EqPanelTest, NumberAndSelectionKeys) {
    panel.setSelectedBand(0);
    QTest::keyClick(&panel, Qt::Key_3);
    EXPECT_EQ(panel.selectedBand(), 2);
    ASSERT_EQ(notices.count('p'), 1);
    EXPECT_EQ(notices.log.back().a, 2);
    EXPECT_EQ(notices.count('c'), 0);

    QTest::keyClick(&panel, Qt::Key_5); // only four bands
    QTest::keyClick(&panel, Qt::Key_0);
    EXPECT_EQ(panel.selectedBand(), 2);
    EXPECT_EQ(notices.count('p'), 1);

    QTest::keyClick(&panel, Qt::Key_1, Qt::KeypadModifier);
    EXPECT_EQ(panel.selectedBand(), 0);
    QTest::keyClick(&panel, Qt::Key_PageUp);
    EXPECT_EQ(panel.selectedBand(), 0);
    QTest::keyClick(&panel, Qt::Key_PageDown);
    EXPECT_EQ(panel.selectedBand(), 1);
    QTest::keyClick(&panel, Qt::Key_End);
    EXPECT_EQ(panel.selectedBand(), 3);
    QTest::keyClick(&panel, Qt::Key_PageDown);
    EXPECT_EQ(panel.selectedBand(), 3);
    QTest::keyClick(&panel, Qt::Key_Home);
    EXPECT_EQ(panel.selectedBand(), 0);
    EXPECT_EQ(notices.count('c'), 5); // each selection key reports the band now selected
    EXPECT_EQ(notices.log.back().a, 0);
}

// Rows in which the antialiased 1.5-pixel line around x shows red.
int redRows(const QImage& img, int x, int top, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y) {
        bool red = false;
        for (int dx = -1; dx <= 1; ++dx) {
            const QColor c = img.pixelColor(x + dx, y);
            red = red || (c.red() > 120 && c.green() < 60 && c.blue() < 60);
        }
        n += red ? 1 : 0;
    }
    return n;
}

TEST_F(EqPanelTest, SelectedPassBandGetsAMarkerLine) {
    panel.setBandType(2, LowPass);
    const int x = handlePoint(panel, 3000.0, 0.0).x();
    EXPECT_EQ(redRows(panel.grab().toImage(), x, 40, 140), 0);
    panel.setSelectedBand(2);
    const QImage img = panel.grab().toImage();
    // Dashed: red over part of the column, background between the dashes.
    const int reds = redRows(img, x, 40, 140);
    EXPECT_GT(reds, 30);
    EXPECT_LT(reds, 90);
    EXPECT_EQ(img.pixelColor(x + 40, 60), QColor(20, 20, 20));
    panel.setBandType(2, Peaking); // peaking bands have a ring, no marker
    EXPECT_EQ(redRows(panel.grab().toImage(), x, 40, 140), 0);
}

TEST_F(EqPanelTest, BypassIsWrittenAcrossTheEditor) {
    auto whiteInMiddleRow = [&] {
        const QImage img = panel.grab().toImage();
        int n = 0;
        for (int x = 0; x < img.width(); ++x)
            n += (img.pixel(x, img.height() / 2) & 0xFFFFFF) == 0xFFFFFF ? 1 : 0;
        return n;
    };
    EXPECT_EQ(whiteInMiddleRow(), 0);
    panel.setBypass(true);
    EXPECT_GT(whiteInMiddleRow(), 50);
}

// CH 3: thirteen bands, slot 9 the crossover, 10-12 its hidden companions.
class OutputPanelTest : public EqPanelTest {
protected:
    void SetUp() override {
        EqPanelTest::SetUp();
        panel.setPanelId(9);
        panel.setBandCount(13);
        for (int b = 0; b < 13; ++b) {
            panel.setBandType(b, Peaking);
            panel.setBandFrequency(b, 40.0f + 60.0f * static_cast<float>(b));
        }
        panel.setBandFrequency(9, 2000.0f);
        panel.setBandQ(9, 0.9f);
        notices.clear();
    }
};

TEST_F(OutputPanelTest, CompanionsHaveNoHandleAndNoKey) {
    QTest::qWait(1);
    panel.setSelectedBand(0);
    QTest::keyClick(&panel, Qt::Key_End);
    EXPECT_EQ(panel.selectedBand(), 9);
    QTest::keyClick(&panel, Qt::Key_PageDown);
    EXPECT_EQ(panel.selectedBand(), 9);
    QTest::keyClick(&panel, Qt::Key_1);
    QTest::keyClick(&panel, Qt::Key_0);
    EXPECT_EQ(panel.selectedBand(), 9);

    // Slot 11's frequency is 2000 Hz as well, yet only slot 9 answers there.
    click(Qt::LeftButton, handlePoint(panel, 2000.0, 0.0));
    EXPECT_EQ(panel.selectedBand(), 9);
    moveTo(panel, handlePoint(panel, 2000.0, 0.0));
    EXPECT_EQ(panel.hoverBand(), 9);
}

TEST_F(OutputPanelTest, LowPassOnTheCrossoverSlotMakesAButterworthPair) {
    panel.setBandGain(9, 3.0f);
    panel.nextCommand = 2026;
    click(Qt::RightButton, handlePoint(panel, 2000.0, 3.0));
    const int types[4] = {LowPassQ1307, LowPassQ0541, Peaking, Peaking};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(panel.band(9 + i).filterType, types[i]) << "slot " << 9 + i;
        EXPECT_FLOAT_EQ(panel.band(9 + i).gain, 0.0f);
    }

    panel.nextCommand = 2029; // HS
    click(Qt::RightButton, handlePoint(panel, 2000.0, 0.0));
    EXPECT_EQ(panel.band(9).filterType, HighShelf);
    EXPECT_EQ(panel.band(10).filterType, Peaking);
}

TEST_F(OutputPanelTest, TypeMenuClearsTheGainOfOutputBands) {
    panel.setBandGain(2, 6.0f);
    panel.nextCommand = 2028; // LS keeps a gain elsewhere, not on an output channel
    click(Qt::RightButton, handlePoint(panel, 160.0, 6.0));
    EXPECT_EQ(panel.band(2).filterType, LowShelf);
    EXPECT_FLOAT_EQ(panel.band(2).gain, 0.0f);
}

TEST_F(OutputPanelTest, DraggingTheCrossoverMovesItsCompanions) {
    const QPoint at = handlePoint(panel, 2000.0, 0.0);
    press(panel, Qt::LeftButton, at);
    moveTo(panel, at + QPoint(-60, 0));
    release(panel, Qt::LeftButton, at + QPoint(-60, 0));
    const float f = panel.band(9).frequency;
    EXPECT_LT(f, 1600.0f);
    for (int c = 10; c <= 12; ++c) {
        EXPECT_FLOAT_EQ(panel.band(c).frequency, f);
        EXPECT_FLOAT_EQ(panel.band(c).q, 0.9f);
        EXPECT_FLOAT_EQ(panel.band(c).gain, 0.0f);
    }
}

} // namespace

namespace {

int countPixels(const QImage& img, QRgb colour) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += (img.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF) ? 1 : 0;
    return n;
}

// 220 x 90: plot 216 x 86 inside the 2-pixel margins, 0 dB at y = 45.
class SmallPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        panel.resize(220, 90);
        panel.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&panel, &leave);
    }
    CSmallEqPanel panel;
};

TEST_F(SmallPanelTest, FlatCurveRunsThroughTheMiddle) {
    const QImage img = panel.grab().toImage();
    // A 1.7-pixel line centred on y = 45 covers most of rows 44 and 45.
    EXPECT_GT(img.pixelColor(100, 45).blue(), 200);
    EXPECT_GT(img.pixelColor(100, 45).green(), 150);
    EXPECT_LT(img.pixelColor(100, 20).blue(), 100);
    panel.setSmallBandGain(5, 12.0f); // +12 dB at 1000 Hz lifts the curve by 34 px there
    const QImage lifted = panel.grab().toImage();
    const int x = static_cast<int>(std::lround(panel.curve().xOfFrequency(1000.0)));
    bool found = false;
    for (int y = 8; y < 14; ++y)
        found = found || lifted.pixelColor(x, y).blue() > 200;
    EXPECT_TRUE(found);
}

TEST_F(SmallPanelTest, HoverFrameComesAndGoes) {
    const QRgb cyan = qRgb(0, 255, 255);
    EXPECT_NE(panel.grab().toImage().pixel(0, 0), cyan);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), panel.mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(&panel, &enter);
    const QImage framed = panel.grab().toImage();
    EXPECT_EQ(framed.pixel(0, 0), cyan);
    EXPECT_EQ(framed.pixel(219, 89), cyan);
    QTest::mouseClick(&panel, Qt::LeftButton, {}, QPoint(50, 50)); // presses do nothing
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&panel, &leave);
    EXPECT_NE(panel.grab().toImage().pixel(0, 0), cyan);
}

TEST_F(SmallPanelTest, PassMarkAndDimming) {
    const QRgb white = qRgb(255, 255, 255);
    EXPECT_EQ(countPixels(panel.grab().toImage(), white), 0);
    panel.setPass(true);
    EXPECT_GT(countPixels(panel.grab().toImage(), white), 100);
    panel.setPass(false);
    const QColor before = panel.grab().toImage().pixelColor(30, 80);
    panel.setDimmed(true);
    const QColor after = panel.grab().toImage().pixelColor(30, 80);
    EXPECT_GT(after.red(), before.red() + 20);
}

} // namespace
