#include "room/FloorPlanGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quilo {

namespace {

// Truncation that stays defined for values no int can hold.
int truncToInt(float v) {
    if (std::isnan(v)) {
        return 0;
    }
    return static_cast<int>(std::clamp(std::trunc(v), -2.0e9f, 2.0e9f));
}

std::string lineLabel(char sign, double metres, bool edge) {
    char text[32];
    if (!edge) {
        std::snprintf(text, sizeof text, "%c%dm", sign, static_cast<int>(metres));
    } else {
        // Odd room sizes put the edge on a half metre.
        const bool half = metres != std::floor(metres);
        std::snprintf(text, sizeof text, half ? "%c%.1fm" : "%c%.0fm", sign, metres);
    }
    return text;
}

} // namespace

PixelRect FloorPlanGeometry::area() const {
    return {client.left + kMargin, client.top + kMargin, client.right - kMargin,
            client.bottom - kMargin};
}

float FloorPlanGeometry::scaleX() const {
    return roomWidth > 0.0f ? static_cast<float>(client.width() - 2 * kMargin) / roomWidth : 0.0f;
}

float FloorPlanGeometry::scaleY() const {
    return roomLength > 0.0f ? static_cast<float>(client.height() - 2 * kMargin) / roomLength
                             : 0.0f;
}

PixelPoint FloorPlanGeometry::toPixels(RoomPoint metres) const {
    const float px =
        static_cast<float>(client.left + kMargin) + scaleX() * (roomWidth / 2.0f + metres.x);
    const float py =
        static_cast<float>(client.top + kMargin) + scaleY() * (roomLength / 2.0f - metres.y);
    return {truncToInt(px), truncToInt(py)};
}

std::optional<RoomPoint> FloorPlanGeometry::dragTo(PixelPoint mouse) const {
    if (!canDrag()) {
        return std::nullopt;
    }
    const PixelRect inside = area();
    const int mx = std::clamp(mouse.x, inside.left, inside.right);
    const int my = std::clamp(mouse.y, inside.top, inside.bottom);
    const int centreX = (client.left + client.right) / 2;
    const int centreY = (client.top + client.bottom) / 2;
    const float x = static_cast<float>(mx - centreX) / scaleX();
    const float y = static_cast<float>(centreY - my) / scaleY();
    return RoomPoint{std::clamp(x, -roomWidth / 2.0f, roomWidth / 2.0f),
                     std::clamp(y, -roomLength / 2.0f, roomLength / 2.0f)};
}

bool FloorPlanGeometry::hits(PixelPoint mouse, PixelPoint icon) {
    return std::abs(mouse.x - icon.x) <= kHitRange && std::abs(mouse.y - icon.y) <= kHitRange;
}

std::vector<GridLine> FloorPlanGeometry::gridLines() const {
    std::vector<GridLine> lines;
    const auto addDirection = [&](bool horizontal, float size) {
        const auto at = [&](double metres) {
            const RoomPoint p = horizontal ? RoomPoint{0.0f, static_cast<float>(metres)}
                                           : RoomPoint{static_cast<float>(metres), 0.0f};
            const PixelPoint px = toPixels(p);
            return horizontal ? px.y : px.x;
        };
        const double half = size / 2.0;
        const int outermost = static_cast<int>(std::ceil(half));
        lines.push_back({horizontal, at(0.0), outermost == 0, "0"});
        for (int j = 1; j <= outermost; ++j) {
            const bool edge = j == outermost;
            const double metres = edge ? half : j;
            // Horizontal lines count upwards, vertical ones to the right.
            lines.push_back({horizontal, at(metres), edge, lineLabel('+', metres, edge)});
            lines.push_back({horizontal, at(-metres), edge, lineLabel('-', metres, edge)});
        }
    };
    addDirection(true, roomLength);
    addDirection(false, roomWidth);
    return lines;
}

} // namespace quilo
