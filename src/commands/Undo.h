// Undo and redo over entity snapshots: a ring of 100 steps in the drawing, each a list of copies
// of the entities a command touched. Undoing a step swaps every snapshot with the live entity of
// the same id, so redoing swaps back.
#pragma once

#include <memory>

#include "entities/Object.h"

class mmDrawing;
class mmSession;

// Records one step; discards the steps that could be redone.
void RecordUndo(mmDrawing& drawing, std::shared_ptr<mmEntityList> snapshots);
// Records a snapshot of the pending entity as one step: created true marks it as new (undoing
// the step erases it), false keeps the state before a change.
void RecordUndoForPending(mmSession& session, bool created);

bool CanUndo(const mmDrawing& drawing);
bool CanRedo(const mmDrawing& drawing);
// Swap the previous (next) step with the current space. False when there is none.
bool UndoStep(mmSession& session);
bool RedoStep(mmSession& session);
