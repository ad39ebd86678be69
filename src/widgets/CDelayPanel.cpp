#include "widgets/CDelayPanel.h"

#include "widgets/PanelIcons.h"
#include "widgets/WidgetFonts.h"

#include <QMouseEvent>
#include <QPainter>

#include <array>

namespace quilo {

namespace {

constexpr std::array<QRgb, DelayLanes::kLaneCount> kLaneColors{
    qRgb(227, 207, 87), qRgb(176, 224, 230), qRgb(255, 153, 18), qRgb(65, 105, 225),
    qRgb(235, 141, 85), qRgb(106, 90, 205),  qRgb(65, 225, 208), qRgb(127, 255, 0)};
const QColor kOuterLine(128, 128, 128);
const QColor kInnerLine(64, 64, 64);
const QColor kBackground(12, 14, 20);
constexpr int kFontPx = 12;
constexpr int kScaleStepMs = 20;

QString msText(float ms) {
    return QString::asprintf("%.1fms", static_cast<double>(ms));
}

} // namespace

CDelayPanel::CDelayPanel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(songFont(kFontPx));
    for (int i = 0; i < DelayLanes::kLaneCount; ++i) {
        m_lanes.setValue(i, DelayLanes::kScaleMin);
    }
    relayout();
}

QColor CDelayPanel::laneColor(int lane) {
    return QColor(kLaneColors[static_cast<std::size_t>(lane) % kLaneColors.size()]);
}

float CDelayPanel::setLaneValue(int lane, float ms) {
    const float v = m_lanes.setValue(lane, ms);
    update();
    return v;
}

void CDelayPanel::relayout() {
    m_lanes.layout(0, 0, width(), height(), kDelayMarkerSize.width(), kDelayMarkerSize.height());
}

void CDelayPanel::resizeEvent(QResizeEvent*) {
    relayout();
    m_background = QPixmap();
}

const QPixmap& CDelayPanel::background(qreal dpr) {
    if (!m_background.isNull() && m_background.devicePixelRatio() == dpr) {
        return m_background;
    }
    m_background = QPixmap(size() * dpr);
    m_background.setDevicePixelRatio(dpr);
    m_background.fill(kBackground);
    QPainter p(&m_background);
    p.setFont(font());
    const int x0 = m_lanes.scaleX0();
    const int right = width() - 18;
    for (int i = 0; i <= DelayLanes::kLaneCount; ++i) {
        const bool outer = i == 0 || i == DelayLanes::kLaneCount;
        p.setPen(outer ? kOuterLine : kInnerLine);
        const int y = m_lanes.laneTop(i);
        p.drawLine(x0, y, right, y);
    }
    const int laneH = m_lanes.laneHeight();
    for (int i = 0; i < DelayLanes::kLaneCount; ++i) {
        p.setPen(laneColor(i));
        p.drawText(QRect(0, m_lanes.laneTop(i), x0 - 5, laneH), Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("通道(CH)%1").arg(i + 1));
    }
    const QFontMetrics fm(font());
    const int labelY = m_lanes.lanesBottom() + 5;
    for (int ms = 0; ms <= 100; ms += kScaleStepMs) {
        const int x = m_lanes.xOf(static_cast<float>(ms));
        if (ms == 0 || ms == 100) {
            p.setPen(kOuterLine);
            p.drawLine(x, m_lanes.laneTop(0), x, m_lanes.lanesBottom());
        }
        const QString label = msText(static_cast<float>(ms));
        const int w = fm.horizontalAdvance(label);
        p.setPen(kOuterLine);
        p.drawText(QRect(x - w / 2 - 2, labelY, w + 4, fm.height()), Qt::AlignCenter, label);
    }
    return m_background;
}

void CDelayPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(0, 0, background(devicePixelRatioF()));
    p.setFont(font());
    const QFontMetrics fm(font());
    const int laneH = m_lanes.laneHeight();
    const int markerH = m_lanes.markerHeight();
    const int bottom = m_lanes.lanesBottom();
    for (int i = 0; i < DelayLanes::kLaneCount; ++i) {
        const DelayLane& lane = m_lanes.lane(i);
        const QColor colour = laneColor(i);
        const int y = lane.top + (laneH - markerH - fm.height()) / 2;
        const qreal mid = y + markerH / 2.0;
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(colour, 1, Qt::DashLine));
        p.drawLine(QPointF(m_lanes.scaleX0(), mid), QPointF(lane.markerX, mid));
        QColor faint = colour;
        faint.setAlpha(m_lanes.grabbed() == i ? 0x80 : 0x40);
        p.setPen(QPen(faint, 1));
        p.drawLine(QPointF(lane.markerX, mid), QPointF(lane.markerX, bottom));
        paintDelayMarker(p, QPointF(lane.markerX, y), colour);
        p.setPen(colour);
        p.drawText(QPoint(lane.markerX + m_lanes.markerWidth() + 2, y + markerH + fm.ascent()),
                   msText(lane.value));
    }
}

void CDelayPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint at = event->position().toPoint();
    if (m_lanes.press(at.x(), at.y()) >= 0) {
        update();
    }
}

void CDelayPanel::mouseMoveEvent(QMouseEvent* event) {
    const int lane = m_lanes.drag(event->position().toPoint().x());
    if (lane >= 0) {
        emit delayLaneMoved(lane, m_lanes.lane(lane).value);
        update();
    }
}

void CDelayPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_lanes.grabbed() >= 0) {
        m_lanes.release();
        update();
    }
}

} // namespace quilo
