// The edge test of TRIM and EXTEND and the two cuts.
#include "commands/TrimExtend.h"

#include <algorithm>
#include <cmath>

#include "entities/Polyline.h"

namespace {

constexpr float kNearlyAxial = 10000000.0f;  // |dx| * this < 1: the segment is nearly vertical
constexpr float kWiden = 0.00001f;

struct Range {
    float lo, hi;
    bool holds(float v) const { return lo <= v && v <= hi; }
};

Range rangeOf(float a, float b, float widen) {
    return {std::min(a, b) - widen, std::max(a, b) + widen};
}

// The single-precision test of one edge segment against the test segment, in coordinates
// relative to the edge's start. The crossing is taken along the edge for the edge's ranges and
// along the test segment for its own ranges: the same point, but a segment parallel to an axis
// then keeps its fixed coordinate exactly instead of missing its own zero-width range by a
// rounding.
bool segmentsMeet(const mmVertex& e1, const mmVertex& e2, const mmVertex& t1, const mmVertex& t2) {
    const auto rel = [&](double v, double origin) { return static_cast<float>(v - origin); };
    const float ex2 = rel(e2.x, e1.x), ey2 = rel(e2.y, e1.y);
    const float tx1 = rel(t1.x, e1.x), ty1 = rel(t1.y, e1.y);
    const float tx2 = rel(t2.x, e1.x), ty2 = rel(t2.y, e1.y);
    const float tdx = tx2 - tx1, tdy = ty2 - ty1;
    const float det = ex2 * tdy - ey2 * tdx;
    if (det == 0.0f) return false;
    const float u = (tx1 * tdy - ty1 * tdx) / det;  // along the edge
    const float s = (tx1 * ey2 - ty1 * ex2) / det;  // along the test segment
    const Range edgeX = rangeOf(0.0f, ex2, std::fabs(ex2) * kNearlyAxial < 1.0f ? kWiden : 0.0f);
    const Range edgeY = rangeOf(0.0f, ey2, std::fabs(ey2) * kNearlyAxial < 1.0f ? kWiden : 0.0f);
    return edgeX.holds(u * ex2) && edgeY.holds(u * ey2) &&
           rangeOf(tx1, tx2, 0.0f).holds(tx1 + s * tdx) &&
           rangeOf(ty1, ty2, 0.0f).holds(ty1 + s * tdy);
}

// Where the edge segment's line meets the test segment's line, in double precision.
mmVertex crossing(const mmVertex& e1, const mmVertex& e2, const mmVertex& t1, const mmVertex& t2) {
    const double edx = e2.x - e1.x, edy = e2.y - e1.y;
    const double tdx = t2.x - t1.x, tdy = t2.y - t1.y;
    const double det = edx * tdy - edy * tdx;
    if (det == 0.0) return mmVertex(e1.x, e1.y);  // parallel only in double: the lines touch
    const double u = ((t1.x - e1.x) * tdy - (t1.y - e1.y) * tdx) / det;
    return mmVertex(e1.x + u * edx, e1.y + u * edy);
}

// The far end of the segment from a through b lengthened beyond b.
mmVertex beyond(const mmVertex& a, const mmVertex& b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    if (!(length > 0.0)) return mmVertex(b.x, b.y);
    return mmVertex(b.x + kExtendReach * dx / length, b.y + kExtendReach * dy / length);
}

bool same(const mmVertex& a, const mmVertex& b) {
    return a.x == b.x && a.y == b.y;
}

// The start test, then the end test. A single segment is both the first and the last: the end
// test would find the crossing the start test found (or, after the start moved onto the edge,
// the start itself) and shrink the polyline to a point, so it runs only when the start test
// found nothing. With more segments the end test never reads the first vertex.
template <class Test>
std::optional<mmPolylineEnds> cutEnds(const mmPolyline& target, Test&& test) {
    const std::vector<mmVertex>& p = target.points;
    const std::size_t n = p.size();
    if (n < 2) return std::nullopt;
    mmPolylineEnds ends{mmVertex(p[0].x, p[0].y), mmVertex(p[n - 1].x, p[n - 1].y)};
    const std::optional<mmVertex> start = test(p[1], p[0], true);
    if (start) ends.first = *start;
    if (n > 2 || !start)
        if (const std::optional<mmVertex> end = test(p[n - 2], p[n - 1], false)) ends.last = *end;
    if (same(ends.first, p[0]) && same(ends.last, p[n - 1])) return std::nullopt;
    return ends;
}

}  // namespace

std::optional<mmVertex> EdgeCrossing(const mmPolyline& edge, const mmVertex& t1,
                                     const mmVertex& t2) {
    for (int i = 0; i < edge.SegmentCount(); ++i) {
        const mmVertex& e1 = edge.points[static_cast<std::size_t>(i)];
        const mmVertex& e2 = edge.points[static_cast<std::size_t>(edge.SegmentEnd(i))];
        if (segmentsMeet(e1, e2, t1, t2)) return crossing(e1, e2, t1, t2);
    }
    return std::nullopt;
}

// Test segments (P0, P1) and (Pn-2, Pn-1).
std::optional<mmPolylineEnds> TrimmedEnds(const mmPolyline& target, const mmPolyline& edge) {
    return cutEnds(target, [&](const mmVertex& inner, const mmVertex& end, bool atStart) {
        return atStart ? EdgeCrossing(edge, end, inner) : EdgeCrossing(edge, inner, end);
    });
}

// Test segments from P1 beyond P0 and from Pn-2 beyond Pn-1.
std::optional<mmPolylineEnds> ExtendedEnds(const mmPolyline& target, const mmPolyline& edge) {
    return cutEnds(target, [&](const mmVertex& inner, const mmVertex& end, bool) {
        return EdgeCrossing(edge, inner, beyond(inner, end));
    });
}

void MoveEnds(mmPolyline& target, const mmPolylineEnds& ends) {
    if (target.points.size() < 2) return;
    target.points.front() = mmVertex(ends.first.x, ends.first.y);
    target.points.back() = mmVertex(ends.last.x, ends.last.y);
    target.UpdateGrips();
    target.UpdateExtents();
}
