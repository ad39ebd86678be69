// The compressor curve and the delay lanes as numbers, then their widgets: what the
// panels draw and where a drag takes a marker.
#include "widgets/CCompressPanelPlus.h"
#include "widgets/CDelayPanel.h"
#include "widgets/CompressorCurve.h"
#include "widgets/DelayLanes.h"

#include <QSignalSpy>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace quilo;

namespace {

// A 460 x 345 panel: W = 400, H = 300, 3.125 pixels per dB down, 4.1667 across.
const CompressorCurveGeometry kGeo = compressorGeometry(460, 345);

float yOfDb(float db) {
    return 20.0f + std::fabs(db - 6.0f) * 300.0f / 96.0f;
}

} // namespace

TEST(CompressorCurve, CornersShadeAndGridFollowTheShape) {
    struct Case {
        const char* name;
        CompressorShape shape;
        std::array<CurvePoint, 4> corners;
        float topOutputDb;
    };
    const Case cases[] = {
        // The panel's own start: the part below -5 dB runs 1:1 down to the bottom corner.
        {"default",
         {},
         {{{40, 320}, {394.1667f, yOfDb(-5)}, {352.5f, yOfDb(-15)}, {440, 20}}},
         6.0f},
        // Ratio 1:1 from the page: one straight line from the bottom left to the top right.
        {"1:1",
         compressorPageShape(-15, 1),
         {{{40, 320}, {40, 320}, {352.5f, yOfDb(-15)}, {440, 20}}},
         6.0f},
        // -60 dB at 30:1: the right end sits at -60 + 66 / 30 = -57.8 dB.
        {"30:1",
         compressorPageShape(-60, 30),
         {{{40, 320}, {40, 320}, {165, yOfDb(-60)}, {440, yOfDb(-57.8f)}}},
         -57.8f},
        // A fresh image's ratio of 0 is drawn as 1:1 rather than divided by.
        {"ratio 0",
         compressorPageShape(-20, 0),
         {{{40, 320}, {40, 320}, {331.667f, yOfDb(-20)}, {440, 20}}},
         6.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto got = kGeo.curve(c.shape);
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_NEAR(got[i].x, c.corners[i].x, 1e-3) << i;
            EXPECT_NEAR(got[i].y, c.corners[i].y, 1e-3) << i;
        }
        EXPECT_NEAR(compressorTopOutputDb(c.shape), c.topOutputDb, 1e-4);
        EXPECT_NEAR(got[3].y, yOfDb(c.topOutputDb), 1e-3);
        EXPECT_FLOAT_EQ(kGeo.shadeTop(c.shape), std::min(got[0].y, got[3].y));
        EXPECT_FLOAT_EQ(kGeo.shadeHeight(c.shape), std::fabs(got[0].y - got[3].y));
    }
    const auto grid = kGeo.grid();
    ASSERT_EQ(grid.size(), 6u + 11u);
    EXPECT_TRUE(grid[0].vertical);
    EXPECT_EQ(grid[0].label, "-90dB");
    EXPECT_FLOAT_EQ(grid[0].pixel, 40);
    EXPECT_EQ(grid[5].label, "6dB");
    EXPECT_FLOAT_EQ(grid[5].pixel, 440);
    EXPECT_EQ(grid[6].label, "+6dB");
    EXPECT_FLOAT_EQ(grid[6].pixel, 20);
    EXPECT_EQ(grid[7].label, "0dB");
    EXPECT_EQ(grid[16].label, "-90dB");
    EXPECT_FLOAT_EQ(grid[16].pixel, 320);
    EXPECT_EQ(compressorPageShape(-20, std::numeric_limits<float>::quiet_NaN()).highSlope, 1.0f);
}

TEST(DelayLanes, ScaleMarkersAndDragsStayWithinTheLimits) {
    DelayLanes lanes;
    // 600 x 425: the scale runs from 78 over 504 pixels, lanes are 50 high from y = 5.
    lanes.layout(0, 0, 600, 425, 10, 12);
    EXPECT_EQ(lanes.scaleX0(), 78);
    EXPECT_EQ(lanes.scaleWidth(), 504);
    EXPECT_EQ(lanes.laneTop(3), 155);
    EXPECT_EQ(lanes.lanesBottom(), 405);
    EXPECT_EQ(lanes.xOf(0), 78);
    EXPECT_EQ(lanes.xOf(53), 330);
    EXPECT_EQ(lanes.xOf(106), 582);

    struct Set {
        float in;
        float held;
    };
    for (const Set s : {Set{12.5f, 12.5f}, Set{0.5f, 1.5f}, Set{250.0f, 100.0f},
                        Set{std::numeric_limits<float>::quiet_NaN(), 1.5f}}) {
        EXPECT_EQ(lanes.setValue(2, s.in), s.held) << s.in;
        EXPECT_EQ(lanes.lane(2).markerX, lanes.xOf(s.held));
    }

    lanes.setValue(3, 10.0f); // marker at 78 + 47, its centre at 130, lane centre y 180
    EXPECT_EQ(lanes.lane(3).markerX, 125);
    EXPECT_EQ(lanes.press(130 + 15, 180), -1);
    EXPECT_EQ(lanes.press(130 + 14, 180 - 14), 3);
    EXPECT_EQ(lanes.drag(330 + 5), 3); // the pointer holds the marker by its centre
    EXPECT_FLOAT_EQ(lanes.lane(3).value, 53.0f);
    lanes.drag(590); // past the end of the 106 ms scale
    EXPECT_FLOAT_EQ(lanes.lane(3).value, 100.0f);
    EXPECT_EQ(lanes.lane(3).markerX, lanes.xOf(100.0f));
    lanes.drag(-40);
    EXPECT_FLOAT_EQ(lanes.lane(3).value, 1.5f);
    lanes.release();
    EXPECT_EQ(lanes.drag(300), -1);
    EXPECT_FLOAT_EQ(lanes.lane(3).value, 1.5f);
}

TEST(DelayPanel, DraggingAMarkerReportsEveryMoveAndStopsAt100ms) {
    CDelayPanel panel;
    panel.resize(600, 425);
    panel.show();
    for (int i = 0; i < 8; ++i) {
        panel.setLaneValue(i, 20.0f);
    }
    QSignalSpy moved(&panel, &CDelayPanel::delayLaneMoved);
    const DelayLane lane = panel.lanes().lane(5);
    const QPoint grab(lane.markerX + panel.lanes().markerWidth() / 2,
                      lane.top + panel.lanes().laneHeight() / 2);
    QTest::mousePress(&panel, Qt::LeftButton, Qt::NoModifier, grab);
    QTest::mouseMove(&panel, QPoint(grab.x() + 60, grab.y() + 40));
    QTest::mouseMove(&panel, QPoint(599, grab.y()));
    QTest::mouseRelease(&panel, Qt::LeftButton, Qt::NoModifier, QPoint(599, grab.y()));
    ASSERT_EQ(moved.count(), 2);
    EXPECT_EQ(moved[0][0].toInt(), 5);
    EXPECT_NEAR(moved[0][1].toFloat(), (lane.markerX + 60 - 78) * 106.0f / 504.0f, 0.01);
    EXPECT_FLOAT_EQ(moved[1][1].toFloat(), 100.0f);
    QTest::mouseMove(&panel, QPoint(100, grab.y()));
    EXPECT_EQ(moved.count(), 2); // released: nothing follows the pointer
    EXPECT_FLOAT_EQ(panel.lanes().lane(4).value, 20.0f);
}

TEST(CompressPanel, PaintsOffOverTheCurveAndRebuildsItsGridAfterAResize) {
    CCompressPanelPlus panel;
    panel.resize(460, 345);
    panel.setThreshold(-30);
    panel.setHighSlope(0.25f);
    QImage on = panel.grab().toImage();
    EXPECT_EQ(panel.gridCache().deviceIndependentSize().toSize(), QSize(460, 345));
    // The threshold point is drawn in red over the curve.
    const CompressorCurveGeometry g = compressorGeometry(460, 345);
    const QColor dot = on.pixelColor(QPoint(qRound(g.inputX(-30)), qRound(g.outputY(-30))));
    EXPECT_GT(dot.red(), 150);
    EXPECT_LT(dot.green(), 100);
    panel.setEnabledFlag(0);
    const QImage off = panel.grab().toImage();
    int blueish = 0;
    for (int x = 150; x < 310; ++x) {
        const QColor c = off.pixelColor(x, 172);
        blueish += c.blue() > 200 && c.red() < 40 && c.green() > 100 && c.green() < 200;
    }
    EXPECT_GT(blueish, 5) << "OFF is drawn across the middle";
    panel.resize(300, 200);
    panel.grab();
    EXPECT_EQ(panel.gridCache().deviceIndependentSize().toSize(), QSize(300, 200));
}
