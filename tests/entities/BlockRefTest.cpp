// Blocks and block references: adding entities in block coordinates, names, instancing, scale
// and rotation of every kind of child, drawing, picking, crossing, selection, extents and copies.
#include <gtest/gtest.h>

#include <cmath>

#include "entities/Arc.h"
#include "entities/Block.h"
#include "entities/BlockRef.h"
#include "entities/Circle.h"
#include "entities/Dimension.h"
#include "entities/Hatch.h"
#include "entities/Line.h"
#include "entities/Polyline.h"
#include "entities/RecordingDrawContext.h"
#include "entities/Spline.h"
#include "entities/Text.h"
#include "support/TestView.h"
#include "TestGlyphs.h"

namespace {

const mmRect kEverywhere{-1e6, -1e6, 1e6, 1e6};

std::shared_ptr<mmLine> line(double x1, double y1, double x2, double y2) {
    auto l = std::make_shared<mmLine>();
    l->AddPoint(x1, y1);
    l->AddPoint(x2, y2);
    l->UpdateExtents();
    return l;
}

std::shared_ptr<mmCircle> circle(double cx, double cy, double r) {
    auto c = std::make_shared<mmCircle>();
    c->AddPoint(cx, cy);
    c->SetRadius(r);
    return c;
}

std::shared_ptr<mmArc> arc(double cx, double cy, double r, double start, double end) {
    auto a = std::make_shared<mmArc>();
    a->AddPoint(cx, cy);
    a->radius = r;
    a->startAngle = start;
    a->endAngle = end;
    a->UpdateGrips();
    a->UpdateExtents();
    return a;
}

// A block "DOOR" with base point (100, 100): a line, a circle and an arc drawn at (100, 100)
// and beyond, a rotated text.
struct BlockFixture : ::testing::Test {
    mmBlockTable blocks;
    mmBlockPtr door = CreateBlock(4, 100, 100, 0, u"DOOR");
    mmGlyphTablePtr glyphs = SyntheticGlyphTable();

    void SetUp() override {
        AddToBlock(*door, line(100, 100, 110, 100));
        AddToBlock(*door, circle(105, 105, 2));
        AddToBlock(*door, arc(100, 100, 10, 0, 90));
        auto text = std::make_shared<mmText>();
        text->CreateText("AO", glyphs);
        text->SetRotation(90, nullptr);
        text->SetInsertionPoint(104, 100);
        AddToBlock(*door, text);
        blocks[door->id] = door;
    }

    std::shared_ptr<mmBlockRef> insert(double x, double y) {
        auto ref = std::make_shared<mmBlockRef>();
        ref->AddPoint(x, y);
        EXPECT_TRUE(ref->InstantiateBlock(u"DOOR", blocks, glyphs));
        ref->UpdateGrips();
        ref->UpdateExtents();
        return ref;
    }
    mmLine& lineOf(mmBlockRef& r) { return static_cast<mmLine&>(*r.children[0]); }
    mmCircle& circleOf(mmBlockRef& r) { return static_cast<mmCircle&>(*r.children[1]); }
    mmArc& arcOf(mmBlockRef& r) { return static_cast<mmArc&>(*r.children[2]); }
    mmText& textOf(mmBlockRef& r) { return static_cast<mmText&>(*r.children[3]); }
};

void expectAt(const mmVertex& v, double x, double y) {
    EXPECT_NEAR(v.x, x, 1e-9);
    EXPECT_NEAR(v.y, y, 1e-9);
}

}  // namespace

TEST(Block, AddingMakesEntitiesRelativeToTheBasePoint) {
    mmBlockPtr b = CreateBlock(3, 10, 20, kBlockAnonymous, u"B");
    EXPECT_EQ(b->nextEntityId, 0);
    EXPECT_TRUE(b->entities.empty());
    auto l = line(10, 20, 30, 20);
    l->grips[2].hot = true;
    auto spline = std::make_shared<mmSpline>();
    for (const mmVertex& v : {mmVertex(10, 20), mmVertex(20, 40), mmVertex(30, 20), mmVertex(40, 40)})
        spline->AddPoint(v.x, v.y);
    spline->fitPoints = {{10, 20}, {40, 40}};
    spline->knots = {0, 0, 0, 0, 1, 1, 1, 1};
    ASSERT_TRUE(AddToBlock(*b, l));
    ASSERT_TRUE(AddToBlock(*b, spline));
    EXPECT_FALSE(AddToBlock(*b, nullptr));
    expectAt(l->points[1], 20, 0);
    expectAt(l->grips[2], 20, 0);
    EXPECT_FALSE(l->grips[2].hot);
    EXPECT_EQ(l->id, 0);
    EXPECT_EQ(spline->id, 1);
    EXPECT_EQ(b->nextEntityId, 2);
    EXPECT_DOUBLE_EQ(spline->fitPoints[0].x, 0.0);  // the fit points move with the points
    EXPECT_DOUBLE_EQ(spline->fitPoints[1].y, 20.0);
    EXPECT_DOUBLE_EQ(l->extents.maxX, 20);

    // A dimension moves with its definition points and parts.
    auto d = std::make_shared<mmDimension>();
    d->InitParts();
    d->SetStyleValues({2.5, 0.625, 1.25, 0.625, 2.5, 0});
    d->defPoints[0] = {10, 20};
    d->defPoints[1] = {20, 20};
    d->defPoints[2] = {20, 25};
    d->BuildDimension(nullptr);
    AddToBlock(*b, d);
    expectAt(d->defPoints[3], 0, 5);
    expectAt(d->dimLine.points[1], 0, 5);
    expectAt(d->mark2.points[0], 10, 0);
}

TEST(Block, NamesAreUniqueComparedExactly) {
    mmBlockTable table;
    table[0] = CreateBlock(0, 0, 0, 0, u"Door");
    mmBlock b;
    EXPECT_FALSE(b.SetBaseName(u"Door", table));
    EXPECT_TRUE(b.name.empty());
    EXPECT_TRUE(b.SetBaseName(u"door", table));
    EXPECT_EQ(b.name, u"door");
    b.SetBasePoint(3, 4);
    EXPECT_EQ(b.baseX, 3);
    EXPECT_EQ(b.baseY, 4);
}

TEST_F(BlockFixture, UnknownNameCreatesNothing) {
    mmBlockRef ref;
    ref.AddPoint(0, 0);
    EXPECT_FALSE(ref.InstantiateBlock(u"door", blocks, glyphs));
    EXPECT_TRUE(ref.children.empty());
    EXPECT_EQ(ref.blockId, -1);
}

TEST_F(BlockFixture, ChildrenAreIndependentCopiesRelativeToTheInsertionPoint) {
    auto ref = insert(50, 60);
    EXPECT_EQ(ref->blockId, 4);
    EXPECT_EQ(ref->blockName, u"DOOR");
    ASSERT_EQ(ref->children.size(), 4u);
    EXPECT_NE(ref->children[0], door->entities[0]);
    expectAt(lineOf(*ref).points[1], 10, 0);
    EXPECT_EQ(textOf(*ref).glyphs, glyphs);
    // Editing the block afterwards leaves the reference as it was.
    door->entities[0]->points[1].x = 99;
    expectAt(lineOf(*ref).points[1], 10, 0);
    // Extents: the children's, offset by the insertion point (the arc reaches 10 up and right).
    EXPECT_NEAR(ref->extents.minX, 50, 1e-9);
    EXPECT_NEAR(ref->extents.maxX, 60, 1e-9);
    EXPECT_NEAR(ref->extents.maxY, 70, 1e-9);
    ASSERT_EQ(ref->gripCount(), 1);
    expectAt(ref->grips[0], 50, 60);

    mmBlockRef empty;
    empty.AddPoint(5, 5);
    empty.UpdateExtents();
    EXPECT_GT(empty.extents.minX, empty.extents.maxX);  // inverted: never passes culling
}

TEST_F(BlockFixture, ScaleTwiceGivesTheLastFactor) {
    auto ref = insert(0, 0);
    ASSERT_TRUE(ref->SetScale(2, 2, false));
    ASSERT_TRUE(ref->SetScale(3, 3, false));
    EXPECT_EQ(ref->scaleX, 3);
    EXPECT_EQ(ref->scaleY, 3);
    expectAt(lineOf(*ref).points[1], 30, 0);
    expectAt(circleOf(*ref).points[0], 15, 15);
    EXPECT_DOUBLE_EQ(circleOf(*ref).radius, 6);
    EXPECT_DOUBLE_EQ(arcOf(*ref).radius, 30);
    EXPECT_DOUBLE_EQ(textOf(*ref).height, 1.0);  // texts keep their height
    expectAt(textOf(*ref).points[0], 12, 0);
    EXPECT_NEAR(ref->extents.maxX, 30, 1e-9);

    // Zero or non-finite factors would lose the children for good: refused.
    EXPECT_FALSE(ref->SetScale(0, 1, false));
    EXPECT_FALSE(ref->SetScale(1, std::nan(""), false));
    EXPECT_EQ(ref->scaleX, 3);
    expectAt(lineOf(*ref).points[1], 30, 0);
}

// Radii follow the x factor, and the y factor when the x factor equals the old x scale.
TEST_F(BlockFixture, RadiiFollowTheFactorOfTheRule) {
    struct Case { double sx1, sy1, sx2, sy2; bool byFactor; double factor; };
    const Case cases[] = {
        {1, 1, 2, 3, false, 2},  // x factor 2
        {2, 1, 4, 3, false, 3},  // x factor 2 is the old x scale 2: the y factor 3
        {1, 1, 3, 5, true, 3},   // by factor: x
        {2, 2, 2, 7, true, 7},   // by factor 2 equals the old x scale 2: y
    };
    for (const Case& c : cases) {
        auto ref = insert(0, 0);
        ASSERT_TRUE(ref->SetScale(c.sx1, c.sy1, false));
        const double radius = circleOf(*ref).radius;
        ASSERT_TRUE(ref->SetScale(c.sx2, c.sy2, c.byFactor));
        EXPECT_DOUBLE_EQ(circleOf(*ref).radius, radius * c.factor)
            << c.sx2 << " " << c.sy2;
    }
}

TEST_F(BlockFixture, RotationTurnsPointsAndArcAnglesButNotTexts) {
    auto ref = insert(0, 0);
    ASSERT_TRUE(ref->SetRotation(90, false));
    EXPECT_EQ(ref->rotation, 90);
    EXPECT_EQ(arcOf(*ref).startAngle, 90.0);
    EXPECT_EQ(arcOf(*ref).endAngle, 180.0);
    EXPECT_EQ(lineOf(*ref).points[1].x, 0.0);  // exact for quarter turns
    EXPECT_EQ(lineOf(*ref).points[1].y, 10.0);
    expectAt(circleOf(*ref).points[0], -5, 5);
    expectAt(textOf(*ref).points[0], 0, 4);  // displaced...
    EXPECT_EQ(textOf(*ref).rotation, 90.0);   // ...but not turned
    ASSERT_TRUE(ref->SetRotation(30, false));  // by the difference
    EXPECT_NEAR(arcOf(*ref).startAngle, 30.0, 1e-12);
    EXPECT_NEAR(lineOf(*ref).points[1].x, 10 * std::cos(kPi / 6), 1e-9);
    ASSERT_TRUE(ref->SetRotation(10, true));  // from zero: turns by the angle itself
    EXPECT_NEAR(arcOf(*ref).startAngle, 40.0, 1e-12);
    EXPECT_EQ(ref->rotation, 10);
}

TEST_F(BlockFixture, ScalingARotatedReferenceScalesInItsOwnFrame) {
    auto ref = insert(0, 0);
    ref->SetRotation(90, false);
    ref->SetScale(2, 1, false);
    // The line (0,0)-(10,0) is stretched along its own x, then turned: (0,0)-(0,20).
    expectAt(lineOf(*ref).points[1], 0, 20);
    EXPECT_EQ(ref->rotation, 90);
    EXPECT_DOUBLE_EQ(circleOf(*ref).radius, 4);  // radius follows the x factor
}

TEST_F(BlockFixture, MirroringKeepsRadiiAndMirrorsArcs) {
    auto ref = insert(0, 0);
    auto poly = std::make_shared<mmPolyline>();
    poly->AddPoint(0, 0);
    poly->AddPoint(2, 0);
    poly->bulges = {1, 0};
    poly->UpdateGrips();
    poly->UpdateExtents();
    ref->children.push_back(poly);
    ASSERT_TRUE(ref->SetScale(-1, 1, false));
    EXPECT_DOUBLE_EQ(circleOf(*ref).radius, 2);
    expectAt(circleOf(*ref).points[0], -5, 5);
    // The quarter arc from 0 to 90 degrees becomes the one from 90 to 180.
    EXPECT_DOUBLE_EQ(arcOf(*ref).startAngle, 90);
    EXPECT_DOUBLE_EQ(arcOf(*ref).endAngle, 180);
    EXPECT_NEAR(arcOf(*ref).extents.minX, -10, 1e-9);
    // The half circle below its chord stays below it: the bulge turns clockwise.
    EXPECT_EQ(poly->bulges[0], -1);
    EXPECT_NEAR(poly->extents.minY, -1, 1e-6);
}

TEST_F(BlockFixture, HatchChildrenAreScaledAndRefilled) {
    auto hatch = std::make_shared<mmHatch>();
    hatch->AddBoundary(circle(20, 0, 1), hatch->AddLoop());
    hatch->RebuildFill();
    auto ref = insert(0, 0);
    ref->children.push_back(hatch);
    ref->SetScale(2, 2, false);
    expectAt(hatch->points[0], 40, 0);
    EXPECT_NEAR(hatch->extents.minX, 38, 1e-9);
    EXPECT_NEAR(hatch->extents.maxX, 42, 1e-9);
    ref->SetRotation(90, false);
    expectAt(hatch->points[0], 0, 40);
    EXPECT_NEAR(hatch->extents.maxY, 42, 1e-9);
}

TEST_F(BlockFixture, NestedReferencesTurnAndScaleWithTheirContents) {
    auto inner = insert(20, 0);
    auto outer = std::make_shared<mmBlockRef>();
    outer->AddPoint(100, 0);
    outer->children.push_back(inner);
    outer->UpdateExtents();
    outer->SetRotation(90, false);
    expectAt(inner->points[0], 0, 20);
    EXPECT_EQ(inner->rotation, 90);
    expectAt(lineOf(*inner).points[1], 0, 10);  // the inner line turned too
    outer->SetScale(2, 2, false);
    expectAt(inner->points[0], 0, 40);
    expectAt(lineOf(*inner).points[1], 0, 20);

    // Picked at its place in the drawing: inner line from (100, 40) to (100, 60).
    outer->UpdateExtents();
    TestView view(400, 300, 2.0, 0, 250);
    auto hit = [&](double x, double y) {
        return outer->HitTest(view.px(x), view.py(y), view.rect(), view.m, view.scale(), {}, true);
    };
    EXPECT_TRUE(hit(100, 50));
    EXPECT_FALSE(hit(110, 50));
    EXPECT_TRUE(outer->CrossesRect({99, 45, 101, 46}, {}, true));
    EXPECT_FALSE(outer->CrossesRect({101, 45, 102, 46}, {}, true));
}

TEST_F(BlockFixture, DrawsChildrenAtTheInsertionPointInTheirColours) {
    auto ref = insert(50, 60);
    ref->color = 0x00FF00;
    lineOf(*ref).color = 0xFFFFFF;  // white is drawn black
    circleOf(*ref).color = 0x0000FF;
    circleOf(*ref).lineWidth = 1;
    arcOf(*ref).colorIndex = kColorByBlock;  // takes the reference's colour
    mmRecordingDrawContext dc;
    const mmShift shift{0, 0, 5, 5};
    ref->Draw(dc, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, shift, true);
    EXPECT_EQ(dc.errors, 0);
    ASSERT_GE(dc.primitives.size(), 3u);
    const auto& l = dc.primitives[0];
    ASSERT_EQ(l.vertices.size(), 2u);
    expectAt(l.vertices[0], 45, 55);
    expectAt(l.vertices[1], 55, 55);
    EXPECT_EQ(l.color[0], 0.0f);
    EXPECT_EQ(dc.primitives[1].color[0], 1.0f);  // the circle, red
    EXPECT_EQ(dc.primitives[2].color[1], 1.0f);  // the arc, green like the reference

    // A child far from the base point (survey coordinates) is drawn in a view that shows it.
    ref->children.push_back(line(4e6, 0, 4e6 + 1, 0));
    dc.Clear();
    ref->Draw(dc, {4e6, 0, 4e6 + 100, 100}, kDrawNormal, 1.0f, prim::kLineStrip, {}, false);
    ASSERT_EQ(dc.primitives.size(), 1u);
    EXPECT_NEAR(dc.primitives.back().vertices[0].x, 4e6 + 50, 1e-6);

    dc.Clear();
    ref->Draw(dc, kEverywhere, kDrawGrips, 1.0f, prim::kLineStrip, {}, true);
    EXPECT_EQ(dc.primitives.size(), 1u);  // one grip square
}

TEST_F(BlockFixture, PickingCrossingAndSelectionGoThroughTheChildren) {
    auto ref = insert(50, 60);
    TestView view(400, 300, 4.0, 0, 300);
    auto hit = [&](double x, double y, const mmShift& shift = {}) {
        return ref->HitTest(view.px(x), view.py(y), view.rect(), view.m, view.scale(), shift, true);
    };
    EXPECT_TRUE(hit(55, 60));   // on the line
    EXPECT_FALSE(hit(57, 61.5));  // between line and circle
    EXPECT_TRUE(hit(57, 65));   // on the circle
    // With an origin offset the children are found at the display position.
    EXPECT_TRUE(hit(45, 50, {0, 0, 10, 10}));
    EXPECT_TRUE(ref->CrossesRect({59, 64, 61, 66}, {}, true));
    EXPECT_FALSE(ref->CrossesRect({54, 64, 56, 66}, {}, true));  // inside the circle

    int delta = 0;
    ref->SetSelected(true, delta);
    EXPECT_TRUE(ref->selected);
    EXPECT_EQ(delta, 4);
    for (const auto& c : ref->children) EXPECT_TRUE(c->selected);
    mmRecordingDrawContext dc;
    ref->Draw(dc, kEverywhere, kDrawHighlight, 1.0f, prim::kLineStrip, {}, true);
    EXPECT_TRUE(dc.primitives[0].lineStipple);  // every child highlighted
    EXPECT_TRUE(dc.primitives[2].lineStipple);
}

TEST_F(BlockFixture, CopiesAreDeep) {
    auto ref = insert(50, 60);
    ref->SetScale(2, 3, false);
    ref->SetRotation(45, false);
    ref->id = 9;
    mmObjectPtr copy = CreateEntityOfType(kTypeBlockRef);
    ASSERT_NE(copy, nullptr);
    copy->CopyFrom(*ref);
    auto& c = static_cast<mmBlockRef&>(*copy);
    EXPECT_EQ(c.id, 9);
    EXPECT_EQ(c.scaleX, 2);
    EXPECT_EQ(c.scaleY, 3);
    EXPECT_EQ(c.rotation, 45);
    EXPECT_EQ(c.blockName, u"DOOR");
    ASSERT_EQ(c.children.size(), 4u);
    EXPECT_NE(c.children[0], ref->children[0]);
    EXPECT_DOUBLE_EQ(c.children[0]->points[1].x, ref->children[0]->points[1].x);
    ref->children[0]->points[1].x = 1234;
    EXPECT_NE(c.children[0]->points[1].x, 1234);
    EXPECT_DOUBLE_EQ(c.extents.minY, ref->extents.minY);
    c.CopyFrom(c);
    EXPECT_EQ(c.children.size(), 4u);
}

// A copy shows its original's children without copying them; reading, selecting and laying out
// with the same glyphs keep the sharing, and scaling one gives it its own copy, the other as it
// was.
TEST_F(BlockFixture, CopiesShareTheirChildrenUntilOneChangesThem) {
    auto ref = insert(50, 60);
    mmBlockRef copy;
    copy.CopyFrom(*ref);
    const mmBlockRef& reading = copy;
    EXPECT_EQ(reading.children.size(), 4u);
    EXPECT_DOUBLE_EQ(copy.extents.maxX, ref->extents.maxX);
    int sharedDelta = 0;
    copy.SetSelected(true, sharedDelta);
    RebuildTexts(copy, glyphs);
    EXPECT_TRUE(copy.children.SameAs(ref->children));

    copy.SetScale(2, 2, false);
    EXPECT_FALSE(copy.children.SameAs(ref->children));
    expectAt(lineOf(*ref).points[1], 10, 0);
    expectAt(lineOf(copy).points[1], 20, 0);
    int ownDelta = 0;
    ref->SetSelected(true, ownDelta);
    EXPECT_EQ(sharedDelta, ownDelta) << "the selection count is the same either way";
}

// References sharing their children draw them through one compiled list, placed at each
// insertion point and cell, with the same primitives as a reference holding its own copy.
TEST_F(BlockFixture, SharedChildrenDrawAsOwnedOnesDo) {
    auto owned = insert(50, 60);
    arcOf(*owned).colorIndex = kColorByBlock;
    owned->color = 0x00FF00;
    owned->columns = 2;
    owned->columnSpacing = 30;
    auto shared = std::make_shared<mmBlockRef>();
    shared->CopyFrom(*owned);
    mmBlockRef other;
    other.CopyFrom(*owned);
    ASSERT_TRUE(shared->children.IsShared());
    const mmShift shift{0, 0, 5, 5};
    mmRecordingDrawContext once, twice;
    owned->children.Own();  // no longer shared: drawn entity by entity
    owned->Draw(once, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, shift, true);
    for (int pass = 0; pass < 2; ++pass) {
        twice.Clear();
        shared->Draw(twice, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, shift, true);
    }
    EXPECT_EQ(twice.errors, 0);
    ASSERT_EQ(twice.primitives.size(), once.primitives.size());
    for (std::size_t i = 0; i < once.primitives.size(); ++i) {
        const auto& a = once.primitives[i];
        const auto& b = twice.primitives[i];
        EXPECT_EQ(a.primitive, b.primitive);
        EXPECT_EQ(std::vector<float>(a.color, a.color + 3), std::vector<float>(b.color, b.color + 3));
        ASSERT_EQ(a.vertices.size(), b.vertices.size());
        for (std::size_t k = 0; k < a.vertices.size(); ++k)
            expectAt(b.vertices[k], a.vertices[k].x, a.vertices[k].y);
    }
}

// On screen (a detail size set) a reference a pixel across is a dot and a text under two
// pixels high its box; pictures and plots (no detail size) draw them in full.
TEST_F(BlockFixture, TinyReferencesAndTextsAreDrawnInLessDetailOnScreenOnly) {
    auto ref = insert(50, 60);
    auto text = std::make_shared<mmText>();
    text->CreateText("AB", glyphs);
    struct Case {
        float pixelsPerUnit;
        float detail;
        bool dot;           // the reference is one point
        int textPrimitive;  // what the text is drawn with first
    };
    for (const Case c : {Case{0.05f, 2.0f, true, prim::kLineLoop},
                         Case{0.05f, 0.0f, false, prim::kLines}}) {
        SCOPED_TRACE(c.detail);
        mmRecordingDrawContext dc;
        dc.SetDetailPixels(c.detail);
        ref->Draw(dc, kEverywhere, kDrawNormal, c.pixelsPerUnit, prim::kLineStrip, {}, true);
        ASSERT_FALSE(dc.primitives.empty());
        EXPECT_EQ(dc.primitives.size() == 1 && dc.primitives[0].primitive == prim::kPoints, c.dot);
        if (c.dot)
            expectAt(dc.primitives[0].vertices.at(0), (ref->extents.minX + ref->extents.maxX) / 2,
                     (ref->extents.minY + ref->extents.maxY) / 2);
        dc.Clear();
        text->Draw(dc, kEverywhere, kDrawNormal, c.pixelsPerUnit, prim::kLineStrip, {}, true);
        ASSERT_FALSE(dc.primitives.empty());
        EXPECT_EQ(dc.primitives[0].primitive, c.textPrimitive);
    }
    // Seen large enough, both are drawn in full on screen too.
    mmRecordingDrawContext dc;
    dc.SetDetailPixels(2.0f);
    ref->Draw(dc, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, {}, true);
    EXPECT_GT(dc.primitives.size(), 1u);
}
