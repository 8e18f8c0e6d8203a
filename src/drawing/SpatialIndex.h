// mmSpatialIndex: an R-tree (Boost.Geometry) of the boxes of a space's entities, keyed by their
// position in the entity list (less the entries inserted in front since), so that snapping, picking
// and window selection visit only the entities near the cursor or the window instead of the whole
// list.
//
// A box holds everything a culled search can reach: the entity's extents (normalised when
// inverted) and its grips. The index is brought up to date lazily, at the next query, from two
// sources: entities appended to the list since the last query (many at once, as after opening a
// file, are packed into a new tree), and entities whose extents changed, which tell the index
// themselves through mmExtentsWatcher. Boxes are single precision, rounded outwards, so a query
// finds a superset of the entities whose stored geometry touches it; the callers then run the
// same exact tests as a pass over the whole list would.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "entities/Object.h"

class mmSpatialIndex final : public mmExtentsWatcher {
public:
    mmSpatialIndex();
    ~mmSpatialIndex();
    mmSpatialIndex(const mmSpatialIndex&) = delete;
    mmSpatialIndex& operator=(const mmSpatialIndex&) = delete;

    // Appends to out, in ascending order, the positions in list of the entities whose box
    // touches the rectangle (stored coordinates; touching counts). Brings the index up to date
    // with list first.
    void Query(const mmEntityList& list, const mmRect& rect, std::vector<int32_t>& out);
    // Brings the index up to date with list now rather than at the next query.
    void Update(const mmEntityList& list) { Sync(list); }
    // The list was reordered or replaced: the next query builds the tree again.
    void Invalidate() { rebuildPending_ = true; }
    // Forgets every box, and the entities of list stop reporting to this index.
    void Clear(const mmEntityList& list);
    // The first count entries of list were inserted before the entries the index knows: their
    // boxes are added, and every other entry keeps its box at its new position.
    void Prepended(const mmEntityList& list, int32_t count);

    void ExtentsChanged(int32_t slot) override;

    // True when every box of the tree is the current box of the entity at its position, and every
    // entity with a box has it in the tree under its position (after bringing the index up to
    // date). For tests.
    bool Matches(const mmEntityList& list);
    // Boxes in the tree.
    std::size_t size() const;

private:
    struct Tree;
    void Sync(const mmEntityList& list);
    void Rebuild(const mmEntityList& list);
    void Refresh(const mmEntityList& list, int32_t position);

    std::unique_ptr<Tree> tree_;
    int32_t indexed_ = 0;  // positions below this are in the index
    // Entries inserted at the front since the tree was built: the tree and the entities' watch
    // slots keep keys that stay put, and a position is its key plus this.
    int32_t front_ = 0;
    bool rebuildPending_ = false;
    std::vector<int32_t> dirty_;      // keys
    std::deque<uint8_t> dirtyFlags_;  // per position
};
