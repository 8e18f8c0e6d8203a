// Pixels of the renderer in a headless context: entity colours, the cached frame with overlays
// against a full redraw (texture cache and XOR overlays), grips of large selections, and output
// renders without the view's furniture.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "commands/CommandTestSupport.h"
#include "commands/Selection.h"
#include "commands/StartupDrawing.h"
#include "commands/ViewMouse.h"
#include "display/Renderer.h"
#include "entities/Circle.h"
#include "entities/Line.h"
#include "platform/HeadlessGL.h"

using kestrel::platform::HeadlessGlContext;
using kestrel::platform::Image;
using kestrel::platform::Rgba;

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

class RendererGl : public CommandTest {
protected:
    std::unique_ptr<HeadlessGlContext> gl;
    std::unique_ptr<mmRenderer> renderer;

    void SetUp() override {
        std::string error;
        gl = HeadlessGlContext::create(kWidth, kHeight, &error);
        if (!gl) GTEST_SKIP() << "no headless OpenGL: " << error;
        PrepareStartupView(session, kWidth, kHeight);
    }

    void start(mmRendererOptions options = {}) {
        renderer = std::make_unique<mmRenderer>(host, options);
        ASSERT_TRUE(renderer->InitializeGl(session.modelView));
    }

    mmView& model() { return session.modelView; }

    Image paint(const std::string& name) {
        renderer->Paint(model(), session.ModelScene());
        Image image = gl->readPixels();
        images.emplace_back(name, image);
        return image;
    }

    // Failed tests leave their pictures in the test output folder.
    void TearDown() override {
        if (!HasFailure()) return;
        std::filesystem::create_directories(KESTREL_TEST_OUTPUT_DIR);
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        for (const auto& [name, image] : images)
            image.savePng(std::string(KESTREL_TEST_OUTPUT_DIR) + "/" + test + "-" + name + ".png");
    }

    std::shared_ptr<mmLine> addLine(double x1, double y1, double x2, double y2, uint32_t color,
                                    int width = 1) {
        auto line = std::make_shared<mmLine>();
        line->id = session.drawing.nextEntityId++;
        line->color = color;
        line->lineWidth = width;
        line->AddPoint(x1, y1);
        line->AddPoint(x2, y2);
        line->UpdateGrips();
        line->UpdateExtents();
        AddEntity(session.drawing, line);
        return line;
    }

    void select(mmObject& e) {
        e.selected = true;
        session.drawing.selection.ids.insert(e.id);
    }

    Rgba at(const Image& image, double x, double y) {
        int px = 0, py = 0;
        EXPECT_TRUE(model().worldToScreen(x, y, model().Matrices(), px, py));
        return image.pixel(px, py);
    }

    // Any pixel of the 3x3 block around a drawing point is inked.
    bool inkNear(const Image& image, double x, double y) {
        int px = 0, py = 0;
        EXPECT_TRUE(model().worldToScreen(x, y, model().Matrices(), px, py));
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const Rgba c = image.pixel(px + dx, py + dy);
                if (c.r != 255 || c.g != 255 || c.b != 255) return true;
            }
        return false;
    }

    std::vector<std::pair<std::string, Image>> images;
};

bool sameRgb(const Image& a, const Image& b) {
    if (a.width != b.width || a.height != b.height) return false;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            const Rgba p = a.pixel(x, y), q = b.pixel(x, y);
            if (p.r != q.r || p.g != q.g || p.b != q.b) return false;
        }
    return true;
}

bool isBlack(const Rgba& c) { return c.r == 0 && c.g == 0 && c.b == 0; }
bool isWhite(const Rgba& c) { return c.r == 255 && c.g == 255 && c.b == 255; }

}  // namespace

TEST_F(RendererGl, WhiteIsDrawnBlackAndNearWhiteKept) {
    start();
    model().zoomWindow(0, 0, 100, 75, 0);
    addLine(10, 20, 90, 20, 0xFFFFFF, 3);
    addLine(10, 50, 90, 50, 0xFFFFFE, 3);  // red 254, green and blue 255
    addLine(10, 60, 90, 60, 0x0000FF, 3);  // red
    const Image image = paint("colours");
    EXPECT_TRUE(isBlack(at(image, 50, 20)));
    EXPECT_EQ(at(image, 50, 50), (Rgba{254, 255, 255, at(image, 50, 50).a}));
    const Rgba red = at(image, 50, 60);
    EXPECT_EQ(red.r, 255);
    EXPECT_EQ(red.g, 0);
    EXPECT_EQ(red.b, 0);
}

TEST_F(RendererGl, OutputRendersLeaveOutTheAxisIconAndTheCursor) {
    start();
    ViewMouseMove(session, 200, 100);
    // The axis icon's X arm runs along the x axis from 7 to 50 pixels.
    const double armX = 30.0 / model().ActiveZoomScale();
    const Image view = paint("view");
    EXPECT_TRUE(inkNear(view, armX, 0));
    EXPECT_FALSE(isWhite(view.pixel(200 + 20, 100)));  // a crosshair bar
    model().renderForOutput = true;
    const Image output = paint("output");
    EXPECT_FALSE(inkNear(output, armX, 0));
    EXPECT_TRUE(isWhite(output.pixel(200 + 20, 100)));
}

// A mouse move repaints the cached scene and the overlays over it; that must look exactly like a
// full redraw, with nothing left where the cursor and the rubber band were.
TEST_F(RendererGl, CachedFramePlusOverlaysEqualsAFullRedraw) {
    const struct {
        const char* name;
        mmRendererOptions options;
    } modes[] = {{"texture", {}}, {"tiles", {false, true}}, {"xor", {true, false}}};
    for (const auto& mode : modes) {
        SCOPED_TRACE(mode.name);
        session.drawing.entities.clear();
        ReindexSpace(session.drawing);
        session.drawing.selection.ids.clear();
        start(mode.options);
        EXPECT_EQ(renderer->TextureCacheOn(), !mode.options.forceXorOverlays);
        model().zoomWindow(0, 0, 100, 75, 0);
        auto black = addLine(5, 5, 95, 70, 0xFFFFFF, 2);
        auto green = addLine(5, 70, 95, 5, 0x00FF00, 3);
        type(u"line");
        type(u"20,40");  // the rubber band runs from here to the cursor
        select(*black);  // highlighted with grips
        model().selectionWindowStarted = true;  // tints the picture from (60, 10) to the cursor
        model().selectionWindowCorner = mmVertex(60, 10);

        ViewMouseMove(session, 100, 60);
        paint(std::string(mode.name) + "-first");
        ViewMouseMove(session, 250, 180);
        EXPECT_FALSE(model().needsFullRedraw);
        const Image moved = paint(std::string(mode.name) + "-moved");
        model().requestRedraw();
        const Image full = paint(std::string(mode.name) + "-full");
        EXPECT_TRUE(sameRgb(moved, full));
        EXPECT_FALSE(isWhite(full.pixel(250 + 10, 180)));  // the cursor is where the mouse is

        // A paint without a full redraw does not draw the entities again.
        green->color = 0x0000FF;
        ViewMouseMove(session, 60, 60);
        const Rgba stale = at(paint(std::string(mode.name) + "-stale"), 80, 70 - 75 * 65.0 / 90);
        EXPECT_EQ(stale.g, 255);
        EXPECT_EQ(stale.b, 0);
        type(u"");
    }
}

TEST_F(RendererGl, SnapMarkersAreDrawnAtTheSnappedPointWhileACommandTakesPoints) {
    start();
    model().zoomWindow(0, 0, 100, 75, 0);
    const auto orange = [](const Rgba& c) { return c.r == 255 && c.g > 100 && c.g < 160 && c.b == 0; };
    const double pixel = 1.0 / model().ActiveZoomScale();
    model().snapInfo.x = 50;
    model().snapInfo.y = 40;
    model().snapMarkerShown = true;
    model().snapInfo.kind = kSnapEndpoint;
    EXPECT_FALSE(inkNear(paint("idle"), 50 - 5 * pixel, 40));  // no command: no marker
    type(u"line");
    const struct {
        int kind;
        double x, y;  // a point of the marker, in pixels from the snapped point
    } markers[] = {{kSnapEndpoint, -5, 0}, {kSnapIntersection, 3, 3}, {kSnapNearest, 0, 6}};
    for (const auto& m : markers) {
        model().snapInfo.kind = m.kind;
        model().requestRedraw();
        const Image image = paint("marker" + std::to_string(m.kind));
        int px = 0, py = 0;
        model().worldToScreen(50 + m.x * pixel, 40 + m.y * pixel, model().Matrices(), px, py);
        bool found = false;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) found |= orange(image.pixel(px + dx, py + dy));
        EXPECT_TRUE(found) << m.kind;
    }
}

TEST_F(RendererGl, GripsAreLeftOutForAThousandSelectedEntities) {
    start();
    model().zoomWindow(0, 0, 400, 300, 0);
    for (int i = 0; i < 1000; ++i) {
        const double x = (i % 40) * 10.0;
        const double y = (i / 40) * 10.0 + 20.0;
        select(*addLine(x + 2, y, x + 8, y, 0xFFFFFF));
    }
    const auto gripBlue = [](const Rgba& c) { return c.b > 180 && c.r < 60 && c.g < 60; };
    // The first line's start grip lies at (2, 20).
    EXPECT_FALSE(gripBlue(at(paint("thousand"), 2, 20)));
    mmObject& last = *session.drawing.entities.back();
    last.selected = false;
    session.drawing.selection.ids.erase(last.id);
    model().requestRedraw();
    EXPECT_TRUE(gripBlue(at(paint("999"), 2, 20)));
}

// A hovered grip is green; while it is dragged the line is drawn as the click would leave it, with
// the grip red at the cursor, and the stored line is not drawn.
TEST_F(RendererGl, GripDragShowsTheEditedFormInsteadOfTheStoredEntity) {
    start();
    model().zoomWindow(0, 0, 100, 75, 0);
    auto line = addLine(10, 20, 60, 20, 0x000000);
    SelectEntity(session, *line, true);
    const auto pixelOf = [this](double x, double y) {
        int px = 0, py = 0;
        EXPECT_TRUE(model().worldToScreen(x, y, model().Matrices(), px, py));
        return std::pair{px, py};
    };
    auto [gx, gy] = pixelOf(60, 20);
    ViewMouseMove(session, gx + 1, gy);
    const Image hovered = paint("hovered");
    const Rgba green = hovered.pixel(gx + 3, gy - 3);
    EXPECT_TRUE(green.g > 150 && green.r < 60 && green.b < 60)
        << int(green.r) << "," << int(green.g);

    ViewLeftButtonDown(session, gx + 1, gy);
    ViewLeftButtonUp(session, gx + 1, gy);
    const auto [cx, cy] = pixelOf(60, 50);
    ViewMouseMove(session, cx, cy);
    const Image dragged = paint("dragged");
    EXPECT_TRUE(inkNear(dragged, 35, 35));      // the edited form, to the cursor
    EXPECT_TRUE(isWhite(at(dragged, 40, 20)));  // not the stored line
    const Rgba red = dragged.pixel(cx + 3, cy - 3);
    EXPECT_TRUE(red.r > 150 && red.g < 60 && red.b < 60) << int(red.r) << "," << int(red.g);

    ViewLeftButtonDown(session, cx, cy);
    ViewLeftButtonUp(session, cx, cy);
    const Image applied = paint("applied");
    EXPECT_TRUE(inkNear(applied, 35, 35));
    EXPECT_TRUE(isWhite(at(applied, 40, 20)));
    EXPECT_NEAR(line->points[1].y, 50, 0.2);
}

// The scene leaves out the entity a command builds, for the overlays to draw, but they never did:
// a polyline showed only its rubber band and a text stayed invisible until the command ended.
TEST_F(RendererGl, RegressionEntityUnderConstructionIsDrawnWithTheOverlays) {
    const struct {
        const char* name;
        mmRendererOptions options;
    } modes[] = {{"texture", {}}, {"xor", {true, false}}};
    session.drawing.layers[0].color = 0x0000FF;  // red, not the grey of previews
    const auto red = [](const Rgba& c) { return c.r > 200 && c.g < 60 && c.b < 60; };
    const auto redNear = [&](const Image& image, double x, double y) {
        int px = 0, py = 0;
        EXPECT_TRUE(model().worldToScreen(x, y, model().Matrices(), px, py));
        bool found = false;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) found |= red(image.pixel(px + dx, py + dy));
        return found;
    };
    for (const auto& mode : modes) {
        SCOPED_TRACE(mode.name);
        start(mode.options);
        model().zoomWindow(0, 0, 100, 75, 0);
        type(u"pline");
        type(u"10,10");
        type(u"90,10");
        type(u"90,60");
        ViewMouseMove(session, 20, 20);
        const Image pline = paint(std::string(mode.name) + "-pline");
        EXPECT_TRUE(redNear(pline, 50, 10));
        EXPECT_TRUE(redNear(pline, 90, 35));
        type(u"");

        type(u"text");
        type(u"HHH");
        type(u"20,30");
        type(u"20");  // at the rotation prompt now
        ViewMouseMove(session, 300, 200);
        const Image text = paint(std::string(mode.name) + "-text");
        const mmRect box = session.pendingEntity->extents;
        int inked = 0;
        for (double x = box.minX; x <= box.maxX; x += 0.5)
            for (double y = box.minY; y <= box.maxY; y += 0.5) inked += red(at(text, x, y));
        EXPECT_GT(inked, 20);
        type(u"");
        session.drawing.entities.clear();
        ReindexSpace(session.drawing);
    }
}

// With a title block at (0, 0), the origin offset stayed at zero and a survey line near 6.5e6
// reached GL in single precision, where 6500000.3 is 6500000.5: zoomed in, it was drawn far off
// its place. The offset now follows the view and the line is drawn where it is.
TEST_F(RendererGl, RegressionSurveyGeometryBesideATitleBlockIsDrawnInPlace) {
    start();
    const double x0 = 6.5e6 + 0.3, y0 = 6.5e6 + 0.3;
    addLine(0, 0, 100, 70, 0x000000);
    addLine(x0, y0, x0 + 1, y0 + 1, 0x000000);
    ASSERT_TRUE(model().zoomExtents(session.drawing.entities));
    const mmOriginOffset& o = session.originOffset;
    ASSERT_TRUE(model().zoomWindow(x0 - o.x, y0 - o.y, x0 + 1 - o.x, y0 + 1 - o.y, 0));
    const Image image = paint("survey");
    for (double t : {0.2, 0.4, 0.6, 0.8}) {
        EXPECT_TRUE(inkNear(image, x0 + t - o.x, y0 + t - o.y)) << t;
        EXPECT_TRUE(isWhite(at(image, x0 + t + 0.1 - o.x, y0 + t - 0.1 - o.y))) << t;
    }
}
