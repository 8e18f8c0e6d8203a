// Hatches from the decoded drawing: the paths, edges and pattern definition gathered into the
// DXF reader's record, from which the hatch is made the way the DXF reader makes it.
#include "entities/Geometry.h"
#include "entities/Hatch.h"
#include "fileio/PlanShapes.h"
#include "fileio/dwg/DwgConverter.h"
#include "fileio/dxf/DxfCurveEntities.h"
#include "fileio/dxf/DxfEntityRecords.h"

namespace {

using namespace dwgjson;

enum EdgeType { kEdgeLine = 1, kEdgeArc = 2, kEdgeEllipse = 3, kEdgeSpline = 4 };

// A polyline path: its vertices and, when the path has them, their bulges; the edge from the
// last vertex back to the first when it is closed.
void polylinePath(const DwgJson& path, std::vector<DxfHatchEdge>& edges) {
    const bool bulges = integer(path, "bulges_present") != 0;
    std::vector<Point> v;
    for (const DwgJson& p : array(path, "polyline_paths")) {
        Point q = point(p);
        if (!bulges) q.z = 0.0;
        v.push_back(q);
    }
    const std::size_t n = v.size();
    for (std::size_t i = 0; i + 1 < n; ++i)
        edges.push_back(dxfSegmentEdge(v[i].x, v[i].y, v[i + 1].x, v[i + 1].y, v[i].z));
    if (integer(path, "closed") != 0 && n > 0)
        edges.push_back(dxfSegmentEdge(v[n - 1].x, v[n - 1].y, v[0].x, v[0].y, v[n - 1].z));
}

// Arcs and ellipses: centre, radius or major axis and ratio; angles in degrees, those of a
// clockwise curve as those of the counter-clockwise curve it follows backwards, taken from 360.
void curveEdge(const DwgJson& seg, bool ellipse, DxfHatchEdge& e) {
    const Point c = point(seg, "center");
    e.kind = ellipse ? DxfHatchEdge::Ellipse : DxfHatchEdge::Arc;
    e.cx = c.x;
    e.cy = c.y;
    if (ellipse) {
        const Point axis = point(seg, "endpoint");
        e.majorX = axis.x;
        e.majorY = axis.y;
        e.ratio = real(seg, "minor_major_ratio", 1.0);
    } else {
        e.radius = real(seg, "radius");
    }
    e.startAngle = real(seg, "start_angle") * kRadToDeg;
    e.endAngle = real(seg, "end_angle") * kRadToDeg;
    e.counterClockwise = integer(seg, "is_ccw") != 0;
    if (!e.counterClockwise) {
        const double start = e.startAngle;
        e.startAngle = 360.0 - e.endAngle;
        e.endAngle = 360.0 - start;
    }
}

void splineEdge(const DwgJson& seg, DxfHatchEdge& e) {
    e.degree = integer(seg, "degree", 3);
    e.rational = integer(seg, "is_rational") != 0;
    e.periodic = integer(seg, "is_periodic") != 0;
    for (const DwgJson& k : array(seg, "knots"))
        e.knots.push_back(real(k));
    for (const DwgJson& cp : array(seg, "control_points")) {
        const Point p = point(cp);
        e.control.insert(e.control.end(), {p.x, p.y, 0.0});
        if (e.rational) e.weights.push_back(p.z);
    }
    for (const DwgJson& f : array(seg, "fitpts")) {
        const Point p = point(f);
        e.fit.insert(e.fit.end(), {p.x, p.y});
    }
    const Point start = point(seg, "start_tangent"), end = point(seg, "end_tangent");
    e.startTangent[0] = start.x;
    e.startTangent[1] = start.y;
    e.endTangent[0] = end.x;
    e.endTangent[1] = end.y;
}

// The edges of any other path.
void edgePath(const DwgJson& path, std::vector<DxfHatchEdge>& edges) {
    for (const DwgJson& seg : array(path, "segs")) {
        DxfHatchEdge e;
        switch (integer(seg, "curve_type")) {
            case kEdgeLine: {
                const Point a = point(seg, "first_endpoint"), b = point(seg, "second_endpoint");
                e.kind = DxfHatchEdge::Line;
                e.x1 = a.x;
                e.y1 = a.y;
                e.x2 = b.x;
                e.y2 = b.y;
                break;
            }
            case kEdgeArc:
            case kEdgeEllipse:
                curveEdge(seg, integer(seg, "curve_type") == kEdgeEllipse, e);
                break;
            case kEdgeSpline:
                e.kind = DxfHatchEdge::Spline;
                splineEdge(seg, e);
                break;
            default:
                continue;
        }
        edges.push_back(std::move(e));
    }
}

// The pattern lines: angles in radians in the file, in degrees in the record.
void patternOf(const DwgJson& e, DxfHatchRecord& r) {
    r.patternName = std::string(text(e, "name"));
    r.solidFill = integer(e, "is_solid_fill") != 0;
    r.style = integer(e, "style");
    r.patternType = integer(e, "pattern_type", 1);
    r.patternAngle = real(e, "angle") * kRadToDeg;
    r.patternScale = real(e, "scale_spacing", 1.0);
    r.patternDouble = integer(e, "double_flag") != 0;
    for (const DwgJson& d : array(e, "deflines")) {
        mmHatchPatternLine& line = r.lines.emplace_back();
        line.angle = real(d, "angle") * kRadToDeg;
        const Point base = point(d, "pt0"), offset = point(d, "offset");
        line.baseX = base.x;
        line.baseY = base.y;
        line.offsetX = offset.x;
        line.offsetY = offset.y;
        for (const DwgJson& dash : array(d, "dashes"))
            line.dashes.push_back(real(dash));
    }
}

}  // namespace

// Null when no path has an edge. A pattern too dense to draw is counted.
mmObjectPtr DwgConverter::convertHatch(const DwgJson& e) {
    DxfHatchRecord r;
    const mmOcs ocs = DwgPlaneOf(e);
    bool curved = false;
    for (const DwgJson& path : array(e, "paths")) {
        DxfHatchPath& p = r.paths.emplace_back();
        p.flags = integer(path, "flag");
        if (p.flags & 2)
            polylinePath(path, p.edges);
        else
            edgePath(path, p.edges);
        curved = PlaceHatchEdges(ocs, p.edges) || curved;
    }
    patternOf(e, r);
    PlaceHatchPattern(ocs, r.lines);
    auto hatch = hatchFromRecord(r);
    if (!hatch) return nullptr;
    noteApproximation(ocs, "HATCH", kTypeHatch, curved);
    if (!hatch->PreparePattern()) ++patternsOutlined_;
    return hatch;
}
