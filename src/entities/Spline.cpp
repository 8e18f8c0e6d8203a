// Splines: drawing through the NURBS renderer, control-polygon picking and crossing.
#include "entities/Spline.h"

#include <array>
#include <cmath>

#include "entities/DrawContext.h"
#include "entities/Geometry.h"
#include "entities/PickReach.h"

bool mmSpline::IsDrawable() const {
    if (controlPoints.size() % 3 != 0) return false;
    const std::size_t count = controlPoints.size() / 3;
    if (count < static_cast<std::size_t>(kOrder) || knots.size() != count + kOrder) return false;
    for (std::size_t i = 0; i < knots.size(); ++i)
        if (!std::isfinite(knots[i]) || (i > 0 && knots[i] < knots[i - 1])) return false;
    if (!(knots.back() > knots.front())) return false;
    for (float c : controlPoints)
        if (!std::isfinite(c)) return false;
    return true;
}

void mmSpline::SyncControlPoints() {
    controlPoints.resize(points.size() * 3);
    for (std::size_t i = 0; i < points.size(); ++i) {
        controlPoints[3 * i] = static_cast<float>(points[i].x);
        controlPoints[3 * i + 1] = static_cast<float>(points[i].y);
        controlPoints[3 * i + 2] = 0.0f;
    }
}

void mmSpline::Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit,
                    int primitive, const mmShift& shift, bool cull) {
    if (cull && CulledBy(view, shift)) return;
    switch (mode) {
        case kDrawNormal: {
            if (!IsDrawable()) return;
            const float* cp = controlPoints.data();
            thread_local std::vector<float> shifted;
            if (shift.dx2 != 0.0 || shift.dy2 != 0.0) {
                // Shifted from the double-precision points when they match, so that far-off
                // coordinates keep their precision.
                const bool fromPoints = points.size() == controlPoints.size() / 3;
                shifted.resize(controlPoints.size());
                for (std::size_t k = 0; 3 * k + 2 < controlPoints.size(); ++k) {
                    const double x = fromPoints ? points[k].x : controlPoints[3 * k];
                    const double y = fromPoints ? points[k].y : controlPoints[3 * k + 1];
                    shifted[3 * k] = static_cast<float>(x - shift.dx2);
                    shifted[3 * k + 1] = static_cast<float>(y - shift.dy2);
                    shifted[3 * k + 2] = controlPoints[3 * k + 2];
                }
                cp = shifted.data();
            }
            dc.NurbsCurve(static_cast<int>(knots.size()), knots.data(), 3, cp, kOrder);
            break;
        }
        case kDrawHighlight:
            BeginHighlight(dc, primitive);
            if (primitive != kPrimitiveAlreadyOpen) dc.Begin(prim::kLineStrip);
            for (const mmVertex& p : points) dc.Vertex(p.x - shift.dx2, p.y - shift.dy2);
            if (primitive != kPrimitiveAlreadyOpen) dc.End();
            EndHighlight(dc, primitive);
            break;
        default:
            DrawGripList(dc, grips, shift.dx2, shift.dy2, pixelsPerUnit, kGripSquareLarge);
            break;
    }
}

bool mmSpline::HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m, float,
                       const mmShift& shift, bool cull) {
    if (cull && CulledBy(view, shift)) return false;
    const double sx = shift.cullX();
    const double sy = shift.cullY();
    const mmPickReach reach(cx, cy, m, kPickPixels);
    const Vector3D cursor(static_cast<float>(cx), static_cast<float>(cy));
    for (std::size_t i = 1; i < points.size(); ++i) {
        const mmVertex& a = points[i - 1];
        const mmVertex& b = points[i];
        if (!reach.NearSegment(a.x + sx, a.y + sy, b.x + sx, b.y + sy)) continue;
        if (pointSegmentDistance(cursor, projectToPixels(a.x + sx, a.y + sy, m),
                                 projectToPixels(b.x + sx, b.y + sy, m)) < kPickPixels)
            return true;
    }
    return false;
}

bool mmSpline::CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) {
    if (cull && CulledBy(rect, shift)) return false;
    return pointStripCrossesRect(points, rect, shift);
}

void mmSpline::UpdateGrips() {
    if (grips.size() != points.size()) grips.assign(points.size(), mmVertex());
    for (std::size_t i = 0; i < points.size(); ++i) {
        grips[i].x = points[i].x;
        grips[i].y = points[i].y;
    }
}

void mmSpline::CopyFrom(const mmObject& from) {
    CopyProperties(from);
    CopyPointsAndGrips(from);
    if (const auto* s = dynamic_cast<const mmSpline*>(&from)) {
        controlPoints = s->controlPoints;
        knots = s->knots;
    }
    UpdateExtents();
}

void EvaluateSplineCurve(int knotCount, const float* knots, int stride, const float* controlPoints,
                         int order, int samplesPerSpan,
                         const std::function<void(double x, double y)>& emit) {
    constexpr int kMaxOrder = 8;
    const int degree = order - 1;
    const int count = knotCount - order;  // control points
    if (order < 2 || order > kMaxOrder || count < order || samplesPerSpan < 1) return;
    bool first = true;
    for (int span = degree; span < count; ++span) {
        const double t0 = knots[span];
        const double t1 = knots[span + 1];
        if (!(t0 < t1)) continue;
        for (int i = first ? 0 : 1; i <= samplesPerSpan; ++i) {
            // de Boor's algorithm over the control points span - degree .. span.
            const double u = t0 + (t1 - t0) * i / samplesPerSpan;
            std::array<double, 2 * kMaxOrder> d{};
            for (int r = 0; r <= degree; ++r) {
                d[2 * r] = controlPoints[(span - degree + r) * stride];
                d[2 * r + 1] = controlPoints[(span - degree + r) * stride + 1];
            }
            for (int level = 1; level <= degree; ++level)
                for (int r = degree; r >= level; --r) {
                    const int k = span - degree + r;
                    const double denom = knots[k + degree - level + 1] - knots[k];
                    const double a = denom > 0.0 ? (u - knots[k]) / denom : 0.0;
                    d[2 * r] = (1.0 - a) * d[2 * (r - 1)] + a * d[2 * r];
                    d[2 * r + 1] = (1.0 - a) * d[2 * (r - 1) + 1] + a * d[2 * r + 1];
                }
            emit(d[2 * degree], d[2 * degree + 1]);
        }
        first = false;
    }
}
