// Texts and multi-line texts: layout, compiled looks, attachments, picking, crossing, display-list
// ownership and copies. Exact geometry comes from a synthetic font; the pinned font checks the
// real outlines.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "entities/DrawContext.h"
#include "entities/MText.h"
#include "entities/RecordingDrawContext.h"
#include "entities/Text.h"
#include "support/TestView.h"
#include "TestGlyphs.h"

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
            for (const mmVertex& v : p.vertices) WidenRect(r, v.x, v.y);
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

TEST(TextLayout, StringIsCutAtItsFieldAndUnknownCodesAreSkipped) {
    auto t = makeText(std::string(300, 'A'), 7.0, 0, 0);
    EXPECT_EQ(t->String().size(), kTextCapacity - 1);
    EXPECT_EQ(t->text[kTextCapacity - 1], '\0');
    t->SetString(std::string("A\0A", 3), nullptr);
    EXPECT_EQ(t->String(), "A");

    // Code 255 lies outside the 255-record table; "B" has no glyph in the synthetic font.
    auto plain = makeText("AA", 7.0, 0, 0);
    auto odd = makeText("A\xFF" "BA", 7.0, 0, 0);
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
            for (int k = 0; k < 3; ++k) EXPECT_NEAR(p.color[k], want[k], 1e-6);
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

TEST(MTextAttachment, TopCornersHangBelowAndRightCornersToTheLeft) {
    struct Case {
        int16_t attachment;
        double dx, dy;  // where the text is drawn from, relative to the insertion point
    };
    const double h = 7.0, adv = 7.0;  // one synthetic "A"
    const Case cases[] = {{1, 0, -h}, {2, 0, -h}, {3, -adv, -h}, {5, 0, 0}, {9, -adv, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attachment);
        auto t = std::make_shared<mmMText>();
        t->attachment = c.attachment;
        t->CreateText("A", SyntheticGlyphTable());
        t->SetHeight(h, nullptr);
        t->SetInsertionPoint(100, 50);
        t->UpdateExtents();
        EXPECT_NEAR(t->extents.minX, 100 + c.dx, 1e-9);
        EXPECT_NEAR(t->extents.maxX, 100 + c.dx + adv, 1e-9);
        EXPECT_NEAR(t->extents.minY, 50 + c.dy, 1e-9);
        const mmRect ink = boundsOf(drawn(*t), isMaskFan);
        EXPECT_NEAR(ink.minX, 100 + c.dx, 1e-9);
        EXPECT_NEAR(ink.minY, 50 + c.dy, 1e-9);
        // Picking follows the drawn position.
        TestView view(400, 300, 1.0, 100, 200);
        EXPECT_TRUE(t->HitTest(view.px(100 + c.dx), view.py(50 + c.dy + 3), view.rect(), view.m,
                               1.0f, {}, true));
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
    EXPECT_TRUE(hit(-4, 35));   // just outside the outer edge
    EXPECT_FALSE(hit(-6, 35));
    EXPECT_FALSE(hit(5, 35));   // in the ink, 5 pixels from both edges

    EXPECT_TRUE(t->CrossesRect({-5, 30, 1, 31}, {}, true));   // over the outer edge
    EXPECT_FALSE(t->CrossesRect({20, 20, 40, 40}, {}, true)); // inside the counter
    EXPECT_FALSE(t->CrossesRect({100, 100, 140, 140}, {}, true));
}

TEST(TextLists, CompiledOncePerContextAndGivenBackToIt) {
    auto t = makeText("A", 7.0, 0, 0);
    mmRecordingDrawContext dc;
    t->Draw(dc, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, {}, true);
    const uint32_t first = t->displayLists;
    ASSERT_NE(first, 0u);
    EXPECT_EQ(dc.ListCount(), 2u);
    t->Draw(dc, kEverywhere, kDrawHighlight, 1.0f, prim::kLineStrip, {}, true);
    EXPECT_EQ(t->displayLists, first);
    EXPECT_EQ(dc.ListCount(), 2u);

    // A colour change drops the lists; they go back to the context that made them.
    t->SetColor(0x00FF00, 3, nullptr);
    EXPECT_EQ(t->displayLists, 0u);
    EXPECT_EQ(dc.ListCount(), 2u);
    t->Draw(dc, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, {}, true);
    EXPECT_EQ(dc.ListCount(), 2u);  // the old pair deleted before the new one was made

    // Drawn in another context, the text compiles there and releases the first pair.
    mmRecordingDrawContext other;
    t->Draw(other, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, {}, true);
    EXPECT_TRUE(t->HasListsIn(other));
    EXPECT_EQ(dc.ListCount(), 2u);
    dc.DeleteReleasedLists();
    EXPECT_EQ(dc.ListCount(), 0u);

    // A recreated context has none of the old lists.
    other.ForgetLists();
    EXPECT_FALSE(t->HasListsIn(other));
    t->Draw(other, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, {}, true);
    EXPECT_TRUE(t->HasListsIn(other));
}

TEST(TextLists, TextOutlivingItsContextMakesNoCall) {
    auto t = makeText("A", 7.0, 0, 0);
    {
        auto dc = std::make_unique<mmRecordingDrawContext>();
        t->Draw(*dc, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, {}, true);
        ASSERT_NE(t->displayLists, 0u);
    }
    t->Rebuild(nullptr);
    EXPECT_EQ(t->displayLists, 0u);
    t.reset();  // no context left to call: nothing happens (the sanitizers watch)
}

TEST(TextCopy, CopiesAreLaidOutAlikeWithTheirOwnLists) {
    auto source = makeText<mmMText>("WA", 7.0, 5, 6);
    source->attachment = 3;
    source->SetColor(0xFF0000, 5, nullptr);
    source->UpdateExtents();
    mmRecordingDrawContext dc;
    source->Draw(dc, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, {}, true);

    mmEntityList list;
    EXPECT_TRUE(std::dynamic_pointer_cast<mmText>(CreateEntityOfType(kTypeText)));
    auto clone = std::dynamic_pointer_cast<mmMText>(CloneEntity(*source, list));
    ASSERT_TRUE(clone);
    EXPECT_EQ(clone->String(), "WA");
    EXPECT_EQ(clone->attachment, 3);
    EXPECT_EQ(clone->displayLists, 0u);
    EXPECT_EQ(clone->glyphs, source->glyphs);
    EXPECT_DOUBLE_EQ(clone->extents.minX, source->extents.minX);
    EXPECT_DOUBLE_EQ(clone->extents.maxY, source->extents.maxY);
    clone->Draw(dc, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, {}, true);
    EXPECT_NE(clone->displayLists, source->displayLists);
    EXPECT_EQ(dc.ListCount(), 4u);
}
