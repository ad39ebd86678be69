#pragma once

class QPainter;

namespace quilo {

class FloorPlan;

// Paints the floor plan: the metre grid with its labels, the listener and the eight
// numbered and labelled loudspeakers where the plan holds them. Keeps no state.
void paintFloorPlan(QPainter& painter, const FloorPlan& plan);

} // namespace quilo
