// Sliders, image buttons, level meters and the page container.
#include "widgets/CGdipButton.h"
#include "widgets/CPeakMeterCtrl.h"
#include "widgets/CTabWnd.h"
#include "widgets/CXBmpSlider.h"

#include <QApplication>
#include <QEnterEvent>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <vector>

using namespace quilo;

namespace {

struct SliderLog {
    std::vector<std::pair<char, int>> events; // 'c' changed, 'f' focused, 'r' released

    void attach(CXBmpSlider& s) {
        QObject::connect(&s, &CXBmpSlider::sliderChanged, [this](int id, int pos) {
            EXPECT_EQ(id, 1209);
            events.emplace_back('c', pos);
        });
        QObject::connect(&s, &CXBmpSlider::sliderReleased, [this](int id, int pos) {
            EXPECT_EQ(id, 1209);
            events.emplace_back('r', pos);
        });
        QObject::connect(&s, &CXBmpSlider::sliderFocused, [this](int id) {
            EXPECT_EQ(id, 1209);
            events.emplace_back('f', 0);
        });
    }
    using Events = std::vector<std::pair<char, int>>;
};

// A page slider 150 pixels long: pads 7 and 7, thumb 12 wide, so the thumb travels
// L = 150 - 12 - 7 - 7 = 124 pixels.
class SliderTest : public ::testing::Test {
protected:
    void SetUp() override {
        slider.setProperty("ctrlId", 1209);
        slider.usePageStyle();
        slider.resize(150, 23);
        slider.setRange(100, 0);
        slider.setPosition(50);
        slider.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&slider));
        log.attach(slider);
    }

    void wheel(int delta) {
        const QPointF pos(20, 10);
        QWheelEvent event(pos, slider.mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&slider, &event);
    }

    CXBmpSlider slider;
    SliderLog log;
};

TEST_F(SliderTest, ValueAndThumbMapping) {
    EXPECT_EQ(slider.thumbOffsetFor(0), 7);
    EXPECT_EQ(slider.thumbOffsetFor(100), 131);
    EXPECT_EQ(slider.thumbOffsetFor(50), 69);            // 7 + 124 * 50 / 100
    EXPECT_EQ(slider.valueAtOffset(69), 50);             // (69 - 7) * 100 / 124
    EXPECT_EQ(slider.valueAtOffset(8), 0);               // 100 / 124 truncates
    EXPECT_EQ(slider.valueAtOffset(10), 2);              // 300 / 124
    EXPECT_EQ(slider.thumbRect(), QRect(69, 3, 12, 18)); // the top pad is the thumb's y
}

TEST_F(SliderTest, RangeAndPositionFromTheProgramAreSilentAndClamped) {
    slider.setRange(0, 25); // given the wrong way round
    EXPECT_EQ(slider.maximum(), 25);
    EXPECT_EQ(slider.minimum(), 0);
    EXPECT_EQ(slider.position(), 25);
    slider.setPosition(-4);
    EXPECT_EQ(slider.position(), 0);
    EXPECT_TRUE(log.events.empty());
}

TEST_F(SliderTest, TrackClickMovesExactlyOneStep) {
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(slider.position(), 49);
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(140, 10));
    EXPECT_EQ(slider.position(), 50);
    EXPECT_EQ(log.events, (SliderLog::Events{{'c', 49}, {'r', 49}, {'c', 50}, {'r', 50}}));
}

TEST_F(SliderTest, DraggingTheThumbFollowsThePointer) {
    const QPoint centre = slider.thumbRect().center();
    QTest::mousePress(&slider, Qt::LeftButton, {}, centre);
    QTest::mouseMove(&slider, QPoint(100, 10)); // thumb left edge at 94: (94 - 7) * 100 / 124
    EXPECT_EQ(slider.position(), 70);
    QTest::mouseMove(&slider, QPoint(400, 10));
    EXPECT_EQ(slider.position(), 100);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(400, 10));
    EXPECT_EQ(log.events, (SliderLog::Events{{'c', 70}, {'c', 100}, {'r', 100}}));
}

TEST_F(SliderTest, KeysAndWheelReportChangeAndReleaseEvenAtTheEnd) {
    slider.setRange(25, 0);
    slider.setPosition(25);
    slider.setFocus();
    log.events.clear();
    QTest::keyClick(&slider, Qt::Key_Right);
    QTest::keyClick(&slider, Qt::Key_Down);
    QTest::keyClick(&slider, Qt::Key_Up);
    EXPECT_EQ(log.events, (SliderLog::Events{
                              {'c', 25}, {'r', 25}, {'c', 24}, {'r', 24}, {'c', 25}, {'r', 25}}));
    log.events.clear();
    wheel(-360); // one step whatever the size
    wheel(1);
    EXPECT_EQ(log.events, (SliderLog::Events{{'c', 24}, {'r', 24}, {'c', 25}, {'r', 25}}));
}

TEST(SliderFocus, GainingTheFocusIsReported) {
    QWidget page;
    auto* first = new CXBmpSlider(&page);
    auto* second = new CXBmpSlider(&page);
    second->setProperty("ctrlId", 1209);
    second->move(0, 40);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    first->setFocus();
    SliderLog log;
    log.attach(*second);
    second->setFocus();
    EXPECT_EQ(log.events, (SliderLog::Events{{'f', 0}}));
}

TEST_F(SliderTest, DisabledSliderIgnoresInput) {
    slider.setEnabled(false);
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(20, 10));
    QTest::keyClick(&slider, Qt::Key_Left);
    EXPECT_EQ(slider.position(), 50);
    EXPECT_TRUE(log.events.empty());
}

TEST(VerticalSlider, MaximumIsAtTheTop) {
    CXBmpSlider slider(nullptr, true);
    slider.resize(23, 150);
    slider.setRange(10, 0);
    // No pads: travel 150 - 12 = 138.
    EXPECT_EQ(slider.thumbOffsetFor(10), 0);
    EXPECT_EQ(slider.thumbOffsetFor(0), 138);
    EXPECT_EQ(slider.valueAtOffset(69), 5);
    slider.setPosition(5);
    slider.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&slider));
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(10, 140)); // below the thumb
    EXPECT_EQ(slider.position(), 4);
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(10, 5));
    EXPECT_EQ(slider.position(), 5);
}

TEST(GdipButton, ClicksAndLooks) {
    CGdipButton button(QStringLiteral("CH1"));
    button.resize(80, 28);
    button.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
    int clicks = 0;
    QObject::connect(&button, &QAbstractButton::clicked, [&] { ++clicks; });

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave); // wherever the pointer started
    EXPECT_EQ(button.currentLook(), CGdipButton::Look::Normal);
    const QPointF at(10, 10);
    const QPointF global = button.mapToGlobal(at);
    auto send = [&](QEvent::Type type) {
        QMouseEvent e(type, at, global, Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
        QApplication::sendEvent(&button, &e);
    };
    send(QEvent::MouseButtonPress);
    EXPECT_EQ(button.currentLook(), CGdipButton::Look::Pressed);
    send(QEvent::MouseButtonRelease);
    EXPECT_EQ(clicks, 1);
    // The second press of a double click arrives as a double-click event.
    send(QEvent::MouseButtonDblClick);
    send(QEvent::MouseButtonRelease);
    EXPECT_EQ(clicks, 2);

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), button.mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(&button, &enter);
    EXPECT_EQ(button.currentLook(), CGdipButton::Look::Hover);
    button.setCheckedState(true);
    EXPECT_EQ(button.currentLook(), CGdipButton::Look::CheckedHover);
    QApplication::sendEvent(&button, &leave);
    EXPECT_EQ(button.currentLook(), CGdipButton::Look::CheckedNormal);
    button.setEnabled(false);
    EXPECT_EQ(button.currentLook(), CGdipButton::Look::Disabled);
}

TEST(GdipButton, ToggleModeFlipsOnThePress) {
    CGdipButton button;
    button.resize(60, 24);
    button.setToggleMode(true);
    button.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(button.checkedState());
    EXPECT_EQ(button.currentLook(), CGdipButton::Look::CheckedPressed);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(button.checkedState());
}

TEST(GdipButton, CheckedAndDisabledLooksAreDrawnDifferently) {
    CGdipButton button;
    button.resize(60, 24);
    const QImage normal = button.grab().toImage();
    button.setCheckedState(true);
    const QImage checked = button.grab().toImage();
    button.setEnabled(false);
    const QImage disabled = button.grab().toImage();
    const QPoint mid(30, 12);
    EXPECT_NE(normal.pixel(mid), checked.pixel(mid));
    EXPECT_NE(normal.pixel(mid), disabled.pixel(mid));
    const QColor grey = disabled.pixelColor(mid);
    EXPECT_EQ(grey.red(), grey.blue()); // no colour left
}

// The music page's meter: one band of 15 LEDs, range 60, zones at 40 and 50.
class MeterTest : public ::testing::Test {
protected:
    void SetUp() override {
        meter.setBandCount(1);
        meter.setLedCount(15);
        meter.resize(150, 10);
    }
    void feed(int v) {
        const int values[1] = {v};
        meter.setData(values);
    }
    CPeakMeterCtrl meter;
};

TEST_F(MeterTest, ValuesAreClampedToTheRange) {
    feed(61);
    EXPECT_EQ(meter.band(0).level, 60);
    feed(-5);
    EXPECT_EQ(meter.band(0).level, 0);
    EXPECT_EQ(meter.litCells(0), 0);
}

TEST_F(MeterTest, ZonesOfFifteenCells) {
    for (int i = 0; i < 15; ++i) {
        const int expected = i < 10 ? 0 : i < 12 ? 1 : 2;
        EXPECT_EQ(meter.zoneOfCell(i), expected) << "cell " << i;
    }
}

TEST_F(MeterTest, FullBarGoesDarkAfterFifteenTicksAndThePeakIsHeld) {
    // A fresh LED count starts with a full bar and a full hold.
    EXPECT_EQ(meter.band(0).level, 60);
    EXPECT_EQ(meter.band(0).hold, 10);
    feed(60);
    for (int t = 1; t <= 14; ++t)
        meter.decayTick();
    EXPECT_EQ(meter.band(0).level, 4);
    EXPECT_EQ(meter.litCells(0), 1);
    meter.decayTick();
    EXPECT_EQ(meter.litCells(0), 0);
    // Hold 10 ticks: the peak starts falling on tick 10, by half a cell (2) per tick.
    EXPECT_EQ(meter.band(0).peak, 60 - 2 * 6);
    EXPECT_EQ(meter.band(0).hold, 0);
}

TEST_F(MeterTest, NewPeakRestartsTheHold) {
    feed(20);
    for (int t = 0; t < 12; ++t)
        meter.decayTick();
    const int fallen = meter.band(0).peak;
    EXPECT_EQ(fallen, 54); // held through tick 9, then three falls of 2
    EXPECT_EQ(meter.band(0).hold, 0);
    feed(fallen + 4);
    EXPECT_EQ(meter.band(0).peak, 58);
    EXPECT_EQ(meter.band(0).hold, 10);
}

TEST_F(MeterTest, TimerStopsAtRestAndDataRestartsIt) {
    meter.startDecayTimer(35);
    EXPECT_TRUE(meter.isDecayRunning());
    int ticks = 0;
    while (!meter.atRest() && ticks < 100) {
        meter.decayTick();
        ++ticks;
    }
    EXPECT_FALSE(meter.isDecayRunning());
    // peak 60: held 9 ticks, then 30 falls of 2
    EXPECT_EQ(ticks, 39);
    feed(0);
    EXPECT_FALSE(meter.isDecayRunning()); // nothing to fall
    feed(30);
    EXPECT_TRUE(meter.isDecayRunning());
}

TEST_F(MeterTest, ReinitialisedBarsFallToo) {
    meter.startDecayTimer(35);
    while (!meter.atRest())
        meter.decayTick();
    ASSERT_FALSE(meter.isDecayRunning());
    meter.setLedCount(15);
    EXPECT_EQ(meter.litCells(0), 15);
    EXPECT_TRUE(meter.isDecayRunning());
}

TEST_F(MeterTest, TimerRunsOnItsOwn) {
    meter.startDecayTimer(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return meter.atRest(); }, 5000));
    EXPECT_FALSE(meter.isDecayRunning());
}

TEST_F(MeterTest, MoreCellsThanLevelUnitsStillFall) {
    meter.setLedCount(100); // 60 / 100 rounds to a zero step
    feed(60);
    for (int t = 0; t < 60; ++t)
        meter.decayTick();
    EXPECT_EQ(meter.band(0).level, 0);
}

TEST_F(MeterTest, CellsAreDrawnInTheirZoneColours) {
    feed(60);
    QImage lit = meter.grab().toImage();
    // Cells are 10 pixels wide with a 1-pixel gap on the left.
    EXPECT_EQ(lit.pixelColor(5, 5), QColor(0, 255, 0));
    EXPECT_EQ(lit.pixelColor(115, 5), QColor(255, 255, 0));
    EXPECT_EQ(lit.pixelColor(145, 5), QColor(255, 0, 0));
    for (int t = 0; t < 15; ++t)
        meter.decayTick();
    QImage dark = meter.grab().toImage();
    EXPECT_EQ(dark.pixelColor(5, 5), QColor(2, 60, 2));
    EXPECT_EQ(dark.pixelColor(115, 5), QColor(60, 60, 2));
    EXPECT_EQ(dark.pixelColor(145, 5), QColor(60, 2, 2));
}

TEST(TabWnd, SelectsOnePageAtATime) {
    CTabWnd tabs;
    tabs.resize(300, 200);
    QWidget* pages[3];
    for (QWidget*& p : pages) {
        p = new QWidget;
        tabs.addPage(p);
    }
    tabs.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tabs));
    EXPECT_TRUE(pages[0]->isVisible());
    EXPECT_FALSE(pages[1]->isVisible());
    EXPECT_EQ(tabs.selectPage(5), -1);
    EXPECT_EQ(tabs.currentIndex(), 0);
    EXPECT_TRUE(pages[0]->isVisible());
    EXPECT_EQ(tabs.selectPage(2), 0);
    EXPECT_FALSE(pages[0]->isVisible());
    EXPECT_TRUE(pages[2]->isVisible());
    tabs.resize(320, 240);
    EXPECT_EQ(pages[1]->geometry(), QRect(0, 0, 320, 240));
    EXPECT_EQ(tabs.selectPage(1), 2);
}

} // namespace
