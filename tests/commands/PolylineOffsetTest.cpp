// OFFSET's geometry: every segment of the copy lies at the distance from its source segment,
// straight ones parallel and arcs concentric, with the joints where the moved segments meet.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "commands/PolylineOffset.h"
#include "entities/Polyline.h"

namespace {

using Polyline = std::shared_ptr<mmPolyline>;

Polyline polyline(std::initializer_list<mmVertex> points, std::vector<double> bulges = {},
                  bool closed = false) {
    auto p = std::make_shared<mmPolyline>();
    for (const mmVertex& v : points)
        p->points.emplace_back(v.x, v.y);
    p->bulges = std::move(bulges);
    p->closed = closed;
    p->UpdateGrips();
    p->UpdateExtents();
    return p;
}

Polyline offset(const Polyline& source, double d, int side) {
    auto copy = std::make_shared<mmPolyline>();
    copy->CopyFrom(*source);
    OffsetPolyline(*source, d, side, *copy);
    return copy;
}

struct Circle {
    double cx, cy, r;
};

// The circle of a bulged segment, worked out apart from the code under test: the half-chord h,
// the included angle 4 atan(b), the radius h / sin(2 atan(b)).
Circle arcOf(const mmVertex& a, const mmVertex& b, double bulge) {
    const double h = std::hypot(b.x - a.x, b.y - a.y) / 2.0;
    const double half = 2.0 * std::atan(bulge);
    const double r = h / std::sin(half);
    const double toCentre = r * std::cos(half);  // from the chord's middle, to its left
    const double ux = (b.x - a.x) / (2.0 * h), uy = (b.y - a.y) / (2.0 * h);
    return {(a.x + b.x) / 2.0 - uy * toCentre, (a.y + b.y) / 2.0 + ux * toCentre, std::fabs(r)};
}

double distanceToLine(const mmVertex& p, const mmVertex& a, const mmVertex& b) {
    const double l = std::hypot(b.x - a.x, b.y - a.y);
    return ((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x)) / l;
}

void expectAt(const mmVertex& v, double x, double y, double tolerance = 1e-9) {
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
}

}  // namespace

TEST(PolylineOffset, EverySegmentWithArcsKeepsTheDistance) {
    // A line, a quarter circle turning left, a line up, a half circle back, a line down.
    const Polyline source = polyline({{0, 0}, {10, 0}, {15, 5}, {15, 15}, {5, 15}, {5, 5}},
                                     {0, std::tan(std::atan(1.0) / 2.0), 0, 1, 0, 0});
    for (const int side : {+1, -1}) {
        SCOPED_TRACE(side);
        const double d = 1.5;
        const Polyline copy = offset(source, d, side);
        ASSERT_EQ(copy->points.size(), source->points.size());
        for (int i = 0; i + 1 < source->pointCount(); ++i) {
            SCOPED_TRACE(i);
            const mmVertex &a = source->points[i], &b = source->points[i + 1];
            const mmVertex &a2 = copy->points[i], &b2 = copy->points[i + 1];
            const double bulge = source->bulges[i], bulge2 = copy->bulges[i];
            if (bulge == 0.0) {
                EXPECT_EQ(bulge2, 0.0);
                EXPECT_NEAR(distanceToLine(a2, a, b), side * d, 1e-9);
                EXPECT_NEAR(distanceToLine(b2, a, b), side * d, 1e-9);
                continue;
            }
            const Circle c = arcOf(a, b, bulge);
            const Circle c2 = arcOf(a2, b2, bulge2);
            EXPECT_GT(bulge2 * bulge, 0.0);
            EXPECT_NEAR(c2.cx, c.cx, 1e-9);
            EXPECT_NEAR(c2.cy, c.cy, 1e-9);
            EXPECT_NEAR(c2.r, c.r - side * d, 1e-9);  // the arcs turn left: left is inside
        }
    }
}

TEST(PolylineOffset, JointsOfClosedAndNearlyClosedPolylines) {
    const struct {
        const char* name;
        Polyline source;
    } cases[] = {
        {"closed", polyline({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {}, true)},
        {"closed, first vertex repeated",
         polyline({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}, {}, true)},
        {"open, last vertex on the first", polyline({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}})},
        {"open, last vertex 0.005 off the first",
         polyline({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0.005, -0.005}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Right of travel is outside; a vertex that were no joint would lie 2 units off.
        const Polyline copy = offset(c.source, 2, -1);
        const std::vector<mmVertex>& v = copy->points;
        expectAt(v[0], -2, -2, 0.01);
        expectAt(v[1], 12, -2, 0.01);
        expectAt(v[2], 12, 12, 0.01);
        expectAt(v[3], -2, 12, 0.01);
        if (v.size() == 5) expectAt(v[4], -2, -2, 0.01);
    }
}

TEST(PolylineOffset, OpenEndsMoveSquareAndReversalsStraightBack) {
    const Polyline copy = offset(polyline({{0, 0}, {10, 0}, {5, 0}}), 1, +1);
    expectAt(copy->points[0], 0, 1);
    expectAt(copy->points[1], 10, 1);  // the path turns back: moved by the incoming normal
    expectAt(copy->points[2], 5, -1);

    // An open polyline's last vertex 0.02 away from its first is no joint.
    const Polyline open = offset(polyline({{0, 0}, {10, 0}, {10, 10}, {0.02, 0}}), 1, +1);
    expectAt(open->points[0], 0, 1);
}

TEST(PolylineOffset, SideOfTheNearestSegment) {
    const Polyline p = polyline({{0, 0}, {10, 0}, {10, 10}});
    EXPECT_EQ(OffsetSide(*p, {5, 3}), +1);
    EXPECT_EQ(OffsetSide(*p, {5, -3}), -1);
    EXPECT_EQ(OffsetSide(*p, {13, 8}), -1);  // right of the second segment
    EXPECT_EQ(OffsetSide(*p, {5, 0}), +1);   // on the chord
    EXPECT_EQ(OffsetSide(*polyline({{1, 1}}), {0, 0}), 0);
}
