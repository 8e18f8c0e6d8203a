// Layer rules: entity defaults, the working layer, pushing layer changes, the dialog's edits.
#include <gtest/gtest.h>

#include "drawing/Drawing.h"
#include "drawing/LayerRules.h"
#include "drawing/LayerTableEdit.h"
#include "drawing/Palette.h"
#include "entities/Circle.h"
#include "entities/Line.h"

namespace {

struct LayerFixture : ::testing::Test {
    mmDrawing d;
    void SetUp() override {
        FillNewDrawing(d);
        mmLayer red = mmLayer::WithDefaults(d.nextLayerId++, u"Walls");
        red.color = MakeColor(255, 0, 0);
        red.lineWidth = 3;
        d.layers[red.id] = red;
    }
    std::shared_ptr<mmLine> addLine(int32_t layerId) {
        auto line = std::make_shared<mmLine>();
        d.currentLayerId = layerId;
        ApplyLayerDefaults(*line, d);
        line->id = d.nextEntityId++;
        AddEntity(d, line);
        return line;
    }
};

}  // namespace

TEST_F(LayerFixture, NewEntitiesTakeTheCurrentLayerByLayer) {
    auto line = addLine(1);
    EXPECT_EQ(line->layerId, 1);
    EXPECT_EQ(line->color, MakeColor(255, 0, 0));
    EXPECT_EQ(line->colorIndex, 256);
    EXPECT_EQ(line->lineWidth, 3);
    EXPECT_EQ(line->lineWidthSource, -1);

    mmCircle orphan;
    orphan.color = 0x123456;
    d.currentLayerId = 77;
    ApplyLayerDefaults(orphan, d);
    EXPECT_EQ(orphan.layerId, 77);
    EXPECT_EQ(orphan.color, 0x123456u);  // missing layer: colour left as it was
}

TEST_F(LayerFixture, WorkingLayerByNameIgnoringCaseWithFallback) {
    d.currentLayerId = 0;
    setWorkingLayer(d, u"wALLS");
    EXPECT_EQ(CurrentProps().layerId, 1);
    EXPECT_EQ(CurrentProps().lineWidth, 3);
    setWorkingLayer(d, u"no such layer");
    EXPECT_EQ(CurrentProps().layerId, 0);
    EXPECT_EQ(CurrentProps().color, 0xFFFFFFu);
    EXPECT_EQ(d.currentLayerId, 0);
}

TEST_F(LayerFixture, PushRecolorsByLayerEntitiesOnly) {
    auto byLayer = addLine(1);
    auto own = addLine(1);
    own->colorIndex = 3;
    own->color = PaletteColor(3);
    own->lineWidthSource = 2;
    own->lineWidth = 2;
    auto other = addLine(0);

    mmLayer& walls = d.layers.at(1);
    walls.color = MakeColor(0, 0, 255);
    walls.show = false;
    walls.lineWidth = 5;
    PushLayerProperties(d, nullptr);

    EXPECT_EQ(byLayer->color, MakeColor(0, 0, 255));
    EXPECT_EQ(byLayer->lineWidth, 5);
    EXPECT_FALSE(byLayer->visible);
    EXPECT_EQ(own->color, PaletteColor(3));
    EXPECT_EQ(own->lineWidth, 2);
    EXPECT_FALSE(own->visible);
    EXPECT_TRUE(other->visible);
}

TEST_F(LayerFixture, DialogNewLayerTakesItsIdAtOnce) {
    mmLayerTableEdit edit(d);
    const std::size_t row = edit.NewLayer(d);
    EXPECT_EQ(d.nextLayerId, 3);
    EXPECT_EQ(edit.rows()[row].name, u"New layer");
    EXPECT_EQ(edit.rows()[row].id, 2);
    EXPECT_EQ(d.layers.size(), 2u);  // not applied yet
    edit.Apply(d, nullptr);
    EXPECT_EQ(d.layers.size(), 3u);
}

TEST_F(LayerFixture, DialogRefusesToDeleteTheCurrentOrTheLastLayer) {
    mmLayerTableEdit edit(d);
    EXPECT_EQ(edit.Delete({0}, 0), "Can't delete current layer!");
    EXPECT_EQ(edit.rows().size(), 2u);

    EXPECT_EQ(edit.Delete({1}, 0), "");
    EXPECT_EQ(edit.rows().size(), 1u);
    ASSERT_EQ(edit.deletedIds().size(), 1u);
    EXPECT_EQ(edit.Delete({0}, 5), "Can't delete current layer!");  // the last one stays

    auto line = addLine(1);
    d.currentLayerId = 0;
    edit.Apply(d, nullptr);
    EXPECT_EQ(d.layers.count(1), 0u);
    EXPECT_EQ(line->layerId, 1);  // entities keep the id of a deleted layer
}
