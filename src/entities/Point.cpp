// Drawing, picking and crossing of point entities.
#include "entities/Point.h"

#include <cmath>

#include "entities/Circle.h"
#include "entities/DrawContext.h"
#include "entities/Geometry.h"

void mmPointObj::Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit,
                      int primitive, const mmShift& shift, bool cull) {
    if (points.empty() || (cull && CulledBy(view, shift))) return;
    const mmVertex& p = points[0];
    const bool dot = pointStyle == kPointStyleDotAndCircle || pointStyle == kPointStyleDot;
    if (dot && primitive != kPrimitiveAlreadyOpen && mode != kDrawGrips) {
        dc.PointSize(1.0f);
        dc.Begin(prim::kPoints);
        dc.Vertex(p.x - shift.dx2, p.y - shift.dy2);
        dc.End();
    }
    if (pointStyle == kPointStyleDot) return;
    // A temporary circle with only its centre as grip, so grip mode shows one square.
    mmCircle marker;
    marker.CopyProperties(*this);
    marker.AddPoint(p.x, p.y);
    marker.radius = kPointCirclePixels / pixelsPerUnit;
    marker.UpdateExtents();
    marker.Draw(dc, view, mode, pixelsPerUnit, primitive, shift, false);
}

bool mmPointObj::HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m, float,
                         const mmShift& shift, bool cull) {
    if (points.empty() || (cull && CulledBy(view, shift))) return false;
    const Vector3D p = projectToPixels(points[0].x + shift.cullX(), points[0].y + shift.cullY(), m);
    const float d = pointDistance(Vector3D(static_cast<float>(cx), static_cast<float>(cy)), p);
    // The marker circle is 4 pixels wide on screen at every zoom.
    return std::fabs(d - kPointCirclePixels) < kPickPixels;
}

bool mmPointObj::CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) {
    if (points.empty() || (cull && CulledBy(rect, shift))) return false;
    const double x = points[0].x + shift.cullX();
    const double y = points[0].y + shift.cullY();
    return x >= rect.minX && x <= rect.maxX && y >= rect.minY && y <= rect.maxY;
}

void mmPointObj::UpdateGrips() {
    grips.resize(std::min(grips.size(), points.size()));
    for (std::size_t i = 0; i < points.size(); ++i) SetGripAt(grips, i, points[i].x, points[i].y);
}

void mmPointObj::CopyFrom(const mmObject& from) {
    CopyProperties(from);
    if (const auto* p = dynamic_cast<const mmPointObj*>(&from)) pointStyle = p->pointStyle;
    CopyPointsAndGrips(from);
    UpdateExtents();
}
