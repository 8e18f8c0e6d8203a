// The HATCH record: the boundary paths and their edges. Polyline paths become line and arc
// edges here; the pattern, fill and seed point groups are never read.
#include <algorithm>
#include <cmath>

#include "entities/Geometry.h"
#include "fileio/dxf/DxfEntityRecords.h"

namespace {

enum EdgeType { kEdgeLine = 1, kEdgeArc = 2, kEdgeEllipse = 3, kEdgeSpline = 4 };

// Reads through one group at a time; `have` is false once the file has ended.
struct Cursor {
    DxfReader& r;
    bool have = true;
    void next() { have = r.readGroup(); }
    int32_t code() const { return r.code(); }
    // The groups that end whatever is being read: the next object, the next path.
    bool atBoundary() const { return code() == 0 || code() == 92; }
};

DxfHatchEdge lineEdge(double x1, double y1, double x2, double y2) {
    DxfHatchEdge e;
    e.kind = DxfHatchEdge::Line;
    e.x1 = x1;
    e.y1 = y1;
    e.x2 = x2;
    e.y2 = y2;
    return e;
}

void readPolylinePath(Cursor& c, DxfHatchPath& path) {
    bool closed = false;
    for (; c.have && c.code() != 10; c.next()) {
        if (c.atBoundary()) return;
        if (c.code() == 73) closed = c.r.intValue() != 0;
    }
    std::vector<double> x, y, bulge;
    for (; c.have && !c.atBoundary() && c.code() != 97; c.next()) {
        if (c.code() == 10) {
            x.push_back(c.r.realValue());
            y.push_back(0.0);
            bulge.push_back(0.0);
        } else if (!x.empty() && c.code() == 20) {
            y.back() = c.r.realValue();
        } else if (!x.empty() && c.code() == 42) {
            bulge.back() = c.r.realValue();
        }
    }
    const std::size_t n = x.size();
    for (std::size_t i = 0; i + 1 < n; ++i)
        path.edges.push_back(dxfSegmentEdge(x[i], y[i], x[i + 1], y[i + 1], bulge[i]));
    if (closed && n > 0)
        path.edges.push_back(dxfSegmentEdge(x[n - 1], y[n - 1], x[0], y[0], bulge[n - 1]));
}

// Reads the groups of an edge up to and including the one with the last code, storing them
// through store(code); stops without it at the next edge or path or the end.
template <class Store>
void readEdgeGroups(Cursor& c, int32_t lastCode, Store&& store) {
    for (; c.have && !c.atBoundary() && c.code() != 72; c.next()) {
        store(c.code());
        if (c.code() == lastCode) {
            c.next();
            return;
        }
    }
}

void readSplineEdge(Cursor& c, DxfHatchEdge& e) {
    int32_t knotCount = 0, controlCount = 0;
    for (; c.have && c.code() != 40 && !c.atBoundary() && c.code() != 72; c.next()) {
        if (c.code() == 95)
            knotCount = std::max(0, c.r.intValue());
        else if (c.code() == 96)
            controlCount = std::max(0, c.r.intValue());
    }
    for (; c.have && c.code() != 10 && !c.atBoundary() && c.code() != 72 &&
           e.knots.size() < static_cast<std::size_t>(knotCount);
         c.next())
        if (c.code() == 40) e.knots.push_back(static_cast<float>(c.r.realValue()));
    // Each 10 starts a control point (x, y, 0), up to the count; its 20 gives y.
    const std::size_t values = static_cast<std::size_t>(controlCount) * 3;
    for (; c.have && !c.atBoundary() && c.code() != 72; c.next()) {
        if (c.code() == 10) {
            if (e.control.size() >= values) break;
            e.control.insert(e.control.end(), {c.r.realValue(), 0.0, 0.0});
        } else if (c.code() == 20 && !e.control.empty()) {
            e.control[e.control.size() - 2] = c.r.realValue();
        }
    }
    // Weights and fit data are not used.
    for (; c.have && !c.atBoundary() && c.code() != 72; c.next()) {
    }
}

void readEdgePath(Cursor& c, DxfHatchPath& path) {
    int32_t edges = 0;
    for (; c.have && c.code() != 72; c.next()) {
        if (c.atBoundary()) return;
        if (c.code() == 93) edges = c.r.intValue();
    }
    for (int32_t k = 0; k < edges && c.have && c.code() == 72; ++k) {
        const int32_t type = c.r.intValue();
        c.next();
        DxfHatchEdge e;
        switch (type) {
            case kEdgeLine:
                readEdgeGroups(c, 21, [&](int32_t code) {
                    if (code == 10)
                        e.x1 = c.r.realValue();
                    else if (code == 20)
                        e.y1 = c.r.realValue();
                    else if (code == 11)
                        e.x2 = c.r.realValue();
                    else if (code == 21)
                        e.y2 = c.r.realValue();
                });
                e.kind = DxfHatchEdge::Line;
                path.edges.push_back(std::move(e));
                break;
            case kEdgeArc:
                readEdgeGroups(c, 73, [&](int32_t code) {
                    if (code == 10)
                        e.cx = c.r.realValue();
                    else if (code == 20)
                        e.cy = c.r.realValue();
                    else if (code == 40)
                        e.radius = c.r.realValue();
                    else if (code == 50)
                        e.startAngle = c.r.realValue();
                    else if (code == 51)
                        e.endAngle = c.r.realValue();
                    else if (code == 73)
                        e.counterClockwise = c.r.intValue() != 0;
                });
                e.kind = DxfHatchEdge::Arc;
                if (!e.counterClockwise) {
                    // The clockwise arc's angles are stored as 360 minus those of the arc
                    // followed counter-clockwise.
                    const double start = e.startAngle;
                    e.startAngle = 360.0 - e.endAngle;
                    e.endAngle = 360.0 - start;
                }
                path.edges.push_back(std::move(e));
                break;
            case kEdgeEllipse:  // counted, not kept
                readEdgeGroups(c, 73, [](int32_t) {});
                break;
            case kEdgeSpline:
                readSplineEdge(c, e);
                e.kind = DxfHatchEdge::Spline;
                path.edges.push_back(std::move(e));
                break;
            default:
                break;
        }
        // The next edge begins at its 72.
        for (; c.have && !c.atBoundary() && c.code() != 72; c.next()) {
        }
    }
}

}  // namespace

// A polyline segment: a line, or the arc its bulge describes, worked out in double precision
// (as the arc class does in single precision) so that survey coordinates keep their digits.
DxfHatchEdge dxfSegmentEdge(double x1, double y1, double x2, double y2, double bulge) {
    const bool ccw = bulge > 0.0;
    // The arc runs counter-clockwise from p to q.
    const double px = ccw ? x1 : x2, py = ccw ? y1 : y2;
    const double qx = ccw ? x2 : x1, qy = ccw ? y2 : y1;
    const double chordX = qx - px, chordY = qy - py;
    const double chord = std::hypot(chordX, chordY);
    const double h = chord / 2.0;
    const double sagitta = std::fabs(bulge) * h;
    if (!(sagitta > 0.0) || !std::isfinite(sagitta)) return lineEdge(x1, y1, x2, y2);
    const double r = (h * h + sagitta * sagitta) / (2.0 * sagitta);
    if (!std::isfinite(r)) return lineEdge(x1, y1, x2, y2);
    const double nx = -chordY / chord, ny = chordX / chord;
    DxfHatchEdge e;
    e.kind = DxfHatchEdge::Arc;
    e.cx = px + chordX / 2.0 + nx * (r - sagitta);
    e.cy = py + chordY / 2.0 + ny * (r - sagitta);
    e.radius = r;
    const double start = std::atan2(py - e.cy, px - e.cx);
    double end = std::atan2(qy - e.cy, qx - e.cx);
    if (end < start) end += 2.0 * kPi;
    e.startAngle = start * kRadToDeg;
    e.endAngle = end * kRadToDeg;
    e.counterClockwise = ccw;
    return e;
}

bool readDxfHatch(DxfReader& r, DxfEntityHeader& h, DxfHatchRecord& hatch) {
    hatch = DxfHatchRecord();
    h.clear();
    Cursor c{r};
    c.next();
    for (; c.have && c.code() != 92; c.next()) {
        if (c.code() == 0) return true;
        if (readDxfHeaderGroup(r, h, kDxfAllHeader | kDxfHandle | kDxfExtrusion)) continue;
        if (c.code() == 91) hatch.pathCount = r.intValue();
    }
    while (c.have && c.code() == 92) {
        DxfHatchPath path;
        path.flags = r.intValue();
        c.next();
        if (path.flags & 2)
            readPolylinePath(c, path);
        else
            readEdgePath(c, path);
        hatch.paths.push_back(std::move(path));
        // Source boundary objects, and after the last path the pattern and seed points.
        for (; c.have && !c.atBoundary(); c.next()) {
        }
    }
    return c.have;
}
