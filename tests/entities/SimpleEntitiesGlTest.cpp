// Pixels of points, lines, circles and grips drawn through OpenGL into an offscreen framebuffer.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <filesystem>

#include "entities/Circle.h"
#include "entities/DrawContext.h"
#include "entities/GlDrawContext.h"
#include "entities/Line.h"
#include "platform/HeadlessGL.h"
#include "support/GlCanvas.h"

using kestrel::platform::Image;
using kestrel::platform::Rgba;

namespace {

using GlFixture = GlCanvasTest;

}  // namespace

TEST_F(GlFixture, ThinCircleWideLineRingAndGrips) {
    mmCircle thin;
    thin.AddPoint(50.5, 75.5);
    thin.SetRadius(30);
    mmLine wide;
    wide.lineWidth = 7;
    wide.AddPoint(110, 20.5);
    wide.AddPoint(190, 20.5);
    wide.UpdateExtents();
    mmCircle ring;
    ring.lineWidth = 8;
    ring.AddPoint(150.5, 100.5);
    ring.SetRadius(25);

    dc.Color(0, 0, 0);
    dc.LineWidth(1);
    thin.Draw(dc, kView, kDrawNormal, 1.0f, prim::kLineStrip, {}, true);
    dc.LineWidth(static_cast<float>(wide.lineWidth));
    wide.Draw(dc, kView, kDrawNormal, 1.0f, prim::kLineStrip, {}, true);
    dc.LineWidth(1);
    ring.Draw(dc, kView, kDrawNormal, 1.0f, prim::kLineStrip, {}, true);
    wide.Draw(dc, kView, kDrawGrips, 1.0f, prim::kLineStrip, {}, true);
    glFinish();
    Image image = capture();

    // Thin circle: ink on the outline, none inside or just off it.
    EXPECT_TRUE(dark(at(image, 50, 105)));
    EXPECT_TRUE(white(at(image, 50, 75)));
    EXPECT_TRUE(white(at(image, 50, 108)));
    // Wide line: 7 pixels thick, so 3 pixels off the axis is still inked, 6 is not.
    EXPECT_TRUE(dark(at(image, 130, 23)));
    EXPECT_TRUE(white(at(image, 130, 27)));
    // Ring of 8 pixels around radius 25: inked at 22 and 28, clear at 18 and 31 and the centre.
    EXPECT_TRUE(dark(at(image, 150, 100 + 22)));
    EXPECT_TRUE(dark(at(image, 150, 100 + 28)));
    EXPECT_TRUE(white(at(image, 150, 100 + 18)));
    EXPECT_TRUE(white(at(image, 150, 100 + 31)));
    EXPECT_TRUE(white(at(image, 150, 100)));
    // Grip squares in blue at the line's start, midpoint and end; 11 pixels wide.
    const Rgba grip = at(image, 150, 20);
    EXPECT_LT(grip.r, 60);
    EXPECT_GT(grip.b, 180);
    EXPECT_GT(at(image, 110 + 5, 20).b, 180);
    EXPECT_FALSE(white(at(image, 110 - 5, 20)));
    EXPECT_TRUE(white(at(image, 110 - 7, 20)));
}
