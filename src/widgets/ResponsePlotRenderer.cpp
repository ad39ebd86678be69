#include "widgets/ResponsePlotRenderer.h"

#include "widgets/WidgetFonts.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>

namespace quilo {

namespace {

const QColor kBackground(18, 22, 32);
const QColor kGrid(52, 58, 74);
const QColor kAxisText(150, 160, 185);
const QColor kHoverLine(220, 220, 220, 120);

constexpr std::array<QRgb, 8> kOutputColours{0xFFFF5A5A, 0xFF5AC8FF, 0xFF7CE05A, 0xFFFFC83C,
                                             0xFFC878FF, 0xFF3CE0C8, 0xFFFF8CC8, 0xFFB4B4FF};
constexpr QRgb kListenerColour = 0xFFFFFFFF;

constexpr int kLeft = 52;
constexpr int kTop = 12;
constexpr int kRight = 12;
constexpr int kBottom = 26;

// A step of the value grid that gives about six lines.
double gridStep(double span) {
    const double raw = span / 6.0;
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0, 10.0}) {
        if (m * decade >= raw) {
            return m * decade;
        }
    }
    return 10.0 * decade;
}

QString freqLabel(double f) {
    return f >= 1000.0 ? QStringLiteral("%1k").arg(f / 1000.0) : QString::number(f);
}

const char* unitOf(ResponseView view) {
    switch (view) {
    case ResponseView::Magnitude:
        return "dB";
    case ResponseView::Phase:
        return "°";
    case ResponseView::GroupDelay:
        return "ms";
    }
    return "";
}

void paintGrid(QPainter& p, const ResponsePlotAxes& a, ResponseView view) {
    p.setFont(tahomaFont(11));
    p.setPen(kAxisText);
    p.drawText(QRectF(0, a.area.bottom() + 4, kLeft - 6, 16), Qt::AlignRight | Qt::AlignTop,
               QString::fromUtf8(unitOf(view)));
    p.setPen(kGrid);
    for (double decade = 10.0; decade <= 10000.0; decade *= 10.0) {
        for (int m = 1; m < 10; ++m) {
            const double f = decade * m;
            if (f < a.fMin || f > a.fMax) {
                continue;
            }
            const double x = a.x(f);
            p.drawLine(QPointF(x, a.area.top()), QPointF(x, a.area.bottom()));
        }
    }
    p.setPen(kAxisText);
    for (const double f :
         {20.0, 50.0, 100.0, 200.0, 500.0, 1000.0, 2000.0, 5000.0, 10000.0, 20000.0}) {
        const QRectF box(a.x(f) - 24, a.area.bottom() + 4, 48, 16);
        p.drawText(box, Qt::AlignHCenter | Qt::AlignTop, freqLabel(f));
    }
    const double step = gridStep(a.vMax - a.vMin);
    for (double v = std::ceil(a.vMin / step) * step; v <= a.vMax + 1e-9; v += step) {
        const double y = a.y(v);
        p.setPen(kGrid);
        p.drawLine(QPointF(a.area.left(), y), QPointF(a.area.right(), y));
        p.setPen(kAxisText);
        p.drawText(QRectF(0, y - 8, kLeft - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(v, 'g', 4));
    }
}

// One curve as a polyline; the wrapped phase breaks where it jumps round the circle.
void paintCurve(QPainter& p, const ResponsePlotAxes& a, const ShownCurve& curve,
                const std::vector<double>& freqs, ResponseView view, const QColor& colour) {
    QPainterPath path;
    bool open = false;
    double last = 0.0;
    for (std::size_t i = 0; i < freqs.size() && i < curve.points.size(); ++i) {
        const double v = viewValue(curve.points[i], view);
        const QPointF at(a.x(freqs[i]), a.y(std::clamp(v, a.vMin - 1e3, a.vMax + 1e3)));
        const bool jump = view == ResponseView::Phase && std::abs(v - last) > 180.0;
        if (!open || jump) {
            path.moveTo(at);
            open = true;
        } else {
            path.lineTo(at);
        }
        last = v;
    }
    p.setPen(QPen(colour, curve.source == kListenerCurve ? 2.5 : 1.5));
    p.drawPath(path);
}

void paintReadout(QPainter& p, const ResponsePlotAxes& a, const ResponsePlotView& v) {
    const double x = a.x(v.shown->freqs[static_cast<std::size_t>(v.hoverPoint)]);
    p.setPen(QPen(kHoverLine, 1.0, Qt::DashLine));
    p.drawLine(QPointF(x, a.area.top()), QPointF(x, a.area.bottom()));
    if (v.readout.isEmpty()) {
        return;
    }
    p.setFont(tahomaFont(12));
    const QFontMetrics fm = p.fontMetrics();
    int width = 0;
    for (const QString& line : v.readout) {
        width = std::max(width, fm.horizontalAdvance(line));
    }
    const int lineHeight = fm.height();
    QRectF box(0, a.area.top() + 6, width + 16, lineHeight * v.readout.size() + 8);
    // Beside the cursor, on whichever side has room.
    box.moveLeft(x + 10 + box.width() < a.area.right() ? x + 10 : x - 10 - box.width());
    p.fillRect(box, QColor(0, 0, 0, 190));
    for (int i = 0; i < v.readout.size(); ++i) {
        // Line 0 is the frequency; line i names curve i - 1 in its colour.
        const bool curveLine = i > 0 && static_cast<std::size_t>(i - 1) < v.colours.size();
        p.setPen(curveLine ? v.colours[static_cast<std::size_t>(i - 1)] : QColor(Qt::white));
        p.drawText(QPointF(box.left() + 8, box.top() + 4 + fm.ascent() + i * lineHeight),
                   v.readout[i]);
    }
}

} // namespace

double ResponsePlotAxes::x(double freqHz) const {
    return area.left() + area.width() * std::log(freqHz / fMin) / std::log(fMax / fMin);
}

double ResponsePlotAxes::y(double value) const {
    return area.top() + area.height() * (vMax - value) / (vMax - vMin);
}

double ResponsePlotAxes::freqAt(double px) const {
    return fMin * std::pow(fMax / fMin, (px - area.left()) / area.width());
}

ResponsePlotAxes responsePlotAxes(QSize client, const ResponsePlotView& view) {
    ResponsePlotAxes a;
    a.area = QRectF(kLeft, kTop, std::max(1, client.width() - kLeft - kRight),
                    std::max(1, client.height() - kTop - kBottom));
    switch (view.view) {
    case ResponseView::Magnitude:
        a.vMin = -40.0;
        a.vMax = 20.0;
        break;
    case ResponseView::Phase:
        a.vMin = -180.0;
        a.vMax = 180.0;
        break;
    case ResponseView::GroupDelay: {
        double lo = 0.0;
        double hi = 1.0;
        if (view.shown) {
            for (const ShownCurve& c : view.shown->curves) {
                for (const ResponseReading& r : c.points) {
                    lo = std::min(lo, r.groupDelayMs);
                    hi = std::max(hi, r.groupDelayMs);
                }
            }
        }
        const double step = gridStep(hi - lo);
        a.vMin = std::floor(lo / step) * step;
        a.vMax = std::ceil(hi / step) * step;
        break;
    }
    }
    return a;
}

QColor responseCurveColour(int source) {
    if (source < 0 || source >= static_cast<int>(kOutputColours.size())) {
        return QColor::fromRgba(kListenerColour);
    }
    return QColor::fromRgba(kOutputColours[static_cast<std::size_t>(source)]);
}

void paintResponsePlot(QPainter& p, QSize client, const ResponsePlotView& v) {
    p.fillRect(QRect(QPoint(0, 0), client), kBackground);
    const ResponsePlotAxes a = responsePlotAxes(client, v);
    paintGrid(p, a, v.view);
    if (!v.shown || v.shown->curves.empty()) {
        p.setPen(kAxisText);
        p.setFont(tahomaFont(13));
        p.drawText(a.area, Qt::AlignCenter, v.emptyText);
        return;
    }
    p.setRenderHint(QPainter::Antialiasing, true);
    p.save();
    p.setClipRect(a.area);
    for (std::size_t i = 0; i < v.shown->curves.size(); ++i) {
        const QColor colour = i < v.colours.size() ? v.colours[i] : QColor(Qt::white);
        paintCurve(p, a, v.shown->curves[i], v.shown->freqs, v.view, colour);
    }
    p.restore();
    if (v.hoverPoint >= 0 && static_cast<std::size_t>(v.hoverPoint) < v.shown->freqs.size()) {
        paintReadout(p, a, v);
    }
}

} // namespace quilo
