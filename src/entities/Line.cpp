// Drawing, picking, crossing and grips of lines.
#include "entities/Line.h"

#include "entities/DrawContext.h"
#include "entities/Geometry.h"
#include "entities/SegmentSnap.h"

namespace {
void emitPoints(mmDrawContext& dc, const std::vector<mmVertex>& points, int primitive,
                const mmShift& shift) {
    if (primitive != kPrimitiveAlreadyOpen) dc.Begin(primitive);
    for (const mmVertex& p : points) dc.Vertex(p.x - shift.dx2, p.y - shift.dy2);
    if (primitive != kPrimitiveAlreadyOpen) dc.End();
}
}  // namespace

void mmLine::Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit,
                  int primitive, const mmShift& shift, bool cull) {
    if (cull && CulledBy(view, shift)) return;
    switch (mode) {
        case kDrawNormal:
            emitPoints(dc, points, primitive, shift);
            break;
        case kDrawHighlight:
            BeginHighlight(dc, primitive);
            emitPoints(dc, points, primitive, shift);
            EndHighlight(dc, primitive);
            break;
        default:
            DrawGripList(dc, grips, shift.dx2, shift.dy2, pixelsPerUnit, kGripSquareLarge);
            break;
    }
}

bool mmLine::HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m, float,
                     const mmShift& shift, bool cull) {
    if (cull && CulledBy(view, shift)) return false;
    return pointStripHit(points, cx, cy, m, shift);
}

bool mmLine::Snap(int commandId, bool forceGrips, int cx, int cy, const mmRect& view,
                  mmSnapInfo& info, const mmViewMatrices& m, float pixelsPerUnit,
                  const mmShift& shift, bool cull) {
    return SnapGripsAndSegments(*this, mmSegmentSnapStyle{}, commandId, forceGrips, cx, cy, view,
                                info, m, pixelsPerUnit, shift, cull);
}

bool mmLine::CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) {
    if (cull && CulledBy(rect, shift)) return false;
    if (points.size() < 2) return false;
    const double sx = shift.cullX();
    const double sy = shift.cullY();
    return segmentCrossesRect(mmVertex(points[0].x + sx, points[0].y + sy),
                              mmVertex(points[1].x + sx, points[1].y + sy), rect);
}

void mmLine::UpdateGrips() {
    if (points.empty()) {
        grips.clear();
        return;
    }
    if (points.size() == 1) {
        grips.resize(1);
        SetGripAt(grips, 0, points[0].x, points[0].y);
        return;
    }
    const mmVertex& a = points[0];
    const mmVertex& b = points[1];
    grips.resize(std::min<std::size_t>(grips.size(), 3));
    SetGripAt(grips, 0, a.x, a.y);
    SetGripAt(grips, 1, (a.x + b.x) / 2.0, (a.y + b.y) / 2.0);
    SetGripAt(grips, 2, b.x, b.y);
}
