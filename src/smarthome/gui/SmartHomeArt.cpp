#include "smarthome/gui/SmartHomeArt.h"

#include <QPainter>
#include <QPainterPath>

namespace quilo {

namespace {

QPixmap canvas(int size) {
    QPixmap p(size, size);
    p.fill(Qt::transparent);
    return p;
}

// A wall plug seen from the front: rounded body with two pins' holes.
void drawPlugBody(QPainter& p, const QRectF& r, const QColor& body) {
    p.setPen(QPen(body.darker(140), r.width() * 0.04));
    p.setBrush(body);
    p.drawRoundedRect(r, r.width() * 0.18, r.width() * 0.18);
    p.setBrush(QColor(60, 60, 60));
    p.setPen(Qt::NoPen);
    const qreal hole = r.width() * 0.1;
    p.drawEllipse(QRectF(r.left() + r.width() * 0.28, r.top() + r.height() * 0.3, hole, hole));
    p.drawEllipse(
        QRectF(r.right() - r.width() * 0.28 - hole, r.top() + r.height() * 0.3, hole, hole));
}

void drawPowerSymbol(QPainter& p, const QRectF& r, const QColor& colour, qreal width) {
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(r, 120 * 16, 300 * 16);
    p.drawLine(QPointF(r.center().x(), r.top() - width * 0.3),
               QPointF(r.center().x(), r.center().y()));
}

} // namespace

QPixmap plugIcon(int type, int size) {
    QPixmap pix = canvas(size);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const QRectF body(s * 0.12, s * 0.08, s * 0.76, s * 0.76);
    const QColor colour = type == 1   ? QColor(70, 150, 230)
                          : type == 2 ? QColor(240, 170, 40)
                                      : QColor(170, 170, 170);
    drawPlugBody(p, body, colour);
    const QRectF mark(s * 0.36, s * 0.52, s * 0.28, s * 0.28);
    if (type == 1) {
        drawPowerSymbol(p, mark, Qt::white, s * 0.05);
    } else if (type == 2) {
        // A dimmer: a knob with its pointer.
        p.setPen(QPen(Qt::white, s * 0.04));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(mark);
        p.drawLine(mark.center(), QPointF(mark.right() - s * 0.03, mark.top() + s * 0.05));
    }
    // The cord.
    p.setPen(QPen(colour.darker(150), s * 0.06, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(s * 0.5, body.bottom()), QPointF(s * 0.5, s * 0.96));
    return pix;
}

QPixmap switchFace(bool on, int size) {
    QPixmap pix = canvas(size);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const QColor colour = on ? QColor(40, 170, 80) : QColor(200, 60, 50);
    QRadialGradient glow(QPointF(s * 0.45, s * 0.4), s * 0.55);
    glow.setColorAt(0, colour.lighter(150));
    glow.setColorAt(1, colour);
    p.setPen(QPen(colour.darker(140), s * 0.03));
    p.setBrush(glow);
    p.drawEllipse(QRectF(s * 0.06, s * 0.06, s * 0.88, s * 0.88));
    drawPowerSymbol(p, QRectF(s * 0.3, s * 0.3, s * 0.4, s * 0.4), Qt::white, s * 0.07);
    return pix;
}

QPixmap sceneFace(bool powerOn, int size) {
    QPixmap pix = canvas(size);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    // A screen with the power sign: the home theatre going on or off.
    const QColor frame = powerOn ? QColor(40, 120, 200) : QColor(90, 90, 100);
    p.setPen(QPen(frame.darker(130), s * 0.03));
    p.setBrush(powerOn ? QColor(200, 230, 255) : QColor(60, 60, 70));
    p.drawRoundedRect(QRectF(s * 0.06, s * 0.1, s * 0.88, s * 0.62), s * 0.06, s * 0.06);
    p.setPen(QPen(frame.darker(130), s * 0.06, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(s * 0.5, s * 0.72), QPointF(s * 0.5, s * 0.84));
    p.drawLine(QPointF(s * 0.3, s * 0.88), QPointF(s * 0.7, s * 0.88));
    drawPowerSymbol(p, QRectF(s * 0.36, s * 0.26, s * 0.28, s * 0.28),
                    powerOn ? QColor(40, 170, 80) : QColor(220, 70, 60), s * 0.06);
    return pix;
}

} // namespace quilo
