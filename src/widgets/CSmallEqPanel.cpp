#include "widgets/CSmallEqPanel.h"

#include "widgets/EqTexts.h"
#include "widgets/WidgetFonts.h"

#include <QPainter>
#include <QPolygonF>

#include <cmath>

namespace quilo {

namespace {

const QColor kFineLine = QColor::fromRgba(0xFF171717);
const QColor kLine = QColor::fromRgba(0xFF404040);
const QColor kEdgeLine = QColor::fromRgba(0xFF808080);
const QColor kDim = QColor::fromRgba(0x65606060);
const QColor kHoverFrame(0, 255, 255);
constexpr int kPassFontPx = 72;

// 10, 20 ... 90, 100 ... 900, 1000 ... 9000, 10000, 20000 Hz.
QList<double> verticalLineFrequencies() {
    QList<double> freqs;
    for (double decade = 10; decade <= 1000; decade *= 10) {
        for (int m = 1; m <= 9; ++m)
            freqs.append(decade * m);
    }
    freqs << 10000 << 20000;
    return freqs;
}

} // namespace

CSmallEqPanel::CSmallEqPanel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_curve.setClientSize(width(), height());
}

void CSmallEqPanel::setSmallBandFrequency(int b, float freqHz) {
    m_curve.setBandFrequency(b, freqHz);
    update();
}

void CSmallEqPanel::setSmallBandGain(int b, float gainDb) {
    m_curve.setBandGain(b, gainDb);
    update();
}

void CSmallEqPanel::computeSmallBandCurve(int b) {
    m_curve.computeBandCurve(b);
    update();
}

void CSmallEqPanel::setPass(bool on) {
    m_pass = on;
    update();
}

void CSmallEqPanel::setDimmed(bool on) {
    m_dimmed = on;
    update();
}

void CSmallEqPanel::setCurveColor(QColor colour) {
    m_curveColor = colour;
    update();
}

const QPixmap& CSmallEqPanel::background(qreal dpr) {
    if (!m_background.isNull() && m_background.deviceIndependentSize().toSize() == size() &&
        m_background.devicePixelRatio() == dpr)
        return m_background;
    m_background = QPixmap(size() * dpr);
    m_background.setDevicePixelRatio(dpr);
    m_background.fill(Qt::black);
    QPainter p(&m_background);
    const double left = SmallEqCurve::kMargin;
    const double right = left + m_curve.plotWidth();
    const double top = SmallEqCurve::kMargin;
    const double bottom = top + m_curve.plotHeight();
    auto hline = [&](int db, const QColor& colour) {
        const double y = std::round(m_curve.yOfGain(db)) + 0.5;
        p.setPen(QPen(colour, 1));
        p.drawLine(QPointF(left, y), QPointF(right, y));
    };
    for (int db = -15; db <= 15; ++db)
        hline(db, kFineLine);
    for (int db = -12; db <= 12; db += 3)
        hline(db, kLine);
    hline(-15, kEdgeLine);
    hline(15, kEdgeLine);
    p.setPen(QPen(kLine, 1));
    for (double f : verticalLineFrequencies()) {
        const double x = std::round(m_curve.xOfFrequency(f)) + 0.5;
        p.drawLine(QPointF(x, top), QPointF(x, bottom));
    }
    return m_background;
}

void CSmallEqPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(0, 0, background(p.device()->devicePixelRatioF()));
    if (m_dimmed)
        p.fillRect(rect(), kDim);
    QPolygonF line;
    for (const SmallEqCurve::Point& pt : m_curve.total())
        line.append(QPointF(pt.x, pt.y));
    p.setRenderHint(QPainter::Antialiasing);
    p.setClipRect(rect());
    p.setPen(QPen(m_curveColor, 1.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(line);
    if (m_pass) {
        p.setFont(heiFont(kPassFontPx));
        p.setPen(Qt::white);
        p.drawText(rect(), Qt::AlignCenter, QString::fromLatin1(eqtext::kPass));
    }
    if (m_hover) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(kHoverFrame, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void CSmallEqPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_curve.setClientSize(width(), height());
}

void CSmallEqPanel::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    m_hover = true;
    update();
}

void CSmallEqPanel::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    m_hover = false;
    update();
}

} // namespace quilo
