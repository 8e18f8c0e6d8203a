// Pixels of texts drawn through OpenGL into an offscreen framebuffer: the same pixels as the
// texts' geometry compiled into display lists of their own (as every text had before glyphs were
// placed at each draw), justified, rotated and oblique, multi-line and wrapped texts where their
// ink must be, and Polish and Chinese characters drawn.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>

#include "TestGlyphs.h"
#include "entities/Geometry.h"
#include "entities/MText.h"
#include "entities/Text.h"
#include "support/GlCanvas.h"

using kestrel::platform::Image;
using kestrel::platform::Rgba;

namespace {

struct TextGl : GlCanvasTest {
    // The text as it was drawn before: both looks compiled into a pair of lists of its own,
    // called at its origin.
    void drawThroughOwnLists(const mmText& t, int mode) {
        const uint32_t base = dc.GenLists(2);
        dc.NewList(base);
        t.EmitGlyphs(dc, kDrawNormal);
        dc.EndList();
        dc.NewList(base + 1);
        t.EmitGlyphs(dc, kDrawHighlight);
        dc.EndList();
        const mmVertex origin = t.DrawOrigin();
        dc.PushMatrix();
        dc.Translate(origin.x, origin.y);
        if (mode == kDrawNormal) {
            dc.CallList(base);
        } else {
            dc.PolygonStipple(t.highlightStipple);
            dc.CallList(base + 1);
        }
        dc.PopMatrix();
        dc.DeleteLists(base, 2);
    }

    int inkIn(const Image& image, const mmRect& r) {
        int n = 0;
        for (int y = static_cast<int>(r.minY); y <= static_cast<int>(r.maxY); ++y)
            for (int x = static_cast<int>(r.minX); x <= static_cast<int>(r.maxX); ++x)
                if (x >= 0 && y >= 0 && x < kWidth && y < kHeight) n += dark(at(image, x, y));
        return n;
    }
};

std::shared_ptr<mmText> text(const std::string& s, double height, double x, double y,
                             double rotation, uint32_t color, mmGlyphTablePtr table) {
    auto t = std::make_shared<mmText>();
    t->CreateText(s, table);
    t->SetHeight(height, nullptr);
    t->SetRotation(rotation, nullptr);
    t->SetInsertionPoint(x, y);
    t->SetColor(color, 1, nullptr);
    return t;
}

}  // namespace

TEST_F(TextGl, GlyphsPlacedAtEachDrawGiveThePixelsOfTheTextsOwnLists) {
    auto pinned = PinnedGlyphTable();
    if (!pinned) GTEST_SKIP() << "font not installed: " << kPinnedFont;
    auto synthetic = SyntheticGlyphTable();
    const std::vector<std::shared_ptr<mmText>> texts = {
        text("Plan 1:100", 11.0, 3.3, 130.7, 0.0, 0x0000FF, pinned),
        text("WAO", 17.0, 120.2, 120.1, 0.0, 0xFFFFFF, synthetic),
        text("\xc3\x89tage 3 \xe2\x82\xac", 9.5, 10.0, 100.0, 0.0, 0x00AA00, pinned),
        text("Rotated", 14.0, 60.4, 40.6, 30.0, 0xFF0000, pinned),
        text("gjpq@%", 13.0, 190.0, 10.0, 137.5, 0x123456, pinned),
        text("OAW", 25.0, 20.0, 20.0, -12.0, 0x00FFFF, synthetic),
        text("Tiny but readable", 3.0, 100.0, 80.0, 0.0, 0x000000, pinned),
    };
    for (int mode : {kDrawNormal, kDrawHighlight}) {
        SCOPED_TRACE(mode);
        clear();
        for (const auto& t : texts) {
            if (mode == kDrawHighlight) {
                dc.Color(0, 0, 0);
                drawThroughOwnLists(*t, kDrawNormal);
            }
            drawThroughOwnLists(*t, mode);
        }
        const Image lists = capture(mode ? "-lists-highlight" : "-lists");

        clear();
        dc.SetBatching(true);
        for (const auto& t : texts) {
            if (mode == kDrawHighlight)
                t->Draw(dc, kView, kDrawNormal, 1.0f, prim::kLineStrip, {}, true);
            t->Draw(dc, kView, mode, 1.0f, prim::kLineStrip, {}, true);
        }
        dc.SetBatching(false);
        const Image placed = capture(mode ? "-placed-highlight" : "-placed");
        int differ = 0;
        for (std::size_t i = 0; i < lists.rgba.size(); ++i)
            differ += lists.rgba[i] != placed.rgba[i];
        EXPECT_EQ(differ, 0);
        int ink = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                ink += !white(at(placed, x, y));
        EXPECT_GT(ink, 1000);
    }
}

TEST_F(TextGl, JustifiedTextsPutTheirInkAtTheAlignmentPoint) {
    auto pinned = PinnedGlyphTable();
    if (!pinned) GTEST_SKIP() << "font not installed: " << kPinnedFont;
    struct Case {
        int h, v;
        double left, right, bottom, top;  // where the ink must reach, around (100, 75)
    };
    // "HH" of height 20: the ink is 37 wide; the descender reaches 6.2 below the baseline.
    const Case cases[] = {
        {kTextCenter, kTextVerticalMiddle, 81.5, 118.5, 65, 85},
        {kTextRight, kTextTop, 63, 100, 55, 75},
        {kTextMiddle, kTextBaseline, 81.5, 118.5, 65, 85},
        {kTextLeft, kTextBottom, 100, 137, 81.2, 101.2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.h * 10 + c.v);
        clear();
        auto t = text("HH", 20.0, 0, 0, 0.0, 0x000000, pinned);
        t->SetJustification(c.h, c.v, nullptr);
        t->SetAlignmentPoint(100, 75);
        t->Draw(dc, kView, kDrawNormal, 1.0f, prim::kLineStrip, {}, true);
        const Image image = capture("-" + std::to_string(c.h) + std::to_string(c.v));
        EXPECT_GT(inkIn(image, {c.left + 1, c.bottom + 1, c.left + 3, c.top - 1}), 20);
        EXPECT_GT(inkIn(image, {c.right - 3, c.bottom + 1, c.right - 1, c.top - 1}), 20);
        EXPECT_EQ(inkIn(image, {c.left - 4, c.bottom - 4, c.left - 2, c.top + 4}), 0);
        EXPECT_EQ(inkIn(image, {c.right + 2, c.bottom - 4, c.right + 4, c.top + 4}), 0);
        EXPECT_EQ(inkIn(image, {c.left, c.top + 2, c.right, c.top + 4}), 0);
        EXPECT_EQ(inkIn(image, {c.left, c.bottom - 4, c.right, c.bottom - 2}), 0);
    }
}

TEST_F(TextGl, RotatedObliqueTextLeansAlongItsBaseline) {
    // Synthetic "A" of height 70 (a 60 x 70 block) leaning 30 degrees, turned 90 degrees about
    // (130, 20): its foot is the segment x = 130, y 20..80; its top x = 60, y 60.4..120.4.
    auto t = text("A", 70.0, 130, 20, 90.0, 0x000000, SyntheticGlyphTable());
    ASSERT_TRUE(t->SetOblique(30.0, nullptr));
    t->Draw(dc, kView, kDrawNormal, 1.0f, prim::kLineStrip, {}, true);
    const Image image = capture();
    EXPECT_TRUE(dark(at(image, 125, 25)));  // near the foot's start
    EXPECT_TRUE(white(at(image, 65, 25)));  // under the lean
    EXPECT_TRUE(dark(at(image, 65, 110)));  // the top, moved along the baseline
    EXPECT_TRUE(white(at(image, 125, 110)));
    EXPECT_NEAR(t->extents.maxY, 20 + 70 + 70 * std::tan(30 * kDegToRad) - 10, 10.5);
}

TEST_F(TextGl, MultiLineTextDrawsItsParagraphsAndWrapsAtItsWidth) {
    auto table = SyntheticGlyphTable();
    auto m = std::make_shared<mmMText>();
    m->CreateText("A\\PA {\\C1;A}", table);  // two paragraphs; the second wraps into two lines
    m->SetHeight(20.0, nullptr);
    m->rectangleWidth = 30.0;
    m->SetInsertionPoint(20, 140);
    m->SetColor(0, 7, nullptr);
    ASSERT_EQ(m->LineCount(), 3u);
    m->Draw(dc, kView, kDrawNormal, 1.0f, prim::kLineStrip, {}, true);
    const Image image = capture();
    // Baselines 120, 86.7 and 53.3 (5/3 of the height apart); capitals 20 high.
    for (double base : {120.0, 120.0 - 100.0 / 3, 120.0 - 200.0 / 3}) {
        SCOPED_TRACE(base);
        EXPECT_TRUE(dark(at(image, 25, static_cast<int>(base + 10))));
        EXPECT_TRUE(white(at(image, 25, static_cast<int>(base - 4))));
        EXPECT_TRUE(white(at(image, 45, static_cast<int>(base + 10)))) << "one word a line";
    }
}

TEST_F(TextGl, PolishAndChineseTextsAreDrawn) {
    auto table = PinnedGlyphTableWithFallback();
    if (!table) GTEST_SKIP() << "fonts not installed: " << kPinnedFont << ", " << kPinnedCjkFont;
    auto polish = text(
        "\xc5\x81\xc3\xb3"
        "d\xc5\xba \xc5\xbc\xc3\xb3\xc5\x82w",
        20.0, 10, 100, 0.0, 0x000000, table);
    auto chinese = text("\xe4\xb8\xad\xe6\x96\x87", 30.0, 10, 20, 0.0, 0x000000, table);
    for (const auto& t : {polish, chinese})
        t->Draw(dc, kView, kDrawNormal, 1.0f, prim::kLineStrip, {}, true);
    const Image image = capture();
    EXPECT_GT(chinese->extents.maxX - chinese->extents.minX, 50.0) << "two wide characters";
    EXPECT_GT(inkIn(image, polish->extents), 150);
    EXPECT_GT(inkIn(image, chinese->extents), 300);
    // The stroke of the L: ink left of the first character's middle.
    EXPECT_GT(inkIn(image, {10, 101, 13, 118}), 10);
}
