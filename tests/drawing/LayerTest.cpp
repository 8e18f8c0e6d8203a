// Layer rules: entity defaults, the working layer, pushing layer changes, the dialog's edits.
#include <gtest/gtest.h>

#include "drawing/Drawing.h"
#include "drawing/LayerList.h"
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

// New layers get distinct names; a rename to a name another row has is refused.
TEST_F(LayerFixture, DialogKeepsLayerNamesDistinct) {
    mmLayerTableEdit edit(d);
    const std::size_t first = edit.NewLayer(d);
    const std::size_t second = edit.NewLayer(d);
    EXPECT_EQ(edit.rows()[first].name, u"New layer");
    EXPECT_EQ(edit.rows()[second].name, u"New layer 2");
    EXPECT_EQ(edit.Rename(second, u"WALLS"), kLayerNameTaken);
    EXPECT_EQ(edit.Rename(second, u""), "");
    EXPECT_EQ(edit.rows()[second].name, u"New layer 2");
    EXPECT_EQ(edit.Rename(second, u"Doors"), "");
    EXPECT_EQ(edit.Rename(second, u"doors"), "");  // its own name in another case
    EXPECT_EQ(edit.rows()[second].name, u"doors");
}

TEST_F(LayerFixture, DialogWidthAndColourEdits) {
    mmLayerTableEdit edit(d);
    const struct {
        std::u16string text;
        int32_t width;
    } widths[] = {{u"7", 7}, {u" 12px", 12}, {u"abc", 0}, {u"-3", -3}, {u"", -3},
                  {u"99999999999", 2147483647}};
    for (const auto& w : widths) {
        edit.SetLineWidthText(1, w.text);
        EXPECT_EQ(edit.rows()[1].lineWidth, w.width);
    }
    edit.SetColor(1, MakeColor(0, 255, 0));
    EXPECT_EQ(edit.rows()[1].colorText, "0,255,0");
    EXPECT_EQ(edit.rows()[1].colorIndex, 3);
    edit.SetColor(1, 0x123456);
    EXPECT_EQ(edit.rows()[1].colorIndex, 0x123456);
    edit.ToggleShow(1);
    EXPECT_FALSE(edit.rows()[1].show);
    EXPECT_EQ(mmLayerTableEdit::CustomColors(2)[0], PaletteColor(32));
    EXPECT_EQ(mmLayerTableEdit::CustomColors(2)[15], PaletteColor(47));
}

// The current-layer list: every layer in table order, the current one selected.
TEST_F(LayerFixture, LayerListAndTheCurrentLayer) {
    mmLayerList list = LayerListOf(d);
    ASSERT_EQ(list.items.size(), 2u);
    EXPECT_EQ(list.items[1].name, u"Walls");
    EXPECT_EQ(list.items[1].color, MakeColor(255, 0, 0));
    EXPECT_EQ(list.current, 0);
    EXPECT_TRUE(ChooseCurrentLayer(d, 1));
    EXPECT_EQ(LayerListOf(d).current, 1);
    EXPECT_FALSE(ChooseCurrentLayer(d, 9));
    EXPECT_EQ(d.currentLayerId, 1);
    d.currentLayerId = 9;  // a current layer that was deleted is not in the list
    EXPECT_EQ(LayerListOf(d).current, -1);
}
