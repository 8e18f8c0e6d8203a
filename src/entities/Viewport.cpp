// Drawing, picking and grips of viewports.
#include "entities/Viewport.h"

#include <algorithm>

#include "entities/DrawContext.h"
#include "entities/Geometry.h"

namespace {

void emitOutline(mmDrawContext& dc, const std::vector<mmVertex>& points, const mmShift& shift) {
    if (points.empty()) return;
    dc.Begin(prim::kLineStrip);
    for (const mmVertex& p : points) dc.Vertex(p.x - shift.dx2, p.y - shift.dy2);
    dc.Vertex(points[0].x - shift.dx2, points[0].y - shift.dy2);
    dc.End();
}

}  // namespace

void mmViewport::SetRectangle(double x1, double y1, double x2, double y2) {
    const double minX = std::min(x1, x2), maxX = std::max(x1, x2);
    const double minY = std::min(y1, y2), maxY = std::max(y1, y2);
    points = {mmVertex(minX, minY), mmVertex(maxX, minY), mmVertex(maxX, maxY),
              mmVertex(minX, maxY)};
    grips.clear();
    UpdateGrips();
    UpdateExtents();
}

void mmViewport::SetNewViewportProperties() {
    layerId = 0;
    color = 0xFFFFFF;
    colorIndex = 7;
    visible = true;
    lineWidth = 1;
    lineWidthSource = kLineWidthByLayer;
    selected = false;
    erased = false;
}

void mmViewport::Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit, int,
                      const mmShift& shift, bool cull) {
    if (cull && CulledBy(view, shift)) return;
    switch (mode) {
        case kDrawNormal:
            emitOutline(dc, points, shift);
            break;
        case kDrawHighlight:
            BeginHighlight(dc, prim::kLineStrip);
            emitOutline(dc, points, shift);
            EndHighlight(dc, prim::kLineStrip);
            break;
        default:
            DrawGripList(dc, grips, shift.dx2, shift.dy2, pixelsPerUnit, kGripSquareLarge);
            break;
    }
}

bool mmViewport::HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m, float,
                         const mmShift& shift, bool cull) {
    if (cull && CulledBy(view, shift)) return false;
    const Vector3D cursor(static_cast<float>(cx), static_cast<float>(cy));
    const std::size_t n = points.size();
    for (std::size_t i = 0; i < n; ++i) {
        const mmVertex& p = points[i];
        const mmVertex& q = points[(i + 1) % n];
        const Vector3D a = projectToPixels(p.x + shift.cullX(), p.y + shift.cullY(), m);
        const Vector3D b = projectToPixels(q.x + shift.cullX(), q.y + shift.cullY(), m);
        if (pointSegmentDistance(cursor, a, b) < kPickPixels) return true;
    }
    return false;
}

bool mmViewport::CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) {
    if (cull && CulledBy(rect, shift)) return false;
    const std::size_t n = points.size();
    for (std::size_t i = 0; i < n; ++i) {
        const mmVertex a(points[i].x + shift.cullX(), points[i].y + shift.cullY());
        const mmVertex b(points[(i + 1) % n].x + shift.cullX(),
                         points[(i + 1) % n].y + shift.cullY());
        if (segmentCrossesRect(a, b, rect)) return true;
    }
    return false;
}

void mmViewport::UpdateGrips() {
    grips.resize(std::min(grips.size(), points.size()));
    for (std::size_t i = 0; i < points.size(); ++i) SetGripAt(grips, i, points[i].x, points[i].y);
}

void mmViewport::CopyFrom(const mmObject& from) {
    mmObject::CopyFrom(from);
    if (from.type != kTypeViewport) return;
    const auto& v = static_cast<const mmViewport&>(from);
    modelWindow = v.modelWindow;
    viewSlot = v.viewSlot;
}
