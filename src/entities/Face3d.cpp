// 3D faces: their visible edges drawn, picked and tested against rectangles.
#include "entities/Face3d.h"

#include "entities/DrawContext.h"
#include "entities/Outline.h"

namespace {

// Calls visit(edge as two points) for each visible edge; stops when visit returns true.
template <class Visit>
bool anyVisibleEdge(const mm3dFace& f, Visit&& visit) {
    if (f.points.size() < 4) return false;
    for (int edge = 0; edge < 4; ++edge) {
        if (!f.EdgeVisible(edge)) continue;
        const mmVertex ends[2] = {f.points[static_cast<std::size_t>(edge)],
                                  f.points[static_cast<std::size_t>((edge + 1) % 4)]};
        if (visit(ends)) return true;
    }
    return false;
}

}  // namespace

void mm3dFace::Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit, int,
                    const mmShift& shift, bool cull) {
    if (points.size() < 4 || (cull && CulledBy(view, shift))) return;
    if (mode == kDrawGrips) {
        DrawGripList(dc, grips, shift.dx2, shift.dy2, pixelsPerUnit, kGripSquareLarge);
        return;
    }
    if (mode == kDrawHighlight) BeginHighlight(dc, prim::kLines);
    dc.Begin(prim::kLines);
    anyVisibleEdge(*this, [&](const mmVertex* ends) {
        for (int i = 0; i < 2; ++i) dc.Vertex(ends[i].x - shift.dx2, ends[i].y - shift.dy2);
        return false;
    });
    dc.End();
    if (mode == kDrawHighlight) EndHighlight(dc, prim::kLines);
}

bool mm3dFace::HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m, float,
                       const mmShift& shift, bool cull) {
    if (cull && CulledBy(view, shift)) return false;
    return anyVisibleEdge(*this,
                          [&](const mmVertex* ends) { return ChainHit(ends, 2, cx, cy, m, shift); });
}

bool mm3dFace::CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) {
    if (cull && CulledBy(rect, shift)) return false;
    return anyVisibleEdge(
        *this, [&](const mmVertex* ends) { return ChainCrossesRect(ends, 2, rect, shift); });
}

void mm3dFace::CopyFrom(const mmObject& from) {
    CopyProperties(from);
    if (const auto* f = dynamic_cast<const mm3dFace*>(&from)) invisibleEdges = f->invisibleEdges;
    CopyPointsAndGrips(from);
    UpdateExtents();
}
