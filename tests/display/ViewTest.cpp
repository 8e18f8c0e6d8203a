// The view model on its own: start-up pan, wheel zoom about the cursor, zoom scale, zoom window,
// zoom extents with the origin shift, the readout, and the texture tile layout.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "display/TextureCache.h"
#include "display/View.h"
#include "entities/Line.h"

namespace {

struct ViewFixture : ::testing::Test {
    mmOriginOffset origin;
    mmView view{origin};

    void SetUp() override { view.Resize(800, 600); }

    // Window pixel of a display point through the kept matrices.
    std::pair<int, int> pixel(double x, double y) const {
        int px = 0, py = 0;
        EXPECT_TRUE(view.worldToScreen(x, y, view.Matrices(), px, py));
        return {px, py};
    }

    mmEntityList lines(std::initializer_list<mmRect> segments) const {
        mmEntityList list;
        for (const mmRect& r : segments) {
            auto line = std::make_shared<mmLine>();
            line->AddPoint(r.minX, r.minY);
            line->AddPoint(r.maxX, r.maxY);
            line->UpdateExtents();
            list.push_back(line);
        }
        return list;
    }
};

}  // namespace

TEST_F(ViewFixture, StartUpPanPutsTheOriginNearTheLowerLeft) {
    view.Resize(1000, 700);
    EXPECT_EQ(view.panX[0], -475);  // trunc(-(1000 / 2) * 0.95)
    EXPECT_EQ(view.panY[0], 315);   // trunc((700 / 2) * 0.9)
    EXPECT_DOUBLE_EQ(view.ActiveZoomScale(), kInitialZoomScale);
    EXPECT_EQ(pixel(0, 0), std::make_pair(25, 665));
    // Once the user has zoomed, a resize keeps the view where it is.
    view.zoomAtCursor(kWheelNotch);
    const double pan = view.panX[0];
    view.Resize(1200, 800);
    EXPECT_EQ(view.panX[0], pan);
}

TEST_F(ViewFixture, WheelZoomKeepsThePointUnderTheCursor) {
    const struct {
        int delta;
        double factor;
    } cases[] = {{120, 1.224}, {-120, 1.0 / 1.224}, {240, 2.448}};
    for (const auto& c : cases) {
        view.SetMousePosition(310, 170);
        const mmVertex under = view.screenToWorld(310, 170);
        const double before = view.ActiveZoomScale();
        view.zoomAtCursor(c.delta);
        EXPECT_NEAR(view.ActiveZoomScale() / before, c.factor, 1e-12) << c.delta;
        EXPECT_EQ(pixel(under.x, under.y), std::make_pair(310, 170)) << c.delta;
        EXPECT_TRUE(view.needsFullRedraw);
    }
    const double before = view.ActiveZoomScale();
    view.zoomAtCursor(0);
    EXPECT_EQ(view.ActiveZoomScale(), before);
}

// Zoom shifts grow with the zoom and the distance from the origin: kept in single precision they
// would move the point under the cursor by pixels once a drawing near 9000 is zoomed in closely.
TEST_F(ViewFixture, DeepZoomFarFromTheOriginStaysUnderTheCursor) {
    view.zoomWindow(8999, 8999, 9001, 9001, 0);
    view.SetMousePosition(401, 299);
    const mmVertex under = view.screenToWorld(401, 299);
    for (int i = 0; i < 20; ++i) view.zoomAtCursor(kWheelNotch);
    EXPECT_GT(view.ActiveZoomScale(), 1e4);
    EXPECT_EQ(pixel(under.x, under.y), std::make_pair(401, 299));
}

TEST_F(ViewFixture, SetZoomScaleKeepsTheWindowCentre) {
    const mmVertex centre = view.screenToWorld(400, 300);
    EXPECT_TRUE(view.setZoomScale(2.5));
    EXPECT_EQ(view.ActiveZoomScale(), 2.5);
    EXPECT_EQ(pixel(centre.x, centre.y), std::make_pair(400, 300));
    for (double bad : {0.0, -1.0, double(INFINITY), double(NAN)}) EXPECT_FALSE(view.setZoomScale(bad)) << bad;
    EXPECT_EQ(view.ActiveZoomScale(), 2.5);
}

TEST_F(ViewFixture, ZoomWindowFitsTheRectangle) {
    view.zoomWindow(100, 100, 300, 200, 10);
    // Width limits: 200 units in 800 - 40 pixels.
    EXPECT_NEAR(view.ActiveZoomScale(), 760.0 / 200.0, 0.05);
    const auto [ax, ay] = pixel(100, 100);
    const auto [bx, by] = pixel(300, 200);
    EXPECT_NEAR(ax, 20, 1);
    EXPECT_NEAR(bx, 780, 1);
    EXPECT_NEAR((ay + by) / 2.0, 300, 1);
}

TEST_F(ViewFixture, ZoomWindowOnOnePixelKeepsTheScale) {
    const double before = view.ActiveZoomScale();
    view.zoomWindow(5, 5, 5, 5, 0);
    EXPECT_EQ(view.ActiveZoomScale(), before);
    EXPECT_EQ(pixel(5, 5), std::make_pair(400, 300));  // still centred
    view.zoomWindow(0, 5, 50, 5, 0);                    // a horizontal line: its length fits
    EXPECT_NEAR(view.ActiveZoomScale(), 800.0 / 50.0, 0.5);
}

TEST_F(ViewFixture, ZoomExtentsOfAnEmptyModelChangesNothing) {
    const double scale = view.ActiveZoomScale();
    const double pan = view.panX[0];
    EXPECT_FALSE(view.zoomExtents({}));
    mmEntityList erased = lines({{0, 0, 10, 10}});
    erased[0]->erased = true;
    EXPECT_FALSE(view.zoomExtents(erased));
    EXPECT_EQ(view.ActiveZoomScale(), scale);
    EXPECT_EQ(view.panX[0], pan);
    EXPECT_FALSE(origin.shifted);
}

TEST_F(ViewFixture, FarDrawingIsShiftedAndTheReadoutShowsTrueCoordinates) {
    EXPECT_TRUE(view.zoomExtents(lines({{20000, 30000, 20100, 30050}})));
    EXPECT_TRUE(origin.shifted);
    // GL gets small values: the drawing's corner is near display (0, 0), inside the window.
    EXPECT_LT(std::abs(20000 - origin.x), 100);
    EXPECT_LT(std::abs(30000 - origin.y), 100);
    const auto [px, py] = pixel(20000 - origin.x, 30000 - origin.y);
    EXPECT_NEAR(px, 20, 1);  // margin 10 on each side, twice over
    view.SetMousePosition(px, py);
    const mmVertex cursor = view.CursorInDrawing();
    EXPECT_NEAR(cursor.x, 20000, 0.5);
    EXPECT_NEAR(cursor.y, 30000, 0.5);
    EXPECT_EQ(view.CoordinateText(), FormatCoordinates(cursor.x, cursor.y));

    // Back near the origin: no shift at all.
    EXPECT_TRUE(view.zoomExtents(lines({{5, 5, 40, 30}})));
    EXPECT_FALSE(origin.shifted);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
}

// The offset followed the extents only: a survey drawing with a title block at (0, 0) was drawn
// with coordinates near 6.5e6 in GL, where a float resolves 0.5 units. Wherever the view goes,
// the visible centre stays near the GL origin, and the picture and the readout stay true.
TEST_F(ViewFixture, RegressionOriginFollowsTheVisiblePart) {
    const mmEntityList survey = lines({{0, 0, 100, 60}, {6.5e6, 6.5e6, 6.5e6 + 1, 6.5e6 + 1}});
    EXPECT_TRUE(view.zoomExtents(survey));
    const auto glNear = [&] {
        const mmVertex c = view.screenToWorld(400, 300);
        return std::abs(c.x) * view.ActiveZoomScale() <= 1e5 &&
               std::abs(c.y) * view.ActiveZoomScale() <= 1e5;
    };
    EXPECT_TRUE(glNear());
    EXPECT_TRUE(view.zoomWindow(6.5e6 - origin.x, 6.5e6 - origin.y, 6.5e6 + 1 - origin.x,
                                6.5e6 + 1 - origin.y, 0));
    EXPECT_NEAR(view.ActiveZoomScale(), 600, 1e-9);
    EXPECT_TRUE(glNear());
    EXPECT_EQ(pixel(6.5e6 + 0.5 - origin.x, 6.5e6 + 0.5 - origin.y), std::make_pair(400, 300));
    view.SetMousePosition(400, 300);
    EXPECT_NEAR(view.CursorInDrawing().x, 6.5e6 + 0.5, 1e-6);
    // Panning and wheel zooming keep it near, and every step keeps the picture in place.
    for (int i = 0; i < 200; ++i) {
        const mmVertex before = view.screenToWorld(100, 100);
        const mmOriginOffset was = origin;
        view.panBy(700, 0);
        EXPECT_EQ(pixel(before.x + was.x - origin.x, before.y + was.y - origin.y),
                  std::make_pair(800, 100));
        EXPECT_TRUE(glNear());
    }
    for (int i = 0; i < 40; ++i) view.zoomAtCursor(kWheelNotch);
    EXPECT_TRUE(glNear());
    EXPECT_TRUE(view.zoomExtents(survey));
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
}

// zoom s 1e308 then 1e-300 left NaN zoom shifts that no ZOOM recovered from; scales outside the
// range are refused, and the ends of the range give finite, exact views.
TEST_F(ViewFixture, RegressionZoomScaleStaysInItsRange) {
    for (double bad : {1e308, 1e-300, 1e20, kMaxZoomScale * 1.5, kMinZoomScale / 1.5})
        EXPECT_FALSE(view.setZoomScale(bad)) << bad;
    EXPECT_EQ(view.ActiveZoomScale(), kInitialZoomScale);
    for (double end : {kMaxZoomScale, kMinZoomScale, kInitialZoomScale}) {
        const mmVertex centre = view.screenToWorld(400, 300);
        const mmOriginOffset was = origin;
        EXPECT_TRUE(view.setZoomScale(end));
        EXPECT_TRUE(std::isfinite(view.zoomShiftX[0]) && std::isfinite(view.zoomShiftY[0]));
        EXPECT_EQ(pixel(centre.x + was.x - origin.x, centre.y + was.y - origin.y),
                  std::make_pair(400, 300))
            << end;
    }
    // The wheel stops at the ends.
    EXPECT_TRUE(view.setZoomScale(kMaxZoomScale));
    view.zoomAtCursor(kWheelNotch);
    EXPECT_EQ(view.ActiveZoomScale(), kMaxZoomScale);
    EXPECT_TRUE(view.setZoomScale(kMinZoomScale));
    view.zoomAtCursor(-kWheelNotch);
    EXPECT_EQ(view.ActiveZoomScale(), kMinZoomScale);
    // A window too small or too wide for the range changes nothing.
    EXPECT_FALSE(view.zoomWindow(0, 0, 1e-9, 1e-9, 0));
    EXPECT_FALSE(view.zoomWindow(0, 0, 1e12, 1e12, 0));
    EXPECT_EQ(view.ActiveZoomScale(), kMinZoomScale);
}

// Far out, the drawing fell inside one pixel, the fit factors came out infinite and zoom extents
// only panned; fitted in drawing units it always shows the whole drawing.
TEST_F(ViewFixture, RegressionZoomExtentsAfterZoomingFarOut) {
    EXPECT_TRUE(view.setZoomScale(kMinZoomScale));
    EXPECT_TRUE(view.zoomExtents(lines({{0, 0, 100, 50}})));
    EXPECT_NEAR(view.ActiveZoomScale(), 760.0 / 100.0, 1e-12);
    EXPECT_EQ(pixel(0, 25), std::make_pair(20, 300));
    EXPECT_EQ(pixel(100, 25), std::make_pair(780, 300));
    // A window smaller than a pixel zooms to it as well.
    EXPECT_TRUE(view.zoomWindow(10, 10, 10.001, 10.0005, 0));
    EXPECT_NEAR(view.ActiveZoomScale(), 800.0 / 0.001, 1e-6);
}

// At 10,000 pixels per unit a point 3e5 units away wrapped to -1.29e9 pixels in int, so a click
// on a visible line from there missed.
TEST_F(ViewFixture, RegressionFarPixelsDoNotWrap) {
    EXPECT_TRUE(view.zoomWindow(-0.04, -0.03, 0.04, 0.03, 0));
    EXPECT_NEAR(view.ActiveZoomScale(), 1e4, 1e-6);
    const auto [fx, fy] = pixel(3e5, 0);
    EXPECT_GT(fx, 1 << 29);
    EXPECT_EQ(fy, 300);
    const mmEntityList line = lines({{0, 0, 3e5, 1e5}});
    const auto [px, py] = pixel(0.01, 0.01 / 3);
    EXPECT_TRUE(line[0]->HitTest(px, py, view.VisibleWindow(), view.Matrices(),
                                 static_cast<float>(view.ActiveZoomScale()), {}, true));
}

TEST(CoordinateReadout, FourDecimalsWithABlankAfterTheComma) {
    EXPECT_EQ(FormatCoordinates(12.5, -3.0), u"12.5000, -3.0000");
    EXPECT_EQ(FormatCoordinates(1e15, 0.00004), u"1000000000000000.0000, 0.0000");
}

TEST(TextureCache, TileLayout) {
    const struct {
        int w, h, max, tile, columns, rows;
    } cases[] = {
        {1000, 700, 2048, 512, 2, 2},
        {1920, 1080, 16384, 1024, 2, 2},
        {300, 200, 256, 128, 3, 2},
    };
    for (const auto& c : cases) {
        const mmTileLayout t = ComputeTileLayout(c.w, c.h, c.max);
        EXPECT_EQ(t.tile, c.tile) << c.w << "x" << c.h;
        EXPECT_EQ(t.columns, c.columns) << c.w << "x" << c.h;
        EXPECT_EQ(t.rows, c.rows) << c.w << "x" << c.h;
    }
}
