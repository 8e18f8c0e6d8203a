// The grip rules of each class: what moving grip g to a point does to the entity.
#include <gtest/gtest.h>

#include <cmath>

#include "commands/GripRules.h"
#include "drawing/DimensionRules.h"
#include "entities/Arc.h"
#include "entities/BlockRef.h"
#include "entities/Circle.h"
#include "entities/Line.h"
#include "entities/Point.h"
#include "entities/Polyline.h"
#include "entities/Spline.h"
#include "entities/Text.h"

namespace {

template <class T>
std::shared_ptr<T> withPoints(std::initializer_list<mmVertex> points) {
    auto e = std::make_shared<T>();
    for (const mmVertex& p : points)
        e->AddPoint(p.x, p.y);
    e->UpdateGrips();
    e->UpdateExtents();
    return e;
}

// The mid point of segment i of a polyline, as its arc runs now.
mmVertex arcMid(const mmPolyline& p, int i) {
    mmArc arc;
    EXPECT_TRUE(p.SegmentArc(i, 0.0, 0.0, arc));
    return {arc.points[2].x, arc.points[2].y};
}

// How far q lies off the circle of segment i's arc.
double offArc(const mmPolyline& p, int i, const mmVertex& q) {
    mmArc arc;
    EXPECT_TRUE(p.SegmentArc(i, 0.0, 0.0, arc));
    return std::fabs(std::hypot(q.x - arc.points[0].x, q.y - arc.points[0].y) - arc.radius);
}

}  // namespace

TEST(GripRules, LineEndsAndTheMidpointThatMovesItWhole) {
    struct Case {
        int grip;
        mmVertex start, end;
    } cases[] = {{0, {5, 5}, {10, 0}}, {2, {0, 0}, {5, 5}}, {1, {0, 5}, {10, 5}}};
    for (const Case& c : cases) {
        auto line = withPoints<mmLine>({{0, 0}, {10, 0}});
        ApplyGripRule(*line, c.grip, {5, 5});
        EXPECT_EQ(line->points[0].x, c.start.x) << c.grip;
        EXPECT_EQ(line->points[0].y, c.start.y) << c.grip;
        EXPECT_EQ(line->points[1].x, c.end.x) << c.grip;
        EXPECT_EQ(line->points[1].y, c.end.y) << c.grip;
        EXPECT_EQ(line->grips[1].x, (c.start.x + c.end.x) / 2) << c.grip;  // grips follow
        EXPECT_EQ(line->extents.maxY, std::max(c.start.y, c.end.y)) << c.grip;
    }
}

TEST(GripRules, PolylineVerticesAndTheirArcsRefitted) {
    // (0,0) -arc-> (10,0) -arc-> (20,0) -> (20,10): half circles bulging down, then up.
    const auto make = [] {
        auto p = withPoints<mmPolyline>({{0, 0}, {10, 0}, {20, 0}, {20, 10}});
        p->bulges = {1.0, -1.0, 0.0, 0.0};
        p->UpdateGrips();
        p->UpdateExtents();
        return p;
    };
    {  // a straight segment's vertex just moves
        auto p = make();
        ApplyGripRule(*p, 6, {25, 12});
        EXPECT_EQ(p->points[3].x, 25);
        EXPECT_EQ(p->bulges[2], 0.0);
    }
    {  // vertex 1: both arcs beside it are refitted through their old mid points
        auto p = make();
        const mmVertex mid0 = arcMid(*p, 0), mid1 = arcMid(*p, 1);
        ApplyGripRule(*p, 2, {10, 4});
        EXPECT_EQ(p->points[1].y, 4);
        EXPECT_NEAR(offArc(*p, 0, mid0), 0.0, 1e-4);
        EXPECT_GT(p->bulges[0], 0.0);  // still counter-clockwise through (5, -5)
        EXPECT_LT(p->bulges[1], 0.0);
        EXPECT_NEAR(offArc(*p, 1, mid1), 0.0, 1e-4);
        EXPECT_EQ(p->grips[2].y, 4);
        EXPECT_GE(p->extents.maxY, 4.0);
    }
    {  // the mid grip of an arc: the arc runs through the new point, the vertices stay
        auto p = make();
        ApplyGripRule(*p, 1, {5, -2});
        EXPECT_EQ(p->points[0].x, 0);
        EXPECT_EQ(p->points[1].x, 10);
        EXPECT_NEAR(std::fabs(p->bulges[0]), std::tan(std::atan2(2.0, 5.0)), 1e-6);
        EXPECT_NEAR(p->grips[1].y, -2, 1e-6);
    }
    {  // a mid point dragged onto the chord makes the segment straight
        auto p = make();
        ApplyGripRule(*p, 1, {5, 0});
        EXPECT_EQ(p->bulges[0], 0.0);
    }
}

TEST(GripRules, CircleArcAndTheSingleGripClasses) {
    auto circle = withPoints<mmCircle>({{0, 0}});
    circle->SetRadius(5);
    ApplyGripRule(*circle, 2, {0, 8});
    EXPECT_EQ(circle->radius, 8);
    ApplyGripRule(*circle, 0, {3, 4});
    EXPECT_EQ(circle->points[0].x, 3);
    EXPECT_EQ(circle->radius, 8);
    EXPECT_EQ(circle->extents.maxX, 11);

    auto arc = std::make_shared<mmArc>();
    ASSERT_TRUE(arc->SetThroughThreePoints({10, 0}, {0, 10}, {-10, 0}, 0, 0));
    arc->UpdateGrips();
    arc->UpdateExtents();
    ApplyGripRule(*arc, 0, {1, 1});  // the centre: the arc moves, radius and angles stay
    EXPECT_EQ(arc->points[0].x, 1);
    EXPECT_NEAR(arc->radius, 10, 1e-9);
    EXPECT_NEAR(arc->grips[1].x, 11, 1e-9);
    ApplyGripRule(*arc, 2, {1, 6});  // the mid grip: through start, (1, 6) and end
    EXPECT_NEAR(arc->grips[1].x, 11, 1e-9);
    EXPECT_NEAR(arc->grips[3].x, -9, 1e-9);
    EXPECT_NEAR(arc->grips[2].y, 6, 1e-6);

    auto point = withPoints<mmPointObj>({{1, 1}});
    ApplyGripRule(*point, 0, {7, 8});
    EXPECT_EQ(point->points[0].x, 7);
    EXPECT_EQ(point->grips[0].y, 8);

    auto text = std::make_shared<mmText>();
    text->CreateText("Hi", nullptr);
    text->SetInsertionPoint(1, 1);
    text->UpdateExtents();
    const double width = text->extents.maxX - text->extents.minX;
    ApplyGripRule(*text, 0, {20, 30});
    EXPECT_EQ(text->points[0].x, 20);
    EXPECT_NEAR(text->extents.maxX - text->extents.minX, width, 1e-9);

    auto reference = std::make_shared<mmBlockRef>();
    reference->children.push_back(withPoints<mmLine>({{0, 0}, {2, 0}}));
    reference->AddPoint(100, 100);  // the insertion point, away from its geometry
    reference->UpdateGrips();
    reference->UpdateExtents();
    ApplyGripRule(*reference, 0, {10, 10});
    EXPECT_EQ(reference->points[0].x, 10);
    EXPECT_EQ(reference->extents.minX, 10);
    EXPECT_EQ(reference->extents.maxX, 12);

    auto spline = withPoints<mmSpline>({{0, 0}, {5, 5}, {10, 0}});
    ApplyGripRule(*spline, 1, {50, 50});
    EXPECT_EQ(spline->points[1].x, 5);  // no rule: nothing moves
}

TEST(GripRules, DimensionTakesTheMovedDefinitionPointAndMeasuresAgain) {
    mmDrawing drawing;
    FillNewDrawing(drawing);
    auto d = NewDimension(drawing, kDimRotated, 0, {{{0, 0}, {10, 0}, {10, 5}}}, nullptr);
    const std::string before = d->label.String().data();
    ApplyGripRule(*d, 1, {20, 0});
    EXPECT_EQ(d->defPoints[1].x, 20);
    EXPECT_NE(std::string(d->label.String()), before);  // the text measures 20 now
    EXPECT_EQ(d->grips[1].x, 20);
    // The far end of the dimension line drags P2 along by the same move.
    const mmVertex p2 = d->defPoints[2], p3(d->points[3].x, d->points[3].y);
    ApplyGripRule(*d, 3, {p3.x + 1, p3.y + 4});
    EXPECT_NEAR(d->defPoints[2].x, p2.x + 1, 1e-9);
    EXPECT_NEAR(d->defPoints[2].y, p2.y + 4, 1e-9);
}
