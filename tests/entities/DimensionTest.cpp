// Dimensions: the worked builds of rotated, aligned and ordinate dimensions, label text and
// placement, terminators, what is drawn, picked and crossed, extents, colours and copies.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "entities/Dimension.h"
#include "entities/RecordingDrawContext.h"
#include "support/TestView.h"
#include "DigitGlyphs.h"

namespace {

const mmRect kEverywhere{-1e6, -1e6, 1e6, 1e6};

// With the "Standard" values: arrow 2.5, offset 0.625, extension 1.25, gap 0.625, text 2.5.
mmDimStyleValues standardValues() { return {2.5, 0.625, 1.25, 0.625, 2.5, 0}; }

std::shared_ptr<mmDimension> dimension(int16_t type, mmVertex p0, mmVertex p1, mmVertex p2,
                                       mmGlyphTablePtr glyphs = DigitGlyphTable(),
                                       mmVertex p6 = {}) {
    auto d = std::make_shared<mmDimension>();
    d->SetStyleValues(standardValues());
    d->InitLabel(glyphs);
    d->InitParts();
    d->dimType = type;
    d->id = 7;
    d->SetBlockNameFromId();
    d->defPoints[0] = p0;
    d->defPoints[1] = p1;
    d->defPoints[2] = p2;
    d->defPoints[6] = p6;
    EXPECT_TRUE(d->BuildDimension(glyphs));
    d->UpdateGrips();
    d->UpdateExtents();
    return d;
}

void expectAt(const mmVertex& v, double x, double y) {
    EXPECT_NEAR(v.x, x, 5e-6);
    EXPECT_NEAR(v.y, y, 5e-6);
}

std::vector<mmRecordedPrimitive> drawn(mmDimension& d, int mode = kDrawNormal) {
    mmRecordingDrawContext dc;
    d.Draw(dc, kEverywhere, mode, 1.0f, prim::kLineStrip, {}, true);
    EXPECT_EQ(dc.errors, 0);
    return dc.primitives;
}

}  // namespace

TEST(DimensionBuild, RotatedWorkedExample) {
    auto d = dimension(kDimRotated, {0, 0}, {10, 0}, {10, 5});
    EXPECT_EQ(d->label.String(), "10");
    EXPECT_EQ(d->label.rotation, 0.0);
    const double w = d->label.advance;
    EXPECT_NEAR(w, 1000 * 2.5 / 700, 1e-9);  // two digits of the table
    expectAt(d->label.points[0], 5 - w / 2, 5.625);
    expectAt(d->defPoints[3], 0, 5);
    expectAt(d->defPoints[6], 5, 6.875);
    expectAt(d->extLine1.points[0], 0, 0.625);
    expectAt(d->extLine1.points[1], 0, 6.25);
    expectAt(d->extLine2.points[0], 10, 0.625);
    expectAt(d->extLine2.points[1], 10, 6.25);
    expectAt(d->arrow1.points[0], 2.5, 5.66987);
    expectAt(d->arrow1.points[1], 0, 5);
    expectAt(d->arrow1.points[2], 2.5, 4.33013);
    expectAt(d->arrow2.points[0], 7.5, 4.33013);
    expectAt(d->arrow2.points[1], 10, 5);
    expectAt(d->arrow2.points[2], 7.5, 5.66987);
    expectAt(d->dimLine.points[0], 10, 5);
    expectAt(d->dimLine.points[1], 0, 5);
    expectAt(d->mark1.points[0], 0, 0);
    expectAt(d->mark2.points[0], 10, 0);
    EXPECT_FLOAT_EQ(d->direction.x, 0.0f);
    EXPECT_FLOAT_EQ(d->direction.y, 1.0f);
    ASSERT_EQ(d->pointCount(), 5);  // P0, P1, P2, P3, P6
    expectAt(d->points[3], 0, 5);
    expectAt(d->points[4], 5, 6.875);
    EXPECT_EQ(d->gripCount(), 5);
}

TEST(DimensionBuild, VerticalDimensionReadsUpwardsLeftOfItsLine) {
    auto d = dimension(kDimRotated, {0, 0}, {0, 10}, {5, 10});
    expectAt(d->defPoints[3], 5, 0);
    expectAt(d->dimLine.points[0], 5, 10);
    expectAt(d->dimLine.points[1], 5, 0);
    EXPECT_NEAR(d->label.rotation, 90.0, 1e-9);
    expectAt(d->defPoints[6], 3.125, 5);
    expectAt(d->label.points[0], 4.375, 5 - d->label.advance / 2);
    EXPECT_LT(d->label.extents.maxX, 5.0);  // the text lies left of the line
}

TEST(DimensionBuild, MeasurementTexts) {
    const struct {
        double length;
        const char* text;
    } cases[] = {{10.004, "10"}, {10.5, "10.50"}, {9.996, "10.00"}, {0.0, "0"}, {1e10, "10000000000"}};
    for (const auto& c : cases) {
        auto d = dimension(kDimAligned, {0, 0}, {c.length, 0}, {c.length, 3});
        EXPECT_EQ(d->label.String(), c.text) << c.length;
    }
}

TEST(DimensionBuild, SurveyCoordinatesKeepTheirDigits) {
    // Differences are taken before single precision: 10.004 at x = 500000 still reads 10.
    auto d = dimension(kDimRotated, {500000, 4000000}, {500010.004, 4000000}, {500010.004, 4000005});
    EXPECT_EQ(d->label.String(), "10");
    EXPECT_NEAR(d->defPoints[3].x, 500000.0, 1e-5);
    EXPECT_NEAR(d->defPoints[3].y, 4000005.0, 1e-9);
}

// A measurement beyond single precision (or of a point that is not a number) once read "inf" or
// "nan" and stretched the extents: such a dimension shows nothing and spans nothing.
TEST(DimensionBuild, RegressionMeasurementThatIsNotFinite) {
    const double nan = std::nan("");
    const struct { mmVertex p0, p1, p2; } cases[] = {
        {{-3e38, 0}, {3e38, 0}, {3e38, 5}},
        {{nan, 0}, {10, 0}, {10, 5}},
    };
    for (const auto& c : cases) {
        auto d = dimension(kDimAligned, c.p0, c.p1, c.p2);
        EXPECT_FALSE(d->Measured());
        EXPECT_EQ(d->label.String(), "");
        EXPECT_TRUE(drawn(*d).empty());
        EXPECT_TRUE(drawn(*d, kDrawGrips).empty());
        EXPECT_GT(d->extents.minX, d->extents.maxX);  // empty: culled, not in zoom extents
        EXPECT_FALSE(d->CrossesRect(kEverywhere, {}, false));
    }
    auto fine = dimension(kDimAligned, {0, 0}, {10, 0}, {10, 5});
    EXPECT_TRUE(fine->Measured());
}

TEST(DimensionBuild, LabelNeverUpsideDown) {
    for (int deg = 0; deg < 360; deg += 15) {
        const double a = deg * kDegToRad;
        const mmVertex p0(3, 4), p1(3 + 20 * std::cos(a), 4 + 20 * std::sin(a));
        for (const auto& [first, second] : {std::pair{p0, p1}, std::pair{p1, p0}}) {
            for (int16_t type : {kDimRotated, kDimAligned}) {
                const mmVertex p2(second.x + 4 * std::cos(a + 1.2), second.y + 4 * std::sin(a + 1.2));
                auto d = dimension(type, first, second, p2);
                EXPECT_GT(d->label.rotation, -90.0) << deg;
                EXPECT_LE(d->label.rotation, 90.0) << deg;
            }
        }
    }
    // A line running down to the right: the text sits on its upper right side.
    auto d = dimension(kDimAligned, {0, 10}, {10, 0}, {10, 0});
    EXPECT_NEAR(d->label.rotation, -45.0, 1e-4);
    EXPECT_GT(d->defPoints[6].x, 5.0);
    EXPECT_GT(d->defPoints[6].y, 5.0);
}

TEST(DimensionBuild, WhilePlacingTheExtensionLinesFollowTheRule) {
    // P2 still equals P1: same x, same y, and the general case by the text offset.
    auto sameX = dimension(kDimRotated, {2, 0}, {2, 8}, {2, 8});
    EXPECT_FLOAT_EQ(sameX->direction.y, 1.0f);
    auto sameY = dimension(kDimRotated, {0, 2}, {8, 2}, {8, 2});
    EXPECT_FLOAT_EQ(sameY->direction.x, -1.0f);
    // Half of |P0P1| = 5 exceeds |P2.x - P6.x| = 0: horizontal extension lines, measuring y.
    auto horizontal = dimension(kDimRotated, {0, 0}, {8, 6}, {8, 6}, DigitGlyphTable(), {8, 0});
    EXPECT_FLOAT_EQ(horizontal->direction.x, 1.0f);
    EXPECT_EQ(horizontal->label.String(), "6");
    // 5 does not exceed |8 - 0|: vertical extension lines, measuring x.
    auto vertical = dimension(kDimRotated, {0, 0}, {8, 6}, {8, 6});
    EXPECT_FLOAT_EQ(vertical->direction.y, 1.0f);
    EXPECT_EQ(vertical->label.String(), "8");
}

TEST(DimensionBuild, OrdinateReadsThirty) {
    auto d = std::make_shared<mmDimension>();
    d->SetStyleValues(standardValues());
    d->InitLabel(DigitGlyphTable());
    d->InitParts();
    d->dimType = kDimOrdinate;
    d->ordinateAxis = 1;
    d->defPoints[0] = {30, 20};
    d->defPoints[1] = {40, 40};
    d->defPoints[2] = {0, 0};
    d->defPoints[6] = {40, 45};
    d->BuildDimension(nullptr);
    d->UpdateExtents();
    EXPECT_EQ(d->label.String(), "30");
    EXPECT_EQ(d->label.rotation, 90.0);
    const double w = d->label.advance;
    expectAt(d->label.points[0], 40 - 1.25, 45 - w / 2);  // g = -1, q = +1
    expectAt(d->dimLine.points[0], 30, 20);
    expectAt(d->dimLine.points[1], 30, 30);  // P1.y - 4h
    expectAt(d->leaderLine.points[0], 40, 40 + w);
    expectAt(d->leaderLine.points[1], 40, 35);
    expectAt(d->extLine1.points[0], 30, 30);
    expectAt(d->extLine1.points[1], 40, 35);
    expectAt(d->points[3], 40, 45);  // P0, P1, P2, P6
    // Only what is drawn counts: the measurement origin (0, 0) is not in the extents.
    EXPECT_GT(d->extents.minX, 29.0);
    EXPECT_GT(d->extents.minY, 19.0);
    // Drawn: dimension line, leader, one extension piece, one mark, the label; no terminators.
    int lines = 0, fans = 0, points = 0;
    for (const auto& p : drawn(*d)) {
        lines += p.primitive == prim::kLineStrip && p.vertices.size() == 2;
        fans += p.primitive == prim::kTriangleFan && p.stencilPhase == 0;
        points += p.primitive == prim::kPoints;
    }
    EXPECT_EQ(lines, 3);
    EXPECT_EQ(fans, 0);
    EXPECT_EQ(points, 1);
}

// A radius: the line from the centre through the circle point, on under a label beyond the
// circle; one arrowhead, its tip on the circle; "R" and the radius on the line's upper side.
TEST(DimensionBuild, RadiusFromTheCentreThroughTheCircle) {
    const struct {
        mmVertex onCircle, text;
        double lineEndX;  // NaN: the circle point
        double labelRotation;
    } cases[] = {
        {{10, 0}, {4, 0}, std::nan(""), 0},
        {{10, 0}, {20, 0}, 20 + 0.5 * 2 * 500 * 2.5 / 700, 0},
        {{-10, 0}, {-4, 0}, std::nan(""), 0},  // the label still reads left to right
    };
    for (const auto& c : cases) {
        auto d = dimension(kDimRadius, c.onCircle, {}, {0, 0}, DigitGlyphTable(), c.text);
        EXPECT_EQ(d->label.String(), "R10");
        EXPECT_TRUE(d->Measured());
        expectAt(d->dimLine.points[0], 0, 0);
        const double end = std::isnan(c.lineEndX) ? c.onCircle.x : c.lineEndX;
        EXPECT_NEAR(d->dimLine.points[1].x, end, 1e-4);
        expectAt(d->arrow2.points[1], c.onCircle.x, 0);
        EXPECT_LT(std::fabs(d->arrow2.points[0].x), 10);  // the legs point back to the centre
        EXPECT_NEAR(d->label.rotation, c.labelRotation, 1e-9);
        EXPECT_NEAR(d->label.points[0].y, 0.625, 1e-6);  // the gap above the line
        EXPECT_NEAR(d->defPoints[kDimTextPoint].y, 0.625 + 1.25, 1e-6);
        ASSERT_EQ(d->grips.size(), 3u);  // the circle point, the centre, the text
        expectAt(d->grips[1], 0, 0);
        int fans = 0, strips = 0;
        for (const auto& p : drawn(*d)) {
            fans += p.primitive == prim::kTriangleFan && p.stencilPhase == 0;
            strips += p.primitive == prim::kLineStrip && p.vertices.size() == 2;
        }
        EXPECT_EQ(fans, 1);    // one arrowhead
        EXPECT_EQ(strips, 1);  // the dimension line; no extension lines
        TestView view(200, 200, 1.0, 100, 100);
        EXPECT_FALSE(d->HitTest(view.px(0), view.py(-8), view.rect(), view.m, view.scale(), {}, false));
        EXPECT_TRUE(d->HitTest(view.px(c.onCircle.x / 2), view.py(0), view.rect(), view.m, view.scale(), {}, false));
    }
}

TEST(DimensionBuild, OtherTypesBuildAndShowNothing) {
    for (int16_t type : {2, 3, 5, -1}) {
        auto d = dimension(type, {10, 10}, {20, 10}, {20, 15});
        for (const mmPolyline* part : {&d->arrow1, &d->arrow2, &d->extLine1, &d->extLine2,
                                       &d->dimLine, &d->leaderLine})
            for (const mmVertex& v : part->points) expectAt(v, 0, 0);
        expectAt(d->mark1.points[0], 0, 0);
        EXPECT_EQ(d->label.String(), "0.0");
        EXPECT_TRUE(drawn(*d).empty());
        TestView view(200, 200, 1.0, 100, 100);
        EXPECT_FALSE(d->HitTest(view.px(0), view.py(0), view.rect(), view.m, view.scale(), {}, false));
        EXPECT_FALSE(d->CrossesRect({-1, -1, 1, 1}, {}, false));
    }
}

TEST(DimensionDraw, FilledArrowsTicksAndHighlight) {
    auto d = dimension(kDimRotated, {0, 0}, {10, 0}, {10, 5});
    auto prims = drawn(*d);
    int fans = 0, strips = 0, points = 0;
    for (const auto& p : prims) {
        if (p.primitive == prim::kTriangleFan && p.stencilPhase == 0) {
            ++fans;
            EXPECT_EQ(p.vertices.size(), 3u);
        }
        strips += p.primitive == prim::kLineStrip && p.vertices.size() == 2;
        points += p.primitive == prim::kPoints;
    }
    EXPECT_EQ(fans, 2);    // the arrowheads
    EXPECT_EQ(strips, 3);  // dimension line and two extension lines (glyph outlines have more)
    EXPECT_EQ(points, 2);  // the marks

    for (const auto& p : drawn(*d, kDrawHighlight))
        if (p.primitive == prim::kTriangleFan && p.stencilPhase == 0) {
            EXPECT_TRUE(p.polygonStipple);
        }

    d->arrowKind = 1;
    d->BuildDimension(nullptr);
    expectAt(d->arrow1.points[0], 0 + 2.58819 * std::cos(kPi / 4), 5 + 2.58819 * std::sin(kPi / 4));
    int ticks = 0;
    for (const auto& p : drawn(*d)) {
        EXPECT_FALSE(p.primitive == prim::kTriangleFan && p.stencilPhase == 0);
        ticks += p.primitive == prim::kLineStrip && p.vertices.size() == 3;
    }
    EXPECT_EQ(ticks, 2);

    auto grips = drawn(*d, kDrawGrips);
    EXPECT_EQ(grips.size(), 5u);  // one square per point
}

TEST(DimensionPick, LinesAndLabelButNothingAtTheOrigin) {
    auto d = dimension(kDimRotated, {100, 100}, {110, 100}, {110, 105});
    TestView view(400, 300, 10.0, -900, 1200);  // (100, 100) at pixel (100, 200)
    auto hit = [&](double x, double y) {
        return d->HitTest(view.px(x), view.py(y), view.rect(), view.m, view.scale(), {}, true);
    };
    EXPECT_TRUE(hit(105, 105));    // dimension line
    EXPECT_TRUE(hit(100, 103));    // first extension line
    EXPECT_FALSE(hit(105, 102.5)); // between the lines
    EXPECT_TRUE(d->CrossesRect({109, 101, 111, 102}, {}, true));
    EXPECT_FALSE(d->CrossesRect({101, 101, 109, 104}, {}, true));
    // The leader of a linear dimension is never built, so the origin is no part of it.
    TestView origin(200, 200, 1.0, 100, 100);
    EXPECT_FALSE(d->HitTest(origin.px(0), origin.py(0), origin.rect(), origin.m, origin.scale(), {}, false));
    EXPECT_FALSE(d->CrossesRect({-1, -1, 1, 1}, {}, false));
}

TEST(DimensionCopy, KeepsTheIdNamesItAndCopiesEveryPart) {
    auto d = dimension(kDimRotated, {0, 0}, {10, 0}, {10, 5});
    d->dimStyleId = 3;
    d->textRotation = 12;
    d->id = 42;
    d->blockName = u"*D7";
    mmDimension copy;
    copy.CopyFrom(*d);
    EXPECT_EQ(copy.id, 42);
    EXPECT_EQ(copy.blockName, u"*D42");
    EXPECT_EQ(copy.dimStyleId, 3);
    EXPECT_EQ(copy.textRotation, 12);
    EXPECT_EQ(copy.label.String(), "10");
    EXPECT_EQ(copy.arrowSize, 2.5);
    expectAt(copy.arrow1.points[0], 2.5, 5.66987);
    EXPECT_EQ(copy.pointCount(), 5);
    d->arrow1.points[0].x = 99;  // parts are copies, not shared
    EXPECT_NEAR(copy.arrow1.points[0].x, 2.5, 1e-6);
    EXPECT_DOUBLE_EQ(copy.extents.maxX, d->extents.maxX);
    copy.CopyFrom(copy);  // onto itself: unchanged
    EXPECT_EQ(copy.label.String(), "10");

    mmObjectPtr clone = CreateEntityOfType(kTypeDimension);
    ASSERT_NE(clone, nullptr);
    clone->CopyFrom(*d);
    EXPECT_EQ(static_cast<mmDimension&>(*clone).blockName, u"*D42");
}

TEST(DimensionColor, LabelTakesTheColourButNotTheIndex) {
    auto d = dimension(kDimRotated, {0, 0}, {10, 0}, {10, 5});
    d->SetColor(0x0000FF, 1, nullptr);
    EXPECT_EQ(d->color, 0x0000FFu);
    EXPECT_EQ(d->colorIndex, 1);
    EXPECT_EQ(d->label.color, 0x0000FFu);
    EXPECT_EQ(d->label.colorIndex, kColorByLayer);
    EXPECT_EQ(d->dimLine.colorIndex, kColorByLayer);
}
