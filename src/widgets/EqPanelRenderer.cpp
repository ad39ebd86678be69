#include "widgets/EqPanelRenderer.h"

#include "dsp/EqPlotGeometry.h"
#include "widgets/CardinalSpline.h"
#include "widgets/EqTexts.h"
#include "widgets/WidgetFonts.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace quilo {

namespace {

constexpr std::array<QRgb, 20> kBandColors{
    qRgb(250, 100, 180), qRgb(255, 80, 255),  qRgb(80, 80, 255),  qRgb(80, 255, 100),
    qRgb(255, 255, 100), qRgb(255, 100, 100), qRgb(255, 180, 20), qRgb(255, 100, 180),
    qRgb(180, 100, 255), qRgb(140, 180, 255), qRgb(20, 180, 255), qRgb(80, 255, 255),
    qRgb(40, 255, 160),  qRgb(20, 90, 250),   qRgb(80, 255, 255), qRgb(255, 255, 20),
    qRgb(80, 100, 255),  qRgb(20, 255, 80),   qRgb(80, 255, 40),  qRgb(180, 255, 20),
};

constexpr std::array<double, 30> kGridFrequencies{
    18,  20,  30,  40,   50,   60,   70,   80,   90,   100,  200,  300,  400,   500,   600,
    700, 800, 900, 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 20000, 23000};

struct FreqLabel {
    double freq;
    const char* text;
};
constexpr std::array<FreqLabel, 10> kFreqLabels{{{20, "20Hz"},
                                                 {50, "50Hz"},
                                                 {100, "100Hz"},
                                                 {200, "200Hz"},
                                                 {500, "500Hz"},
                                                 {1000, "1kHz"},
                                                 {2000, "2kHz"},
                                                 {5000, "5kHz"},
                                                 {10000, "10kHz"},
                                                 {20000, "20kHz"}}};

const QColor kBackground(20, 20, 20);
const QColor kGridLine(64, 64, 64);
const QColor kGridText(128, 128, 128);
const QColor kCaption(180, 180, 180);
const QColor kValue(16, 255, 16);
const QColor kInfoGreen = QColor::fromRgba(0xFF00FF00);
const QColor kMarker = QColor::fromRgba(0xFFFF0000);
const QColor kLabelPlate(20, 20, 20, 225);

// Pixel sizes of the faces at 96 dpi: 8.4 pt labels, 8 pt handle numbers, 9 pt info
// line; the value labels use a slightly smaller face so their 9-pixel rows stay apart.
constexpr int kGridFontPx = 11;
constexpr int kNumberFontPx = 10;
constexpr int kInfoFontPx = 12;
constexpr int kValueFontPx = 9;
constexpr int kTitleFontPx = 13;
constexpr int kBypassFontPx = 72;

constexpr double kPeakRing = 18.0;
constexpr double kHandle = 14.0;
// Pass types are shaded down to a line this far below the plot, outside the clip.
constexpr double kPassBaselineBelow = 20.0;

// printf formatting with the C library's rules (QString::asprintf drops the sign of -0).
__attribute__((format(printf, 1, 2))) QString cFormat(const char* format, ...) {
    char buffer[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return QString::fromUtf8(buffer);
}

QColor withAlpha(QColor c, int alpha) {
    c.setAlpha(alpha);
    return c;
}

// Text whose layout box has its top-left corner at (x, y).
void drawTextAt(QPainter& p, double x, double y, const QString& s) {
    p.drawText(QPointF(x, y + QFontMetricsF(p.font()).ascent()), s);
}

double textWidth(const QFont& font, const QString& s) {
    return QFontMetricsF(font).horizontalAdvance(s);
}

struct Frame {
    double left;
    double top;
    double width;
    double height;
    double right() const { return left + width; }
    double bottom() const { return top + height; }
};

void paintGrid(QPainter& p, const Frame& f) {
    const QFont font = arialFont(kGridFontPx);
    p.setFont(font);
    const DbScale scale{f.top, f.height};
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int g = -15; g <= 15; g += 3) {
        // 0 dB is kept as negative zero, so its label reads "-0dB".
        const double value = g == 0 ? -0.0 : g;
        const int y = static_cast<int>(std::lround(scale.y(value)));
        p.setPen(QPen(kGridLine, 1));
        p.drawLine(QPointF(f.left, y), QPointF(f.right(), y));
        p.setPen(kGridText);
        const QRectF box(0, y - 10, f.left - 3, 20);
        p.drawText(box, Qt::AlignRight | Qt::AlignVCenter, cFormat("%+-.0fdB", value));
    }
    const EqPlotGeometry geometry{f.width, f.height};
    p.setPen(QPen(kGridLine, 1));
    for (double freq : kGridFrequencies) {
        const int x = static_cast<int>(std::lround(f.left + geometry.xOfFrequency(freq)));
        p.drawLine(QPointF(x, f.top + 1), QPointF(x, f.bottom()));
    }
    p.setPen(kGridText);
    for (const FreqLabel& label : kFreqLabels) {
        const double x = f.left + geometry.xOfFrequency(label.freq);
        const QString text = QString::fromLatin1(label.text);
        const double w = textWidth(font, text);
        drawTextAt(p, x - w / 2.0, f.bottom() + 4, text);
    }
}

QPolygonF curvePoints(const BandCurve& curve, const EqBandSet& bands, const Frame& f) {
    const DbScale scale{f.top, f.height};
    // Values far outside the span (a pass band's stop band reaches -100 dB and more) are
    // held just beyond the plot, so splines through them cannot swing back into view.
    const double above = f.top - f.height / 2.0;
    const double below = f.bottom() + f.height / 2.0;
    QPolygonF points;
    points.reserve(kCurvePoints + 2);
    for (int i = 0; i < kCurvePoints; ++i) {
        const double y = std::clamp(scale.y(curve[static_cast<std::size_t>(i)]), above, below);
        points.append(QPointF(f.left + bands.grid().xAt(i), y));
    }
    return points;
}

void paintShading(QPainter& p, const EqPanelView& view, const Frame& f) {
    const EqBandSet& bands = *view.bands;
    if (!EqBandSet::isSlot(view.selected))
        return;
    const EqBandState& band = bands.band(view.selected);
    const QPolygonF points = curvePoints(bands.shadedCurve(view.selected), bands, f);
    const double base = EqBandSet::isPassType(band.filterType) ? f.bottom() + kPassBaselineBelow
                                                               : DbScale{f.top, f.height}.y(0.0);
    // The curve side is a spline through the points; the base is closed with straight
    // lines so the region does not bulge at its corners.
    QPainterPath region = cardinalSpline(points, 0.5, false);
    region.lineTo(points.last().x(), base);
    region.lineTo(points.first().x(), base);
    region.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(eqBandColor(view.selected), 0x20));
    p.drawPath(region);
}

void paintTotal(QPainter& p, const EqPanelView& view, const Frame& f) {
    const QPolygonF points = curvePoints(view.bands->totalCurve(), *view.bands, f);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(view.curveColor, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(cardinalSpline(points, 0.1, false));
}

QPointF handleCentre(const EqBandState& band, const Frame& f) {
    const EqPlotGeometry geometry{f.width, f.height};
    return {f.left + geometry.xOfFrequency(band.frequency), f.top + geometry.yOfGain(band.gain)};
}

void paintHandles(QPainter& p, const EqPanelView& view, const Frame& f) {
    const EqBandSet& bands = *view.bands;
    const QFont numberFont = arialFont(kNumberFontPx);
    for (int b = 0; b < bands.reachableCount(); ++b) {
        const EqBandState& band = bands.band(b);
        if (band.filterType == Off)
            continue;
        const QPointF c = handleCentre(band, f);
        if (!std::isfinite(c.x()) || !std::isfinite(c.y()))
            continue;
        const QColor colour = eqBandColor(b);
        const bool selected = b == view.selected;
        const QBrush fill(withAlpha(colour, selected ? 0x50 : 0x25));
        const QRectF inner(c.x() - kHandle / 2, c.y() - kHandle / 2, kHandle, kHandle);
        if (band.filterType == Peaking) {
            const QRectF ring(c.x() - kPeakRing / 2, c.y() - kPeakRing / 2, kPeakRing, kPeakRing);
            p.setPen(QPen(withAlpha(colour, 0x7F), 2.0, Qt::SolidLine, Qt::FlatCap));
            p.setBrush(Qt::NoBrush);
            // Two 150-degree arcs, clockwise from 15 and 195 degrees (Qt counts anticlockwise).
            p.drawArc(ring, -15 * 16, -150 * 16);
            p.drawArc(ring, -195 * 16, -150 * 16);
            p.setPen(Qt::NoPen);
            p.setBrush(fill);
            p.drawEllipse(inner);
        } else {
            if (selected) {
                p.setPen(QPen(kMarker, 1.5, Qt::DashLine));
                p.drawLine(QPointF(c.x(), f.top), QPointF(c.x(), f.bottom()));
            }
            p.setPen(QPen(withAlpha(colour, 0x7F), 1.5, Qt::DashLine));
            p.setBrush(fill);
            p.drawRect(inner);
        }
        p.setFont(numberFont);
        p.setPen(colour);
        p.drawText(QRectF(c.x() - 12, c.y() - 8, 24, 16), Qt::AlignCenter,
                   QString::number(band.index + 1));
    }
}

void paintValueLabels(QPainter& p, const EqBandState& band, const Frame& f) {
    const QPointF c = handleCentre(band, f);
    const QFont font = arialFont(kValueFontPx);
    p.setFont(font);
    const double origin = c.y() - 4.0;
    const bool below = !(band.gain < -0.01f);
    const std::array<double, 3> offsets =
        below ? std::array<double, 3>{18, 27, 36} : std::array<double, 3>{-42, -33, -24};
    const std::array<QString, 3> captions{QStringLiteral("F:"), QStringLiteral("G:"),
                                          QStringLiteral("Q:")};
    const std::array<QString, 3> values{cFormat("%.0fHz", double(band.frequency)),
                                        cFormat("%+-.1fdB", double(band.gain)),
                                        cFormat("%.2f", double(band.q))};
    // A dark plate under the rows keeps them readable over the curves.
    double widest = 0.0;
    for (const QString& v : values)
        widest = std::max(widest, 12.0 + textWidth(font, v));
    const QFontMetricsF metrics(font);
    const double plateTop = origin + offsets[0];
    const double plateBottom = origin + offsets[2] + metrics.height();
    p.setPen(Qt::NoPen);
    p.setBrush(kLabelPlate);
    p.drawRoundedRect(
        QRectF(c.x() - widest / 2.0 - 3.0, plateTop, widest + 6.0, plateBottom - plateTop), 2.0,
        2.0);
    for (std::size_t row = 0; row < 3; ++row) {
        const double width = 12.0 + textWidth(font, values[row]);
        const double x = c.x() - width / 2.0;
        const double y = origin + offsets[row];
        p.setPen(kCaption);
        drawTextAt(p, x, y, captions[row]);
        p.setPen(kValue);
        drawTextAt(p, x + 12.0, y, values[row]);
    }
}

void paintInfoLine(QPainter& p, const EqBandState& band, int language) {
    const QFont font = songFont(kInfoFontPx);
    p.setFont(font);
    const char* format = language == 1 ? eqtext::kInfoLine.en : eqtext::kInfoLine.zh;
    const QString head = cFormat(format, band.index + 1, double(band.frequency), double(band.q));
    p.setPen(kInfoGreen);
    const double x = kEqPlotLeft;
    constexpr double y = 3.0;
    drawTextAt(p, x, y, head);
    const double gain = band.gain;
    QColor colour = Qt::red;
    if (gain >= -6.0 && gain <= 6.0)
        colour = kInfoGreen;
    else if (std::fabs(gain) > 6.0 && std::fabs(gain) < 10.1)
        colour = Qt::yellow;
    p.setPen(colour);
    drawTextAt(p, x + textWidth(font, head), y, cFormat("%+-.1fdB ", gain));
}

} // namespace

QRect eqPlotRect(QSize client) {
    return QRect(kEqPlotLeft, kEqPlotTop, std::max(client.width() - kEqPlotLeft - 6, 0),
                 std::max(client.height() - kEqPlotTop - 20, 0));
}

QColor eqBandColor(int band) {
    const auto row =
        static_cast<std::size_t>(band < 0 ? 0 : band % static_cast<int>(kBandColors.size()));
    return QColor::fromRgb(kBandColors[row]);
}

void paintEqPanel(QPainter& p, const EqPanelView& view) {
    p.save();
    p.fillRect(QRect(QPoint(0, 0), view.client), kBackground);
    const Frame f{double(view.plot.left()), double(view.plot.top()), double(view.plot.width()),
                  double(view.plot.height())};
    p.setRenderHint(QPainter::TextAntialiasing);

    p.setFont(songFont(kTitleFontPx));
    p.setPen(Qt::yellow);
    p.drawText(QRectF(0, 0, f.right() - 2, f.top - 1), Qt::AlignRight | Qt::AlignBottom,
               eqPanelTitle(view.panelId, view.language));

    paintGrid(p, f);

    if (view.bands != nullptr && f.width > 0 && f.height > 0) {
        p.setRenderHint(QPainter::Antialiasing);
        p.save();
        p.setClipRect(QRectF(f.left, f.top, f.width, f.height));
        paintShading(p, view, f);
        paintTotal(p, view, f);
        p.restore();
        paintHandles(p, view, f);

        const EqBandSet& bands = *view.bands;
        const bool hovering =
            EqBandSet::isSlot(view.hover) && bands.band(view.hover).filterType != Off;
        if (EqBandSet::isSlot(view.selected)) {
            if (!hovering)
                paintValueLabels(p, bands.band(view.selected), f);
            paintInfoLine(p, bands.band(view.selected), view.language);
        }
        if (hovering)
            paintValueLabels(p, bands.band(view.hover), f);
    }

    if (view.bypass) {
        p.setFont(heiFont(kBypassFontPx));
        p.setPen(Qt::white);
        p.drawText(QRect(QPoint(0, 0), view.client), Qt::AlignCenter,
                   QString::fromLatin1(eqtext::kBypass));
    }
    p.restore();
}

} // namespace quilo
