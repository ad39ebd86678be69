#include "widgets/CompressorRenderer.h"

#include "widgets/WidgetFonts.h"

#include <QPainter>
#include <QPainterPath>

namespace quilo {

namespace {

const QColor kGrid(0, 110, 0);
const QColor kLabel(255, 255, 0);
const QColor kCurve = QColor::fromRgba(0xFF00CFFF);
const QColor kThresholdDot = QColor::fromRgba(0xC8FF0A0A);
const QColor kShade = QColor::fromRgba(0x41787878);
const QColor kOff(0, 150, 255);
constexpr int kLabelPx = 12;
constexpr int kOffPx = 53; // 40 points
constexpr float kDotRadius = 4.0f;

} // namespace

void paintCompressorGrid(QPainter& p, QSize client) {
    const CompressorCurveGeometry g = compressorGeometry(client.width(), client.height());
    p.fillRect(QRect(QPoint(0, 0), client), Qt::black);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setFont(songFont(kLabelPx));
    const QFontMetrics fm(p.font());
    const float bottom = CompressorCurveGeometry::kTop + g.height;
    const int labelY = client.height() - 23;
    for (const CompressorGridLine& line : g.grid()) {
        const QString label = QString::fromStdString(line.label);
        p.setPen(QPen(kGrid, 1));
        if (line.vertical) {
            p.drawLine(QPointF(line.pixel, CompressorCurveGeometry::kTop),
                       QPointF(line.pixel, bottom));
            const int w = fm.horizontalAdvance(label);
            p.setPen(kLabel);
            p.drawText(QRectF(line.pixel - w / 2.0 - 2, labelY, w + 4, fm.height()),
                       Qt::AlignHCenter | Qt::AlignTop, label);
        } else {
            p.drawLine(QPointF(CompressorCurveGeometry::kLeft, line.pixel),
                       QPointF(client.width() - 20, line.pixel));
            p.setPen(kLabel);
            p.drawText(QRectF(0, line.pixel - fm.height() / 2.0, 38, fm.height()),
                       Qt::AlignRight | Qt::AlignVCenter, label);
        }
    }
}

void paintCompressorCurve(QPainter& p, QSize client, const CompressorShape& shape, bool enabled) {
    const CompressorCurveGeometry g = compressorGeometry(client.width(), client.height());
    const auto c = g.curve(shape);
    p.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath path(QPointF(c[0].x, c[0].y));
    for (std::size_t i = 1; i < c.size(); ++i) {
        path.lineTo(c[i].x, c[i].y);
    }
    p.setPen(QPen(kCurve, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(kThresholdDot);
    p.drawEllipse(QPointF(c[2].x, c[2].y), kDotRadius, kDotRadius);
    p.fillRect(
        QRectF(CompressorCurveGeometry::kLeft, g.shadeTop(shape), g.width, g.shadeHeight(shape)),
        kShade);
    if (!enabled) {
        p.setFont(heiFont(kOffPx));
        p.setPen(kOff);
        p.drawText(QRect(QPoint(0, 0), client), Qt::AlignCenter, QStringLiteral("OFF"));
    }
}

} // namespace quilo
