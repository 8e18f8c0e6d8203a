// Polylines: segments, drawing, picking, crossing, grips, extents and snap.
#include "entities/Polyline.h"

#include <cmath>

#include "entities/Arc.h"
#include "entities/DrawContext.h"
#include "entities/Geometry.h"
#include "entities/PickReach.h"
#include "entities/SegmentSnap.h"

int mmPolyline::SegmentCount() const {
    const int n = pointCount();
    if (n < 2) return 0;
    return closed ? n : n - 1;
}

double mmPolyline::BulgeAt(int segment) const {
    return segment >= 0 && static_cast<std::size_t>(segment) < bulges.size() ? bulges[segment] : 0.0;
}

int mmPolyline::SegmentEnd(int segment) const {
    return segment + 1 < pointCount() ? segment + 1 : 0;
}

bool mmPolyline::SegmentArc(int segment, double dx, double dy, mmArc& arc) const {
    if (segment < 0 || segment >= SegmentCount()) return false;
    const double bulge = BulgeAt(segment);
    if (bulge == 0.0) return false;
    const mmVertex& a = points[segment];
    const mmVertex& b = points[SegmentEnd(segment)];
    // Fitted in single precision relative to the segment's start, which keeps the chord exact
    // however far from the origin the polyline lies; then moved into place in double precision.
    if (!arc.SetFromBulge(bulge, mmVertex(), mmVertex(b.x - a.x, b.y - a.y))) return false;
    const double ox = a.x + dx;
    const double oy = a.y + dy;
    for (mmVertex& p : arc.points) p = mmVertex(p.x + ox, p.y + oy);
    for (mmVertex& g : arc.grips) {
        g.x += ox;
        g.y += oy;
    }
    arc.points[1] = mmVertex(ox, oy);
    arc.points[3] = mmVertex(b.x + dx, b.y + dy);
    arc.SetExtents({arc.extents.minX + ox, arc.extents.minY + oy, arc.extents.maxX + ox,
                    arc.extents.maxY + oy});
    return std::isfinite(arc.radius) && std::isfinite(arc.points[0].x) &&
           std::isfinite(arc.points[0].y);
}

bool mmPolyline::IsPlaceholderGrip(int gripIndex) const {
    if (gripIndex % 2 == 0) return false;
    const int segment = gripIndex / 2;
    if (segment > pointCount() - 2) return true;
    const double bulge = BulgeAt(segment);
    if (bulge == 0.0 || !std::isfinite(bulge)) return true;
    const mmVertex& a = points[segment];
    const mmVertex& b = points[segment + 1];
    return a.x == b.x && a.y == b.y;
}

int mmPolyline::NearestSegment(const std::vector<mmVertex>& points, const mmVertex& p) {
    int best = -1;
    float bestDistance = 1e10f;
    const Vector3D q(static_cast<float>(p.x), static_cast<float>(p.y));
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const Vector3D a(static_cast<float>(points[i].x), static_cast<float>(points[i].y));
        const Vector3D b(static_cast<float>(points[i + 1].x), static_cast<float>(points[i + 1].y));
        const float d = pointSegmentDistance(q, a, b);
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

// One strip for the whole polyline: each segment's start vertex, or its arc's vertices (which
// start at the segment start), then the last vertex, then the closing segment ending at vertex 0.
void mmPolyline::EmitVertices(mmDrawContext& dc, float pixelsPerUnit, const mmShift& shift) const {
    const int n = pointCount();
    const double dx = -shift.dx2;
    const double dy = -shift.dy2;
    const mmRect everywhere{-1e300, -1e300, 1e300, 1e300};
    mmArc arc;
    for (int i = 0; i + 1 < n; ++i) {
        if (BulgeAt(i) != 0.0 && SegmentArc(i, dx, dy, arc))
            arc.Draw(dc, everywhere, kDrawNormal, pixelsPerUnit, kPrimitiveAlreadyOpen, {}, false);
        else
            dc.Vertex(points[i].x + dx, points[i].y + dy);
    }
    dc.Vertex(points[n - 1].x + dx, points[n - 1].y + dy);
    if (closed && n >= 2) {
        if (BulgeAt(n - 1) != 0.0 && SegmentArc(n - 1, dx, dy, arc))
            arc.Draw(dc, everywhere, kDrawNormal, pixelsPerUnit, kPrimitiveAlreadyOpen, {}, false);
        dc.Vertex(points[0].x + dx, points[0].y + dy);
    }
}

void mmPolyline::DrawGrips(mmDrawContext& dc, float pixelsPerUnit, const mmShift& shift) const {
    dc.Color(0.1f, 0.1f, 0.8f);
    for (int i = 0; i < gripCount(); ++i)
        if (!IsPlaceholderGrip(i))
            DrawGripSquare(dc, grips[i], shift.dx2, shift.dy2, pixelsPerUnit, kGripSquareLarge);
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < gripCount(); ++i) {
            const mmVertex& g = grips[i];
            const bool draw = pass == 0 ? g.hover && !g.hot : g.hot;
            if (!draw || IsPlaceholderGrip(i)) continue;
            SetGripColor(dc, g);
            DrawGripSquare(dc, g, shift.dx2, shift.dy2, pixelsPerUnit, kGripSquareLarge);
        }
}

void mmPolyline::Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit,
                      int primitive, const mmShift& shift, bool cull) {
    if (points.empty() || (cull && CulledBy(view, shift))) return;
    if (mode == kDrawGrips) {
        DrawGrips(dc, pixelsPerUnit, shift);
        return;
    }
    if (mode == kDrawHighlight) BeginHighlight(dc, primitive);
    if (primitive != kPrimitiveAlreadyOpen) dc.Begin(primitive);
    EmitVertices(dc, pixelsPerUnit, shift);
    if (primitive != kPrimitiveAlreadyOpen) dc.End();
    if (mode == kDrawHighlight) EndHighlight(dc, primitive);
}

bool mmPolyline::HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m,
                         float pixelsPerUnit, const mmShift& shift, bool cull) {
    if (points.empty() || (cull && CulledBy(view, shift))) return false;
    const double sx = shift.cullX();
    const double sy = shift.cullY();
    const mmPickReach reach(cx, cy, m, kPickPixels);
    if (!reach.Near(extents.minX + sx, extents.minY + sy, extents.maxX + sx, extents.maxY + sy))
        return false;
    const Vector3D cursor(static_cast<float>(cx), static_cast<float>(cy));
    mmArc arc;
    for (int i = 0; i < SegmentCount(); ++i) {
        if (BulgeAt(i) != 0.0 && SegmentArc(i, sx, sy, arc)) {
            if (arc.HitTest(cx, cy, view, m, pixelsPerUnit, {}, false)) return true;
            continue;
        }
        const mmVertex& a = points[i];
        const mmVertex& b = points[SegmentEnd(i)];
        if (!reach.NearSegment(a.x + sx, a.y + sy, b.x + sx, b.y + sy)) continue;
        if (pointSegmentDistance(cursor, projectToPixels(a.x + sx, a.y + sy, m),
                                 projectToPixels(b.x + sx, b.y + sy, m)) < kPickPixels)
            return true;
    }
    return false;
}

bool mmPolyline::Snap(int commandId, bool forceGrips, int cx, int cy, const mmRect& view,
                      mmSnapInfo& info, const mmViewMatrices& m, float pixelsPerUnit,
                      const mmShift& shift, bool cull) {
    mmSegmentSnapStyle style;
    style.polyline = true;
    style.closed = closed;
    style.skipGrip = [](const mmObject& entity, int gripIndex) {
        return static_cast<const mmPolyline&>(entity).IsPlaceholderGrip(gripIndex);
    };
    return SnapGripsAndSegments(*this, style, commandId, forceGrips, cx, cy, view, info, m,
                                pixelsPerUnit, shift, cull);
}

bool mmPolyline::CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) {
    if (points.empty() || (cull && CulledBy(rect, shift))) return false;
    const double sx = shift.cullX();
    const double sy = shift.cullY();
    mmArc arc;
    for (int i = 0; i < SegmentCount(); ++i) {
        if (BulgeAt(i) != 0.0 && SegmentArc(i, sx, sy, arc)) {
            if (arcCrossesRect(arc.points[0].x, arc.points[0].y, arc.radius, arc.startAngle,
                               arc.endAngle, rect))
                return true;
            continue;
        }
        const mmVertex& a = points[i];
        const mmVertex& b = points[SegmentEnd(i)];
        if (segmentCrossesRect(mmVertex(a.x + sx, a.y + sy), mmVertex(b.x + sx, b.y + sy), rect))
            return true;
    }
    return false;
}

void mmPolyline::UpdateGrips() {
    const std::size_t n = points.size();
    if (bulges.size() != n) bulges.resize(n, 0.0);
    if (grips.size() != 2 * n) grips.assign(2 * n, mmVertex());
    mmArc arc;
    for (std::size_t i = 0; i < n; ++i) {
        grips[2 * i].x = points[i].x;
        grips[2 * i].y = points[i].y;
        mmVertex& mid = grips[2 * i + 1];
        if (i + 1 < n && bulges[i] != 0.0 && SegmentArc(static_cast<int>(i), 0.0, 0.0, arc)) {
            mid.x = arc.points[2].x;
            mid.y = arc.points[2].y;
        } else {
            mid.x = 0.0;
            mid.y = 0.0;
        }
    }
}

// The closing segment's arc counts too: it is drawn and picked, so culling must keep it.
void mmPolyline::UpdateExtents() {
    mmRect r = EmptyExtents();
    for (const mmVertex& p : points)
        WidenRect(r, p.x, p.y);
    mmArc arc;
    for (int i = 0; i < SegmentCount(); ++i) {
        if (BulgeAt(i) == 0.0 || !SegmentArc(i, 0.0, 0.0, arc)) continue;
        WidenRect(r, arc.extents.minX, arc.extents.minY);
        WidenRect(r, arc.extents.maxX, arc.extents.maxY);
    }
    SetExtents(r);
}

void mmPolyline::CopyFrom(const mmObject& from) {
    CopyProperties(from);
    if (const auto* p = dynamic_cast<const mmPolyline*>(&from)) {
        closed = p->closed;
        bulges = p->bulges;
        widths = p->widths;
        constantWidth = p->constantWidth;
        lightweight = p->lightweight;
    }
    CopyPointsAndGrips(from);
    UpdateExtents();
}
