// Splines: only well-formed curves reach the NURBS renderer; the control polygon is highlighted,
// picked and crossed; copies keep knots and control points.
#include <gtest/gtest.h>

#include <cmath>

#include "entities/DrawContext.h"
#include "entities/RecordingDrawContext.h"
#include "entities/Spline.h"
#include "support/TestView.h"

namespace {

const mmRect kEverywhere{-1e6, -1e6, 1e6, 1e6};

// A clamped cubic through four control points.
std::shared_ptr<mmSpline> makeSpline(std::vector<float> knots = {0, 0, 0, 0, 1, 1, 1, 1}) {
    auto s = std::make_shared<mmSpline>();
    for (const mmVertex& v : {mmVertex(0, 0), mmVertex(10, 20), mmVertex(30, 20), mmVertex(40, 0)})
        s->AddPoint(v.x, v.y);
    s->SyncControlPoints();
    s->knots = std::move(knots);
    s->UpdateGrips();
    s->UpdateExtents();
    return s;
}

int nurbsCalls(const mmRecordingDrawContext& dc) {
    int n = 0;
    for (const auto& p : dc.primitives) n += p.primitive == -mmSpline::kOrder;
    return n;
}

}  // namespace

TEST(SplineDraw, OnlyKnotsThatFitTheControlPointsReachTheRenderer) {
    struct Case {
        const char* name;
        std::vector<float> knots;
        bool drawn;
    };
    const Case cases[] = {
        {"clamped", {0, 0, 0, 0, 1, 1, 1, 1}, true},
        {"one knot short", {0, 0, 0, 0, 1, 1, 1}, false},
        {"one knot too many", {0, 0, 0, 0, 1, 1, 1, 1, 1}, false},
        {"no knots", {}, false},
        {"decreasing", {0, 0, 0, 1, 0, 1, 1, 1}, false},
        {"not a number", {0, 0, 0, 0, NAN, 1, 1, 1}, false},
        {"empty range", {1, 1, 1, 1, 1, 1, 1, 1}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto s = makeSpline(c.knots);
        mmRecordingDrawContext dc;
        s->Draw(dc, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, {}, true);
        EXPECT_EQ(nurbsCalls(dc), c.drawn ? 1 : 0);
    }
    // Too few control points for a cubic, or a control array that is not made of triples.
    auto s = makeSpline({0, 0, 0, 0, 1, 1, 1});
    s->controlPoints.resize(9);
    EXPECT_FALSE(s->IsDrawable());
    s = makeSpline();
    s->controlPoints.pop_back();
    EXPECT_FALSE(s->IsDrawable());
}

TEST(SplineDraw, ShiftedCurveUsesTheDoublePrecisionPoints) {
    auto s = makeSpline();
    for (mmVertex& p : s->points) p.x += 1e7;  // survey coordinates
    s->SyncControlPoints();
    s->UpdateExtents();
    mmRecordingDrawContext dc;
    s->Draw(dc, {-1e9, -1e9, 1e9, 1e9}, kDrawNormal, 1.0f, prim::kLineStrip, {0, 0, 1e7, 0}, true);
    ASSERT_EQ(nurbsCalls(dc), 1);
    EXPECT_EQ(dc.primitives[0].vertices[1].x, 10.0);  // exact after the shift
}

TEST(SplineControlPolygon, HighlightPickAndCrossing) {
    auto s = makeSpline();
    mmRecordingDrawContext dc;
    s->Draw(dc, kEverywhere, kDrawHighlight, 1.0f, prim::kLineStrip, {}, true);
    ASSERT_EQ(dc.primitives.size(), 1u);
    EXPECT_EQ(dc.primitives[0].primitive, prim::kLineStrip);
    EXPECT_EQ(dc.primitives[0].vertices.size(), 4u);
    EXPECT_TRUE(dc.primitives[0].lineStipple);

    TestView view(400, 300, 1.0, 100, 200);
    auto hit = [&](double x, double y) {
        return s->HitTest(view.px(x), view.py(y), view.rect(), view.m, 1.0f, {}, true);
    };
    EXPECT_TRUE(hit(20, 22));   // near the polygon's top edge (the curve peaks at 15)
    EXPECT_FALSE(hit(20, 15));
    EXPECT_TRUE(s->CrossesRect({35, 5, 50, 6}, {}, true));
    EXPECT_FALSE(s->CrossesRect({15, 5, 25, 12}, {}, true));  // under the polygon
}

TEST(SplineCopy, CloneKeepsKnotsAndControlPoints) {
    auto s = makeSpline();
    mmEntityList list;
    auto clone = std::dynamic_pointer_cast<mmSpline>(CloneEntity(*s, list));
    ASSERT_TRUE(clone);
    EXPECT_EQ(clone->knots, s->knots);
    EXPECT_EQ(clone->controlPoints, s->controlPoints);
    EXPECT_EQ(clone->gripCount(), 4);
    EXPECT_EQ(clone->extents.maxX, 40);
}

TEST(SplineEvaluation, CurveRunsFromFirstToLastControlPointThroughEachSpan) {
    const float cp[] = {20, 20, 0, 60, 130, 0, 140, 130, 0, 180, 20, 0};
    auto sample = [&](std::vector<float> knots, int order, int perSpan) {
        std::vector<mmVertex> out;
        EvaluateSplineCurve(static_cast<int>(knots.size()), knots.data(), 3, cp, order, perSpan,
                            [&](double x, double y) { out.emplace_back(x, y); });
        return out;
    };
    // A clamped cubic is a Bezier curve: ends on the end points, (100, 102.5) half way.
    auto bezier = sample({0, 0, 0, 0, 1, 1, 1, 1}, 4, 2);
    ASSERT_EQ(bezier.size(), 3u);
    EXPECT_NEAR(bezier[0].x, 20, 1e-9);
    EXPECT_NEAR(bezier[1].x, 100, 1e-9);
    EXPECT_NEAR(bezier[1].y, 102.5, 1e-9);
    EXPECT_NEAR(bezier[2].x, 180, 1e-9);
    // Order 2 is the control polygon: three spans, their joins shared.
    auto polygon = sample({0, 0, 1, 2, 3, 3}, 2, 1);
    ASSERT_EQ(polygon.size(), 4u);
    EXPECT_NEAR(polygon[2].x, 140, 1e-9);
    EXPECT_NEAR(polygon[2].y, 130, 1e-9);
    EXPECT_TRUE(sample({0, 0, 0, 0, 1, 1, 1}, 4, 4).empty());  // too few knots
    EXPECT_TRUE(sample({0, 0, 0, 0, 1, 1, 1, 1}, 9, 4).empty());
}
