// Ellipses and elliptic arcs: the conjugate form and affine maps (mirrors and unequal scales
// included), extents, grips, drawing, picking and copies.
#include <gtest/gtest.h>

#include <cmath>

#include "entities/BlockRef.h"
#include "entities/DrawContext.h"
#include "entities/Ellipse.h"
#include "entities/Geometry.h"
#include "entities/RecordingDrawContext.h"
#include "support/TestView.h"

namespace {

const mmRect kEverywhere{-1e6, -1e6, 1e6, 1e6};

// Centre (10, 5), major axis 4 along x, minor 2.
std::shared_ptr<mmEllipse> ellipse(double t0 = 0.0, double t1 = 0.0) {
    auto e = std::make_shared<mmEllipse>();
    e->SetConjugate(10, 5, 4, 0, 0, 2, t0, t1);
    e->UpdateGrips();
    e->UpdateExtents();
    return e;
}

void expectNear(const mmVertex& v, double x, double y) {
    EXPECT_NEAR(v.x, x, 1e-9);
    EXPECT_NEAR(v.y, y, 1e-9);
}

}  // namespace

TEST(Ellipse, ConjugateDiametersBecomeTheAxes) {
    // A circle of radius 2 sheared: conjugate half diameters (2, 0) and (1, 2).
    mmEllipse e;
    e.SetConjugate(0, 0, 2, 0, 1, 2, 0, 0);
    EXPECT_TRUE(e.IsWhole());
    const double a = std::hypot(e.majorX, e.majorY), b = a * e.ratio;
    // The area pi a b is kept by the conjugate pair: |det| of (2, 0), (1, 2) is 4.
    EXPECT_NEAR(a * b, 4.0, 1e-9);
    EXPECT_LE(e.ratio, 1.0);
    // Every point of the old form lies on the new ellipse.
    for (double t = 0; t < 6.28; t += 0.5) {
        const double x = 2 * std::cos(t) + std::sin(t), y = 2 * std::sin(t);
        const double u = (x * e.majorX + y * e.majorY) / (a * a);
        const double v = (-x * e.majorY + y * e.majorX) / (a * b);
        EXPECT_NEAR(u * u + v * v, 1.0, 1e-9) << t;
    }
}

TEST(Ellipse, ArcAcrossZeroRunsThroughZero) {
    const auto e = ellipse(5.5, 0.5);
    EXPECT_FALSE(e->IsWhole());
    EXPECT_NEAR(e->Sweep(), 0.5 + 2 * kPi - 5.5, 1e-12);
    // Through parameter 0, the end of the major axis; not through pi.
    EXPECT_NEAR(e->extents.maxX, 14.0, 1e-9);
    EXPECT_GT(e->extents.minX, 10.0);
    ASSERT_EQ(e->gripCount(), 4);  // centre, start, middle, end
    expectNear(e->grips[0], 10, 5);
    expectNear(e->grips[2], e->PointAt((e->startParam + e->endParam) / 2).x,
               e->PointAt((e->startParam + e->endParam) / 2).y);
    const auto whole = ellipse();
    EXPECT_EQ(whole->gripCount(), 5);
    expectNear(whole->grips[1], 14, 5);
    expectNear(whole->grips[2], 10, 7);
    EXPECT_NEAR(whole->extents.minY, 3.0, 1e-9);
}

// A mirror reverses the parameter; an unequal scale of a turned ellipse finds new axes.
TEST(Ellipse, AffineMapsKeepThePoints) {
    const struct {
        double a, b, c, d, tx, ty;
    } maps[] = {{-1, 0, 0, 1, 0, 0}, {2, 0, 0, 0.5, 3, -1}, {0.6, -0.8, 0.8, 0.6, 0, 0},
                {1.5, 0.4, 0.2, -0.7, 5, 5}};
    for (const auto& m : maps) {
        const auto e = ellipse(0.3, 2.0);
        const mmVertex before[3] = {e->PointAt(0.3), e->PointAt(1.1), e->PointAt(2.0)};
        e->Map(m.a, m.b, m.c, m.d, m.tx, m.ty);
        e->UpdateExtents();
        // The mapped ends and middle are on the mapped arc, within its parameter range.
        for (const mmVertex& p : before) {
            const double x = m.a * p.x + m.b * p.y + m.tx, y = m.c * p.x + m.d * p.y + m.ty;
            double best = 1e9;
            for (int i = 0; i <= 2000; ++i) {
                const mmVertex q = e->PointAt(e->startParam + e->Sweep() * i / 2000);
                best = std::min(best, std::hypot(q.x - x, q.y - y));
            }
            EXPECT_LT(best, 1e-2) << m.a << " " << m.b;
            EXPECT_GE(x, e->extents.minX - 1e-9);
            EXPECT_LE(x, e->extents.maxX + 1e-9);
        }
    }
}

TEST(Ellipse, DrawsPicksAndCopies) {
    const auto e = ellipse();
    mmRecordingDrawContext dc;
    e->Draw(dc, kEverywhere, kDrawNormal, 10.0f, prim::kLineStrip, {0, 0, 10, 5}, true);
    ASSERT_EQ(dc.primitives.size(), 1u);
    const auto& v = dc.primitives[0].vertices;
    expectNear(v.front(), 4, 0);  // parameter 0, moved by the shift
    expectNear(v.back(), 4, 0);
    for (const mmVertex& p : v) EXPECT_NEAR(p.x * p.x / 16 + p.y * p.y / 4, 1.0, 1e-9);

    TestView view(400, 300, 10.0, 0, 300);
    const auto hit = [&](double x, double y) {
        return e->HitTest(view.px(x), view.py(y), view.rect(), view.m, view.scale(), {}, true);
    };
    EXPECT_TRUE(hit(14, 5));
    EXPECT_TRUE(hit(10 + 4 * std::cos(1.0), 5 + 2 * std::sin(1.0)));
    EXPECT_FALSE(hit(10, 5));
    EXPECT_TRUE(e->CrossesRect({13, 4, 15, 6}, {}, true));
    EXPECT_FALSE(e->CrossesRect({9, 4, 11, 6}, {}, true));

    auto copy = CreateEntityOfType(kTypeEllipse);
    copy->CopyFrom(*ellipse(1, 2));
    const auto& c = static_cast<const mmEllipse&>(*copy);
    EXPECT_EQ(c.startParam, 1.0);
    EXPECT_EQ(c.ratio, 0.5);
}

// In a reference scaled unequally, an ellipse child stays on the scaled curve.
TEST(Ellipse, ScaledInAReference) {
    mmBlockRef ref;
    ref.AddPoint(0, 0);
    auto e = std::make_shared<mmEllipse>();
    e->SetConjugate(0, 0, 3, 3, -1, 1, 0, 0);  // turned 45 degrees
    ref.children.push_back(e);
    ASSERT_TRUE(ref.SetScale(2, 1, false));
    const double a = std::hypot(e->majorX, e->majorY);
    for (double t = 0; t < 6.28; t += 0.7) {
        const mmVertex p = e->PointAt(t);
        // Back through the scale onto the original ellipse.
        const double x = p.x / 2, y = p.y;
        const double u = (x * 3 + y * 3) / 18, v = (-x * 1 + y * 1) / 2;  // along the old axes
        EXPECT_NEAR(u * u + v * v, 1.0, 1e-9) << t << " " << a;
    }
}
