// Lines, points, circles, arcs, polylines, 3D faces and splines from the decoded drawing.
// Circles, arcs and 2D polylines are given in the coordinates of their plane (by their
// extrusion), which the plan shows from above: an extrusion pointing down mirrors their x axis.
#include <cmath>

#include "entities/Face3d.h"
#include "entities/Geometry.h"
#include "entities/Line.h"
#include "entities/Point.h"
#include "entities/Polyline.h"
#include "entities/Spline.h"
#include "fileio/PlanShapes.h"
#include "fileio/dwg/DwgConverter.h"
#include "fileio/dxf/DxfCurveEntities.h"

namespace {

using namespace dwgjson;

// Vertices with one bulge each (missing ones straight) as a polyline, as the DXF reader makes
// them, placed from its plane.
std::shared_ptr<mmPolyline> polylineOf(const std::vector<mmVertex>& vertices,
                                       std::vector<double> bulges, bool closed, const mmOcs& ocs,
                                       double elevation) {
    auto p = std::make_shared<mmPolyline>();
    p->points = vertices;
    bulges.resize(vertices.size(), 0.0);
    p->bulges = std::move(bulges);
    p->closed = closed;
    p->grips.reserve(2 * vertices.size());
    PlacePolyline(ocs, elevation, *p);
    return p;
}

bool anyArc(const mmPolyline& p) {
    for (double b : p.bulges)
        if (b != 0.0) return true;
    return false;
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
    return CircleInPlan(DwgPlaneOf(e), {c.x, c.y, c.z}, real(e, "radius"));
}

mmObjectPtr DwgConverter::convertArc(const DwgJson& e) {
    const Point c = point(e, "center");
    return ArcInPlan(DwgPlaneOf(e), {c.x, c.y, c.z}, real(e, "radius"),
                     real(e, "start_angle") * kRadToDeg, real(e, "end_angle") * kRadToDeg);
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
    const mmOcs ocs = DwgPlaneOf(e);
    auto p = polylineOf(vertices, std::move(bulges), (integer(e, "flag") & 512) != 0, ocs,
                        real(e, "elevation"));
    noteApproximation(ocs, "LWPOLYLINE", kTypePolyline, anyArc(*p));
    return p;
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
    const mmOcs ocs = DwgPlaneOf(e);
    auto p = polylineOf(vertices, std::move(bulges), (integer(e, "flag") & 1) != 0, ocs,
                        real(e, "elevation"));
    noteApproximation(ocs, "POLYLINE", kTypePolyline, anyArc(*p));
    return p;
}

mmObjectPtr DwgConverter::convertPolyline3d(const DwgJson& e) {
    const DwgJson& list = array(e, "vertices");
    std::vector<mmVertex> vertices;
    vertices.reserve(list.size());
    for (const DwgJson& v : list) {
        const Point p = point(v, "point");
        vertices.emplace_back(p.x, p.y);
    }
    return polylineOf(vertices, {}, (integer(e, "flag") & 1) != 0, mmOcs(), 0.0);
}

mmObjectPtr DwgConverter::convert3dFace(const DwgJson& e) {
    auto face = std::make_shared<mm3dFace>();
    face->points.reserve(4);
    for (const char* corner : {"corner1", "corner2", "corner3", "corner4"}) {
        const Point p = point(e, corner);
        face->points.emplace_back(p.x, p.y);
    }
    face->invisibleEdges = static_cast<int16_t>(integer(e, "invis_flags") & 15);
    return face;
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
