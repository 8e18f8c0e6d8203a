// The entity records read from DXF groups: polylines with their counts and closing, texts and
// multi-line text codes, splines, hatch boundary paths, dimensions and viewports. Each reader
// must stop at the code 0 of the next object.
#include <gtest/gtest.h>

#include "drawing/Drawing.h"
#include "fileio/DxfTestSupport.h"
#include "fileio/dxf/DxfEntityRecords.h"
#include "fileio/dxf/DxfLoad.h"
#include "fileio/dxf/DxfReader.h"

namespace {

// A reader positioned after the entity's "0 NAME" group; the text ends with "0 NEXT".
struct RecordText {
    std::string text;
    DxfReader reader;
    DxfEntityHeader header;
    explicit RecordText(std::string_view groups) : text(Dxf(std::string(groups) + "0 NEXT\n")) {
        reader.openText(text);
        reader.readGroup();
    }
    void expectAtNext() const { EXPECT_TRUE(reader.is(0, "NEXT")); }
};

}  // namespace

TEST(DxfRecords, LwPolylineKeepsTheAnnouncedCountAndItsFlags) {
    RecordText f(R"(
0 LWPOLYLINE
8 Walls
90 3
70 1
10 0
20 0
42 0.5
10 10
20 0
10 10
20 10
10 0
20 10
)");
    DxfPolylineRecord p;
    ASSERT_TRUE(readDxfLwPolyline(f.reader, f.header, p));
    f.expectAtNext();
    EXPECT_EQ(f.header.layer, "Walls");
    EXPECT_EQ(p.x, (std::vector<double>{0, 10, 10}));
    EXPECT_EQ(p.y, (std::vector<double>{0, 0, 10}));
    EXPECT_EQ(p.bulge, (std::vector<double>{0.5, 0, 0}));
    EXPECT_EQ(p.flags, 1) << "closed, without its first vertex again";
    EXPECT_TRUE(p.lightweight);

    RecordText many("0 LWPOLYLINE\n90 2000000000\n10 1\n20 2\n10 3\n20 4\n");
    ASSERT_TRUE(readDxfLwPolyline(many.reader, many.header, p));
    EXPECT_EQ(p.x.size(), 2u) << "a count larger than the file holds sizes nothing";
}

TEST(DxfRecords, PolylineTakesItsVerticesUpToSeqend) {
    RecordText f(R"(
0 POLYLINE
8 Pipes
66 1
70 1
10 0.0
20 0.0
0 VERTEX
8 Other
10 1
20 2
30 9
42 -1
0 VERTEX
10 3
20 4
0 SEQEND
8 0
)");
    DxfPolylineRecord p;
    ASSERT_TRUE(readDxfPolyline(f.reader, f.header, p));
    EXPECT_TRUE(f.reader.is(0, "SEQEND")) << "left for the dispatcher to step over";
    EXPECT_EQ(f.header.layer, "Pipes");
    EXPECT_EQ(p.flags, 1);
    EXPECT_EQ(p.x, (std::vector<double>{1, 3}));
    EXPECT_EQ(p.y, (std::vector<double>{2, 4}));
    EXPECT_EQ(p.bulge, (std::vector<double>{-1, 0}));
}

TEST(DxfRecords, ThreeDFaceIsItsFourCornersClosed) {
    RecordText f("0 3DFACE\n8 F\n6 Dashed\n10 0\n20 0\n11 1\n21 0\n12 1\n22 1\n13 0\n23 1\n");
    DxfPolylineRecord p;
    ASSERT_TRUE(readDxf3dFace(f.reader, f.header, p));
    f.expectAtNext();
    EXPECT_TRUE(f.header.lineType.empty()) << "3DFACE stores only 8, 62 and 67";
    EXPECT_EQ(p.x, (std::vector<double>{0, 1, 1, 0, 0}));
    EXPECT_EQ(p.y, (std::vector<double>{0, 0, 1, 1, 0}));
    EXPECT_TRUE(p.bulge.empty());
}

TEST(DxfRecords, TextKeepsItsWholeStringAndJustification) {
    RecordText f("0 TEXT\n1 " + std::string(300, 'a') +
                 "\n10 1\n20 2\n11 7\n21 8\n40 2.5\n41 0.8\n50 90\n51 15\n72 4\n73 2\n");
    DxfTextRecord t;
    ASSERT_TRUE(readDxfText(f.reader, f.header, t));
    f.expectAtNext();
    EXPECT_EQ(t.text, std::string(300, 'a'));
    EXPECT_EQ(t.height, 2.5);
    EXPECT_EQ(t.rotation, 90.0);
    EXPECT_EQ(t.group41, 0.8);
    EXPECT_EQ(t.oblique, 15.0);
    EXPECT_EQ(t.horizontal, 4);
    EXPECT_EQ(t.vertical, 2);
    EXPECT_TRUE(t.alignGiven);
    EXPECT_EQ(t.alignX, 7.0);
    EXPECT_EQ(t.alignY, 8.0);

    RecordText plain("0 TEXT\n1 x\n");
    ASSERT_TRUE(readDxfText(plain.reader, plain.header, t));
    EXPECT_FALSE(t.alignGiven);
    EXPECT_EQ(t.group41, 1.0) << "width factor 1 when the file gives none";
}

// Long texts come in chunks: all of them are joined, the codes kept as they are.
TEST(DxfRecords, MTextChunksAreJoinedWithTheirCodes) {
    const std::string chunk1 = std::string(245, 'a') + "\\H2.";
    const std::string chunk2 = "5x;" + std::string(247, 'b');
    RecordText f("0 MTEXT\n3 " + chunk1 + "\n3 " + chunk2 + "\n1 tail\n41 30\n44 1.5\n71 3\n");
    DxfTextRecord t;
    ASSERT_TRUE(readDxfMText(f.reader, f.header, t));
    f.expectAtNext();
    EXPECT_EQ(t.text, chunk1 + chunk2 + "tail");
    EXPECT_EQ(t.group41, 30.0);
    EXPECT_EQ(t.lineSpacing, 1.5);
    EXPECT_EQ(t.attachment, 3);
    EXPECT_FALSE(t.cut);

    RecordText none("0 MTEXT\n1 c\n");
    ASSERT_TRUE(readDxfMText(none.reader, none.header, t));
    EXPECT_EQ(t.attachment, 1) << "top left when the file gives none";
    EXPECT_EQ(t.group41, 0.0) << "no wrapping width";
}

TEST(DxfRecords, MTextDirection) {
    RecordText f("0 MTEXT\n1 x\n11 0.0\n21 1.0\n");
    DxfTextRecord t;
    ASSERT_TRUE(readDxfMText(f.reader, f.header, t));
    EXPECT_DOUBLE_EQ(t.rotation, 90.0) << "the x axis direction gives the rotation";

    RecordText both("0 MTEXT\n50 30\n11 0.0\n21 1.0\n");
    ASSERT_TRUE(readDxfMText(both.reader, both.header, t));
    EXPECT_EQ(t.rotation, 30.0) << "group 50 wins";
}

TEST(DxfRecords, SplineKnotsSkipWeightsAndControlPoints) {
    RecordText f(R"(
0 SPLINE
8 Curves
70 8
71 3
72 8
73 4
74 0
40 0
40 0
40 0
40 0
40 1
40 1
40 1
40 1
41 1
41 1
41 1
41 1
10 0
20 0
30 0
10 1
20 2
30 0
10 3
20 2
30 0
10 4
20 0
30 0
)");
    DxfSplineRecord s;
    ASSERT_TRUE(readDxfSpline(f.reader, f.header, s));
    f.expectAtNext();
    EXPECT_EQ(f.header.layer, "Curves");
    EXPECT_EQ(s.knots, (std::vector<float>{0, 0, 0, 0, 1, 1, 1, 1}));
    EXPECT_EQ(s.control, (std::vector<double>{0, 0, 0, 1, 2, 0, 3, 2, 0, 4, 0, 0}));

    RecordText missing("0 SPLINE\n72 5\n73 2000000000\n40 0\n40 1\n10 1\n20 1\n30 0\n");
    ASSERT_TRUE(readDxfSpline(missing.reader, missing.header, s));
    EXPECT_EQ(s.knots, (std::vector<float>{0, 1, 0, 0, 0})) << "missing knots are 0";
    EXPECT_EQ(s.control.size(), 3u + 3 * kDxfSplinePadding) << "padding is bounded";
}

TEST(DxfRecords, HatchPolylinePathsAndEdgePaths) {
    RecordText f(R"(
0 HATCH
5 2F
8 Fill
91 3
92 2
72 0
73 1
93 4
10 0
20 0
10 10
20 0
10 10
20 10
42 1
10 0
20 10
97 0
92 2
73 0
93 4
10 0
20 0
10 1
20 0
10 1
20 1
10 0
20 1
97 0
92 1
93 3
72 1
10 0
20 0
11 5
21 0
72 3
10 5
20 5
11 1
21 0
40 0.5
50 0
51 180
73 1
72 1
10 5
20 10
11 0
21 0
97 1
330 3A
92 1
93 1
72 2
10 0
20 0
40 2
50 0
51 90
73 1
97 0
75 1
76 1
98 1
10 3
20 3
)");
    DxfHatchRecord h;
    ASSERT_TRUE(readDxfHatch(f.reader, f.header, h));
    f.expectAtNext();
    EXPECT_EQ(f.header.handle, "2F");
    EXPECT_EQ(h.pathCount, 3);
    ASSERT_EQ(h.paths.size(), 4u);
    ASSERT_EQ(h.paths[0].edges.size(), 4u) << "closed: four vertices, four edges";
    EXPECT_EQ(h.paths[0].edges[2].kind, DxfHatchEdge::Arc) << "the bulge of vertex 2";
    EXPECT_NEAR(h.paths[0].edges[2].cx, 5.0, 1e-9);
    EXPECT_NEAR(h.paths[0].edges[2].radius, 5.0, 1e-9);
    EXPECT_EQ(h.paths[0].edges[3].kind, DxfHatchEdge::Line);
    EXPECT_EQ(h.paths[0].edges[3].x2, 0.0);
    EXPECT_EQ(h.paths[1].edges.size(), 3u) << "open: three edges";
    ASSERT_EQ(h.paths[2].edges.size(), 2u) << "line, elliptic arc (not kept), line";
    EXPECT_EQ(h.paths[2].edges[1].x1, 5.0);
    EXPECT_EQ(h.paths[2].edges[1].y1, 10.0);
    ASSERT_EQ(h.paths[3].edges.size(), 1u) << "the path after them reads correctly";
    EXPECT_EQ(h.paths[3].edges[0].kind, DxfHatchEdge::Arc);
    EXPECT_EQ(h.paths[3].edges[0].radius, 2.0);
    EXPECT_EQ(h.paths[3].edges[0].endAngle, 90.0);
}

TEST(DxfRecords, HatchSplineEdge) {
    RecordText f(R"(
0 HATCH
91 1
92 1
93 1
72 4
94 3
73 0
74 0
95 8
96 4
40 0
40 0
40 0
40 0
40 1
40 1
40 1
40 1
10 0
20 0
10 1
20 1
10 10
10 3
20 7
97 0
)");
    DxfHatchRecord h;
    ASSERT_TRUE(readDxfHatch(f.reader, f.header, h));
    ASSERT_EQ(h.paths.size(), 1u);
    ASSERT_EQ(h.paths[0].edges.size(), 1u);
    const DxfHatchEdge& e = h.paths[0].edges[0];
    EXPECT_EQ(e.kind, DxfHatchEdge::Spline);
    EXPECT_EQ(e.knots.size(), 8u);
    EXPECT_EQ(e.control, (std::vector<double>{0, 0, 0, 1, 1, 0, 10, 0, 0, 3, 7, 0}))
        << "the last control point keeps its y";
}

TEST(DxfRecords, DimensionAndViewport) {
    RecordText d(R"(
0 DIMENSION
8 Dims
2 *D7
3 iso-25
10 10
20 5
11 5
21 6
13 0
23 0
14 10
24 0
53 0
70 33
)");
    DxfDimensionRecord dim;
    ASSERT_TRUE(readDxfDimension(d.reader, d.header, dim));
    d.expectAtNext();
    EXPECT_TRUE(dim.text.empty());
    EXPECT_EQ(dim.styleName, "iso-25");
    EXPECT_EQ(dim.type, 33);
    EXPECT_EQ(dim.ext2X, 10.0);

    RecordText v(R"(
0 VIEWPORT
8 Vp
67 1
62 5
10 100
20 80
40 200
41 150
68 2
69 3
1001 ACAD
1000 MVIEW
1002 {
1070 16
1010 0.0
1040 0.0
1040 50
1040 12.5
1040 7.5
1040 50.0
1002 }
)");
    DxfViewportRecord vp;
    ASSERT_TRUE(readDxfViewport(v.reader, v.header, vp));
    v.expectAtNext();
    EXPECT_EQ(v.header.color, 256) << "VIEWPORT stores only 8 and 67";
    EXPECT_TRUE(v.header.paperSpace);
    EXPECT_EQ(vp.width, 200.0);
    EXPECT_EQ(vp.status, 2);
    EXPECT_TRUE(vp.hasView);
    EXPECT_EQ(vp.viewHeight, 50.0);
    EXPECT_EQ(vp.viewCx, 12.5);
    EXPECT_EQ(vp.viewCy, 7.5);

    RecordText plain("0 VIEWPORT\n10 1\n68 1\n");
    ASSERT_TRUE(readDxfViewport(plain.reader, plain.header, vp));
    plain.expectAtNext();
    EXPECT_FALSE(vp.hasView);
}

// A clockwise arc edge gives its angles as 360 minus those of the arc followed
// counter-clockwise; a negative bulge is a clockwise arc too.
TEST(DxfRecords, HatchClockwiseArcEdges) {
    RecordText f(R"(
0 HATCH
91 2
92 1
93 1
72 2
10 0
20 0
40 1
50 0
51 90
73 0
97 0
92 2
93 2
10 0
20 0
42 -1
10 10
20 0
97 0
)");
    DxfHatchRecord h;
    ASSERT_TRUE(readDxfHatch(f.reader, f.header, h));
    f.expectAtNext();
    ASSERT_EQ(h.paths.size(), 2u);
    ASSERT_EQ(h.paths[0].edges.size(), 1u);
    const DxfHatchEdge& arc = h.paths[0].edges[0];
    EXPECT_FALSE(arc.counterClockwise);
    EXPECT_EQ(arc.startAngle, 270.0);
    EXPECT_EQ(arc.endAngle, 360.0);
    ASSERT_EQ(h.paths[1].edges.size(), 1u);
    const DxfHatchEdge& bulge = h.paths[1].edges[0];
    EXPECT_EQ(bulge.kind, DxfHatchEdge::Arc);
    EXPECT_FALSE(bulge.counterClockwise);
    EXPECT_NEAR(bulge.cx, 5.0, 1e-12);
    EXPECT_NEAR(bulge.cy, 0.0, 1e-12);
    EXPECT_NEAR(bulge.startAngle, 0.0, 1e-12) << "from (10, 0) counter-clockwise...";
    EXPECT_NEAR(bulge.endAngle, 180.0, 1e-12) << "...to (0, 0): the upper half";
}

// Survey coordinates keep their digits in arcs made from bulges.
TEST(DxfRecords, BulgeArcsAreWorkedOutInDoublePrecision) {
    const DxfHatchEdge e = dxfSegmentEdge(2500000.125, 5600000.25, 2500010.125, 5600000.25, 1.0);
    EXPECT_EQ(e.kind, DxfHatchEdge::Arc);
    EXPECT_NEAR(e.cx, 2500005.125, 1e-6);
    EXPECT_NEAR(e.cy, 5600000.25, 1e-6);
    EXPECT_NEAR(e.radius, 5.0, 1e-9);
    EXPECT_EQ(dxfSegmentEdge(1, 1, 1, 1, 0.5).kind, DxfHatchEdge::Line) << "no chord, no arc";
}

// The entities after record types read but not yet kept are read as usual.
TEST(DxfRecords, EntitiesAfterRecordTypesAreRead) {
    const std::string file = Dxf(R"(
0 SECTION
2 ENTITIES
0 VIEWPORT
10 1
68 2
0 LINE
0 POLYLINE
0 VERTEX
10 1
0 SEQEND
0 LINE
0 HATCH
92 2
10 1
0 LINE
0 ENDSEC
0 EOF
)");
    mmDrawing d;
    FillNewDrawing(d);
    DxfLoadReport report;
    loadDrawingFromDxfText(d, nullptr, file, nullptr, &report);
    EXPECT_EQ(d.entities.size(), 4u) << "three lines and the polyline";
    EXPECT_EQ(report.dropped,
              (std::map<std::string, int64_t, std::less<>>{{"HATCH", 1}, {"VIEWPORT", 1}}))
        << "a hatch without edges is dropped";
}
