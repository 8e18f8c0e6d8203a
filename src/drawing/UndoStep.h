// mmUndoStep: one step of the undo history: copies of the entities a command touched, the pairs
// of list entries a drawing-order move left behind, and the blocks the command added.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "entities/Block.h"
#include "entities/Object.h"

struct mmUndoStep {
    // The serial of the space the step belongs to (model space or one layout's paper space).
    uint64_t spaceSerial = 0;
    // Copies with the ids of the entities they stand for: the state before a change, or, with
    // erased set, an entity the command created.
    mmEntityList snapshots;
    // Two entries of one id in the space's list, one of them erased: an entity moved in the
    // drawing order is erased where it stood and shown by a copy at its new place.
    std::vector<std::pair<mmObjectPtr, mmObjectPtr>> orderMoves;
    // Blocks the command put into the block table of the space.
    std::vector<mmBlockPtr> blocks;

    bool empty() const { return snapshots.empty() && orderMoves.empty() && blocks.empty(); }
};
