// The grip rules of each class.
#include "commands/GripRules.h"

#include <cmath>

#include "entities/Arc.h"
#include "entities/Circle.h"
#include "entities/Dimension.h"
#include "entities/Hatch.h"
#include "entities/Polyline.h"
#include "entities/Text.h"
#include "entities/Viewport.h"

namespace {

constexpr double kPi = 3.141592653589793;

// The bulge of the arc from a through mid to b: tan(sweep / 4), negative when it runs clockwise;
// 0 (a straight segment) when the three points are collinear.
double bulgeThrough(const mmVertex& a, const mmVertex& mid, const mmVertex& b) {
    mmArc arc;
    if (!arc.SetThroughThreePoints(a, mid, b, 0.0, 0.0)) return 0.0;
    double start = arc.startAngle;
    double end = arc.endAngle;
    if (start < 0.0) start += 360.0;
    if (end < 0.0) end += 360.0;
    if (end < start) end += 360.0;
    const double bulge = std::tan((end - start) * kPi / 180.0 / 4.0);
    return arc.direction == 0 ? bulge : -bulge;  // direction 0: counter-clockwise from a to b
}

// The mid point of a polyline's arc segment.
mmVertex arcMid(const mmPolyline& p, int segment) {
    mmArc arc;
    if (!p.SegmentArc(segment, 0.0, 0.0, arc)) return mmVertex();
    return mmVertex(arc.points[2].x, arc.points[2].y);
}

void lineRule(mmObject& line, int g, const mmVertex& p) {
    if (line.points.size() < 2) return;
    if (g == 0) {
        line.points[0] = p;
    } else if (g == 2) {
        line.points[1] = p;
    } else if (g == 1) {
        const double dx = p.x - (line.points[0].x + line.points[1].x) / 2.0;
        const double dy = p.y - (line.points[0].y + line.points[1].y) / 2.0;
        for (mmVertex& v : line.points)
            v = mmVertex(v.x + dx, v.y + dy);
    }
}

void polylineRule(mmPolyline& pl, int g, const mmVertex& p) {
    const int v = g / 2;
    if (g < 0 || v >= pl.pointCount()) return;
    if (pl.bulges.size() != pl.points.size()) pl.bulges.resize(pl.points.size(), 0.0);
    const bool vertex = g % 2 == 0;
    // The arc before the vertex is refitted through its mid point as it is now.
    const bool refitBefore = vertex && v > 0 && pl.BulgeAt(v - 1) != 0.0;
    const mmVertex midBefore = refitBefore ? arcMid(pl, v - 1) : mmVertex();
    if (v < pl.SegmentCount() && pl.BulgeAt(v) != 0.0) {
        mmVertex start = pl.points[v];
        mmVertex mid = arcMid(pl, v);
        (vertex ? start : mid) = p;
        pl.bulges[v] = bulgeThrough(start, mid, pl.points[pl.SegmentEnd(v)]);
        if (vertex) pl.points[v] = p;
    } else {
        pl.points[v] = p;
    }
    if (refitBefore) pl.bulges[v - 1] = bulgeThrough(pl.points[v - 1], midBefore, p);
}

void arcRule(mmArc& arc, int g, const mmVertex& p) {
    if (arc.points.empty()) return;
    if (g == 0) {
        const double dx = p.x - arc.points[0].x;
        const double dy = p.y - arc.points[0].y;
        for (mmVertex& v : arc.points)
            v = mmVertex(v.x + dx, v.y + dy);
        return;
    }
    if (g < 1 || g > 3 || arc.gripCount() < 4) return;
    mmVertex through[3] = {arc.grips[1], arc.grips[2], arc.grips[3]};
    through[g - 1] = p;
    arc.SetThroughThreePoints(through[0], through[1], through[2], 0.0, 0.0);
}

// Grips 0 to 2 are the definition points P0 to P2; the others (the far end of the dimension line,
// the text) move the dimension line through the point. Ordinates give their text position. The
// grips of a radius dimension are the point on the circle, the centre and the text.
void dimensionRule(mmDimension& d, int g, const mmVertex& p) {
    if (g < 0 || g >= d.pointCount()) return;
    if (d.dimType == kDimRadius) {
        constexpr int kRadiusGrips[] = {kDimRadialChordPoint, kDimRadialCentre, kDimTextPoint};
        if (g < 3) d.defPoints[kRadiusGrips[g]] = mmVertex(p.x, p.y);
    } else if (g <= 2) {
        d.defPoints[g] = mmVertex(p.x, p.y);
    } else if (d.dimType == kDimOrdinate) {
        d.defPoints[6] = mmVertex(p.x, p.y);
    } else {
        const mmVertex& from = d.points[g];
        d.defPoints[2] = mmVertex(d.defPoints[2].x + p.x - from.x, d.defPoints[2].y + p.y - from.y);
    }
    d.BuildDimension(nullptr);
}

// The corner follows the point and its two neighbours keep the rectangle axis-parallel; the
// corners are then rewritten in their usual order from the new extents.
void viewportRule(mmViewport& v, int g, const mmVertex& p) {
    if (g < 0 || g > 3 || v.pointCount() != 4) return;
    v.points[g] = p;
    const int before = (g + 3) % 4;
    const int after = (g + 1) % 4;
    // Corners 0-1 and 2-3 share y; 1-2 and 3-0 share x.
    const bool horizontalAfter = g % 2 == 0;
    if (horizontalAfter) {
        v.points[after].y = p.y;
        v.points[before].x = p.x;
    } else {
        v.points[after].x = p.x;
        v.points[before].y = p.y;
    }
    v.UpdateExtents();
    const mmRect& r = v.extents;
    v.SetRectangle(r.minX, r.minY, r.maxX, r.maxY);
}

}  // namespace

void ApplyGripRule(mmObject& e, int g, const mmVertex& p) {
    const mmVertex at(p.x, p.y);
    switch (e.type) {
        case kTypeLine:
            lineRule(e, g, at);
            break;
        case kTypePolyline:
            polylineRule(static_cast<mmPolyline&>(e), g, at);
            break;
        case kTypeCircle:
            if (e.points.empty()) return;
            if (g == 0)
                e.points[0] = at;
            else
                static_cast<mmCircle&>(e).SetRadius(
                    std::hypot(at.x - e.points[0].x, at.y - e.points[0].y));
            break;
        case kTypeArc:
            arcRule(static_cast<mmArc&>(e), g, at);
            break;
        case kTypeText:
        case kTypeMText:
        case kTypeAttributeDef:
            static_cast<mmText&>(e).SetInsertionPoint(at.x, at.y);
            break;
        case kTypeHatch:
            if (e.points.empty()) return;
            static_cast<mmHatch&>(e).MovePattern(at.x - e.points[0].x, at.y - e.points[0].y);
            e.points[0] = at;
            break;
        case kTypePoint:
        case kTypeBlockRef:
        case kTypeXLine:
            if (e.points.empty()) return;
            e.points[0] = at;
            break;
        // The corners of solids and 3D faces and the vertices of leaders move one by one; an
        // ellipse moves by its centre.
        case kTypeSolid:
        case kType3dFace:
        case kTypeLeader:
            if (g < 0 || g >= e.pointCount()) return;
            e.points[static_cast<std::size_t>(g)] = at;
            break;
        case kTypeEllipse:
            if (e.points.empty() || g != 0) return;
            e.points[0] = at;
            break;
        case kTypeDimension:
            dimensionRule(static_cast<mmDimension&>(e), g, at);
            break;
        case kTypeViewport:
            viewportRule(static_cast<mmViewport&>(e), g, at);
            break;
        default:  // splines, raster images: nothing moves
            return;
    }
    e.UpdateGrips();
    e.UpdateExtents();
}
