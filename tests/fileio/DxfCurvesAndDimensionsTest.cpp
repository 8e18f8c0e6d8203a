// What the DXF reader makes of patterns, elliptic hatch edges, dimensions of every type and
// splines of every form, from small inline files: the drawn result, and what a save keeps.
#include <gtest/gtest.h>

#include <cmath>

#include "drawing/DimensionRules.h"
#include "drawing/Drawing.h"
#include "entities/BlockRef.h"
#include "entities/Dimension.h"
#include "entities/Geometry.h"
#include "entities/Hatch.h"
#include "entities/Line.h"
#include "entities/RecordingDrawContext.h"
#include "entities/Spline.h"
#include "fileio/DxfTestSupport.h"
#include "fileio/dxf/DxfLayout.h"
#include "fileio/dxf/DxfLoad.h"
#include "fileio/dxf/DxfSave.h"
#include "support/TestView.h"

namespace {

const mmRect kEverywhere{-1e9, -1e9, 1e9, 1e9};

struct Loaded {
    mmDrawing d;
    DxfLoadReport report;
    explicit Loaded(std::string_view groups) {
        FillNewDrawing(d);
        loadDrawingFromDxfText(d, nullptr, Dxf(groups), nullptr, &report);
    }
    template <class T>
    T& at(std::size_t i) {
        return dynamic_cast<T&>(*d.entities.at(i));
    }
};

std::string entities(std::string_view body) {
    return "0 SECTION\n2 ENTITIES\n" + std::string(body) + "0 ENDSEC\n0 EOF\n";
}

// A square of 10 from (0, 0) as a closed polyline path.
const std::string kSquarePath =
    "92 3\n72 0\n73 1\n93 4\n10 0\n20 0\n10 10\n20 0\n10 10\n20 10\n10 0\n20 10\n97 0\n";

// The square, a round hole of radius 2 at its centre as an edge path, filled with ANSI31 (lines
// at 45 degrees, 0.125 apart).
const std::string kAnsi31SquareWithHole = "0 HATCH\n8 0\n2 ANSI31\n70 0\n71 0\n91 2\n" + kSquarePath + R"(
92 16
93 1
72 2
10 5
20 5
40 2
50 0
51 360
73 1
97 0
75 0
76 1
52 0
41 1
77 0
78 1
53 45
43 0
44 0
45 -0.0883883476483184
46 0.0883883476483185
79 0
98 0
)";

// The lines drawn by a primitive of a recorded hatch, as segments.
std::vector<std::pair<mmVertex, mmVertex>> patternSegments(mmHatch& h) {
    mmRecordingDrawContext dc;
    h.Draw(dc, kEverywhere, kDrawNormal, 10.0f, prim::kLineStrip, {}, true);
    EXPECT_EQ(dc.errors, 0);
    std::vector<std::pair<mmVertex, mmVertex>> out;
    for (const auto& p : dc.primitives) {
        EXPECT_EQ(p.stencilPhase, 0) << "a pattern does not fill";
        if (p.primitive != prim::kLines) continue;
        for (std::size_t i = 0; i + 1 < p.vertices.size(); i += 2)
            out.emplace_back(p.vertices[i], p.vertices[i + 1]);
    }
    return out;
}

}  // namespace

TEST(DxfPatternHatch, Ansi31IsClippedToTheSquareAroundItsHole) {
    Loaded f(entities(kAnsi31SquareWithHole));
    auto& h = f.at<mmHatch>(0);
    EXPECT_FALSE(h.solidFill);
    EXPECT_EQ(h.patternName, "ANSI31");
    ASSERT_EQ(h.patternLines.size(), 1u);
    EXPECT_TRUE(h.PreparePattern());
    const auto segments = patternSegments(h);
    double length = 0.0;
    int splitByTheHole = 0;
    for (const auto& [a, b] : segments) {
        const double dx = b.x - a.x, dy = b.y - a.y;
        length += std::hypot(dx, dy);
        EXPECT_NEAR(dy, dx, 1e-4) << "at 45 degrees";
        const mmVertex mid((a.x + b.x) / 2, (a.y + b.y) / 2);
        EXPECT_TRUE(mid.x > 0 && mid.x < 10 && mid.y > 0 && mid.y < 10) << "inside the square";
        EXPECT_GT(std::hypot(mid.x - 5, mid.y - 5), 2.0 - 1e-4) << "outside the hole";
        for (const mmVertex& end : {a, b}) {
            const bool onSquare = std::fabs(end.x) < 1e-4 || std::fabs(end.x - 10) < 1e-4 ||
                                  std::fabs(end.y) < 1e-4 || std::fabs(end.y - 10) < 1e-4;
            const bool onHole = std::fabs(std::hypot(end.x - 5, end.y - 5) - 2) < 1e-3;
            EXPECT_TRUE(onSquare || onHole) << end.x << ", " << end.y;
            splitByTheHole += onHole;
        }
    }
    EXPECT_GT(splitByTheHole, 40);
    // The lines cover the area (square less hole) at their spacing.
    EXPECT_NEAR(length, (100 - kPi * 4) / 0.125, 0.01 * (100 - kPi * 4) / 0.125);

    // Drawn in the colour the caller set; highlighted as white dashes over the lines.
    mmRecordingDrawContext dc;
    h.Draw(dc, kEverywhere, kDrawHighlight, 10.0f, prim::kLineStrip, {}, true);
    ASSERT_FALSE(dc.primitives.empty());
    EXPECT_TRUE(dc.primitives[0].lineStipple);
    EXPECT_EQ(dc.primitives[0].color[0], 1.0f);
}

TEST(DxfPatternHatch, SaveKeepsThePatternAndMovingMovesIt) {
    Loaded f(entities(kAnsi31SquareWithHole));
    TempDir dir;
    ASSERT_TRUE(saveDrawingAsDxf(f.d, nullptr, dir.file("p.dxf")));
    mmDrawing back;
    FillNewDrawing(back);
    ASSERT_TRUE(loadDrawingFromDxf(back, nullptr, dir.file("p.dxf"), nullptr));
    ASSERT_EQ(back.entities.size(), 1u);
    auto& h = dynamic_cast<mmHatch&>(*back.entities[0]);
    EXPECT_FALSE(h.solidFill);
    EXPECT_EQ(h.patternName, "ANSI31");
    ASSERT_EQ(h.patternLines.size(), 1u);
    EXPECT_NEAR(h.patternLines[0].offsetY, 0.0883883476483185, 1e-6);
    const std::size_t pieces = patternSegments(h).size();

    // Moved, the pattern moves with the boundary; turned, its lines turn.
    TranslateEntity(h, 100, 0);
    const auto moved = patternSegments(h);
    EXPECT_EQ(moved.size(), pieces);
    for (const auto& [a, b] : moved) EXPECT_GE(std::min(a.x, b.x), 100 - 1e-4);
    RotateEntity(h, 45);
    for (const auto& [a, b] : patternSegments(h)) EXPECT_NEAR(b.x, a.x, 1e-4) << "now vertical";
}

// A pattern far too fine for its boundary is not clipped into millions of dashes: the hatch
// shows its boundary and the open says so.
TEST(DxfPatternHatch, TooDenseShowsTheBoundaryAndIsCounted) {
    std::string text = kAnsi31SquareWithHole;
    text.replace(text.find("45 -0.0883883476483184"), 22, "45 -0.0000000883883476");
    text.replace(text.find("46 0.0883883476483185"), 21, "46 0.0000000883883476");
    Loaded f(entities(text));
    auto& h = f.at<mmHatch>(0);
    EXPECT_FALSE(h.PreparePattern());
    EXPECT_EQ(f.report.patternsOutlined, 1);
    mmRecordingDrawContext dc;
    h.Draw(dc, kEverywhere, kDrawNormal, 10.0f, prim::kLineStrip, {}, true);
    ASSERT_FALSE(dc.primitives.empty());
    for (const auto& p : dc.primitives) EXPECT_EQ(p.primitive, prim::kLineStrip);
}

TEST(DxfPatternHatch, DashesAndDotsStartWhereTheBaseLineSaysSo) {
    // A square 0..10, one horizontal line family 4 apart through (0.5, 1): dash 2, gap 1, dot,
    // gap 1 (a period of 4).
    Loaded f(entities("0 HATCH\n2 DASHDOT\n70 0\n91 1\n" + kSquarePath + R"(
75 0
76 1
78 1
53 0
43 0.5
44 1
45 0
46 4
79 4
49 2
49 -1
49 0
49 -1
98 0
)"));
    auto& h = f.at<mmHatch>(0);
    ASSERT_TRUE(h.PreparePattern());
    const mmHatchPatternGeometry& g = h.PatternGeometry();
    const double ox = h.points[0].x, oy = h.points[0].y;
    // Lines at y = 1, 5, 9; on each, dashes 0.5..2.5, 4.5..6.5 and 8.5..10 (cut at the
    // boundary), dots at 3.5 and 7.5.
    ASSERT_EQ(g.segments.size() / 4, 9u);
    EXPECT_NEAR(g.segments[0] + ox, 0.5, 1e-6);
    EXPECT_NEAR(g.segments[1] + oy, 1.0, 1e-6);
    EXPECT_NEAR(g.segments[2] + ox, 2.5, 1e-6);
    EXPECT_NEAR(g.segments[4] + ox, 4.5, 1e-6);
    EXPECT_NEAR(g.segments[10] + ox, 10.0, 1e-6);
    ASSERT_EQ(g.dots.size() / 2, 6u);
    EXPECT_NEAR(g.dots[0] + ox, 3.5, 1e-6);
    EXPECT_NEAR(g.dots[2] + ox, 7.5, 1e-6);
}

TEST(DxfHatchEdges, EllipticArcsAreExactAndFollowTheirDirection) {
    // A half ellipse (axes 4 and 2 about (5, 5)) over the top, counter-clockwise from (9, 5);
    // then the same half below, clockwise from (9, 5), each closed by a line.
    Loaded f(entities(R"(
0 HATCH
2 SOLID
70 1
91 2
92 1
93 2
72 1
10 1
20 5
11 9
21 5
72 3
10 5
20 5
11 4
21 0
40 0.5
50 0
51 180
73 1
97 0
92 1
93 2
72 1
10 1
20 15
11 9
21 15
72 3
10 5
20 15
11 4
21 0
40 0.5
50 0
51 180
73 0
97 0
75 0
76 1
98 0
)"));
    auto& h = f.at<mmHatch>(0);
    ASSERT_EQ(h.loops.size(), 2u);
    for (int loop = 0; loop < 2; ++loop) {
        SCOPED_TRACE(loop);
        ASSERT_EQ(h.loops[loop]->size(), 2u);
        auto& e = dynamic_cast<mmSpline&>(*(*h.loops[loop])[1]);
        const double cy = loop == 0 ? 5 : 15;
        EXPECT_NEAR(e.points.front().x + h.points[0].x, 9.0, 1e-9) << "starts where the line ends";
        EXPECT_NEAR(e.points.back().x + h.points[0].x, 1.0, 1e-9);
        int drawn = 0;
        e.SampleCurve(1e-3, 1000, [&](double x, double y) {
            x += h.points[0].x;
            y += h.points[0].y;
            EXPECT_NEAR((x - 5) * (x - 5) / 16 + (y - cy) * (y - cy) / 4, 1.0, 1e-9);
            EXPECT_TRUE(loop == 0 ? y >= cy - 1e-9 : y <= cy + 1e-9);
            ++drawn;
        });
        EXPECT_GT(drawn, 4);
    }
    EXPECT_NEAR(h.extents.minY, 5.0, 1e-9);
    EXPECT_NEAR(h.extents.maxY, 15.0, 1e-9);
}

namespace {

// A radius dimension drawn by its block *D5 (a line, an MTEXT and a point), a named block
// holding a dimension whose block *D6 comes after it, and a reference to that block.
constexpr char kDimensionBlocks[] = R"(
0 SECTION
2 BLOCKS
0 BLOCK
2 HOLDER
10 100
20 0
0 DIMENSION
2 *D6
10 100
20 0
70 4
15 103
25 0
0 ENDBLK
0 BLOCK
2 *D5
70 1
10 0
20 0
0 LINE
62 0
10 10
20 10
11 14
21 13
0 MTEXT
10 14
20 13
40 0.5
1 R5
0 POINT
8 Defpoints
10 10
20 10
0 ENDBLK
0 BLOCK
2 *D6
10 0
20 0
0 LINE
10 100
20 0
11 103
21 0
0 ENDBLK
0 ENDSEC
)";

}  // namespace

TEST(DxfDimensions, RadiusShowsItsFileBlock) {
    Loaded f(std::string(kDimensionBlocks) + entities(R"(
0 DIMENSION
2 *D5
62 1
10 10
20 10
15 14
25 13
40 0
70 36
0 INSERT
2 HOLDER
10 0
20 50
)"));
    ASSERT_EQ(f.d.entities.size(), 2u);
    auto& d = f.at<mmDimension>(0);
    EXPECT_EQ(d.dimType, kDimRadius);
    EXPECT_EQ(d.blockName, u"*D5");
    EXPECT_EQ(d.defPoints[kDimRadialChordPoint].x, 14.0) << "the point on the circle (15) in P0";
    ASSERT_EQ(d.blockEntities.size(), 3u);
    EXPECT_EQ(d.extents.minX, 10.0);
    EXPECT_EQ(d.extents.maxY, 13.0) << "the line (and the text, of no size without glyphs)";
    const mmBlockPtr own = FindBlockByName(f.d.blocks, u"*D5");
    ASSERT_TRUE(own) << "an anonymous block of the drawing as well";
    EXPECT_EQ(own->flags, kBlockAnonymous);
    EXPECT_EQ(own->entities.size(), 3u);

    mmRecordingDrawContext dc;
    d.Draw(dc, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, {}, true);
    ASSERT_FALSE(dc.primitives.empty());
    EXPECT_EQ(dc.primitives[0].vertices[1].x, 14.0);
    EXPECT_EQ(dc.primitives[0].color[0], 1.0f) << "a line by block takes the dimension's red";
    TestView view(400, 300, 10.0, 0, 200);
    EXPECT_TRUE(d.HitTest(view.px(12), view.py(11.5), view.rect(), view.m, 1.0f, {}, true));
    EXPECT_FALSE(d.HitTest(view.px(12), view.py(14), view.rect(), view.m, 1.0f, {}, true));

    // The block read after the one that names it; the reference's copy is moved with it.
    const auto& ref = f.at<mmBlockRef>(1);
    ASSERT_EQ(ref.children.size(), 1u);
    const auto& inner = dynamic_cast<const mmDimension&>(*ref.children[0]);
    ASSERT_EQ(inner.blockEntities.size(), 1u);
    EXPECT_EQ(inner.blockEntities[0]->points[1].x, 3.0) << "relative to the reference";

    // Saved, the block is what it shows, and the file reads back showing it.
    TempDir dir;
    MakeDimensionBlock(f.d);
    ASSERT_TRUE(saveDrawingAsDxf(f.d, nullptr, dir.file("d.dxf")));
    mmDrawing again;
    FillNewDrawing(again);
    ASSERT_TRUE(loadDrawingFromDxf(again, nullptr, dir.file("d.dxf"), nullptr));
    const auto& reread = dynamic_cast<const mmDimension&>(*again.entities.at(0));
    EXPECT_EQ(reread.dimType, kDimRadius);
    EXPECT_EQ(reread.blockEntities.size(), 3u);
}

TEST(DxfDimensions, RotatedThirtyDegreesMeasuresAlongItsRotation) {
    // As ezdxf writes a linear dimension: the definition point anywhere on the dimension line.
    Loaded f(entities(R"(
0 DIMENSION
10 0
20 5
13 0
23 0
14 10
24 0
50 30
70 32
)"));
    auto& d = f.at<mmDimension>(0);
    EXPECT_TRUE(d.hasRotation);
    EXPECT_EQ(d.label.String(), "8.66");
    EXPECT_NEAR(d.label.rotation, 30.0, 1e-4);
    EXPECT_NEAR(d.defPoints[3].x, -2.165064, 1e-4) << "P3 on the extension line through P0";
    EXPECT_NEAR(d.defPoints[3].y, 3.75, 1e-4);
    EXPECT_NEAR(d.defPoints[2].x, 5.334936, 1e-4) << "P2 moved onto the one through P1";
    EXPECT_NEAR(d.defPoints[2].y, 8.080127, 1e-4);
    // Without 50 a rotated dimension is horizontal.
    Loaded flat(entities("0 DIMENSION\n10 3\n20 7\n13 0\n23 0\n14 10\n24 4\n70 32\n"));
    EXPECT_EQ(flat.at<mmDimension>(0).label.String(), "10");
    EXPECT_NEAR(flat.at<mmDimension>(0).defPoints[2].x, 10.0, 1e-9);
}

TEST(DxfDimensions, TextOverridesShowTheMeasurementWhereTheySaySo) {
    const struct {
        const char* text;
        const char* shown;
    } cases[] = {
        {"<> mm", "10 mm"},
        {"", "10"},
        {" ", ""},
        {"Total <>", "Total 10"},
        {"{\\H2;<>}\\PTYP", "10 TYP"},
        {"fixed", "fixed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Loaded f(entities(std::string("0 DIMENSION\n1 ") + c.text +
                          "\n10 10\n20 5\n13 0\n23 0\n14 10\n24 0\n70 33\n"));
        auto& d = f.at<mmDimension>(0);
        EXPECT_EQ(d.textOverride, c.text);
        EXPECT_EQ(d.label.String(), c.shown);
    }
}

TEST(DxfSplines, FitPointsPeriodicAndWeighted) {
    Loaded f(entities(R"(
0 SPLINE
70 8
71 3
72 0
73 0
74 4
12 1
22 0
32 0
13 1
23 0
33 0
11 0
21 0
31 0
11 10
21 10
31 0
11 20
21 0
31 0
11 30
21 10
31 0
0 SPLINE
70 11
71 3
72 5
73 4
40 0
40 1
40 2
40 3
40 4
10 0
20 0
30 0
10 10
20 0
30 0
10 10
20 10
30 0
10 0
20 10
30 0
0 SPLINE
70 12
71 2
72 6
73 3
40 0
40 0
40 0
40 1
40 1
40 1
41 1
41 0.7071067811865476
41 1
10 100
20 0
30 0
10 100
20 100
30 0
10 0
20 100
30 0
)"));
    ASSERT_EQ(f.d.entities.size(), 3u);
    auto& fitted = f.at<mmSpline>(0);
    EXPECT_EQ(fitted.fitPoints.size(), 4u);
    ASSERT_EQ(fitted.ControlPointCount(), 6);
    EXPECT_NEAR(fitted.points[1].x, 4.714045208, 1e-8) << "as other programs interpolate";
    EXPECT_NEAR(fitted.points[3].y, -10.0, 1e-8);

    auto& periodic = f.at<mmSpline>(1);
    ASSERT_TRUE(periodic.IsDrawable());
    std::vector<mmVertex> loop;
    periodic.SampleCurve(0.01, 1000, [&](double x, double y) { loop.emplace_back(x, y); });
    ASSERT_GT(loop.size(), 8u);
    EXPECT_NEAR(loop.front().x, loop.back().x, 1e-12) << "closed";
    EXPECT_NEAR(loop.front().y, loop.back().y, 1e-12);

    auto& weighted = f.at<mmSpline>(2);
    EXPECT_EQ(weighted.weights.size(), 3u);
    int onCircle = 0;
    weighted.SampleCurve(0.01, 1000, [&](double x, double y) {
        EXPECT_NEAR(std::hypot(x, y), 100.0, 1e-9);
        ++onCircle;
    });
    EXPECT_GT(onCircle, 10);

    // A save keeps every definition as read.
    TempDir dir;
    ASSERT_TRUE(saveDrawingAsDxf(f.d, nullptr, dir.file("s.dxf")));
    mmDrawing back;
    FillNewDrawing(back);
    ASSERT_TRUE(loadDrawingFromDxf(back, nullptr, dir.file("s.dxf"), nullptr));
    ASSERT_EQ(back.entities.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const auto& a = f.at<mmSpline>(i);
        const auto& b = dynamic_cast<const mmSpline&>(*back.entities[i]);
        EXPECT_EQ(a.degree, b.degree) << i;
        EXPECT_EQ(a.flags, b.flags) << i;
        ASSERT_EQ(a.knots.size(), b.knots.size()) << i;
        for (std::size_t k = 0; k < a.knots.size(); ++k) EXPECT_NEAR(a.knots[k], b.knots[k], 1e-6) << i;
        EXPECT_EQ(a.weights.size(), b.weights.size()) << i;
        EXPECT_EQ(a.fitPoints.size(), b.fitPoints.size()) << i;
        ASSERT_EQ(a.points.size(), b.points.size()) << i;
        for (std::size_t k = 0; k < a.points.size(); ++k)
            EXPECT_NEAR(a.points[k].x, b.points[k].x, 1e-6) << i;
    }
}
