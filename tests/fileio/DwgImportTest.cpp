// The DWG conversion on small documents in the bridge's JSON form: the release gate, the tables,
// the blocks, each entity type's conversion and what an open or an XREF leaves in the drawing.
#include <gtest/gtest.h>

#include <string>

#include "drawing/Drawing.h"
#include "drawing/LayerRules.h"
#include "drawing/Palette.h"
#include "entities/Arc.h"
#include "entities/Attribute.h"
#include "entities/BlockRef.h"
#include "entities/Circle.h"
#include "entities/Dimension.h"
#include "entities/Ellipse.h"
#include "entities/Face3d.h"
#include "entities/Geometry.h"
#include "entities/Hatch.h"
#include "entities/Leader.h"
#include "entities/Line.h"
#include "entities/MText.h"
#include "entities/Polyline.h"
#include "entities/Solid.h"
#include "entities/Spline.h"
#include "entities/XLine.h"
#include "fileio/DrawingDocument.h"
#include "fileio/dwg/DwgLoad.h"
#include "fileio/dwg/DwgRelease.h"
#include "fileio/dxf/DxfLayout.h"

namespace {

constexpr char kLayers[] =
    R"([{"name":"0","frozen":0,"locked":0,"color":{"index":7,"rgb":0,"method":0},"linewt":31},
        {"name":"WALLS","frozen":0,"locked":0,"color":{"index":1,"rgb":0,"method":0},"linewt":13}])";

// A decoded R2000 drawing with the given entities, blocks and layers.
std::string document(const std::string& entities, const std::string& blocks = "[]",
                     const std::string& layers = kLayers, const std::string& head = {}) {
    return R"({"format":1,"file_magic":"AC1015","version":"R_2000","error":64,"codepage":30,)" +
           head + R"("DIMSTYLE":[],"LAYER":)" + layers + R"(,"BLOCK_HEADER":)" + blocks +
           R"(,"entities":)" + entities + "}";
}

// An entity in model space on layer 0, by layer, with its own fields.
std::string entity(const std::string& type, const std::string& fields,
                   const std::string& layer = "0", int entmode = 2) {
    return R"({"type":")" + type + R"(","entmode":)" + std::to_string(entmode) +
           R"(,"invisible":0,"color":{"index":256,"rgb":0,"method":0},"layer":")" + layer +
           R"(",)" + fields + "}";
}

struct Opened {
    mmDrawing drawing;
    DwgImportResult result;
};

std::unique_ptr<Opened> open(const std::string& json) {
    auto o = std::make_unique<Opened>();
    NewDrawing(o->drawing);
    o->result = importDwgDocument(o->drawing, nullptr, json, nullptr, false, {});
    return o;
}

template <class T>
const T& only(const mmDrawing& d) {
    EXPECT_EQ(d.entities.size(), 1u);
    const T* e = d.entities.empty() ? nullptr : dynamic_cast<const T*>(d.entities[0].get());
    if (!e) {
        ADD_FAILURE() << "no entity of the expected class";
        static const T kNone;
        return kNone;
    }
    return *e;
}

TEST(DwgImport, ReleasesOtherThanR13ToR2004GiveTheirMessageAndLeaveTheDrawing) {
    const struct {
        const char* head;
        std::string message;
    } cases[] = {
        {R"("file_magic":"AC1009","version":"R_11","error":0,)", kDwgOlderNotSupported},
        {R"("file_magic":"MC0.0X","version":null,"error":0,)", kDwgOlderNotSupported},
        {R"("file_magic":"AC1021","version":"R_2007","error":0,)",
         "DWG file version R2007 is not supported at this moment!"},
        {R"("file_magic":"AC1024","version":"R_2010","error":0,)",
         "DWG file version R2010 is not supported at this moment!"},
        {R"("file_magic":"AC1027","version":"R_2013","error":0,)",
         "DWG file version R2013 is not supported at this moment!"},
        {R"("file_magic":"AC1032","version":"R_2018","error":0,)",
         "DWG file version R2018 is not supported at this moment!"},
        {R"("file_magic":"AC1015","version":"R_2000","error":128,)", kErrorReadingDwg},
        {R"("file_magic":"AC1015","version":null,"error":0,)", kErrorReadingDwg},
    };
    for (const auto& c : cases) {
        const std::string json = std::string(R"({"format":1,)") + c.head +
                                 R"("DIMSTYLE":[],"LAYER":[],"BLOCK_HEADER":[],"entities":[)" +
                                 entity("LINE", R"("start":[0,0],"end":[1,1])") + "]}";
        mmDrawing d;
        NewDrawing(d);
        d.layers[7] = mmLayer::WithDefaults(7, u"kept");
        const DwgImportResult r = importDwgDocument(d, nullptr, json, nullptr, false, {});
        EXPECT_FALSE(r.ok) << c.head;
        EXPECT_EQ(r.message, c.message) << c.head;
        EXPECT_TRUE(d.entities.empty());
        EXPECT_EQ(d.layers.size(), 2u);
    }
    // A document cut short after its first entity imports nothing.
    const std::string whole = document("[" + entity("LINE", R"("start":[0,0],"end":[1,1])") + "," +
                                       entity("LINE", R"("start":[0,0],"end":[2,2])") + "]");
    mmDrawing cut;
    NewDrawing(cut);
    EXPECT_FALSE(
        importDwgDocument(cut, nullptr, whole.substr(0, whole.size() / 2 + 40), nullptr, false, {})
            .ok);
    EXPECT_TRUE(cut.entities.empty());
    for (const char* garbage : {"", "{", "[1,2]", R"({"format":2})", "\xff\xfe"}) {
        mmDrawing d;
        NewDrawing(d);
        const DwgImportResult r = importDwgDocument(d, nullptr, garbage, nullptr, false, {});
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.message, kErrorReadingDwg);
    }
    // Error bits below 128 are not failures.
    EXPECT_TRUE(open(document("[]"))->result.ok);
}

TEST(DwgImport, ReleaseOfTheFirstSixBytes) {
    EXPECT_EQ(DwgReleaseOfCode("AC1012"), DwgRelease::Supported);
    EXPECT_EQ(DwgReleaseOfCode("AC1014"), DwgRelease::Supported);
    EXPECT_EQ(DwgReleaseOfCode("AC1018"), DwgRelease::Supported);
    EXPECT_EQ(DwgReleaseOfCode("AC1009"), DwgRelease::Older);
    EXPECT_EQ(DwgReleaseOfCode("AC10"), DwgRelease::Older);
    EXPECT_EQ(DwgReleaseOfFile("/nonexistent/x.dwg"), DwgRelease::Unreadable);
    EXPECT_EQ(DwgReleaseMessage(DwgRelease::Unreadable), kErrorReadingDwg);
}

// Seen from below (extrusion 0, 0, -1) an entity's x axis is the drawing's -x: circles and
// polylines move to -x, bulges turn, and an arc keeps its place on the mirrored circle.
TEST(DwgImport, DownwardExtrusionMirrorsTheXAxis) {
    const std::string down = R"("extrusion":[0,0,-1])";
    const auto o = open(document(
        "[" + entity("CIRCLE", R"("center":[5,3,0],"radius":2,)" + down) + "," +
        entity("ARC",
               R"("center":[5,3,0],"radius":2,"start_angle":0,"end_angle":1.5707963267948966,)" +
                   down) +
        "," + entity("LWPOLYLINE", R"("flag":0,"points":[[1,1],[4,1]],"bulges":[0.5,0],)" + down) +
        "," +
        entity(
            "POLYLINE_2D",
            R"("flag":0,"vertices":[{"point":[1,2,0],"bulge":-1},{"point":[2,2,0],"bulge":0}],)" +
                down) +
        "," + entity("CIRCLE", R"("center":[5,3,0],"radius":2,"extrusion":[0,0,1])") + "]"));
    ASSERT_EQ(o->drawing.entities.size(), 5u);
    const auto& circle = static_cast<const mmCircle&>(*o->drawing.entities[0]);
    EXPECT_EQ(circle.points[0].x, -5.0);
    EXPECT_EQ(circle.points[0].y, 3.0);
    const auto& arc = static_cast<const mmArc&>(*o->drawing.entities[1]);
    EXPECT_EQ(arc.points[0].x, -5.0);
    EXPECT_NEAR(arc.startAngle, 90.0, 1e-9);
    EXPECT_NEAR(arc.endAngle, 180.0, 1e-9);
    const auto& lw = static_cast<const mmPolyline&>(*o->drawing.entities[2]);
    EXPECT_EQ(lw.points[0].x, -1.0);
    EXPECT_EQ(lw.points[1].x, -4.0);
    EXPECT_EQ(lw.bulges, (std::vector<double>{-0.5, 0.0}));
    const auto& p2d = static_cast<const mmPolyline&>(*o->drawing.entities[3]);
    EXPECT_EQ(p2d.points[1].x, -2.0);
    EXPECT_EQ(p2d.bulges, (std::vector<double>{1.0, 0.0}));
    EXPECT_EQ(o->drawing.entities[4]->points[0].x, 5.0);
}

TEST(DwgImport, PolylineClosedFlags) {
    const auto o = open(document(
        "[" + entity("LWPOLYLINE", R"("flag":512,"points":[[0,0],[1,0],[1,1]],"bulges":[])") + "," +
        entity("LWPOLYLINE", R"("flag":1,"points":[[0,0],[1,0],[1,1]],"bulges":[])") + "," +
        entity("POLYLINE_2D",
               R"("flag":1,"vertices":[{"point":[0,0]},{"point":[1,0]},{"point":[1,1]}])") +
        "," + entity("POLYLINE_2D", R"("flag":512,"vertices":[{"point":[0,0]},{"point":[1,0]}])") +
        "]"));
    ASSERT_EQ(o->drawing.entities.size(), 4u);
    const bool closed[] = {true, false, true, false};
    for (std::size_t i = 0; i < 4; ++i) {
        const auto& p = static_cast<const mmPolyline&>(*o->drawing.entities[i]);
        EXPECT_EQ(p.closed, closed[i]) << i;
        EXPECT_EQ(p.bulges.size(), p.points.size()) << i;
    }
    EXPECT_EQ(o->drawing.entities[2]->points.size(), 3u);
}

// Layers are added unless the drawing has one of the same name ignoring case; entities find
// theirs by the exact name, so one on a name differing in case lands on the current layer.
TEST(DwgImport, CaseDifferingLayerNames) {
    mmDrawing d;
    NewDrawing(d);
    mmLayer walls = mmLayer::WithDefaults(d.nextLayerId++, u"Walls");
    walls.colorIndex = 3;
    d.layers[walls.id] = walls;
    const std::string json =
        document("[" + entity("LINE", R"("start":[0,0],"end":[1,1])", "WALLS") + "," +
                 entity("LINE", R"("start":[0,0],"end":[2,2])", "Walls") + "]");
    const DwgImportResult r = importDwgDocument(d, nullptr, json, nullptr, true, u"site");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(d.layers.size(), 2u);
    EXPECT_EQ(d.FindLayerByName(u"walls")->colorIndex, 3);
    const mmBlockPtr site = FindBlockByName(d.blocks, u"site");
    ASSERT_TRUE(site);
    ASSERT_EQ(site->entities.size(), 2u);
    EXPECT_EQ(site->entities[0]->layerId, d.currentLayerId);
    EXPECT_EQ(site->entities[1]->layerId, walls.id);
}

TEST(DwgImport, LayerStatesColoursAndWidths) {
    const std::string layers = R"([
        {"name":"frozen","frozen":1,"locked":0,"color":{"index":2},"linewt":31},
        {"name":"off","frozen":0,"locked":0,"color":{"index":-3},"linewt":31},
        {"name":"locked","frozen":0,"locked":1,"color":{"index":4},"linewt":11},
        {"name":"r2004","frozen":0,"locked":0,"color":{"index":256,"rgb":3271557125,"method":195},"linewt":29}])";
    const auto o = open(document(
        "[" + entity("LINE", R"("start":[0,0],"end":[1,1],"color":{"index":0})", "locked") + "," +
            entity("LINE", R"("start":[0,0],"end":[1,1],"color":{"index":300})", "r2004") + "," +
            entity("LINE",
                   R"("start":[0,0],"end":[1,1],"color":{"index":112,"rgb":3256542308,"method":0})",
                   "off") +
            "]",
        "[]", layers));
    const mmDrawing& d = o->drawing;
    EXPECT_TRUE(d.FindLayerByName(u"frozen")->frozen);
    EXPECT_FALSE(LayerShown(*d.FindLayerByName(u"frozen")));
    EXPECT_FALSE(d.FindLayerByName(u"off")->show);
    EXPECT_EQ(d.FindLayerByName(u"off")->colorIndex, -3);
    EXPECT_EQ(d.FindLayerByName(u"off")->color, PaletteColor(3));
    EXPECT_FALSE(d.FindLayerByName(u"locked")->selectable);
    EXPECT_TRUE(d.FindLayerByName(u"locked")->locked);
    EXPECT_EQ(d.FindLayerByName(u"locked")->lineWidth, 5);  // 0.50 mm
    EXPECT_EQ(d.FindLayerByName(u"r2004")->colorIndex, 5);
    ASSERT_EQ(d.entities.size(), 3u);
    // The colour field of the entity comes after the common one in the fixture and wins.
    EXPECT_EQ(d.entities[0]->colorIndex, kColorByBlock);
    EXPECT_EQ(d.entities[0]->color, 0u);
    EXPECT_EQ(d.entities[0]->lineWidth, 5);
    EXPECT_EQ(d.entities[1]->colorIndex, kColorByLayer);
    EXPECT_EQ(d.entities[1]->color, PaletteColor(5));
    EXPECT_EQ(d.entities[2]->color, MakeColor(0x1A, 0xE4, 0x64));
    EXPECT_FALSE(d.entities[2]->visible);
}

TEST(DwgImport, BlocksTheirReferencesAndTheSelfReferenceRule) {
    const std::string blocks =
        R"([
        {"name":"DOOR","anonymous":0,"base_pt":[10,0,0],"entities":[)" +
        entity("LINE", R"("start":[10,0],"end":[11,1])", "0", 0) + "," +
        entity("INSERT", R"("ins_pt":[0,0],"scale":[1,1,1],"rotation":0,"block_header":"DOOR")",
               "0", 0) +
        "," +
        entity("INSERT", R"("ins_pt":[0,0],"scale":[1,1,1],"rotation":0,"block_header":"KNOB")",
               "0", 0) +
        R"(]},
        {"name":"SELF","anonymous":0,"base_pt":[0,0,0],"entities":[)" +
        entity("INSERT", R"("ins_pt":[0,0],"scale":[1,1,1],"rotation":0,"block_header":"SELF")",
               "0", 0) +
        R"(]},
        {"name":"KNOB","anonymous":0,"base_pt":[0,0,0],"entities":[)" +
        entity("CIRCLE", R"("center":[0,0],"radius":0.1)", "0", 0) + R"(]},
        {"name":"*U2","anonymous":1,"base_pt":[0,0,0],"entities":[)" +
        entity("LINE", R"("start":[0,0],"end":[1,1])", "0", 0) + R"(]}])";
    const auto o = open(document(
        "[" +
            entity(
                "INSERT",
                R"("ins_pt":[5,5],"scale":[2,3,1],"rotation":1.5707963267948966,"block_header":"DOOR")") +
            "," +
            entity("INSERT",
                   R"("ins_pt":[0,0],"scale":[1,1,1],"rotation":0,"block_header":"*U2")") +
            "," +
            entity("INSERT", R"("ins_pt":[0,0],"scale":[1,1,1],"rotation":0,"block_header":null)") +
            "]",
        blocks));
    const mmDrawing& d = o->drawing;
    ASSERT_EQ(d.blocks.size(), 3u);
    const mmBlockPtr door = FindBlockByName(d.blocks, u"DOOR");
    ASSERT_TRUE(door);
    EXPECT_EQ(door->baseX, 10.0);
    // The line relative to the base point, and the knob (converted before DOOR needed it); the
    // reference of DOOR to itself is left out.
    ASSERT_EQ(door->entities.size(), 2u);
    EXPECT_EQ(door->entities[0]->points[0].x, 0.0);
    EXPECT_EQ(door->entities[1]->type, kTypeBlockRef);
    EXPECT_FALSE(FindBlockByName(d.blocks, u"SELF"));
    EXPECT_TRUE(FindBlockByName(d.blocks, u"KNOB"));
    EXPECT_EQ(FindBlockByName(d.blocks, u"*U2")->flags, kBlockAnonymous);
    ASSERT_EQ(d.entities.size(), 2u) << "the anonymous block's reference too";
    const auto& ref = static_cast<const mmBlockRef&>(*d.entities[0]);
    EXPECT_EQ(ref.blockName, u"DOOR");
    EXPECT_EQ(ref.scaleX, 2.0);
    EXPECT_EQ(ref.scaleY, 3.0);
    EXPECT_NEAR(ref.rotation, 90.0, 1e-9);
    EXPECT_EQ(ref.children.size(), 2u);
    EXPECT_EQ(o->result.notImported.at("INSERT"), 3);
}

// Texts keep their whole UTF-8 string (an MTEXT its codes too; \U+XXXX escapes decoded),
// justification, width factor and oblique angle; an MTEXT turns with its x axis.
TEST(DwgImport, TextsAndMultiLineTexts) {
    const std::string longText(300, 'x');
    const auto o = open(document(
        "[" +
        entity(
            "MTEXT",
            R"("ins_pt":[1,2,0],"x_axis_dir":[0,1,0],"text_height":2.5,"attachment":7,"rect_width":40,"linespace_factor":1.5,"text":"{\\fArial|b0;)" +
                longText + R"(\\P\\U+00B0}")") +
        "," +
        entity(
            "TEXT",
            R"("ins_pt":[3,4],"alignment_pt":[9,4],"height":1.5,"rotation":0.5235987755982988,"width_factor":0.8,"oblique_angle":0.2617993877991494,"horiz_alignment":2,"vert_alignment":0,"text_value":"Stra\u00dfe \u20ac \u4e2d")") +
        "]"));
    const mmDrawing& d = o->drawing;
    ASSERT_EQ(d.entities.size(), 2u);
    const auto& m = static_cast<const mmMText&>(*d.entities[0]);
    EXPECT_EQ(m.String(), "{\\fArial|b0;" + longText + "\\P\u00b0}");
    EXPECT_EQ(m.attachment, 7);
    EXPECT_NEAR(m.rotation, 90.0, 1e-9);
    EXPECT_EQ(m.height, 2.5);
    EXPECT_EQ(m.rectangleWidth, 40.0);
    EXPECT_EQ(m.lineSpacing, 1.5);
    const auto& t = static_cast<const mmText&>(*d.entities[1]);
    EXPECT_EQ(t.String(), "Stra\u00dfe \u20ac \u4e2d");
    EXPECT_NEAR(t.rotation, 30.0, 1e-9);
    EXPECT_NEAR(t.oblique, 15.0, 1e-9);
    EXPECT_EQ(t.widthFactor, 0.8);
    EXPECT_EQ(t.horizontal, kTextRight);
    ASSERT_EQ(t.points.size(), 2u);
    EXPECT_EQ(t.points[0].x, 3.0);
    EXPECT_EQ(t.points[1].x, 9.0);
}

TEST(DwgImport, HatchPathsAndEdges) {
    const std::string paths = R"("paths":[
        {"flag":1,"segs":[
            {"curve_type":1,"first_endpoint":[0,0],"second_endpoint":[10,0]},
            {"curve_type":2,"center":[10,5],"radius":5,"start_angle":4.71238898038469,"end_angle":1.5707963267948966,"is_ccw":1},
            {"curve_type":3,"center":[5,10],"endpoint":[5,0],"minor_major_ratio":0.5,"start_angle":0,"end_angle":3.14,"is_ccw":1},
            {"curve_type":4,"degree":3,"knots":[0,0,0,0,1,1,1,1],"control_points":[[10,10,1],[6,12,1],[3,12,1],[0,10,1]]},
            {"curve_type":1,"first_endpoint":[0,10],"second_endpoint":[0,0]}]},
        {"flag":3,"closed":1,"bulges_present":1,"polyline_paths":[[2,2,0],[4,2,1],[4,4,0],[2,4,0]]},
        {"flag":2,"closed":0,"bulges_present":0,"polyline_paths":[[6,6,1],[7,6,0],[7,7,0]]}])";
    const auto o = open(document(
        "[" + entity("HATCH", R"("name":"SOLID","is_solid_fill":1,)" + paths) + "," +
        entity("HATCH", R"("name":"SOLID","paths":[{"flag":1,"segs":[{"curve_type":9}]}])") + "]"));
    const auto& h = only<mmHatch>(o->drawing);
    ASSERT_EQ(h.loops.size(), 3u);
    EXPECT_TRUE(h.solidFill);
    // Line, arc, elliptic arc (a rational spline), spline and line.
    ASSERT_EQ(h.loops[0]->size(), 5u);
    EXPECT_EQ((*h.loops[0])[1]->type, kTypeArc);
    const auto& arc = static_cast<const mmArc&>(*(*h.loops[0])[1]);
    EXPECT_NEAR(arc.startAngle, 270.0, 1e-9);
    EXPECT_NEAR(arc.endAngle, 90.0, 1e-9);
    const auto& ellipse = static_cast<const mmSpline&>(*(*h.loops[0])[2]);
    EXPECT_EQ(ellipse.degree, 2);
    EXPECT_EQ(ellipse.weights.size(), ellipse.points.size());
    EXPECT_NEAR(ellipse.points.front().x + h.points[0].x, 10.0, 1e-9);  // the major axis end
    EXPECT_NEAR(ellipse.points.front().y + h.points[0].y, 10.0, 1e-9);
    const auto& spline = static_cast<const mmSpline&>(*(*h.loops[0])[3]);
    EXPECT_EQ(spline.ControlPointCount(), 4);
    EXPECT_EQ(spline.knots.size(), 8u);
    // Four edges of the closed path, the second an arc of its bulge; two of the open one,
    // straight because the path has no bulges.
    ASSERT_EQ(h.loops[1]->size(), 4u);
    EXPECT_EQ((*h.loops[1])[1]->type, kTypeArc);
    ASSERT_EQ(h.loops[2]->size(), 2u);
    EXPECT_EQ((*h.loops[2])[0]->type, kTypePolyline);
    EXPECT_EQ(o->result.notImported.at("HATCH"), 1);
}

TEST(DwgImport, DimensionsFindTheirStyleByItsExactName) {
    const std::string head =
        R"("DIMSTYLE":[{"name":"ISO-25","DIMTXT":3.5,"DIMASZ":2,"DIMEXE":1,"DIMEXO":0.5,"DIMGAP":0.7,"DIMCLRT":3,"DIMBLK1":"_OPEN","DIMBLK2":null}],)";
    std::string json = document(
        "[" +
        entity(
            "DIMENSION_LINEAR",
            R"("def_pt":[10,5,0],"text_midpt":[5,5],"xline1_pt":[0,0,0],"xline2_pt":[10,0,0],"user_text":"","text_rotation":0,"flag":32,"dimstyle":"ISO-25")") +
        "," +
        entity(
            "DIMENSION_ORDINATE",
            R"("def_pt":[0,0,0],"text_midpt":[9,4],"feature_location_pt":[3,4,0],"leader_endpt":[8,4,0],"user_text":"A","flag":166,"flag2":1,"dimstyle":"iso-25")") +
        "," +
        entity(
            "DIMENSION_ANG2LN",
            R"("def_pt":[1,1,0],"xline1start_pt":[2,0,0],"xline1end_pt":[3,0,0],"xline2start_pt":[0,0,0],"xline2end_pt":[0,4,0])") +
        "," + entity("ARC_DIMENSION", R"("def_pt":[0,0,0],"xline1_pt":[1,0,0],"center_pt":[0,0,0])") + "]");
    json.replace(json.find(R"("DIMSTYLE":[],)"), 14, head);
    const auto o = open(json);
    const mmDrawing& d = o->drawing;
    ASSERT_EQ(d.entities.size(), 4u);
    const DimStyle* iso = nullptr;
    for (const auto& [id, s] : d.dimStyles)
        if (s.name == u"ISO-25") iso = &s;
    ASSERT_TRUE(iso);
    EXPECT_TRUE(iso->arrowBlock1.empty());  // only when both arrow blocks are set
    const auto& linear = static_cast<const mmDimension&>(*d.entities[0]);
    EXPECT_EQ(linear.dimStyleId, iso->id);
    EXPECT_EQ(linear.textHeight, 3.5);
    EXPECT_EQ(linear.dimType, kDimRotated);
    EXPECT_EQ(linear.defPoints[1].x, 10.0);
    EXPECT_EQ(linear.label.colorIndex, 3);
    EXPECT_EQ(linear.blockName, mmDimension::BlockNameFor(linear.id));
    const auto& ordinate = static_cast<const mmDimension&>(*d.entities[1]);
    EXPECT_EQ(ordinate.dimStyleId, d.currentDimStyleId);
    EXPECT_EQ(ordinate.dimType, kDimOrdinate);
    EXPECT_EQ(ordinate.ordinateAxis, 1);
    EXPECT_EQ(ordinate.defPoints[0].x, 3.0);
    EXPECT_EQ(ordinate.defPoints[1].x, 8.0);
    // Angular dimensions are kept with the points DXF gives them (13, 14, 10), not built.
    const auto& angular = static_cast<const mmDimension&>(*d.entities[2]);
    EXPECT_EQ(angular.dimType, 2);
    EXPECT_EQ(angular.defPoints[0].x, 2.0);
    EXPECT_EQ(angular.defPoints[2].y, 4.0);
    EXPECT_EQ(angular.arcPoint.y, 0.0);  // the second line's start, DXF's 15
    EXPECT_EQ(angular.arcLocation.x, 1.0);
    const auto& arcLength = static_cast<const mmDimension&>(*d.entities[3]);
    EXPECT_EQ(arcLength.dimType, kDimArcLength);
    EXPECT_EQ(arcLength.defPoints[0].x, 1.0);
}

TEST(DwgImport, SplinesByControlPointsOrFitPoints) {
    const auto o = open(document(
        "[" +
        entity(
            "SPLINE",
            R"("flag":12,"degree":2,"rational":1,"knots":[0,0,0,1,1,1],"ctrl_pts":[[1,0,0,1],[1,1,0,0.5],[0,1,0,1]])") +
        "," +
        entity("SPLINE",
               R"("degree":3,"knots":[],"ctrl_pts":[],"fit_pts":[[0,0,0],[5,5,0],[10,0,0]],"beg_tan_vec":[0,1,0],"end_tan_vec":[0,-1,0])") +
        "," + entity("SPLINE", R"("degree":3,"knots":[],"ctrl_pts":[],"fit_pts":[[0,0,0]])") +
        "]"));
    ASSERT_EQ(o->drawing.entities.size(), 2u);
    const auto& weighted = static_cast<const mmSpline&>(*o->drawing.entities[0]);
    EXPECT_EQ(weighted.degree, 2);
    EXPECT_EQ(weighted.flags, 12);
    EXPECT_EQ(weighted.weights, (std::vector<double>{1, 0.5, 1}));
    EXPECT_TRUE(weighted.IsDrawable());
    const auto& fitted = static_cast<const mmSpline&>(*o->drawing.entities[1]);
    EXPECT_EQ(fitted.fitPoints.size(), 3u);
    EXPECT_EQ(fitted.ControlPointCount(), 5);
    EXPECT_TRUE(fitted.IsDrawable());
    EXPECT_NEAR(fitted.points[1].x, 0.0, 1e-12) << "leaves upwards along its start tangent";
    EXPECT_GT(fitted.points[1].y, 0.0);
    EXPECT_EQ(o->result.notImported.at("SPLINE"), 1);
}

// The types the DXF reader keeps are made from LibreDWG's fields the same way: ellipses (their
// parameters in radians), solids and traces in their plane, 3D faces with hidden edges, leaders
// with their style's arrow, construction lines and rays, attribute definitions.
TEST(DwgImport, EllipsesSolidsFacesLeadersLinesAndDefinitions) {
    const auto o = open(document(
        "[" +
        entity("ELLIPSE", R"("center":[10,5,0],"sm_axis":[4,0,0],"axis_ratio":0.5,)"
                          R"("start_angle":5.5,"end_angle":0.5,"extrusion":[0,0,1])") +
        "," +
        entity("SOLID", R"("corner1":[1,0],"corner2":[2,0],"corner3":[1,1],"corner4":[2,1],)"
                        R"("elevation":0,"extrusion":[0,0,-1])") +
        "," +
        entity("TRACE", R"("corner1":[0,0],"corner2":[1,0],"corner3":[0,1],"corner4":[1,1])") +
        "," +
        entity("3DFACE", R"("corner1":[0,0,0],"corner2":[1,0,0],"corner3":[1,1,0],)"
                         R"("corner4":[0,1,0],"invis_flags":5)") +
        "," +
        entity("LEADER", R"("points":[[0,0,0],[10,0,0],[10,5,0]],"path_type":1,)"
                         R"("arrowhead_on":1,"dimstyle":"Standard")") +
        "," + entity("RAY", R"("point":[1,2,0],"vector":[3,4,0])") + "," +
        entity("ATTDEF", R"("ins_pt":[7,8],"height":1,"default_value":"d","tag":"TAG",)"
                         R"("prompt":"Why","flags":2)") +
        "]"));
    const mmDrawing& d = o->drawing;
    ASSERT_EQ(d.entities.size(), 7u);
    const auto& e = dynamic_cast<const mmEllipse&>(*d.entities[0]);
    EXPECT_NEAR(e.Sweep(), 2 * kPi - 5.0, 1e-9);
    EXPECT_NEAR(e.extents.maxX, 14.0, 1e-9);
    const auto& solid = dynamic_cast<const mmSolid&>(*d.entities[1]);
    EXPECT_EQ(solid.points[1].x, -2.0) << "seen from below";
    EXPECT_FALSE(solid.trace);
    EXPECT_TRUE(dynamic_cast<const mmSolid&>(*d.entities[2]).trace);
    EXPECT_EQ(dynamic_cast<const mm3dFace&>(*d.entities[3]).invisibleEdges, 5);
    const auto& leader = dynamic_cast<const mmLeader&>(*d.entities[4]);
    EXPECT_TRUE(leader.splinePath);
    EXPECT_EQ(leader.arrowSize, 2.5);
    EXPECT_EQ(leader.pointCount(), 3);
    const auto& ray = dynamic_cast<const mmXLine&>(*d.entities[5]);
    EXPECT_TRUE(ray.ray);
    EXPECT_NEAR(ray.dirY, 0.8, 1e-12);
    const auto& def = dynamic_cast<const mmAttributeDef&>(*d.entities[6]);
    EXPECT_EQ(def.tag, "TAG");
    EXPECT_EQ(def.prompt, "Why");
    EXPECT_EQ(def.String(), "d");
    EXPECT_EQ(def.flags, kAttributeConstant);
    EXPECT_TRUE(o->result.notImported.empty());
}

// An INSERT's attributes become its children; a MINSERT keeps its cells; an anonymous block
// (numbered by the bridge) is found by its references; a reference in a mirrored plane is
// mirrored.
TEST(DwgImport, AttributesCellsAndAnonymousBlocks) {
    const std::string blocks = R"([{"name":"*U1","anonymous":1,"base_pt":[0,0,0],"entities":[)" +
                               entity("LINE", R"("start":[0,0],"end":[1,1])", "0", 0) +
                               R"(]},{"name":"*Paper_Space0","layout":1,"entities":[)" +
                               entity("VIEWPORT", R"("center":[0,0,0])", "0", 0) + "]}]";
    const auto o = open(document(
        "[" +
            entity("INSERT", R"("ins_pt":[100,50,0],"scale":[1,1,1],"rotation":0,)"
                             R"("block_header":"*U1","attribs":[{"type":"ATTRIB","entmode":0,)"
                             R"("invisible":0,"layer":"0","ins_pt":[101,51],"height":2,)"
                             R"("text_value":"P-42","tag":"PART","flags":0}])") +
            "," +
            entity("MINSERT", R"("ins_pt":[0,0,0],"scale":[1,1,1],"rotation":0,)"
                              R"("block_header":"*U1","num_cols":2,"num_rows":3,)"
                              R"("col_spacing":10,"row_spacing":5)") +
            "," +
            entity("INSERT", R"("ins_pt":[5,0,0],"scale":[1,1,1],"rotation":0,)"
                             R"("block_header":"*U1","extrusion":[0,0,-1])") +
            "]",
        blocks));
    const mmDrawing& d = o->drawing;
    ASSERT_EQ(d.blocks.size(), 1u);
    EXPECT_EQ(d.blocks.begin()->second->flags, kBlockAnonymous);
    ASSERT_EQ(d.entities.size(), 3u);
    const auto& ref = static_cast<const mmBlockRef&>(*d.entities[0]);
    ASSERT_EQ(ref.children.size(), 2u);
    const auto& part = dynamic_cast<const mmAttribute&>(*ref.children[1]);
    EXPECT_EQ(part.tag, "PART");
    EXPECT_EQ(part.String(), "P-42");
    EXPECT_EQ(part.points[0].x, 1.0) << "relative to the insertion point";
    const auto& cells = static_cast<const mmBlockRef&>(*d.entities[1]);
    EXPECT_EQ(cells.CellCount(), 6);
    EXPECT_EQ(cells.extents.maxX, 11.0);
    const auto& mirrored = static_cast<const mmBlockRef&>(*d.entities[2]);
    EXPECT_EQ(mirrored.points[0].x, -5.0);
    EXPECT_EQ(mirrored.scaleY, -1.0);
    EXPECT_EQ(mirrored.rotation, 180.0);
    EXPECT_EQ(o->result.notImported, (DxfEntityCounts{{"VIEWPORT", 1}}));
}

// Model space and, with a layout, paper space; invisible entities and those of types without a
// conversion are left out and counted (attributes with their reference).
TEST(DwgImport, OpenReplacesTheDrawingAndCountsWhatItLeftOut) {
    mmDrawing d;
    NewDrawing(d);
    d.layers[9] = mmLayer::WithDefaults(9, u"old");
    auto old = std::make_shared<mmLine>();
    old->id = d.nextEntityId++;
    AddEntity(d, old);
    mmSpace paper;
    DxfSpaceLayout layout(paper);
    std::string invisible = entity("LINE", R"("start":[0,0],"end":[1,1])");
    invisible.replace(invisible.find(R"("invisible":0)"), 13, R"("invisible":1)");
    const std::string json = document(
        "[" + entity("LINE", R"("start":[0,0],"end":[1,1])") + "," +
        entity("LINE", R"("start":[0,0],"end":[1,1])", "0", 1) + "," + invisible + "," +
        entity("MLINE", R"("x":0)") + "," + entity("MLINE", R"("x":0)") + "," +
        entity("WIPEOUT", R"("def_pt":[0,0,0])") + "," + entity("REGION", R"("x":0)") + "," +
        entity("INSERT",
               R"("block_header":"NONE","attribs":[{"type":"ATTRIB"},{"type":"ATTRIB"}])") +
        "]");
    const DwgImportResult r = importDwgDocument(d, nullptr, json, &layout, false, {});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(d.entities.size(), 1u);
    EXPECT_EQ(d.entities[0]->type, kTypeLine);
    EXPECT_EQ(paper.entities.size(), 1u);
    EXPECT_FALSE(d.FindLayerByName(u"old"));
    EXPECT_TRUE(d.FindLayerByName(u"WALLS"));
    EXPECT_EQ(SkippedEntitiesLine(kNotLoaded, r.notImported),
              "Not loaded: 2 ATTRIB, 2 MLINE, 1 INSERT, 1 LINE (invisible), 1 REGION, "
              "1 WIPEOUT");
    EXPECT_EQ(SkippedEntitiesLine(kNotLoaded, {}), "");
}

// An XREF adds one block of the model space based at (0, 0), the file's layers and blocks; the
// drawing's entities, current layer and existing layers stay.
TEST(DwgImport, XrefMakesOneBlockOfTheModelSpace) {
    mmDrawing d;
    NewDrawing(d);
    auto mine = std::make_shared<mmLine>();
    mine->id = d.nextEntityId++;
    AddEntity(d, mine);
    const std::string blocks = R"([{"name":"TREE","anonymous":0,"base_pt":[0,0,0],"entities":[)" +
                               entity("CIRCLE", R"("center":[0,0],"radius":1)", "0", 0) + "]}]";
    const std::string json =
        document("[" + entity("LINE", R"("start":[100,50],"end":[101,51])", "WALLS") + "," +
                     entity("INSERT", R"("ins_pt":[0,0],"scale":[1,1,1],"block_header":"TREE")") +
                     "," + entity("LINE", R"("start":[0,0],"end":[1,1])", "0", 1) + "]",
                 blocks);
    const DwgImportResult r = importDwgDocument(d, nullptr, json, nullptr, true, u"site");
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(d.entities.size(), 1u);
    EXPECT_EQ(d.entities[0], mine);
    const mmBlockPtr site = FindBlockByName(d.blocks, u"site");
    ASSERT_TRUE(site);
    EXPECT_EQ(site->baseX, 0.0);
    ASSERT_EQ(site->entities.size(), 2u);
    EXPECT_EQ(site->entities[0]->points[0].x, 100.0);
    EXPECT_TRUE(FindBlockByName(d.blocks, u"TREE"));
    EXPECT_TRUE(d.FindLayerByName(u"WALLS"));
    EXPECT_EQ(d.currentLayerId, 0);
    // An empty model space still makes the block.
    EXPECT_TRUE(importDwgDocument(d, nullptr, document("[]"), nullptr, true, u"empty").ok);
    EXPECT_TRUE(FindBlockByName(d.blocks, u"empty"));
}

}  // namespace
