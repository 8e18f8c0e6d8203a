// Object snap: grip aperture, tie order, nearest, intersection across entities, perpendicular.
#include <gtest/gtest.h>

#include "entities/Arc.h"
#include "entities/Circle.h"
#include "entities/Line.h"
#include "entities/Point.h"
#include "entities/Polyline.h"
#include "entities/SnapInfo.h"
#include "support/TestView.h"

namespace {

struct SnapFixture : ::testing::Test {
    TestView view{400, 300, 1.0, 100, 200};
    mmSnapInfo info;

    std::shared_ptr<mmLine> line(double x1, double y1, double x2, double y2, int id = 1) {
        auto l = std::make_shared<mmLine>();
        l->id = id;
        l->AddPoint(x1, y1);
        l->AddPoint(x2, y2);
        l->UpdateExtents();
        return l;
    }
    bool snap(mmObject& e, int cx, int cy, int, bool force = false) {
        return e.Snap(0, force, cx, cy, view.rect(), info, view.m, view.scale(), {}, true);
    }
    void begin(int modes, double bx = 0, double by = 0) { info.BeginPass(modes, bx, by); }
};

}  // namespace

TEST_F(SnapFixture, GripApertureIsStrictlyBelowFifteenPixels) {
    mmPointObj p;
    p.id = 7;
    p.AddPoint(0, 0);
    p.UpdateExtents();
    begin(kSnapEndpoint);
    EXPECT_FALSE(snap(p, view.px(9), view.py(12), kSnapEndpoint));  // exactly 15 pixels
    begin(kSnapEndpoint);
    ASSERT_TRUE(snap(p, view.px(10), view.py(11), kSnapEndpoint));  // 14.87 pixels
    EXPECT_EQ(info.kind, kSnapGrip);
    EXPECT_EQ(info.entityId, 7);
    EXPECT_EQ(info.screenX, view.px(0));
    // Without the endpoint mode grips count only when forced (selected entities).
    begin(kSnapNearest);
    EXPECT_FALSE(snap(p, view.px(1), view.py(1), kSnapNearest));
    begin(kSnapNearest);
    EXPECT_TRUE(snap(p, view.px(1), view.py(1), kSnapNearest, true));
}

// The same aperture for the grips of lines, circles, arcs and polylines: a grip 15 pixels away
// is not snapped to, one 14.87 pixels away is.
TEST_F(SnapFixture, GripApertureOfEveryOutlineClass) {
    auto l = line(0, 0, 0, -200);
    auto c = std::make_shared<mmCircle>();
    c->AddPoint(-50, 0);  // grip 1 at (0, 0)
    c->SetRadius(50);
    c->UpdateGrips();
    auto a = std::make_shared<mmArc>();
    a->PrepareFourPoints();
    a->points[0] = mmVertex(-50, 0);  // start grip at (0, 0)
    a->radius = 50;
    a->SetStartAngle(0);
    a->SetEndAngle(90);
    auto p = std::make_shared<mmPolyline>();
    p->AddPoint(0, 0);
    p->AddPoint(0, -200);
    p->UpdateGrips();
    for (mmObject* e : std::initializer_list<mmObject*>{l.get(), c.get(), a.get(), p.get()}) {
        e->id = 3;
        e->UpdateExtents();
        begin(kSnapEndpoint);
        EXPECT_FALSE(snap(*e, view.px(9), view.py(12), kSnapEndpoint)) << e->type;
        begin(kSnapEndpoint);
        ASSERT_TRUE(snap(*e, view.px(10), view.py(11), kSnapEndpoint)) << e->type;
        EXPECT_EQ(info.x, 0) << e->type;
        EXPECT_EQ(info.y, 0) << e->type;
    }
}

TEST_F(SnapFixture, NearerGripWinsAndTiesKeepTheFirst) {
    auto lPtr = line(0, 0, 20, 0);  // grips at 0, 10, 20
    mmLine& l = *lPtr;
    begin(kSnapEndpoint);
    ASSERT_TRUE(snap(l, view.px(13), view.py(0), kSnapEndpoint));
    EXPECT_EQ(info.gripIndex, 1);
    begin(kSnapEndpoint);
    ASSERT_TRUE(snap(l, view.px(15), view.py(0), kSnapEndpoint));  // 5 from grips 1 and 2
    EXPECT_EQ(info.gripIndex, 1);
    EXPECT_EQ(info.x, 10);
}

TEST_F(SnapFixture, NearestModeGivesAPointOnTheSegment) {
    auto lPtr = line(0, 0, 100, 0);
    mmLine& l = *lPtr;
    begin(kSnapNearest);
    ASSERT_TRUE(snap(l, view.px(37), view.py(3), kSnapNearest));
    EXPECT_EQ(info.kind, kSnapNearest);
    EXPECT_FALSE(info.discrete);
    EXPECT_NEAR(info.x, 37, 1e-4);
    EXPECT_NEAR(info.y, 0, 1e-4);
    // With the endpoint mode too, a grip within reach wins.
    begin(kSnapNearest | kSnapEndpoint);
    ASSERT_TRUE(snap(l, view.px(46), view.py(3), kSnapNearest | kSnapEndpoint));
    EXPECT_EQ(info.kind, kSnapGrip);
    EXPECT_TRUE(info.discrete);
    EXPECT_EQ(info.x, 50);
}

TEST_F(SnapFixture, IntersectionOfSegmentsOfTwoEntities) {
    auto aPtr = line(0, 0, 100, 100, 1);
    mmLine& a = *aPtr;
    auto bPtr = line(0, 100, 100, 0, 2);
    mmLine& b = *bPtr;
    begin(kSnapIntersection | kSnapNearest);
    const int cx = view.px(52), cy = view.py(50);
    snap(a, cx, cy, 0);
    ASSERT_TRUE(snap(b, cx, cy, 0));
    EXPECT_EQ(info.kind, kSnapIntersection);
    EXPECT_EQ(info.entityId, 2);
    EXPECT_NEAR(info.x, 50, 1e-4);
    EXPECT_NEAR(info.y, 50, 1e-4);
    EXPECT_TRUE(info.discrete);
}

TEST_F(SnapFixture, ParallelSegmentsOfferNoIntersection) {
    auto aPtr = line(0, 0, 100, 0, 1);
    mmLine& a = *aPtr;
    auto bPtr = line(0, 4, 100, 4, 2);
    mmLine& b = *bPtr;
    begin(kSnapIntersection);
    snap(a, view.px(50), view.py(2), 0);
    snap(b, view.px(50), view.py(2), 0);
    EXPECT_NE(info.kind, kSnapIntersection);
}

TEST_F(SnapFixture, PerpendicularFootFromTheBasePoint) {
    auto lPtr = line(0, 0, 100, 0);
    mmLine& l = *lPtr;
    begin(kSnapPerpendicular, 30, 40);
    ASSERT_TRUE(snap(l, view.px(33), view.py(2), 0));
    EXPECT_EQ(info.kind, kSnapPerpendicular);
    EXPECT_NEAR(info.x, 30, 1e-4);
    EXPECT_NEAR(info.y, 0, 1e-4);
}

TEST_F(SnapFixture, CircleSnapsToItsGrips) {
    mmCircle c;
    c.id = 3;
    c.AddPoint(0, 0);
    c.SetRadius(50);
    c.UpdateExtents();
    begin(kSnapEndpoint);
    ASSERT_TRUE(snap(c, view.px(3), view.py(48), kSnapEndpoint));
    EXPECT_EQ(info.gripIndex, 2);  // the north quadrant
}

TEST_F(SnapFixture, GripEditingKeepsTheDraggedGripHot) {
    auto lPtr = line(0, 0, 100, 0);
    mmLine& l = *lPtr;
    l.grips[0].hot = true;
    begin(kSnapEndpoint);
    l.Snap(kGripEditCommandId, false, 300, 10, view.rect(), info, view.m, 1.0f, {}, true);
    EXPECT_TRUE(l.grips[0].hot);
    l.Snap(0, false, 300, 10, view.rect(), info, view.m, 1.0f, {}, true);
    EXPECT_FALSE(l.grips[0].hot);
}
