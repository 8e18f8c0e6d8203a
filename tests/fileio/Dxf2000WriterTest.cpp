// The DXF 2000 writer: a file whose handles and owners hold together, block entities in block
// coordinates, and the properties only this release keeps (polyline form and widths, linetypes,
// layer flags and true colours, code pages of names, header settings).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <vector>

#include "drawing/DimensionRules.h"
#include "drawing/Drawing.h"
#include "drawing/Palette.h"
#include "entities/BlockRef.h"
#include "entities/Circle.h"
#include "entities/Dimension.h"
#include "entities/Line.h"
#include "entities/Polyline.h"
#include "entities/Text.h"
#include "fileio/DxfTestSupport.h"
#include "fileio/dxf/DxfLayout.h"
#include "fileio/dxf/DxfLoad.h"
#include "fileio/dxf/DxfSave.h"

namespace {

struct Group {
    int code;
    std::string value;
    bool operator==(const Group&) const = default;
};
using Groups = std::vector<Group>;

Groups groupsOf(const std::string& file) {
    Groups out;
    std::size_t at = 0;
    auto line = [&] {
        const std::size_t end = file.find("\r\n", at);
        std::string text = file.substr(at, end - at);
        at = end == std::string::npos ? file.size() : end + 2;
        return text;
    };
    while (at < file.size()) {
        const int code = std::stoi(line());
        out.push_back({code, line()});
    }
    return out;
}

// The groups from the one that is (0, type) with the given value of group 2 (or the first of
// the type) up to the next group 0.
Groups objectOf(const Groups& g, const std::string& type, const std::string& name = {}) {
    for (std::size_t i = 0; i < g.size(); ++i) {
        if (g[i].code != 0 || g[i].value != type) continue;
        std::size_t end = i + 1;
        while (end < g.size() && g[end].code != 0)
            ++end;
        Groups object(g.begin() + static_cast<std::ptrdiff_t>(i),
                      g.begin() + static_cast<std::ptrdiff_t>(end));
        if (name.empty()) return object;
        for (const Group& x : object)
            if (x.code == 2 && x.value == name) return object;
    }
    return {};
}

std::string valueOf(const Groups& object, int code) {
    for (const Group& x : object)
        if (x.code == code) return x.value;
    return "(none)";
}

struct Writer2000 : ::testing::Test {
    TempDir dir;
    mmDrawing d;
    mmSpace paper;
    void SetUp() override { FillNewDrawing(d); }

    template <class T>
    std::shared_ptr<T> add(mmEntityList& list, int32_t& nextId,
                           std::initializer_list<mmVertex> pts) {
        auto e = std::make_shared<T>();
        for (const mmVertex& p : pts)
            e->AddPoint(p.x, p.y);
        e->id = nextId++;
        e->UpdateGrips();
        e->UpdateExtents();
        list.push_back(e);
        return e;
    }
    template <class T>
    std::shared_ptr<T> add(std::initializer_list<mmVertex> pts) {
        auto e = add<T>(d.entities, d.nextEntityId, pts);
        ReindexSpace(d);
        return e;
    }
    Groups save() {
        const std::string path = dir.file("out.dxf");
        DxfSpaceLayout layout(paper);
        EXPECT_TRUE(saveDrawingAsDxf2000(d, &layout, path));
        return groupsOf(ReadWholeFile(path));
    }
    int32_t dashed() {
        mmLineType t;
        t.id = d.nextLineTypeId++;
        t.name = u"DASHED";
        t.description = u"__ __";
        t.patternLength = 0.75;
        t.dashes = {0.5, -0.25};
        d.lineTypes[t.id] = t;
        return t.id;
    }
    std::shared_ptr<mmBlock> tree() {
        auto block = CreateBlock(d.nextBlockId++, 5, 5, 0, u"Tree");
        auto crown = std::make_shared<mmCircle>();
        crown->AddPoint(5, 5);
        crown->radius = 2;
        AddToBlock(*block, crown);
        AddBlock(d, block);
        return block;
    }
};

}  // namespace

// Sections in order; every handle once and below the seed; every reference names an object of
// the file; table counts as written; every entity with its handle, owner and markers.
TEST_F(Writer2000, HandlesAndOwnersHoldTogether) {
    dashed();
    tree();
    add<mmLine>({{0, 0}, {1, 1}});
    add<mmPolyline>({{0, 0}, {1, 0}, {1, 1}})->lightweight = false;
    auto ref = add<mmBlockRef>({{10, 10}});
    ref->InstantiateBlock(u"Tree", d.blocks, nullptr);
    auto dimension = NewDimension(d, kDimRotated, d.nextEntityId,
                                  {mmVertex(0, 0), mmVertex(20, 0), mmVertex(20, -5)}, nullptr);
    dimension->id = d.nextEntityId++;
    d.entities.push_back(dimension);
    ReindexSpace(d);
    add<mmLine>(paper.entities, paper.nextEntityId, {{0, 0}, {297, 210}});
    const Groups g = save();

    std::vector<std::string> sections;
    for (std::size_t i = 0; i + 1 < g.size(); ++i)
        if (g[i] == Group{0, "SECTION"}) sections.push_back(g[i + 1].value);
    EXPECT_EQ(sections, (std::vector<std::string>{"HEADER", "CLASSES", "TABLES", "BLOCKS",
                                                  "ENTITIES", "OBJECTS"}));
    EXPECT_EQ(g.back(), (Group{0, "EOF"}));
    const Groups header = objectOf(g, "SECTION");
    auto variable = [&](const std::string& name) {
        for (std::size_t i = 0; i + 1 < header.size(); ++i)
            if (header[i] == Group{9, name}) return header[i + 1].value;
        return std::string("(none)");
    };
    EXPECT_EQ(variable("$ACADVER"), "AC1015");
    EXPECT_EQ(variable("$DWGCODEPAGE"), "ANSI_1252");
    const uint64_t seed = std::stoull(variable("$HANDSEED"), nullptr, 16);

    std::set<uint64_t> handles;
    for (const Group& x : Groups(g.begin() + static_cast<std::ptrdiff_t>(header.size()), g.end())) {
        if (x.code != 5 && x.code != 105) continue;
        const uint64_t h = std::stoull(x.value, nullptr, 16);
        EXPECT_TRUE(handles.insert(h).second) << "handle " << x.value << " twice";
        EXPECT_LT(h, seed) << x.value;
    }
    for (const Group& x : g) {
        if ((x.code == 330 || x.code == 340 || x.code == 350) && x.value != "0") {
            EXPECT_TRUE(handles.count(std::stoull(x.value, nullptr, 16))) << x.code << " " << x.value;
        }
    }

    for (std::size_t i = 0; i < g.size(); ++i) {
        if (g[i] != Group{0, "TABLE"}) continue;
        const std::string table = g[i + 1].value;
        const int count = std::stoi(valueOf(objectOf(Groups(g.begin() + i, g.end()), "TABLE"), 70));
        int entries = 0;
        for (std::size_t k = i + 1; k < g.size() && g[k] != Group{0, "ENDTAB"}; ++k)
            entries += g[k] == Group{0, table};
        EXPECT_EQ(count, entries) << table;
    }

    const Groups lineGroups = objectOf(g, "LINE");
    ASSERT_GE(lineGroups.size(), 5u);
    EXPECT_EQ(lineGroups[1].code, 5);
    EXPECT_EQ(lineGroups[2].code, 330);
    EXPECT_EQ(lineGroups[3], (Group{100, "AcDbEntity"}));
    EXPECT_EQ(valueOf(objectOf(g, "BLOCK_RECORD", "*Model_Space"), 5), lineGroups[2].value);
    // The dimension names the geometry block written for it.
    const std::string geometry = valueOf(objectOf(g, "DIMENSION"), 2);
    EXPECT_EQ(geometry.substr(0, 2), "*D");
    EXPECT_FALSE(objectOf(g, "BLOCK_RECORD", geometry).empty());
    EXPECT_FALSE(objectOf(g, "LAYOUT").empty());
}

// Entities of a block keep their place relative to the base point, which is written as read.
TEST_F(Writer2000, BlockEntitiesAreInBlockCoordinates) {
    tree();
    const Groups g = save();
    const Groups block = objectOf(g, "BLOCK", "Tree");
    EXPECT_EQ(valueOf(block, 10), "5");
    EXPECT_EQ(valueOf(block, 20), "5");
    const Groups crown = objectOf(g, "CIRCLE");
    EXPECT_EQ(valueOf(crown, 10), "5");
    EXPECT_EQ(valueOf(crown, 20), "5");

    mmDrawing back;
    FillNewDrawing(back);
    ASSERT_TRUE(loadDrawingFromDxf(back, nullptr, dir.file("out.dxf"), nullptr));
    ASSERT_EQ(back.blocks.size(), 1u);
    EXPECT_EQ(back.blocks.begin()->second->baseX, 5.0);
    EXPECT_EQ(back.blocks.begin()->second->entities[0]->points[0].x, 0.0);
}

// A light-weight polyline with its closed flag and constant width; one read from a POLYLINE with
// its vertices' widths, and its sequence end on its own layer.
TEST_F(Writer2000, PolylinesKeepTheirFormClosedFlagAndWidths) {
    mmLayer walls = mmLayer::WithDefaults(d.nextLayerId++, u"Walls");
    d.layers[walls.id] = walls;
    auto lw = add<mmPolyline>({{0, 0}, {4, 0}, {4, 4}});
    lw->closed = true;
    lw->constantWidth = 0.5;
    lw->bulges = {0, -0.0342664, 0};
    auto heavy = add<mmPolyline>({{0, 0}, {1, 0}});
    heavy->lightweight = false;
    heavy->layerId = walls.id;
    heavy->widths = {{0.25, 1}, {0, 0}};
    const Groups g = save();

    const Groups l = objectOf(g, "LWPOLYLINE");
    EXPECT_EQ(valueOf(l, 90), "3");
    EXPECT_EQ(valueOf(l, 70), "1");
    EXPECT_EQ(valueOf(l, 43), "0.5");
    Groups bulges;
    for (const Group& x : l)
        if (x.code == 42) bulges.push_back(x);
    EXPECT_EQ(bulges, (Groups{{42, "0"}, {42, "-0.0342664"}, {42, "0"}}));

    EXPECT_EQ(valueOf(objectOf(g, "POLYLINE"), 70), "0");
    const Groups vertex = objectOf(g, "VERTEX");
    EXPECT_EQ(valueOf(vertex, 40), "0.25");
    EXPECT_EQ(valueOf(vertex, 41), "1");
    EXPECT_EQ(valueOf(vertex, 8), "Walls");
    EXPECT_EQ(valueOf(objectOf(g, "SEQEND"), 8), "Walls");
    EXPECT_EQ(valueOf(objectOf(g, "SEQEND"), 330), valueOf(objectOf(g, "POLYLINE"), 5));
}

// Off as a negative colour, frozen and locked in the flags, a colour the palette lacks as 420,
// the layer's and the entities' linetypes with their table entries.
TEST_F(Writer2000, LinetypesLayerFlagsAndTrueColours) {
    const int32_t type = dashed();
    mmLayer old = mmLayer::WithDefaults(d.nextLayerId++, u"Old");
    old.show = false;
    old.frozen = old.locked = true;
    old.colorIndex = 3;
    old.color = MakeColor(0x20, 0x40, 0x80);
    old.linetype = type;
    d.layers[old.id] = old;
    add<mmLine>({{0, 0}, {1, 0}})->lineType = type;
    add<mmLine>({{0, 0}, {1, 0}})->lineType = kLineTypeByBlock;
    add<mmLine>({{0, 0}, {1, 0}})->lineType = 99;  // not in the table: by layer
    const Groups g = save();

    const Groups ltype = objectOf(g, "LTYPE", "DASHED");
    EXPECT_EQ(valueOf(ltype, 3), "__ __");
    EXPECT_EQ(valueOf(ltype, 73), "2");
    EXPECT_EQ(valueOf(ltype, 40), "0.75");
    EXPECT_EQ(valueOf(ltype, 49), "0.5");
    for (const char* fixed : {"ByBlock", "ByLayer", "Continuous"})
        EXPECT_FALSE(objectOf(g, "LTYPE", fixed).empty()) << fixed;
    const Groups layer = objectOf(g, "LAYER", "Old");
    EXPECT_EQ(valueOf(layer, 62), "-3");
    EXPECT_EQ(valueOf(layer, 70), "5");
    EXPECT_EQ(valueOf(layer, 420), std::to_string(0x204080));
    EXPECT_EQ(valueOf(layer, 6), "DASHED");
    std::vector<std::string> lineTypes;
    for (std::size_t i = 0; i < g.size(); ++i)
        if (g[i] == Group{0, "LINE"}) lineTypes.push_back(valueOf(objectOf(Groups(g.begin() + i, g.end()), "LINE"), 6));
    EXPECT_EQ(lineTypes, (std::vector<std::string>{"DASHED", "ByBlock", "(none)"}));
}

// Names a Windows-1252 file cannot hold choose the code page that holds them (escapes are no
// part of a valid name); texts write what the page lacks as escapes.
TEST_F(Writer2000, NamesOutsideWindows1252ChooseTheirCodePage) {
    mmLayer polish = mmLayer::WithDefaults(d.nextLayerId++, u"\u0141\u00f3d\u017a");
    d.layers[polish.id] = polish;
    auto text = add<mmText>({{0, 0}});
    text->SetString("\xc5\x81\xc3\xb3 \xe4\xb8\xad", nullptr);
    const Groups g = save();
    const Groups header = objectOf(g, "SECTION");
    EXPECT_NE(std::find(header.begin(), header.end(), Group{3, "ANSI_1250"}), header.end());
    EXPECT_EQ(valueOf(objectOf(g, "LAYER", "\xa3\xf3\x64\x9f"), 70), "0");
    EXPECT_EQ(valueOf(objectOf(g, "TEXT"), 1), "\xa3\xf3 \\U+4E2D");

    mmDrawing back;
    FillNewDrawing(back);
    ASSERT_TRUE(loadDrawingFromDxf(back, nullptr, dir.file("out.dxf"), nullptr));
    ASSERT_TRUE(back.FindLayerByName(u"\u0141\u00f3d\u017a"));
    EXPECT_EQ(static_cast<const mmText&>(*back.entities[0]).String(),
              "\xc5\x81\xc3\xb3 \xe4\xb8\xad");
}

// What only this release keeps comes back from a save: polyline form and widths, linetypes of
// entities and layers, layer colours, lineweights and flags, header settings.
TEST_F(Writer2000, PropertiesOnlyThisReleaseKeepsReadBack) {
    const int32_t type = dashed();
    mmLayer old = mmLayer::WithDefaults(d.nextLayerId++, u"Old");
    old.colorIndex = 3;
    old.color = MakeColor(0x20, 0x40, 0x80);
    old.linetype = type;
    old.lineWidth = 5;
    d.layers[old.id] = old;
    auto heavy = add<mmPolyline>({{0, 0}, {1, 0}, {1, 1}});
    heavy->lightweight = false;
    heavy->closed = true;
    heavy->widths = {{0.25, 1}, {0, 0}, {2, 2}};
    heavy->lineType = type;
    add<mmPolyline>({{0, 0}, {1, 0}})->constantWidth = 0.125;
    d.fileVariables.push_back({"$LTSCALE", {{40, "2.5"}}});
    d.fileVariables.push_back({"$PLIMMAX", {{10, "420.0"}, {20, "297.0"}}});
    save();

    mmDrawing back;
    FillNewDrawing(back);
    ASSERT_TRUE(loadDrawingFromDxf(back, nullptr, dir.file("out.dxf"), nullptr));
    ASSERT_EQ(back.lineTypes.size(), 1u);
    const mmLineType& t = back.lineTypes.begin()->second;
    EXPECT_EQ(t.name, u"DASHED");
    EXPECT_EQ(t.dashes, (std::vector<double>{0.5, -0.25}));
    const mmLayer* layer = back.FindLayerByName(u"Old");
    ASSERT_TRUE(layer);
    EXPECT_EQ(layer->color, old.color);
    EXPECT_EQ(layer->colorIndex, 3);
    EXPECT_EQ(layer->linetype, t.id);
    EXPECT_EQ(layer->lineWidth, 5);
    ASSERT_EQ(back.entities.size(), 2u);
    const auto& p = static_cast<const mmPolyline&>(*back.entities[0]);
    EXPECT_FALSE(p.lightweight);
    EXPECT_TRUE(p.closed);
    EXPECT_EQ(p.points.size(), 3u);
    ASSERT_EQ(p.widths.size(), 3u);
    EXPECT_EQ(p.widths[0].start, 0.25);
    EXPECT_EQ(p.widths[2].end, 2.0);
    EXPECT_EQ(p.lineType, t.id);
    EXPECT_EQ(static_cast<const mmPolyline&>(*back.entities[1]).constantWidth, 0.125);
    ASSERT_EQ(back.fileVariables.size(), 2u);
    EXPECT_EQ(back.fileVariables[1].name, "$PLIMMAX");
    EXPECT_EQ(back.fileVariables[1].groups,
              (std::vector<std::pair<int32_t, std::string>>{{10, "420.0"}, {20, "297.0"}}));
}

// A radius dimension keeps its point on the circle (group 15) and its centre through a save.
TEST_F(Writer2000, RadiusDimensionKeepsItsPointOnTheCircle) {
    std::array<mmVertex, 7> points{};
    points[kDimRadialChordPoint] = mmVertex(13, 14);
    points[kDimRadialCentre] = mmVertex(10, 10);
    points[kDimTextPoint] = mmVertex(16, 18);
    auto dimension = NewDimension(d, kDimRadius, d.nextEntityId, points, nullptr);
    dimension->id = d.nextEntityId++;
    d.entities.push_back(dimension);
    ReindexSpace(d);
    const Groups g = objectOf(save(), "DIMENSION");
    EXPECT_EQ(valueOf(g, 15), "13");
    EXPECT_EQ(valueOf(g, 25), "14");
    EXPECT_EQ(valueOf(g, 10), "10");

    mmDrawing back;
    FillNewDrawing(back);
    ASSERT_TRUE(loadDrawingFromDxf(back, nullptr, dir.file("out.dxf"), nullptr));
    ASSERT_EQ(back.entities.size(), 1u);
    const auto& read = static_cast<const mmDimension&>(*back.entities[0]);
    EXPECT_EQ(read.dimType, kDimRadius);
    EXPECT_EQ(read.defPoints[kDimRadialChordPoint].x, 13.0);
    EXPECT_EQ(read.defPoints[kDimRadialChordPoint].y, 14.0);
    EXPECT_EQ(read.defPoints[kDimRadialCentre].x, 10.0);
}
