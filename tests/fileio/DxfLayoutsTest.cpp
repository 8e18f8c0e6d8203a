// Paper-space layouts in drawing files: every layout of a DXF 2000 save reads back in its tab with
// its name, viewports and paper entities; the LAYOUT objects and paper-space blocks of other
// programs' DXF files, and the layouts of a DWG document, open into their layouts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drawing/Drawing.h"
#include "entities/BlockRef.h"
#include "entities/Line.h"
#include "entities/Text.h"
#include "entities/Viewport.h"
#include "fileio/DxfTestSupport.h"
#include "fileio/dwg/DwgLoad.h"
#include "fileio/dxf/DxfLayout.h"
#include "fileio/dxf/DxfLoad.h"
#include "fileio/dxf/DxfSave.h"

namespace {

void add(mmSpace& space, const mmObjectPtr& e) {
    e->id = space.nextEntityId++;
    e->UpdateGrips();
    e->UpdateExtents();
    AddEntity(space, e);
}

// A viewport over (x, y) - (x + w, y + h) on the paper showing the model at scale units per
// millimetre about (cx, cy).
mmObjectPtr viewport(double x, double y, double w, double h, double scale, double cx, double cy) {
    auto v = std::make_shared<mmViewport>();
    v->SetNewViewportProperties();
    v->SetRectangle(x, y, x + w, y + h);
    v->modelWindow = {cx - w * scale / 2, cy - h * scale / 2, cx + w * scale / 2,
                      cy + h * scale / 2};
    return v;
}

mmObjectPtr text(const char* s, double x, double y) {
    auto t = std::make_shared<mmText>();
    t->AddPoint(x, y);
    t->height = 5;
    t->SetString(s, nullptr);
    return t;
}

std::vector<std::u16string> namesOf(const DxfLayoutList& list) {
    std::vector<std::u16string> names;
    for (const DxfLayoutEntry& e : list.Layouts()) names.push_back(e.name);
    return names;
}

// Units per paper millimetre a viewport read back shows.
double scaleOf(const mmObject& e) {
    const auto& v = dynamic_cast<const mmViewport&>(e);
    return (v.modelWindow.maxY - v.modelWindow.minY) / (v.extents.maxY - v.extents.minY);
}

std::string stringOf(const mmObject& e) {
    return std::string(dynamic_cast<const mmText&>(e).String());
}

}  // namespace

// A save wrote the active layout only: the others were lost.
TEST(DxfLayouts, RegressionEveryLayoutOfADxf2000SaveReadsBackInTabOrder) {
    TempDir dir;
    mmDrawing drawing;
    FillNewDrawing(drawing);
    auto line = std::make_shared<mmLine>();
    line->AddPoint(0, 0);
    line->AddPoint(100, 100);
    add(drawing, line);
    mmSpace plan, detail, notes;
    add(plan, viewport(20, 20, 100, 80, 1.0, 50, 50));
    add(detail, viewport(10, 10, 60, 40, 4.0, 50, 50));
    add(detail, viewport(100, 10, 60, 40, 0.5, 20, 20));
    add(detail, text("DETAIL", 30, 5));
    add(notes, text("NOTES", 10, 10));
    const DxfLayoutList saved({{u"Plan", &plan}, {u"Détail", &detail}, {u"Notes", &notes}},
                              detail);
    const std::string path = dir.file("layouts.dxf");
    ASSERT_TRUE(saveDrawingAsDxf2000(drawing, &saved, path));

    mmDrawing read;
    FillNewDrawing(read);
    DxfLayoutList layouts;
    DxfLoadReport report;
    ASSERT_TRUE(loadDrawingFromDxf(read, nullptr, path, &layouts, &report));
    EXPECT_EQ(namesOf(layouts), (std::vector<std::u16string>{u"Plan", u"Détail", u"Notes"}));
    EXPECT_EQ(layouts.ActiveIndex(), 1u);
    EXPECT_TRUE(report.dropped.empty());
    ASSERT_EQ(read.entities.size(), 1u);
    const mmEntityList& p = layouts.SpaceOf(0).entities;
    ASSERT_EQ(p.size(), 1u);
    EXPECT_NEAR(scaleOf(*p[0]), 1.0, 1e-9);
    const mmEntityList& d = layouts.SpaceOf(1).entities;
    ASSERT_EQ(d.size(), 3u);
    EXPECT_NEAR(scaleOf(*d[0]), 4.0, 1e-9);
    EXPECT_NEAR(scaleOf(*d[1]), 0.5, 1e-9);
    EXPECT_EQ(stringOf(*d[2]), "DETAIL");
    const mmEntityList& n = layouts.SpaceOf(2).entities;
    ASSERT_EQ(n.size(), 1u);
    EXPECT_EQ(stringOf(*n[0]), "NOTES");
}

// As other programs write them: the LAYOUT objects name the blocks' records, out of tab order;
// a layout other than the active one keeps its viewports with status 0 after its own paper
// viewport, and its references find blocks defined after it.
TEST(DxfLayouts, LayoutObjectsNameThePaperSpaceBlocksOfOtherPrograms) {
    const std::string text = Dxf(R"(0 SECTION
2 BLOCKS
0 BLOCK
5 20
330 1F
2 *Model_Space
0 ENDBLK
0 BLOCK
5 57
330 55
2 *Paper_Space
0 ENDBLK
0 BLOCK
5 52
330 50
67 1
2 *Paper_Space0
0 VIEWPORT
67 1
8 0
10 100
20 80
40 200
41 160
68 0
69 0
0 VIEWPORT
67 1
8 0
10 50
20 40
40 60
41 40
68 0
69 2
12 5
22 5
45 80
0 INSERT
67 1
8 0
2 LATER
10 0
20 0
0 ENDBLK
0 BLOCK
5 60
330 5F
2 LATER
10 0
20 0
0 LINE
8 0
10 0
20 0
11 10
21 0
0 ENDBLK
0 ENDSEC
0 SECTION
2 ENTITIES
0 TEXT
67 1
8 0
10 5
20 5
40 3
1 ACTIVE
0 ENDSEC
0 SECTION
2 OBJECTS
0 LAYOUT
5 56
100 AcDbPlotSettings
1 Page setup name
100 AcDbLayout
1 Sheet B
71 2
330 55
0 LAYOUT
5 51
100 AcDbPlotSettings
1 Other page setup
100 AcDbLayout
1 Sheet A
71 1
330 50
0 LAYOUT
5 22
100 AcDbLayout
1 Model
71 0
330 1F
0 ENDSEC
0 EOF)");
    mmDrawing read;
    FillNewDrawing(read);
    DxfLayoutList layouts;
    DxfLoadReport report;
    loadDrawingFromDxfText(read, nullptr, text, &layouts, &report);
    EXPECT_EQ(namesOf(layouts), (std::vector<std::u16string>{u"Sheet A", u"Sheet B"}));
    EXPECT_EQ(layouts.ActiveIndex(), 1u);
    EXPECT_TRUE(read.entities.empty());
    EXPECT_TRUE(report.dropped.empty());
    const mmEntityList& a = layouts.SpaceOf(0).entities;
    ASSERT_EQ(a.size(), 2u);
    EXPECT_EQ(a[0]->type, kTypeViewport);
    EXPECT_NEAR(scaleOf(*a[0]), 2.0, 1e-9);
    ASSERT_EQ(a[1]->type, kTypeBlockRef);
    EXPECT_EQ(static_cast<const mmBlockRef&>(*a[1]).children.size(), 1u);
    const mmEntityList& b = layouts.SpaceOf(1).entities;
    ASSERT_EQ(b.size(), 1u);
    EXPECT_EQ(stringOf(*b[0]), "ACTIVE");
}

// The bridge gives the layouts with the entities of those other than the active one; the first
// viewport of each layout is the layout's own.
TEST(DxfLayouts, DwgLayoutsOpenWithTheirViewportsNeverIntoTheModel) {
    const auto entity = [](const std::string& type, const std::string& fields, int entmode) {
        return R"({"type":")" + type + R"(","entmode":)" + std::to_string(entmode) +
               R"(,"invisible":0,"color":{"index":256,"rgb":0,"method":0},"layer":"0",)" +
               fields + "}";
    };
    const std::string own =
        R"("center":[100,80,0],"width":200,"height":160,"VIEWCTR":[0,0],"VIEWSIZE":160)";
    const std::string shown =
        R"("center":[50,40,0],"width":60,"height":40,"VIEWCTR":[5,5],"VIEWSIZE":120)";
    const std::string json =
        R"({"format":1,"file_magic":"AC1015","version":"R_2000","error":0,"codepage":30,)"
        R"("DIMSTYLE":[],"LAYER":[{"name":"0","color":{"index":7,"rgb":0,"method":0}}],)"
        R"("BLOCK_HEADER":[],"LAYOUT":[{"name":"Second","tab_order":2,"active":1,"entities":[]},)"
        R"({"name":"First","tab_order":1,"active":0,"entities":[)" +
        entity("VIEWPORT", own, 0) + "," + entity("VIEWPORT", shown, 0) + "," +
        entity("LINE", R"("start":[0,0],"end":[5,5])", 0) + R"(]}],"entities":[)" +
        entity("VIEWPORT", own, 1) + "," + entity("VIEWPORT", shown, 1) + "," +
        entity("LINE", R"("start":[0,0],"end":[9,9])", 2) + "]}";
    mmDrawing drawing;
    FillNewDrawing(drawing);
    DxfLayoutList layouts;
    const DwgImportResult r = importDwgDocument(drawing, nullptr, json, &layouts, false, {});
    ASSERT_TRUE(r.ok) << r.message << r.detail;
    EXPECT_TRUE(r.notImported.empty());
    EXPECT_EQ(namesOf(layouts), (std::vector<std::u16string>{u"First", u"Second"}));
    EXPECT_EQ(layouts.ActiveIndex(), 1u);
    ASSERT_EQ(drawing.entities.size(), 1u);
    const mmEntityList& first = layouts.SpaceOf(0).entities;
    ASSERT_EQ(first.size(), 2u);
    EXPECT_NEAR(scaleOf(*first[0]), 3.0, 1e-9);
    EXPECT_EQ(first[1]->type, kTypeLine);
    const mmEntityList& second = layouts.SpaceOf(1).entities;
    ASSERT_EQ(second.size(), 1u);
    EXPECT_NEAR(scaleOf(*second[0]), 3.0, 1e-9);
}
