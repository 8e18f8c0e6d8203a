// Pixels of a layout: two viewports onto the model at different zooms, each showing its own part
// of the model inside its frame, white paper around them and grey beyond the sheet; and the
// picture an export gives of it.
#include <gtest/gtest.h>

#include <memory>

#include "commands/CommandTestSupport.h"
#include "commands/Layouts.h"
#include "commands/StartupDrawing.h"
#include "display/OutputPicture.h"
#include "display/Renderer.h"
#include "display/Viewports.h"
#include "entities/Line.h"
#include "platform/HeadlessGL.h"

using kestrel::platform::HeadlessGlContext;
using kestrel::platform::Image;
using kestrel::platform::Rgba;

namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 700;

class LayoutGl : public CommandTest {
protected:
    std::unique_ptr<HeadlessGlContext> gl;
    std::unique_ptr<mmRenderer> renderer;

    void SetUp() override {
        std::string error;
        gl = HeadlessGlContext::create(kWidth, kHeight, &error);
        if (!gl) GTEST_SKIP() << "no headless OpenGL: " << error;
        PrepareStartupView(session, kWidth, kHeight);
        // Model lines at y = 50 and y = 15, x from 0 to 200, in red.
        addLine(0, 50, 200, 50);
        addLine(0, 15, 200, 15);
        ASSERT_TRUE(ActivateTab(session, 1));
        // The default viewport shows the model at 1 mm per unit; a second one below it, from
        // (40, 5) to (180, 25), at 2 units per mm about its centre (110, 15).
        mmLayout& layout = *session.layouts.front();
        CreateViewport(layout.view, layout.paper, layout.paper.nextEntityId++, 40, 5, 180, 25);
        ASSERT_TRUE(layout.view.setSlotZoomScale(1, 0.5));
        renderer = std::make_unique<mmRenderer>(host);
        ASSERT_TRUE(renderer->InitializeGl(layout.view));
    }

    void addLine(double x1, double y1, double x2, double y2) {
        auto line = std::make_shared<mmLine>();
        line->id = session.drawing.nextEntityId++;
        line->color = 0x0000FF;
        line->lineWidth = 2;
        line->AddPoint(x1, y1);
        line->AddPoint(x2, y2);
        line->UpdateGrips();
        line->UpdateExtents();
        AddEntity(session.drawing, line);
    }

    mmView& layoutView() { return session.layouts.front()->view; }

    // The pixel of a paper point, and whether a red pixel lies within a pixel of it.
    Rgba at(const Image& image, double x, double y) {
        int px = 0, py = 0;
        layoutView().worldToScreen(x, y, layoutView().PaperMatrices(), px, py);
        return image.pixel(px, py);
    }
    bool redNear(const Image& image, double x, double y) {
        int px = 0, py = 0;
        layoutView().worldToScreen(x, y, layoutView().PaperMatrices(), px, py);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const Rgba c = image.pixel(px + dx, py + dy);
                if (c.r > 200 && c.g < 80 && c.b < 80) return true;
            }
        return false;
    }
};

bool isWhite(const Rgba& c) { return c.r == 255 && c.g == 255 && c.b == 255; }

TEST_F(LayoutGl, EachViewportShowsTheModelAtItsOwnZoom) {
    renderer->Paint(layoutView(), session.ModelScene());
    const Image image = gl->readPixels();
    EXPECT_TRUE(redNear(image, 100, 50));   // the default viewport, 1 mm per unit
    EXPECT_TRUE(redNear(image, 150, 15));   // the second: model x 190
    EXPECT_FALSE(redNear(image, 50, 15));   // model x -10: past the line's start
    EXPECT_TRUE(isWhite(at(image, 100, 100)));
    EXPECT_TRUE(isWhite(at(image, 10, 150)));  // paper outside the viewports
    const Rgba beyond = image.pixel(5, kHeight / 2);  // beside the sheet
    EXPECT_TRUE(beyond.r == beyond.g && beyond.r > 60 && beyond.r < 200) << beyond;
    // The model window each viewport shows follows its zoom.
    const mmRect w = layoutView().ViewportOfSlot(1)->modelWindow;
    EXPECT_NEAR(w.maxX - w.minX, 280, 1e-6);
    EXPECT_NEAR((w.minX + w.maxX) / 2, 110, 1e-6);
}

TEST_F(LayoutGl, ExportPictureHasNoSheetAndTiledExportMagnifies) {
    std::string error;
    const std::optional<Image> picture =
        RenderViewPicture(layoutView(), session.ModelScene(), host, &error);
    ASSERT_TRUE(picture) << error;
    ASSERT_EQ(picture->width, kWidth);
    EXPECT_TRUE(isWhite(picture->pixel(5, kHeight / 2)));  // no grey around the sheet
    EXPECT_FALSE(layoutView().renderForOutput);
    const std::optional<Image> tiled =
        RenderTiledPicture(layoutView(), session.ModelScene(), 4, host, &error);
    ASSERT_TRUE(tiled) << error;
    EXPECT_EQ(tiled->width, 4 * kWidth);
    EXPECT_EQ(tiled->height, 4 * kHeight);
    // The tiled picture is the plain one four times larger: the line at paper y = 50 is where
    // four times the plain picture's row puts it.
    int plainRow = -1;
    for (int y = 0; y < kHeight && plainRow < 0; ++y) {
        const Rgba c = picture->pixel(kWidth / 2, y);
        if (c.r > 200 && c.g < 80) plainRow = y;
    }
    ASSERT_GE(plainRow, 0);
    bool found = false;
    for (int y = 4 * plainRow - 6; y <= 4 * plainRow + 10 && !found; ++y) {
        const Rgba c = tiled->pixel(2 * kWidth, y);
        found = c.r > 200 && c.g < 80;
    }
    EXPECT_TRUE(found);
}

}  // namespace
