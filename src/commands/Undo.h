// Undo and redo: a ring of 100 steps in the drawing, each holding copies of the entities a
// command touched (and, for drawing-order moves and new blocks, the list entries and blocks
// involved). Undoing a step swaps every snapshot with the live entity of the same id, so redoing
// swaps back.
#pragma once

#include <memory>

#include "drawing/UndoStep.h"
#include "entities/Object.h"

class mmDrawing;
class mmSession;

// Records one step; discards the steps that could be redone.
void RecordUndo(mmDrawing& drawing, std::shared_ptr<mmUndoStep> step);
void RecordUndo(mmDrawing& drawing, std::shared_ptr<mmEntityList> snapshots);
// Records a snapshot of the pending entity as one step: created true marks it as new (undoing
// the step erases it), false keeps the state before a change.
void RecordUndoForPending(mmSession& session, bool created);
// Records one step with a snapshot of a new entity, marked as created.
void RecordUndoForCreated(mmSession& session, const mmObject& entity);

bool CanUndo(const mmDrawing& drawing);
bool CanRedo(const mmDrawing& drawing);
// Swap the previous (next) step with the current space. False when there is none.
bool UndoStep(mmSession& session);
bool RedoStep(mmSession& session);
