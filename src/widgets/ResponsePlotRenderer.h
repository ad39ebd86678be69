#pragma once

#include "room/ResponseCurveSet.h"

#include <QColor>
#include <QRect>
#include <QStringList>

#include <vector>

class QPainter;

namespace quilo {

// Everything the system response plot shows. The renderer keeps no state.
struct ResponsePlotView {
    const ShownCurves* shown = nullptr;
    std::vector<QColor> colours; // one per shown curve
    ResponseView view = ResponseView::Magnitude;
    int hoverPoint = -1; // index into the frequencies, -1 for none
    QStringList readout; // the hover read-out, one line per row
    QString emptyText;   // shown when there is no curve
};

// Where values land: a logarithmic frequency axis and a linear value axis.
struct ResponsePlotAxes {
    QRectF area;
    double fMin = 20.0;
    double fMax = 20000.0;
    double vMin = 0.0;
    double vMax = 1.0;

    double x(double freqHz) const;
    double y(double value) const;
    double freqAt(double x) const;
};

// The axes of a view in a client area: magnitude -40...+20 dB, phase +-180 degrees,
// group delay from 0 (or the least value) to the largest one shown, rounded up.
ResponsePlotAxes responsePlotAxes(QSize client, const ResponsePlotView& view);

// Colour of output k's curve (0-7), and of the listener sum.
QColor responseCurveColour(int source);

void paintResponsePlot(QPainter& painter, QSize client, const ResponsePlotView& view);

} // namespace quilo
