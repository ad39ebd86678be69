#include "room/gui/CSSVolumePanel.h"

#include "room/gui/FloorPlanRenderer.h"

#include <QMouseEvent>
#include <QPainter>

namespace quilo {

namespace {

PixelPoint pointOf(const QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    return {at.x(), at.y()};
}

} // namespace

CSSVolumePanel::CSSVolumePanel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_plan.setClientRect({0, 0, width(), height()});
}

void CSSVolumePanel::setRoomSize(int widthM, int lengthM) {
    m_plan.setRoomSize(widthM, lengthM);
    update();
}

void CSSVolumePanel::setPosition(int entry, RoomPoint metres) {
    m_plan.setPosition(entry, metres);
    update();
}

void CSSVolumePanel::setLayout(const RoomLayout& layout) {
    m_plan.setLayout(layout);
    update();
}

void CSSVolumePanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    paintFloorPlan(p, m_plan);
}

void CSSVolumePanel::resizeEvent(QResizeEvent*) {
    m_plan.setClientRect({0, 0, width(), height()});
}

void CSSVolumePanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_plan.press(pointOf(event)) == PlanNotice::Picked) {
        const int entry = m_plan.draggedEntry();
        emit entryPicked(entry, m_plan.position(entry));
    }
}

void CSSVolumePanel::mouseMoveEvent(QMouseEvent* event) {
    if (m_plan.move(pointOf(event)) == PlanNotice::Dragged) {
        const int entry = m_plan.draggedEntry();
        emit entryDragged(entry, m_plan.position(entry));
        update();
    }
}

void CSSVolumePanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_plan.release();
    }
}

} // namespace quilo
