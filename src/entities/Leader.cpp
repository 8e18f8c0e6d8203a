// Leaders: the path (straight or a centripetal Catmull-Rom curve through the vertices), the
// arrowhead, drawing, picking, crossing, grips and extents.
#include "entities/Leader.h"

#include <cmath>

#include "entities/DrawContext.h"
#include "entities/Geometry.h"
#include "entities/Outline.h"

namespace {

constexpr int kCurveSteps = 16;  // points per span of a spline path

std::vector<mmVertex>& scratch() {
    thread_local std::vector<mmVertex> points;
    return points;
}

// The span from p1 to p2 of the centripetal Catmull-Rom curve through p0, p1, p2, p3, without p1.
void appendSpan(const mmVertex& p0, const mmVertex& p1, const mmVertex& p2, const mmVertex& p3,
                std::vector<mmVertex>& out) {
    const auto knot = [](const mmVertex& a, const mmVertex& b) {
        return std::sqrt(std::max(std::hypot(b.x - a.x, b.y - a.y), 1e-12));
    };
    const double t1 = knot(p0, p1), t2 = t1 + knot(p1, p2), t3 = t2 + knot(p2, p3);
    const auto lerp = [](const mmVertex& a, const mmVertex& b, double ta, double tb, double t) {
        const double u = (t - ta) / (tb - ta);
        return mmVertex(a.x + (b.x - a.x) * u, a.y + (b.y - a.y) * u);
    };
    for (int i = 1; i <= kCurveSteps; ++i) {
        const double t = t1 + (t2 - t1) * i / kCurveSteps;
        const mmVertex a1 = lerp(p0, p1, 0.0, t1, t), a2 = lerp(p1, p2, t1, t2, t),
                       a3 = lerp(p2, p3, t2, t3, t);
        const mmVertex b1 = lerp(a1, a2, 0.0, t2, t), b2 = lerp(a2, a3, t1, t3, t);
        out.push_back(lerp(b1, b2, t1, t2, t));
    }
}

}  // namespace

void mmLeader::Path(std::vector<mmVertex>& out) const {
    out.clear();
    const std::size_t n = points.size();
    if (!splinePath || n < 3) {
        out.assign(points.begin(), points.end());
        return;
    }
    out.reserve(1 + (n - 1) * kCurveSteps);
    out.push_back(points[0]);
    for (std::size_t i = 0; i + 1 < n; ++i) {
        // The ends are extended by mirroring their neighbours.
        const mmVertex& p1 = points[i];
        const mmVertex& p2 = points[i + 1];
        const mmVertex p0 = i > 0 ? points[i - 1] : mmVertex(2 * p1.x - p2.x, 2 * p1.y - p2.y);
        const mmVertex p3 =
            i + 2 < n ? points[i + 2] : mmVertex(2 * p2.x - p1.x, 2 * p2.y - p1.y);
        appendSpan(p0, p1, p2, p3, out);
    }
}

bool mmLeader::Arrow(mmVertex corners[3]) const {
    if (!arrowhead || points.size() < 2 || !(arrowSize > 0.0) || !std::isfinite(arrowSize))
        return false;
    const mmVertex& tip = points[0];
    // Along the path: the first vertex (or curve point) that is not on the tip.
    std::vector<mmVertex>& path = scratch();
    Path(path);
    for (std::size_t i = 1; i < path.size(); ++i) {
        const double dx = path[i].x - tip.x, dy = path[i].y - tip.y;
        const double length = std::hypot(dx, dy);
        if (length == 0.0) continue;
        const double ux = dx / length, uy = dy / length;
        const double bx = tip.x + ux * arrowSize, by = tip.y + uy * arrowSize;
        const double half = arrowSize / 6.0;
        corners[0] = tip;
        corners[1] = mmVertex(bx - uy * half, by + ux * half);
        corners[2] = mmVertex(bx + uy * half, by - ux * half);
        return true;
    }
    return false;
}

void mmLeader::Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit,
                    int primitive, const mmShift& shift, bool cull) {
    if (points.empty() || (cull && CulledBy(view, shift))) return;
    if (mode == kDrawGrips) {
        DrawGripList(dc, grips, shift.dx2, shift.dy2, pixelsPerUnit, kGripSquareLarge);
        return;
    }
    mmVertex arrow[3];
    const bool hasArrow = Arrow(arrow);
    std::vector<mmVertex>& path = scratch();
    Path(path);
    if (mode == kDrawHighlight) BeginHighlight(dc, primitive);
    EmitChain(dc, path.data(), path.size(), prim::kLineStrip, shift);
    if (mode == kDrawHighlight) EndHighlight(dc, primitive);
    if (!hasArrow) return;
    if (mode == kDrawHighlight) dc.PolygonStipple(highlightStipple);
    EmitChain(dc, arrow, 3, prim::kTriangles, shift);
    if (mode == kDrawHighlight) dc.PolygonStipple(nullptr);
}

bool mmLeader::HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m, float,
                       const mmShift& shift, bool cull) {
    if (points.empty() || (cull && CulledBy(view, shift))) return false;
    mmVertex arrow[3];
    double x = 0.0, y = 0.0;
    if (Arrow(arrow) && screenToWorld(cx, cy, m, x, y) && PolygonContains(arrow, 3, x, y, shift))
        return true;
    std::vector<mmVertex>& path = scratch();
    Path(path);
    return ChainHit(path.data(), path.size(), cx, cy, m, shift);
}

bool mmLeader::CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) {
    if (points.empty() || (cull && CulledBy(rect, shift))) return false;
    mmVertex arrow[4];
    if (Arrow(arrow)) {
        arrow[3] = arrow[0];
        if (ChainCrossesRect(arrow, 4, rect, shift)) return true;
    }
    std::vector<mmVertex>& path = scratch();
    Path(path);
    return ChainCrossesRect(path.data(), path.size(), rect, shift);
}

void mmLeader::UpdateExtents() {
    mmRect r = EmptyExtents();
    std::vector<mmVertex>& path = scratch();
    Path(path);
    for (const mmVertex& p : path) WidenRect(r, p.x, p.y);
    mmVertex arrow[3];
    if (Arrow(arrow))
        for (const mmVertex& p : arrow) WidenRect(r, p.x, p.y);
    SetExtents(r);
}

void mmLeader::CopyFrom(const mmObject& from) {
    CopyProperties(from);
    if (const auto* l = dynamic_cast<const mmLeader*>(&from)) {
        arrowhead = l->arrowhead;
        splinePath = l->splinePath;
        arrowSize = l->arrowSize;
        dimStyleId = l->dimStyleId;
    }
    CopyPointsAndGrips(from);
    UpdateExtents();
}
