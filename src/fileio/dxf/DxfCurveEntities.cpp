// Splines and hatches from their records: the spline's definition, hatch boundary edges as
// entities, the pattern definition.
#include "fileio/dxf/DxfCurveEntities.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "entities/Arc.h"
#include "entities/Geometry.h"
#include "entities/Hatch.h"
#include "entities/Polyline.h"
#include "entities/Spline.h"
#include "entities/SplineConstruction.h"

namespace {

// x, y of every triple (or pair) of values.
std::vector<mmVertex> pointsOf(const std::vector<double>& values, std::size_t stride) {
    std::vector<mmVertex> points;
    points.reserve(values.size() / stride);
    for (std::size_t i = 0; i + stride <= values.size(); i += stride)
        points.emplace_back(values[i], values[i + 1]);
    return points;
}

// The definition as read: control points (x, y, z triples), weights when there is one per
// control point, fit points (fitStride values each) and their tangents.
void setDefinition(mmSpline& s, int32_t degree, int32_t flags, const std::vector<double>& control,
                   const std::vector<double>& knots, const std::vector<double>& weights,
                   const std::vector<double>& fit, std::size_t fitStride,
                   const double* startTangent, const double* endTangent) {
    s.degree = static_cast<int16_t>(std::clamp<int32_t>(degree, 0, std::numeric_limits<int16_t>::max()));
    s.flags = flags;
    s.points = pointsOf(control, 3);
    s.knots = knots;
    if (weights.size() == s.points.size()) s.weights = weights;
    s.fitPoints = pointsOf(fit, fitStride);
    s.startTangent = mmVertex(startTangent[0], startTangent[1]);
    s.endTangent = mmVertex(endTangent[0], endTangent[1]);
    if (s.points.empty() && s.fitPoints.size() >= 2) s.ControlFromFitPoints();
}

mmObjectPtr boundaryLine(const DxfHatchEdge& e) {
    auto line = std::make_shared<mmPolyline>();
    line->points.reserve(2);
    line->points.emplace_back(e.x1, e.y1);
    line->points.emplace_back(e.x2, e.y2);
    return line;
}

mmObjectPtr boundaryArc(const DxfHatchEdge& e) {
    auto arc = std::make_shared<mmArc>();
    arc->AddPoint(e.cx, e.cy);
    arc->radius = e.radius;
    arc->startAngle = e.startAngle;
    arc->endAngle = e.endAngle;
    // The fill follows the boundary in order: a clockwise edge is emitted from its end.
    arc->direction = e.counterClockwise ? 1 : 0;
    arc->lineWidth = 1;
    return arc;
}

// The parameter of the ellipse point at an angle (as the file's 50 and 51 give them).
double ellipseParameter(double degrees, double ratio) {
    const double a = degrees * kDegToRad;
    return std::atan2(std::sin(a) / ratio, std::cos(a));
}

// An elliptic arc as the rational quadratic spline that is exactly it, followed in the edge's
// direction.
mmObjectPtr boundaryEllipse(const DxfHatchEdge& e) {
    auto spline = std::make_shared<mmSpline>();
    const double ratio = e.ratio > 0.0 && std::isfinite(e.ratio) ? e.ratio : 1.0;
    double t0 = 0.0, t1 = 2.0 * kPi;
    if (std::fabs(e.endAngle - e.startAngle) < 360.0 - 1e-9) {
        t0 = ellipseParameter(e.startAngle, ratio);
        t1 = ellipseParameter(e.endAngle, ratio);
        while (t1 <= t0) t1 += 2.0 * kPi;
    }
    mmNurbsDefinition d = EllipticArcAsNurbs(mmVertex(e.cx, e.cy), mmVertex(e.majorX, e.majorY),
                                             ratio, t0, t1, !e.counterClockwise);
    spline->degree = static_cast<int16_t>(d.degree);
    spline->flags = mmSpline::kPlanar | mmSpline::kRational;
    spline->points = std::move(d.points);
    spline->weights = std::move(d.weights);
    spline->knots = std::move(d.knots);
    spline->lineWidth = 1;
    return spline;
}

mmObjectPtr boundarySpline(const DxfHatchEdge& e) {
    auto spline = std::make_shared<mmSpline>();
    const int32_t flags = mmSpline::kPlanar | (e.rational ? mmSpline::kRational : 0) |
                          (e.periodic ? mmSpline::kPeriodic | mmSpline::kClosed : 0);
    setDefinition(*spline, e.degree, flags, e.control, e.knots, e.weights, e.fit, 2,
                  e.startTangent, e.endTangent);
    spline->lineWidth = 1;
    return spline;
}

mmObjectPtr boundaryEntity(const DxfHatchEdge& e) {
    mmObjectPtr entity;
    switch (e.kind) {
        case DxfHatchEdge::Line:
            entity = boundaryLine(e);
            break;
        case DxfHatchEdge::Arc:
            entity = boundaryArc(e);
            break;
        case DxfHatchEdge::Ellipse:
            entity = boundaryEllipse(e);
            break;
        case DxfHatchEdge::Spline:
            entity = boundarySpline(e);
            break;
    }
    entity->UpdateGrips();
    entity->UpdateExtents();
    return entity;
}

}  // namespace

std::shared_ptr<mmSpline> splineFromRecord(const DxfSplineRecord& r) {
    auto s = std::make_shared<mmSpline>();
    setDefinition(*s, r.degree, r.flags, r.control, r.knots, r.weights, r.fit, 3, r.startTangent,
                  r.endTangent);
    return s;
}

std::shared_ptr<mmHatch> hatchFromRecord(const DxfHatchRecord& r) {
    auto hatch = std::make_shared<mmHatch>();
    bool anyEdge = false;
    for (const DxfHatchPath& path : r.paths) {
        const int loop = hatch->AddLoop();
        for (const DxfHatchEdge& edge : path.edges) {
            hatch->AddBoundary(boundaryEntity(edge), loop);
            anyEdge = true;
        }
    }
    if (!anyEdge) return nullptr;
    hatch->solidFill = r.solidFill;
    if (!r.patternName.empty()) hatch->patternName = r.patternName;
    hatch->hatchStyle = static_cast<int16_t>(std::clamp(r.style, 0, 2));
    hatch->patternType = static_cast<int16_t>(std::clamp(r.patternType, 0, 2));
    hatch->patternAngle = r.patternAngle;
    hatch->patternScale = r.patternScale;
    hatch->patternDouble = r.patternDouble;
    hatch->patternLines = r.lines;
    hatch->RebuildFill();
    return hatch;
}
