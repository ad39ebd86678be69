#pragma once

#include "room/FloorPlanGeometry.h"
#include "room/RoomLayout.h"

#include <array>

namespace quilo {

// What a mouse event on the floor plan tells the room page.
enum class PlanNotice {
    None,
    Picked,  // an icon was pressed (and its dragging starts)
    Dragged, // the dragged icon moved
};

// The floor plan's state without a screen: the listener (entry 0) and the eight
// loudspeakers (entries 1-8) in metres and pixels, the room size and the drag in
// progress. The widget forwards left-button presses, moves and releases and its
// size; on a notice the page stores position(draggedEntry()) in its layout.
class FloorPlan {
public:
    FloorPlan();

    const FloorPlanGeometry& geometry() const { return m_geometry; }
    const RoomLayout& layout() const { return m_layout; }

    void setClientRect(PixelRect client);
    // Whole metres, taken into 1-10; every icon is placed again.
    void setRoomSize(int widthM, int lengthM);
    void setPosition(int entry, RoomPoint metres);
    // Room size and every position at once (when the page is refreshed).
    void setLayout(const RoomLayout& layout);

    RoomPoint position(int entry) const { return m_layout.position(entry); }
    PixelPoint pixel(int entry) const;

    // The first entry (listener, then loudspeakers 1-8) whose icon the point hits.
    int entryAt(PixelPoint mouse) const;

    PlanNotice press(PixelPoint mouse);
    // Moves the dragged entry; nothing while not dragging or while the widget is
    // too small to hold the room.
    PlanNotice move(PixelPoint mouse);
    void release();

    bool dragging() const { return m_dragging; }
    int draggedEntry() const { return m_dragEntry; }

private:
    void placeAll();

    FloorPlanGeometry m_geometry;
    RoomLayout m_layout;
    std::array<PixelPoint, RoomLayout::kEntries> m_pixels{};
    int m_dragEntry = -1;
    bool m_dragging = false;
};

} // namespace quilo
