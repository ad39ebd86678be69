#include "app/AppIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>
#include <numbers>

namespace quilo {

namespace {

const QColor kInk{36, 84, 140};
const QColor kAccent{232, 140, 30};
const QColor kPaper{255, 255, 255};

void drawApplication(QPainter& p) {
    // A loudspeaker cone with sound waves.
    p.setPen(Qt::NoPen);
    QLinearGradient g(0, 0, 32, 32);
    g.setColorAt(0, QColor(70, 140, 210));
    g.setColorAt(1, QColor(24, 70, 130));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 7, 7);
    p.setBrush(kPaper);
    QPainterPath cone;
    cone.moveTo(6, 12);
    cone.lineTo(11, 12);
    cone.lineTo(17, 6);
    cone.lineTo(17, 26);
    cone.lineTo(11, 20);
    cone.lineTo(6, 20);
    cone.closeSubpath();
    p.drawPath(cone);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kAccent, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(14, 10, 8, 12), -50 * 16, 100 * 16);
    p.drawArc(QRectF(13, 6, 14, 20), -50 * 16, 100 * 16);
}

void drawDocument(QPainter& p, bool save) {
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(kPaper);
    QPainterPath page;
    page.moveTo(7, 3);
    page.lineTo(19, 3);
    page.lineTo(25, 9);
    page.lineTo(25, 29);
    page.lineTo(7, 29);
    page.closeSubpath();
    p.drawPath(page);
    p.drawLine(QPointF(19, 3), QPointF(19, 9));
    p.drawLine(QPointF(19, 9), QPointF(25, 9));
    p.setPen(QPen(kAccent, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (save) {
        p.drawLine(QPointF(16, 12), QPointF(16, 24));
        p.drawPolyline(QPolygonF({QPointF(11, 19), QPointF(16, 24), QPointF(21, 19)}));
    } else {
        p.drawLine(QPointF(16, 24), QPointF(16, 12));
        p.drawPolyline(QPolygonF({QPointF(11, 17), QPointF(16, 12), QPointF(21, 17)}));
    }
}

void drawMode(QPainter& p, bool save) {
    // A memory chip with an arrow in or out.
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(QColor(210, 226, 245));
    p.drawRoundedRect(QRectF(6, 8, 20, 16), 3, 3);
    for (int x = 9; x <= 23; x += 4) {
        p.drawLine(QPointF(x, 4), QPointF(x, 8));
        p.drawLine(QPointF(x, 24), QPointF(x, 28));
    }
    p.setPen(QPen(kAccent, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const qreal tip = save ? 20 : 12;
    const qreal tail = save ? 12 : 20;
    p.drawLine(QPointF(16, tail), QPointF(16, tip));
    const qreal back = save ? tip - 4 : tip + 4;
    p.drawPolyline(QPolygonF({QPointF(12, back), QPointF(16, tip), QPointF(20, back)}));
}

void drawFeatures(QPainter& p) {
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(kAccent);
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 == 0 ? 13 : 5.5;
        const double a = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        star << QPointF(16 + r * std::cos(a), 16.5 + r * std::sin(a));
    }
    p.drawPolygon(star);
}

void drawReset(QPainter& p) {
    p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(6, 6, 20, 20), 120 * 16, -300 * 16);
    p.setPen(QPen(kAccent, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 3), QPointF(16, 15));
}

void drawPlug(QPainter& p) {
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(QColor(235, 240, 248));
    p.drawRoundedRect(QRectF(5, 5, 22, 22), 5, 5);
    p.setBrush(kInk);
    p.drawEllipse(QRectF(10, 12, 4, 6));
    p.drawEllipse(QRectF(18, 12, 4, 6));
    p.setBrush(kAccent);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(14, 21, 4, 4));
}

void drawRemote(QPainter& p) {
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(QColor(235, 240, 248));
    p.drawRoundedRect(QRectF(10, 3, 12, 26), 4, 4);
    p.setBrush(kAccent);
    p.drawEllipse(QRectF(13.5, 6, 5, 5));
    p.setBrush(kInk);
    for (int row = 0; row < 3; ++row) {
        p.drawRect(QRectF(13, 14 + row * 4, 2, 2));
        p.drawRect(QRectF(17, 14 + row * 4, 2, 2));
    }
}

// A phone with waves: the page for phones on the LAN.
void drawPhone(QPainter& p) {
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(QColor(235, 240, 248));
    p.drawRoundedRect(QRectF(6, 4, 13, 24), 3, 3);
    p.setBrush(kAccent);
    p.drawRect(QRectF(8.5, 8, 8, 13));
    p.setPen(QPen(kAccent, 2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(17, 9, 8, 10), -60 * 16, 120 * 16);
    p.drawArc(QRectF(17, 5, 13, 18), -60 * 16, 120 * 16);
}

void drawInput(QPainter& p) {
    p.setPen(QPen(kInk, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(14, 6, 14, 20), 3, 3);
    p.setPen(QPen(kAccent, 2.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(3, 16), QPointF(19, 16));
    p.drawPolyline(QPolygonF({QPointF(14, 11), QPointF(19, 16), QPointF(14, 21)}));
}

void drawLanguage(QPainter& p) {
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(QColor(235, 240, 248));
    p.drawEllipse(QRectF(3, 3, 26, 26));
    p.drawEllipse(QRectF(10, 3, 12, 26));
    p.drawLine(QPointF(3, 16), QPointF(29, 16));
    p.drawLine(QPointF(16, 3), QPointF(16, 29));
}

// A loudspeaker with a falling arrow: the subwoofer steps back while someone sings.
void drawSubDecay(QPainter& p) {
    p.setPen(QPen(kInk, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(235, 240, 248));
    p.drawPolygon(QPolygonF({QPointF(3, 12), QPointF(9, 12), QPointF(16, 5), QPointF(16, 27),
                             QPointF(9, 20), QPointF(3, 20)}));
    p.setPen(QPen(kAccent, 2.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(24, 6), QPointF(24, 25));
    p.drawPolyline(QPolygonF({QPointF(19.5, 20.5), QPointF(24, 25), QPointF(28.5, 20.5)}));
}

void drawAbout(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(QRectF(3, 3, 26, 26));
    p.setBrush(kPaper);
    p.drawEllipse(QRectF(14, 7, 4, 4));
    p.drawRoundedRect(QRectF(14, 13, 4, 12), 1.5, 1.5);
}

void drawTurnArrow(QPainter& p, bool back) {
    // A bent arrow turning left (back) or right (again).
    if (!back) {
        p.translate(32, 0);
        p.scale(-1, 1);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath path;
    path.moveTo(9, 13);
    path.lineTo(20, 13);
    path.cubicTo(30, 13, 30, 27, 20, 27);
    path.lineTo(12, 27);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawPolygon(QPolygonF({QPointF(3, 13), QPointF(12, 5), QPointF(12, 21)}));
}

QPixmap render(AppIcon which, int size) {
    QPixmap pix(size, size);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    switch (which) {
    case AppIcon::Application:
        drawApplication(p);
        break;
    case AppIcon::OpenFile:
        drawDocument(p, false);
        break;
    case AppIcon::SaveFile:
        drawDocument(p, true);
        break;
    case AppIcon::LoadMode:
        drawMode(p, false);
        break;
    case AppIcon::SaveMode:
        drawMode(p, true);
        break;
    case AppIcon::Features:
        drawFeatures(p);
        break;
    case AppIcon::Reset:
        drawReset(p);
        break;
    case AppIcon::SmartPlug:
        drawPlug(p);
        break;
    case AppIcon::Remote:
        drawRemote(p);
        break;
    case AppIcon::Phone:
        drawPhone(p);
        break;
    case AppIcon::InputSource:
        drawInput(p);
        break;
    case AppIcon::Language:
        drawLanguage(p);
        break;
    case AppIcon::About:
        drawAbout(p);
        break;
    case AppIcon::SubDecay:
        drawSubDecay(p);
        break;
    case AppIcon::Undo:
        drawTurnArrow(p, true);
        break;
    case AppIcon::Redo:
        drawTurnArrow(p, false);
        break;
    }
    return pix;
}

} // namespace

QIcon appIcon(AppIcon which) {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) {
        icon.addPixmap(render(which, size));
    }
    return icon;
}

} // namespace quilo
