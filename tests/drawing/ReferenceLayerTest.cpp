// Layer changes reaching the children of block references as DXF programs show them: a child is
// hidden with the reference or by its own layer; by-layer colours and widths come from the
// child's own layer, the reference's for children on layer "0", or the reference itself when the
// layer is missing; colours by block from the reference; nested references and texts included.
#include <gtest/gtest.h>

#include <vector>

#include "drawing/Drawing.h"
#include "drawing/LayerRules.h"
#include "drawing/Palette.h"
#include "entities/BlockRef.h"
#include "entities/Line.h"
#include "entities/Text.h"

namespace {

std::shared_ptr<mmLine> child(int32_t layerId) {
    auto l = std::make_shared<mmLine>();
    l->AddPoint(0, 0);
    l->AddPoint(1, 0);
    l->layerId = layerId;
    l->colorIndex = kColorByLayer;
    l->lineWidthSource = kLineWidthByLayer;
    return l;
}

struct ReferenceLayerFixture : ::testing::Test {
    mmDrawing d;
    int32_t walls = 0, doors = 0;
    std::shared_ptr<mmBlockRef> ref = std::make_shared<mmBlockRef>();
    std::shared_ptr<mmBlockRef> nested = std::make_shared<mmBlockRef>();

    void SetUp() override {
        FillNewDrawing(d);
        mmLayer w = mmLayer::WithDefaults(walls = d.nextLayerId++, u"Walls");
        w.color = MakeColor(255, 0, 0);
        w.lineWidth = 3;
        d.layers[w.id] = w;
        mmLayer r = mmLayer::WithDefaults(doors = d.nextLayerId++, u"Doors");
        r.color = MakeColor(0, 0, 255);
        r.lineWidth = 2;
        d.layers[r.id] = r;

        d.currentLayerId = doors;
        ApplyLayerDefaults(*ref, d);
        ref->AddPoint(5, 5);
        ref->id = d.nextEntityId++;
        ref->children = {child(walls), child(0), child(77)};  // 77: no such layer
        nested->layerId = walls;
        nested->AddPoint(1, 1);
        nested->children = {child(walls)};
        ref->children.push_back(nested);
        AddEntity(d, ref);
    }
};

}  // namespace

TEST_F(ReferenceLayerFixture, ChildrenAreHiddenWithTheReferenceOrByTheirOwnLayer) {
    d.layers[doors].show = false;
    PushLayerProperties(d, nullptr);
    EXPECT_FALSE(ref->visible);
    for (const auto& c : ref->children) EXPECT_FALSE(c->visible);
    EXPECT_FALSE(nested->children[0]->visible);
    // Children on a layer that is off or frozen are hidden; those on layer "0" show on the
    // reference's layer, those on a missing layer with the reference.
    for (const bool frozen : {false, true}) {
        d.layers[doors].show = true;
        d.layers[walls].show = frozen;
        d.layers[walls].frozen = frozen;
        PushLayerProperties(d, nullptr);
        EXPECT_FALSE(ref->children[0]->visible);
        EXPECT_TRUE(ref->children[1]->visible);
        EXPECT_TRUE(ref->children[2]->visible);
        EXPECT_FALSE(nested->visible);
        EXPECT_FALSE(nested->children[0]->visible);
    }
    // Layer "0" itself off: its children in references still show on the reference's layer.
    d.layers[walls].show = true;
    d.layers[walls].frozen = false;
    d.layers[0].frozen = true;
    PushLayerProperties(d, nullptr);
    EXPECT_TRUE(ref->children[1]->visible);
}

TEST_F(ReferenceLayerFixture, ChildrenFollowTheirOwnLayerOrElseTheReference) {
    auto own = ref->children[2];
    own->colorIndex = 1;
    own->color = MakeColor(255, 0, 0);
    own->lineWidthSource = 0;
    own->lineWidth = 9;
    auto missing = child(77);
    ref->children.push_back(missing);
    auto byBlock = child(walls);
    byBlock->colorIndex = kColorByBlock;
    ref->children.push_back(byBlock);
    PushLayerProperties(d, nullptr);
    EXPECT_EQ(ref->children[0]->color, MakeColor(255, 0, 0));  // its layer, Walls
    EXPECT_EQ(ref->children[0]->lineWidth, 3);
    EXPECT_EQ(ref->children[1]->color, MakeColor(0, 0, 255));  // layer "0": the reference's, Doors
    EXPECT_EQ(ref->children[1]->lineWidth, 2);
    EXPECT_EQ(own->color, MakeColor(255, 0, 0));  // its own colour and width stay
    EXPECT_EQ(own->lineWidth, 9);
    EXPECT_EQ(missing->color, MakeColor(0, 0, 255));  // missing layer: the reference's
    EXPECT_EQ(missing->lineWidth, 2);
    EXPECT_EQ(byBlock->color, ref->color);  // by block: the reference's colour
    EXPECT_EQ(nested->children[0]->color, MakeColor(255, 0, 0));

    d.layers[walls].color = MakeColor(0, 255, 0);
    PushLayerProperties(d, nullptr);
    EXPECT_EQ(ref->children[0]->color, MakeColor(0, 255, 0));
    EXPECT_EQ(nested->children[0]->color, MakeColor(0, 255, 0));
}

// Layer "0" children of a reference nested on layer "0" take the outer reference's layer; a
// nested reference by block passes the outer colour on to its children by block.
TEST_F(ReferenceLayerFixture, NestedLayerZeroAndByBlockFollowTheOuterReference) {
    nested->layerId = 0;
    nested->colorIndex = kColorByBlock;
    auto zero = child(0);
    auto byBlock = child(walls);
    byBlock->colorIndex = kColorByBlock;
    nested->children = {zero, byBlock};
    ref->colorIndex = 3;
    ref->color = PaletteColor(3);
    PushLayerProperties(d, nullptr);
    EXPECT_EQ(zero->color, MakeColor(0, 0, 255));  // Doors, the outer reference's layer
    EXPECT_EQ(zero->lineWidth, 2);
    EXPECT_EQ(nested->color, PaletteColor(3));
    EXPECT_EQ(byBlock->color, PaletteColor(3));
}

TEST_F(ReferenceLayerFixture, TextChildrenAreRecoloured) {
    auto text = std::make_shared<mmText>();
    text->CreateText("A", nullptr);
    text->layerId = walls;
    text->colorIndex = kColorByLayer;
    ref->children.push_back(text);
    d.layers[walls].color = MakeColor(1, 2, 3);
    PushLayerProperties(d, nullptr);
    EXPECT_EQ(text->color, MakeColor(1, 2, 3));
}

// References sharing their children: a pass over the drawing gives those that take the same
// push one new list between them; one reference pushed alone gets its own copy, the others keep
// theirs.
TEST_F(ReferenceLayerFixture, SharedChildrenStaySharedAmongReferencesPushedAlike) {
    std::vector<std::shared_ptr<mmBlockRef>> copies;
    for (int i = 0; i < 3; ++i) {
        auto c = std::make_shared<mmBlockRef>();
        c->CopyFrom(*ref);
        c->id = d.nextEntityId++;
        AddEntity(d, c);
        copies.push_back(c);
    }
    copies[2]->layerId = walls;
    PushLayerProperties(d, nullptr);
    EXPECT_TRUE(copies[0]->children.SameAs(ref->children));
    EXPECT_TRUE(copies[1]->children.SameAs(ref->children));
    EXPECT_FALSE(copies[2]->children.SameAs(ref->children));
    const mmBlockRef& first = *ref;
    const mmBlockRef& onWalls = *copies[2];
    EXPECT_EQ(first.children[1]->color, MakeColor(0, 0, 255));  // layer "0": Doors
    EXPECT_EQ(onWalls.children[1]->color, MakeColor(255, 0, 0));  // Walls

    copies[1]->layerId = walls;
    PushLayerPropertiesTo(*copies[1], d, nullptr);
    EXPECT_FALSE(copies[1]->children.SameAs(ref->children));
    EXPECT_TRUE(copies[0]->children.SameAs(ref->children));
    EXPECT_EQ(first.children[1]->color, MakeColor(0, 0, 255));
}
