// Circles and arcs: segment counts, emission order, rings, extents, picking and construction.
#include <gtest/gtest.h>

#include <cmath>

#include "entities/Arc.h"
#include "entities/Circle.h"
#include "entities/DrawContext.h"
#include "entities/RecordingDrawContext.h"
#include "support/TestView.h"

namespace {
const mmRect kEverywhere{-1e6, -1e6, 1e6, 1e6};

std::shared_ptr<mmCircle> makeCircle(double cx, double cy, double r) {
    auto c = std::make_shared<mmCircle>();
    c->AddPoint(cx, cy);
    c->SetRadius(r);
    return c;
}

std::shared_ptr<mmArc> makeArc(double cx, double cy, double r, double start, double end) {
    auto a = std::make_shared<mmArc>();
    a->PrepareFourPoints();
    a->points[0] = mmVertex(cx, cy);
    a->radius = r;
    a->SetStartAngle(start);
    a->SetEndAngle(end);
    return a;
}

double angleOf(const mmVertex& v, double cx = 0, double cy = 0) {
    return std::atan2(v.y - cy, v.x - cx) * 180.0 / kPi;
}
}  // namespace

TEST(CircleSegments, FivePerPixelOfRadiusCappedAt100) {
    EXPECT_EQ(CircleSegmentCount(1.0f, 0.1), 0);
    EXPECT_EQ(CircleSegmentCount(10.0f, 0.1), 5);
    EXPECT_EQ(CircleSegmentCount(1000.0f, 50), 100);
    EXPECT_EQ(CircleSegmentCount(1.0f, std::nan("")), 0);
}

TEST(CircleDraw, TinyCircleStillDrawsSomething) {
    auto cPtr = makeCircle(0, 0, 0.1);
    mmCircle& c = *cPtr;
    mmRecordingDrawContext dc;
    c.Draw(dc, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, {}, true);
    ASSERT_EQ(dc.primitives.size(), 1u);
    EXPECT_EQ(dc.primitives[0].vertices.size(), kMinDrawnSegments + 2u);
    for (const mmVertex& v : dc.primitives[0].vertices) EXPECT_TRUE(std::isfinite(v.x));
}

TEST(CircleDraw, OutlineStartsAtTopAndRunsClockwise) {
    auto cPtr = makeCircle(0, 0, 10);  // 50 segments at 1 pixel per unit
    mmCircle& c = *cPtr;
    mmRecordingDrawContext dc;
    c.Draw(dc, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, {}, true);
    const auto& v = dc.primitives.at(0).vertices;
    ASSERT_EQ(v.size(), 52u);  // n + 1 and the closing vertex
    EXPECT_NEAR(v[0].y, 10, 1e-12);
    EXPECT_GT(v[1].x, 0);  // clockwise: to the right of the top first
    EXPECT_NEAR(v.back().x, 0, 1e-12);
    EXPECT_NEAR(v.back().y, 10, 1e-12);
}

TEST(CircleDraw, WideOutlineIsARingOfThatManyPixels) {
    auto cPtr = makeCircle(0, 0, 10);
    mmCircle& c = *cPtr;
    c.lineWidth = 4;
    mmRecordingDrawContext dc;
    c.Draw(dc, kEverywhere, kDrawNormal, 2.0f, prim::kLineStrip, {}, true);
    const auto& p = dc.primitives.at(0);
    EXPECT_EQ(p.primitive, prim::kQuadStrip);
    EXPECT_NEAR(p.vertices[0].y, 11, 1e-12);  // 10 + 4 / (2 * 2)
    EXPECT_NEAR(p.vertices[1].y, 9, 1e-12);
    // Highlight is always the thin outline.
    dc.Clear();
    c.Draw(dc, kEverywhere, kDrawHighlight, 2.0f, prim::kLineStrip, {}, true);
    EXPECT_EQ(dc.primitives.at(0).primitive, prim::kLineStrip);
}

TEST(CircleGrips, CentreThenFourQuadrants) {
    auto cPtr = makeCircle(1, 2, 3);
    mmCircle& c = *cPtr;
    ASSERT_EQ(c.gripCount(), 5);
    EXPECT_EQ(c.grips[1].x, 4);
    EXPECT_EQ(c.grips[2].y, 5);
    EXPECT_EQ(c.grips[3].x, -2);
    EXPECT_EQ(c.grips[4].y, -1);
    EXPECT_EQ(c.extents.minX, -2);
    EXPECT_EQ(c.extents.maxY, 5);
}

TEST(CirclePick, NearTheOutlineOnly) {
    TestView view(400, 300, 1.0, 200, 150);
    auto cPtr = makeCircle(0, 0, 50);
    mmCircle& c = *cPtr;
    EXPECT_TRUE(c.HitTest(view.px(53), view.py(0), view.rect(), view.m, 1.0f, {}, true));
    EXPECT_FALSE(c.HitTest(view.px(0), view.py(0), view.rect(), view.m, 1.0f, {}, true));
    EXPECT_FALSE(c.HitTest(view.px(56), view.py(0), view.rect(), view.m, 1.0f, {}, true));
}

TEST(ArcDraw, AcrossZeroDegreesSweepsTheShortWay) {
    auto aPtr = makeArc(0, 0, 10, 350, 10);
    mmArc& a = *aPtr;
    mmRecordingDrawContext dc;
    a.Draw(dc, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, {}, true);
    const auto& v = dc.primitives.at(0).vertices;
    ASSERT_EQ(v.size(), 51u);
    EXPECT_NEAR(angleOf(v.front()), -10, 1e-9);
    EXPECT_NEAR(angleOf(v[25]), 0, 1e-9);
    EXPECT_NEAR(angleOf(v.back()), 10, 1e-9);
}

TEST(ArcDraw, DirectionZeroReversesTheVertices) {
    auto aPtr = makeArc(0, 0, 10, 30, 120);
    mmArc& a = *aPtr;
    mmRecordingDrawContext forward, backward;
    a.Draw(forward, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, {}, true);
    a.direction = 0;
    a.Draw(backward, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, {}, true);
    auto f = forward.primitives.at(0).vertices;
    const auto& b = backward.primitives.at(0).vertices;
    ASSERT_EQ(f.size(), b.size());
    for (std::size_t i = 0; i < f.size(); ++i) {
        EXPECT_DOUBLE_EQ(f[i].x, b[b.size() - 1 - i].x);
        EXPECT_DOUBLE_EQ(f[i].y, b[b.size() - 1 - i].y);
    }
}

TEST(ArcExtents, IncludeCrossedQuadrantsAndEndsButNotTheCentre) {
    auto aPtr = makeArc(0, 0, 10, 10, 350);
    mmArc& a = *aPtr;
    EXPECT_NEAR(a.extents.minX, -10, 1e-12);  // 180
    EXPECT_NEAR(a.extents.maxY, 10, 1e-12);   // 90
    EXPECT_NEAR(a.extents.minY, -10, 1e-12);  // 270
    EXPECT_NEAR(a.extents.maxX, 10 * std::cos(10 * kDegToRad), 1e-12);  // not the point at 0

    auto smallPtr = makeArc(100, 100, 10, 30, 60);

    mmArc& small = *smallPtr;
    EXPECT_GT(small.extents.minX, 100);  // the centre is not included
}

// Angles above 360 (SetFromBulge ends up to start + 360, files anything) count modulo 360, and
// a sweep of more than 270 degrees may pass all four quadrant points.
TEST(ArcExtents, RegressionAnglesAbove360AndLongSweeps) {
    struct Case { double start, end; mmRect box; };
    const Case cases[] = {
        {190, 545, {-1, -1, 1, 1}},                                      // 355 degrees
        {400, 500, {std::cos(140 * kDegToRad), std::sin(40 * kDegToRad), // 40 to 140
                    std::cos(40 * kDegToRad), 1}},
        {-170, 185, {-1, -1, 1, 1}},                                     // ends near 180
    };
    for (const Case& c : cases) {
        const auto a = makeArc(0, 0, 1, c.start, c.end);
        EXPECT_NEAR(a->extents.minX, c.box.minX, 1e-12) << c.start << " " << c.end;
        EXPECT_NEAR(a->extents.minY, c.box.minY, 1e-12) << c.start << " " << c.end;
        EXPECT_NEAR(a->extents.maxX, c.box.maxX, 1e-12) << c.start << " " << c.end;
        EXPECT_NEAR(a->extents.maxY, c.box.maxY, 1e-12) << c.start << " " << c.end;
    }
}

TEST(ArcGrips, NegativeEndBelowStartIsRaised) {
    auto aPtr = makeArc(0, 0, 10, 30, -30);
    mmArc& a = *aPtr;
    EXPECT_EQ(a.endAngle, 330);
    ASSERT_EQ(a.gripCount(), 4);
    EXPECT_NEAR(angleOf(a.grips[2]), 180, 1e-9);  // mid angle of 30..330
}

// The end through a point below the start is raised by 360 only when its angle is negative.
TEST(ArcSetters, EndThroughAPointRaisesNegativeAnglesBelowTheStart) {
    struct Case { double start, pointAngle, end; };
    const Case cases[] = {
        {10, -90, 270},    // below the start and negative: raised
        {10, 45, 45},      // above the start
        {100, 45, 45},     // below the start but not negative
        {-100, -120, 240}, // below the start and negative
        {-100, -90, -90},  // above the start
    };
    for (const Case& c : cases) {
        const auto a = makeArc(2, 3, 5, c.start, c.start + 10);
        const double t = c.pointAngle * kDegToRad;
        a->SetEndThrough(2 + 5 * std::cos(t), 3 + 5 * std::sin(t), 0, 0);
        EXPECT_NEAR(a->endAngle, c.end, 1e-9) << c.start << " " << c.pointAngle;
    }
}

TEST(ArcPick, OnlyWithinTheSweep) {
    TestView view(400, 300, 1.0, 200, 150);
    auto aPtr = makeArc(0, 0, 50, -45, 45);
    mmArc& a = *aPtr;
    EXPECT_TRUE(a.HitTest(view.px(52), view.py(0), view.rect(), view.m, 1.0f, {}, true));
    EXPECT_FALSE(a.HitTest(view.px(-50), view.py(0), view.rect(), view.m, 1.0f, {}, true));
    EXPECT_FALSE(a.HitTest(view.px(0), view.py(0), view.rect(), view.m, 1.0f, {}, true));
}

TEST(ArcFromBulge, HalfCircleBetweenTwoVertices) {
    mmArc a;
    ASSERT_TRUE(a.SetFromBulge(1.0, {0, 0}, {2, 0}));
    EXPECT_NEAR(a.points[0].x, 1, 1e-6);
    EXPECT_NEAR(a.points[0].y, 0, 1e-6);
    EXPECT_NEAR(a.radius, 1, 1e-6);
    EXPECT_NEAR(a.startAngle, 180, 1e-4);
    EXPECT_NEAR(a.endAngle, 360, 1e-4);
    EXPECT_EQ(a.direction, 1);
    EXPECT_EQ(a.lineWidth, 1);
    EXPECT_NEAR(a.points[2].y, -1, 1e-6);  // mid point below the chord: counter-clockwise 0 -> 2
}

TEST(ArcFromBulge, NegativeBulgeStillEmitsFromTheFirstVertex) {
    mmArc a;
    ASSERT_TRUE(a.SetFromBulge(-0.5, {0, 0}, {4, 0}));
    EXPECT_EQ(a.direction, 0);
    mmRecordingDrawContext dc;
    a.Draw(dc, kEverywhere, kDrawNormal, 10.0f, prim::kLineStrip, {}, false);
    const auto& v = dc.primitives.at(0).vertices;
    EXPECT_NEAR(v.front().x, 0, 1e-5);
    EXPECT_NEAR(v.back().x, 4, 1e-5);
    EXPECT_GT(v[v.size() / 2].y, 0);  // clockwise from (0,0) to (4,0) bulges upwards
}

TEST(ArcFromBulge, ZeroBulgeIsRefused) {
    mmArc a;
    EXPECT_FALSE(a.SetFromBulge(0.0, {0, 0}, {4, 0}));
    EXPECT_FALSE(a.SetFromBulge(1.0, {1, 1}, {1, 1}));
}

// A bulge so large that the radius overflows single precision gives no arc.
TEST(ArcFromBulge, RegressionNonFiniteRadiusIsRefused) {
    mmArc a;
    EXPECT_FALSE(a.SetFromBulge(1e30, {6.5e6, 6.5e6}, {6.5e6 + 2, 6.5e6}));
    EXPECT_FALSE(a.SetFromBulge(1e-30, {0, 0}, {1e25, 0}));
    EXPECT_TRUE(a.points.empty());
}

TEST(ArcThroughThreePoints, AnglesAndDirection) {
    struct Case { mmVertex p1, p2, p3; double start, end; int direction; };
    const Case cases[] = {
        {{10, 0}, {0, 10}, {-10, 0}, 0, 180, 0},      // a1 <= a2 <= a3
        {{-10, 0}, {0, 10}, {10, 0}, 0, 180, 1},      // a3 < a2 <= a1
        {{0, 10}, {-10, 0}, {0, -10}, 90, 270, 0},    // a2 outside, a3 <= a1 (a3 = -90)
        {{0, -10}, {-10, 0}, {0, 10}, 90, 270, 1},    // a2 outside, a3 > a1
    };
    for (const Case& c : cases) {
        mmArc a;
        a.PrepareFourPoints();
        ASSERT_TRUE(a.SetThroughThreePoints(c.p1, c.p2, c.p3, 0, 0));
        EXPECT_NEAR(a.radius, 10, 1e-9);
        EXPECT_NEAR(a.points[0].x, 0, 1e-9);
        EXPECT_NEAR(a.startAngle, c.start, 1e-9);
        EXPECT_NEAR(a.endAngle, c.end, 1e-9);
        EXPECT_EQ(a.direction, c.direction);
    }
}

TEST(ArcThroughThreePoints, CollinearPointsLeaveTheArcUnchanged) {
    auto aPtr = makeArc(5, 5, 2, 0, 90);
    mmArc& a = *aPtr;
    EXPECT_FALSE(a.SetThroughThreePoints({0, 0}, {1, 1}, {2, 2}, 0, 0));
    EXPECT_FALSE(a.SetThroughThreePoints({1, 1}, {1, 1}, {1, 1}, 0, 0));
    EXPECT_EQ(a.radius, 2);
    EXPECT_EQ(a.points[0].x, 5);
    EXPECT_TRUE(std::isfinite(a.extents.minX));
}

// An arc read as start 350, end 10 (the end below the start) was not pickable anywhere.
TEST(ArcPick, RegressionArcAcrossZeroWithEndBelowStart) {
    TestView view(400, 300, 1.0, 200, 150);
    auto aPtr = makeArc(0, 0, 50, 350, 10);
    mmArc& a = *aPtr;
    EXPECT_TRUE(a.HitTest(view.px(51), view.py(0), view.rect(), view.m, 1.0f, {}, true));
    EXPECT_FALSE(a.HitTest(view.px(-50), view.py(0), view.rect(), view.m, 1.0f, {}, true));
    EXPECT_TRUE(a.CrossesRect({49, -2, 52, 2}, {}, true));
}
