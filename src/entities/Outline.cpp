// Chains of points: emitting, picking and crossing.
#include "entities/Outline.h"

#include "entities/DrawContext.h"
#include "entities/Geometry.h"
#include "entities/PickReach.h"

void EmitChain(mmDrawContext& dc, const mmVertex* points, std::size_t n, int primitive,
               const mmShift& shift) {
    if (primitive != kPrimitiveAlreadyOpen) dc.Begin(primitive);
    for (std::size_t i = 0; i < n; ++i) dc.Vertex(points[i].x - shift.dx2, points[i].y - shift.dy2);
    if (primitive != kPrimitiveAlreadyOpen) dc.End();
}

bool ChainHit(const mmVertex* points, std::size_t n, int cx, int cy, const mmViewMatrices& m,
              const mmShift& shift) {
    const double sx = shift.cullX(), sy = shift.cullY();
    const mmPickReach reach(cx, cy, m, kPickPixels);
    const Vector3D cursor(static_cast<float>(cx), static_cast<float>(cy));
    for (std::size_t i = 1; i < n; ++i) {
        const mmVertex& a = points[i - 1];
        const mmVertex& b = points[i];
        if (!reach.NearSegment(a.x + sx, a.y + sy, b.x + sx, b.y + sy)) continue;
        if (pointSegmentDistance(cursor, projectToPixels(a.x + sx, a.y + sy, m),
                                 projectToPixels(b.x + sx, b.y + sy, m)) < kPickPixels)
            return true;
    }
    return false;
}

bool ChainCrossesRect(const mmVertex* points, std::size_t n, const mmRect& rect,
                      const mmShift& shift) {
    const double sx = shift.cullX(), sy = shift.cullY();
    if (n == 1)
        return points[0].x + sx >= rect.minX && points[0].x + sx <= rect.maxX &&
               points[0].y + sy >= rect.minY && points[0].y + sy <= rect.maxY;
    for (std::size_t i = 1; i < n; ++i)
        if (segmentCrossesRect(mmVertex(points[i - 1].x + sx, points[i - 1].y + sy),
                               mmVertex(points[i].x + sx, points[i].y + sy), rect))
            return true;
    return false;
}

bool PolygonContains(const mmVertex* points, std::size_t n, double x, double y,
                     const mmShift& shift) {
    const double sx = shift.cullX(), sy = shift.cullY();
    bool inside = false;
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        const double xi = points[i].x + sx, yi = points[i].y + sy;
        const double xj = points[j].x + sx, yj = points[j].y + sy;
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
    }
    return n > 2 && inside;
}
