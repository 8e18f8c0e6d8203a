// Solids and traces: the fill in the file's corner order, picking inside or on the outline, and
// the crossing test.
#include "entities/Solid.h"

#include "entities/DrawContext.h"
#include "entities/Geometry.h"
#include "entities/Outline.h"

void SolidOutline(const std::vector<mmVertex>& c, mmVertex out[5]) {
    const int order[5] = {0, 1, 3, 2, 0};
    for (int i = 0; i < 5; ++i) out[i] = c[static_cast<std::size_t>(order[i])];
}

void mmSolid::SetCorners(const mmVertex corners[4]) {
    points.assign(corners, corners + 4);
    UpdateGrips();
    UpdateExtents();
}

void mmSolid::Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit, int,
                   const mmShift& shift, bool cull) {
    if (points.size() < 4 || (cull && CulledBy(view, shift))) return;
    if (mode == kDrawGrips) {
        DrawGripList(dc, grips, shift.dx2, shift.dy2, pixelsPerUnit, kGripSquareLarge);
        return;
    }
    if (mode == kDrawHighlight) {
        dc.PolygonStipple(highlightStipple);
        dc.Color(1.0f, 1.0f, 1.0f);
    }
    EmitChain(dc, points.data(), 4, prim::kTriangleStrip, shift);
    if (mode == kDrawHighlight) dc.PolygonStipple(nullptr);
}

bool mmSolid::Covers(double x, double y, const mmShift& shift) const {
    return PolygonContains(points.data(), 3, x, y, shift) ||
           PolygonContains(points.data() + 1, 3, x, y, shift);
}

bool mmSolid::HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m, float,
                      const mmShift& shift, bool cull) {
    if (points.size() < 4 || (cull && CulledBy(view, shift))) return false;
    double x = 0.0, y = 0.0;
    if (screenToWorld(cx, cy, m, x, y) && Covers(x, y, shift)) return true;
    mmVertex outline[5];
    SolidOutline(points, outline);
    return ChainHit(outline, 5, cx, cy, m, shift);
}

bool mmSolid::CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) {
    if (points.size() < 4 || (cull && CulledBy(rect, shift))) return false;
    mmVertex outline[5];
    SolidOutline(points, outline);
    return ChainCrossesRect(outline, 5, rect, shift) || Covers(rect.minX, rect.minY, shift);
}

void mmSolid::CopyFrom(const mmObject& from) {
    CopyProperties(from);
    if (const auto* s = dynamic_cast<const mmSolid*>(&from)) trace = s->trace;
    CopyPointsAndGrips(from);
    UpdateExtents();
}
