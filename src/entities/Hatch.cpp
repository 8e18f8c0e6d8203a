// Hatches: loops, rebuilding around the centre, stencil fill, boundary picking and deep copies.
#include "entities/Hatch.h"

#include "entities/DrawContext.h"
#include "entities/Spline.h"

namespace {

// Moves every point of a boundary entity (and a spline's float control points with them).
void translateBoundary(mmObject& e, double dx, double dy) {
    for (mmVertex& p : e.points) {
        p.x += dx;
        p.y += dy;
        p.hot = false;
    }
    if (auto* spline = dynamic_cast<mmSpline*>(&e))
        for (std::size_t i = 0; i + 1 < spline->controlPoints.size(); i += 3) {
            spline->controlPoints[i] = static_cast<float>(spline->controlPoints[i] + dx);
            spline->controlPoints[i + 1] = static_cast<float>(spline->controlPoints[i + 1] + dy);
        }
}

bool inverted(const mmRect& r) { return r.minX > r.maxX || r.minY > r.maxY; }

}  // namespace

mmHatch::mmHatch() {
    type = kTypeHatch;
    points.emplace_back(0.0, 0.0);
    grips.emplace_back(0.0, 0.0);
}

int mmHatch::AddLoop() {
    loops.push_back(std::make_shared<mmEntityList>());
    return static_cast<int>(loops.size()) - 1;
}

bool mmHatch::AddBoundary(const mmObjectPtr& entity, int loopIndex) {
    if (!entity || loopIndex < 0 || static_cast<std::size_t>(loopIndex) >= loops.size() ||
        !loops[loopIndex])
        return false;
    entity->id = nextBoundaryId++;
    loops[loopIndex]->push_back(entity);
    return true;
}

bool mmHatch::HasBoundary() const {
    for (const auto& loop : loops)
        if (loop)
            for (const mmObjectPtr& e : *loop)
                if (e) return true;
    return false;
}

mmRect mmHatch::BoundaryExtents() const {
    mmRect r = EmptyExtents();
    for (const auto& loop : loops) {
        if (!loop) continue;
        for (const mmObjectPtr& e : *loop) {
            if (!e || inverted(e->extents)) continue;
            WidenRect(r, e->extents.minX, e->extents.minY);
            WidenRect(r, e->extents.maxX, e->extents.maxY);
        }
    }
    return r;
}

void mmHatch::RebuildFill() {
    if (points.empty()) points.emplace_back(0.0, 0.0);
    const mmRect box = BoundaryExtents();
    const double cx = inverted(box) ? 0.0 : (box.minX + box.maxX) / 2.0;
    const double cy = inverted(box) ? 0.0 : (box.minY + box.maxY) / 2.0;
    points[0].x = cx;
    points[0].y = cy;
    UpdateGrips();
    for (const auto& loop : loops) {
        if (!loop) continue;
        for (const mmObjectPtr& e : *loop) {
            if (!e) continue;
            translateBoundary(*e, -cx, -cy);
            e->UpdateGrips();
            e->UpdateExtents();
        }
    }
    UpdateExtents();
}

mmShift mmHatch::BoundaryShift(const mmShift& shift) const {
    const double x = points.empty() ? 0.0 : points[0].x;
    const double y = points.empty() ? 0.0 : points[0].y;
    return {x + shift.dx1 - shift.dx2, y + shift.dy1 - shift.dy2, 0.0, 0.0};
}

void mmHatch::Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit, int,
                   const mmShift& shift, bool cull) {
    if (points.empty() || (cull && CulledBy(view, shift))) return;
    if (mode == kDrawGrips) {
        DrawGripList(dc, grips, shift.dx2, shift.dy2, pixelsPerUnit, kGripSquareLarge);
        return;
    }
    if (!HasBoundary()) return;

    // Fans of all loops invert the stencil: pixels covered an odd number of times are inside.
    const mmRect everywhere{-1e300, -1e300, 1e300, 1e300};
    dc.StencilMaskBegin();
    dc.PushMatrix();
    dc.Translate(points[0].x - shift.dx2, points[0].y - shift.dy2);
    dc.LineWidth(1.0f);
    if (mode == kDrawHighlight) dc.PolygonStipple(highlightStipple);
    for (const auto& loop : loops) {
        if (!loop) continue;
        dc.Begin(prim::kTriangleFan);
        for (const mmObjectPtr& e : *loop)
            if (e) e->Draw(dc, everywhere, kDrawNormal, pixelsPerUnit, kPrimitiveAlreadyOpen, {}, true);
        dc.End();
    }
    if (mode == kDrawHighlight) {
        dc.PolygonStipple(nullptr);
        dc.Color(1.0f, 1.0f, 1.0f);
    }
    dc.PopMatrix();

    // The cover quad over the extents, a pixel wider on every side.
    const double grow = 1.0 / pixelsPerUnit;
    dc.StencilCoverBegin();
    dc.Begin(prim::kQuads);
    dc.Vertex(extents.minX - shift.dx2 - grow, extents.minY - shift.dy2 - grow);
    dc.Vertex(extents.maxX - shift.dx2 + grow, extents.minY - shift.dy2 - grow);
    dc.Vertex(extents.maxX - shift.dx2 + grow, extents.maxY - shift.dy2 + grow);
    dc.Vertex(extents.minX - shift.dx2 - grow, extents.maxY - shift.dy2 + grow);
    dc.End();
    dc.StencilEnd();
}

bool mmHatch::HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m,
                      float pixelsPerUnit, const mmShift& shift, bool cull) {
    if (cull && CulledBy(view, shift)) return false;
    const mmShift inner = BoundaryShift(shift);
    for (const auto& loop : loops) {
        if (!loop) continue;
        for (const mmObjectPtr& e : *loop)
            if (e && e->HitTest(cx, cy, view, m, pixelsPerUnit, inner, true)) return true;
    }
    return false;
}

void mmHatch::SetSelected(bool on, int& delta) {
    selected = on;
    delta = 0;
    for (const auto& loop : loops) {
        if (!loop) continue;
        for (const mmObjectPtr& e : *loop) {
            if (!e) continue;
            int d = 0;
            e->SetSelected(on, d);
            delta += d;
        }
    }
}

bool mmHatch::CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) {
    if (cull && CulledBy(rect, shift)) return false;
    const mmShift inner = BoundaryShift(shift);
    for (const auto& loop : loops) {
        if (!loop) continue;
        for (const mmObjectPtr& e : *loop)
            if (e && e->CrossesRect(rect, inner, true)) return true;
    }
    return false;
}

void mmHatch::UpdateGrips() {
    if (grips.size() != points.size()) grips.assign(points.size(), mmVertex());
    for (std::size_t i = 0; i < points.size(); ++i) {
        grips[i].x = points[i].x;
        grips[i].y = points[i].y;
    }
}

void mmHatch::UpdateExtents() {
    mmRect r = BoundaryExtents();
    if (!inverted(r) && !points.empty()) {
        r.minX += points[0].x;
        r.maxX += points[0].x;
        r.minY += points[0].y;
        r.maxY += points[0].y;
    }
    SetExtents(r);
}

void mmHatch::CopyFrom(const mmObject& from) {
    if (&from == this) return;
    CopyProperties(from);
    CopyPointsAndGrips(from);
    loops.clear();
    if (const auto* h = dynamic_cast<const mmHatch*>(&from)) {
        nextBoundaryId = h->nextBoundaryId;
        for (const auto& loop : h->loops) {
            auto copy = std::make_shared<mmEntityList>();
            if (loop) {
                copy->reserve(loop->size());
                for (const mmObjectPtr& e : *loop) {
                    if (!e) continue;
                    mmObjectPtr clone = CreateEntityOfType(e->type);
                    if (!clone) continue;
                    clone->CopyFrom(*e);
                    copy->push_back(std::move(clone));
                }
            }
            loops.push_back(std::move(copy));
        }
    }
    UpdateExtents();
}
