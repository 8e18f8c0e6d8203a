// Arcs: setters, drawing, picking, crossing, grips and extents.
#include "entities/Arc.h"

#include <algorithm>
#include <cmath>

#include "entities/Circle.h"
#include "entities/DrawContext.h"
#include "entities/Geometry.h"
#include "entities/SegmentSnap.h"

namespace {

// Raises a by 2*pi while it is below the limit (or at it, when inclusive); huge values are
// reduced first so the loop always ends.
double raiseAbove(double a, double limit, bool inclusive) {
    if (!std::isfinite(a)) return 0.0;
    if (std::fabs(a - limit) > 1e6) a = limit + std::fmod(a - limit, 2.0 * kPi);
    while (inclusive ? a <= limit : a < limit) a += 2.0 * kPi;
    return a;
}

double angleOf(double x, double y, double cx, double cy) {
    return std::atan2(y - cy, x - cx) * kRadToDeg;
}

}  // namespace

void mmArc::PrepareFourPoints() {
    points.assign(4, mmVertex());
    grips.assign(4, mmVertex());
}

void mmArc::SetRadius(double r) {
    radius = r;
    UpdateGrips();
    UpdateExtents();
}

void mmArc::SetStartAngle(double degrees) {
    startAngle = degrees;
    UpdateGrips();
    UpdateExtents();
}

void mmArc::SetEndAngle(double degrees) {
    endAngle = degrees;
    UpdateGrips();
    UpdateExtents();
}

void mmArc::SetStartThrough(double x, double y, double dx, double dy) {
    if (points.empty()) return;
    SetStartAngle(angleOf(x - dx, y - dy, points[0].x, points[0].y));
}

void mmArc::SetEndThrough(double x, double y, double dx, double dy) {
    if (points.empty()) return;
    double a = angleOf(x - dx, y - dy, points[0].x, points[0].y);
    if (a < startAngle && a < 0.0) a += 360.0;
    SetEndAngle(a);
}

bool mmArc::SetThroughThreePoints(const mmVertex& p1, const mmVertex& p2, const mmVertex& p3,
                                  double offsetX, double offsetY) {
    const double bx = p2.x - p1.x, by = p2.y - p1.y;
    const double cx = p3.x - p1.x, cy = p3.y - p1.y;
    const double d = 2.0 * (bx * cy - by * cx);
    const double scale = std::max({std::fabs(bx), std::fabs(by), std::fabs(cx), std::fabs(cy)});
    if (!std::isfinite(d) || scale == 0.0 || std::fabs(d) <= 1e-12 * scale * scale) return false;
    const double b2 = bx * bx + by * by;
    const double c2 = cx * cx + cy * cy;
    const double ux = p1.x + (cy * b2 - by * c2) / d;
    const double uy = p1.y + (bx * c2 - cx * b2) / d;

    const double a1 = angleOf(p1.x, p1.y, ux, uy);
    const double a2 = angleOf(p2.x, p2.y, ux, uy);
    const double a3 = angleOf(p3.x, p3.y, ux, uy);
    if (points.size() < 4) PrepareFourPoints();
    points[0] = mmVertex(ux + offsetX, uy + offsetY);
    points[1] = mmVertex(p1.x + offsetX, p1.y + offsetY);
    points[2] = mmVertex(p2.x + offsetX, p2.y + offsetY);
    points[3] = mmVertex(p3.x + offsetX, p3.y + offsetY);
    SetRadius(std::hypot(p1.x - ux, p1.y - uy));

    bool forward;  // counter-clockwise from a1 to a3
    if (a1 <= a2 && a2 <= a3)
        forward = true;
    else if (a3 < a2 && a2 <= a1)
        forward = false;
    else
        forward = a3 <= a1;
    if (forward) {
        SetStartAngle(a1);
        SetEndAngle(a3);
        direction = 0;
    } else {
        SetStartAngle(a3);
        SetEndAngle(a1);
        direction = 1;
    }
    return true;
}

bool mmArc::SetFromBulge(double bulge, const mmVertex& p1, const mmVertex& p2) {
    const bool ccw = bulge >= 0.0;
    const float px = static_cast<float>(ccw ? p1.x : p2.x), py = static_cast<float>(ccw ? p1.y : p2.y);
    const float qx = static_cast<float>(ccw ? p2.x : p1.x), qy = static_cast<float>(ccw ? p2.y : p1.y);
    const float chordX = qx - px, chordY = qy - py;
    const float chord = std::sqrt(chordX * chordX + chordY * chordY);
    const float h = chord / 2.0f;
    const float s = std::fabs(static_cast<float>(bulge)) * h;
    if (!(s > 0.0f) || !std::isfinite(s)) return false;
    const float r = (h * h + s * s) / (2.0f * s);
    const float nx = -chordY / chord, ny = chordX / chord;
    const float ux = px + chordX / 2.0f + nx * (r - s);
    const float uy = py + chordY / 2.0f + ny * (r - s);
    const float start = std::atan2(py - uy, px - ux);
    float end = std::atan2(qy - uy, qx - ux);
    if (end < start) end += static_cast<float>(2.0 * kPi);
    // Absurd bulges on large coordinates overflow single precision.
    if (!std::isfinite(r) || !std::isfinite(ux) || !std::isfinite(uy) || !std::isfinite(start) ||
        !std::isfinite(end))
        return false;

    direction = ccw ? 1 : 0;
    radius = r;
    startAngle = start * kRadToDeg;
    endAngle = end * kRadToDeg;
    const double mid = (startAngle + endAngle) / 2.0 * kDegToRad;
    if (points.size() < 4) PrepareFourPoints();
    points[0] = mmVertex(ux, uy);
    points[1] = mmVertex(p1.x, p1.y);
    points[2] = mmVertex(ux + r * std::cos(mid), uy + r * std::sin(mid));
    points[3] = mmVertex(p2.x, p2.y);
    lineWidth = 1;
    UpdateGrips();
    UpdateExtents();
    return true;
}

void mmArc::DrawAngles(double& start, double& sweep) const {
    start = raiseAbove(startAngle * kDegToRad, 0.0, false);
    double end = raiseAbove(endAngle * kDegToRad, 0.0, true);
    end = raiseAbove(end, start, false);
    sweep = end - start;
}

void mmArc::Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit,
                 int primitive, const mmShift& shift, bool cull) {
    if (points.empty() || (cull && CulledBy(view, shift))) return;
    if (mode == kDrawGrips) {
        DrawGripList(dc, grips, shift.dx2, shift.dy2, pixelsPerUnit, kGripSquareSmall);
        return;
    }
    const double cx = points[0].x - shift.dx2;
    const double cy = points[0].y - shift.dy2;
    const int n = DrawnSegmentCount(pixelsPerUnit, radius);
    double start = 0.0, sweep = 0.0;
    DrawAngles(start, sweep);

    if (mode == kDrawNormal && lineWidth != 1 && primitive != kPrimitiveAlreadyOpen) {
        const double halfWidth = lineWidth / (2.0 * pixelsPerUnit);
        dc.Begin(prim::kQuadStrip);
        for (int i = 0; i <= n; ++i) {
            const double a = start + sweep * i / n;
            dc.Vertex(cx + (radius + halfWidth) * std::cos(a), cy + (radius + halfWidth) * std::sin(a));
            dc.Vertex(cx + (radius - halfWidth) * std::cos(a), cy + (radius - halfWidth) * std::sin(a));
        }
        dc.End();
        return;
    }
    if (mode == kDrawHighlight) BeginHighlight(dc, primitive);
    dc.LineWidth(1.0f);
    if (primitive != kPrimitiveAlreadyOpen) dc.Begin(primitive);
    for (int k = 0; k <= n; ++k) {
        const int i = direction == 0 ? n - k : k;
        const double a = start + sweep * i / n;
        dc.Vertex(cx + radius * std::cos(a), cy + radius * std::sin(a));
    }
    if (primitive != kPrimitiveAlreadyOpen) dc.End();
    if (mode == kDrawHighlight) EndHighlight(dc, primitive);
}

bool mmArc::HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m,
                    float pixelsPerUnit, const mmShift& shift, bool cull) {
    if (points.empty() || (cull && CulledBy(view, shift))) return false;
    double wx = 0.0, wy = 0.0;
    screenToWorld(cx, cy, m, wx, wy);
    const double ox = points[0].x + shift.cullX();
    const double oy = points[0].y + shift.cullY();
    double qx = 0.0, qy = 0.0;
    const double d = pointCircleDistance(wx, wy, ox, oy, radius, &qx, &qy);
    return d * pixelsPerUnit < kPickPixels && angleInArc(qx, qy, ox, oy, startAngle, endAngle);
}

bool mmArc::Snap(int commandId, bool forceGrips, int cx, int cy, const mmRect& view,
                 mmSnapInfo& info, const mmViewMatrices& m, float pixelsPerUnit,
                 const mmShift& shift, bool cull) {
    return SnapGripsAndSegments(*this, mmSegmentSnapStyle{}, commandId, forceGrips, cx, cy, view,
                                info, m, pixelsPerUnit, shift, cull);
}

bool mmArc::CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) {
    if (points.empty() || (cull && CulledBy(rect, shift))) return false;
    return arcCrossesRect(points[0].x + shift.cullX(), points[0].y + shift.cullY(), radius,
                          startAngle, endAngle, rect);
}

void mmArc::UpdateGrips() {
    if (points.empty()) return;
    if (endAngle < startAngle && endAngle < 0.0) endAngle += 360.0;
    const double s = startAngle < -10000.0 ? 0.0 : startAngle * kDegToRad;
    const double e = endAngle < -10000.0 ? 0.0 : endAngle * kDegToRad;
    const double mid = (s + e) / 2.0;
    const double cx = points[0].x;
    const double cy = points[0].y;
    grips.resize(std::min<std::size_t>(grips.size(), 4));
    SetGripAt(grips, 0, cx, cy);
    SetGripAt(grips, 1, cx + radius * std::cos(s), cy + radius * std::sin(s));
    SetGripAt(grips, 2, cx + radius * std::cos(mid), cy + radius * std::sin(mid));
    SetGripAt(grips, 3, cx + radius * std::cos(e), cy + radius * std::sin(e));
}

void mmArc::UpdateExtents() {
    if (points.empty()) {
        SetExtents(EmptyExtents());
        return;
    }
    // Into [0, 360]: SetFromBulge gives end angles up to start + 360, files any angle at all.
    auto normalise = [](double a) {
        if (!std::isfinite(a)) return 0.0;
        if (a < 0.0 || a > 360.0) a = std::fmod(a, 360.0);
        if (a < 0.0) a += 360.0;
        return a;
    };
    const double start = normalise(startAngle);
    double end = normalise(endAngle);
    if (start > end) end += 360.0;

    const double cx = points[0].x;
    const double cy = points[0].y;
    const mmVertex quadrant[4] = {{cx + radius, cy}, {cx, cy + radius}, {cx - radius, cy},
                                  {cx, cy - radius}};
    const int k0 = start >= 270.0 ? 3 : start >= 180.0 ? 2 : start >= 90.0 ? 1 : 0;
    mmRect r = EmptyExtents();
    if (end > 90.0 * k0)
        for (int k = k0 + 1; k <= k0 + 4; ++k)
            if (90.0 * k <= end) WidenRect(r, quadrant[k % 4].x, quadrant[k % 4].y);
    for (int g : {1, 3})
        if (g < gripCount()) WidenRect(r, grips[g].x, grips[g].y);
    SetExtents(r);
}

void mmArc::CopyFrom(const mmObject& from) {
    CopyProperties(from);
    if (const auto* a = dynamic_cast<const mmArc*>(&from)) {
        radius = a->radius;
        startAngle = a->startAngle;
        endAngle = a->endAngle;
    }
    CopyPointsAndGrips(from);
    UpdateExtents();
}
