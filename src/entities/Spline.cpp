// Splines: the curve of the definition drawn as a line strip, control-polygon picking and
// crossing, copies.
#include "entities/Spline.h"

#include <cmath>

#include "entities/DrawContext.h"
#include "entities/Geometry.h"
#include "entities/PickReach.h"
#include "entities/SplineConstruction.h"

namespace {

// Half a pixel from the curve, and no more points than this for one curve.
constexpr double kToleranceInPixels = 0.5;
constexpr std::size_t kMostDrawnPoints = 1 << 16;

}  // namespace

mmNurbsView mmSpline::Curve(mmNurbsStorage& storage) const {
    mmNurbsView v;
    v.degree = degree;
    v.points = points;
    v.weights = weights;
    v.knots = knots;
    if ((flags & kPeriodic) && knots.size() == points.size() + 1) return PeriodicAsNurbs(v, storage);
    return v;
}

bool mmSpline::IsDrawable() const {
    thread_local mmNurbsStorage storage;
    return Curve(storage).Valid();
}

bool mmSpline::ControlFromFitPoints() {
    mmNurbsDefinition d;
    if (!InterpolateFitPoints(fitPoints, &startTangent, &endTangent, d)) return false;
    degree = static_cast<int16_t>(d.degree);
    points = std::move(d.points);
    weights.clear();
    knots = std::move(d.knots);
    flags &= ~(kPeriodic | kRational);
    return true;
}

void mmSpline::SampleCurve(double tolerance, std::size_t maxPoints,
                           const std::function<void(double x, double y)>& emit) const {
    thread_local mmNurbsStorage storage;
    const mmNurbsView curve = Curve(storage);
    if (curve.Valid()) SampleNurbs(curve, tolerance, maxPoints, emit);
}

void mmSpline::Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit,
                    int primitive, const mmShift& shift, bool cull) {
    if (cull && CulledBy(view, shift)) return;
    switch (mode) {
        case kDrawNormal: {
            const double tolerance = pixelsPerUnit > 0.0f ? kToleranceInPixels / pixelsPerUnit : 0.0;
            const bool open = primitive != kPrimitiveAlreadyOpen;
            if (open) dc.Begin(prim::kLineStrip);
            SampleCurve(tolerance, kMostDrawnPoints,
                        [&](double x, double y) { dc.Vertex(x - shift.dx2, y - shift.dy2); });
            if (open) dc.End();
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
        degree = s->degree;
        flags = s->flags;
        knots = s->knots;
        weights = s->weights;
        fitPoints = s->fitPoints;
        startTangent = s->startTangent;
        endTangent = s->endTangent;
    }
    UpdateExtents();
}
