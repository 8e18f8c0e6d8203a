// Layer changes reaching the children of block references: visibility from the reference,
// by-layer colours and widths from each child's own layer, or from the reference when that
// layer is missing; nested references and texts included.
#include <gtest/gtest.h>

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

TEST_F(ReferenceLayerFixture, HidingTheReferencesLayerHidesAllItsChildren) {
    d.layers[doors].show = false;
    PushLayerProperties(d, nullptr);
    EXPECT_FALSE(ref->visible);
    for (const auto& c : ref->children) EXPECT_FALSE(c->visible);
    EXPECT_FALSE(nested->children[0]->visible);
    // A child's own hidden layer does not hide it while the reference shows.
    d.layers[doors].show = true;
    d.layers[walls].show = false;
    PushLayerProperties(d, nullptr);
    for (const auto& c : ref->children) EXPECT_TRUE(c->visible);
}

TEST_F(ReferenceLayerFixture, ChildrenFollowTheirOwnLayerOrElseTheReference) {
    auto own = ref->children[2];
    own->colorIndex = 1;
    own->color = MakeColor(255, 0, 0);
    own->lineWidthSource = 0;
    own->lineWidth = 9;
    ref->children.push_back(child(77));
    PushLayerProperties(d, nullptr);
    EXPECT_EQ(ref->children[0]->color, MakeColor(255, 0, 0));  // its layer, Walls
    EXPECT_EQ(ref->children[0]->lineWidth, 3);
    EXPECT_EQ(ref->children[1]->color, 0xFFFFFFu);  // layer "0"
    EXPECT_EQ(own->color, MakeColor(255, 0, 0));    // its own colour and width stay
    EXPECT_EQ(own->lineWidth, 9);
    EXPECT_EQ(ref->children.back()->color, MakeColor(0, 0, 255));  // missing layer: the reference's
    EXPECT_EQ(ref->children.back()->lineWidth, 2);
    EXPECT_EQ(nested->children[0]->color, MakeColor(255, 0, 0));

    d.layers[walls].color = MakeColor(0, 255, 0);
    PushLayerProperties(d, nullptr);
    EXPECT_EQ(ref->children[0]->color, MakeColor(0, 255, 0));
    EXPECT_EQ(nested->children[0]->color, MakeColor(0, 255, 0));
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
