// Lines, points, circles, arcs, polylines, 3D faces and splines from the decoded drawing. Their
// coordinates are taken in the plane of the drawing; an entity whose extrusion points down (an
// object coordinate system seen from below) has its x axis mirrored.
#include <cmath>

#include "entities/Arc.h"
#include "entities/Circle.h"
#include "entities/Geometry.h"
#include "entities/Line.h"
#include "entities/Point.h"
#include "entities/Polyline.h"
#include "entities/Spline.h"
#include "fileio/dwg/DwgConverter.h"
#include "fileio/dxf/DxfCurveEntities.h"

namespace {

using namespace dwgjson;

// The extrusion is (0, 0, -1), as near as the arbitrary axis rule tells: the entity's x axis is
// the drawing's -x.
bool mirrored(const DwgJson& e) {
    const Point n = point(e, "extrusion");
    constexpr double kAxisLimit = 1.0 / 64.0;
    return n.z < 0.0 && std::fabs(n.x) < kAxisLimit && std::fabs(n.y) < kAxisLimit;
}

double normalizedDegrees(double degrees) {
    double d = std::fmod(degrees, 360.0);
    if (d < 0.0) d += 360.0;
    return d;
}

// Vertices with one bulge each (missing ones straight) as a polyline, as the DXF reader makes
// them; a mirrored one turns its bulges.
std::shared_ptr<mmPolyline> polylineOf(const std::vector<mmVertex>& vertices,
                                       std::vector<double> bulges, bool closed, bool mirror) {
    auto p = std::make_shared<mmPolyline>();
    p->points = vertices;
    if (mirror) {
        for (mmVertex& v : p->points)
            v.x = -v.x;
        for (double& b : bulges)
            b = -b;
    }
    bulges.resize(vertices.size(), 0.0);
    p->bulges = std::move(bulges);
    p->closed = closed;
    p->grips.reserve(2 * vertices.size());
    return p;
}

}  // namespace

mmObjectPtr DwgConverter::convertLine(const DwgJson& e) {
    const Point a = point(e, "start"), b = point(e, "end");
    auto line = std::make_shared<mmLine>();
    line->points.reserve(2);
    line->grips.reserve(3);
    line->AddPoint(a.x, a.y);
    line->AddPoint(b.x, b.y);
    return line;
}

mmObjectPtr DwgConverter::convertPoint(const DwgJson& e) {
    auto p = std::make_shared<mmPointObj>();
    p->points.reserve(1);
    p->AddPoint(real(e, "x"), real(e, "y"));
    return p;
}

mmObjectPtr DwgConverter::convertCircle(const DwgJson& e) {
    const Point c = point(e, "center");
    auto circle = std::make_shared<mmCircle>();
    circle->points.reserve(1);
    circle->grips.reserve(5);
    circle->AddPoint(mirrored(e) ? -c.x : c.x, c.y);
    circle->radius = real(e, "radius");
    return circle;
}

// Seen from below, the arc from start to end counter-clockwise is the one from 180 - end to
// 180 - start.
mmObjectPtr DwgConverter::convertArc(const DwgJson& e) {
    const Point c = point(e, "center");
    double start = real(e, "start_angle") * kRadToDeg;
    double end = real(e, "end_angle") * kRadToDeg;
    auto arc = std::make_shared<mmArc>();
    arc->points.reserve(1);
    arc->grips.reserve(4);
    if (mirrored(e)) {
        arc->AddPoint(-c.x, c.y);
        const double s = start;
        start = normalizedDegrees(180.0 - end);
        end = normalizedDegrees(180.0 - s);
    } else {
        arc->AddPoint(c.x, c.y);
    }
    arc->radius = real(e, "radius");
    arc->startAngle = start;
    arc->endAngle = end;
    arc->direction = 1;
    return arc;
}

mmObjectPtr DwgConverter::convertLwPolyline(const DwgJson& e) {
    const DwgJson& points = array(e, "points");
    std::vector<mmVertex> vertices;
    vertices.reserve(points.size());
    for (const DwgJson& p : points) {
        const Point v = point(p);
        vertices.emplace_back(v.x, v.y);
    }
    std::vector<double> bulges;
    for (const DwgJson& b : array(e, "bulges"))
        bulges.push_back(real(b));
    if (bulges.size() > vertices.size()) bulges.resize(vertices.size());
    return polylineOf(vertices, std::move(bulges), (integer(e, "flag") & 512) != 0, mirrored(e));
}

mmObjectPtr DwgConverter::convertPolyline2d(const DwgJson& e) {
    const DwgJson& list = array(e, "vertices");
    std::vector<mmVertex> vertices;
    std::vector<double> bulges;
    vertices.reserve(list.size());
    bulges.reserve(list.size());
    for (const DwgJson& v : list) {
        const Point p = point(v, "point");
        vertices.emplace_back(p.x, p.y);
        bulges.push_back(real(v, "bulge"));
    }
    return polylineOf(vertices, std::move(bulges), (integer(e, "flag") & 1) != 0, mirrored(e));
}

mmObjectPtr DwgConverter::convertPolyline3d(const DwgJson& e) {
    const DwgJson& list = array(e, "vertices");
    std::vector<mmVertex> vertices;
    vertices.reserve(list.size());
    for (const DwgJson& v : list) {
        const Point p = point(v, "point");
        vertices.emplace_back(p.x, p.y);
    }
    return polylineOf(vertices, {}, (integer(e, "flag") & 1) != 0, false);
}

// The four corners and the first again, as the DXF reader makes it.
mmObjectPtr DwgConverter::convert3dFace(const DwgJson& e) {
    std::vector<mmVertex> vertices;
    vertices.reserve(5);
    for (const char* corner : {"corner1", "corner2", "corner3", "corner4", "corner1"}) {
        const Point p = point(e, corner);
        vertices.emplace_back(p.x, p.y);
    }
    return polylineOf(vertices, {}, false, false);
}

// Splines as the DXF reader makes them from the same definition: one with neither two control
// points nor two fit points is left out.
mmObjectPtr DwgConverter::convertSpline(const DwgJson& e) {
    DxfSplineRecord r;
    r.flags = integer(e, "flag");
    r.degree = integer(e, "degree", 3);
    for (const DwgJson& k : array(e, "knots"))
        r.knots.push_back(real(k));
    const bool rational = integer(e, "rational") != 0;
    for (const DwgJson& c : array(e, "ctrl_pts")) {
        const Point p = point(c);
        r.control.insert(r.control.end(), {p.x, p.y, 0.0});
        if (rational && c.is_array() && c.size() > 3) r.weights.push_back(real(c[3]));
    }
    for (const DwgJson& f : array(e, "fit_pts")) {
        const Point p = point(f);
        r.fit.insert(r.fit.end(), {p.x, p.y, 0.0});
    }
    const Point start = point(e, "beg_tan_vec"), end = point(e, "end_tan_vec");
    r.startTangent[0] = start.x;
    r.startTangent[1] = start.y;
    r.endTangent[0] = end.x;
    r.endTangent[1] = end.y;
    if (r.control.size() < 6 && r.fit.size() < 6) return nullptr;
    auto spline = splineFromRecord(r);
    return spline->points.size() >= 2 ? spline : nullptr;
}
