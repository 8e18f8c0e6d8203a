// The drawing database: adding and finding entities and blocks, reset and the new drawing.
#include <gtest/gtest.h>

#include "drawing/Drawing.h"
#include "entities/Line.h"

namespace {
mmObjectPtr lineWithId(int32_t id) {
    auto line = std::make_shared<mmLine>();
    line->id = id;
    return line;
}
}  // namespace

TEST(Drawing, DuplicateIdKeepsTheFirstPosition) {
    mmDrawing d;
    auto first = lineWithId(5);
    auto second = lineWithId(5);
    EXPECT_TRUE(AddEntity(d, first));
    EXPECT_TRUE(AddEntity(d, second));
    EXPECT_EQ(d.entities.size(), 2u);
    EXPECT_EQ(FindEntity(d, 5), first);
}

TEST(Drawing, NegativeIdsAreNotAdded) {
    mmDrawing d;
    EXPECT_FALSE(AddEntity(d, lineWithId(-1)));
    auto block = std::make_shared<mmBlock>();
    EXPECT_FALSE(AddBlock(d, block));  // id -1
    EXPECT_TRUE(d.entities.empty());
    EXPECT_TRUE(d.blocks.empty());
    EXPECT_EQ(FindEntity(d, -1), nullptr);
    EXPECT_EQ(FindEntity(d, 12), nullptr);
}

TEST(Drawing, ExistingBlockIdStays) {
    mmDrawing d;
    auto a = std::make_shared<mmBlock>();
    a->id = 2;
    a->name = u"A";
    auto b = std::make_shared<mmBlock>();
    b->id = 2;
    b->name = u"B";
    AddBlock(d, a);
    AddBlock(d, b);
    EXPECT_EQ(d.blocks.at(2)->name, u"A");
}

TEST(Drawing, PaperSpaceReceivesEntitiesWhenActive) {
    mmDrawing d;
    mmSpace paper;
    d.activePaperSpace = &paper;
    AddEntity(d, lineWithId(0));
    EXPECT_TRUE(d.entities.empty());
    EXPECT_EQ(paper.entities.size(), 1u);
}

TEST(Drawing, LargeAndSparseIdsAreFound) {
    mmDrawing d;
    for (int32_t id : {0, 70'000'000, 3, 2'000'000'000}) AddEntity(d, lineWithId(id));
    for (int32_t id : {0, 70'000'000, 3, 2'000'000'000}) {
        ASSERT_NE(FindEntity(d, id), nullptr) << id;
        EXPECT_EQ(FindEntity(d, id)->id, id);
    }
    EXPECT_EQ(d.entityIndex.size(), 4u);
}

TEST(Drawing, ReindexFollowsAReorder) {
    mmDrawing d;
    for (int32_t id = 0; id < 3; ++id) AddEntity(d, lineWithId(id));
    std::swap(d.entities[0], d.entities[2]);
    ReindexSpace(d);
    EXPECT_EQ(*d.entityIndex.find(2), 0);
    EXPECT_EQ(FindEntity(d, 0)->id, 0);
}

TEST(Drawing, NewDrawingHoldsLayerZeroAndStandard) {
    mmDrawing d;
    AddEntity(d, lineWithId(0));
    d.nextEntityId = 1;
    d.nextLayerId = 9;
    d.undoCount = 4;
    ResetDrawing(d);
    FillNewDrawing(d);
    EXPECT_TRUE(d.entities.empty());
    EXPECT_EQ(FindEntity(d, 0), nullptr);
    EXPECT_EQ(d.nextEntityId, 0);
    EXPECT_EQ(d.undoCount, 0);
    ASSERT_EQ(d.layers.size(), 1u);
    const mmLayer& layer = d.layers.at(0);
    EXPECT_EQ(layer.name, u"0");
    EXPECT_EQ(layer.color, 0xFFFFFFu);
    EXPECT_EQ(layer.colorText, "White");
    EXPECT_EQ(layer.colorIndex, 7);
    EXPECT_TRUE(layer.show);
    EXPECT_EQ(layer.lineWidth, 1);
    EXPECT_EQ(d.nextLayerId, 1);
    ASSERT_EQ(d.dimStyles.size(), 1u);
    const DimStyle& s = d.dimStyles.at(0);
    EXPECT_EQ(s.name, u"Standard");
    EXPECT_EQ(s.arrowSize, 2.5);
    EXPECT_EQ(s.extLineExtension, 1.25);
    EXPECT_EQ(s.extLineOffset, 0.625);
    EXPECT_EQ(s.textHeight, 2.5);
    EXPECT_EQ(s.textGap, 0.625);
    EXPECT_EQ(s.textColor, 256);
    EXPECT_EQ(d.nextDimStyleId, 1);
    EXPECT_EQ(d.currentDimStyleId, 0);
}
