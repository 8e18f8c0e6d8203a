// Pixels of hatches, texts and splines drawn through OpenGL into an offscreen framebuffer: the
// even-odd stencil fill, holes and counters, the stencil left clear between fills, pattern lines
// clipped by the even-odd rule, and spline curves with well-formed and malformed knots.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <filesystem>

#include "TestGlyphs.h"
#include "support/GlCanvas.h"
#include "entities/Circle.h"
#include "entities/DrawContext.h"
#include "entities/GlDrawContext.h"
#include "entities/Hatch.h"
#include "entities/Line.h"
#include "entities/Polyline.h"
#include "entities/Spline.h"
#include "entities/Text.h"
#include "platform/HeadlessGL.h"

using kestrel::platform::Image;
using kestrel::platform::Rgba;

namespace {

struct FillFixture : GlCanvasTest {
    void draw(mmObject& e, int mode = kDrawNormal) {
        dc.Color(0, 0, 1);
        dc.LineWidth(1);
        e.Draw(dc, kView, mode, 1.0f, prim::kLineStrip, {}, true);
    }
};

bool blue(const Rgba& c) { return c.r == 0 && c.g == 0 && c.b == 255; }
bool red(const Rgba& c) { return c.r == 255 && c.g == 0 && c.b == 0; }

std::shared_ptr<mmCircle> circle(double cx, double cy, double r) {
    auto c = std::make_shared<mmCircle>();
    c->AddPoint(cx, cy);
    c->SetRadius(r);
    return c;
}

std::shared_ptr<mmHatch> hatchOf(std::initializer_list<mmObjectPtr> loops) {
    auto h = std::make_shared<mmHatch>();
    for (const mmObjectPtr& e : loops) h->AddBoundary(e, h->AddLoop());
    h->RebuildFill();
    return h;
}

std::shared_ptr<mmPolyline> square(double x0, double y0, double size) {
    auto p = std::make_shared<mmPolyline>();
    for (const mmVertex& v : {mmVertex(x0, y0), mmVertex(x0 + size, y0),
                              mmVertex(x0 + size, y0 + size), mmVertex(x0, y0 + size)})
        p->AddPoint(v.x, v.y);
    p->closed = true;
    p->UpdateGrips();
    p->UpdateExtents();
    return p;
}

std::shared_ptr<mmSpline> arch(std::vector<double> knots = {0, 0, 0, 0, 1, 1, 1, 1}) {
    auto s = std::make_shared<mmSpline>();
    for (const mmVertex& v : {mmVertex(20, 20), mmVertex(60, 130), mmVertex(140, 130), mmVertex(180, 20)})
        s->AddPoint(v.x, v.y);
    s->knots = std::move(knots);
    s->UpdateExtents();
    return s;
}

std::shared_ptr<mmText> text(const std::string& s, double height, double x, double y,
                             mmGlyphTablePtr table, uint32_t color = 0x0000FF) {
    auto t = std::make_shared<mmText>();
    t->CreateText(s, table);
    t->SetHeight(height, table);
    t->SetInsertionPoint(x, y);
    t->SetColor(color, 1, nullptr);
    return t;
}

}  // namespace

TEST_F(FillFixture, TwoNestedCircleLoopsDrawARing) {
    auto ring = hatchOf({circle(100.5, 75.5, 60), circle(100.5, 75.5, 30)});
    draw(*ring);
    const Image image = capture();
    EXPECT_TRUE(white(at(image, 100, 75)));        // the inner disc stays empty
    EXPECT_TRUE(blue(at(image, 100, 75 + 45)));    // between the circles
    EXPECT_TRUE(blue(at(image, 100 - 45, 75)));
    EXPECT_TRUE(white(at(image, 100, 75 + 70)));   // outside
    EXPECT_TRUE(white(at(image, 10, 10)));         // inside the cover quad, outside the ring
}

TEST_F(FillFixture, TextAndHatchFillTheirInkAndLeaveHolesAndOutsideClear) {
    // Synthetic "O" of height 70 at (10, 10): ink 10..70 by 10..80, counter 20..60 by 20..70.
    auto o = text("O", 70.0, 10, 10, SyntheticGlyphTable());
    auto frame = hatchOf({square(110, 20, 80), circle(150, 60, 20)});
    draw(*o);
    draw(*o);  // the second draw calls the compiled list
    draw(*frame);
    const Image image = capture();
    EXPECT_TRUE(red(at(image, 15, 45)));     // text fill
    EXPECT_TRUE(white(at(image, 40, 45)));   // text counter
    EXPECT_TRUE(white(at(image, 5, 45)));    // outside the text
    int pale = 0;  // the outline shows along the left edge, half outside the fill
    for (int x = 8; x <= 11; ++x) {
        const Rgba c = at(image, x, 45);
        pale += c.r == 255 && c.g > 150 && c.g < 210 && c.g == c.b;
    }
    EXPECT_GE(pale, 1);
    EXPECT_TRUE(blue(at(image, 115, 60)));   // hatch fill
    EXPECT_TRUE(white(at(image, 150, 60)));  // hatch hole
    EXPECT_TRUE(white(at(image, 150, 110))); // outside the hatch
    EXPECT_TRUE(white(at(image, 105, 60)));

    // Highlighted, the fill is a white dot pattern: some of the text's ink shows through.
    clear();
    draw(*o);
    draw(*o, kDrawHighlight);
    const Image lit = capture("-highlight");
    int whiteInInk = 0, redInInk = 0;
    for (int y = 12; y < 20; ++y)
        for (int x = 12; x < 20; ++x) {
            whiteInInk += white(at(lit, x, y));
            redInInk += red(at(lit, x, y));
        }
    EXPECT_GT(whiteInInk, 10);
    EXPECT_GT(redInInk, 10);
}

TEST_F(FillFixture, PinnedFontTextHasOpenCounters) {
    auto pinned = PinnedGlyphTable();
    if (!pinned) GTEST_SKIP() << "font not installed: " << kPinnedFont;
    auto t = text("HO", 60.0, 20, 40, pinned);
    draw(*t);
    const Image image = capture();
    const mmGlyph& h = pinned->glyphs['H'];
    const double s = 60.0 / pinned->ReferenceHeight();
    const int stemX = static_cast<int>(20 + s * (h.inkMinX - h.originX) + 3);
    EXPECT_TRUE(red(at(image, stemX, 70)));                           // the H's left stem
    const double oLeft = 20 + s * (h.advanceX - h.originX + pinned->glyphs['O'].inkMinX);
    const double oRight = 20 + s * (h.advanceX - h.originX + pinned->glyphs['O'].inkMaxX);
    EXPECT_TRUE(white(at(image, static_cast<int>((oLeft + oRight) / 2), 70)));  // the O's counter
    EXPECT_TRUE(white(at(image, 10, 70)));
}

TEST_F(FillFixture, FillsLeaveTheStencilClearAndMatchAClearBeforeEachFill) {
    auto table = SyntheticGlyphTable();
    std::vector<mmObjectPtr> scene = {
        hatchOf({circle(60, 60, 50), circle(70, 60, 20)}),
        text("OWA", 30.0, 20, 30, table),
        hatchOf({square(40, 40, 60), square(60, 60, 60)}),  // overlapping loops: even-odd
        text("O", 60.0, 110, 20, table, 0x00FF00),
    };
    for (const auto& e : scene) draw(*e, kDrawNormal);
    const Image fast = capture("-fast");
    std::vector<uint8_t> stencil(kWidth * kHeight, 0xAA);
    glReadPixels(0, 0, kWidth, kHeight, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, stencil.data());
    EXPECT_EQ(std::count(stencil.begin(), stencil.end(), 0), kWidth * kHeight);

    clear();
    for (const auto& e : scene) {
        dc.StencilContentsUnknown();  // forces a full clear before the fill
        draw(*e, kDrawNormal);
    }
    const Image cleared = capture("-cleared");
    EXPECT_EQ(fast.rgba, cleared.rgba);
}

TEST_F(FillFixture, SplineCurveIsDrawnAndMalformedKnotsDrawNothing) {
    auto good = arch();
    draw(*good);
    const Image image = capture();
    int ink = 0, high = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (!white(at(image, x, y))) {
                ++ink;
                high += y > 110;  // the curve peaks at 102.5, below its control polygon
            }
    EXPECT_GT(ink, 150);
    EXPECT_EQ(high, 0);

    clear();
    for (auto knots : {std::vector<double>{0, 0, 0, 0, 1, 1, 1}, std::vector<double>{},
                       std::vector<double>{0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1}})
        draw(*arch(knots));
    const Image none = capture("-malformed");
    int stray = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) stray += !white(at(none, x, y));
    EXPECT_EQ(stray, 0);
}

TEST_F(FillFixture, SplineBoundaryFillsThroughTheOpenFan) {
    auto base = std::make_shared<mmLine>();
    base->AddPoint(180, 20);
    base->AddPoint(20, 20);
    base->UpdateExtents();
    auto h = std::make_shared<mmHatch>();
    const int loop = h->AddLoop();
    h->AddBoundary(arch(), loop);
    h->AddBoundary(base, loop);
    h->RebuildFill();
    draw(*h);
    const Image image = capture();
    EXPECT_TRUE(blue(at(image, 100, 60)));
    EXPECT_TRUE(blue(at(image, 100, 95)));
    EXPECT_TRUE(white(at(image, 100, 115)));  // above the curve, inside the cover quad
    EXPECT_TRUE(white(at(image, 100, 10)));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// A pattern draws its lines in the hatch's colour inside the square and around the hole, and
// leaves the ground between them, the hole and the outside as they were.
TEST_F(FillFixture, PatternLinesInsideTheSquareAndOutsideItsHole) {
    auto h = hatchOf({square(20, 10, 160), circle(100, 75, 35)});
    h->solidFill = false;
    mmHatchPatternLine line;  // horizontal, 4 apart, on pixel centres
    line.baseY = 0.5;
    line.offsetY = 4;
    h->patternLines = {line};
    h->PatternChanged();
    draw(*h);
    const Image image = capture();
    EXPECT_TRUE(blue(at(image, 30, 76)));    // a line, left of the hole
    EXPECT_TRUE(blue(at(image, 170, 76)));   // the same line, right of it
    EXPECT_TRUE(white(at(image, 100, 76)));  // cut by the hole
    EXPECT_TRUE(white(at(image, 30, 78)));   // between two lines: not filled
    EXPECT_TRUE(white(at(image, 10, 76)));   // outside the square
    EXPECT_TRUE(white(at(image, 190, 76)));
    EXPECT_TRUE(blue(at(image, 100, 124)));  // above the hole
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
