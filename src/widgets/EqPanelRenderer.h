#pragma once

#include "dsp/EqBandSet.h"

#include <QColor>
#include <QRect>

class QPainter;

namespace quilo {

// Everything the curve editor's picture depends on. The renderer keeps no state.
struct EqPanelView {
    const EqBandSet* bands = nullptr;
    QSize client;
    QRect plot;
    int panelId = 0;
    int selected = -1;
    int hover = -1;
    int language = 0;
    bool bypass = false;
    QColor curveColor = QColor::fromRgba(0xFF00C8FF);
};

// Plot area of a client area: inset 36 px left, 18 top, 6 right and 20 bottom.
QRect eqPlotRect(QSize client);
constexpr int kEqPlotLeft = 36;
constexpr int kEqPlotTop = 18;

// Colour of a band's handle and shading.
QColor eqBandColor(int band);

// Paints the whole editor: background, title, grid, the selected band's shading, the
// total curve, the handles, the value labels and the bypass mark.
void paintEqPanel(QPainter& painter, const EqPanelView& view);

} // namespace quilo
