// The HATCH record: the fill, the boundary paths and their edges, and the pattern definition.
// Polyline paths become line and arc edges here; seed points and gradients are not read.
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
    // The groups that end whatever is being read: the next object, the next path, the pattern
    // after the last path (75 style, 76 pattern type, 78 line count).
    bool atBoundary() const {
        const int32_t c = code();
        return c == 0 || c == 92 || c == 75 || c == 76 || c == 78;
    }
};

// Reverses a clockwise arc or ellipse into the counter-clockwise one it follows backwards.
void counterClockwiseAngles(DxfHatchEdge& e) {
    if (e.counterClockwise) return;
    const double start = e.startAngle;
    e.startAngle = 360.0 - e.endAngle;
    e.endAngle = 360.0 - start;
}

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

// Degree, flags and counts up to the first knot; knots up to their count; control points (each
// 10 starts one, its 20 gives y, a 42 its weight); then fit points and tangents.
void readSplineEdge(Cursor& c, DxfHatchEdge& e) {
    int32_t knotCount = 0, controlCount = 0;
    auto inEdge = [&] { return c.have && !c.atBoundary() && c.code() != 72; };
    for (; inEdge() && c.code() != 40 && c.code() != 10; c.next()) {
        switch (c.code()) {
            case 94:
                e.degree = c.r.intValue();
                break;
            case 73:
                e.rational = c.r.intValue() != 0;
                break;
            case 74:
                e.periodic = c.r.intValue() != 0;
                break;
            case 95:
                knotCount = std::max(0, c.r.intValue());
                break;
            case 96:
                controlCount = std::max(0, c.r.intValue());
                break;
            default:
                break;
        }
    }
    for (; inEdge() && c.code() != 10 && e.knots.size() < static_cast<std::size_t>(knotCount);
         c.next())
        if (c.code() == 40) e.knots.push_back(c.r.realValue());
    const std::size_t values = static_cast<std::size_t>(controlCount) * 3;
    for (; inEdge() && c.code() != 97 && c.code() != 11; c.next()) {
        if (c.code() == 10) {
            if (e.control.size() >= values) break;
            e.control.insert(e.control.end(), {c.r.realValue(), 0.0, 0.0});
        } else if (c.code() == 20 && !e.control.empty()) {
            e.control[e.control.size() - 2] = c.r.realValue();
        } else if (c.code() == 42) {
            e.weights.push_back(c.r.realValue());
        }
    }
    for (; inEdge(); c.next()) {
        switch (c.code()) {
            case 11:
                e.fit.insert(e.fit.end(), {c.r.realValue(), 0.0});
                break;
            case 21:
                if (!e.fit.empty()) e.fit.back() = c.r.realValue();
                break;
            case 12:
            case 22:
                e.startTangent[(c.code() - 12) / 10] = c.r.realValue();
                break;
            case 13:
            case 23:
                e.endTangent[(c.code() - 13) / 10] = c.r.realValue();
                break;
            default:
                break;
        }
    }
}

// An arc (centre, 40 radius) or an elliptic arc (centre, 11 21 major axis end, 40 ratio), with
// its angles and direction, up to its 73.
void readCurveEdge(Cursor& c, bool ellipse, DxfHatchEdge& e) {
    readEdgeGroups(c, 73, [&](int32_t code) {
        const double value = c.r.realValue();
        switch (code) {
            case 10:
                e.cx = value;
                break;
            case 20:
                e.cy = value;
                break;
            case 11:
                if (ellipse) e.majorX = value;
                break;
            case 21:
                if (ellipse) e.majorY = value;
                break;
            case 40:
                (ellipse ? e.ratio : e.radius) = value;
                break;
            case 50:
                e.startAngle = value;
                break;
            case 51:
                e.endAngle = value;
                break;
            case 73:
                e.counterClockwise = c.r.intValue() != 0;
                break;
            default:
                break;
        }
    });
    e.kind = ellipse ? DxfHatchEdge::Ellipse : DxfHatchEdge::Arc;
    counterClockwiseAngles(e);
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
            case kEdgeEllipse:
                readCurveEdge(c, type == kEdgeEllipse, e);
                path.edges.push_back(std::move(e));
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

namespace {

// The groups after the paths: style, pattern type, angle, scale, double flag and the lines, each
// beginning at its 53. Seed points and gradients are passed over.
void readPattern(Cursor& c, DxfHatchRecord& hatch) {
    for (; c.have && c.code() != 0; c.next()) {
        mmHatchPatternLine* line = hatch.lines.empty() ? nullptr : &hatch.lines.back();
        switch (c.code()) {
            case 75:
                hatch.style = c.r.intValue();
                break;
            case 76:
                hatch.patternType = c.r.intValue();
                break;
            case 52:
                hatch.patternAngle = c.r.realValue();
                break;
            case 41:
                hatch.patternScale = c.r.realValue();
                break;
            case 77:
                hatch.patternDouble = c.r.intValue() != 0;
                break;
            case 53:
                hatch.lines.emplace_back().angle = c.r.realValue();
                break;
            case 43:
                if (line) line->baseX = c.r.realValue();
                break;
            case 44:
                if (line) line->baseY = c.r.realValue();
                break;
            case 45:
                if (line) line->offsetX = c.r.realValue();
                break;
            case 46:
                if (line) line->offsetY = c.r.realValue();
                break;
            case 49:
                if (line) line->dashes.push_back(c.r.realValue());
                break;
            default:
                break;
        }
    }
}

}  // namespace

bool readDxfHatch(DxfReader& r, DxfEntityHeader& h, DxfHatchRecord& hatch) {
    hatch = DxfHatchRecord();
    h.clear();
    Cursor c{r};
    c.next();
    for (; c.have && c.code() != 92; c.next()) {
        if (c.code() == 0) return true;
        if (readDxfHeaderGroup(r, h, kDxfAllHeader | kDxfHandle | kDxfExtrusion)) continue;
        if (c.code() == 91)
            hatch.pathCount = r.intValue();
        else if (c.code() == 2)
            hatch.patternName.assign(r.value());
        else if (c.code() == 70)
            hatch.solidFill = r.intValue() != 0;
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
        // Source boundary objects.
        for (; c.have && !c.atBoundary(); c.next()) {
        }
    }
    readPattern(c, hatch);
    return c.have;
}
