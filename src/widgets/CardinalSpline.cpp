#include "widgets/CardinalSpline.h"

namespace quilo {

QPainterPath cardinalSpline(const QPolygonF& points, qreal tension, bool closed) {
    QPainterPath path;
    const qsizetype n = points.size();
    if (n == 0)
        return path;
    path.moveTo(points[0]);
    if (n == 1)
        return path;
    const qreal k = tension / 3.0;
    auto at = [&](qsizetype i) {
        if (closed)
            return points[(i % n + n) % n];
        return points[qBound<qsizetype>(0, i, n - 1)];
    };
    const qsizetype segments = closed ? n : n - 1;
    for (qsizetype i = 0; i < segments; ++i) {
        const QPointF p0 = at(i - 1);
        const QPointF p1 = at(i);
        const QPointF p2 = at(i + 1);
        const QPointF p3 = at(i + 2);
        path.cubicTo(p1 + k * (p2 - p0), p2 - k * (p3 - p1), p2);
    }
    if (closed)
        path.closeSubpath();
    return path;
}

} // namespace quilo
