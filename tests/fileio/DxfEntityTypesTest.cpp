// The DXF reader on the entity types other programs draw with: ellipses, solids and traces, 3D
// faces, leaders, construction lines and rays, attributes after their INSERT and definitions in
// blocks, anonymous blocks, references of rows and columns, entities in mirrored and tilted
// planes, polygon and polyface meshes, frozen layers, and layer 0 inside references.
#include <gtest/gtest.h>

#include <cmath>

#include "drawing/Drawing.h"
#include "drawing/LayerRules.h"
#include "drawing/Palette.h"
#include "entities/Arc.h"
#include "entities/Attribute.h"
#include "entities/BlockRef.h"
#include "entities/Circle.h"
#include "entities/Ellipse.h"
#include "entities/Face3d.h"
#include "entities/Geometry.h"
#include "entities/Leader.h"
#include "entities/Polyline.h"
#include "entities/Solid.h"
#include "entities/Text.h"
#include "entities/XLine.h"
#include "fileio/DrawingDocument.h"
#include "fileio/DxfTestSupport.h"
#include "fileio/dxf/DxfLoad.h"
#include "platform/RecordingHost.h"

namespace {

struct TypesFixture : ::testing::Test {
    mmDrawing d;
    DxfLoadReport report;
    void SetUp() override { FillNewDrawing(d); }
    void load(std::string_view groups) {
        loadDrawingFromDxfText(d, nullptr, Dxf(groups), nullptr, &report);
    }
    template <class T>
    const T& at(std::size_t i) const {
        return dynamic_cast<const T&>(*d.entities.at(i));
    }
};

std::string entities(std::string_view body) {
    return "0 SECTION\n2 ENTITIES\n" + std::string(body) + "0 ENDSEC\n0 EOF\n";
}

using XY = std::vector<std::pair<double, double>>;
XY xyOf(const std::vector<mmVertex>& points) {
    XY out;
    for (const mmVertex& p : points) out.emplace_back(p.x, p.y);
    return out;
}

}  // namespace

// A whole ellipse, an arc from 5.5 across 0 to 0.5, and the same arc in the plane seen from
// below, which runs the other way.
TEST_F(TypesFixture, EllipsesAndTheirArcs) {
    load(entities(R"(
0 ELLIPSE
10 10
20 5
11 4
21 0
40 0.5
41 0
42 6.283185307179586
0 ELLIPSE
10 10
20 5
11 4
21 0
40 0.5
41 5.5
42 0.5
0 ELLIPSE
10 10
20 5
11 4
21 0
230 -1
40 0.5
41 5.5
42 0.5
)"));
    ASSERT_EQ(d.entities.size(), 3u);
    const auto& whole = at<mmEllipse>(0);
    EXPECT_TRUE(whole.IsWhole());
    EXPECT_EQ(whole.majorX, 4.0);
    EXPECT_EQ(whole.ratio, 0.5);
    EXPECT_NEAR(whole.extents.minY, 3.0, 1e-9);
    const auto& arc = at<mmEllipse>(1);
    EXPECT_NEAR(arc.Sweep(), 2 * kPi - 5.0, 1e-9);
    EXPECT_NEAR(arc.extents.maxX, 14.0, 1e-9) << "through parameter 0";
    const auto& below = at<mmEllipse>(2);
    // Seen from below, the arc around +x runs from angle -0.5 to 0.783 in the plan; its ends
    // are those of the arc above, mirrored in y.
    const mmVertex s = below.PointAt(below.startParam), e = below.PointAt(below.endParam);
    const mmVertex s0 = arc.PointAt(arc.startParam), e0 = arc.PointAt(arc.endParam);
    EXPECT_NEAR(s.x, e0.x, 1e-9);
    EXPECT_NEAR(s.y, 10 - e0.y, 1e-9);
    EXPECT_NEAR(e.x, s0.x, 1e-9);
    EXPECT_NEAR(e.y, 10 - s0.y, 1e-9);
}

// The corners stay in the file's order (the fill is the strip 0, 1, 2, 3); a TRACE is a solid;
// a solid in the plane seen from below is mirrored; 3D faces keep their hidden edges.
TEST_F(TypesFixture, SolidsTracesAndFaces) {
    load(entities(R"(
0 SOLID
62 1
10 0
20 0
11 10
21 0
12 0
22 10
13 10
23 10
0 TRACE
10 0
20 0
11 4
21 0
12 2
22 3
0 SOLID
10 1
20 0
11 2
21 0
12 1
22 1
13 2
23 1
230 -1
0 3DFACE
10 0
20 0
11 1
21 0
12 1
22 1
13 0
23 1
70 6
)"));
    ASSERT_EQ(d.entities.size(), 4u);
    const auto& solid = at<mmSolid>(0);
    EXPECT_EQ(xyOf(solid.points), (XY{{0, 0}, {10, 0}, {0, 10}, {10, 10}}));
    EXPECT_FALSE(solid.trace);
    EXPECT_EQ(solid.color, PaletteColor(1));
    const auto& trace = at<mmSolid>(1);
    EXPECT_TRUE(trace.trace);
    EXPECT_EQ(xyOf(trace.points), (XY{{0, 0}, {4, 0}, {2, 3}, {2, 3}})) << "a triangle";
    EXPECT_EQ(xyOf(at<mmSolid>(2).points), (XY{{-1, 0}, {-2, 0}, {-1, 1}, {-2, 1}}));
    const auto& face = at<mm3dFace>(3);
    EXPECT_EQ(face.invisibleEdges, 6);
    EXPECT_TRUE(face.EdgeVisible(0));
    EXPECT_FALSE(face.EdgeVisible(1));
}

// The arrow size comes from the leader's style, or from its own override in the extended data
// (DIMASZ 41 times DIMSCALE 40); 71 0 has no arrowhead; 72 1 is a curved path.
TEST_F(TypesFixture, LeadersWithTheirStylesArrow) {
    load(R"(
0 SECTION
2 TABLES
0 TABLE
2 DIMSTYLE
0 DIMSTYLE
2 Big
41 4
0 ENDTAB
0 ENDSEC
)" + entities(R"(
0 LEADER
3 big
71 1
72 0
76 3
10 0
20 0
30 0
10 10
20 0
30 0
10 10
20 5
30 0
0 LEADER
3 Big
72 1
10 0
20 0
10 5
20 5
10 10
20 0
1001 ACAD
1000 DSTYLE
1002 {
1070 41
1040 0.5
1070 40
1040 3
1070 77
1070 1
1002 }
0 LEADER
71 0
10 0
20 0
10 1
20 0
)"));
    ASSERT_EQ(d.entities.size(), 3u);
    const auto& first = at<mmLeader>(0);
    EXPECT_EQ(xyOf(first.points), (XY{{0, 0}, {10, 0}, {10, 5}}));
    EXPECT_EQ(first.arrowSize, 4.0) << "the style named ignoring case";
    EXPECT_FALSE(first.splinePath);
    mmVertex arrow[3];
    ASSERT_TRUE(first.Arrow(arrow));
    EXPECT_EQ(arrow[1].x, 4.0);
    const auto& curved = at<mmLeader>(1);
    EXPECT_TRUE(curved.splinePath);
    EXPECT_EQ(curved.arrowSize, 1.5) << "0.5 of the override times the scale 3";
    EXPECT_FALSE(at<mmLeader>(2).Arrow(arrow));
    EXPECT_EQ(at<mmLeader>(2).arrowSize, 0.18)
        << "the current style, Standard, which this file leaves to DXF's default";
}

TEST_F(TypesFixture, ConstructionLinesAndRays) {
    load(entities("0 XLINE\n10 5\n20 5\n11 0\n21 2\n0 RAY\n10 1\n20 2\n11 3\n21 4\n"));
    ASSERT_EQ(d.entities.size(), 2u);
    const auto& x = at<mmXLine>(0);
    EXPECT_FALSE(x.ray);
    EXPECT_EQ(x.dirY, 1.0) << "made unit";
    EXPECT_GT(x.extents.minX, x.extents.maxX) << "no extents";
    const auto& ray = at<mmXLine>(1);
    EXPECT_TRUE(ray.ray);
    EXPECT_NEAR(ray.dirX, 0.6, 1e-12);
}

// The ATTRIBs after an INSERT (66 1) become its children, relative to its insertion point, with
// their tags, values, flags and text properties; the block's ATTDEF is not shown in the
// reference; an ATTDEF in model space shows its tag.
TEST_F(TypesFixture, AttributesAfterTheirInsertAndDefinitions) {
    load(R"(
0 SECTION
2 BLOCKS
0 BLOCK
2 Title
0 LINE
11 10
0 ATTDEF
1 P-0
2 PART
3 Part number
10 1
20 1
40 2
70 8
0 ENDBLK
0 ENDSEC
)" + entities(R"(
0 INSERT
2 Title
10 100
20 50
66 1
0 ATTRIB
62 3
1 P-42
2 PART
10 101
20 51
40 2.5
50 30
72 1
74 2
11 103
21 52
73 12
70 0
0 ATTRIB
1 hidden
2 SECRET
10 100
20 50
70 1
0 SEQEND
0 ATTDEF
1 default
2 TAG
3 Prompt
10 7
20 8
40 1
)"));
    ASSERT_EQ(d.entities.size(), 2u);
    const auto& ref = at<mmBlockRef>(0);
    ASSERT_EQ(ref.children.size(), 3u) << "the line and the two attributes, no definition";
    const auto& part = dynamic_cast<const mmAttribute&>(*ref.children[1]);
    EXPECT_EQ(part.type, kTypeAttribute);
    EXPECT_EQ(part.tag, "PART");
    EXPECT_EQ(part.String(), "P-42");
    EXPECT_EQ(xyOf(part.points), (XY{{1, 1}, {3, 2}})) << "relative to the insertion point";
    EXPECT_EQ(part.height, 2.5);
    EXPECT_EQ(part.rotation, 30.0);
    EXPECT_EQ(part.horizontal, kTextCenter);
    EXPECT_EQ(part.vertical, kTextVerticalMiddle) << "74, not the field length 73";
    EXPECT_EQ(part.color, PaletteColor(3)) << "its own colour";
    const auto& secret = dynamic_cast<const mmAttribute&>(*ref.children[2]);
    EXPECT_TRUE(secret.Invisible());
    const auto& def = at<mmAttributeDef>(1);
    EXPECT_EQ(def.tag, "TAG");
    EXPECT_EQ(def.prompt, "Prompt");
    EXPECT_EQ(def.String(), "default");
    EXPECT_EQ(def.ShownString(), "TAG");
    const auto& inBlock = dynamic_cast<const mmAttributeDef&>(*d.blocks.begin()->second->entities[1]);
    EXPECT_EQ(inBlock.flags, kAttributePreset);
    EXPECT_TRUE(report.dropped.empty());
}

// Anonymous blocks (of hatches, tables, leaders in older files) are read and their references
// kept; a second block of an anonymous name gets a free name; the contents of layouts other
// than the one read are counted as not loaded.
TEST_F(TypesFixture, AnonymousBlocksAndLayouts) {
    load(R"(
0 SECTION
2 BLOCKS
0 BLOCK
2 *U3
70 1
0 LINE
11 1
0 ENDBLK
0 BLOCK
2 *X4
70 1
0 LINE
11 2
0 LINE
11 3
0 ENDBLK
0 BLOCK
2 *U3
70 1
0 CIRCLE
40 1
0 ENDBLK
0 BLOCK
2 *Paper_Space0
0 VIEWPORT
0 MTEXT
1 notes
0 ENDBLK
0 ENDSEC
)" + entities("0 INSERT\n2 *X4\n10 5\n0 INSERT\n2 *U3\n"));
    ASSERT_EQ(d.blocks.size(), 3u);
    std::vector<std::u16string> names;
    for (const auto& [id, block] : d.blocks) {
        names.push_back(block->name);
        EXPECT_EQ(block->flags, kBlockAnonymous);
    }
    EXPECT_EQ(names, (std::vector<std::u16string>{u"*U3", u"*X4", u"*U1"}));
    ASSERT_EQ(d.entities.size(), 2u);
    EXPECT_EQ(at<mmBlockRef>(0).children.size(), 2u);
    // The file's second *U3, read last, is the one its later references mean.
    EXPECT_EQ(at<mmBlockRef>(1).children.at(0)->type, kTypeCircle);
    EXPECT_EQ(report.dropped, (DxfEntityCounts{{"MTEXT", 1}, {"VIEWPORT", 1}}));
}

// A block inserting one the file defines later (dimension and table blocks of older files) lost
// that reference. It is kept; references to no block, and a block inserting itself, are dropped
// and counted.
TEST_F(TypesFixture, RegressionReferencesToBlocksDefinedLaterAreKept) {
    load(R"(
0 SECTION
2 BLOCKS
0 BLOCK
2 *D1
0 INSERT
2 *U2
10 5
41 2
0 ATTRIB
2 T
0 SEQEND
0 INSERT
2 Nowhere
0 ENDBLK
0 BLOCK
2 *U2
0 LINE
11 1
0 ENDBLK
0 BLOCK
2 Self
0 INSERT
2 Self
0 ENDBLK
0 ENDSEC
)" + entities("0 INSERT\n2 *D1\n"));
    const mmBlock& outer = *d.blocks.begin()->second;
    ASSERT_EQ(outer.entities.size(), 1u);
    const auto& inner = dynamic_cast<const mmBlockRef&>(*outer.entities[0]);
    ASSERT_EQ(inner.children.size(), 2u) << "the line and the attribute";
    EXPECT_EQ(inner.children[0]->points.at(1).x, 2.0) << "scaled by 2";
    EXPECT_EQ(inner.children[1]->type, kTypeAttribute);
    ASSERT_EQ(d.entities.size(), 1u);
    EXPECT_EQ(at<mmBlockRef>(0).children.size(), 1u);
    EXPECT_EQ(report.dropped, (DxfEntityCounts{{"INSERT", 2}}));
    EXPECT_TRUE(FindBlockByName(d.blocks, u"Self")->entities.empty());
}

// 70 gives the columns, 71 the rows, 44 and 45 their spacing.
TEST_F(TypesFixture, MinsertOfTwoColumnsAndThreeRows) {
    load(R"(
0 SECTION
2 BLOCKS
0 BLOCK
2 Seat
0 CIRCLE
40 1
0 ENDBLK
0 ENDSEC
)" + entities("0 INSERT\n2 Seat\n10 0\n20 0\n70 2\n71 3\n44 10\n45 5\n"));
    ASSERT_EQ(d.entities.size(), 1u);
    const auto& ref = at<mmBlockRef>(0);
    EXPECT_EQ(ref.columns, 2);
    EXPECT_EQ(ref.rows, 3);
    EXPECT_EQ(ref.CellCount(), 6);
    EXPECT_EQ(ref.extents.maxX, 11.0);
    EXPECT_EQ(ref.extents.maxY, 11.0);
}

// Entities of the plane (0, 0, -1), mirrored in other programs, are seen from above: x turns
// round, arcs and bulges run the other way, references are mirrored; texts keep unmirrored glyphs
// and are counted as drawn approximately. A tilted circle is an ellipse.
TEST_F(TypesFixture, EntitiesOfMirroredAndTiltedPlanes) {
    load(R"(
0 SECTION
2 BLOCKS
0 BLOCK
2 Arrow
0 LINE
11 1
21 1
0 ENDBLK
0 ENDSEC
)" + entities(R"(
0 CIRCLE
10 230
20 40
40 5
230 -1
0 ARC
10 10
20 0
40 2
50 0
51 90
230 -1
0 LWPOLYLINE
90 2
10 1
20 0
42 0.5
10 3
20 0
230 -1
0 TEXT
1 T
10 5
20 6
40 2
50 30
230 -1
0 INSERT
2 Arrow
10 20
20 0
50 30
230 -1
0 CIRCLE
10 0
20 0
40 2
210 0
220 -1
230 1
)"));
    ASSERT_EQ(d.entities.size(), 6u);
    EXPECT_EQ(xyOf(at<mmCircle>(0).points), (XY{{-230, 40}}));
    const auto& arc = at<mmArc>(1);
    EXPECT_EQ(xyOf({arc.points[0]}), (XY{{-10, 0}}));
    EXPECT_EQ(arc.startAngle, 90.0);
    EXPECT_EQ(arc.endAngle, 180.0);
    const auto& lw = at<mmPolyline>(2);
    EXPECT_EQ(xyOf(lw.points), (XY{{-1, 0}, {-3, 0}}));
    EXPECT_EQ(lw.bulges[0], -0.5);
    const auto& text = at<mmText>(3);
    EXPECT_EQ(xyOf({text.points[0]}), (XY{{-5, 6}}));
    EXPECT_EQ(text.rotation, 150.0);
    const auto& ref = at<mmBlockRef>(4);
    EXPECT_EQ(xyOf(ref.points), (XY{{-20, 0}}));
    EXPECT_EQ(ref.rotation, 150.0);
    EXPECT_EQ(ref.scaleY, -1.0);
    // The child line from (0, 0) to (1, 1), mirrored in the plan: it ends at (-1, 1) turned by
    // 30 degrees the other way.
    const mmVertex end = ref.children.at(0)->points.at(1);
    EXPECT_NEAR(end.x, -std::cos(30 * kDegToRad) + std::sin(30 * kDegToRad), 1e-9);
    EXPECT_NEAR(end.y, std::sin(30 * kDegToRad) + std::cos(30 * kDegToRad), 1e-9);
    const auto& tilted = at<mmEllipse>(5);
    EXPECT_NEAR(std::hypot(tilted.majorX, tilted.majorY), 2.0, 1e-9);
    EXPECT_NEAR(tilted.ratio, std::sqrt(0.5), 1e-9);
    EXPECT_EQ(report.approximated, (DxfEntityCounts{{"TEXT", 1}}));
}

// Polygon and polyface meshes were read as 2D polylines through their face records (lines to
// the origin). They are not loaded, and counted.
TEST_F(TypesFixture, RegressionMeshesAreNotReadAsPolylines) {
    load(entities(R"(
0 POLYLINE
70 64
71 3
72 1
0 VERTEX
10 5
20 5
70 192
0 VERTEX
10 6
20 5
70 192
0 VERTEX
10 5
20 6
70 192
0 VERTEX
10 0
20 0
70 128
71 1
72 2
73 3
0 SEQEND
0 POLYLINE
70 16
71 2
72 2
0 VERTEX
10 1
20 1
0 SEQEND
0 LINE
11 1
)"));
    ASSERT_EQ(d.entities.size(), 1u);
    EXPECT_EQ(d.entities[0]->type, kTypeLine);
    EXPECT_EQ(report.dropped, (DxfEntityCounts{{"POLYLINE (polyface mesh)", 1},
                                               {"POLYLINE (polygon mesh)", 1}}));
}

// Entities on a frozen layer, or one switched off, are hidden; a child on layer 0 of a reference
// on a red layer is red, and hidden with it.
TEST_F(TypesFixture, FrozenLayersAndLayerZeroInsideReferences) {
    load(R"(
0 SECTION
2 TABLES
0 TABLE
2 LAYER
0 LAYER
2 Red
62 1
0 LAYER
2 Frozen
62 3
70 1
0 LAYER
2 Off
62 -4
0 ENDTAB
0 ENDSEC
0 SECTION
2 BLOCKS
0 BLOCK
2 Mark
0 LINE
8 0
11 1
0 CIRCLE
8 Frozen
40 1
0 ENDBLK
0 ENDSEC
)" + entities(R"(
0 LINE
8 Frozen
11 1
0 LINE
8 Off
11 1
0 INSERT
8 Red
2 Mark
)"));
    ASSERT_EQ(d.entities.size(), 3u);
    EXPECT_FALSE(d.entities[0]->visible);
    EXPECT_FALSE(d.entities[1]->visible);
    const auto& ref = at<mmBlockRef>(2);
    EXPECT_TRUE(ref.visible);
    const mmObject& line = *ref.children.at(0);
    EXPECT_TRUE(line.visible);
    EXPECT_EQ(line.color, PaletteColor(1)) << "layer 0 takes the reference's red layer";
    EXPECT_FALSE(ref.children.at(1)->visible) << "on the frozen layer";
}

// After an open the history has one line of what was not loaded and one of what is drawn
// approximately, besides those about texts and references.
TEST(DxfOpenReport, OneLineOfWhatWasNotLoaded) {
    TempDir dir;
    WriteWholeFile(dir.file("p.dxf"), Dxf(entities(R"(
0 MLINE
0 MLINE
0 ACAD_TABLE
0 REGION
0 REGION
0 TEXT
1 mirrored
230 -1
0 LINE
11 1
)")));
    mmDrawing d;
    kestrel::platform::RecordingHost host;
    ASSERT_TRUE(OpenDrawing(d, dir.file("p.dxf"), host, nullptr, nullptr));
    EXPECT_EQ(host.historyMessages(),
              (std::vector<std::string>{
                  "Not loaded: 2 MLINE, 2 REGION, 1 ACAD_TABLE",
                  "Drawn approximately, from a mirrored or tilted plane: 1 TEXT"}));
}

// A DXF 2000 save holds every type read; an R12 file has no ELLIPSE, and the save names it. Both
// keep a reference of rows and columns with its attribute.
TEST(DxfOpenReport, SaveNamesTheTypesItLeavesOut) {
    TempDir dir;
    WriteWholeFile(dir.file("in.dxf"), Dxf(R"(
0 SECTION
2 BLOCKS
0 BLOCK
2 Seat
0 CIRCLE
40 1
0 ENDBLK
0 ENDSEC
0 SECTION
2 ENTITIES
0 ELLIPSE
11 2
40 0.5
0 SOLID
11 1
12 0
22 1
0 INSERT
2 Seat
66 1
70 2
71 3
44 10
45 5
0 ATTRIB
1 A1
2 NUMBER
0 SEQEND
0 ENDSEC
0 EOF
)"));
    const struct {
        DxfVersion version;
        std::vector<std::string> history;
        std::vector<int32_t> types;
    } saves[] = {
        {DxfVersion::R2000, {}, {kTypeEllipse, kTypeSolid, kTypeBlockRef}},
        {DxfVersion::R12,
         {"Left out of the file, whose DXF has no form for them: 1 ELLIPSE"},
         {kTypeSolid, kTypeBlockRef}},
    };
    for (const auto& save : saves) {
        mmDrawing d;
        kestrel::platform::RecordingHost host;
        ASSERT_TRUE(OpenDrawing(d, dir.file("in.dxf"), host, nullptr, nullptr));
        ASSERT_TRUE(SaveDrawing(d, dir.file("out.dxf"), host, nullptr, save.version).written);
        EXPECT_EQ(host.historyMessages(), save.history);
        mmDrawing back;
        ASSERT_TRUE(OpenDrawing(back, dir.file("out.dxf"), host, nullptr, nullptr));
        std::vector<int32_t> types;
        for (const mmObjectPtr& e : back.entities) types.push_back(e->type);
        ASSERT_EQ(types, save.types);
        const auto& ref = dynamic_cast<const mmBlockRef&>(*back.entities.back());
        EXPECT_EQ(ref.columns, 2);
        EXPECT_EQ(ref.rows, 3);
        EXPECT_EQ(ref.columnSpacing, 10.0);
        EXPECT_EQ(ref.rowSpacing, 5.0);
        ASSERT_EQ(ref.children.size(), 2u);
        const auto& number = dynamic_cast<const mmAttribute&>(*ref.children[1]);
        EXPECT_EQ(number.tag, "NUMBER");
        EXPECT_EQ(number.String(), "A1");
    }
}
