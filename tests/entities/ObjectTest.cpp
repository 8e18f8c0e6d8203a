// The entity base: defaults, extents, culling, copies.
#include <gtest/gtest.h>

#include "entities/Arc.h"
#include "entities/Circle.h"
#include "entities/Line.h"
#include "entities/Point.h"

TEST(Object, EntityWithoutPointsHasInvertedExtentsAndIsCulledEverywhere) {
    mmLine line;
    line.UpdateExtents();
    EXPECT_EQ(line.extents.minX, 9999999999.0);
    EXPECT_EQ(line.extents.minY, 9999999999.0);
    EXPECT_EQ(line.extents.maxX, -9999999999.0);
    EXPECT_EQ(line.extents.maxY, -9999999999.0);
    EXPECT_TRUE(line.CulledBy({-1e9, -1e9, 1e9, 1e9}, {}));
}

TEST(Object, CullingCountsTouchingAsOverlapAndUsesTheShift) {
    mmLine line;
    line.AddPoint(0, 0);
    line.AddPoint(10, 0);
    line.UpdateExtents();
    EXPECT_FALSE(line.CulledBy({10, 0, 20, 5}, {}));
    EXPECT_TRUE(line.CulledBy({10.001, 0, 20, 5}, {}));
    // Shifted by dx1 - dx2 = -100 the line lies at -100..-90.
    EXPECT_FALSE(line.CulledBy({-95, -1, -94, 1}, {0, 0, 100, 0}));
}

TEST(Object, HighlightStippleAlternatesRows) {
    mmCircle c;
    EXPECT_EQ(c.highlightStipple[0], 0x77);
    EXPECT_EQ(c.highlightStipple[3], 0x77);
    EXPECT_EQ(c.highlightStipple[4], 0xDD);
    EXPECT_EQ(c.highlightStipple[127], 0xDD);
}

TEST(Object, AddPointFillsGripsPerClass) {
    mmLine line;
    line.AddPoint(0, 0);
    EXPECT_EQ(line.gripCount(), 1);
    line.AddPoint(4, 2);
    ASSERT_EQ(line.gripCount(), 3);  // start, midpoint, end
    EXPECT_DOUBLE_EQ(line.grips[1].x, 2.0);
    mmPointObj point;
    point.AddPoint(3, 4);
    point.AddPoint(5, 6);
    EXPECT_EQ(point.gripCount(), 2);
}

TEST(Object, CloneKeepsIdAndClassButIsIndependentAndUnselected) {
    mmArc arc;
    arc.id = 42;
    arc.selected = true;
    arc.colorIndex = 3;
    arc.PrepareFourPoints();
    arc.SetRadius(5);
    arc.SetStartAngle(10);
    arc.SetEndAngle(80);
    arc.direction = 0;
    mmEntityList list;
    mmObjectPtr clone = CloneEntity(arc, list);
    ASSERT_EQ(list.size(), 1u);
    auto* copy = dynamic_cast<mmArc*>(clone.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->id, 42);
    EXPECT_FALSE(copy->selected);
    EXPECT_EQ(copy->colorIndex, 3);
    EXPECT_EQ(copy->endAngle, 80);
    EXPECT_EQ(copy->direction, 1);  // direction is not copied
    EXPECT_EQ(copy->gripCount(), 4);
    arc.points[0].x = 100;
    EXPECT_EQ(copy->points[0].x, 0.0);
}

TEST(Object, AssignBetweenDifferentTypesFailsAndChangesNothing) {
    mmLine line;
    line.AddPoint(1, 1);
    line.AddPoint(2, 2);
    mmCircle circle;
    circle.AddPoint(5, 5);
    circle.SetRadius(3);
    EXPECT_FALSE(AssignEntity(line, circle));
    EXPECT_EQ(circle.radius, 3);
    EXPECT_EQ(circle.points[0].x, 5);

    mmCircle other;
    other.AddPoint(7, 8);
    other.SetRadius(9);
    other.selected = true;
    EXPECT_TRUE(AssignEntity(other, circle));
    EXPECT_EQ(circle.radius, 9);
    EXPECT_FALSE(circle.selected);
    EXPECT_EQ(circle.extents.maxX, 16);
}

TEST(Object, EveryTypeCodeCreatesItsClass) {
    for (int32_t t : {kTypeObject, kTypePoint, kTypeLine, kTypeCircle, kTypeArc}) {
        mmObjectPtr e = CreateEntityOfType(t);
        ASSERT_NE(e, nullptr) << t;
        EXPECT_EQ(e->type, t);
    }
    EXPECT_EQ(CreateEntityOfType(12345), nullptr);
}

TEST(Object, CopyPropertiesTakesEveryCommonField) {
    mmLine from;
    from.color = 0x123456;
    from.colorIndex = 42;
    from.selected = true;
    from.erased = true;
    from.visible = false;
    from.layerId = 9;
    from.lineWidth = 4;
    from.lineWidthSource = 2;
    from.id = 77;
    mmCircle to;
    to.lineWidthSource = -1;
    to.CopyProperties(from);
    EXPECT_EQ(to.color, 0x123456u);
    EXPECT_EQ(to.colorIndex, 42);
    EXPECT_TRUE(to.selected);
    EXPECT_TRUE(to.erased);
    EXPECT_FALSE(to.visible);
    EXPECT_EQ(to.layerId, 9);
    EXPECT_EQ(to.lineWidth, 4);
    EXPECT_EQ(to.lineWidthSource, 2);
    EXPECT_EQ(to.id, 77);
}
