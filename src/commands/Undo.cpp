// The undo ring: recording, the swap, undo and redo.
#include "commands/Undo.h"

#include <algorithm>

#include "commands/Layouts.h"
#include "commands/Session.h"
#include "display/Viewports.h"
#include "drawing/DrawOrder.h"

namespace {

// Swaps every snapshot of the step with the live entity of its id in the space. A snapshot
// without a live entity of its class (the space changed since) stays as it is.
void swapSnapshots(mmSpace& space, mmEntityList& snapshots) {
    mmEntityList swapped;
    swapped.reserve(snapshots.size());
    for (const mmObjectPtr& snapshot : snapshots) {
        if (!snapshot) continue;
        const mmObjectPtr live = FindEntity(space, snapshot->id);
        if (!live || live->type != snapshot->type || !CloneEntity(*live, swapped)) {
            swapped.push_back(snapshot);
            continue;
        }
        AssignEntity(*snapshot, *live);
    }
    snapshots = std::move(swapped);
}

// A block the step added leaves the table; one it took out comes back.
void swapBlocks(mmSpace& space, const std::vector<mmBlockPtr>& blocks) {
    for (const mmBlockPtr& block : blocks) {
        if (!block) continue;
        const auto it = space.blocks.find(block->id);
        if (it != space.blocks.end() && it->second == block)
            space.blocks.erase(it);
        else if (it == space.blocks.end())
            space.blocks.emplace(block->id, block);
    }
}

// A step changes the space it was recorded in, wherever the user is now; the step of a layout
// deleted since changes nothing. A layout's view slots follow its viewports.
void swapSlot(mmSession& s, int slot) {
    const std::shared_ptr<mmUndoStep>& step = s.drawing.undoSlots[slot];
    if (!step) return;
    mmSpace* space = s.FindSpace(step->spaceSerial);
    if (!space) return;
    SwapShownEntries(*space, step->orderMoves);
    swapSnapshots(*space, step->snapshots);
    swapBlocks(*space, step->blocks);
    if (mmLayout* layout = s.LayoutOfSpace(space)) {
        SyncViewportSlots(layout->view);
        if (layout == s.ActiveLayout() && !layout->view.InPaperMode() &&
            !layout->view.HasActiveSlot())
            SetPaperMode(s, true);
    }
}

}  // namespace

void RecordUndo(mmDrawing& d, std::shared_ptr<mmUndoStep> step) {
    if (step && step->spaceSerial == 0) step->spaceSerial = d.TargetSpace().serial;
    // After redoing the newest step the next slot is one past the end, which is slot 0.
    if (d.undoNext < 0 || d.undoNext >= kUndoSlots) d.undoNext = 0;
    d.undoSlots[d.undoNext] = std::move(step);
    d.undoNext += 1;
    d.undoCount -= d.redoCount;
    d.redoCount = 0;
    if (d.undoCount < kUndoSlots) d.undoCount += 1;
    if (d.undoNext >= kUndoSlots) d.undoNext = 0;
}

void RecordUndo(mmDrawing& d, std::shared_ptr<mmEntityList> snapshots) {
    auto step = std::make_shared<mmUndoStep>();
    if (snapshots) step->snapshots = std::move(*snapshots);
    RecordUndo(d, std::move(step));
}

void RecordUndoForPending(mmSession& s, bool created) {
    if (!s.pendingEntity) return;
    auto step = std::make_shared<mmUndoStep>();
    const mmObjectPtr snapshot = CloneEntity(*s.pendingEntity, step->snapshots);
    if (!snapshot) return;
    snapshot->erased = created;
    RecordUndo(s.drawing, std::move(step));
}

void RecordUndoForCreated(mmSession& s, const mmObject& entity) {
    auto step = std::make_shared<mmUndoStep>();
    const mmObjectPtr snapshot = CloneEntity(entity, step->snapshots);
    if (!snapshot) return;
    snapshot->erased = true;
    RecordUndo(s.drawing, std::move(step));
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
