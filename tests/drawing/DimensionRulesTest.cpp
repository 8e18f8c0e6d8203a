// Dimensions in the drawing: a new dimension from the current style and layer, and the anonymous
// "*D" blocks made before saving.
#include <gtest/gtest.h>

#include <cmath>

#include "drawing/DimStyleTable.h"
#include "drawing/DimensionRules.h"
#include "drawing/Drawing.h"
#include "drawing/Palette.h"
#include "entities/Geometry.h"
#include "entities/Hatch.h"

namespace {

struct DimensionBlocksFixture : ::testing::Test {
    mmDrawing d;
    void SetUp() override { FillNewDrawing(d); }

    std::shared_ptr<mmDimension> add(int32_t id, int16_t type = kDimRotated, double y = 5) {
        auto dim = NewDimension(d, type, id, {{{0, 0}, {10, 0}, {10, y}}}, nullptr);
        AddEntity(d, dim);
        return dim;
    }
    mmBlockPtr named(const std::u16string& name) const { return FindBlockByName(d.blocks, name); }
};

}  // namespace

TEST_F(DimensionBlocksFixture, NewDimensionTakesTheCurrentStyleAndLayer) {
    mmLayer red = mmLayer::WithDefaults(d.nextLayerId++, u"Dims");
    red.color = MakeColor(255, 0, 0);
    d.layers[red.id] = red;
    d.currentLayerId = red.id;
    DimStyle big = DimStyle::Standard(0);
    big.name = u"Big";
    big.textHeight = 7;
    big.arrowKind = 1;
    d.currentDimStyleId = AddDimStyle(d, big);

    auto dim = add(12);
    EXPECT_EQ(dim->id, 12);
    EXPECT_EQ(dim->blockName, u"*D12");
    EXPECT_EQ(dim->dimStyleId, 1);
    EXPECT_EQ(dim->textHeight, 7);
    EXPECT_EQ(dim->label.height, 7);
    EXPECT_EQ(dim->arrowKind, 1);
    EXPECT_EQ(dim->layerId, red.id);
    EXPECT_EQ(dim->colorIndex, kColorByLayer);
    EXPECT_EQ(dim->label.color, red.color);
    EXPECT_EQ(dim->label.String(), "10");
    EXPECT_EQ(dim->gripCount(), 5);
    EXPECT_NEAR(dim->extents.maxY, 5 + 2.5 / std::cos(kPi / 12) * std::sin(kPi / 4), 1e-6);  // ticks
}

TEST_F(DimensionBlocksFixture, BlocksAreAddedOnceOverTwoSaves) {
    add(12);
    add(15, kDimAligned);
    d.nextBlockId = 3;
    EXPECT_EQ(MakeDimensionBlock(d), 2);
    EXPECT_EQ(MakeDimensionBlock(d), 0);  // the second save
    ASSERT_EQ(d.blocks.size(), 2u);
    EXPECT_EQ(d.nextBlockId, 5);
    mmBlockPtr b12 = named(u"*D12");
    ASSERT_NE(b12, nullptr);
    EXPECT_EQ(b12->id, 3);
    EXPECT_EQ(b12->flags, 1);
    EXPECT_EQ(b12->baseX, 0.0);
    ASSERT_EQ(b12->entities.size(), 8u);  // marks, lines, terminators, label
    const int32_t types[] = {kTypePoint, kTypePoint, kTypePolyline, kTypePolyline,
                             kTypePolyline, kTypeHatch, kTypeHatch, kTypeText};
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(b12->entities[i]->type, types[i]);
        EXPECT_EQ(b12->entities[i]->id, static_cast<int32_t>(i));
    }
    EXPECT_EQ(static_cast<mmText&>(*b12->entities[7]).String(), "10");
    EXPECT_NE(named(u"*D15"), nullptr);
}

// Erased dimensions get their block too, as they are kept in the list (undo may bring them back).
TEST_F(DimensionBlocksFixture, ErasedDimensionsGetTheirBlockToo) {
    add(12)->erased = true;
    EXPECT_EQ(MakeDimensionBlock(d), 1);
    ASSERT_NE(named(u"*D12"), nullptr);
    EXPECT_EQ(named(u"*D12")->entities.size(), 8u);
}

TEST_F(DimensionBlocksFixture, ASavedBlockFollowsItsDimension) {
    auto dim = add(12);
    MakeDimensionBlock(d);
    dim->defPoints[2].y = 20;
    dim->BuildDimension(nullptr);
    EXPECT_EQ(MakeDimensionBlock(d), 0);
    ASSERT_EQ(d.blocks.size(), 1u);
    const mmBlockPtr b = named(u"*D12");
    ASSERT_EQ(b->entities.size(), 8u);
    EXPECT_EQ(b->entities[2]->points[0].y, 20);  // the dimension line where it is now

    // An erased dimension of the same id (left behind by a reorder) does not overwrite it.
    auto stale = std::make_shared<mmDimension>();
    stale->CopyFrom(*dim);
    stale->defPoints[2].y = 99;
    stale->BuildDimension(nullptr);
    stale->erased = true;
    d.entities.push_back(stale);
    MakeDimensionBlock(d);
    EXPECT_EQ(named(u"*D12")->entities[2]->points[0].y, 20);

    // A block of the user's that happens to carry the name is never touched.
    d.blocks.clear();
    d.blocks[0] = CreateBlock(0, 0, 0, 0, u"*D12");
    MakeDimensionBlock(d);
    EXPECT_TRUE(d.blocks.at(0)->entities.empty());
}

TEST_F(DimensionBlocksFixture, BlocksGoToTheWrittenTableWhicheverViewIsActive) {
    mmSpace paper;
    d.activePaperSpace = &paper;
    add(12);  // into the paper space: not a model-space dimension
    d.activePaperSpace = nullptr;
    add(13);
    d.activePaperSpace = &paper;
    EXPECT_EQ(MakeDimensionBlock(d), 1);
    EXPECT_TRUE(paper.blocks.empty());
    EXPECT_NE(named(u"*D13"), nullptr);
    EXPECT_EQ(named(u"*D12"), nullptr);
}

TEST_F(DimensionBlocksFixture, BlocksHoldWhatIsDrawn) {
    // An ordinate dimension draws three leader pieces, one mark and its label.
    auto ord = NewDimension(d, kDimOrdinate, 20, {{{30, 20}, {40, 40}, {0, 0}, {}, {}, {}, {40, 45}}},
                            nullptr, 1);
    AddEntity(d, ord);
    auto angular = NewDimension(d, 2, 21, {{{1, 1}, {2, 2}, {3, 3}}}, nullptr);
    AddEntity(d, angular);
    // A copy that lost its name is saved under "*D" and its id.
    auto unnamed = add(22);
    unnamed->blockName.clear();
    EXPECT_EQ(MakeDimensionBlock(d), 3);
    const mmBlockPtr b = named(u"*D20");
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(b->entities.size(), 5u);
    EXPECT_EQ(static_cast<mmText&>(*b->entities[4]).String(), "30");
    EXPECT_EQ(b->entities[2]->points[1].y, 35);  // the leader line, (P1.x, P1.y - 2h)
    EXPECT_TRUE(named(u"*D21")->entities.empty());
    EXPECT_NE(named(u"*D22"), nullptr);
}

// Filled arrowheads are saved as solid fills of their triangles, so that they read back filled.
TEST_F(DimensionBlocksFixture, FilledArrowheadsAreSavedAsSolidFills) {
    auto dim = add(12);
    ASSERT_EQ(dim->arrowKind, 0);
    MakeDimensionBlock(d);
    const mmBlockPtr b = named(u"*D12");
    ASSERT_EQ(b->entities.size(), 8u);
    for (std::size_t i : {5u, 6u}) {
        ASSERT_EQ(b->entities[i]->type, kTypeHatch);
        const auto& fill = static_cast<const mmHatch&>(*b->entities[i]);
        EXPECT_TRUE(fill.solidFill);
        ASSERT_EQ(fill.loops.size(), 1u);
        const mmPolyline& arrow = i == 5 ? dim->arrow1 : dim->arrow2;
        EXPECT_NEAR(fill.extents.minX, arrow.extents.minX, 1e-9);
        EXPECT_NEAR(fill.extents.maxY, arrow.extents.maxY, 1e-9);
    }
}
