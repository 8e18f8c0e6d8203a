// Ellipses and elliptic arcs: the conjugate form, affine maps, drawing, picking, crossing, grips
// and extents.
#include "entities/Ellipse.h"

#include <algorithm>
#include <cmath>

#include "entities/DrawContext.h"
#include "entities/Geometry.h"
#include "entities/Outline.h"

namespace {

constexpr double kTwoPi = 2.0 * kPi;
constexpr double kWholeTolerance = 1e-9;

// Segments for a whole turn: the error of a chord stays below a third of a pixel.
int turnSegments(double radiusPixels) {
    if (!(radiusPixels > 0.0)) return 256;
    const double n = 4.0 * std::sqrt(radiusPixels);
    return static_cast<int>(std::clamp(n, 16.0, 2048.0));
}

std::vector<mmVertex>& scratch() {
    thread_local std::vector<mmVertex> points;
    return points;
}

}  // namespace

mmEllipse::mmEllipse() {
    type = kTypeEllipse;
    endParam = kTwoPi;
}

void mmEllipse::SetParams(double t0, double t1) {
    if (!std::isfinite(t0) || !std::isfinite(t1)) t0 = t1 = 0.0;
    double sweep = std::fmod(t1 - t0, kTwoPi);
    if (sweep < 0.0) sweep += kTwoPi;
    if (sweep < kWholeTolerance || sweep > kTwoPi - kWholeTolerance) {
        startParam = 0.0;
        endParam = kTwoPi;
        return;
    }
    double start = std::fmod(t0, kTwoPi);
    if (start < 0.0) start += kTwoPi;
    startParam = start;
    endParam = start + sweep;
}

bool mmEllipse::IsWhole() const {
    return startParam == 0.0 && endParam == kTwoPi;
}

void mmEllipse::SetConjugate(double cx, double cy, double ax, double ay, double bx, double by,
                             double t0, double t1) {
    if (points.empty())
        points.emplace_back(cx, cy);
    else
        points[0] = mmVertex(cx, cy);
    // The parameter theta where a cos t + b sin t is longest gives the major axis.
    const double aa = ax * ax + ay * ay, bb = bx * bx + by * by, ab = ax * bx + ay * by;
    const double theta = 0.5 * std::atan2(2.0 * ab, aa - bb);
    const double c = std::cos(theta), s = std::sin(theta);
    const double ux = ax * c + bx * s, uy = ay * c + by * s;
    const double vx = -ax * s + bx * c, vy = -ay * s + by * c;
    const double lu = std::hypot(ux, uy), lv = std::hypot(vx, vy);
    majorX = ux;
    majorY = uy;
    ratio = lu > 0.0 ? std::min(1.0, lv / lu) : 1.0;
    // With the minor axis clockwise of the major one, the parameter runs the other way.
    if (ux * vy - uy * vx >= 0.0)
        SetParams(t0 - theta, t1 - theta);
    else
        SetParams(theta - t1, theta - t0);
}

void mmEllipse::Map(double a, double b, double c, double d, double tx, double ty) {
    const double cx = points.empty() ? 0.0 : points[0].x;
    const double cy = points.empty() ? 0.0 : points[0].y;
    const double mx = -ratio * majorY, my = ratio * majorX;  // the minor axis
    const bool whole = IsWhole();
    SetConjugate(a * cx + b * cy + tx, c * cx + d * cy + ty, a * majorX + b * majorY,
                 c * majorX + d * majorY, a * mx + b * my, c * mx + d * my, startParam,
                 whole ? startParam : endParam);
}

mmVertex mmEllipse::PointAt(double t) const {
    const double cx = points.empty() ? 0.0 : points[0].x;
    const double cy = points.empty() ? 0.0 : points[0].y;
    const double c = std::cos(t), s = std::sin(t);
    return mmVertex(cx + majorX * c - ratio * majorY * s, cy + majorY * c + ratio * majorX * s);
}

void mmEllipse::Outline(float pixelsPerUnit, std::vector<mmVertex>& out) const {
    out.clear();
    if (points.empty()) return;
    const double radius = std::hypot(majorX, majorY) * static_cast<double>(pixelsPerUnit);
    const double fraction = Sweep() / kTwoPi;
    const int n = std::max(4, static_cast<int>(std::ceil(turnSegments(radius) * fraction)));
    out.reserve(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i <= n; ++i) out.push_back(PointAt(startParam + Sweep() * i / n));
}

void mmEllipse::Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit,
                     int primitive, const mmShift& shift, bool cull) {
    if (points.empty() || (cull && CulledBy(view, shift))) return;
    if (mode == kDrawGrips) {
        DrawGripList(dc, grips, shift.dx2, shift.dy2, pixelsPerUnit, kGripSquareSmall);
        return;
    }
    std::vector<mmVertex>& outline = scratch();
    Outline(pixelsPerUnit, outline);
    if (mode == kDrawHighlight) BeginHighlight(dc, primitive);
    EmitChain(dc, outline.data(), outline.size(),
              primitive == kPrimitiveAlreadyOpen ? primitive : prim::kLineStrip, shift);
    if (mode == kDrawHighlight) EndHighlight(dc, primitive);
}

bool mmEllipse::HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m,
                        float pixelsPerUnit, const mmShift& shift, bool cull) {
    if (points.empty() || (cull && CulledBy(view, shift))) return false;
    std::vector<mmVertex>& outline = scratch();
    Outline(pixelsPerUnit, outline);
    return ChainHit(outline.data(), outline.size(), cx, cy, m, shift);
}

bool mmEllipse::CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) {
    if (points.empty() || (cull && CulledBy(rect, shift))) return false;
    std::vector<mmVertex>& outline = scratch();
    Outline(0.0f, outline);
    return ChainCrossesRect(outline.data(), outline.size(), rect, shift);
}

void mmEllipse::UpdateGrips() {
    if (points.empty()) return;
    const mmVertex c = points[0];
    grips.resize(std::min<std::size_t>(grips.size(), 5));
    SetGripAt(grips, 0, c.x, c.y);
    if (IsWhole()) {
        for (int i = 0; i < 4; ++i) {
            const mmVertex p = PointAt(i * kPi / 2.0);
            SetGripAt(grips, static_cast<std::size_t>(i) + 1, p.x, p.y);
        }
        return;
    }
    grips.resize(std::min<std::size_t>(grips.size(), 4));
    const double params[3] = {startParam, (startParam + endParam) / 2.0, endParam};
    for (int i = 0; i < 3; ++i) {
        const mmVertex p = PointAt(params[i]);
        SetGripAt(grips, static_cast<std::size_t>(i) + 1, p.x, p.y);
    }
}

// The ends of the arc and the points where x or y is extreme within it.
void mmEllipse::UpdateExtents() {
    if (points.empty()) {
        SetExtents(EmptyExtents());
        return;
    }
    mmRect r = EmptyExtents();
    const double mx = -ratio * majorY, my = ratio * majorX;
    const auto widen = [&](double t) {
        const mmVertex p = PointAt(t);
        WidenRect(r, p.x, p.y);
    };
    widen(startParam);
    widen(endParam);
    // x(t) is extreme where tan t = mx / majorX, y(t) where tan t = my / majorY.
    for (const double base : {std::atan2(mx, majorX), std::atan2(my, majorY)})
        for (int k = -1; k <= 3; ++k) {
            const double t = base + k * kPi;
            if (t >= startParam && t <= endParam) widen(t);
        }
    SetExtents(r);
}

void mmEllipse::CopyFrom(const mmObject& from) {
    CopyProperties(from);
    if (const auto* e = dynamic_cast<const mmEllipse*>(&from)) {
        majorX = e->majorX;
        majorY = e->majorY;
        ratio = e->ratio;
        startParam = e->startParam;
        endParam = e->endParam;
    }
    CopyPointsAndGrips(from);
    UpdateExtents();
}
