#pragma once

#include <QColor>
#include <QPointF>
#include <QSize>

class QPainter;

namespace quilo {

// The small pictures of the delay and room panels, drawn as shapes so they are sharp at
// any pixel ratio.

// The delay lane marker: a flag whose staff is its left edge (the value's position).
constexpr QSize kDelayMarkerSize(10, 12);
void paintDelayMarker(QPainter& painter, QPointF topLeft, QColor colour);

// The listener on the floor plan, centred on `centre`.
constexpr int kListenerIconSize = 28;
void paintListenerIcon(QPainter& painter, QPointF centre);

// A loudspeaker on the floor plan, centred on `centre`.
constexpr int kSpeakerIconSize = 26;
void paintSpeakerIcon(QPainter& painter, QPointF centre);

} // namespace quilo
