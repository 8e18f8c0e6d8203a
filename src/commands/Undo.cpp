// The undo ring: recording, the swap, undo and redo.
#include "commands/Undo.h"

#include <algorithm>

#include "commands/Session.h"

namespace {

// Swaps every snapshot of the slot with the live entity of its id in the current space. A
// snapshot without a live entity of its class (the space changed since) stays as it is.
void swapSlot(mmSession& s, int slot) {
    std::shared_ptr<mmEntityList>& step = s.drawing.undoSlots[slot];
    if (!step) return;
    mmSpace& space = s.CurrentSpace();
    auto swapped = std::make_shared<mmEntityList>();
    swapped->reserve(step->size());
    for (const mmObjectPtr& snapshot : *step) {
        if (!snapshot) continue;
        const mmObjectPtr live = FindEntity(space, snapshot->id);
        if (!live || live->type != snapshot->type || !CloneEntity(*live, *swapped)) {
            swapped->push_back(snapshot);
            continue;
        }
        AssignEntity(*snapshot, *live);
    }
    step = std::move(swapped);
}

}  // namespace

void RecordUndo(mmDrawing& d, std::shared_ptr<mmEntityList> snapshots) {
    // After redoing the newest step the next slot is one past the end, which is slot 0.
    if (d.undoNext < 0 || d.undoNext >= kUndoSlots) d.undoNext = 0;
    d.undoSlots[d.undoNext] = std::move(snapshots);
    d.undoNext += 1;
    d.undoCount -= d.redoCount;
    d.redoCount = 0;
    if (d.undoCount < kUndoSlots) d.undoCount += 1;
    if (d.undoNext >= kUndoSlots) d.undoNext = 0;
}

void RecordUndoForPending(mmSession& s, bool created) {
    if (!s.pendingEntity) return;
    auto snapshots = std::make_shared<mmEntityList>();
    const mmObjectPtr snapshot = CloneEntity(*s.pendingEntity, *snapshots);
    if (!snapshot) return;
    snapshot->erased = created;
    RecordUndo(s.drawing, std::move(snapshots));
}

bool CanUndo(const mmDrawing& d) {
    return d.undoCount > d.redoCount;
}

bool CanRedo(const mmDrawing& d) {
    return d.redoCount > 0;
}

bool UndoStep(mmSession& s) {
    mmDrawing& d = s.drawing;
    if (!CanUndo(d)) return false;
    d.redoCount = std::min(d.redoCount + 1, kUndoSlots);
    d.undoNext -= 1;
    if (d.undoNext < 0) d.undoNext = kUndoSlots - 1;
    swapSlot(s, d.undoNext);
    return true;
}

bool RedoStep(mmSession& s) {
    mmDrawing& d = s.drawing;
    if (!CanRedo(d)) return false;
    d.redoCount -= 1;
    if (d.undoNext >= kUndoSlots) d.undoNext = 0;
    swapSlot(s, d.undoNext);
    d.undoNext += 1;
    return true;
}
