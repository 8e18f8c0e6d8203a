// Moving, turning and scaling whole entities of every class about a base point: what each class
// keeps besides its coordinates (a text's turn and height, a reference's rotation and scale, an
// arc's angles, a dimension's measurement).
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "entities/Arc.h"
#include "entities/Attribute.h"
#include "entities/BlockRef.h"
#include "entities/Circle.h"
#include "entities/Dimension.h"
#include "entities/Ellipse.h"
#include "entities/EntityTransform.h"
#include "entities/Face3d.h"
#include "entities/Hatch.h"
#include "entities/Leader.h"
#include "entities/Line.h"
#include "entities/MText.h"
#include "entities/Point.h"
#include "entities/Polyline.h"
#include "entities/Solid.h"
#include "entities/Spline.h"
#include "entities/Text.h"
#include "entities/XLine.h"
#include "DigitGlyphs.h"

namespace {

template <class T>
std::shared_ptr<T> with(std::initializer_list<mmVertex> points) {
    auto e = std::make_shared<T>();
    for (const mmVertex& p : points) e->AddPoint(p.x, p.y);
    return e;
}

std::shared_ptr<mmObject> finished(std::shared_ptr<mmObject> e) {
    e->UpdateGrips();
    e->UpdateExtents();
    return e;
}

// One entity of every class, each away from the origin.
std::vector<std::pair<std::string, std::function<mmObjectPtr()>>> everyClass() {
    static const mmGlyphTablePtr glyphs = DigitGlyphTable();
    return {
        {"line", [] { return finished(with<mmLine>({{10, 10}, {20, 15}})); }},
        {"polyline", [] {
             auto p = with<mmPolyline>({{10, 10}, {20, 10}, {20, 20}});
             p->bulges = {0.5, 0.0, 0.0};
             return finished(p);
         }},
        {"circle", [] {
             auto c = with<mmCircle>({{15, 12}});
             c->SetRadius(3);
             return finished(c);
         }},
        {"arc", [] {
             auto a = with<mmArc>({{15, 12}});
             a->radius = 4;
             a->startAngle = 10;
             a->endAngle = 100;
             return finished(a);
         }},
        {"point", [] { return finished(with<mmPointObj>({{12, 13}})); }},
        {"spline", [] {
             auto s = with<mmSpline>({{10, 10}, {12, 16}, {16, 16}, {18, 10}});
             s->knots = {0, 0, 0, 0, 1, 1, 1, 1};
             return finished(s);
         }},
        {"text", [] {
             auto t = std::make_shared<mmText>();
             t->CreateText("1234", glyphs);
             t->SetHeight(2, nullptr);
             t->SetInsertionPoint(12, 11);
             return finished(t);
         }},
        {"mtext", [] {
             auto t = std::make_shared<mmMText>();
             t->CreateText("12 34", glyphs);
             t->SetHeight(2, nullptr);
             t->rectangleWidth = 40;
             t->SetInsertionPoint(12, 11);
             return finished(t);
         }},
        {"reference", [] {
             auto block = CreateBlock(1, 0, 0, 0, u"B");
             AddToBlock(*block, finished(with<mmLine>({{0, 0}, {4, 2}})));
             auto c = with<mmCircle>({{1, 1}});
             c->SetRadius(1);
             AddToBlock(*block, finished(c));
             auto ref = with<mmBlockRef>({{14, 12}});
             ref->InstantiateBlock(*block, glyphs);
             ref->SetScale(2, 2, false);
             return finished(ref);
         }},
        {"hatch", [] {
             auto h = std::make_shared<mmHatch>();
             auto square = with<mmPolyline>({{10, 10}, {16, 10}, {16, 14}, {10, 14}});
             square->closed = true;
             h->AddBoundary(finished(square), h->AddLoop());
             h->RebuildFill();
             return finished(h);
         }},
        {"elliptic arc", [] {
             auto e = std::make_shared<mmEllipse>();
             e->SetConjugate(15, 12, 4, 1, -0.5, 2, 0.3, 2.5);
             return finished(e);
         }},
        {"solid", [] {
             auto s = std::make_shared<mmSolid>();
             const mmVertex corners[4] = {{10, 10}, {16, 10}, {11, 14}, {15, 15}};
             s->SetCorners(corners);
             return finished(s);
         }},
        {"3d face", [] { return finished(with<mm3dFace>({{10, 10}, {16, 11}, {15, 15}, {11, 14}})); }},
        {"leader", [] { return finished(with<mmLeader>({{10, 10}, {14, 15}, {19, 15}})); }},
        {"attribute", [] {
             auto a = std::make_shared<mmAttribute>();
             a->tag = "PART";
             a->CreateText("56", glyphs);
             a->SetHeight(2, nullptr);
             a->SetInsertionPoint(12, 11);
             return finished(a);
         }},
        {"dimension", [] {
             auto d = std::make_shared<mmDimension>();
             d->SetStyleValues({2.5, 0.625, 1.25, 0.625, 2.5, 0});
             d->InitLabel(glyphs);
             d->InitParts();
             d->defPoints[0] = {10, 10};
             d->defPoints[1] = {20, 10};
             d->defPoints[2] = {20, 14};
             d->BuildDimension(glyphs);
             return finished(d);
         }},
    };
}

void expectBox(const mmRect& actual, const mmRect& expected, const std::string& name) {
    constexpr double kClose = 1e-4;  // dimensions build in single precision
    EXPECT_NEAR(actual.minX, expected.minX, kClose) << name;
    EXPECT_NEAR(actual.minY, expected.minY, kClose) << name;
    EXPECT_NEAR(actual.maxX, expected.maxX, kClose) << name;
    EXPECT_NEAR(actual.maxY, expected.maxY, kClose) << name;
}

}  // namespace

TEST(EntityTransform, EveryClassMovesAndTurnsWhole) {
    for (const auto& [name, make] : everyClass()) {
        const mmObjectPtr e = make();
        const mmRect box = e->extents;
        MoveEntity(*e, 3, -4);
        expectBox(e->extents, {box.minX + 3, box.minY - 4, box.maxX + 3, box.maxY - 4}, name);
        // A quarter turn about (1, 2) takes (x, y) to (1 - (y - 2), 2 + (x - 1)).
        const mmRect moved = e->extents;
        RotateEntityAbout(*e, 1, 2, 90);
        expectBox(e->extents,
                  {3 - moved.maxY, 1 + moved.minX, 3 - moved.minY, 1 + moved.maxX}, name);
    }
}

TEST(EntityTransform, EveryClassScalesWholeButDimensionsKeepTheirSizes) {
    for (const auto& [name, make] : everyClass()) {
        const mmObjectPtr e = make();
        const mmRect box = e->extents;
        ASSERT_TRUE(ScaleEntityAbout(*e, 10, 10, 2)) << name;
        if (e->type == kTypeDimension) continue;
        expectBox(e->extents,
                  {10 + 2 * (box.minX - 10), 10 + 2 * (box.minY - 10), 10 + 2 * (box.maxX - 10),
                   10 + 2 * (box.maxY - 10)},
                  name);
    }
}

TEST(EntityTransform, WhatEachClassKeepsBesidesItsPoints) {
    const auto classes = everyClass();
    const auto make = [&](const std::string& name) {
        for (const auto& [n, f] : classes)
            if (n == name) return f();
        return mmObjectPtr();
    };

    auto text = std::static_pointer_cast<mmText>(make("text"));
    RotateEntityAbout(*text, 0, 0, 30);
    ScaleEntityAbout(*text, 0, 0, 1.5);
    EXPECT_DOUBLE_EQ(text->rotation, 30);
    EXPECT_DOUBLE_EQ(text->height, 3);

    auto mtext = std::static_pointer_cast<mmMText>(make("mtext"));
    ScaleEntityAbout(*mtext, 0, 0, 0.5);
    EXPECT_DOUBLE_EQ(mtext->rectangleWidth, 20);

    auto arc = std::static_pointer_cast<mmArc>(make("arc"));
    RotateEntityAbout(*arc, 0, 0, 45);
    ScaleEntityAbout(*arc, 0, 0, 3);
    EXPECT_DOUBLE_EQ(arc->startAngle, 55);
    EXPECT_DOUBLE_EQ(arc->endAngle, 145);
    EXPECT_DOUBLE_EQ(arc->radius, 12);

    // A reference's own factors and rotation follow, so it is saved as it is shown. Its
    // attributes, placed by it, turn and grow with it.
    auto ref = std::static_pointer_cast<mmBlockRef>(make("reference"));
    auto attribute = std::make_shared<mmAttribute>();
    attribute->CreateText("7", DigitGlyphTable());
    attribute->SetHeight(2, nullptr);
    attribute->SetRotation(10, nullptr);
    attribute->SetInsertionPoint(1, 0);
    ref->children.push_back(attribute);
    ScaleEntityAbout(*ref, 14, 12, 1.5);
    RotateEntityAbout(*ref, 14, 12, 90);
    EXPECT_DOUBLE_EQ(ref->scaleX, 3);
    EXPECT_DOUBLE_EQ(ref->scaleY, 3);
    EXPECT_DOUBLE_EQ(ref->rotation, 90);
    EXPECT_NEAR(static_cast<mmCircle&>(*ref->children[1]).radius, 3, 1e-12);
    EXPECT_DOUBLE_EQ(attribute->rotation, 100);
    EXPECT_DOUBLE_EQ(attribute->height, 3);
    EXPECT_NEAR(attribute->points[0].x, 0, 1e-12);
    EXPECT_NEAR(attribute->points[0].y, 1.5, 1e-12);

    // A dimension measures again: twice as long, turned with the drawing.
    auto d = std::static_pointer_cast<mmDimension>(make("dimension"));
    ScaleEntityAbout(*d, 0, 0, 2);
    RotateEntityAbout(*d, 0, 0, 90);
    EXPECT_EQ(d->label.String(), "20");
    EXPECT_NEAR(d->label.rotation, 90, 1e-4);
    EXPECT_DOUBLE_EQ(d->textHeight, 2.5);

    auto ellipse = std::static_pointer_cast<mmEllipse>(make("elliptic arc"));
    const mmVertex end = ellipse->PointAt(ellipse->endParam);
    const double ratio = ellipse->ratio;
    RotateEntityAbout(*ellipse, 0, 0, 90);
    ScaleEntityAbout(*ellipse, 0, 0, 2);
    EXPECT_NEAR(ellipse->ratio, ratio, 1e-12);
    const mmVertex movedEnd = ellipse->PointAt(ellipse->endParam);
    EXPECT_NEAR(movedEnd.x, -2 * end.y, 1e-9);
    EXPECT_NEAR(movedEnd.y, 2 * end.x, 1e-9);

    auto leader = std::static_pointer_cast<mmLeader>(make("leader"));
    ScaleEntityAbout(*leader, 0, 0, 2);
    EXPECT_DOUBLE_EQ(leader->arrowSize, 5);

    auto lone = std::static_pointer_cast<mmAttribute>(make("attribute"));
    RotateEntityAbout(*lone, 0, 0, 30);
    ScaleEntityAbout(*lone, 0, 0, 1.5);
    EXPECT_DOUBLE_EQ(lone->rotation, 30);
    EXPECT_DOUBLE_EQ(lone->height, 3);
    EXPECT_EQ(lone->tag, "PART");

    // A construction line has no extents: its point and direction turn.
    mmXLine xline;
    xline.AddPoint(5, 0);
    xline.SetDirection(1, 1);
    RotateEntityAbout(xline, 0, 0, 90);
    ScaleEntityAbout(xline, 0, 0, 2);
    MoveEntity(xline, 1, 1);
    EXPECT_NEAR(xline.points[0].x, 1, 1e-12);
    EXPECT_NEAR(xline.points[0].y, 11, 1e-12);
    EXPECT_NEAR(xline.dirX, -std::sqrt(0.5), 1e-12);
    EXPECT_NEAR(xline.dirY, std::sqrt(0.5), 1e-12);

    auto circle = make("circle");
    EXPECT_FALSE(ScaleEntityAbout(*circle, 0, 0, 0));
    EXPECT_FALSE(ScaleEntityAbout(*circle, 0, 0, -1));
    EXPECT_DOUBLE_EQ(static_cast<mmCircle&>(*circle).radius, 3);
}
