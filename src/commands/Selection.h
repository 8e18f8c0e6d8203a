// The selection set of the current space and what changes it: selecting and deselecting one
// entity, clearing, pick selection at the cursor, window and crossing selection, the single-pick
// mode of commands, and erasing the selection.
#pragma once

#include <cstddef>

#include "entities/Object.h"

class mmSession;

// Pixels: the pick square around the cursor (half its side).
inline constexpr double kPickTolerancePixels = 10.0;

// Every selected entity of the current space is deselected and the set emptied; the view
// repaints when something was selected.
void ClearSelection(mmSession& session);
// Selects or deselects one entity of the current space.
void SelectEntity(mmSession& session, mmObject& entity, bool on);
std::size_t SelectionCount(const mmSession& session);
// The selected entities of the current space that are not erased, in id order.
mmEntityList SelectedEntities(const mmSession& session);
// SelectEntity without telling anyone, for changes of many entities at once: true when the
// entity changed. SelectionChanged then tells the properties panel and repaints.
bool SetEntitySelected(mmSession& session, mmObject& entity, bool on);
void SelectionChanged(mmSession& session);

// A left click with no command running, or while the running command selects objects, at the
// view's cursor: the second corner of a started selection window, otherwise a pick of the topmost
// entity under the cursor, otherwise the first corner of a window.
void SelectionClick(mmSession& session);
// The topmost entity of the current space under the view's cursor (at window pixel cx, cy);
// null when none.
mmObjectPtr PickEntity(mmSession& session, int cx, int cy);

// The Delete key and the "Delete" item: every selected entity is erased, as one undo step; the
// command state and the selection are cleared.
void EraseSelection(mmSession& session);
