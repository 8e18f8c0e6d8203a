// Polylines: grips with placeholders, bulge arcs and the closing segment in drawing, picking,
// crossing, extents and snap; the nearest segment of a vertex list; copies.
#include <gtest/gtest.h>

#include <cmath>

#include "entities/DrawContext.h"
#include "entities/Polyline.h"
#include "entities/RecordingDrawContext.h"
#include "entities/SnapInfo.h"
#include "support/TestView.h"

namespace {

const mmRect kEverywhere{-1e6, -1e6, 1e6, 1e6};

std::shared_ptr<mmPolyline> makePolyline(std::initializer_list<mmVertex> vertices,
                                         std::vector<double> bulges = {}, bool closed = false) {
    auto p = std::make_shared<mmPolyline>();
    p->id = 9;
    for (const mmVertex& v : vertices) p->AddPoint(v.x, v.y);
    p->bulges = std::move(bulges);
    p->closed = closed;
    p->UpdateGrips();
    p->UpdateExtents();
    return p;
}

// The 10 x 10 square whose closing side (0,10) -> (0,0) is a half circle bulging out to x = -5.
std::shared_ptr<mmPolyline> squareWithHalfCircle() {
    return makePolyline({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {0, 0, 0, 1}, true);
}

}  // namespace

TEST(PolylineGrips, EmptyBulgesAreFilledAndGripsComeInPairs) {
    auto p = std::make_shared<mmPolyline>();
    p->AddPoint(1, 2);
    p->AddPoint(5, 2);
    p->AddPoint(5, 8);
    EXPECT_EQ(p->gripCount(), 3);  // AddPoint appends the vertex only
    p->UpdateGrips();
    EXPECT_EQ(p->bulges, (std::vector<double>{0, 0, 0}));
    ASSERT_EQ(p->gripCount(), 6);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(p->grips[2 * i].x, p->points[i].x);
        EXPECT_EQ(p->grips[2 * i + 1].x, 0.0);
        EXPECT_TRUE(p->IsPlaceholderGrip(2 * i + 1));
    }
    // An arc segment's second grip is its mid point; later updates keep grip flags in place.
    p->bulges[0] = 1;  // half circle from (1,2) to (5,2), bulging down to (3,0)
    p->grips[2].hot = true;
    p->UpdateGrips();
    EXPECT_FALSE(p->IsPlaceholderGrip(1));
    EXPECT_NEAR(p->grips[1].x, 3, 1e-5);
    EXPECT_NEAR(p->grips[1].y, 0, 1e-5);
    EXPECT_TRUE(p->grips[2].hot);
    // A bulge list of the wrong length is brought to one per vertex.
    p->bulges = {0.5, 0, 0, 0, 0};
    p->UpdateGrips();
    EXPECT_EQ(p->bulges.size(), 3u);
}

TEST(PolylineClosingArc, DrawsPicksAndBoundsTheHalfCircle) {
    auto sq = squareWithHalfCircle();
    mmRecordingDrawContext dc;
    sq->Draw(dc, kEverywhere, kDrawNormal, 10.0f, prim::kLineStrip, {}, true);
    ASSERT_EQ(dc.primitives.size(), 1u);  // one strip for the whole polyline
    const auto& v = dc.primitives[0].vertices;
    EXPECT_EQ(v.front().x, 0);
    EXPECT_EQ(v.back().x, 0);
    EXPECT_EQ(v.back().y, 0);
    double leftmost = 0;
    for (const mmVertex& q : v) {
        leftmost = std::min(leftmost, q.x);
        if (q.x < 0) {
            EXPECT_NEAR(std::hypot(q.x, q.y - 5), 5.0, 1e-4) << "on the half circle";
        }
    }
    EXPECT_NEAR(leftmost, -5, 1e-4);

    TestView view(400, 300, 10.0, 100, 200);
    auto hit = [&](double x, double y) {
        return sq->HitTest(view.px(x), view.py(y), view.rect(), view.m, view.scale(), {}, true);
    };
    EXPECT_TRUE(hit(-5, 5));
    EXPECT_TRUE(hit(-3.54, 8.54));  // on the arc at 135 degrees
    EXPECT_FALSE(hit(-2.5, 5));     // between the arc and the chord
    EXPECT_FALSE(hit(0, 5));        // the chord itself is not drawn
    EXPECT_TRUE(hit(10, 5));

    // The arc is drawn and picked, so the extents include it and culling keeps it.
    EXPECT_NEAR(sq->extents.minX, -5, 1e-4);
    EXPECT_FALSE(sq->CulledBy({-6, 4, -4.5, 6}, {}));
}

// At survey coordinates a float holds 0.5 units: the half circle below the chord (X, Y) to
// (X + 2, Y) must still have its mid grip and its lowest point at (X + 1, Y - 1).
TEST(PolylineArc, RegressionGripsAndExtentsAtSurveyCoordinates) {
    const double x = 6.5e6, y = 6.5e6 + 0.3;
    const auto p = makePolyline({{x, y}, {x + 2, y}}, {1, 0});
    ASSERT_EQ(p->gripCount(), 4);
    EXPECT_NEAR(p->grips[1].x, x + 1, 1e-6);
    EXPECT_NEAR(p->grips[1].y, y - 1, 1e-6);
    EXPECT_NEAR(p->extents.minY, y - 1, 1e-6);
    EXPECT_NEAR(p->extents.maxY, y, 1e-6);
    EXPECT_NEAR(p->extents.minX, x, 1e-6);
    EXPECT_NEAR(p->extents.maxX, x + 2, 1e-6);
}

TEST(PolylineCrossing, ClosingSegmentCountsOnlyWhenClosed) {
    const mmRect touchesClosingSide{-1, 4, 1, 6};  // crosses only (0,10)-(0,0)
    auto open = makePolyline({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    auto closed = makePolyline({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {}, true);
    EXPECT_FALSE(open->CrossesRect(touchesClosingSide, {}, true));
    EXPECT_TRUE(closed->CrossesRect(touchesClosingSide, {}, true));
    // The half-circle closing side crosses where the arc runs, not where its chord would.
    auto sq = squareWithHalfCircle();
    EXPECT_FALSE(sq->CrossesRect(touchesClosingSide, {}, true));
    EXPECT_TRUE(sq->CrossesRect({-6, 4, -4, 6}, {}, true));
}

struct PolylineSnap : ::testing::Test {
    TestView view{400, 300, 10.0, 100, 200};
    mmSnapInfo info;
    bool snap(mmObject& e, double x, double y, int modes) {
        info.BeginPass(modes, 0, 0);
        return e.Snap(0, false, view.px(x), view.py(y), view.rect(), info, view.m, view.scale(),
                      {}, true);
    }
};

TEST_F(PolylineSnap, PlaceholderGripsAreNeverSnappedTo) {
    auto p = makePolyline({{3, 3}, {8, 3}, {8, 8}});  // placeholders sit at (0, 0)
    EXPECT_FALSE(snap(*p, 0.2, 0.2, kSnapEndpoint));
    ASSERT_TRUE(snap(*p, 8.2, 3.1, kSnapEndpoint));
    EXPECT_EQ(info.gripIndex, 2);
    EXPECT_EQ(info.segmentIndex, 1);
}

TEST_F(PolylineSnap, ArcSegmentSnapsAsItsChordAndItsMidGrip) {
    auto p = makePolyline({{0, 0}, {20, 0}}, {1, 0});  // half circle down to (10, -10)
    ASSERT_TRUE(snap(*p, 10, 0.5, kSnapNearest));
    EXPECT_EQ(info.kind, kSnapNearest);
    EXPECT_NEAR(info.x, 10, 1e-4);
    EXPECT_NEAR(info.y, 0, 1e-4);
    ASSERT_TRUE(snap(*p, 10.5, -9.5, kSnapEndpoint));
    EXPECT_EQ(info.gripIndex, 1);
    EXPECT_NEAR(info.y, -10, 1e-4);
    // Perpendicular from (5, 5) to the chord.
    info.BeginPass(kSnapPerpendicular, 5, 5);
    ASSERT_TRUE(p->Snap(0, false, view.px(5.5), view.py(0.5), view.rect(), info, view.m,
                        view.scale(), {}, true));
    EXPECT_EQ(info.kind, kSnapPerpendicular);
    EXPECT_NEAR(info.x, 5, 1e-4);
}

TEST_F(PolylineSnap, ClosingSegmentOffersNearest) {
    auto p = makePolyline({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {}, true);
    ASSERT_TRUE(snap(*p, 0.4, 5, kSnapNearest));
    EXPECT_NEAR(info.x, 0, 1e-4);
    EXPECT_NEAR(info.y, 5, 1e-4);
    p->closed = false;
    EXPECT_FALSE(snap(*p, 0.4, 5, kSnapNearest));
}

TEST(PolylineNearestSegment, SmallestDistanceFirstOfEqual) {
    struct Case {
        std::vector<mmVertex> points;
        mmVertex p;
        int expected;
    };
    const Case cases[] = {
        {{}, {0, 0}, -1},
        {{{1, 1}}, {0, 0}, -1},
        {{{0, 0}, {10, 0}, {10, 10}}, {9, 6}, 1},
        {{{0, 0}, {10, 0}, {10, 10}}, {10, 0}, 0},  // the shared vertex: the first wins
        {{{0, 0}, {10, 0}, {0, 0}}, {5, 1}, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(mmPolyline::NearestSegment(c.points, c.p), c.expected);
}

TEST(PolylineCopy, CloneKeepsClosedBulgesAndGrips) {
    auto sq = squareWithHalfCircle();
    mmEntityList list;
    auto clone = std::dynamic_pointer_cast<mmPolyline>(CloneEntity(*sq, list));
    ASSERT_TRUE(clone);
    EXPECT_TRUE(clone->closed);
    EXPECT_EQ(clone->bulges, sq->bulges);
    EXPECT_EQ(clone->gripCount(), 8);
    EXPECT_EQ(clone->extents.minX, sq->extents.minX);
}

TEST(PolylineDraw, GripsSkipPlaceholdersAndHighlightIsDashed) {
    auto p = makePolyline({{0, 0}, {20, 0}, {20, 20}}, {1, 0, 0});
    mmRecordingDrawContext dc;
    p->Draw(dc, kEverywhere, kDrawGrips, 1.0f, prim::kLineStrip, {}, true);
    EXPECT_EQ(dc.primitives.size(), 4u);  // three vertices and one arc mid point
    dc.Clear();
    p->Draw(dc, kEverywhere, kDrawHighlight, 1.0f, prim::kLineStrip, {}, true);
    ASSERT_EQ(dc.primitives.size(), 1u);
    EXPECT_TRUE(dc.primitives[0].lineStipple);
    EXPECT_EQ(dc.primitives[0].color[0], 1.0f);
    // Inside a caller's fan only vertices are emitted, shifted like everything else.
    dc.Clear();
    dc.Begin(prim::kTriangleFan);
    p->Draw(dc, kEverywhere, kDrawNormal, 1.0f, kPrimitiveAlreadyOpen, {0, 0, 100, 0}, true);
    dc.End();
    EXPECT_EQ(dc.errors, 0);
    ASSERT_EQ(dc.primitives.size(), 1u);
    EXPECT_EQ(dc.primitives[0].vertices.back().x, 20 - 100);
}
