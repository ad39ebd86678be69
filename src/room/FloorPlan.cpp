#include "room/FloorPlan.h"

namespace quilo {

FloorPlan::FloorPlan() {
    setLayout(RoomLayout{});
}

void FloorPlan::setClientRect(PixelRect client) {
    m_geometry.client = client;
    placeAll();
}

void FloorPlan::setRoomSize(int widthM, int lengthM) {
    m_layout.roomWidth = clampRoomSize(widthM);
    m_layout.roomLength = clampRoomSize(lengthM);
    m_geometry.roomWidth = static_cast<float>(m_layout.roomWidth);
    m_geometry.roomLength = static_cast<float>(m_layout.roomLength);
    placeAll();
}

void FloorPlan::setPosition(int entry, RoomPoint metres) {
    if (!RoomLayout::isEntry(entry)) {
        return;
    }
    m_layout.setPosition(entry, metres);
    m_pixels[static_cast<std::size_t>(entry)] = m_geometry.toPixels(metres);
}

void FloorPlan::setLayout(const RoomLayout& layout) {
    m_layout = layout;
    setRoomSize(layout.roomWidth, layout.roomLength);
}

PixelPoint FloorPlan::pixel(int entry) const {
    return m_pixels[static_cast<std::size_t>(RoomLayout::isEntry(entry) ? entry : 0)];
}

int FloorPlan::entryAt(PixelPoint mouse) const {
    for (int entry = 0; entry < RoomLayout::kEntries; ++entry) {
        if (FloorPlanGeometry::hits(mouse, m_pixels[static_cast<std::size_t>(entry)])) {
            return entry;
        }
    }
    return -1;
}

PlanNotice FloorPlan::press(PixelPoint mouse) {
    const int entry = entryAt(mouse);
    if (m_dragging || entry < 0) {
        return PlanNotice::None;
    }
    m_dragEntry = entry;
    m_dragging = true;
    return PlanNotice::Picked;
}

PlanNotice FloorPlan::move(PixelPoint mouse) {
    if (!m_dragging) {
        return PlanNotice::None;
    }
    const auto metres = m_geometry.dragTo(mouse);
    if (!metres) {
        return PlanNotice::None;
    }
    setPosition(m_dragEntry, *metres);
    return PlanNotice::Dragged;
}

void FloorPlan::release() {
    m_dragging = false;
}

void FloorPlan::placeAll() {
    for (int entry = 0; entry < RoomLayout::kEntries; ++entry) {
        m_pixels[static_cast<std::size_t>(entry)] = m_geometry.toPixels(m_layout.position(entry));
    }
}

} // namespace quilo
