#include "widgets/PanelIcons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace quilo {

void paintDelayMarker(QPainter& p, QPointF at, QColor colour) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const qreal w = kDelayMarkerSize.width();
    const qreal h = kDelayMarkerSize.height();
    QPainterPath flag(at);
    flag.lineTo(at.x() + w, at.y() + h * 0.3);
    flag.lineTo(at.x(), at.y() + h * 0.6);
    flag.closeSubpath();
    p.setPen(QPen(colour.darker(160), 1));
    p.setBrush(colour);
    p.drawPath(flag);
    p.setPen(QPen(colour, 1.5));
    p.drawLine(QPointF(at.x() + 0.75, at.y()), QPointF(at.x() + 0.75, at.y() + h));
    p.restore();
}

void paintListenerIcon(QPainter& p, QPointF c) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const qreal r = kListenerIconSize / 2.0;
    // A seated person seen from above: shoulders and head, facing the front (up).
    QRadialGradient body(c + QPointF(-3, -3), r);
    body.setColorAt(0, QColor(255, 214, 120));
    body.setColorAt(1, QColor(214, 140, 30));
    p.setPen(QPen(QColor(90, 60, 10), 1.2));
    p.setBrush(body);
    p.drawEllipse(QRectF(c.x() - r, c.y() - r * 0.45, 2 * r, r * 1.1));
    QRadialGradient head(c + QPointF(-2, -6), r * 0.6);
    head.setColorAt(0, QColor(255, 236, 200));
    head.setColorAt(1, QColor(230, 180, 120));
    p.setBrush(head);
    p.drawEllipse(c + QPointF(0, -r * 0.3), r * 0.45, r * 0.45);
    // The nose shows where the listener faces.
    p.setBrush(QColor(90, 60, 10));
    p.setPen(Qt::NoPen);
    QPainterPath nose(c + QPointF(-2.5, -r * 0.7));
    nose.lineTo(c + QPointF(2.5, -r * 0.7));
    nose.lineTo(c + QPointF(0, -r * 0.95));
    nose.closeSubpath();
    p.drawPath(nose);
    p.restore();
}

void paintSpeakerIcon(QPainter& p, QPointF c) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const qreal s = kSpeakerIconSize;
    const QRectF box(c.x() - s * 0.38, c.y() - s / 2, s * 0.76, s);
    QLinearGradient cabinet(box.topLeft(), box.topRight());
    cabinet.setColorAt(0, QColor(70, 74, 86));
    cabinet.setColorAt(1, QColor(28, 30, 38));
    p.setPen(QPen(QColor(150, 156, 170), 1));
    p.setBrush(cabinet);
    p.drawRoundedRect(box, 3, 3);
    // Woofer and tweeter.
    QRadialGradient cone(c + QPointF(0, s * 0.16), s * 0.28);
    cone.setColorAt(0, QColor(120, 126, 140));
    cone.setColorAt(0.6, QColor(40, 42, 50));
    cone.setColorAt(1, QColor(160, 166, 180));
    p.setBrush(cone);
    p.setPen(QPen(QColor(170, 176, 190), 0.8));
    p.drawEllipse(c + QPointF(0, s * 0.16), s * 0.26, s * 0.26);
    p.setBrush(QColor(190, 196, 210));
    p.drawEllipse(c + QPointF(0, -s * 0.3), s * 0.08, s * 0.08);
    p.restore();
}

} // namespace quilo
