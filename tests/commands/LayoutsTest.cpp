// Layouts: the page geometry, the start-up layout and its default viewport, VIEWPORT, erasing
// viewports with their slots, PLOTSCALE, paper and model mode, double-click activation, the tab
// menu rules and the image export's format words.
#include <cmath>

#include "CommandTestSupport.h"
#include "commands/Layouts.h"
#include "commands/Plotting.h"
#include "commands/Selection.h"
#include "commands/StartupDrawing.h"
#include "display/PageGeometry.h"
#include "display/Viewports.h"

namespace {

using kestrel::platform::PrinterMetrics;

TEST(PageGeometry, FitsThePrintableAreaIntoTheWindowLessTheMargin) {
    const PrinterMetrics a4;  // 4960 x 7016 at 600 dpi
    PrinterMetrics landscape = a4;
    std::swap(landscape.horzRes, landscape.vertRes);
    const struct {
        int w, h;
        PrinterMetrics printer;
        int widthPx, heightPx;
    } cases[] = {
        {1200, 800, a4, 494, 700},         // height-limited
        {400, 1200, a4, 300, 424},         // width-limited
        {1200, 800, landscape, 990, 700},  // height-limited landscape
    };
    for (const auto& c : cases) {
        const mmPageGeometry g = ComputePageGeometry(c.w, c.h, c.printer);
        EXPECT_EQ(g.widthPx, c.widthPx) << c.w << "x" << c.h;
        EXPECT_EQ(g.heightPx, c.heightPx) << c.w << "x" << c.h;
        EXPECT_NEAR(g.pxPerMm, c.heightPx / PrintableHeightMm(c.printer), 1e-12);
    }
    EXPECT_NEAR(ComputePageGeometry(1200, 800, a4).pxPerMm, 2.357, 0.0005);
    // A window smaller than the margin still has a page; a printer without values changes nothing.
    EXPECT_GE(ComputePageGeometry(50, 50, a4).heightPx, 1);
    EXPECT_EQ(ComputePageGeometry(1200, 800, PrinterMetrics{0, 0, 0, 0, 0}).heightPx, 0);
}

class Layouts : public CommandTest {
protected:
    void SetUp() override {
        PrepareStartupView(session, 1200, 800);
        ASSERT_TRUE(ActivateTab(session, 1));
    }
    mmLayout& layout() { return *session.layouts.front(); }
    mmView& layoutView() { return layout().view; }
    std::vector<mmViewport*> viewports() {
        std::vector<mmViewport*> out;
        for (const mmObjectPtr& e : layout().paper.entities)
            if (e && !e->erased && e->type == kTypeViewport)
                out.push_back(static_cast<mmViewport*>(e.get()));
        return out;
    }
    // The window pixel of a paper point.
    void doubleClickAt(double x, double y) {
        int px = 0, py = 0;
        layoutView().worldToScreen(x, y, layoutView().PaperMatrices(), px, py);
        LayoutDoubleClick(session, px, py);
    }
    void addViewport(double x1, double y1, double x2, double y2) {
        type(u"viewport");
        type(u16(x1, y1));
        type(u16(x2, y2));
    }
    static std::u16string u16(double x, double y) {
        const std::string s = std::to_string(x) + "," + std::to_string(y);
        return std::u16string(s.begin(), s.end());
    }
};

TEST_F(Layouts, StartUpHasModelAndLayout1WithTheDefaultViewport) {
    ASSERT_EQ(TabCount(session), 2);
    EXPECT_EQ(utf8(TabLabel(session, 0)), "Model");
    EXPECT_EQ(utf8(TabTooltip(0)), "Model Space");
    EXPECT_EQ(utf8(TabLabel(session, 1)), "Layout1");
    EXPECT_EQ(utf8(TabTooltip(1)), "Plot layout");
    EXPECT_EQ(utf8(PaperModeLabel(session)), "PAPER");
    EXPECT_EQ(layoutView().paperHeightPx, 700);
    EXPECT_EQ(layoutView().paperWidthPx, 494);

    const auto list = viewports();
    ASSERT_EQ(list.size(), 1u);
    const mmViewport& v = *list[0];
    const double w = 4960 * 25.4 / 600, h = 7016 * 25.4 / 600;
    EXPECT_NEAR(v.extents.minX, 0.1 * w, 1e-9);
    EXPECT_NEAR(v.extents.minY, 0.1 * h, 1e-9);
    EXPECT_NEAR(v.extents.maxX, 0.9 * w, 1e-9);
    EXPECT_NEAR(v.extents.maxY, 0.9 * h, 1e-9);
    EXPECT_EQ(v.colorIndex, 7);
    EXPECT_EQ(v.layerId, 0);
    EXPECT_EQ(layoutView().viewIds, std::vector<int32_t>{v.id});
    EXPECT_EQ(layoutView().currentViewportId, v.id);
    EXPECT_EQ(layoutView().activeView, 0);
    EXPECT_EQ(v.viewSlot, 0);
}

TEST_F(Layouts, ViewportCommandAddsAViewportWithItsSlotAndUndoTakesItBack) {
    addViewport(10, 10, 60, 40);
    EXPECT_EQ(view().commandId, 0);
    auto list = viewports();
    ASSERT_EQ(list.size(), 2u);
    const mmViewport& v = *list[1];
    EXPECT_EQ(v.extents.minX, 10);
    EXPECT_EQ(v.extents.maxY, 40);
    EXPECT_EQ(v.viewSlot, 1);
    EXPECT_EQ(layoutView().currentViewportId, v.id);
    EXPECT_TRUE(session.drawing.entities.empty());

    type(u"undo");
    EXPECT_EQ(viewports().size(), 1u);
    EXPECT_EQ(layoutView().SlotCount(), 1u);
    type(u"redo");
    EXPECT_EQ(viewports().size(), 2u);
    EXPECT_EQ(layoutView().SlotCount(), 2u);
}

TEST_F(Layouts, ErasingAViewportRemovesItsSlotAndRenumbersTheOthers) {
    addViewport(10, 10, 60, 40);
    addViewport(70, 10, 120, 40);
    auto list = viewports();
    ASSERT_EQ(list.size(), 3u);
    layoutView().zoomScale[2] = 0.25;
    const int32_t lastId = list[2]->id;
    SelectEntity(session, *list[1], true);
    EraseSelection(session);
    EXPECT_EQ(layoutView().viewIds, (std::vector<int32_t>{list[0]->id, lastId}));
    EXPECT_EQ(list[2]->viewSlot, 1);
    EXPECT_EQ(layoutView().zoomScale[1], 0.25);  // the slot's values moved with it
    EXPECT_EQ(layoutView().currentViewportId, lastId);
    EXPECT_EQ(layoutView().activeView, 1);

    // With none left there is no active slot and model mode is refused.
    for (mmViewport* v : viewports()) RemoveViewportSlot(layoutView(), v->id);
    EXPECT_EQ(layoutView().activeView, -1);
    EXPECT_FALSE(SetPaperMode(session, false));
    TogglePaperMode(session);
    EXPECT_EQ(utf8(PaperModeLabel(session)), "PAPER");
}

TEST_F(Layouts, PlotScaleSetsTheViewportZoomAndOffersItNextTime) {
    ASSERT_TRUE(SetPaperMode(session, false));
    EXPECT_EQ(utf8(PaperModeLabel(session)), "MODEL");
    type(u"plotscale");
    EXPECT_EQ(inputLine(), "Specify plot scale, 1[mm] = <1.0000> [units]: ");
    type(u"100");
    EXPECT_EQ(view().commandId, 0);
    const std::size_t slot = static_cast<std::size_t>(layoutView().activeView);
    EXPECT_DOUBLE_EQ(layoutView().zoomScale[slot], 0.01);
    // The viewport's centre keeps showing the same model point.
    UpdateModelWindows(layoutView());
    const mmRect m = viewports()[0]->modelWindow;
    const mmRect& e = viewports()[0]->extents;
    EXPECT_NEAR(m.maxX - m.minX, (e.maxX - e.minX) * 100, 1e-6);
    type(u"plotscale");
    EXPECT_EQ(inputLine(), "Specify plot scale, 1[mm] = <100.0000> [units]: ");
    type(u"abc");  // not a number: the prompt stays
    EXPECT_NE(view().commandId, 0);
    type(u"-5");
    EXPECT_NE(view().commandId, 0);
    type(u"");
    EXPECT_EQ(view().commandId, 0);
    EXPECT_DOUBLE_EQ(layoutView().zoomScale[slot], 0.01);
}

TEST_F(Layouts, DoubleClickActivatesTheLastCreatedViewportUnderItAndLeavesOutside) {
    addViewport(30, 40, 150, 150);  // overlaps the default viewport
    const int32_t created = viewports()[1]->id;
    doubleClickAt(100, 100);
    EXPECT_EQ(utf8(PaperModeLabel(session)), "MODEL");
    EXPECT_EQ(layoutView().currentViewportId, created);
    EXPECT_EQ(viewports()[1]->lineWidth, 3);
    EXPECT_EQ(viewports()[0]->lineWidth, 1);
    doubleClickAt(180, 250);  // inside the default viewport, outside the current one
    EXPECT_EQ(utf8(PaperModeLabel(session)), "PAPER");
    EXPECT_EQ(viewports()[1]->lineWidth, 1);
    doubleClickAt(1, 1);  // on no viewport: paper stays
    EXPECT_EQ(utf8(PaperModeLabel(session)), "PAPER");
}

TEST_F(Layouts, TabMenuRulesAndLayoutNames) {
    EXPECT_FALSE(TabMenuState(session, 0).deleteEnabled);
    EXPECT_FALSE(TabMenuState(session, 0).renameEnabled);
    EXPECT_FALSE(TabMenuState(session, 1).deleteEnabled);  // the only layout
    EXPECT_TRUE(TabMenuState(session, 1).renameEnabled);

    const int tab = NewLayout(session);
    EXPECT_EQ(tab, 2);
    EXPECT_EQ(utf8(TabLabel(session, 2)), "Layout2");
    EXPECT_EQ(session.activeTab, 2);
    EXPECT_EQ(utf8(PaperModeLabel(session)), "PAPER");
    EXPECT_EQ(session.layouts[1]->view.SlotCount(), 1u);
    EXPECT_TRUE(session.modified);
    EXPECT_TRUE(TabMenuState(session, 2).deleteEnabled);

    EXPECT_TRUE(DeleteLayout(session, 2));
    EXPECT_EQ(TabCount(session), 2);
    EXPECT_EQ(session.activeTab, 1);
    EXPECT_FALSE(DeleteLayout(session, 1));
    EXPECT_FALSE(DeleteLayout(session, 0));

    EXPECT_EQ(RenameLayout(session, 1, u""), std::optional<std::string>("Invalid label name"));
    EXPECT_EQ(RenameLayout(session, 1, u"model"), std::optional<std::string>("Invalid label name"));
    EXPECT_EQ(RenameLayout(session, 0, u"Sheet"),
              std::optional<std::string>("Rename layout failed!"));
    EXPECT_EQ(RenameLayout(session, 1, u"Sheet A"), std::nullopt);
    EXPECT_EQ(utf8(TabLabel(session, 1)), "Sheet A");
}

TEST_F(Layouts, ModelTabIsNeverInPaperModeAndPaperModeEditsThePaperSpace) {
    type(u"line");
    type(u"1,1");
    type(u"20,20");
    EXPECT_EQ(layout().paper.entities.size(), 2u);  // the viewport and the line
    EXPECT_TRUE(session.drawing.entities.empty());
    ASSERT_TRUE(ActivateTab(session, 0));
    EXPECT_EQ(utf8(PaperModeLabel(session)), "MODEL");
    type(u"viewport");
    EXPECT_NE(history().find("Warning: Viewport command is not supported in Model Space"),
              std::string::npos);
    type(u"line");
    type(u"1,1");
    type(u"20,20");
    EXPECT_EQ(session.drawing.entities.size(), 1u);
}

TEST(ImageExport, FormatWordsFindTheirEncoderInAnyLetterCase) {
    const struct {
        const char* path;
        const char* mime;
    } cases[] = {
        {"a.png", "image/png"},   {"a.PNG", "image/png"},    {"dir.v2/a.jpg", "image/jpeg"},
        {"a.JPEG", "image/jpeg"}, {"a.TIF", "image/tiff"},   {"a.tiff", "image/tiff"},
        {"a.BMP", "image/bmp"},   {"a.gif", "image/gif"},    {"a.pdf", nullptr},
        {"noext", nullptr},       {"dir.png/noext", nullptr}, {"a.", nullptr},
    };
    for (const auto& c : cases) {
        const std::optional<std::string> mime = ImageMimeTypeFor(c.path);
        if (c.mime)
            EXPECT_EQ(mime, std::optional<std::string>(c.mime)) << c.path;
        else
            EXPECT_EQ(mime, std::nullopt) << c.path;
    }
}

}  // namespace
