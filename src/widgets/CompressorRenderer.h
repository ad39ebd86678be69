#pragma once

#include "widgets/CompressorCurve.h"

#include <QSize>

class QPainter;

namespace quilo {

// Paints the compressor panel; keeps no state. The grid is what the widget caches.
void paintCompressorGrid(QPainter& painter, QSize client);
// The transfer curve, its threshold point and shaded output range over the grid, and
// "OFF" when the compressor is switched off.
void paintCompressorCurve(QPainter& painter, QSize client, const CompressorShape& shape,
                          bool enabled);

} // namespace quilo
