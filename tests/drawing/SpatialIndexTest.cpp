// The spatial index of a space: it finds what touches a rectangle, in list order, and follows the
// list by itself: single appends, a file's worth packed at once, extents that change, a reorder,
// a reset. Its boxes reach the grips that lie off an entity's extents, but not the placeholders
// of polylines.
#include <gtest/gtest.h>

#include "drawing/DrawOrder.h"
#include "drawing/Drawing.h"
#include "entities/BlockRef.h"
#include "entities/Line.h"
#include "entities/Polyline.h"

namespace {

std::shared_ptr<mmLine> line(double x1, double y1, double x2, double y2) {
    auto l = std::make_shared<mmLine>();
    l->AddPoint(x1, y1);
    l->AddPoint(x2, y2);
    l->UpdateExtents();
    return l;
}

void add(mmDrawing& d, const mmObjectPtr& e) {
    e->id = d.nextEntityId++;
    AddEntity(d, e);
}

std::vector<int32_t> near(mmDrawing& d, double minX, double minY, double maxX, double maxY) {
    std::vector<int32_t> found;
    EntitiesNear(d, {minX, minY, maxX, maxY}, found);
    return found;
}

}  // namespace

TEST(SpatialIndex, FollowsAppendsChangesReordersAndResets) {
    mmDrawing d;
    add(d, line(0, 0, 10, 0));
    add(d, line(20, 0, 30, 0));
    add(d, line(5, -5, 5, 5));
    EXPECT_EQ(near(d, 4, -1, 6, 1), (std::vector<int32_t>{0, 2}));
    EXPECT_EQ(near(d, 10, 0, 10, 0), std::vector<int32_t>{0});  // touching counts

    // Moved by its own operations: the index hears of it.
    mmObject& moved = *d.entities[0];
    moved.points[0].x = 100;
    moved.points[1].x = 110;
    moved.UpdateGrips();
    moved.UpdateExtents();
    EXPECT_EQ(near(d, 4, -1, 6, 1), std::vector<int32_t>{2});
    EXPECT_EQ(near(d, 104, -1, 106, 1), std::vector<int32_t>{0});

    // A file's worth at once is packed into a new tree.
    for (int i = 0; i < 5000; ++i)
        add(d, line(i, 50, i + 0.5, 51));
    EXPECT_EQ(near(d, 4999, 50, 5000, 51), std::vector<int32_t>{5002});
    EXPECT_TRUE(d.spatialIndex.Matches(d.entities));

    std::swap(d.entities[1], d.entities[2]);  // a reorder, as SENDBACK makes
    ReindexSpace(d);
    EXPECT_EQ(near(d, 4, -1, 6, 1), std::vector<int32_t>{1});
    EXPECT_TRUE(d.spatialIndex.Matches(d.entities));

    const mmObjectPtr kept = d.entities[0];
    ResetDrawing(d);
    EXPECT_EQ(kept->ExtentsWatcher(), nullptr);  // gone from the index with the list
    EXPECT_TRUE(near(d, -1e9, -1e9, 1e9, 1e9).empty());
    EXPECT_EQ(d.spatialIndex.size(), 0u);
}

TEST(SpatialIndex, BoxesReachGripsOffTheExtentsButNotPlaceholders) {
    mmDrawing d;
    auto reference = std::make_shared<mmBlockRef>();
    reference->children.push_back(line(10, 10, 12, 10));
    reference->AddPoint(100, 100);  // the insertion point, a grip far from the geometry
    reference->UpdateGrips();
    reference->UpdateExtents();
    add(d, reference);
    auto polyline = std::make_shared<mmPolyline>();
    for (int i = 0; i < 3; ++i)
        polyline->points.emplace_back(500 + i, 500);
    polyline->UpdateGrips();  // straight segments: their mid grips are placeholders at (0, 0)
    polyline->UpdateExtents();
    add(d, polyline);
    auto empty = std::make_shared<mmLine>();  // no geometry: inverted extents, no grips
    empty->UpdateExtents();
    add(d, empty);

    EXPECT_EQ(near(d, 99, 99, 101, 101), std::vector<int32_t>{0});  // the grip alone
    EXPECT_EQ(near(d, 111, 110, 111, 110), std::vector<int32_t>{0});
    EXPECT_TRUE(near(d, -1, -1, 1, 1).empty());
    EXPECT_EQ(near(d, 501, 500, 501, 500), std::vector<int32_t>{1});
    EXPECT_EQ(d.spatialIndex.size(), 2u);
}

// Entries put in front of the list (SENDBACK) keep every other box in place: the positions the
// index gives move with them, entities appended but not yet indexed and extents that change
// afterwards are still found, and many at once are packed into a new tree.
TEST(SpatialIndex, FollowsEntriesPutInFront) {
    mmDrawing d;
    add(d, line(0, 0, 10, 0));
    add(d, line(20, 0, 30, 0));
    EXPECT_EQ(near(d, 4, -1, 6, 1), std::vector<int32_t>{0});
    add(d, line(40, 0, 50, 0));  // not indexed yet
    auto front = line(5, -5, 5, 5);
    front->id = d.nextEntityId++;
    PrependEntities(d, {front});
    EXPECT_EQ(near(d, 4, -1, 6, 1), (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(near(d, 44, -1, 46, 1), std::vector<int32_t>{3});
    EXPECT_EQ(FindEntity(d, 2), d.entities[3]);
    d.entities[2]->points[0].x = 44;  // the line from 20 now starts at 44
    d.entities[2]->UpdateExtents();
    front->points[1].x = 45;
    front->UpdateExtents();
    EXPECT_EQ(near(d, 44, -1, 46, 1), (std::vector<int32_t>{0, 2, 3}));
    EXPECT_TRUE(d.spatialIndex.Matches(d.entities));

    mmEntityList many;
    for (int i = 0; i < 3000; ++i) {
        many.push_back(line(i, 100, i + 0.5, 101));
        many.back()->id = d.nextEntityId++;
    }
    PrependEntities(d, many);
    EXPECT_EQ(near(d, 4, -1, 6, 1), (std::vector<int32_t>{3000, 3001}));
    EXPECT_EQ(near(d, 2999, 100, 3000, 101), std::vector<int32_t>{2999});
    EXPECT_TRUE(d.spatialIndex.Matches(d.entities));
}
