// Hatches: rebuilding around the centre, the stencil passes, boundary-only picking, selection,
// empty hatches and deep copies.
#include <gtest/gtest.h>

#include "entities/Circle.h"
#include "entities/DrawContext.h"
#include "entities/Hatch.h"
#include "entities/Line.h"
#include "entities/Polyline.h"
#include "entities/RecordingDrawContext.h"
#include "entities/Spline.h"
#include "support/TestView.h"

namespace {

const mmRect kEverywhere{-1e6, -1e6, 1e6, 1e6};

std::shared_ptr<mmCircle> circle(double cx, double cy, double r) {
    auto c = std::make_shared<mmCircle>();
    c->AddPoint(cx, cy);
    c->SetRadius(r);
    return c;
}

std::shared_ptr<mmPolyline> square(double x0, double y0, double size) {
    auto p = std::make_shared<mmPolyline>();
    for (const mmVertex& v : {mmVertex(x0, y0), mmVertex(x0 + size, y0),
                              mmVertex(x0 + size, y0 + size), mmVertex(x0, y0 + size)})
        p->AddPoint(v.x, v.y);
    p->closed = true;
    p->UpdateGrips();
    p->UpdateExtents();
    return p;
}

// A square 100..200 with a round hole of radius 20 at its centre, in drawing coordinates.
std::shared_ptr<mmHatch> squareWithHole() {
    auto h = std::make_shared<mmHatch>();
    h->AddBoundary(square(100, 100, 100), h->AddLoop());
    h->AddBoundary(circle(150, 150, 20), h->AddLoop());
    h->RebuildFill();
    return h;
}

}  // namespace

TEST(HatchRebuild, PointZeroIsTheCentreAndTheBoundaryIsRelativeToIt) {
    auto h = std::make_shared<mmHatch>();
    const int loop = h->AddLoop();
    auto line = std::make_shared<mmLine>();
    line->AddPoint(10, 20);
    line->AddPoint(50, 20);
    line->grips[0].hot = true;
    line->UpdateExtents();
    auto spline = std::make_shared<mmSpline>();
    for (const mmVertex& v : {mmVertex(50, 20), mmVertex(50, 60), mmVertex(30, 80), mmVertex(10, 20)})
        spline->AddPoint(v.x, v.y);
    spline->fitPoints = {{50, 20}, {10, 20}};
    spline->knots = {0, 0, 0, 0, 1, 1, 1, 1};
    spline->UpdateExtents();
    ASSERT_TRUE(h->AddBoundary(line, loop));
    ASSERT_TRUE(h->AddBoundary(spline, loop));
    EXPECT_FALSE(h->AddBoundary(line, 5));
    EXPECT_FALSE(h->AddBoundary(nullptr, loop));
    EXPECT_EQ(line->id, 0);
    EXPECT_EQ(spline->id, 1);
    EXPECT_EQ(h->nextBoundaryId, 2);

    h->RebuildFill();
    EXPECT_EQ(h->points[0].x, 30);  // centre of 10..50 by 20..80
    EXPECT_EQ(h->points[0].y, 50);
    EXPECT_EQ(h->grips[0].x, 30);
    EXPECT_EQ(line->points[0].x, -20);
    EXPECT_EQ(line->points[0].y, -30);
    EXPECT_FALSE(line->points[0].hot);
    EXPECT_EQ(line->grips[1].x, 0);  // grips follow: the midpoint of -20..20
    EXPECT_EQ(spline->points[1].x, 20);
    EXPECT_EQ(spline->fitPoints[1].x, -20);  // the fit points move with the control points
    EXPECT_EQ(h->extents.minX, 10);
    EXPECT_EQ(h->extents.maxY, 80);
}

TEST(HatchDraw, FansInvertTheStencilAndOneQuadCoversTheExtents) {
    auto h = squareWithHole();
    mmRecordingDrawContext dc;
    h->Draw(dc, kEverywhere, kDrawNormal, 2.0f, prim::kLineStrip, {0, 0, 100, 0}, true);
    EXPECT_EQ(dc.errors, 0);
    ASSERT_EQ(dc.primitives.size(), 3u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(dc.primitives[i].primitive, prim::kTriangleFan);
        EXPECT_EQ(dc.primitives[i].stencilPhase, 1);
    }
    // Fans are drawn relative to point 0 and translated back, minus the shift.
    EXPECT_EQ(dc.primitives[0].vertices[0].x, 0);
    EXPECT_EQ(dc.primitives[0].vertices[0].y, 100);
    const auto& cover = dc.primitives[2];
    EXPECT_EQ(cover.primitive, prim::kQuads);
    EXPECT_EQ(cover.stencilPhase, 2);
    EXPECT_EQ(cover.vertices[0].x, 100 - 100 - 0.5);  // widened by one pixel
    EXPECT_EQ(cover.vertices[2].y, 200 + 0.5);

    dc.Clear();
    h->Draw(dc, kEverywhere, kDrawHighlight, 2.0f, prim::kLineStrip, {}, true);
    EXPECT_TRUE(dc.primitives[0].polygonStipple);
    EXPECT_FALSE(dc.primitives[2].polygonStipple);
    EXPECT_EQ(dc.primitives[2].color[1], 1.0f);  // the highlight shows white
    dc.Clear();
    h->Draw(dc, kEverywhere, kDrawGrips, 2.0f, prim::kLineStrip, {}, true);
    ASSERT_EQ(dc.primitives.size(), 1u);
    EXPECT_EQ(dc.primitives[0].stencilPhase, 0);
}

TEST(HatchEmpty, DrawsNothingAndHasInvertedExtents) {
    mmHatch h;
    EXPECT_EQ(h.pointCount(), 1);
    h.RebuildFill();
    EXPECT_EQ(h.extents.minX, 9999999999.0);
    EXPECT_EQ(h.extents.maxX, -9999999999.0);
    EXPECT_EQ(h.points[0].x, 0);
    h.AddLoop();
    h.UpdateExtents();
    mmRecordingDrawContext dc;
    h.Draw(dc, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, {}, false);
    EXPECT_TRUE(dc.primitives.empty());
}

TEST(HatchPick, OnlyTheBoundaryPicksAndCrosses) {
    auto h = squareWithHole();
    TestView view(400, 300, 1.0, 0, 300);
    const mmShift offset{0, 0, 50, 50};  // the view's origin offset
    auto hit = [&](double x, double y) {
        return h->HitTest(view.px(x - 50), view.py(y - 50), view.rect(), view.m, 1.0f, offset, true);
    };
    EXPECT_FALSE(hit(115, 150));  // in the fill, far from both loops
    EXPECT_TRUE(hit(103, 150));   // near the square
    EXPECT_TRUE(hit(150, 173));   // near the hole's circle
    EXPECT_FALSE(hit(150, 150));  // in the hole
    EXPECT_TRUE(h->CrossesRect({45, 90, 55, 110}, offset, true));    // over the left side
    EXPECT_FALSE(h->CrossesRect({60, 60, 70, 70}, offset, true));    // inside the fill
}

TEST(HatchSelect, SelectionReachesEveryBoundaryEntity) {
    auto h = squareWithHole();
    int delta = 0;
    h->SetSelected(true, delta);
    EXPECT_TRUE(h->selected);
    EXPECT_EQ(delta, 2);
    EXPECT_TRUE((*h->loops[1])[0]->selected);
    h->SetSelected(false, delta);
    EXPECT_EQ(delta, -2);
    EXPECT_FALSE((*h->loops[0])[0]->selected);
}

TEST(HatchCopy, CopyIsDeep) {
    auto h = squareWithHole();
    mmEntityList list;
    auto copy = std::dynamic_pointer_cast<mmHatch>(CloneEntity(*h, list));
    ASSERT_TRUE(copy);
    ASSERT_EQ(copy->loops.size(), 2u);
    const mmObjectPtr& original = (*h->loops[1])[0];
    const mmObjectPtr& copied = (*copy->loops[1])[0];
    EXPECT_NE(original.get(), copied.get());
    EXPECT_EQ(copied->type, kTypeCircle);
    EXPECT_EQ(copied->id, original->id);
    copied->points[0].x += 5;
    EXPECT_EQ(original->points[0].x, 0);
    EXPECT_EQ(copy->points[0].x, 150);
    EXPECT_EQ(copy->extents.maxX, h->extents.maxX);
    EXPECT_EQ(copy->nextBoundaryId, h->nextBoundaryId);
}

TEST(HatchCopy, AssigningAHatchToItselfKeepsItsLoops) {
    auto h = squareWithHole();
    EXPECT_TRUE(AssignEntity(*h, *h));
    EXPECT_EQ(h->loops.size(), 2u);
    EXPECT_EQ(h->loops[0]->size(), 1u);
}

// Clipped patterns are shared by copies and counted while held, so that many dense patterns
// together cannot take more than their bound.
TEST(HatchPattern, CopiesShareTheClippedPatternWhichIsCountedWhileHeld) {
    const std::size_t before = mmHatch::HeldPatternPieces();
    {
        auto h = squareWithHole();
        h->solidFill = false;
        mmHatchPatternLine line;
        line.offsetY = 10;  // lines at y = 100 to 190, those at 140, 150 and 160 cut by the hole
        h->patternLines = {line};
        ASSERT_TRUE(h->PreparePattern());
        EXPECT_EQ(h->PatternGeometry().segments.size() / 4, 13u);
        EXPECT_EQ(mmHatch::HeldPatternPieces(), before + 13);
        mmEntityList list;
        auto copy = std::dynamic_pointer_cast<mmHatch>(CloneEntity(*h, list));
        EXPECT_EQ(&copy->PatternGeometry(), &h->PatternGeometry());
        EXPECT_EQ(mmHatch::HeldPatternPieces(), before + 13);
        h->PatternChanged();
        EXPECT_TRUE(h->PatternGeometry().segments.empty());
        EXPECT_EQ(mmHatch::HeldPatternPieces(), before + 13) << "the copy holds it";
    }
    EXPECT_EQ(mmHatch::HeldPatternPieces(), before);
}
