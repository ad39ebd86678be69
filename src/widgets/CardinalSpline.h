#pragma once

#include <QPainterPath>
#include <QPolygonF>

namespace quilo {

// A cardinal spline through every point as a path of cubic Bezier segments: the tangent
// at a point is tension x (next - previous), so 0 draws straight lines and 0.5 a
// Catmull-Rom curve. An open curve uses its end points as their own outer neighbours; a
// closed one wraps around.
QPainterPath cardinalSpline(const QPolygonF& points, qreal tension, bool closed);

} // namespace quilo
