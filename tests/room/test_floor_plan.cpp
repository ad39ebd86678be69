// The floor plan's geometry and dragging, without a screen.
#include "room/FloorPlan.h"

#include <gtest/gtest.h>

using namespace quilo;

namespace {

FloorPlanGeometry plan(PixelRect client, float w, float l) {
    FloorPlanGeometry g;
    g.client = client;
    g.roomWidth = w;
    g.roomLength = l;
    return g;
}

} // namespace

TEST(FloorPlanGeometry, MetresMapOntoTheAreaInsideTheMargins) {
    struct Case {
        PixelRect client;
        float w, l;
        RoomPoint metres;
        PixelPoint pixels;
    };
    const Case cases[] = {
        // 1024 x 520: 964 px across 4 m (241 px/m), 460 px along 4 m (115 px/m).
        {{0, 0, 1024, 520}, 4, 4, {0, 0}, {512, 260}},
        {{0, 0, 1024, 520}, 4, 4, {-2, 2}, {30, 30}},
        {{0, 0, 1024, 520}, 4, 4, {2, -2}, {994, 490}},
        {{0, 0, 1024, 520}, 4, 4, {0.5f, 0.1f}, {632, 248}}, // 632.5, 248.5 truncated
        // A shifted client and an odd room: 5 m over 200 px is 40 px/m.
        {{10, 20, 270, 280}, 5, 5, {0, 0}, {140, 150}},
        {{10, 20, 270, 280}, 5, 5, {-2.5f, -2.5f}, {40, 250}},
        // Outside the room (a room made smaller): drawn beyond the margins.
        {{0, 0, 160, 160}, 1, 1, {1, -1}, {180, 180}},
    };
    for (const Case& c : cases) {
        const FloorPlanGeometry g = plan(c.client, c.w, c.l);
        EXPECT_EQ(g.toPixels(c.metres), c.pixels) << c.metres.x << "," << c.metres.y;
    }
}

TEST(FloorPlanGeometry, DraggingStaysInTheRoom) {
    struct Case {
        PixelRect client;
        float w, l;
        PixelPoint mouse;
        RoomPoint metres;
    };
    const Case cases[] = {
        {{0, 0, 1024, 520}, 4, 4, {512, 260}, {0, 0}},
        {{0, 0, 1024, 520}, 4, 4, {753, 145}, {1, 1}},
        {{0, 0, 1024, 520}, 4, 4, {-500, 9000}, {-2, -2}}, // clamped to the margins
        {{0, 0, 1024, 520}, 4, 4, {2000, -5}, {2, 2}},
        // Odd widget: the integer centre (512) would put the right margin at 5.005 m.
        {{0, 0, 1025, 520}, 10, 4, {2000, 260}, {5, 0}},
        {{10, 20, 270, 280}, 5, 5, {180, 110}, {1, 1}},
    };
    for (const Case& c : cases) {
        const auto got = plan(c.client, c.w, c.l).dragTo(c.mouse);
        ASSERT_TRUE(got);
        EXPECT_FLOAT_EQ(got->x, c.metres.x) << c.mouse.x << "," << c.mouse.y;
        EXPECT_FLOAT_EQ(got->y, c.metres.y) << c.mouse.x << "," << c.mouse.y;
    }
    // A widget no larger than its margins holds no room: nothing to drag to.
    EXPECT_FALSE(plan({0, 0, 60, 400}, 4, 4).dragTo({30, 200}));
    EXPECT_FALSE(plan({0, 0, 40, 400}, 4, 4).dragTo({30, 200}));
}

TEST(FloorPlanGeometry, GridLinesEndOnTheRoomsEdge) {
    const auto lines = plan({0, 0, 260, 260}, 5, 2).gridLines(); // 40 and 100 px/m
    std::vector<std::tuple<bool, int, bool, std::string>> got;
    for (const GridLine& l : lines) {
        got.emplace_back(l.horizontal, l.pixel, l.edge, l.label);
    }
    const std::vector<std::tuple<bool, int, bool, std::string>> expected{
        {true, 130, false, "0"},    {true, 30, true, "+1m"},    {true, 230, true, "-1m"},
        {false, 130, false, "0"},   {false, 170, false, "+1m"}, {false, 90, false, "-1m"},
        {false, 210, false, "+2m"}, {false, 50, false, "-2m"},  {false, 230, true, "+2.5m"},
        {false, 30, true, "-2.5m"},
    };
    EXPECT_EQ(got, expected);
}

TEST(FloorPlan, PressPicksTheFirstIconInReachAndDragsIt) {
    FloorPlan p;
    p.setClientRect({0, 0, 1024, 520});
    // 241 px/m across, 115 px/m along: listener (512, 260), CEN (512, 145), SL (391, 260).
    EXPECT_EQ(p.pixel(2), (PixelPoint{512, 145}));
    EXPECT_EQ(p.entryAt({528, 276}), 0); // 16 px off both ways still hits
    EXPECT_EQ(p.entryAt({529, 260}), -1);
    EXPECT_EQ(p.entryAt({400, 244}), 7);
    p.setPosition(7, {0.05f, 0.0f}); // SL onto the listener, which is tested first
    EXPECT_EQ(p.entryAt({520, 260}), 0);

    EXPECT_EQ(p.move({600, 100}), PlanNotice::None); // not dragging
    EXPECT_EQ(p.press({10, 10}), PlanNotice::None);
    EXPECT_EQ(p.press({500, 150}), PlanNotice::Picked);
    EXPECT_EQ(p.draggedEntry(), 2);
    EXPECT_EQ(p.position(2), (RoomPoint{0.0f, 1.0f})); // picking does not move it
    EXPECT_EQ(p.press({512, 260}), PlanNotice::None);  // one drag at a time
    EXPECT_EQ(p.move({753, 2000}), PlanNotice::Dragged);
    EXPECT_EQ(p.position(2), (RoomPoint{1.0f, -2.0f}));
    EXPECT_EQ(p.pixel(2), (PixelPoint{753, 490}));
    p.release();
    EXPECT_FALSE(p.dragging());
    EXPECT_EQ(p.move({512, 260}), PlanNotice::None);
    EXPECT_EQ(p.position(2), (RoomPoint{1.0f, -2.0f}));
}

TEST(FloorPlan, RoomSizeAndWidgetSizePlaceEveryIconAgain) {
    FloorPlan p;
    p.setClientRect({0, 0, 1024, 520});
    p.setRoomSize(2, 0); // 0 m is taken as 1 m
    EXPECT_EQ(p.layout().roomLength, 1);
    EXPECT_EQ(p.pixel(0), (PixelPoint{512, 260}));
    EXPECT_EQ(p.pixel(1), (PixelPoint{30, -200})); // L at (-1, 1) now lies beyond the room

    // Too small to hold the room: an icon can still be picked but not moved.
    p.setClientRect({0, 0, 50, 50});
    EXPECT_EQ(p.press(p.pixel(0)), PlanNotice::Picked);
    EXPECT_EQ(p.move({0, 0}), PlanNotice::None);
    EXPECT_EQ(p.position(0), (RoomPoint{0.0f, 0.0f}));
}
