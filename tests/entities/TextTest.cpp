// Texts and multi-line texts: layout, compiled looks, attachments, picking, crossing, display-list
// ownership and copies. Exact geometry comes from a synthetic font; the pinned font checks the
// real outlines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "TestGlyphs.h"
#include "entities/DrawContext.h"
#include "entities/Geometry.h"
#include "entities/MText.h"
#include "entities/RecordingDrawContext.h"
#include "entities/Text.h"
#include "support/TestView.h"

namespace {

const mmRect kEverywhere{-1e6, -1e6, 1e6, 1e6};

template <class T = mmText>
std::shared_ptr<T> makeText(const std::string& s, double height, double x, double y,
                            mmGlyphTablePtr table = SyntheticGlyphTable()) {
    auto t = std::make_shared<T>();
    t->CreateText(s, table);
    t->SetHeight(height, table);
    t->SetInsertionPoint(x, y);
    t->UpdateExtents();
    return t;
}

std::vector<mmRecordedPrimitive> drawn(mmText& t, int mode = kDrawNormal) {
    mmRecordingDrawContext dc;
    t.Draw(dc, kEverywhere, mode, 1.0f, prim::kLineStrip, {}, true);
    EXPECT_EQ(dc.errors, 0);
    return dc.primitives;
}

// Bounding box of the vertices of the primitives that pass the filter.
template <class Filter>
mmRect boundsOf(const std::vector<mmRecordedPrimitive>& prims, Filter keep) {
    mmRect r = EmptyExtents();
    for (const auto& p : prims)
        if (keep(p))
            for (const mmVertex& v : p.vertices)
                WidenRect(r, v.x, v.y);
    return r;
}

bool isMaskFan(const mmRecordedPrimitive& p) {
    return p.primitive == prim::kTriangleFan && p.stencilPhase == 1;
}

}  // namespace

TEST(TextLayout, FirstCharacterInkStartsAtTheInsertionPoint) {
    // Synthetic "W" has its ink 40 font units into its cell.
    auto t = makeText("WAO", 7.0, 100, 50);
    EXPECT_DOUBLE_EQ(t->offsetX, 0.4);
    EXPECT_DOUBLE_EQ(t->advance, 22.0);
    const mmRect ink = boundsOf(drawn(*t), isMaskFan);
    EXPECT_NEAR(ink.minX, 100.0, 1e-9);
    EXPECT_NEAR(ink.maxX, 100 + 21.1, 1e-9);
    EXPECT_NEAR(ink.minY, 50.0, 1e-9);
    EXPECT_NEAR(ink.maxY, 57.0, 1e-9);
    // The box spans the ink and the pen positions (cell start and end).
    EXPECT_NEAR(t->box.minX, -0.4, 1e-9);
    EXPECT_NEAR(t->box.maxX, 21.6, 1e-9);
    EXPECT_NEAR(t->extents.minX, 99.6, 1e-9);
    EXPECT_NEAR(t->extents.maxY, 57.0, 1e-9);

    auto pinned = PinnedGlyphTable();
    if (!pinned) GTEST_SKIP() << "font not installed: " << kPinnedFont;
    auto real = makeText("WH", 2.5, -3, 4, pinned);
    EXPECT_GT(real->offsetX, 0.0);
    const mmRect realInk = boundsOf(drawn(*real), isMaskFan);
    EXPECT_NEAR(realInk.minX, -3.0, 1e-6);
    EXPECT_NEAR(realInk.minY, 4.0, 1e-6);  // both sit on the baseline
}

TEST(TextLayout, CapitalAHasTheTextHeightInThePinnedFont) {
    auto pinned = PinnedGlyphTable();
    if (!pinned) GTEST_SKIP() << "font not installed: " << kPinnedFont;
    auto t = makeText("A", 10.0, 0, 0, pinned);
    const mmRect ink = boundsOf(drawn(*t), isMaskFan);
    EXPECT_NEAR(ink.maxY - ink.minY, 10.0, 1e-6);
}

TEST(TextLayout, RotationTurnsTheTextAboutTheInsertionPoint) {
    auto t = makeText("A", 7.0, 10, 20);
    ASSERT_TRUE(t->SetRotation(90.0, nullptr));
    t->UpdateExtents();
    const mmRect ink = boundsOf(drawn(*t), isMaskFan);
    EXPECT_NEAR(ink.minX, 10 - 7.0, 1e-9);
    EXPECT_NEAR(ink.maxX, 10.0, 1e-9);
    EXPECT_NEAR(ink.minY, 20.0, 1e-9);
    EXPECT_NEAR(ink.maxY, 26.0, 1e-9);
    EXPECT_NEAR(t->extents.maxY, 27.0, 1e-9);  // the end pen position, one advance up
    EXPECT_FALSE(t->SetRotation(std::nan(""), nullptr));
    EXPECT_DOUBLE_EQ(t->rotation, 90.0);
    EXPECT_FALSE(t->SetHeight(INFINITY, nullptr));
    EXPECT_DOUBLE_EQ(t->height, 7.0);
}

TEST(TextLayout, WholeStringIsKeptAndCharactersWithoutGlyphAreSkipped) {
    auto t = makeText(std::string(300, 'A'), 7.0, 0, 0);
    EXPECT_EQ(t->String().size(), 300u);
    EXPECT_DOUBLE_EQ(t->advance, 300 * 7.0);

    // "B" has no glyph in the synthetic font, nor U+4E2D; a byte that is not UTF-8 is skipped.
    auto plain = makeText("AA", 7.0, 0, 0);
    auto odd = makeText(
        "A\xFF"
        "B\xE4\xB8\xAD"
        "A",
        7.0, 0, 0);
    EXPECT_DOUBLE_EQ(odd->advance, plain->advance);
    EXPECT_DOUBLE_EQ(odd->box.maxX, plain->box.maxX);
}

TEST(TextLayout, WithoutAGlyphTableOnlyTheInsertionPointRemains) {
    auto t = makeText("abc", 5.0, 3, 4, nullptr);
    EXPECT_EQ(t->extents.minX, 3);
    EXPECT_EQ(t->extents.maxY, 4);
    EXPECT_TRUE(drawn(*t).empty());
    EXPECT_EQ(drawn(*t, kDrawGrips).size(), 1u);
    TestView view(400, 300, 1.0, 100, 200);
    EXPECT_FALSE(t->HitTest(view.px(3), view.py(4), view.rect(), view.m, 1.0f, {}, true));
    EXPECT_FALSE(t->CrossesRect({0, 0, 10, 10}, {}, true));
}

struct ColorCase {
    uint32_t color;
    float outline[3];
    float fill[3];
};

TEST(TextLook, NormalListHasAPaleOutlineUnderTheFill) {
    const ColorCase cases[] = {
        {0xFFFFFF, {0.7f, 0.7f, 0.7f}, {0, 0, 0}},  // white shows black
        {0x0000FF, {1.0f, 0.7f, 0.7f}, {1, 0, 0}},
        {0xFFFFFE, {254 / 255.f + (1 / 255.f) * 0.7f, 1, 1}, {254 / 255.f, 1, 1}},
    };
    for (const ColorCase& c : cases) {
        SCOPED_TRACE(c.color);
        auto t = makeText("O", 7.0, 0, 0);
        t->SetColor(c.color, 7, nullptr);
        const auto prims = drawn(*t);
        int outlines = 0, fans = 0, covers = 0;
        for (const auto& p : prims) {
            const float* want = p.primitive == prim::kLineStrip ? c.outline : c.fill;
            for (int k = 0; k < 3; ++k)
                EXPECT_NEAR(p.color[k], want[k], 1e-6);
            outlines += p.primitive == prim::kLineStrip && p.stencilPhase == 0;
            fans += isMaskFan(p);
            covers += p.primitive == prim::kQuads && p.stencilPhase == 2;
        }
        EXPECT_EQ(outlines, 2);  // the ring and its counter
        EXPECT_EQ(fans, 2);
        EXPECT_EQ(covers, 1);
    }
}

TEST(TextLook, HighlightListFillsWhiteThroughTheStipple) {
    auto t = makeText("A", 7.0, 0, 0);
    const auto prims = drawn(*t, kDrawHighlight);
    ASSERT_EQ(prims.size(), 2u);  // fan and cover, no outline
    for (const auto& p : prims) {
        EXPECT_TRUE(p.polygonStipple);
        EXPECT_EQ(p.color[0], 1.0f);
        EXPECT_EQ(p.color[2], 1.0f);
    }
    // The cover is the box.
    EXPECT_EQ(boundsOf(prims, [](const auto& p) { return p.stencilPhase == 2; }).maxX, t->box.maxX);
}

TEST(MTextAttachment, TheAttachmentPointIsTheCornerCentreOrMiddleOfTheInk) {
    // One synthetic "A" of height 7: ink 6 wide and 7 high.
    const double columnX[] = {0.0, -3.0, -6.0};
    const double rowY[] = {-7.0, -3.5, 0.0};  // top: capitals hang below; bottom: the baseline
    for (int16_t attachment = 1; attachment <= 9; ++attachment) {
        SCOPED_TRACE(attachment);
        auto t = std::make_shared<mmMText>();
        t->attachment = attachment;
        t->CreateText("A", SyntheticGlyphTable());
        t->SetHeight(7.0, nullptr);
        t->SetInsertionPoint(100, 50);
        const double dx = columnX[(attachment - 1) % 3], dy = rowY[(attachment - 1) / 3];
        const mmRect ink = boundsOf(drawn(*t), isMaskFan);
        EXPECT_NEAR(ink.minX, 100 + dx, 1e-9);
        EXPECT_NEAR(ink.minY, 50 + dy, 1e-9);
        EXPECT_NEAR(t->extents.minY, 50 + dy, 1e-9);
        EXPECT_NEAR(t->extents.minX, 100 + dx, 1e-9);
        // Picking follows the drawn position.
        TestView view(400, 300, 1.0, 100, 200);
        EXPECT_TRUE(t->HitTest(view.px(100 + dx), view.py(50 + dy + 3), view.rect(), view.m, 1.0f,
                               {}, true));
    }
}

TEST(TextPick, OnlyOutlineEdgesPickNotTheCounter) {
    // "O" of height 70 at the origin: ink 0..60 by 0..70, counter 10..50 by 10..60.
    auto t = makeText("O", 70.0, 0, 0);
    TestView view(400, 300, 1.0, 100, 200);
    auto hit = [&](double x, double y) {
        return t->HitTest(view.px(x), view.py(y), view.rect(), view.m, 1.0f, {}, true);
    };
    EXPECT_FALSE(hit(30, 35));  // inside the counter, 20 pixels from every edge
    EXPECT_TRUE(hit(10, 35));   // on the counter's edge
    EXPECT_TRUE(hit(14, 35));
    EXPECT_FALSE(hit(16, 35));
    EXPECT_TRUE(hit(-4, 35));  // just outside the outer edge
    EXPECT_FALSE(hit(-6, 35));
    EXPECT_FALSE(hit(5, 35));  // in the ink, 5 pixels from both edges

    EXPECT_TRUE(t->CrossesRect({-5, 30, 1, 31}, {}, true));    // over the outer edge
    EXPECT_FALSE(t->CrossesRect({20, 20, 40, 40}, {}, true));  // inside the counter
    EXPECT_FALSE(t->CrossesRect({100, 100, 140, 140}, {}, true));
}

TEST(TextDrawing, NoDisplayListsAndTinyTextsAreALine) {
    auto t = makeText("AW", 7.0, 10, 20);
    mmRecordingDrawContext dc;
    t->Draw(dc, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, {}, true);
    EXPECT_EQ(dc.ListCount(), 0u);
    EXPECT_GT(dc.primitives.size(), 3u);

    // Below two pixels of height the text is a line through its middle, in its colour.
    dc.Clear();
    t->SetColor(0x0000FF, 1, nullptr);
    t->Draw(dc, kEverywhere, kDrawNormal, 0.25f, prim::kLineStrip, {}, true);
    ASSERT_EQ(dc.primitives.size(), 1u);
    const mmRecordedPrimitive& line = dc.primitives[0];
    EXPECT_EQ(line.primitive, prim::kLines);
    EXPECT_EQ(line.color[0], 1.0f);
    ASSERT_EQ(line.vertices.size(), 2u);
    EXPECT_NEAR(line.vertices[0].x, 10.0, 1e-9);
    EXPECT_NEAR(line.vertices[0].y, 23.5, 1e-9);
    EXPECT_NEAR(line.vertices[1].x, 10.0 + 13.4, 1e-9);  // the end of the W's ink
}

TEST(TextCopy, CopiesAreLaidOutAlike) {
    auto source = makeText<mmMText>("WA", 7.0, 5, 6);
    source->attachment = 3;
    source->SetColor(0xFF0000, 5, nullptr);
    source->UpdateExtents();
    mmEntityList list;
    EXPECT_TRUE(std::dynamic_pointer_cast<mmText>(CreateEntityOfType(kTypeText)));
    auto clone = std::dynamic_pointer_cast<mmMText>(CloneEntity(*source, list));
    ASSERT_TRUE(clone);
    EXPECT_EQ(clone->String(), "WA");
    EXPECT_EQ(clone->attachment, 3);
    EXPECT_EQ(clone->glyphs, source->glyphs);
    EXPECT_DOUBLE_EQ(clone->extents.minX, source->extents.minX);
    EXPECT_DOUBLE_EQ(clone->extents.maxY, source->extents.maxY);
}

TEST(TextJustification, EveryHorizontalAndVerticalCodePlacesTheInk) {
    // Synthetic "AA" of height 7: ink 13 wide and 7 high; the descender is 2 deep.
    struct Case {
        int h, v;
        double minX, minY;
    };
    const Case cases[] = {
        {0, 0, 0, 0},       {0, 1, 100, 52},    {0, 2, 100, 46.5},  {0, 3, 100, 43},
        {1, 0, 93.5, 50},   {1, 1, 93.5, 52},   {1, 2, 93.5, 46.5}, {1, 3, 93.5, 43},
        {2, 0, 87, 50},     {2, 1, 87, 52},     {2, 2, 87, 46.5},   {2, 3, 87, 43},
        {4, 0, 93.5, 46.5}, {4, 1, 93.5, 46.5}, {4, 2, 93.5, 46.5}, {4, 3, 93.5, 46.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.h * 10 + c.v);
        auto t = makeText("AA", 7.0, 0, 0);
        t->SetJustification(c.h, c.v, nullptr);
        t->SetAlignmentPoint(100, 50);
        const mmRect ink = boundsOf(drawn(*t), isMaskFan);
        EXPECT_NEAR(ink.minX, c.minX, 1e-9);
        EXPECT_NEAR(ink.minY, c.minY, 1e-9);
        EXPECT_NEAR(ink.maxX - ink.minX, 13.0, 1e-9);
        EXPECT_NEAR(ink.maxY - ink.minY, 7.0, 1e-9);
        EXPECT_GE(t->extents.maxX, ink.maxX);
        EXPECT_LE(t->extents.minY, ink.minY);
        TestView view(400, 300, 1.0, 100, 200);
        EXPECT_TRUE(t->HitTest(view.px(ink.minX), view.py(ink.minY + 3), view.rect(), view.m, 1.0f,
                               {}, true));
    }
    // Aligned and fitted texts run from the insertion point to the alignment point along their
    // direction; aligned keeps its proportions, fitted its height.
    const double span = std::hypot(100.0, 50.0);
    for (int h : {kTextAligned, kTextFit}) {
        SCOPED_TRACE(h);
        auto t = makeText("AA", 7.0, 0, 0);
        t->SetJustification(h, kTextTop, nullptr);  // the vertical code does not count
        t->SetAlignmentPoint(100, 50);
        EXPECT_NEAR(t->DrawRotation(), std::atan2(50.0, 100.0) * kRadToDeg, 1e-9);
        const mmRect ink = boundsOf(drawn(*t), isMaskFan);
        EXPECT_NEAR(ink.minY, 0.0, 1e-9);
        EXPECT_NEAR(ink.maxX, 100.0, 1e-9);  // the end of the baseline's ink
        const double high = h == kTextAligned ? 7.0 * span / 13.0 : 7.0;
        EXPECT_NEAR(ink.maxY, 50.0 + high * 100.0 / span, 1e-9);
    }
}

TEST(TextJustification, WidthFactorAndObliqueShapeTheCharacters) {
    auto wide = makeText("A", 7.0, 0, 0);
    ASSERT_TRUE(wide->SetWidthFactor(2.0, nullptr));
    EXPECT_NEAR(boundsOf(drawn(*wide), isMaskFan).maxX, 12.0, 1e-9);
    EXPECT_NEAR(wide->advance, 14.0, 1e-9);
    EXPECT_FALSE(wide->SetWidthFactor(0.0, nullptr));
    EXPECT_FALSE(wide->SetWidthFactor(NAN, nullptr));

    auto leaning = makeText("A", 7.0, 0, 0);
    ASSERT_TRUE(leaning->SetOblique(45.0, nullptr));
    const mmRect ink = boundsOf(drawn(*leaning), isMaskFan);
    EXPECT_NEAR(ink.minX, 0.0, 1e-9);
    EXPECT_NEAR(ink.maxX, 13.0, 1e-9);  // the top moved by the height
    EXPECT_NEAR(leaning->extents.maxX, 13.0, 1e-9);
    ASSERT_TRUE(leaning->SetOblique(345.0, nullptr));  // 15 degrees to the left
    EXPECT_DOUBLE_EQ(leaning->oblique, -15.0);
    EXPECT_FALSE(leaning->SetOblique(89.0, nullptr));
}

TEST(MTextLayout, ParagraphsWrapAndTheBlockHangsFromItsAttachment) {
    auto m = std::make_shared<mmMText>();
    m->rectangleWidth = 15.0;
    m->attachment = 8;  // bottom centre
    m->CreateText("AA AA\\PA", SyntheticGlyphTable());
    m->SetHeight(7.0, nullptr);
    m->SetInsertionPoint(0, 0);
    ASSERT_EQ(m->LineCount(), 3u);
    EXPECT_EQ(m->LineText(0), "AA");
    EXPECT_EQ(m->LineText(2), "A");
    const mmRect ink = boundsOf(drawn(*m), isMaskFan);
    EXPECT_NEAR(ink.minY, 0.0, 1e-9) << "the last baseline at the insertion point";
    EXPECT_NEAR(ink.maxY, 7.0 + 2 * 7.0 * 5 / 3, 1e-9);
    EXPECT_NEAR(ink.minX, -6.5, 1e-9) << "each line centred";
    EXPECT_NEAR(ink.maxX, 6.5, 1e-9);
    m->lineSpacing = 2.0;
    m->Rebuild(nullptr);
    EXPECT_NEAR(boundsOf(drawn(*m), isMaskFan).maxY, 7.0 + 4 * 7.0 * 5 / 3, 1e-9);
}
