#include "room/gui/FloorPlanRenderer.h"

#include "room/FloorPlan.h"
#include "widgets/PanelIcons.h"
#include "widgets/WidgetFonts.h"

#include <QPainter>

#include <algorithm>
#include <array>

namespace quilo {

namespace {

const QColor kBackground(18, 22, 32);
const QColor kEdgeLine(128, 128, 128);
const QColor kInnerLine(64, 64, 64);
const QColor kText(73, 90, 151);
constexpr int kGridFontPx = 11;
constexpr int kNumberFontPx = 16; // 12 points
constexpr int kLabelFontPx = 11;  // 8 points

// The labels under the loudspeakers, in plan order.
constexpr std::array<const char*, 8> kPlanLabels{"前置左(L)",     "中置(CEN)",   "前置右(R)",
                                                 "后环绕左(SBL)", "超低(SUB)",   "后环绕右(SBR)",
                                                 "侧环绕左(SL)",  "侧环绕右(SR)"};

// Each loudspeaker's number has a colour of its own.
constexpr std::array<QRgb, 8> kNumberColors{
    qRgb(255, 221, 87),  qRgb(120, 230, 255), qRgb(255, 160, 60), qRgb(140, 170, 255),
    qRgb(255, 120, 200), qRgb(190, 150, 255), qRgb(90, 240, 190), qRgb(170, 255, 90)};

// Below the loudspeaker, centred on it, but always inside the plan: a loudspeaker at the
// room's edge keeps its whole label (above it at the bottom edge).
QRect speakerLabelRect(const QFontMetrics& fm, const QString& text, QPointF centre,
                       const PixelRect& area) {
    const int w = fm.horizontalAdvance(text) + 2;
    const int h = fm.height();
    const int half = kSpeakerIconSize / 2;
    const int left = std::clamp(static_cast<int>(centre.x()) - w / 2, area.left,
                                std::max(area.left, area.right - w));
    int top = static_cast<int>(centre.y()) + half + 1;
    if (top + h > area.bottom) {
        top = static_cast<int>(centre.y()) - half - 1 - h;
    }
    return QRect(left, std::max(top, area.top), w, h);
}

} // namespace

void paintFloorPlan(QPainter& p, const FloorPlan& plan) {
    const FloorPlanGeometry& g = plan.geometry();
    const QRect client(g.client.left, g.client.top, g.client.width(), g.client.height());
    p.fillRect(client, kBackground);
    const PixelRect area = g.area();

    p.setRenderHint(QPainter::Antialiasing, false);
    p.setFont(tahomaFont(kGridFontPx));
    const QFontMetrics fm(p.font());
    for (const GridLine& line : g.gridLines()) {
        p.setPen(line.edge ? kEdgeLine : kInnerLine);
        const QString label = QString::fromStdString(line.label);
        if (line.horizontal) {
            p.drawLine(area.left, line.pixel, area.right, line.pixel);
            p.setPen(kText);
            // An edge label of an odd size ("+2.5m") may be wider than the margin: it then
            // starts at the left, sign included, rather than losing its first characters.
            const int room = area.left - client.left() - 2;
            p.drawText(QRect(client.left(), line.pixel - fm.height() / 2,
                             std::max(room, fm.horizontalAdvance(label)), fm.height()),
                       Qt::AlignRight | Qt::AlignVCenter, label);
        } else {
            p.drawLine(line.pixel, area.top, line.pixel, area.bottom);
            p.setPen(kText);
            const int w = fm.horizontalAdvance(label) + 4;
            p.drawText(QRect(line.pixel - w / 2, area.bottom + 2, w, fm.height()),
                       Qt::AlignHCenter | Qt::AlignTop, label);
        }
    }

    const PixelPoint listener = plan.pixel(0);
    paintListenerIcon(p, QPointF(listener.x, listener.y));

    QFont number = arialFont(kNumberFontPx);
    number.setBold(true);
    const QFont label = arialFont(kLabelFontPx);
    for (int k = 0; k < 8; ++k) {
        const PixelPoint at = plan.pixel(k + 1);
        const QPointF centre(at.x, at.y);
        paintSpeakerIcon(p, centre);
        p.setFont(number);
        p.setPen(QColor(kNumberColors[static_cast<std::size_t>(k)]));
        p.drawText(QRectF(centre.x() - 12, centre.y() - 12, 24, 24), Qt::AlignCenter,
                   QString::number(k + 1));
        p.setFont(label);
        p.setPen(QColor(200, 206, 220));
        const QString text = QString::fromUtf8(kPlanLabels[static_cast<std::size_t>(k)]);
        p.drawText(speakerLabelRect(QFontMetrics(label), text, centre, area), Qt::AlignCenter,
                   text);
    }
}

} // namespace quilo
