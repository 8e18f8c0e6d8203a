// Splines: which definitions give a curve; the curve itself (any degree, weights, the periodic
// form, fit points) within the drawing tolerance and in double precision; the control polygon
// highlighted, picked and crossed; copies keep the definition.
#include <gtest/gtest.h>

#include <cmath>

#include "entities/DrawContext.h"
#include "entities/Geometry.h"
#include "entities/RecordingDrawContext.h"
#include "entities/Spline.h"
#include "entities/SplineConstruction.h"
#include "support/StripDistance.h"
#include "support/TestView.h"

namespace {

const mmRect kEverywhere{-1e9, -1e9, 1e9, 1e9};

std::shared_ptr<mmSpline> makeSpline(std::vector<mmVertex> control, std::vector<double> knots,
                                     int degree = 3, std::vector<double> weights = {}) {
    auto s = std::make_shared<mmSpline>();
    for (const mmVertex& v : control) s->AddPoint(v.x, v.y);
    s->degree = static_cast<int16_t>(degree);
    s->knots = std::move(knots);
    s->weights = std::move(weights);
    s->UpdateGrips();
    s->UpdateExtents();
    return s;
}

// A clamped cubic through four control points: a Bezier curve.
std::shared_ptr<mmSpline> bezier() {
    return makeSpline({{20, 20}, {60, 130}, {140, 130}, {180, 20}}, {0, 0, 0, 0, 1, 1, 1, 1});
}

// The line strip a spline draws at the given scale (pixels per unit).
std::vector<mmVertex> drawn(mmSpline& s, float pixelsPerUnit = 1.0f, const mmShift& shift = {}) {
    mmRecordingDrawContext dc;
    s.Draw(dc, kEverywhere, kDrawNormal, pixelsPerUnit, prim::kLineStrip, shift, true);
    EXPECT_EQ(dc.errors, 0);
    if (dc.primitives.empty()) return {};
    EXPECT_EQ(dc.primitives.size(), 1u);
    EXPECT_EQ(dc.primitives[0].primitive, prim::kLineStrip);
    return dc.primitives[0].vertices;
}

}  // namespace

TEST(SplineDefinition, OnlyDefinitionsThatGiveACurveAreDrawn) {
    const std::vector<mmVertex> four{{0, 0}, {10, 20}, {30, 20}, {40, 0}};
    struct Case {
        const char* name;
        std::vector<double> knots;
        int degree;
        std::vector<double> weights;
        bool drawn;
    };
    const Case cases[] = {
        {"clamped cubic", {0, 0, 0, 0, 1, 1, 1, 1}, 3, {}, true},
        {"quadratic", {0, 0, 0, 1, 2, 2, 2}, 2, {}, true},
        {"linear", {0, 0, 1, 2, 3, 3}, 1, {}, true},
        {"weighted", {0, 0, 0, 0, 1, 1, 1, 1}, 3, {1, 2, 2, 1}, true},
        {"one knot short", {0, 0, 0, 0, 1, 1, 1}, 3, {}, false},
        {"one knot too many", {0, 0, 0, 0, 1, 1, 1, 1, 1}, 3, {}, false},
        {"no knots", {}, 3, {}, false},
        {"decreasing", {0, 0, 0, 1, 0, 1, 1, 1}, 3, {}, false},
        {"not a number", {0, 0, 0, 0, NAN, 1, 1, 1}, 3, {}, false},
        {"empty range", {1, 1, 1, 1, 1, 1, 1, 1}, 3, {}, false},
        {"degree above the points", {0, 0, 0, 0, 0, 1, 1, 1, 1}, 4, {}, false},
        {"degree 0", {0, 1, 2, 3, 4}, 0, {}, false},
        {"a weight short", {0, 0, 0, 0, 1, 1, 1, 1}, 3, {1, 1, 1}, false},
        {"a weight not positive", {0, 0, 0, 0, 1, 1, 1, 1}, 3, {1, 0, 1, 1}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto s = makeSpline(four, c.knots, c.degree, c.weights);
        EXPECT_EQ(s->IsDrawable(), c.drawn);
        EXPECT_EQ(drawn(*s).empty(), !c.drawn);
    }
}

TEST(SplineCurve, StaysWithinHalfAPixelOfTheCurve) {
    auto s = bezier();
    for (float scale : {0.05f, 1.0f, 20.0f}) {
        SCOPED_TRACE(scale);
        const std::vector<mmVertex> strip = drawn(*s, scale);
        ASSERT_GE(strip.size(), 2u);
        EXPECT_NEAR(strip.front().x, 20, 1e-12);
        EXPECT_NEAR(strip.back().x, 180, 1e-12);
        // Points of the Bezier curve, checked against the strip.
        for (double t = 0.0; t <= 1.0; t += 0.01) {
            const double a = (1 - t) * (1 - t) * (1 - t), b = 3 * t * (1 - t) * (1 - t),
                         c = 3 * t * t * (1 - t), d = t * t * t;
            const mmVertex p(20 * a + 60 * b + 140 * c + 180 * d, 20 * a + 130 * b + 130 * c + 20 * d);
            EXPECT_LT(DistanceToStrip(p, strip), 0.5 / scale);
        }
    }
    EXPECT_LT(drawn(*s, 0.05f).size(), drawn(*s, 20.0f).size()) << "fewer points zoomed out";
}

TEST(SplineCurve, WeightsGiveTheExactCircle) {
    // A quarter of the unit circle as a rational quadratic, a full one from the elliptic arc
    // construction: every point drawn lies on the circle.
    const double w = std::sqrt(0.5);
    auto quarter = makeSpline({{100, 0}, {100, 100}, {0, 100}}, {0, 0, 0, 1, 1, 1}, 2, {1, w, 1});
    mmNurbsDefinition full = EllipticArcAsNurbs({0, 0}, {100, 0}, 1.0, 0.0, 2 * kPi, false);
    auto circle = makeSpline(full.points, full.knots, full.degree, full.weights);
    for (auto* s : {quarter.get(), circle.get()}) {
        const std::vector<mmVertex> strip = drawn(*s, 10.0f);
        ASSERT_GE(strip.size(), 8u);
        for (const mmVertex& p : strip) EXPECT_NEAR(std::hypot(p.x, p.y), 100.0, 1e-9);
    }
    const std::vector<mmVertex> strip = drawn(*circle, 10.0f);
    EXPECT_NEAR(strip.front().x, strip.back().x, 1e-9) << "closed";
    EXPECT_NEAR(strip.front().y, strip.back().y, 1e-9);
}

TEST(SplineCurve, EllipticArcFollowsItsDirection) {
    // Half of an ellipse of axes 20 and 10 turned by 90 degrees, and the same followed backwards.
    mmNurbsDefinition forward = EllipticArcAsNurbs({5, 5}, {0, 20}, 0.5, 0.0, kPi, false);
    mmNurbsDefinition backward = EllipticArcAsNurbs({5, 5}, {0, 20}, 0.5, 0.0, kPi, true);
    auto a = makeSpline(forward.points, forward.knots, 2, forward.weights);
    auto b = makeSpline(backward.points, backward.knots, 2, backward.weights);
    const std::vector<mmVertex> sa = drawn(*a, 10.0f), sb = drawn(*b, 10.0f);
    ASSERT_FALSE(sa.empty());
    ASSERT_FALSE(sb.empty());
    EXPECT_NEAR(sa.front().y, 25, 1e-9);  // the major axis end
    EXPECT_NEAR(sa.front().x, 5, 1e-9);
    EXPECT_NEAR(sb.back().y, 25, 1e-9);
    for (const mmVertex& p : sa) {
        const double u = (p.y - 5) / 20, v = (p.x - 5) / -10;  // the minor axis points left
        EXPECT_NEAR(u * u + v * v, 1.0, 1e-9);
        EXPECT_LE(p.x, 5 + 1e-9);
    }
}

TEST(SplineCurve, PeriodicKnotsGiveTheSameClosedCurveAsTheWrappedForm) {
    // Four control points of a square with uniform periodic knots, and the same curve with the
    // first three points repeated and the knots continued: one closed loop either way.
    const std::vector<mmVertex> square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    auto periodic = makeSpline(square, {0, 1, 2, 3, 4});
    periodic->flags |= mmSpline::kPeriodic | mmSpline::kClosed;
    std::vector<mmVertex> wrapped = square;
    wrapped.insert(wrapped.end(), square.begin(), square.begin() + 3);
    auto open = makeSpline(wrapped, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    const std::vector<mmVertex> a = drawn(*periodic, 10.0f), b = drawn(*open, 10.0f);
    ASSERT_FALSE(a.empty());
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_NEAR(a[i].x, b[i].x, 1e-12);
        EXPECT_NEAR(a[i].y, b[i].y, 1e-12);
    }
    EXPECT_NEAR(a.front().x, a.back().x, 1e-12);
    EXPECT_NEAR(a.front().y, a.back().y, 1e-12);
    EXPECT_NEAR(a.front().x, 50.0 / 6, 1e-12);  // (P0 + 4 P1 + P2) / 6
    EXPECT_NEAR(a.front().y, 10.0 / 6, 1e-12);
}

TEST(SplineCurve, SurveyCoordinatesKeepTheirDigits) {
    // Control points 10 km from the origin, 1 mm apart in y: drawn relative to the view's shift,
    // the curve's points keep the millimetre.
    auto s = makeSpline({{1e7, 0}, {1e7 + 1, 0.001}, {1e7 + 2, 0.001}, {1e7 + 3, 0}},
                        {0, 0, 0, 0, 1, 1, 1, 1});
    const std::vector<mmVertex> strip = drawn(*s, 1000.0f, {0, 0, 1e7, 0});
    ASSERT_GE(strip.size(), 3u);
    EXPECT_EQ(strip.front().x, 0.0);
    EXPECT_EQ(strip.back().x, 3.0);
    const mmVertex& middle = strip[strip.size() / 2];
    EXPECT_NEAR(middle.y, 0.00075, 1e-5);
}

TEST(SplineFitPoints, CubicPassesThroughThemWithTheGivenTangents) {
    // As the drafting programs interpolate them (values from ezdxf's fit_points_to_cad_cv).
    const std::vector<mmVertex> fit{{0, 0}, {10, 10}, {20, 0}, {30, 10}};
    const mmVertex along(1, 0);
    mmNurbsDefinition d;
    ASSERT_TRUE(InterpolateFitPoints(fit, &along, &along, d));
    const std::vector<mmVertex> expected{{0, 0},           {4.714045208, 0}, {9.171572875, 20},
                                         {20.828427125, -10}, {25.285954792, 10}, {30, 10}};
    ASSERT_EQ(d.points.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(d.points[i].x, expected[i].x, 1e-8) << i;
        EXPECT_NEAR(d.points[i].y, expected[i].y, 1e-8) << i;
    }
    EXPECT_EQ(d.knots, (std::vector<double>{0, 0, 0, 0, 1.0 / 3, 2.0 / 3, 1, 1, 1, 1}));

    // A spline given by fit points alone: its curve runs through each of them.
    auto s = std::make_shared<mmSpline>();
    s->fitPoints = fit;
    s->fitPoints.push_back(fit.back());  // a repeat is dropped
    ASSERT_TRUE(s->ControlFromFitPoints());
    EXPECT_EQ(s->ControlPointCount(), 6);
    s->UpdateExtents();
    const std::vector<mmVertex> strip = drawn(*s, 100.0f);
    for (const mmVertex& p : fit) EXPECT_LT(DistanceToStrip(p, strip), 0.005);
    // Without tangents the ends are straight: the second control point lies on the line
    // through the first two fit points' curve start, with no curvature there.
    const mmVertex& p0 = s->points[0];
    const mmVertex& p1 = s->points[1];
    const mmVertex& p2 = s->points[2];
    const double k1 = s->knots[4], k2 = s->knots[5];
    EXPECT_NEAR(k2 * (p0.x) - (k1 + k2) * p1.x + k1 * p2.x, 0.0, 1e-9);
    EXPECT_NEAR(k2 * (p0.y) - (k1 + k2) * p1.y + k1 * p2.y, 0.0, 1e-9);

    mmNurbsDefinition none;
    EXPECT_FALSE(InterpolateFitPoints(std::vector<mmVertex>{{1, 1}, {1, 1}}, nullptr, nullptr, none));
    EXPECT_FALSE(InterpolateFitPoints(std::vector<mmVertex>{{0, 0}, {NAN, 1}}, nullptr, nullptr, none));
}

TEST(SplineControlPolygon, HighlightPickAndCrossing) {
    auto s = makeSpline({{0, 0}, {10, 20}, {30, 20}, {40, 0}}, {0, 0, 0, 0, 1, 1, 1, 1});
    mmRecordingDrawContext dc;
    s->Draw(dc, kEverywhere, kDrawHighlight, 1.0f, prim::kLineStrip, {}, true);
    ASSERT_EQ(dc.primitives.size(), 1u);
    EXPECT_EQ(dc.primitives[0].primitive, prim::kLineStrip);
    EXPECT_EQ(dc.primitives[0].vertices.size(), 4u);
    EXPECT_TRUE(dc.primitives[0].lineStipple);

    TestView view(400, 300, 1.0, 100, 200);
    auto hit = [&](double x, double y) {
        return s->HitTest(view.px(x), view.py(y), view.rect(), view.m, 1.0f, {}, true);
    };
    EXPECT_TRUE(hit(20, 22));   // near the polygon's top edge (the curve peaks at 15)
    EXPECT_FALSE(hit(20, 15));
    EXPECT_TRUE(s->CrossesRect({35, 5, 50, 6}, {}, true));
    EXPECT_FALSE(s->CrossesRect({15, 5, 25, 12}, {}, true));  // under the polygon
}

TEST(SplineCopy, CloneKeepsTheWholeDefinition) {
    auto s = makeSpline({{0, 0}, {10, 20}, {30, 20}}, {0, 0, 0, 1, 1, 1}, 2, {1, 0.5, 1});
    s->flags = mmSpline::kPlanar | mmSpline::kRational;
    s->fitPoints = {{0, 0}, {30, 20}};
    s->startTangent = mmVertex(1, 0);
    mmEntityList list;
    auto clone = std::dynamic_pointer_cast<mmSpline>(CloneEntity(*s, list));
    ASSERT_TRUE(clone);
    EXPECT_EQ(clone->degree, 2);
    EXPECT_EQ(clone->flags, s->flags);
    EXPECT_EQ(clone->knots, s->knots);
    EXPECT_EQ(clone->weights, s->weights);
    EXPECT_EQ(clone->fitPoints.size(), 2u);
    EXPECT_EQ(clone->startTangent.x, 1.0);
    EXPECT_EQ(clone->gripCount(), 3);
    EXPECT_EQ(clone->extents.maxX, 30);
}
