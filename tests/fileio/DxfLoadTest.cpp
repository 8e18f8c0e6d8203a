// The DXF loaders on small inline files: tables, entities and their common properties, blocks,
// paper space, truncated files, and save -> load round trips.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "drawing/DimStyleTable.h"
#include "drawing/DimensionRules.h"
#include "drawing/Drawing.h"
#include "drawing/Palette.h"
#include "entities/Arc.h"
#include "entities/BlockRef.h"
#include "entities/Circle.h"
#include "entities/Dimension.h"
#include "entities/Face3d.h"
#include "entities/GlyphTable.h"
#include "entities/Hatch.h"
#include "entities/Line.h"
#include "entities/MText.h"
#include "entities/Point.h"
#include "entities/Polyline.h"
#include "entities/Spline.h"
#include "entities/Text.h"
#include "fileio/DrawingDocument.h"
#include "fileio/DxfTestSupport.h"
#include "fileio/EntityComparison.h"
#include "fileio/HeapGrowthHint.h"
#include "fileio/dxf/DxfLayout.h"
#include "fileio/dxf/DxfLoad.h"
#include "fileio/dxf/DxfSave.h"
#include "platform/RecordingHost.h"

namespace {

constexpr uint32_t kRed = 0x0000FF;

struct LoadFixture : ::testing::Test {
    mmDrawing d;
    DxfLoadReport report;
    void SetUp() override { FillNewDrawing(d); }
    void load(std::string_view groups, DxfLayout* layout = nullptr) {
        loadDrawingFromDxfText(d, nullptr, Dxf(groups), layout, &report);
    }
    const mmLayer* layer(std::u16string_view name) const {
        for (const auto& [id, l] : d.layers)
            if (l.name == name) return &l;
        return nullptr;
    }
};

std::string entities(std::string_view body) {
    return "0 SECTION\n2 ENTITIES\n" + std::string(body) + "0 ENDSEC\n0 EOF\n";
}

const char* const kLayerTable = R"(
0 SECTION
2 TABLES
0 TABLE
2 LAYER
0 LAYER
2 0
62 1
0 LAYER
2 Walls
70 0
62 1
370 35
0 LAYER
2 WALLS
62 3
0 LAYER
2 Caf)"
                                "\xe9"
                                R"(
62 5
370 9
0 LAYER
2 TrueColour
62 300
0 LAYER
2 Off
62 -5
0 LAYER
2 Frozen
70 5
62 1
0 ENDTAB
0 ENDSEC
)";

}  // namespace

TEST_F(LoadFixture, LayersAreAddedUnlessTheDrawingHasTheName) {
    load(kLayerTable);
    struct Expected {
        std::u16string name;
        int32_t id;
        int32_t colorIndex;
        uint32_t color;
        std::string colorText;
        int32_t lineWidth;
        bool show = true, frozen = false, locked = false;
    } expected[] = {
        {u"0", 0, 7, kColorWhite, "White", 1},  // the drawing's own layer stays
        {u"Walls", 1, 1, kRed, "255,0,0", 3},
        {u"Caf\u00e9", 2, 5, PaletteColor(5), "0,0,255", 1},
        {u"TrueColour", 3, 300, 300, "44,1,0", 1},
        {u"Off", 4, -5, PaletteColor(5), "0,0,255", 1, false},  // switched off in the file
        {u"Frozen", 5, 1, kRed, "255,0,0", 1, true, true, true},  // 70: frozen and locked
    };
    ASSERT_EQ(d.layers.size(), std::size(expected));
    EXPECT_EQ(layer(u"WALLS"), nullptr) << "a name differing only in case adds no layer";
    for (const Expected& e : expected) {
        const mmLayer* l = layer(e.name);
        ASSERT_NE(l, nullptr);
        EXPECT_EQ(l->id, e.id);
        EXPECT_EQ(l->colorIndex, e.colorIndex);
        EXPECT_EQ(l->color, e.color);
        EXPECT_EQ(l->colorText, e.colorText);
        EXPECT_EQ(l->lineWidth, e.lineWidth);
        EXPECT_EQ(l->show, e.show);
        EXPECT_EQ(l->frozen, e.frozen);
        EXPECT_EQ(l->locked, e.locked);
    }
    EXPECT_EQ(d.nextLayerId, 6);
}

// An opened file's style replaces the "Standard" the drawing starts with (once); the values a
// style leaves out are DXF's defaults, never our Standard sizes. Loading blocks keeps the
// drawing's style.
TEST_F(LoadFixture, DimStylesOfTheFileWithDxfDefaults) {
    const std::string tables = R"(
0 SECTION
2 TABLES
0 TABLE
2 DIMSTYLE
0 DIMSTYLE
2 STANDARD
41 9
0 DIMSTYLE
2 standard
41 7
0 DIMSTYLE
2 Ticks
40 2
142 0.1
144 100
0 DIMSTYLE
2 Iso
6 ArrowA
7 ArrowB
41 3.5
42 1.5
44 2.25
46 0.5
77 1
140 3.0
147 0.75
176 1
177 2
178 3
0 ENDTAB
0 ENDSEC
)";
    load(tables);
    ASSERT_EQ(d.dimStyles.size(), 3u);
    const DimStyle& standard = d.dimStyles.at(0);
    EXPECT_EQ(standard.name, u"Standard");
    EXPECT_EQ(standard.arrowSize, 9.0) << "the file's Standard, its first entry";
    EXPECT_EQ(standard.textHeight, 0.18) << "DXF's default";
    EXPECT_EQ(standard.extLineOffset, 0.0625);
    EXPECT_EQ(standard.extLineExtension, 0.18);
    EXPECT_EQ(standard.textGap, 0.09);
    const mmDimStyleValues ticks = StyleValues(d.dimStyles.at(1));
    EXPECT_EQ(ticks.arrowKind, 1) << "a tick size gives ticks";
    EXPECT_DOUBLE_EQ(ticks.arrowSize, 0.2) << "the tick size by the overall scale";
    EXPECT_DOUBLE_EQ(ticks.textHeight, 0.36);
    EXPECT_EQ(ticks.measurementScale, 100.0) << "lengths shown times DIMLFAC";
    const DimStyle& s = d.dimStyles.at(2);
    EXPECT_EQ(s.name, u"Iso");
    EXPECT_EQ(s.arrowBlock1, u"ArrowA");
    EXPECT_EQ(s.arrowBlock2, u"ArrowB");
    EXPECT_EQ(s.arrowSize, 3.5);
    EXPECT_EQ(s.extLineOffset, 1.5);
    EXPECT_EQ(s.extLineExtension, 2.25);
    EXPECT_EQ(s.dimLineExtension, 0.5);
    EXPECT_EQ(s.textPlacement, 1);
    EXPECT_EQ(s.textHeight, 3.0);
    EXPECT_EQ(s.textGap, 0.75);
    EXPECT_EQ(s.dimLineColor, 1);
    EXPECT_EQ(s.extLineColor, 2);
    EXPECT_EQ(s.textColor, 3);

    mmDrawing other;
    FillNewDrawing(other);
    std::vector<std::u16string> names;
    loadBlocksFromDxfText(other, names, Dxf(tables), nullptr);
    EXPECT_EQ(other.dimStyles.at(0).arrowSize, 2.5) << "a drawing's own Standard stays";
    EXPECT_EQ(s.arrowKind, 0);
    EXPECT_EQ(d.nextDimStyleId, 3);
}

// The header's dimension variables stand for what a style entry leaves out; a file with no
// entry for Standard (or no DIMSTYLE table) does not keep our own sizes for it.
TEST_F(LoadFixture, DimStylesTakeTheHeaderVariablesTheyLeaveOut) {
    const std::string header =
        "0 SECTION\n2 HEADER\n9 $DIMASZ\n40 5\n9 $DIMTXT\n40 2.5\n9 $DIMCLRT\n70 3\n"
        "9 $EXTMIN\n10 0\n20 0\n0 ENDSEC\n";
    const std::string tables =
        "0 SECTION\n2 TABLES\n0 TABLE\n2 DIMSTYLE\n0 DIMSTYLE\n2 Narrow\n140 1\n0 ENDTAB\n"
        "0 ENDSEC\n";
    load(header + tables);
    const DimStyle& narrow = d.dimStyles.at(1);
    EXPECT_EQ(narrow.arrowSize, 5.0) << "$DIMASZ";
    EXPECT_EQ(narrow.textHeight, 1.0) << "the entry's own";
    EXPECT_EQ(narrow.textColor, 3) << "$DIMCLRT";
    EXPECT_EQ(narrow.extLineOffset, 0.0625) << "neither gives it: DXF's default";
    EXPECT_EQ(d.dimStyles.at(0).textHeight, 2.5) << "Standard, not in the file, from $DIMTXT";

    struct Case {
        const char* what;
        std::string file;
        double arrowSize;
    };
    const Case cases[] = {{"header only", header, 5.0}, {"neither", "", 0.18}};
    for (const Case& c : cases) {
        mmDrawing fresh;
        FillNewDrawing(fresh);
        loadDrawingFromDxfText(fresh, nullptr,
                               Dxf(c.file + entities("0 DIMENSION\n70 1\n13 0\n14 10\n")), nullptr);
        EXPECT_EQ(fresh.dimStyles.at(0).arrowSize, c.arrowSize) << c.what;
        ASSERT_EQ(fresh.entities.size(), 1u) << c.what;
        const auto& dim = static_cast<const mmDimension&>(*fresh.entities.at(0));
        EXPECT_EQ(dim.arrowSize, c.arrowSize) << c.what;
    }
}

TEST_F(LoadFixture, EntityColoursAndLayers) {
    load(std::string(kLayerTable) + entities(R"(
0 LINE
8 walls
0 LINE
8 Walls
62 0
0 LINE
8 Walls
62 300
0 LINE
8 Walls
62 3
0 LINE
8 Nowhere
62 256
)"));
    struct Expected {
        int32_t layerId;
        int32_t colorIndex;
        uint32_t color;
    } expected[] = {
        {1, 256, kRed},  // by layer, the layer found ignoring case
        {1, 0, 0},       // by block: black
        {1, 300, 300},   // a true colour
        {1, 3, PaletteColor(3)},
        {0, 256, kColorWhite},  // a layer the file never defined: the current layer
    };
    ASSERT_EQ(d.entities.size(), std::size(expected));
    for (std::size_t i = 0; i < d.entities.size(); ++i) {
        const mmObject& e = *d.entities[i];
        EXPECT_EQ(e.layerId, expected[i].layerId) << i;
        EXPECT_EQ(e.colorIndex, expected[i].colorIndex) << i;
        EXPECT_EQ(e.color, expected[i].color) << i;
        EXPECT_EQ(e.lineWidthSource, kLineWidthByLayer);
    }
    EXPECT_EQ(d.entities[0]->lineWidth, 3) << "the layer's width";
}

TEST_F(LoadFixture, SimpleEntitiesAndSkippedTypes) {
    load(entities(R"(
0 POINT
10 1.5
20 2.5
30 9
39 4
0 MLINE
10 0
20 0
0 LINE
10 0
20 0
30 1
11 10
21 5
31 1
0 REGION
70 1
0 CIRCLE
10 3
20 4
40 2
0 ARC
10 -1
20 -2
40 3
50 45
51 -90
0 SEQEND
0 ATTRIB
1 text
)"));
    ASSERT_EQ(d.entities.size(), 4u);
    for (int32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(d.entities[i]->id, i);
        EXPECT_EQ(FindEntity(d, i), d.entities[i]);
    }
    EXPECT_EQ(d.nextEntityId, 4);

    const auto& point = dynamic_cast<const mmPointObj&>(*d.entities[0]);
    EXPECT_EQ(point.points[0].x, 1.5);
    EXPECT_EQ(point.gripCount(), 1);
    const auto& line = dynamic_cast<const mmLine&>(*d.entities[1]);
    EXPECT_EQ(line.points[1].x, 10.0);
    EXPECT_EQ(line.points[1].y, 5.0);
    EXPECT_EQ(line.gripCount(), 3);
    EXPECT_EQ(line.extents.maxX, 10.0);
    const auto& circle = dynamic_cast<const mmCircle&>(*d.entities[2]);
    EXPECT_EQ(circle.radius, 2.0);
    EXPECT_EQ(circle.gripCount(), 5);
    EXPECT_EQ(circle.extents.minX, 1.0);
    const auto& arc = dynamic_cast<const mmArc&>(*d.entities[3]);
    EXPECT_EQ(arc.radius, 3.0);
    EXPECT_EQ(arc.startAngle, 45.0);
    EXPECT_EQ(arc.direction, 1);
    EXPECT_EQ(arc.gripCount(), 4);

    // An ATTRIB after no INSERT has no reference to belong to.
    EXPECT_EQ(report.dropped, (std::map<std::string, int64_t, std::less<>>{
                                  {"ATTRIB", 1}, {"MLINE", 1}, {"REGION", 1}}));
}

template <class T>
const T& entityAt(const mmDrawing& d, std::size_t i) {
    return dynamic_cast<const T&>(*d.entities.at(i));
}

std::vector<std::pair<double, double>> xyOf(const mmObject& e) {
    std::vector<std::pair<double, double>> out;
    for (const mmVertex& p : e.points)
        out.emplace_back(p.x, p.y);
    return out;
}

using XY = std::vector<std::pair<double, double>>;
using kestrel::platform::RecordingHost;

TEST_F(LoadFixture, PolylinesAndFaces) {
    load(entities(R"(
0 LWPOLYLINE
62 2
90 4
70 1
10 0
20 0
42 1
10 10
20 0
10 10
20 10
10 0
20 10
0 POLYLINE
70 0
0 VERTEX
10 1
20 1
0 VERTEX
10 2
20 1
42 -0.5
0 SEQEND
0 3DFACE
10 0
20 0
11 1
21 0
12 1
22 1
13 0
23 1
0 LINE
)"));
    ASSERT_EQ(d.entities.size(), 4u) << "SEQEND is stepped over";
    const auto& lw = entityAt<mmPolyline>(d, 0);
    EXPECT_EQ(xyOf(lw), (XY{{0, 0}, {10, 0}, {10, 10}, {0, 10}}));
    EXPECT_TRUE(lw.closed);
    EXPECT_TRUE(lw.lightweight);
    EXPECT_EQ(lw.bulges, (std::vector<double>{1, 0, 0, 0}));
    EXPECT_EQ(lw.colorIndex, 2);
    EXPECT_EQ(lw.gripCount(), 8);
    EXPECT_NEAR(lw.grips[1].y, -5.0, 1e-5) << "the arc's mid point";
    EXPECT_NEAR(lw.extents.minY, -5.0, 1e-5);
    const auto& pl = entityAt<mmPolyline>(d, 1);
    EXPECT_EQ(xyOf(pl), (XY{{1, 1}, {2, 1}}));
    EXPECT_FALSE(pl.lightweight);
    EXPECT_EQ(pl.bulges, (std::vector<double>{0, -0.5}));
    const auto& face = entityAt<mm3dFace>(d, 2);
    EXPECT_EQ(xyOf(face), (XY{{0, 0}, {1, 0}, {1, 1}, {0, 1}}));
    EXPECT_EQ(d.entities[3]->type, kTypeLine);
}

TEST_F(LoadFixture, TextsAndMultiLineTexts) {
    load(entities(R"(
0 TEXT
1 Plan 1:100
7 Romans
10 5
20 6
11 9
21 9
40 2.5
41 0.8
50 90
72 1
0 MTEXT
10 1
20 2
40 3
71 3
3 first 
1 {\C1;second}
0 MTEXT
10 0
20 0
11 0
21 -1
)"));
    ASSERT_EQ(d.entities.size(), 3u);
    const auto& text = entityAt<mmText>(d, 0);
    EXPECT_EQ(text.type, kTypeText);
    EXPECT_EQ(text.String(), "Plan 1:100");
    EXPECT_EQ(xyOf(text), (XY{{5, 6}, {9, 9}})) << "centred at the alignment point";
    EXPECT_EQ(text.horizontal, kTextCenter);
    EXPECT_EQ(text.DrawOrigin().x, 9.0);
    EXPECT_EQ(text.height, 2.5);
    EXPECT_EQ(text.widthFactor, 0.8);
    EXPECT_EQ(text.rotation, 90.0);
    EXPECT_EQ(text.gripCount(), 2);
    const auto& mtext = entityAt<mmMText>(d, 1);
    EXPECT_EQ(mtext.String(), "first {\\C1;second}") << "the codes are kept";
    EXPECT_EQ(mtext.attachment, 3);
    EXPECT_EQ(mtext.height, 3.0);
    EXPECT_DOUBLE_EQ(entityAt<mmMText>(d, 2).rotation, -90.0);
}

// The strings of a file are decoded by its header: UTF-8 from AC1021 on, the code page of
// $DWGCODEPAGE before, escapes in every string.
TEST_F(LoadFixture, StringsFollowTheVersionAndCodePageOfTheFile) {
    struct Case {
        const char* name;
        std::string header;
        std::string layer, text;   // as bytes in the file
        std::u16string layerName;  // as read
        const char* shown;         // the text's string as read
    } cases[] = {
        {"R2013 UTF-8", "9 $ACADVER\n1 AC1027\n9 $DWGCODEPAGE\n3 ANSI_1252\n", "Caf\xc3\xa9",
         "M\xc3\xbcller 25\xe2\x82\xac", u"Caf\u00e9", "M\xc3\xbcller 25\xe2\x82\xac"},
        {"R2000 Windows-1252", "9 $ACADVER\n1 AC1015\n", "Caf\xe9", "M\xfcller 25\x80",
         u"Caf\u00e9", "M\xc3\xbcller 25\xe2\x82\xac"},
        {"R12 Cyrillic", "9 $ACADVER\n1 AC1009\n9 $DWGCODEPAGE\n3 ansi_1251\n", "\xcf\xeb\xe0\xed",
         "\xcf\xeb\xe0\xed", u"\u041f\u043b\u0430\u043d", "\xd0\x9f\xd0\xbb\xd0\xb0\xd0\xbd"},
        {"Escapes", "", "\\U+0141\\U+00F3d\\U+017A", "\\U+4E2D\\M+5CEC4 \\U+12 \\U+D83D\\U+DE00",
         u"\u0141\u00f3d\u017a", "\xe4\xb8\xad\xe6\x96\x87 \\U+12 \xf0\x9f\x98\x80"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mmDrawing drawing;
        FillNewDrawing(drawing);
        const std::string file = "0 SECTION\n2 HEADER\n" + c.header + "0 ENDSEC\n" +
                                 "0 SECTION\n2 TABLES\n0 TABLE\n2 LAYER\n0 LAYER\n2 " + c.layer +
                                 "\n62 1\n0 ENDTAB\n0 ENDSEC\n" +
                                 entities("0 TEXT\n8 " + c.layer + "\n1 " + c.text + "\n");
        loadDrawingFromDxfText(drawing, nullptr, Dxf(file), nullptr, &report);
        ASSERT_EQ(drawing.entities.size(), 1u);
        EXPECT_EQ(entityAt<mmText>(drawing, 0).String(), c.shown);
        const mmLayer* layer = drawing.FindLayer(entityAt<mmText>(drawing, 0).layerId);
        ASSERT_TRUE(layer);
        EXPECT_EQ(layer->name, c.layerName);
    }
    load("0 SECTION\n2 HEADER\n9 $DWGCODEPAGE\n3 ANSI_4711\n0 ENDSEC\n" +
         entities("0 TEXT\n1 \xe9\n"));
    EXPECT_EQ(report.unknownCodePage, "ANSI_4711");
    EXPECT_EQ(entityAt<mmText>(d, 0).String(), "\xc3\xa9") << "taken as Windows-1252";
}

// Justification, alignment point, width factor and oblique angle are saved as read.
TEST_F(LoadFixture, JustifiedTextsComeBackFromASave) {
    load(entities(R"(
0 TEXT
1 %%c50 H7
10 1
20 2
11 30
21 40
40 2.5
41 0.75
50 15
51 12
72 2
73 3
0 TEXT
1 aligned
10 0
20 0
11 10
21 0
72 3
0 TEXT
1 plain
10 5
20 5
)"));
    TempDir dir;
    ASSERT_TRUE(saveDrawingAsDxf(d, nullptr, dir.file("j.dxf")));
    mmDrawing back;
    FillNewDrawing(back);
    ASSERT_TRUE(loadDrawingFromDxf(back, nullptr, dir.file("j.dxf"), nullptr));
    ASSERT_EQ(back.entities.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const auto& a = entityAt<mmText>(d, i);
        const auto& b = entityAt<mmText>(back, i);
        EXPECT_EQ(b.String(), a.String());
        EXPECT_EQ(xyOf(b), xyOf(a));
        EXPECT_EQ(b.horizontal, a.horizontal);
        EXPECT_EQ(b.vertical, a.vertical);
        EXPECT_EQ(b.widthFactor, a.widthFactor);
        EXPECT_EQ(b.oblique, a.oblique);
        EXPECT_EQ(b.rotation, a.rotation);
    }
    EXPECT_EQ(entityAt<mmText>(d, 0).String(), "%%c50 H7") << "the codes are kept as written";
    EXPECT_EQ(entityAt<mmText>(d, 0).vertical, kTextTop);
    EXPECT_EQ(xyOf(entityAt<mmText>(d, 2)), (XY{{5, 5}})) << "no alignment point when left";
    const std::string saved = ReadWholeFile(dir.file("j.dxf"));
    const std::string entitiesSection = saved.substr(saved.find("ENTITIES"));
    EXPECT_EQ(entitiesSection.find("\r\n72\r\n0\r\n"), std::string::npos)
        << "defaults are not written";
}

// With a glyph table the texts are laid out: their extents cover their glyphs.
TEST_F(LoadFixture, TextsAreLaidOutWithTheGlyphTable) {
    std::string message;
    const mmGlyphTablePtr glyphs = SystemGlyphTable(&message);
    if (!glyphs || !glyphs->Usable()) GTEST_SKIP() << "no font: " << message;
    loadDrawingFromDxfText(d, glyphs.get(), Dxf(entities("0 TEXT\n1 HH\n10 100\n20 50\n40 10\n")),
                           nullptr);
    ASSERT_EQ(d.entities.size(), 1u);
    const auto& text = entityAt<mmText>(d, 0);
    EXPECT_EQ(text.glyphs, glyphs);
    EXPECT_NEAR(text.extents.minY, 50.0, 0.5);
    EXPECT_NEAR(text.extents.maxY, 60.0, 0.5) << "a capital is the text height";
    EXPECT_GT(text.extents.maxX - text.extents.minX, 10.0);
}

TEST_F(LoadFixture, SplinesKeepTheirPointsInDoublePrecision) {
    load(entities(R"(
0 SPLINE
72 8
73 4
40 0
40 0
40 0
40 0
40 1
40 1
40 1
40 1
10 2500000.125
20 5600000.25
30 7
10 2500001
20 5600001
30 0
10 2500002
20 5600001
30 0
10 2500003
20 5600000
30 0
)"));
    ASSERT_EQ(d.entities.size(), 1u);
    const auto& s = entityAt<mmSpline>(d, 0);
    EXPECT_EQ(s.knots, (std::vector<double>{0, 0, 0, 0, 1, 1, 1, 1}));
    ASSERT_EQ(s.pointCount(), 4);
    EXPECT_EQ(s.points[0].x, 2500000.125);
    EXPECT_EQ(s.points[0].y, 5600000.25);
    EXPECT_EQ(s.gripCount(), 4);
    EXPECT_TRUE(s.IsDrawable());
}

// Each path is a loop; line edges become two-vertex polylines, arcs keep their direction of
// travel, and the boundary is relative to point 0, the centre of the hatch's extents.
TEST_F(LoadFixture, HatchLoopsFromEdgeAndPolylinePaths) {
    load(entities(R"(
0 HATCH
91 2
92 1
93 2
72 1
10 -2
20 0
11 2
21 0
72 2
10 0
20 0
40 2
50 0
51 180
73 0
97 0
92 2
73 1
93 3
10 10
20 10
10 14
20 10
10 14
20 14
97 0
75 0
0 HATCH
91 0
)"));
    ASSERT_EQ(d.entities.size(), 1u) << "a hatch without edges is dropped";
    EXPECT_EQ(report.dropped.at("HATCH"), 1);
    const auto& h = entityAt<mmHatch>(d, 0);
    ASSERT_EQ(h.loops.size(), 2u);
    EXPECT_NEAR(h.points[0].x, 6.0, 1e-9);
    EXPECT_NEAR(h.points[0].y, 6.0, 1e-9);
    const mmEntityList& first = *h.loops[0];
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0]->type, kTypePolyline);
    EXPECT_EQ(xyOf(*first[0]), (XY{{-8, -6}, {-4, -6}}));
    const auto& arc = dynamic_cast<const mmArc&>(*first[1]);
    EXPECT_EQ(arc.startAngle, 180.0) << "clockwise from 180 through 90 to 0...";
    EXPECT_EQ(arc.endAngle, 360.0) << "...is the lower half followed from its end";
    EXPECT_EQ(arc.direction, 0);
    EXPECT_EQ(arc.lineWidth, 1);
    EXPECT_EQ(h.loops[1]->size(), 3u) << "closed polyline path: three edges";
    EXPECT_EQ((*h.loops[1])[2]->id, 4) << "boundary ids run through the hatch";
    EXPECT_NEAR(h.extents.minY, -2.0, 1e-5);
}

TEST_F(LoadFixture, TrueColoursAreKept) {
    load(entities("0 LINE\n62 1\n420 2883840\n0 LINE\n62 1\n420 327680\n0 LINE\n420 255\n"));
    ASSERT_EQ(d.entities.size(), 3u);
    EXPECT_EQ(d.entities[0]->colorIndex, 300) << "red 44, green 1, blue 0";
    EXPECT_EQ(d.entities[0]->color, 300u);
    EXPECT_EQ(d.entities[1]->colorIndex, 1) << "red 5 would read as an index: 62 stays";
    EXPECT_EQ(d.entities[1]->color, kRed);
    EXPECT_EQ(d.entities[2]->colorIndex, 0xFF0000) << "blue";
    EXPECT_EQ(d.entities[2]->color, 0xFF0000u);
}

const char* const kDoorBlock = R"(
0 SECTION
2 BLOCKS
0 BLOCK
2 *U1
0 LINE
0 ENDBLK
0 BLOCK
2 Door
10 5
20 5
0 LINE
10 5
20 5
11 6
21 5
0 TEXT
1 D
10 5
20 6
0 ENDBLK
0 ENDSEC
)";

// References copy their block's entities, scaled and rotated, anonymous blocks' too; the ATTRIBs
// after an INSERT are its children; a name no block has (names are compared exactly) drops the
// reference.
TEST_F(LoadFixture, InsertsOfNamedBlocks) {
    load(std::string(kDoorBlock) + entities(R"(
0 INSERT
8 Walls
2 Door
10 100
20 50
41 2
42 3
50 90
66 1
0 ATTRIB
1 value
0 SEQEND
0 INSERT
2 *U1
0 INSERT
2 door
0 INSERT
2 Door
0 LINE
)"));
    ASSERT_EQ(d.entities.size(), 4u);
    const auto& ref = entityAt<mmBlockRef>(d, 0);
    EXPECT_EQ(ref.blockName, u"Door");
    EXPECT_EQ(xyOf(ref), (XY{{100, 50}}));
    EXPECT_EQ(ref.scaleX, 2.0);
    EXPECT_EQ(ref.scaleY, 3.0);
    EXPECT_EQ(ref.rotation, 90.0);
    ASSERT_EQ(ref.children.size(), 3u);
    EXPECT_EQ(ref.children[2]->type, kTypeAttribute) << "the ATTRIB after it";
    EXPECT_NEAR(ref.children[0]->points[1].x, 0.0, 1e-12) << "(1, 0) scaled by 2, turned by 90";
    EXPECT_NEAR(ref.children[0]->points[1].y, 2.0, 1e-12);
    EXPECT_NEAR(ref.extents.maxY, 52.0, 1e-9);
    const auto& anonymous = entityAt<mmBlockRef>(d, 1);
    EXPECT_EQ(anonymous.blockName, u"*U1");
    EXPECT_EQ(anonymous.children.size(), 1u);
    const auto& plain = entityAt<mmBlockRef>(d, 2);
    EXPECT_EQ(plain.scaleX, 1.0) << "scales default to 1";
    EXPECT_EQ(plain.rotation, 0.0);
    EXPECT_EQ(d.entities[3]->type, kTypeLine);
    EXPECT_EQ(report.dropped.at("INSERT"), 1);
    EXPECT_EQ(report.dropped.count("ATTRIB"), 0u);
}

// Names are looked up through hash maps beside the tables (thousands of layers once loaded in
// quadratic time): layers and dimension styles ignoring case, blocks exactly, the first of a name
// winning in each.
TEST_F(LoadFixture, NamesResolveByTheirCaseRulesAmongMany) {
    std::string file = "0 SECTION\n2 TABLES\n0 TABLE\n2 LAYER\n";
    for (int i = 0; i < 3000; ++i) file += "0 LAYER\n2 L" + std::to_string(i) + "\n62 1\n";
    file += "0 LAYER\n2 l2999\n62 5\n0 ENDTAB\n0 TABLE\n2 DIMSTYLE\n";
    file += "0 DIMSTYLE\n2 Narrow\n41 1\n0 DIMSTYLE\n2 NARROW\n41 9\n0 ENDTAB\n0 ENDSEC\n";
    file += "0 SECTION\n2 BLOCKS\n0 BLOCK\n2 A\n0 LINE\n0 ENDBLK\n0 BLOCK\n2 A\n0 CIRCLE\n0 ENDBLK\n";
    file += "0 ENDSEC\n";
    load(file + entities("0 LINE\n8 l2999\n0 INSERT\n2 A\n0 INSERT\n2 a\n"
                         "0 DIMENSION\n3 narrow\n70 1\n13 0\n14 10\n"));
    EXPECT_EQ(d.layers.size(), 3001u);  // "0" and L0 to L2999; l2999 is L2999
    const int32_t l2999 = layer(u"L2999")->id;
    EXPECT_EQ(d.entities.at(0)->layerId, l2999);
    EXPECT_EQ(d.entities.at(0)->colorIndex, 256);
    const auto& ref = entityAt<mmBlockRef>(d, 1);
    ASSERT_EQ(ref.children.size(), 1u);
    EXPECT_EQ(ref.children[0]->type, kTypeLine);  // the first block named A
    EXPECT_EQ(report.dropped.at("INSERT"), 1);    // "a" is no block
    const auto& dim = entityAt<mmDimension>(d, 2);
    EXPECT_EQ(dim.arrowSize, 1.0);  // "Narrow", the first of the name
}

// Blocks of references to blocks of references: a file cannot make the copies grow without
// bound, nor nest them without end. The references past the bounds were dropped without a word;
// they are kept without their contents, and the report counts them.
TEST_F(LoadFixture, RegressionReferencesBeyondTheBoundsAreKeptUnexpanded) {
    std::string blocks = "0 SECTION\n2 BLOCKS\n0 BLOCK\n2 B0\n0 LINE\n0 ENDBLK\n";
    for (int level = 1; level <= 9; ++level) {
        blocks += "0 BLOCK\n2 B" + std::to_string(level) + "\n";
        for (int k = 0; k < 10; ++k)
            blocks += "0 INSERT\n2 B" + std::to_string(level - 1) + "\n";
        blocks += "0 ENDBLK\n";
    }
    for (int level = 1; level <= 12; ++level)
        blocks += "0 BLOCK\n2 C" + std::to_string(level) + "\n0 INSERT\n2 " +
                  (level == 1 ? std::string("B0") : "C" + std::to_string(level - 1)) +
                  "\n0 ENDBLK\n";
    blocks += "0 ENDSEC\n";
    DxfLoadLimits limits;
    limits.mostCopiedEntities = 50000;
    limits.mostNesting = 8;
    loadDrawingFromDxfText(d, nullptr,
                           Dxf(blocks + entities("0 INSERT\n2 B9\n0 INSERT\n2 B3\n0 INSERT\n"
                                                 "2 C8\n0 INSERT\n2 C9\n")),
                           nullptr, &report, limits);
    // Copies and nesting of everything read, the blocks included.
    struct Walk {
        int64_t copies = 0;
        int deepest = 0;
        void list(const mmEntityList& entities, int depth) {
            for (const mmObjectPtr& e : entities)
                if (auto* ref = dynamic_cast<const mmBlockRef*>(e.get())) {
                    copies += static_cast<int64_t>(ref->children.size());
                    deepest = std::max(deepest, depth + 1);
                    list(ref->children, depth + 1);
                }
        }
    } walk;
    walk.list(d.entities, 0);
    for (const auto& [id, block] : d.blocks)
        walk.list(block->entities, 0);
    EXPECT_LE(walk.copies, limits.mostCopiedEntities);
    EXPECT_GT(walk.copies, limits.mostCopiedEntities / 2) << "copies up to the bound are made";
    EXPECT_LE(walk.deepest, limits.mostNesting + 1);  // an unexpanded reference at the bottom
    EXPECT_EQ(report.dropped.count("INSERT"), 0u);
    ASSERT_EQ(d.entities.size(), 4u);
    int64_t unexpanded = 0;
    for (const mmObjectPtr& e : d.entities) {
        const auto& ref = dynamic_cast<const mmBlockRef&>(*e);
        EXPECT_FALSE(ref.blockName.empty());
        EXPECT_GE(ref.blockId, 0);
        unexpanded += ref.children.empty();
    }
    EXPECT_GT(unexpanded, 0);
    EXPECT_GE(report.unexpanded, unexpanded);
}

// References read alike (block, scales, rotation, layer, colour) share one copy of their block,
// so that a file with more of them than the copy bound allows shows them all: they were left
// unexpanded past the bound.
TEST_F(LoadFixture, RegressionReferencesAlikePastTheCopyBoundShowTheirBlock) {
    const std::string blocks =
        "0 SECTION\n2 BLOCKS\n0 BLOCK\n2 T\n0 LINE\n11 1\n0 CIRCLE\n40 1\n0 ENDBLK\n0 ENDSEC\n";
    std::string refs;
    for (int i = 0; i < 100; ++i)
        refs += "0 INSERT\n8 " + std::string(i % 2 ? "0" : "Trees") + "\n2 T\n10 " +
                std::to_string(i) + "\n";
    DxfLoadLimits limits;
    limits.mostCopiedEntities = 20;
    loadDrawingFromDxfText(d, nullptr, Dxf(blocks + entities(refs)), nullptr, &report, limits);
    EXPECT_EQ(report.unexpanded, 0);
    ASSERT_EQ(d.entities.size(), 100u);
    for (std::size_t i = 0; i < d.entities.size(); ++i) {
        const auto& ref = entityAt<mmBlockRef>(d, i);
        EXPECT_EQ(ref.children.size(), 2u);
        EXPECT_TRUE(ref.children.SameAs(entityAt<mmBlockRef>(d, i % 2).children)) << i;
    }
}

// A dimension finds its style ignoring case (else the current one) and copies its values with
// arrowheads; its type is the low five bits, an x ordinate has the flag 64; it keeps the file's
// block name (named after its id without one) and is built.
TEST_F(LoadFixture, DimensionsAreBuiltFromTheirPoints) {
    load(R"(
0 SECTION
2 TABLES
0 TABLE
2 DIMSTYLE
0 DIMSTYLE
2 Iso
41 3.5
140 5
178 1
0 ENDTAB
0 ENDSEC
)" + entities(R"(
0 LINE
0 DIMENSION
2 *D99
3 ISO
10 10
20 5
11 5
21 6
13 0
23 0
14 10
24 0
70 32
0 DIMENSION
3 Unknown
10 4
20 5
13 0
23 0
14 3
24 4
70 33
53 12
0 DIMENSION
10 0
20 0
11 40
21 30
13 30
23 20
14 35
24 25
70 70
0 DIMENSION
10 1
20 2
11 3
21 2
15 6
25 2
70 36
)"));
    ASSERT_EQ(d.entities.size(), 5u);
    const auto& rotated = entityAt<mmDimension>(d, 1);
    EXPECT_EQ(rotated.blockName, u"*D99") << "the file's block name";
    EXPECT_EQ(rotated.dimStyleId, 1);
    EXPECT_EQ(rotated.arrowSize, 3.5);
    EXPECT_EQ(rotated.textHeight, 5.0);
    EXPECT_EQ(rotated.arrowKind, 0);
    EXPECT_EQ(rotated.dimType, kDimRotated);
    EXPECT_EQ(rotated.label.String(), "10");
    EXPECT_EQ(rotated.label.colorIndex, 1) << "the style's text colour";
    EXPECT_EQ(rotated.label.height, 5.0);
    EXPECT_NEAR(rotated.defPoints[3].x, 0.0, 1e-6) << "P3 computed";
    EXPECT_NEAR(rotated.defPoints[3].y, 5.0, 1e-6);
    const auto& aligned = entityAt<mmDimension>(d, 2);
    EXPECT_EQ(aligned.dimType, kDimAligned) << "33 is aligned with the block bit";
    EXPECT_EQ(aligned.dimStyleId, d.currentDimStyleId);
    EXPECT_EQ(aligned.textRotation, 12.0);
    EXPECT_EQ(aligned.label.String(), "5");
    EXPECT_EQ(aligned.label.colorIndex, 256);
    const auto& ordinate = entityAt<mmDimension>(d, 3);
    EXPECT_EQ(ordinate.dimType, kDimOrdinate);
    EXPECT_EQ(ordinate.ordinateAxis, 1);
    EXPECT_EQ(ordinate.label.String(), "30");
    const auto& radius = entityAt<mmDimension>(d, 4);
    EXPECT_EQ(radius.dimType, kDimRadius);
    EXPECT_EQ(radius.defPoints[kDimRadialChordPoint].x, 6.0) << "15 is the point on the circle";
    EXPECT_EQ(radius.label.String(), "R5");
}

TEST_F(LoadFixture, NamedBlocksAreReadRelativeToTheirBasePoint) {
    load(R"(
0 SECTION
2 BLOCKS
0 BLOCK
8 0
2 *Model_Space
70 0
10 0
20 0
0 LINE
11 1
0 ENDBLK
0 BLOCK
2 $Temp
0 ENDBLK
0 BLOCK
8 0
2 Door
70 2
10 12.75
20 5
3 Door
0 LINE
10 12.75
20 5
11 13.75
21 6
0 CIRCLE
10 12.75
20 5
40 1
0 ENDBLK
8 0
0 BLOCK
2 Empty
0 ENDBLK
0 BLOCK
2 Door
0 POINT
0 ENDBLK
0 ENDSEC
)" + entities("0 POINT\n"));
    ASSERT_EQ(d.blocks.size(), 3u);
    const mmBlock& door = *d.blocks.at(0);
    EXPECT_EQ(door.name, u"Door");
    EXPECT_EQ(door.baseX, 12.75) << "the base point keeps its fraction";
    EXPECT_EQ(door.baseY, 5.0);
    EXPECT_EQ(door.flags, 0);
    ASSERT_EQ(door.entities.size(), 2u);
    EXPECT_EQ(door.entities[0]->points[0].x, 0.0);
    EXPECT_EQ(door.entities[0]->points[1].x, 1.0);
    EXPECT_EQ(door.entities[0]->points[1].y, 1.0);
    EXPECT_EQ(door.entities[0]->extents.maxX, 1.0);
    EXPECT_EQ(door.entities[1]->grips[1].x, 1.0) << "grips follow the moved centre";
    EXPECT_EQ(door.entities[0]->id, 0);
    EXPECT_EQ(door.entities[1]->id, 1);
    EXPECT_EQ(door.nextEntityId, 2);
    EXPECT_EQ(d.blocks.at(1)->name, u"Empty");
    EXPECT_TRUE(d.blocks.at(1)->entities.empty());
    EXPECT_EQ(d.blocks.at(2)->name, u"Door") << "a second block of the same name is added";
    EXPECT_EQ(d.nextBlockId, 3);
    ASSERT_EQ(d.entities.size(), 1u) << "ENTITIES after BLOCKS";
    EXPECT_EQ(d.entities[0]->id, 0);
}

TEST_F(LoadFixture, PaperSpaceEntitiesGoToTheLayout) {
    const std::string file = entities("0 POINT\n67 1\n0 POINT\n0 POINT\n67 0\n");
    mmSpace paper;
    DxfSpaceLayout layout(paper);
    load(file, &layout);
    EXPECT_EQ(d.entities.size(), 2u);
    ASSERT_EQ(paper.entities.size(), 1u);
    EXPECT_EQ(paper.entities[0]->id, 0);
    EXPECT_EQ(paper.nextEntityId, 1);

    mmDrawing noLayout;
    FillNewDrawing(noLayout);
    loadDrawingFromDxfText(noLayout, nullptr, Dxf(file), nullptr);
    EXPECT_EQ(noLayout.entities.size(), 3u);
}

// Every prefix of a file reads without harm, and keeps the entities it holds.
TEST(DxfLoad, TruncatedFilesKeepWhatWasRead) {
    const std::string full = Dxf(std::string(kLayerTable) + R"(
0 SECTION
2 BLOCKS
0 BLOCK
2 B
10 1
0 LINE
0 ENDBLK
0 ENDSEC
)" + entities("0 LINE\n8 Walls\n10 1\n20 2\n11 3\n21 4\n0 CIRCLE\n40 2\n0 ARC\n40 1\n"));
    std::size_t previous = 0;
    for (std::size_t n = 0; n <= full.size(); ++n) {
        mmDrawing d;
        FillNewDrawing(d);
        loadDrawingFromDxfText(d, nullptr, std::string_view(full).substr(0, n), nullptr);
        ASSERT_GE(d.entities.size(), previous) << n;
        previous = d.entities.size();
    }
    EXPECT_EQ(previous, 3u);
}

// Empty TABLEs without ENDTAB or ENDSEC, or repeated SECTION BLOCKS headers, made every search
// run to the end of the file and back: 640 KB took 28 s. Now each group is read a few times at
// most, and what follows the broken part is still read.
TEST(DxfLoad, RegressionBrokenStructureIsReadInLinearTime) {
    const int n = 2000;
    std::string tables = "0\nSECTION\n2\nTABLES\n";
    for (int i = 0; i < n; ++i) tables += "0\nTABLE\n2\nLAYER\n";
    std::string blocks;
    for (int i = 0; i < n; ++i) blocks += "0\nSECTION\n2\nBLOCKS\n";
    const std::string line = "0\nSECTION\n2\nENTITIES\n0\nLINE\n11\n5\n0\nENDSEC\n0\nEOF\n";
    for (const std::string& broken : {tables, blocks, tables + blocks}) {
        mmDrawing d;
        FillNewDrawing(d);
        DxfLoadReport report;
        loadDrawingFromDxfText(d, nullptr, broken + line, nullptr, &report);
        const uint64_t groups = std::count(broken.begin(), broken.end(), '\n') / 2 + 8;
        EXPECT_LE(report.groupsRead, 3 * groups);
        EXPECT_EQ(d.entities.size(), 1u);
    }
}

TEST(DxfLoad, BlocksOnlyAndXref) {
    const std::string file = Dxf(R"(
0 SECTION
2 BLOCKS
0 BLOCK
2 First
0 LINE
0 ENDBLK
0 BLOCK
2 *U1
0 LINE
0 ENDBLK
0 BLOCK
2 Second
10 4
20 6
0 ENDBLK
0 ENDSEC
0 SECTION
2 ENTITIES
0 LINE
0 POINT
67 1
0 ENDSEC
0 EOF
)");
    mmDrawing d;
    FillNewDrawing(d);
    std::vector<std::u16string> names{u"Earlier"};
    loadBlocksFromDxfText(d, names, file, nullptr);
    EXPECT_EQ(names, (std::vector<std::u16string>{u"Earlier", u"First", u"Second"}));
    EXPECT_TRUE(d.entities.empty());

    TempDir dir;
    WriteWholeFile(dir.file("x.dxf"), file);
    mmDrawing x;
    FillNewDrawing(x);
    ASSERT_TRUE(loadXrefFromDxf(x, nullptr, u"Site", dir.file("x.dxf")));
    ASSERT_EQ(x.blocks.size(), 4u) << "the anonymous block too";
    EXPECT_EQ(x.blocks.at(1)->name, u"*U1");
    EXPECT_EQ(x.blocks.at(1)->flags, kBlockAnonymous);
    const mmBlock& site = *x.blocks.at(3);
    EXPECT_EQ(site.name, u"Site");
    EXPECT_EQ(site.baseX, 4.0) << "the base point of the last BLOCK";
    EXPECT_EQ(site.baseY, 6.0);
    EXPECT_EQ(site.entities.size(), 2u) << "paper-space entities included";
    EXPECT_TRUE(x.entities.empty());

    EXPECT_FALSE(loadXrefFromDxf(x, nullptr, u"Site", dir.file("missing.dxf")));
    EXPECT_FALSE(loadBlocksFromDxf(x, names, dir.file("missing.dxf"), nullptr));
    mmDrawing m;
    EXPECT_FALSE(loadDrawingFromDxf(m, nullptr, dir.file("missing.dxf"), nullptr));
}

// Saved through the document (which makes the dimension blocks first), references and
// dimensions read back the same; the "*D" blocks come back as anonymous blocks.
TEST(DxfLoad, ReferencesAndDimensionsReadBack) {
    mmDrawing d;
    FillNewDrawing(d);
    auto tree = CreateBlock(d.nextBlockId++, 5, 5, 0, u"Tree");
    auto crown = std::make_shared<mmCircle>();
    crown->AddPoint(5, 7);
    crown->radius = 2;
    AddToBlock(*tree, crown);
    auto label = std::make_shared<mmText>();
    label->SetInsertionPoint(5, 4);
    label->SetString("T1", nullptr);
    AddToBlock(*tree, label);
    AddBlock(d, tree);
    auto ref = std::make_shared<mmBlockRef>();
    ref->AddPoint(2500100.25, 5600200.5);
    ASSERT_TRUE(ref->InstantiateBlock(u"Tree", d.blocks, nullptr));
    ref->SetScale(1.5, -1.5, false);
    ref->SetRotation(30, false);
    ref->id = d.nextEntityId++;
    AddEntity(d, ref);
    const std::array<mmVertex, 7> horizontal{mmVertex(0, 0), mmVertex(10, 0), mmVertex(10, 5)};
    const std::array<mmVertex, 7> slanted{mmVertex(0, 0), mmVertex(3, 4), mmVertex(4, 5)};
    const std::array<mmVertex, 7> feature{mmVertex(30, 20), mmVertex(35, 25), mmVertex(0, 0),
                                          mmVertex(),       mmVertex(),       mmVertex(),
                                          mmVertex(35, 25)};
    AddEntity(d, NewDimension(d, kDimRotated, d.nextEntityId++, horizontal, nullptr));
    AddEntity(d, NewDimension(d, kDimAligned, d.nextEntityId++, slanted, nullptr));
    AddEntity(d, NewDimension(d, kDimOrdinate, d.nextEntityId++, feature, nullptr, 1));

    TempDir dir;
    RecordingHost host;
    ASSERT_TRUE(SaveDrawing(d, dir.file("refs.dxf"), host, nullptr, DxfVersion::R12).written);
    EXPECT_EQ(d.blocks.size(), 4u) << "a block for each dimension";
    EXPECT_NE(ReadWholeFile(dir.file("refs.dxf")).find(Dxf("0 BLOCK\n8 0\n2 *D2\n70 1\n")),
              std::string::npos);
    ASSERT_TRUE(SaveDrawing(d, dir.file("refs2000.dxf"), host, nullptr).written);
    for (const char* file : {"refs.dxf", "refs2000.dxf"}) {
        SCOPED_TRACE(file);
        mmDrawing back;
        FillNewDrawing(back);
        ASSERT_TRUE(loadDrawingFromDxf(back, nullptr, dir.file(file), nullptr));
        ASSERT_EQ(back.blocks.size(), 4u);
        EXPECT_EQ(back.blocks.begin()->second->name, u"Tree");
        EXPECT_EQ(back.blocks.rbegin()->second->flags, kBlockAnonymous);
        ExpectSameEntities(tree->entities, back.blocks.begin()->second->entities, "block");
        ExpectSameEntities(d.entities, back.entities, "model space");
        const auto& again = dynamic_cast<const mmBlockRef&>(*back.entities[0]);
        ExpectSameEntities(ref->children, again.children, "copies");
    }
}

// The heap hint of a large read is given back however the read ends.
TEST(DxfLoad, LargeReadRestoresTheHeapHintOnEveryPath) {
    struct ThrowingLayout : DxfLayout {
        int seen = -1;
        mmSpace& PaperSpace() override {
            seen = HeapGrowthHint::activeCount();
            throw std::runtime_error("layout gone");
        }
        const mmSpace& PaperSpace() const override { throw std::runtime_error("layout gone"); }
    };
    std::string file = Dxf(entities("0 POINT\n67 1\n"));
    file.insert(0, Dxf("999 " + std::string(HeapGrowthHint::kMinimumBytes, 'c') + "\n"));
    ThrowingLayout layout;
    mmDrawing d;
    FillNewDrawing(d);
    EXPECT_THROW(loadDrawingFromDxfText(d, nullptr, file, &layout), std::runtime_error);
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_EQ(layout.seen, 1) << "in effect during the read";
#endif
    EXPECT_EQ(HeapGrowthHint::activeCount(), 0);
    loadDrawingFromDxfText(d, nullptr, file, nullptr);
    EXPECT_EQ(HeapGrowthHint::activeCount(), 0);
    EXPECT_EQ(d.entities.size(), 1u);
}

// A saved drawing reads back to the same tables, blocks and entities (new layer ids); an R12 file
// gives layers the width 1 and blocks their base point at the origin.
static void expectSavedDrawingReadsBack(DxfVersion version);

TEST(DxfLoad, SavedDrawingReadsBackTheSame) {
    for (const DxfVersion version : {DxfVersion::R12, DxfVersion::R2000}) {
        SCOPED_TRACE(version == DxfVersion::R12 ? "R12" : "DXF 2000");
        expectSavedDrawingReadsBack(version);
    }
}

static void expectSavedDrawingReadsBack(DxfVersion version) {
    mmDrawing d;
    FillNewDrawing(d);
    mmLayer walls = mmLayer::WithDefaults(d.nextLayerId++, u"Mur \u00e9pais");
    walls.colorIndex = 1;
    walls.color = kRed;
    walls.lineWidth = 4;
    d.layers[walls.id] = walls;
    DimStyle iso = DimStyle::Standard(d.nextDimStyleId++);
    iso.name = u"ISO-25";
    iso.arrowSize = 3.125;
    d.dimStyles[iso.id] = iso;
    auto block = std::make_shared<mmBlock>();
    block->id = d.nextBlockId++;
    block->name = u"Tree";
    block->baseX = 5;
    auto c = std::make_shared<mmCircle>();
    c->AddPoint(0, 0);
    c->radius = 1.25;
    block->entities.push_back(c);
    AddBlock(d, block);
    auto add = [&](const mmObjectPtr& e, int32_t layerId, int32_t colorIndex) {
        e->layerId = layerId;
        e->colorIndex = colorIndex;
        e->id = d.nextEntityId++;
        AddEntity(d, e);
    };
    auto line = std::make_shared<mmLine>();
    line->AddPoint(2500000.123456, 5600000.654321);
    line->AddPoint(-1.5, 0.25);
    add(line, 1, 256);
    auto arc = std::make_shared<mmArc>();
    arc->AddPoint(1, 2);
    arc->radius = 3;
    arc->startAngle = 30;
    arc->endAngle = 300;
    add(arc, 0, 6);
    auto point = std::make_shared<mmPointObj>();
    point->AddPoint(7, 7);
    add(point, 1, 0);  // by block
    auto pline = std::make_shared<mmPolyline>();
    for (const mmVertex& v : {mmVertex(0, 0), mmVertex(2500000.5, 0), mmVertex(2500000.5, 3)})
        pline->AddPoint(v.x, v.y);
    pline->bulges = {0.25, -1, 0.5};
    pline->closed = true;
    add(pline, 1, 0x123456);  // a true colour
    auto text = std::make_shared<mmText>();
    text->SetInsertionPoint(-3.25, 8);
    text->height = 1.75;
    text->rotation = 12.5;
    text->SetString("N\xc2\xb0 12 \\ {x} \xc5\x81\xe4\xb8\xad", nullptr);
    add(text, 0, 3);
    auto mtext = std::make_shared<mmMText>();
    mtext->SetInsertionPoint(4, 4);
    mtext->attachment = 9;
    mtext->SetString(std::string(120, 'a') + "\\{b}" + std::string(125, 'c'), nullptr);  // 249
    add(mtext, 0, 256);
    auto spline = std::make_shared<mmSpline>();
    for (const mmVertex& v : {mmVertex(2500000.125, 5600000.25), mmVertex(2500001, 5600003),
                              mmVertex(2500004, 5600003), mmVertex(2500005, 5600000)})
        spline->AddPoint(v.x, v.y);
    spline->knots = {0, 0, 0, 0, 0.333333, 1, 1, 1, 1};
    add(spline, 0, 256);
    // A hatch as files give them: edges as two-vertex polylines, arcs both ways, a spline.
    auto hatch = std::make_shared<mmHatch>();
    const int loop = hatch->AddLoop();
    auto edge = std::make_shared<mmPolyline>();
    edge->AddPoint(2500000, 5600000);
    edge->AddPoint(2500010, 5600000);
    hatch->AddBoundary(edge, loop);
    auto cw = std::make_shared<mmArc>();
    cw->AddPoint(2500005, 5600000);
    cw->radius = 5;
    cw->startAngle = 0;
    cw->endAngle = 180;
    cw->direction = 0;
    hatch->AddBoundary(cw, loop);
    const int second = hatch->AddLoop();
    auto ccw = std::make_shared<mmArc>();
    ccw->AddPoint(2500005, 5600001);
    ccw->radius = 0.5;
    ccw->startAngle = 0;
    ccw->endAngle = 360;
    hatch->AddBoundary(ccw, second);
    auto curve = std::make_shared<mmSpline>();
    for (const mmVertex& v : spline->points)
        curve->AddPoint(v.x, v.y);
    curve->knots = spline->knots;
    hatch->AddBoundary(curve, second);
    for (const auto& l : hatch->loops)
        for (const mmObjectPtr& e : *l) {
            e->UpdateGrips();
            e->UpdateExtents();
        }
    hatch->RebuildFill();
    add(hatch, 1, 5);
    for (const mmObjectPtr& e : d.entities) {
        e->UpdateGrips();
        e->UpdateExtents();
    }

    TempDir dir;
    DxfSaveReport saveReport;
    ASSERT_TRUE(saveDrawingAsDxf(d, nullptr, dir.file("r.dxf"), version, &saveReport));
    const bool full = version == DxfVersion::R2000;
    EXPECT_TRUE(saveReport.leftOut.empty());
    mmDrawing back;
    FillNewDrawing(back);
    ASSERT_TRUE(loadDrawingFromDxf(back, nullptr, dir.file("r.dxf"), nullptr));

    ASSERT_EQ(back.layers.size(), 2u);
    EXPECT_EQ(back.layers.at(1).name, u"Mur \u00e9pais");
    EXPECT_EQ(back.layers.at(1).color, kRed);
    EXPECT_EQ(back.layers.at(1).lineWidth, full ? 4 : 1);
    ASSERT_EQ(back.dimStyles.size(), 2u);
    EXPECT_EQ(back.dimStyles.at(1).name, u"ISO-25");
    EXPECT_EQ(back.dimStyles.at(1).arrowSize, 3.125);
    ASSERT_EQ(back.blocks.size(), 1u);
    EXPECT_EQ(back.blocks.at(0)->name, u"Tree");
    EXPECT_EQ(back.blocks.at(0)->baseX, full ? 5.0 : 0.0);
    ExpectSameEntities(block->entities, back.blocks.at(0)->entities, "block", version);

    ExpectSameEntities(d.entities, back.entities, "model space", version);
    for (std::size_t i = 0; i < d.entities.size(); ++i)
        EXPECT_EQ(back.entities[i]->layerId, d.entities[i]->layerId) << i;
    EXPECT_EQ(back.entities[1]->color, PaletteColor(6));
    EXPECT_EQ(back.entities[2]->colorIndex, kColorByBlock);
    EXPECT_EQ(back.entities[3]->color, 0x123456u);
}

// POLYLINE: default widths (40, 41) for vertices without their own, kept per vertex; the same
// width everywhere becomes the constant width, as LWPOLYLINE's 43. The form read is kept.
TEST_F(LoadFixture, PolylineWidthsAndForm) {
    load(entities(R"(
0 POLYLINE
70 1
40 0.5
41 1
0 VERTEX
10 0
20 0
0 VERTEX
10 1
20 0
40 2
41 3
0 VERTEX
10 1
20 1
0 SEQEND
0 POLYLINE
40 0.25
41 0.25
0 VERTEX
10 0
20 0
0 VERTEX
10 1
20 0
0 SEQEND
0 LWPOLYLINE
90 2
43 0.75
10 0
20 0
10 1
20 0
0 LWPOLYLINE
90 2
10 0
20 0
40 1
10 1
20 0
41 2
)"));
    ASSERT_EQ(d.entities.size(), 4u);
    const auto& own = entityAt<mmPolyline>(d, 0);
    EXPECT_TRUE(own.closed);
    EXPECT_FALSE(own.lightweight);
    ASSERT_EQ(own.widths.size(), 3u);
    const double expected[][2] = {{0.5, 1}, {2, 3}, {0.5, 1}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(own.widths[i].start, expected[i][0]) << i;
        EXPECT_EQ(own.widths[i].end, expected[i][1]) << i;
    }
    const auto& uniform = entityAt<mmPolyline>(d, 1);
    EXPECT_TRUE(uniform.widths.empty());
    EXPECT_EQ(uniform.constantWidth, 0.25);
    EXPECT_EQ(entityAt<mmPolyline>(d, 2).constantWidth, 0.75);
    EXPECT_TRUE(entityAt<mmPolyline>(d, 2).lightweight);
    const auto& perVertex = entityAt<mmPolyline>(d, 3);
    ASSERT_EQ(perVertex.widths.size(), 2u);
    EXPECT_EQ(perVertex.widths[0].start, 1.0);
    EXPECT_EQ(perVertex.widths[1].end, 2.0);
}

// The LTYPE table fills the drawing's linetypes; layers and entities name theirs (ignoring
// case); a name the table lacks is by layer for an entity and Continuous for a layer.
TEST_F(LoadFixture, LinetypesOfTheTableLayersAndEntities) {
    load(R"(
0 SECTION
2 TABLES
0 TABLE
2 LTYPE
0 LTYPE
2 CONTINUOUS
70 0
0 LTYPE
2 Dashed
3 Dashed __ __
70 0
73 2
40 0.75
49 0.5
49 -0.25
0 ENDTAB
0 TABLE
2 LAYER
0 LAYER
2 Hidden
62 2
6 DASHED
420 2113664
0 LAYER
2 Odd
62 2
6 Nowhere
0 ENDTAB
0 ENDSEC
)" + entities(R"(
0 LINE
6 dashed
0 LINE
6 BYBLOCK
0 LINE
6 Nowhere
0 LINE
)"));
    ASSERT_EQ(d.lineTypes.size(), 1u);
    const mmLineType& dashed = d.lineTypes.begin()->second;
    EXPECT_EQ(dashed.name, u"Dashed");
    EXPECT_EQ(dashed.description, u"Dashed __ __");
    EXPECT_EQ(dashed.patternLength, 0.75);
    EXPECT_EQ(dashed.dashes, (std::vector<double>{0.5, -0.25}));
    ASSERT_TRUE(layer(u"Hidden"));
    EXPECT_EQ(layer(u"Hidden")->linetype, dashed.id);
    EXPECT_EQ(layer(u"Hidden")->colorIndex, 2);
    EXPECT_EQ(layer(u"Hidden")->color, MakeColor(0x20, 0x40, 0x80));
    EXPECT_EQ(layer(u"Odd")->linetype, kLineTypeContinuous);
    std::vector<int32_t> types;
    for (const mmObjectPtr& e : d.entities)
        types.push_back(e->lineType);
    EXPECT_EQ(types, (std::vector<int32_t>{dashed.id, kLineTypeByBlock, kLineTypeByLayer,
                                           kLineTypeByLayer}));
}

// Numeric settings of the header are kept for the next save; strings, the variables a save
// writes itself and values that are no numbers are not.
TEST_F(LoadFixture, HeaderSettingsAreKept) {
    load(R"(
0 SECTION
2 HEADER
9 $ACADVER
1 AC1015
9 $LTSCALE
40 2.5
9 $PLIMMAX
10 12.0
20 9.0
9 $CLAYER
8 Walls
9 $INSUNITS
70 4x
9 $PDMODE
70 35
0 ENDSEC
0 EOF
)");
    std::vector<std::string> names;
    for (const mmFileVariable& v : d.fileVariables)
        names.push_back(v.name);
    EXPECT_EQ(names, (std::vector<std::string>{"$LTSCALE", "$PLIMMAX", "$PDMODE"}));
    EXPECT_EQ(d.fileVariables[1].groups,
              (std::vector<std::pair<int32_t, std::string>>{{10, "12.0"}, {20, "9.0"}}));
}
