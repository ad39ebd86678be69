#include "widgets/CCompressPanelPlus.h"

#include "widgets/CompressorRenderer.h"

#include <QPainter>

namespace quilo {

CCompressPanelPlus::CCompressPanelPlus(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CCompressPanelPlus::setEnabledFlag(int enabled) {
    m_enabled = enabled;
    update();
}

void CCompressPanelPlus::setThreshold(float db) {
    m_shape.thresholdDb = db;
    update();
}

void CCompressPanelPlus::setLowerCorner(float db) {
    m_shape.lowerCornerDb = db;
    update();
}

void CCompressPanelPlus::setHighSlope(float slope) {
    m_shape.highSlope = slope;
    update();
}

void CCompressPanelPlus::setLowSlope(float slope) {
    m_shape.lowSlope = slope;
    update();
}

const QPixmap& CCompressPanelPlus::grid(qreal dpr) {
    if (m_grid.isNull() || m_grid.devicePixelRatio() != dpr) {
        m_grid = QPixmap(size() * dpr);
        m_grid.setDevicePixelRatio(dpr);
        QPainter p(&m_grid);
        paintCompressorGrid(p, size());
    }
    return m_grid;
}

void CCompressPanelPlus::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(0, 0, grid(devicePixelRatioF()));
    paintCompressorCurve(p, size(), m_shape, m_enabled != 0);
}

void CCompressPanelPlus::resizeEvent(QResizeEvent*) {
    m_grid = QPixmap();
}

} // namespace quilo
