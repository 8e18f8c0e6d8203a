// Drawing, picking, crossing, grips and extents of circles.
#include "entities/Circle.h"

#include <algorithm>
#include <cmath>

#include "entities/DrawContext.h"
#include "entities/Geometry.h"
#include "entities/SegmentSnap.h"

int CircleSegmentCount(float pixelsPerUnit, double radius) {
    const double n = static_cast<double>(pixelsPerUnit) * radius * 5.0;
    if (!(n >= 1.0)) return 0;  // also NaN
    return n >= 100.0 ? 100 : static_cast<int>(n);
}

int DrawnSegmentCount(float pixelsPerUnit, double radius) {
    return std::max(CircleSegmentCount(pixelsPerUnit, radius), kMinDrawnSegments);
}

void mmCircle::SetRadius(double r) {
    radius = r;
    UpdateGrips();
    UpdateExtents();
}

void mmCircle::SetRadiusThrough(double x, double y, double dx, double dy) {
    if (points.empty()) return;
    radius = std::hypot(x - dx - points[0].x, y - dy - points[0].y);
    UpdateGrips();
    UpdateExtents();
}

namespace {

void emitOutline(mmDrawContext& dc, double cx, double cy, double r, int n, int primitive) {
    dc.LineWidth(1.0f);
    if (primitive != kPrimitiveAlreadyOpen) dc.Begin(prim::kLineStrip);
    for (int i = 0; i <= n; ++i) {
        const double t = 2.0 * kPi * i / n;
        dc.Vertex(cx + r * std::sin(t), cy + r * std::cos(t));
    }
    dc.Vertex(cx, cy + r);
    if (primitive != kPrimitiveAlreadyOpen) dc.End();
}

void emitRing(mmDrawContext& dc, double cx, double cy, double r, int n, double halfWidth) {
    const double outer = r + halfWidth;
    const double inner = r - halfWidth;
    dc.Begin(prim::kQuadStrip);
    for (int i = 0; i <= n; ++i) {
        const double t = 2.0 * kPi * i / n;
        dc.Vertex(cx + outer * std::sin(t), cy + outer * std::cos(t));
        dc.Vertex(cx + inner * std::sin(t), cy + inner * std::cos(t));
    }
    dc.Vertex(cx, cy + outer);
    dc.Vertex(cx, cy + inner);
    dc.End();
}

}  // namespace

void mmCircle::Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit,
                    int primitive, const mmShift& shift, bool cull) {
    if (points.empty() || (cull && CulledBy(view, shift))) return;
    const double cx = points[0].x - shift.dx2;
    const double cy = points[0].y - shift.dy2;
    const int n = DrawnSegmentCount(pixelsPerUnit, radius);
    switch (mode) {
        case kDrawNormal:
            // Inside a primitive opened by the caller only vertices can be emitted.
            if (lineWidth == 1 || primitive == kPrimitiveAlreadyOpen)
                emitOutline(dc, cx, cy, radius, n, primitive);
            else
                emitRing(dc, cx, cy, radius, n, lineWidth / (2.0 * pixelsPerUnit));
            break;
        case kDrawHighlight:
            BeginHighlight(dc, primitive);
            emitOutline(dc, cx, cy, radius, n, primitive);
            EndHighlight(dc, primitive);
            break;
        default:
            DrawGripList(dc, grips, shift.dx2, shift.dy2, pixelsPerUnit, kGripSquareSmall);
            break;
    }
}

bool mmCircle::HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m, float,
                       const mmShift& shift, bool cull) {
    if (points.empty() || (cull && CulledBy(view, shift))) return false;
    const double x = points[0].x + shift.cullX();
    const double y = points[0].y + shift.cullY();
    const Vector3D c = projectToPixels(x, y, m);
    const Vector3D e = projectToPixels(x + radius, y, m);
    const float r = std::fabs(e.x - c.x);
    const float d = pointDistance(Vector3D(static_cast<float>(cx), static_cast<float>(cy)), c);
    return std::fabs(d - r) < kPickPixels;
}

bool mmCircle::Snap(int commandId, bool forceGrips, int cx, int cy, const mmRect& view,
                    mmSnapInfo& info, const mmViewMatrices& m, float pixelsPerUnit,
                    const mmShift& shift, bool cull) {
    return SnapGripsAndSegments(*this, mmSegmentSnapStyle{}, commandId, forceGrips, cx, cy, view,
                                info, m, pixelsPerUnit, shift, cull);
}

bool mmCircle::CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) {
    if (points.empty() || (cull && CulledBy(rect, shift))) return false;
    return circleCrossesRect(points[0].x + shift.cullX(), points[0].y + shift.cullY(), radius,
                             rect);
}

void mmCircle::UpdateGrips() {
    if (points.empty()) return;
    const double cx = points[0].x;
    const double cy = points[0].y;
    grips.resize(std::min<std::size_t>(grips.size(), 5));
    SetGripAt(grips, 0, cx, cy);
    SetGripAt(grips, 1, cx + radius, cy);
    SetGripAt(grips, 2, cx, cy + radius);
    SetGripAt(grips, 3, cx - radius, cy);
    SetGripAt(grips, 4, cx, cy - radius);
}

void mmCircle::UpdateExtents() {
    if (points.empty()) {
        SetExtents(EmptyExtents());
        return;
    }
    SetExtents(
        {points[0].x - radius, points[0].y - radius, points[0].x + radius, points[0].y + radius});
}

void mmCircle::CopyFrom(const mmObject& from) {
    CopyProperties(from);
    if (const auto* c = dynamic_cast<const mmCircle*>(&from)) radius = c->radius;
    CopyPointsAndGrips(from);
    UpdateExtents();
}
