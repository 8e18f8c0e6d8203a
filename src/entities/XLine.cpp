// Construction lines and rays: clipped to the view, picked by their distance in pixels, tested
// against rectangles.
#include "entities/XLine.h"

#include <algorithm>
#include <cmath>

#include "entities/DrawContext.h"
#include "entities/Geometry.h"

void mmXLine::SetDirection(double dx, double dy) {
    const double length = std::hypot(dx, dy);
    if (!(length > 0.0) || !std::isfinite(length)) return;
    dirX = dx / length;
    dirY = dy / length;
}

// Liang-Barsky: the parameter range of the line (from 0 for a ray) inside the rectangle.
bool mmXLine::Clip(const mmRect& rect, const mmShift& shift, mmVertex& a, mmVertex& b) const {
    if (points.empty()) return false;
    const double px = points[0].x + shift.cullX(), py = points[0].y + shift.cullY();
    double lo = ray ? 0.0 : -HUGE_VAL, hi = HUGE_VAL;
    const auto bound = [&](double d, double p, double min, double max) {
        if (d == 0.0) return p >= min && p <= max;
        double t0 = (min - p) / d, t1 = (max - p) / d;
        if (t0 > t1) std::swap(t0, t1);
        lo = std::max(lo, t0);
        hi = std::min(hi, t1);
        return lo <= hi;
    };
    if (!bound(dirX, px, rect.minX, rect.maxX) || !bound(dirY, py, rect.minY, rect.maxY))
        return false;
    if (!std::isfinite(lo) || !std::isfinite(hi)) return false;
    a = mmVertex(px + dirX * lo, py + dirY * lo);
    b = mmVertex(px + dirX * hi, py + dirY * hi);
    return true;
}

void mmXLine::Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit,
                   int primitive, const mmShift& shift, bool) {
    if (points.empty()) return;
    if (mode == kDrawGrips) {
        DrawGripList(dc, grips, shift.dx2, shift.dy2, pixelsPerUnit, kGripSquareLarge);
        return;
    }
    // A little beyond the view, so that no end shows at its edge; a view without bounds shows
    // no part of it that could be drawn.
    const double w = view.maxX - view.minX, h = view.maxY - view.minY;
    if (!(w < 1e100 && h < 1e100)) return;
    const mmRect around{view.minX - w, view.minY - h, view.maxX + w, view.maxY + h};
    mmVertex a, b;
    if (!Clip(around, shift, a, b)) return;
    // Back from the culling frame to where vertices are emitted.
    const double ex = shift.dx1, ey = shift.dy1;
    if (mode == kDrawHighlight) BeginHighlight(dc, primitive);
    if (primitive != kPrimitiveAlreadyOpen) dc.Begin(prim::kLineStrip);
    dc.Vertex(a.x - ex, a.y - ey);
    dc.Vertex(b.x - ex, b.y - ey);
    if (primitive != kPrimitiveAlreadyOpen) dc.End();
    if (mode == kDrawHighlight) EndHighlight(dc, primitive);
}

bool mmXLine::HitTest(int cx, int cy, const mmRect&, const mmViewMatrices& m, float,
                      const mmShift& shift, bool) {
    if (points.empty()) return false;
    const double px = points[0].x + shift.cullX(), py = points[0].y + shift.cullY();
    const Vector3D a = projectToPixels(px, py, m);
    // A second point a hundred pixels along, whatever the scale.
    double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;
    if (!screenToWorld(0, 0, m, x1, y1) || !screenToWorld(100, 0, m, x2, y2)) return false;
    const double unit = std::hypot(x2 - x1, y2 - y1);
    const Vector3D b = projectToPixels(px + dirX * unit, py + dirY * unit, m);
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    if (!(length > 0.0)) return false;
    const double qx = cx - a.x, qy = cy - a.y;
    const double along = (qx * dx + qy * dy) / length;
    if (ray && along < 0.0) return std::hypot(qx, qy) < kPickPixels;
    return std::fabs(qx * dy - qy * dx) / length < kPickPixels;
}

bool mmXLine::Snap(int commandId, bool forceGrips, int cx, int cy, const mmRect& view,
                   mmSnapInfo& info, const mmViewMatrices& m, float pixelsPerUnit,
                   const mmShift& shift, bool) {
    return SnapToGrips(commandId, forceGrips, cx, cy, view, info, m, pixelsPerUnit, shift, false);
}

bool mmXLine::CrossesRect(const mmRect& rect, const mmShift& shift, bool) {
    mmVertex a, b;
    return Clip(rect, shift, a, b);
}

void mmXLine::CopyFrom(const mmObject& from) {
    CopyProperties(from);
    if (const auto* x = dynamic_cast<const mmXLine*>(&from)) {
        dirX = x->dirX;
        dirY = x->dirY;
        ray = x->ray;
    }
    CopyPointsAndGrips(from);
    UpdateExtents();
}
