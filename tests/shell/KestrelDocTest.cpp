// The document's save while a command is building an entity, and the layouts of an opened file
// in their tabs, saved again.
#include <gtest/gtest.h>

#include <filesystem>

#include "commands/CommandTestSupport.h"
#include "commands/Layouts.h"
#include "display/Layout.h"
#include "display/Viewports.h"
#include "drawing/Drawing.h"
#include "entities/Circle.h"
#include "entities/Text.h"
#include "entities/Viewport.h"
#include "fileio/dxf/DxfLayout.h"
#include "fileio/dxf/DxfLoad.h"
#include "fileio/dxf/DxfSave.h"
#include "shell/KestrelDoc.h"

namespace {

class DocumentSave : public CommandTest {
protected:
    CKestrelDoc document{session};
    const std::string path =
        (std::filesystem::path(KESTREL_TEST_OUTPUT_DIR) / "save-during-command.dxf").string();

    void SetUp() override { std::filesystem::create_directories(KESTREL_TEST_OUTPUT_DIR); }

    // The types of the entities the saved file holds.
    std::vector<int32_t> savedTypes() {
        mmDrawing read;
        FillNewDrawing(read);
        EXPECT_TRUE(loadDrawingFromDxf(read, nullptr, path, nullptr));
        std::vector<int32_t> types;
        for (const mmObjectPtr& e : read.entities) types.push_back(e->type);
        return types;
    }
};

}  // namespace

// A save during CIRCLE wrote a circle of radius 0, during TEXT an empty text.
TEST_F(DocumentSave, RegressionEntityUnderConstructionIsLeftOut) {
    type(u"line");
    type(u"0,0");
    type(u"10,0");
    type(u"circle");
    type(u"5,5");
    ASSERT_TRUE(document.Save(path));
    EXPECT_EQ(savedTypes(), std::vector<int32_t>{kTypeLine});
    EXPECT_TRUE(session.modified);  // the circle is still to be saved
    type(u"2");                     // the command goes on
    EXPECT_EQ(entity<mmCircle>(1).radius, 2);
    EXPECT_FALSE(entity<mmCircle>(1).erased);

    type(u"text");
    ASSERT_TRUE(document.Save(path));
    EXPECT_EQ(savedTypes(), (std::vector<int32_t>{kTypeLine, kTypeCircle}));
    type(u"");
    ASSERT_TRUE(document.Save(path));
    EXPECT_FALSE(session.modified);
}

namespace {

void addTo(mmSpace& space, const mmObjectPtr& e) {
    e->id = space.nextEntityId++;
    e->UpdateGrips();
    e->UpdateExtents();
    AddEntity(space, e);
}

// A viewport of 60 x 40 mm showing the model at scale units per millimetre.
mmObjectPtr viewportAt(double x, double scale) {
    auto v = std::make_shared<mmViewport>();
    v->SetNewViewportProperties();
    v->SetRectangle(x, 10, x + 60, 50);
    v->modelWindow = {50 - 30 * scale, 50 - 20 * scale, 50 + 30 * scale, 50 + 20 * scale};
    return v;
}

class DocumentLayouts : public CommandTest {
protected:
    CKestrelDoc document{session};
    std::filesystem::path dir = std::filesystem::path(KESTREL_TEST_OUTPUT_DIR) / "doc-layouts";

    void SetUp() override { std::filesystem::create_directories(dir); }

    // A file of three layouts: two viewports on the second, a text alone on the third.
    std::string threeLayouts() {
        mmDrawing d;
        FillNewDrawing(d);
        mmSpace plan, detail, notes;
        addTo(plan, viewportAt(10, 1.0));
        addTo(detail, viewportAt(10, 4.0));
        addTo(detail, viewportAt(100, 0.5));
        auto note = std::make_shared<mmText>();
        note->AddPoint(10, 10);
        note->SetString("NOTES", nullptr);
        addTo(notes, note);
        const DxfLayoutList layouts({{u"Plan", &plan}, {u"Détail", &detail}, {u"Notes", &notes}},
                                    plan);
        const std::string path = (dir / "three.dxf").string();
        EXPECT_TRUE(saveDrawingAsDxf2000(d, &layouts, path));
        return path;
    }
};

}  // namespace

TEST_F(DocumentLayouts, AFileOfThreeLayoutsOpensWithThreeTabsAndSavesThemAll) {
    ASSERT_TRUE(document.Open(threeLayouts()));
    ASSERT_EQ(TabCount(session), 4);
    EXPECT_EQ(utf8(TabLabel(session, 1)), "Plan");
    EXPECT_EQ(utf8(TabLabel(session, 2)), "Détail");
    EXPECT_EQ(utf8(TabLabel(session, 3)), "Notes");
    mmView& detail = session.layouts[1]->view;
    ASSERT_EQ(detail.SlotCount(), 2u);
    UpdateModelWindows(detail);
    EXPECT_NEAR(detail.plotScale[0], 4.0, 1e-6);
    EXPECT_NEAR(detail.plotScale[1], 0.5, 1e-6);
    EXPECT_EQ(session.layouts[2]->view.SlotCount(), 0u) << "paper entities, no viewport made";

    const std::string again = (dir / "again.dxf").string();
    ASSERT_TRUE(document.Save(again));
    mmDrawing read;
    FillNewDrawing(read);
    DxfLayoutList layouts;
    ASSERT_TRUE(loadDrawingFromDxf(read, nullptr, again, &layouts));
    std::vector<std::string> names;
    for (const DxfLayoutEntry& e : layouts.Layouts()) names.push_back(utf8(e.name));
    EXPECT_EQ(names, (std::vector<std::string>{"Plan", "Détail", "Notes"}));
    EXPECT_EQ(layouts.SpaceOf(1).entities.size(), 2u);
    EXPECT_TRUE(host.historyMessages().empty());

    // R12 keeps one paper space: the history names the layouts left out.
    document.SetSaveVersion(DxfVersion::R12);
    ASSERT_TRUE(document.Save((dir / "r12.dxf").string()));
    EXPECT_EQ(host.historyMessages().back(),
              "Only the layout \"Plan\" was saved: an R12 file keeps one paper space, so "
              "\"Détail\", \"Notes\" are not in it.");
}
