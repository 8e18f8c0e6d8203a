// Geometry functions: projection, distances, intersections, rectangle and arc tests.
#include <gtest/gtest.h>

#include "entities/Geometry.h"
#include "support/TestView.h"

TEST(Projection, RoundTripsThroughKeptMatrices) {
    TestView view(400, 300, 2.0, 100, 250);
    int px = 0, py = 0;
    ASSERT_TRUE(worldToScreen(10.0, 20.0, view.m, px, py));
    EXPECT_EQ(px, 120);
    EXPECT_EQ(py, 210);  // y grows downwards
    double x = 0, y = 0;
    ASSERT_TRUE(screenToWorld(px, py, view.m, x, y));
    EXPECT_NEAR(x, 10.0, 1e-9);
    EXPECT_NEAR(y, 20.0, 1e-9);
}

TEST(Projection, RoundsHalfAwayFromZero) {
    TestView view(256, 256, 1.0, 0, 256);  // powers of two keep the arithmetic exact
    int px = 0, py = 0;
    worldToScreen(2.5, 0.0, view.m, px, py);
    EXPECT_EQ(px, 3);
    worldToScreen(-2.5, 0.0, view.m, px, py);
    EXPECT_EQ(px, -3);
}

TEST(Vector3D, NormalisingZeroLeavesItUnchanged) {
    const Vector3D zero;
    EXPECT_EQ(zero.Normalized().x, 0.0f);
    EXPECT_NEAR(Vector3D(3, 4).Normalized().y, 0.8f, 1e-6);
}

TEST(ClosestPointOnSegment, ClampsAndSurvivesDegenerateSegments) {
    const Vector3D a(0, 0), b(10, 0);
    EXPECT_FLOAT_EQ(closestPointOnSegment(Vector3D(-5, 3), a, b).x, 0.0f);
    EXPECT_FLOAT_EQ(closestPointOnSegment(Vector3D(15, 3), a, b).x, 10.0f);
    EXPECT_FLOAT_EQ(closestPointOnSegment(Vector3D(4, 3), a, b).x, 4.0f);
    EXPECT_FLOAT_EQ(pointSegmentDistance(Vector3D(4, 3), a, b), 3.0f);
    const Vector3D p = closestPointOnSegment(Vector3D(4, 3), a, a);
    EXPECT_EQ(p.x, 0.0f);
    EXPECT_EQ(p.y, 0.0f);
}

TEST(SegmentIntersection, ParallelSegmentsNeverIntersectEvenWhenOverlapping) {
    mmVertex p;
    EXPECT_FALSE(segmentIntersection({0, 0}, {10, 0}, {5, 0}, {15, 0}, p));
    EXPECT_FALSE(segmentIntersection({0, 0}, {10, 10}, {0, 1}, {10, 11}, p));
    ASSERT_TRUE(segmentIntersection({0, 0}, {10, 10}, {0, 10}, {10, 0}, p));
    EXPECT_DOUBLE_EQ(p.x, 5.0);
    EXPECT_DOUBLE_EQ(p.y, 5.0);
    EXPECT_FALSE(segmentIntersection({0, 0}, {4, 4}, {0, 10}, {10, 0}, p));  // short of it
}

TEST(AngleInArc, StrictBoundsAndNegativeStart) {
    struct Case { double deg, start, end; bool inside; };
    const Case cases[] = {
        {-5, -10, 10, true}, {10, -10, 10, false}, {-10, -10, 10, false},
        {0, 350, 370, true}, {5, 350, 10, true}, {-5, 350, 10, true},  // across 0 degrees
        {180, 350, 10, false}, {20, 143, 397, true}, {20, 143, 37, true}, {90, 143, 37, false},
        {-90, 180, 360, true}, {90, 180, 360, false}, {45, 0, 90, true},
    };
    for (const Case& c : cases) {
        const double r = c.deg * kDegToRad;
        EXPECT_EQ(angleInArc(std::cos(r), std::sin(r), 0, 0, c.start, c.end), c.inside)
            << c.deg << " in " << c.start << ".." << c.end;
    }
}

TEST(RectTests, ExpandedRectAndInsideAreStrict) {
    const mmRect r{0, 0, 10, 10};
    EXPECT_TRUE(pointInExpandedRect(-0.9, 5, 1, r));
    EXPECT_FALSE(pointInExpandedRect(-1, 5, 1, r));
    EXPECT_TRUE(rectInsideRect(r, {1, 1, 9, 9}));
    EXPECT_FALSE(rectInsideRect(r, {0, 1, 9, 9}));
}

TEST(SegmentCrossesRect, Cases) {
    const mmRect r{0, 0, 10, 10};
    struct Case { mmVertex a, b; bool crosses; };
    const Case cases[] = {
        {{-5, 5}, {15, 5}, true},     // straight through
        {{2, 2}, {3, 3}, true},       // inside
        {{-5, -5}, {-1, 20}, false},  // x range misses
        {{-5, 12}, {15, 11}, false},  // above
        {{5, -5}, {5, 15}, true},     // vertical
        {{-5, 9}, {3, 20}, false},    // passes outside the corner
        {{10, 10}, {20, 20}, true},   // touches the corner
    };
    for (const Case& c : cases)
        EXPECT_EQ(segmentCrossesRect(c.a, c.b, r), c.crosses)
            << c.a.x << "," << c.a.y << " " << c.b.x << "," << c.b.y;
}

TEST(CircleCrossesRect, Cases) {
    struct Case { double cx, cy, r; mmRect rect; bool crosses; };
    const Case cases[] = {
        {0, 0, 10, {-2, -2, 2, 2}, false},    // rectangle inside the disc
        {0, 0, 10, {-2, -2, 20, 2}, true},    // sticks out through the outline
        {0, 0, 10, {8, 8, 9, 9}, false},      // in the bounding square, wholly outside the circle
        {0, 0, 10, {6, 6, 9, 9}, true},       // in the bounding square, across the outline
        {0, 0, 10, {6, 8, 7, 9}, true},       // corner (6, 8) on the outline
        {0, 0, 10, {-20, -20, 20, 20}, true}, // window around the circle: centre within spans
        {0, 0, 10, {30, 30, 40, 40}, false},  // far away
        {0, 0, 10, {8, 8, 20, 20}, false},    // nearest corner beyond r
        {0, 0, 10, {7, 7, 20, 20}, true},     // nearest corner within r
    };
    for (const Case& c : cases) EXPECT_EQ(circleCrossesRect(c.cx, c.cy, c.r, c.rect), c.crosses);
}

TEST(ArcCrossesRect, OnlyTheArcPartCounts) {
    // Upper half circle of radius 10.
    EXPECT_TRUE(arcCrossesRect(0, 0, 10, 0, 180, {-1, 5, 1, 15}));
    EXPECT_FALSE(arcCrossesRect(0, 0, 10, 0, 180, {-1, -15, 1, -5}));
    double y1 = 0, y2 = 0;
    EXPECT_FALSE(circleVerticalLineHits(10, 0, 0, 11, y1, y2));
    ASSERT_TRUE(circleVerticalLineHits(10, 0, 0, 6, y1, y2));
    EXPECT_DOUBLE_EQ(y1, -8.0);
    EXPECT_DOUBLE_EQ(y2, 8.0);
}
