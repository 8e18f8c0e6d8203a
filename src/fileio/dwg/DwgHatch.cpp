// Hatches from the decoded drawing: one boundary loop per path, one boundary entity per edge,
// made the way the DXF reader makes them from the same data.
#include "entities/Arc.h"
#include "entities/Geometry.h"
#include "entities/Hatch.h"
#include "entities/Polyline.h"
#include "entities/Spline.h"
#include "fileio/PlanShapes.h"
#include "fileio/dwg/DwgConverter.h"
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

// The edges of any other path; elliptic arcs are left out.
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
            case kEdgeArc: {
                const Point c = point(seg, "center");
                e.kind = DxfHatchEdge::Arc;
                e.cx = c.x;
                e.cy = c.y;
                e.radius = real(seg, "radius");
                e.startAngle = real(seg, "start_angle") * kRadToDeg;
                e.endAngle = real(seg, "end_angle") * kRadToDeg;
                e.counterClockwise = integer(seg, "is_ccw") != 0;
                if (!e.counterClockwise) {
                    // A clockwise arc's angles are those of the arc followed counter-clockwise,
                    // taken from 360.
                    const double start = e.startAngle;
                    e.startAngle = 360.0 - e.endAngle;
                    e.endAngle = 360.0 - start;
                }
                break;
            }
            case kEdgeSpline:
                e.kind = DxfHatchEdge::Spline;
                for (const DwgJson& k : array(seg, "knots"))
                    e.knots.push_back(static_cast<float>(real(k)));
                for (const DwgJson& cp : array(seg, "control_points")) {
                    const Point p = point(cp);
                    e.control.insert(e.control.end(), {p.x, p.y, 0.0});
                }
                break;
            default:
                continue;
        }
        edges.push_back(std::move(e));
    }
}

mmObjectPtr boundaryOf(const DxfHatchEdge& e) {
    mmObjectPtr entity;
    switch (e.kind) {
        case DxfHatchEdge::Line: {
            auto line = std::make_shared<mmPolyline>();
            line->points.reserve(2);
            line->points.emplace_back(e.x1, e.y1);
            line->points.emplace_back(e.x2, e.y2);
            entity = line;
            break;
        }
        case DxfHatchEdge::Arc: {
            auto arc = std::make_shared<mmArc>();
            arc->AddPoint(e.cx, e.cy);
            arc->radius = e.radius;
            arc->startAngle = e.startAngle;
            arc->endAngle = e.endAngle;
            // The fill follows the boundary in order: a clockwise edge is emitted from its end.
            arc->direction = e.counterClockwise ? 1 : 0;
            arc->lineWidth = 1;
            entity = arc;
            break;
        }
        case DxfHatchEdge::Spline: {
            auto spline = std::make_shared<mmSpline>();
            const std::size_t n = e.control.size() / 3;
            spline->points.reserve(n);
            for (std::size_t i = 0; i < n; ++i)
                spline->points.emplace_back(e.control[3 * i], e.control[3 * i + 1]);
            spline->SyncControlPoints();
            spline->knots = e.knots;
            spline->lineWidth = 1;
            entity = spline;
            break;
        }
    }
    entity->UpdateGrips();
    entity->UpdateExtents();
    return entity;
}

}  // namespace

// Null when no path has an edge.
mmObjectPtr DwgConverter::convertHatch(const DwgJson& e) {
    auto hatch = std::make_shared<mmHatch>();
    bool anyEdge = false;
    std::vector<DxfHatchEdge> edges;
    const mmOcs ocs = DwgPlaneOf(e);
    bool curved = false;
    for (const DwgJson& path : array(e, "paths")) {
        edges.clear();
        if (integer(path, "flag") & 2)
            polylinePath(path, edges);
        else
            edgePath(path, edges);
        curved = PlaceHatchEdges(ocs, edges) || curved;
        const int loop = hatch->AddLoop();
        for (const DxfHatchEdge& edge : edges) {
            hatch->AddBoundary(boundaryOf(edge), loop);
            anyEdge = true;
        }
    }
    if (!anyEdge) return nullptr;
    noteApproximation(ocs, "HATCH", kTypeHatch, curved);
    hatch->RebuildFill();
    // Moving the boundary to the hatch's point 0 shifted the float control points of splines;
    // the double points give them again exactly.
    for (const auto& loop : hatch->loops)
        for (const mmObjectPtr& b : *loop)
            if (b->type == kTypeSpline) static_cast<mmSpline&>(*b).SyncControlPoints();
    return hatch;
}
