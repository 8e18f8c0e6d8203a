// The HATCH entity of a save: a solid fill with one boundary path per loop. A loop that is one
// polyline is a polyline path with its bulges; any other loop is an edge path of lines, arcs and
// splines. Boundary entities are kept relative to the hatch's point 0, which is added back.
#include "drawing/Drawing.h"
#include "entities/Arc.h"
#include "entities/Circle.h"
#include "entities/Hatch.h"
#include "entities/Line.h"
#include "entities/Polyline.h"
#include "entities/Spline.h"
#include "fileio/dxf/DxfEntityRecords.h"
#include "fileio/dxf/DxfBodies.h"
#include "fileio/dxf/DxfWriter.h"

namespace {

enum PathFlags { kPathExternal = 1, kPathPolyline = 2 };
enum EdgeType { kEdgeLine = 1, kEdgeArc = 2, kEdgeSpline = 4 };

// Edges a boundary entity gives; 0 for types a boundary path cannot hold.
int edgeCount(const mmObject& e) {
    switch (e.type) {
        case kTypeLine:
        case kTypeArc:
        case kTypeCircle:
        case kTypeSpline:
            return 1;
        case kTypePolyline:
            if (auto* p = dynamic_cast<const mmPolyline*>(&e)) return p->SegmentCount();
            return 0;
        default:
            return 0;
    }
}

int edgeCount(const mmEntityList& loop) {
    int n = 0;
    for (const mmObjectPtr& e : loop)
        if (e) n += edgeCount(*e);
    return n;
}

const mmPolyline* onlyPolyline(const mmEntityList& loop) {
    if (loop.size() != 1 || !loop[0] || loop[0]->type != kTypePolyline) return nullptr;
    return dynamic_cast<const mmPolyline*>(loop[0].get());
}

void writeLineEdge(DxfWriter& w, double x1, double y1, double x2, double y2) {
    w.writeGroupInt(72, kEdgeLine);
    w.writeGroupReal(10, x1);
    w.writeGroupReal(20, y1);
    w.writeGroupReal(11, x2);
    w.writeGroupReal(21, y2);
}

// A clockwise arc gives its angles as 360 minus those of the counter-clockwise arc.
void writeArcEdge(DxfWriter& w, double cx, double cy, double radius, double start, double end,
                  bool counterClockwise) {
    w.writeGroupInt(72, kEdgeArc);
    w.writeGroupReal(10, cx);
    w.writeGroupReal(20, cy);
    w.writeGroupReal(40, radius);
    w.writeGroupReal(50, counterClockwise ? start : 360.0 - end);
    w.writeGroupReal(51, counterClockwise ? end : 360.0 - start);
    w.writeGroupInt(73, counterClockwise ? 1 : 0);
}

void writeSegmentEdges(DxfWriter& w, const mmPolyline& p, const mmVertex& o) {
    for (int i = 0; i < p.SegmentCount(); ++i) {
        const mmVertex& a = p.points[static_cast<std::size_t>(i)];
        const mmVertex& b = p.points[static_cast<std::size_t>(p.SegmentEnd(i))];
        const DxfHatchEdge e =
            dxfSegmentEdge(a.x + o.x, a.y + o.y, b.x + o.x, b.y + o.y, p.BulgeAt(i));
        if (e.kind == DxfHatchEdge::Arc)
            writeArcEdge(w, e.cx, e.cy, e.radius, e.startAngle, e.endAngle, e.counterClockwise);
        else
            writeLineEdge(w, e.x1, e.y1, e.x2, e.y2);
    }
}

void writeSplineEdge(DxfWriter& w, const mmSpline& s, const mmVertex& o) {
    const std::size_t n = static_cast<std::size_t>(s.ControlPointCount());
    const bool fromPoints = s.points.size() == n;
    w.writeGroupInt(72, kEdgeSpline);
    w.writeGroupInt(94, mmSpline::kOrder - 1);
    w.writeGroupInt(73, 0);  // not rational
    w.writeGroupInt(74, 0);  // not periodic
    w.writeGroupInt(95, static_cast<int64_t>(s.knots.size()));
    w.writeGroupInt(96, static_cast<int64_t>(n));
    for (const float k : s.knots)
        w.writeGroupFloat(40, k);
    for (std::size_t i = 0; i < n; ++i) {
        w.writeGroupReal(10, o.x + (fromPoints ? s.points[i].x : s.controlPoints[3 * i]));
        w.writeGroupReal(20, o.y + (fromPoints ? s.points[i].y : s.controlPoints[3 * i + 1]));
    }
}

void writePolylinePath(DxfWriter& w, const mmPolyline& p, const mmVertex& o) {
    bool bulged = false;
    for (const double b : p.bulges)
        bulged = bulged || b != 0.0;
    w.writeGroupInt(92, kPathExternal | kPathPolyline);
    w.writeGroupInt(72, bulged ? 1 : 0);
    w.writeGroupInt(73, p.closed ? 1 : 0);
    w.writeGroupInt(93, static_cast<int64_t>(p.points.size()));
    for (std::size_t i = 0; i < p.points.size(); ++i) {
        w.writeGroupReal(10, p.points[i].x + o.x);
        w.writeGroupReal(20, p.points[i].y + o.y);
        if (bulged) w.writeGroupReal(42, i < p.bulges.size() ? p.bulges[i] : 0.0);
    }
}

void writeEdge(DxfWriter& w, const mmObject& e, const mmVertex& o) {
    if (auto* line = dynamic_cast<const mmLine*>(&e); line && line->points.size() >= 2) {
        writeLineEdge(w, line->points[0].x + o.x, line->points[0].y + o.y, line->points[1].x + o.x,
                      line->points[1].y + o.y);
    } else if (auto* arc = dynamic_cast<const mmArc*>(&e); arc && !arc->points.empty()) {
        writeArcEdge(w, arc->points[0].x + o.x, arc->points[0].y + o.y, arc->radius,
                     arc->startAngle, arc->endAngle, arc->direction != 0);
    } else if (auto* circle = dynamic_cast<const mmCircle*>(&e);
               circle && !circle->points.empty()) {
        writeArcEdge(w, circle->points[0].x + o.x, circle->points[0].y + o.y, circle->radius, 0.0,
                     360.0, true);
    } else if (auto* p = dynamic_cast<const mmPolyline*>(&e)) {
        writeSegmentEdges(w, *p, o);
    } else if (auto* s = dynamic_cast<const mmSpline*>(&e)) {
        writeSplineEdge(w, *s, o);
    }
}

void writeHatchPath(DxfWriter& w, const mmEntityList& loop, const mmVertex& o) {
    if (const mmPolyline* p = onlyPolyline(loop)) {
        writePolylinePath(w, *p, o);
    } else {
        w.writeGroupInt(92, kPathExternal);
        w.writeGroupInt(93, edgeCount(loop));
        for (const mmObjectPtr& e : loop)
            if (e && edgeCount(*e) > 0) writeEdge(w, *e, o);
    }
    w.writeGroupInt(97, 0);  // no source boundary objects
}

}  // namespace

void writeDxfHatchBody(DxfWriter& w, const mmHatch& h, const mmVertex& offset) {
    mmVertex origin = h.points.empty() ? mmVertex() : h.points[0];
    origin.x += offset.x;
    origin.y += offset.y;
    w.writeGroupString(100, "AcDbHatch");
    w.writeGroupReal(10, 0.0);
    w.writeGroupReal(20, 0.0);
    w.writeGroupReal(30, 0.0);
    w.writeGroupReal(210, 0.0);
    w.writeGroupReal(220, 0.0);
    w.writeGroupReal(230, 1.0);
    w.writeGroupString(2, "SOLID");
    w.writeGroupInt(70, 1);  // solid fill
    w.writeGroupInt(71, 0);  // not associative
    int paths = 0;
    for (const auto& loop : h.loops)
        if (loop && edgeCount(*loop) > 0) ++paths;
    w.writeGroupInt(91, paths);
    for (const auto& loop : h.loops)
        if (loop && edgeCount(*loop) > 0) writeHatchPath(w, *loop, origin);
    w.writeGroupInt(75, 0);  // odd parity
    w.writeGroupInt(76, 1);  // predefined
    w.writeGroupInt(98, 0);  // no seed points
}
