#pragma once

#include <array>

namespace quilo {

// One channel's row of the delay panel.
struct DelayLane {
    int index = 0;
    int markerX = 0; // left edge of the marker, pixels
    int top = 0;     // top of the lane
    float value = 0.0f;
    float lower = 1.5f;
    float upper = 100.0f;
};

// The delay panel without a screen: eight lanes on a common 0-106 ms scale that starts
// 78 pixels into the panel and ends 18 before its right edge, markers placed by value,
// and the drag of a grabbed marker. Values are held within each lane's 1.5-100 ms.
class DelayLanes {
public:
    static constexpr int kLaneCount = 8;
    static constexpr float kScaleMin = 0.0f;
    static constexpr float kScaleMax = 106.0f;
    static constexpr int kScaleLeft = 78;
    static constexpr int kGrabRange = 15;

    // The client rectangle (right and bottom just outside it) and the marker's size.
    void layout(int left, int top, int right, int bottom, int markerWidth, int markerHeight);

    const DelayLane& lane(int i) const { return m_lanes[static_cast<std::size_t>(i)]; }
    static bool isLane(int i) { return i >= 0 && i < kLaneCount; }
    int scaleX0() const { return m_left + kScaleLeft; }
    int scaleWidth() const { return m_right - m_left - 96; }
    int laneHeight() const { return (m_bottom - m_top - 25) / kLaneCount; }
    // Below the last lane.
    int lanesBottom() const { return laneTop(kLaneCount); }
    int laneTop(int i) const;
    int markerWidth() const { return m_markerW; }
    int markerHeight() const { return m_markerH; }

    int xOf(float ms) const;
    // Held within the lane's limits.
    float valueAt(int lane, int markerX) const;

    // Returns the value the lane holds now (within its limits).
    float setValue(int lane, float ms);

    // A press grabs the first lane whose marker centre lies within 15 pixels in both
    // directions; -1 when none.
    int press(int x, int y);
    // While a lane is grabbed: its marker follows the pointer (centred on it) within the
    // lane's limits. Returns the lane moved, -1 when none is grabbed.
    int drag(int x);
    void release() { m_grabbed = -1; }
    int grabbed() const { return m_grabbed; }

private:
    void place(DelayLane& lane) const;

    std::array<DelayLane, kLaneCount> m_lanes{};
    int m_left = 0;
    int m_top = 0;
    int m_right = 0;
    int m_bottom = 0;
    int m_markerW = 5;
    int m_markerH = 5;
    int m_grabbed = -1;
};

} // namespace quilo
