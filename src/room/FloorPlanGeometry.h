#pragma once

#include "room/RoomLayout.h"

#include <optional>
#include <string>
#include <vector>

namespace quilo {

struct PixelPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// A widget rectangle; right and bottom lie just outside it, so width = right - left.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// One metre line of the floor plan and its label.
struct GridLine {
    bool horizontal = false; // a line of constant y across the room, else constant x
    int pixel = 0;           // its y (horizontal) or x (vertical) in widget pixels
    bool edge = false;       // on the room's edge: drawn lighter than the inner lines
    std::string label;       // "0", "+1m", "-2m", "+2.5m", ...
};

// How the floor plan maps room metres to widget pixels and back. The room fills
// the client rectangle less a 30-pixel margin on each side; the centre of the room
// is the centre of the plan and y grows upwards.
struct FloorPlanGeometry {
    static constexpr int kMargin = 30;
    // A press this close to an icon's centre (each direction) picks it.
    static constexpr int kHitRange = 16;

    PixelRect client;
    float roomWidth = 4.0f; // metres
    float roomLength = 4.0f;

    // The room's part of the widget, inside the margins.
    PixelRect area() const;
    // Pixels per metre; not positive when the widget is no larger than its margins.
    float scaleX() const;
    float scaleY() const;
    bool canDrag() const { return scaleX() > 0.0f && scaleY() > 0.0f; }

    // Where a position is drawn (truncated to whole pixels).
    PixelPoint toPixels(RoomPoint metres) const;
    // Where a dragged icon goes for a mouse position: the mouse is held inside the
    // margins and converted back, and the result kept within the room (the
    // integer centre of an odd-sized widget would otherwise overshoot a hair).
    // Empty while the widget is too small to hold a room.
    std::optional<RoomPoint> dragTo(PixelPoint mouse) const;
    static bool hits(PixelPoint mouse, PixelPoint icon);

    // Every metre from the centre outwards in both directions; the outermost line
    // of each direction lies on the room's edge and is labelled with half the room
    // size ("+2.5m" for a 5 m room).
    std::vector<GridLine> gridLines() const;
};

} // namespace quilo
