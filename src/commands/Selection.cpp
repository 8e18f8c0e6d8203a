// Clearing the selection of the current space.
#include "commands/Selection.h"

#include "commands/Session.h"

void ClearSelection(mmSession& s) {
    mmSpace& space = s.CurrentSpace();
    const bool hadSelection = !space.selection.ids.empty();
    for (int32_t id : space.selection.ids)
        if (const mmObjectPtr entity = FindEntity(space, id)) entity->selected = false;
    space.selection.Clear();
    if (hadSelection) s.RequestRedraw();
}
