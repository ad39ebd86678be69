#include "widgets/DelayLanes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace quilo {

void DelayLanes::layout(int left, int top, int right, int bottom, int markerWidth,
                        int markerHeight) {
    m_left = left;
    m_top = top;
    m_right = right;
    m_bottom = bottom;
    m_markerW = markerWidth;
    m_markerH = markerHeight;
    for (int i = 0; i < kLaneCount; ++i) {
        DelayLane& l = m_lanes[static_cast<std::size_t>(i)];
        l.index = i;
        l.top = laneTop(i);
        place(l);
    }
}

int DelayLanes::laneTop(int i) const {
    return static_cast<int>(
        std::lround(m_top + 5 + i * static_cast<double>(m_bottom - m_top - 25) / kLaneCount));
}

int DelayLanes::xOf(float ms) const {
    return scaleX0() +
           static_cast<int>(std::fabs(scaleWidth() * (ms - kScaleMin) / (kScaleMax - kScaleMin)));
}

float DelayLanes::valueAt(int lane, int markerX) const {
    const DelayLane& l = m_lanes[static_cast<std::size_t>(lane)];
    const int w = scaleWidth();
    const float v =
        w > 0 ? static_cast<float>(markerX - m_left - kScaleLeft) * (kScaleMax - kScaleMin) / w +
                    kScaleMin
              : l.lower;
    return std::clamp(v, l.lower, l.upper);
}

void DelayLanes::place(DelayLane& l) const {
    l.markerX = xOf(l.value);
}

float DelayLanes::setValue(int lane, float ms) {
    if (!isLane(lane)) {
        return 0.0f;
    }
    DelayLane& l = m_lanes[static_cast<std::size_t>(lane)];
    l.value = std::isfinite(ms) ? std::clamp(ms, l.lower, l.upper) : l.lower;
    place(l);
    return l.value;
}

int DelayLanes::press(int x, int y) {
    m_grabbed = -1;
    const int half = laneHeight() / 2;
    for (const DelayLane& l : m_lanes) {
        if (std::abs(x - (l.markerX + m_markerW / 2)) < kGrabRange &&
            std::abs(y - (l.top + half)) < kGrabRange) {
            m_grabbed = l.index;
            break;
        }
    }
    return m_grabbed;
}

int DelayLanes::drag(int x) {
    if (!isLane(m_grabbed)) {
        return -1;
    }
    DelayLane& l = m_lanes[static_cast<std::size_t>(m_grabbed)];
    l.value = valueAt(m_grabbed, x - m_markerW / 2);
    place(l);
    return m_grabbed;
}

} // namespace quilo
