// Lines: drawing, picking and crossing.
#include <gtest/gtest.h>

#include "entities/DrawContext.h"
#include "entities/Line.h"
#include "entities/RecordingDrawContext.h"
#include "support/TestView.h"

namespace {
std::shared_ptr<mmLine> makeLine(double x1, double y1, double x2, double y2) {
    auto line = std::make_shared<mmLine>();
    line->AddPoint(x1, y1);
    line->AddPoint(x2, y2);
    line->UpdateExtents();
    return line;
}
}  // namespace

TEST(LineDraw, ModesEmitStripHighlightAndGrips) {
    auto linePtr = makeLine(0, 0, 10, 0);
    mmLine& line = *linePtr;
    mmRecordingDrawContext dc;
    const mmRect view{-100, -100, 100, 100};
    const mmShift shift{0, 0, 2, 1};  // origin offset (2, 1)

    line.Draw(dc, view, kDrawNormal, 1.0f, prim::kLineStrip, shift, true);
    ASSERT_EQ(dc.primitives.size(), 1u);
    EXPECT_EQ(dc.primitives[0].primitive, prim::kLineStrip);
    ASSERT_EQ(dc.primitives[0].vertices.size(), 2u);
    EXPECT_EQ(dc.primitives[0].vertices[0].x, -2);
    EXPECT_EQ(dc.primitives[0].vertices[1].y, -1);

    dc.Clear();
    line.Draw(dc, view, kDrawHighlight, 1.0f, prim::kLineStrip, shift, true);
    ASSERT_EQ(dc.primitives.size(), 1u);
    EXPECT_TRUE(dc.primitives[0].lineStipple);
    EXPECT_EQ(dc.primitives[0].stippleFactor, 4);
    EXPECT_EQ(dc.primitives[0].stipplePattern, 0xAAAA);
    EXPECT_EQ(dc.primitives[0].color[0], 1.0f);

    dc.Clear();
    line.grips[2].hot = true;
    line.Draw(dc, view, kDrawGrips, 2.0f, prim::kLineStrip, {}, true);
    ASSERT_EQ(dc.primitives.size(), 4u);  // three squares, then the hot one again in red
    const auto& square = dc.primitives[0].vertices;
    EXPECT_DOUBLE_EQ(square[0].x, -2.5);  // -5 pixels at 2 pixels per unit
    EXPECT_DOUBLE_EQ(square[2].x, 3.0);   // +6 pixels: 11-pixel squares
    EXPECT_EQ(dc.primitives[3].color[0], 0.8f);
    EXPECT_EQ(dc.errors, 0);
}

TEST(LineDraw, AlreadyOpenPrimitiveGetsOnlyVertices) {
    auto linePtr = makeLine(0, 0, 10, 0);
    mmLine& line = *linePtr;
    mmRecordingDrawContext dc;
    dc.Begin(prim::kTriangleFan);
    line.Draw(dc, {-100, -100, 100, 100}, kDrawNormal, 1.0f, kPrimitiveAlreadyOpen, {}, true);
    dc.End();
    ASSERT_EQ(dc.primitives.size(), 1u);
    EXPECT_EQ(dc.primitives[0].vertices.size(), 2u);
    EXPECT_EQ(dc.errors, 0);
}

TEST(LinePick, FivePixelRuleWhateverTheWidth) {
    TestView view(400, 300, 2.0, 50, 250);
    auto linePtr = makeLine(0, 0, 100, 0);  // window y 250
    mmLine& line = *linePtr;
    for (int width : {1, 3}) {
        line.lineWidth = width;
        EXPECT_TRUE(line.HitTest(view.px(50), 246, view.rect(), view.m, view.scale(), {}, true));
        EXPECT_FALSE(line.HitTest(view.px(50), 245, view.rect(), view.m, view.scale(), {}, true));
        EXPECT_FALSE(line.HitTest(view.px(110), 250, view.rect(), view.m, view.scale(), {}, true));
    }
}

TEST(LineCross, SegmentAgainstRectangle) {
    auto linePtr = makeLine(0, 0, 10, 10);
    mmLine& line = *linePtr;
    EXPECT_TRUE(line.CrossesRect({4, 4, 6, 6}, {}, true));
    EXPECT_FALSE(line.CrossesRect({6, 0, 10, 3}, {}, true));
    EXPECT_FALSE(line.CrossesRect({20, 20, 30, 30}, {}, true));
}
