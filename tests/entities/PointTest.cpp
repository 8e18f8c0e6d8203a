// Point entities: styles, picking at any zoom, crossing.
#include <gtest/gtest.h>

#include "entities/DrawContext.h"
#include "entities/Point.h"
#include "entities/RecordingDrawContext.h"
#include "support/TestView.h"

namespace {
const mmRect kEverywhere{-1e6, -1e6, 1e6, 1e6};
}

TEST(PointDraw, StylesChooseDotAndCircle) {
    struct Case { int16_t style; bool dot; bool circle; };
    for (const Case& c : {Case{0, true, true}, Case{2, true, false}, Case{3, false, true}}) {
        mmPointObj p;
        p.pointStyle = c.style;
        p.AddPoint(1, 1);
        p.UpdateExtents();
        mmRecordingDrawContext dc;
        p.Draw(dc, kEverywhere, kDrawNormal, 2.0f, prim::kLineStrip, {}, true);
        bool sawDot = false, sawCircle = false;
        for (const auto& prim : dc.primitives) {
            if (prim.primitive == prim::kPoints) sawDot = true;
            if (prim.primitive == prim::kLineStrip) {
                sawCircle = true;
                EXPECT_NEAR(prim.vertices[0].y, 1 + 4 / 2.0, 1e-12);  // 4 pixels above
            }
        }
        EXPECT_EQ(sawDot, c.dot) << c.style;
        EXPECT_EQ(sawCircle, c.circle) << c.style;
    }
}

TEST(PointDraw, GripModeShowsOneSquare) {
    mmPointObj p;
    p.AddPoint(1, 1);
    p.UpdateExtents();
    mmRecordingDrawContext dc;
    p.Draw(dc, kEverywhere, kDrawGrips, 1.0f, prim::kLineStrip, {}, true);
    ASSERT_EQ(dc.primitives.size(), 1u);
    EXPECT_EQ(dc.primitives[0].primitive, prim::kQuads);
}

// The marker circle is 4 pixels on screen at every zoom, so picking measures in pixels too.
TEST(PointPick, RegressionPickRadiusInPixelsAtEveryZoom) {
    for (double ppu : {0.01, 1.0, 50.0}) {
        TestView view(400, 300, ppu, 200, 150);
        mmPointObj p;
        p.AddPoint(0, 0);
        p.UpdateExtents();
        const mmRect r = view.rect();
        EXPECT_TRUE(p.HitTest(200, 150, r, view.m, view.scale(), {}, true)) << ppu;
        EXPECT_TRUE(p.HitTest(208, 150, r, view.m, view.scale(), {}, true)) << ppu;
        EXPECT_FALSE(p.HitTest(209, 150, r, view.m, view.scale(), {}, true)) << ppu;
        EXPECT_FALSE(p.HitTest(600, 150, r, view.m, view.scale(), {}, false)) << ppu;
    }
}

TEST(PointCross, EdgesIncluded) {
    mmPointObj p;
    p.AddPoint(5, 5);
    p.UpdateExtents();
    EXPECT_TRUE(p.CrossesRect({5, 0, 10, 5}, {}, true));
    EXPECT_FALSE(p.CrossesRect({5.1, 0, 10, 5}, {}, true));
}
