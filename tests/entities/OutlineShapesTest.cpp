// Solids and traces, 3D faces, leaders, construction lines and rays, attributes and references of
// rows and columns: drawing through the recording context, picking, crossing, extents and copies.
#include <gtest/gtest.h>

#include <cmath>

#include "entities/Attribute.h"
#include "entities/Block.h"
#include "entities/BlockRef.h"
#include "entities/DrawContext.h"
#include "entities/Face3d.h"
#include "entities/Leader.h"
#include "entities/Line.h"
#include "entities/RecordingDrawContext.h"
#include "entities/Solid.h"
#include "entities/XLine.h"
#include "support/TestView.h"

namespace {

const mmRect kEverywhere{-1e6, -1e6, 1e6, 1e6};

std::vector<std::pair<double, double>> xy(const std::vector<mmVertex>& v) {
    std::vector<std::pair<double, double>> out;
    for (const mmVertex& p : v) out.emplace_back(p.x, p.y);
    return out;
}
using XY = std::vector<std::pair<double, double>>;

std::shared_ptr<mmSolid> solid(std::initializer_list<mmVertex> corners) {
    auto s = std::make_shared<mmSolid>();
    std::vector<mmVertex> c(corners);
    s->SetCorners(c.data());
    return s;
}

}  // namespace

// The corners in the file's order make a strip: (0,0) (10,0) (0,10) (10,10) fill the square.
TEST(Solid, FillsInTheFileOrderAndIsPickedInside) {
    const auto s = solid({{0, 0}, {10, 0}, {0, 10}, {10, 10}});
    mmRecordingDrawContext dc;
    s->Draw(dc, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, {}, true);
    ASSERT_EQ(dc.primitives.size(), 1u);
    EXPECT_EQ(dc.primitives[0].primitive, prim::kTriangleStrip);
    EXPECT_EQ(xy(dc.primitives[0].vertices), (XY{{0, 0}, {10, 0}, {0, 10}, {10, 10}}));
    dc.Clear();
    s->Draw(dc, kEverywhere, kDrawHighlight, 1.0f, prim::kLineStrip, {}, true);
    EXPECT_TRUE(dc.primitives.at(0).polygonStipple);

    TestView view(400, 300, 10.0, 0, 300);
    const auto hit = [&](double x, double y) {
        return s->HitTest(view.px(x), view.py(y), view.rect(), view.m, view.scale(), {}, true);
    };
    EXPECT_TRUE(hit(5, 5)) << "inside the fill";
    EXPECT_TRUE(hit(10.2, 5)) << "beside the edge";
    EXPECT_FALSE(hit(15, 5));
    EXPECT_TRUE(s->CrossesRect({4, 4, 6, 6}, {}, true)) << "a window inside the fill";
    EXPECT_FALSE(s->CrossesRect({11, 4, 12, 6}, {}, true));
    EXPECT_EQ(s->gripCount(), 4);

    // A triangle repeats its third corner; a copy keeps the trace flag.
    const auto t = solid({{0, 0}, {10, 0}, {5, 8}, {5, 8}});
    t->trace = true;
    EXPECT_TRUE(t->Covers(5, 2, {}));
    EXPECT_FALSE(t->Covers(9, 7, {}));
    auto copy = CreateEntityOfType(kTypeSolid);
    copy->CopyFrom(*t);
    EXPECT_TRUE(static_cast<mmSolid&>(*copy).trace);
}

TEST(Face3d, OnlyItsVisibleEdgesAreDrawnAndPicked) {
    mm3dFace f;
    for (const mmVertex& v : {mmVertex(0, 0), mmVertex(10, 0), mmVertex(10, 10), mmVertex(0, 10)})
        f.points.push_back(v);
    f.invisibleEdges = 2 | 8;  // 1-2 and 3-0 hidden
    f.UpdateGrips();
    f.UpdateExtents();
    mmRecordingDrawContext dc;
    f.Draw(dc, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, {}, true);
    ASSERT_EQ(dc.primitives.size(), 1u);
    EXPECT_EQ(dc.primitives[0].primitive, prim::kLines);
    EXPECT_EQ(xy(dc.primitives[0].vertices), (XY{{0, 0}, {10, 0}, {10, 10}, {0, 10}}));
    TestView view(400, 300, 10.0, 0, 300);
    const auto hit = [&](double x, double y) {
        return f.HitTest(view.px(x), view.py(y), view.rect(), view.m, view.scale(), {}, true);
    };
    EXPECT_TRUE(hit(5, 0));
    EXPECT_FALSE(hit(10, 5)) << "a hidden edge";
    EXPECT_FALSE(f.CrossesRect({-1, 4, 1, 6}, {}, true));
    EXPECT_TRUE(f.CrossesRect({4, -1, 6, 1}, {}, true));
}

// The arrowhead points at vertex 0 along the first segment, a third as wide as it is long.
TEST(Leader, ArrowheadAtTheFirstVertex) {
    mmLeader l;
    l.points = {mmVertex(0, 0), mmVertex(10, 0), mmVertex(10, 5)};
    l.arrowSize = 3;
    l.UpdateGrips();
    l.UpdateExtents();
    mmVertex arrow[3];
    ASSERT_TRUE(l.Arrow(arrow));
    EXPECT_EQ(xy({arrow[0], arrow[1], arrow[2]}), (XY{{0, 0}, {3, 0.5}, {3, -0.5}}));
    EXPECT_EQ(l.extents.minY, -0.5);
    mmRecordingDrawContext dc;
    l.Draw(dc, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, {}, true);
    ASSERT_EQ(dc.primitives.size(), 2u);
    EXPECT_EQ(xy(dc.primitives[0].vertices), (XY{{0, 0}, {10, 0}, {10, 5}}));
    EXPECT_EQ(dc.primitives[1].primitive, prim::kTriangles);

    l.arrowhead = false;
    EXPECT_FALSE(l.Arrow(arrow));
    // A spline path passes through every vertex, smoothly.
    l.splinePath = true;
    std::vector<mmVertex> path;
    l.Path(path);
    EXPECT_GT(path.size(), 3u);
    for (const mmVertex& v : l.points) {
        double best = 1e9;
        for (const mmVertex& p : path) best = std::min(best, std::hypot(p.x - v.x, p.y - v.y));
        EXPECT_LT(best, 1e-9);
    }
}

// Drawn from edge to edge of the view (and a little beyond), whatever the view; never extents.
TEST(XLine, DrawnAcrossTheViewWithoutExtents) {
    mmXLine x;
    x.points.emplace_back(50, 50);
    x.SetDirection(1, 1);
    x.UpdateGrips();
    x.UpdateExtents();
    EXPECT_GT(x.extents.minX, x.extents.maxX) << "no extents";
    EXPECT_FALSE(x.CulledBy({1000, 1000, 1100, 1100}, {}));
    mmRecordingDrawContext dc;
    x.Draw(dc, {0, 0, 200, 100}, kDrawNormal, 1.0f, prim::kLineStrip, {}, true);
    ASSERT_EQ(dc.primitives.size(), 1u);
    const auto& v = dc.primitives[0].vertices;
    ASSERT_EQ(v.size(), 2u);
    EXPECT_LE(std::min(v[0].x, v[1].x), 0.0);
    EXPECT_GE(std::max(v[0].x, v[1].x), 200.0);
    EXPECT_NEAR(v[0].y - v[0].x, 0.0, 1e-9) << "on the line";
    // Far from its point, the line still crosses a window it passes through; a ray not behind it.
    EXPECT_TRUE(x.CrossesRect({990, 995, 1010, 1005}, {}, true));
    x.ray = true;
    EXPECT_FALSE(x.CrossesRect({-1010, -1005, -990, -995}, {}, true));
    dc.Clear();
    x.Draw(dc, {0, 0, 200, 100}, kDrawNormal, 1.0f, prim::kLineStrip, {}, true);
    EXPECT_NEAR(std::min(dc.primitives.at(0).vertices[0].x, dc.primitives[0].vertices[1].x), 50,
                1e-9);

    TestView view(400, 300, 0.01, 0, 300);  // zoomed far out: the point is off to the side
    const auto hit = [&](double px, double py) {
        return x.HitTest(view.px(px), view.py(py), view.rect(), view.m, view.scale(), {}, true);
    };
    EXPECT_TRUE(hit(20000, 20000));
    EXPECT_FALSE(hit(20000, 10000));
    EXPECT_FALSE(hit(-20000, -20000)) << "behind the ray";
}

// Invisible attributes show nothing; a definition shows its tag; a reference shows constant
// definitions only, as attributes with their value.
TEST(Attribute, VisibilityTagsAndDefinitionsInReferences) {
    auto def = std::make_shared<mmAttributeDef>();
    def->tag = "PART";
    def->CreateText("P-1", nullptr);
    def->SetInsertionPoint(1, 1);
    EXPECT_EQ(def->ShownString(), "PART");
    auto constant = std::make_shared<mmAttributeDef>();
    constant->tag = "MAKER";
    constant->flags = kAttributeConstant;
    constant->CreateText("ACME", nullptr);
    constant->SetInsertionPoint(1, 3);
    auto block = CreateBlock(0, 0, 0, 0, u"B");
    auto line = std::make_shared<mmLine>();
    line->AddPoint(0, 0);
    line->AddPoint(1, 0);
    AddToBlock(*block, line);
    AddToBlock(*block, def);
    AddToBlock(*block, constant);
    mmBlockRef ref;
    ref.AddPoint(10, 10);
    ref.InstantiateBlock(*block, nullptr);
    ASSERT_EQ(ref.children.size(), 2u);
    EXPECT_EQ(ref.children[1]->type, kTypeAttribute);
    const auto& shown = static_cast<const mmAttribute&>(*ref.children[1]);
    EXPECT_EQ(shown.tag, "MAKER");
    EXPECT_EQ(shown.ShownString(), "ACME");

    mmAttribute hidden;
    hidden.CreateText("secret", nullptr);
    hidden.flags = kAttributeInvisible;
    hidden.SetInsertionPoint(0, 0);
    hidden.UpdateExtents();
    mmRecordingDrawContext dc;
    hidden.Draw(dc, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, {}, false);
    EXPECT_TRUE(dc.primitives.empty());
    EXPECT_GT(hidden.extents.minX, hidden.extents.maxX);
    EXPECT_FALSE(hidden.CrossesRect(kEverywhere, {}, false));
}

// Three rows and two columns of a turned reference: the children six times, at the cells'
// offsets along the turned axes; extents over all of them.
TEST(BlockRefCells, RowsAndColumnsOfCopies) {
    auto block = CreateBlock(0, 0, 0, 0, u"B");
    auto line = std::make_shared<mmLine>();
    line->AddPoint(0, 0);
    line->AddPoint(1, 0);
    AddToBlock(*block, line);
    mmBlockRef ref;
    ref.AddPoint(100, 0);
    ref.InstantiateBlock(*block, nullptr);
    ref.columns = 2;
    ref.rows = 3;
    ref.columnSpacing = 10;
    ref.rowSpacing = 5;
    ref.SetRotation(90, false);
    ref.UpdateExtents();
    EXPECT_EQ(ref.CellCount(), 6);
    mmRecordingDrawContext dc;
    ref.Draw(dc, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, {}, true);
    ASSERT_EQ(dc.primitives.size(), 6u);
    // Cell (row 2, column 1): (10, 10) turned by 90 degrees.
    EXPECT_NEAR(dc.primitives[5].vertices[0].x, 100 - 10, 1e-9);
    EXPECT_NEAR(dc.primitives[5].vertices[0].y, 10, 1e-9);
    EXPECT_NEAR(ref.extents.minX, 90, 1e-9);
    EXPECT_NEAR(ref.extents.maxY, 11, 1e-9);
    TestView view(400, 300, 1.0, 0, 300);
    EXPECT_TRUE(ref.HitTest(view.px(90), view.py(10.5), view.rect(), view.m, 1.0f, {}, true));
    EXPECT_TRUE(ref.CrossesRect({94, 9, 96, 11}, {}, true));
    mmBlockRef copy;
    copy.CopyFrom(ref);
    EXPECT_EQ(copy.CellCount(), 6);
    EXPECT_EQ(copy.rowSpacing, 5);
}
