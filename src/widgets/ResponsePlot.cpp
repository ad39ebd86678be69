#include "widgets/ResponsePlot.h"

#include <QMouseEvent>
#include <QPainter>

namespace quilo {

namespace {

QString valueText(const ResponseReading& r, ResponseView view) {
    switch (view) {
    case ResponseView::Magnitude:
        return QStringLiteral("%1 dB").arg(r.magnitudeDb, 0, 'f', 2);
    case ResponseView::Phase:
        return QStringLiteral("%1°").arg(r.phaseDeg, 0, 'f', 1);
    case ResponseView::GroupDelay:
        return QStringLiteral("%1 ms").arg(r.groupDelayMs, 0, 'f', 3);
    }
    return {};
}

QString frequencyText(double f) {
    return f >= 1000.0 ? QStringLiteral("%1 kHz").arg(f / 1000.0, 0, 'f', 2)
                       : QStringLiteral("%1 Hz").arg(f, 0, 'f', 1);
}

} // namespace

ResponsePlot::ResponsePlot(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(480, 260);
    m_view.shown = &m_shown;
}

void ResponsePlot::setCurves(ShownCurves shown, std::vector<QColor> colours, QStringList names) {
    m_shown = std::move(shown);
    m_view.colours = std::move(colours);
    m_names = std::move(names);
    m_view.hoverPoint = -1;
    m_view.readout.clear();
    update();
}

void ResponsePlot::setView(ResponseView view) {
    m_view.view = view;
    m_view.hoverPoint = -1;
    m_view.readout.clear();
    update();
}

void ResponsePlot::setEmptyText(const QString& text) {
    m_view.emptyText = text;
    update();
}

int ResponsePlot::pointAt(double x) const {
    const ResponsePlotAxes a = responsePlotAxes(size(), m_view);
    if (x < a.area.left() || x > a.area.right() || m_shown.curves.empty()) {
        return -1;
    }
    return nearestPoint(m_shown.freqs, a.freqAt(x));
}

QStringList ResponsePlot::readoutAt(double x) const {
    const int i = pointAt(x);
    if (i < 0) {
        return {};
    }
    QStringList lines{frequencyText(m_shown.freqs[static_cast<std::size_t>(i)])};
    for (std::size_t c = 0; c < m_shown.curves.size(); ++c) {
        const QString name = c < static_cast<std::size_t>(m_names.size())
                                 ? m_names[static_cast<int>(c)]
                                 : QString::fromStdString(curveName(m_shown.curves[c].source));
        lines << name + QStringLiteral("  ") +
                     valueText(m_shown.curves[c].points[static_cast<std::size_t>(i)], m_view.view);
    }
    return lines;
}

void ResponsePlot::hoverAt(double x) {
    m_view.hoverPoint = x < 0 ? -1 : pointAt(x);
    m_view.readout = m_view.hoverPoint < 0 ? QStringList() : readoutAt(x);
    update();
}

void ResponsePlot::paintEvent(QPaintEvent*) {
    QPainter p(this);
    paintResponsePlot(p, size(), m_view);
}

void ResponsePlot::mouseMoveEvent(QMouseEvent* event) {
    hoverAt(event->position().x());
}

void ResponsePlot::leaveEvent(QEvent*) {
    hoverAt(-1);
}

} // namespace quilo
