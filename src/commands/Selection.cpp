// The selection set and erasing it.
#include "commands/Selection.h"

#include <memory>

#include "commands/Session.h"
#include "commands/Undo.h"
#include "display/Viewports.h"

namespace {

void selectionChanged(mmSession& s, mmSelectionSet& selection) {
    selection.count = static_cast<int32_t>(selection.ids.size());
    if (selection.observer) selection.observer->SelectionChanged(selection.count);
    s.ActiveView().RepaintSelection();
}

}  // namespace

void ClearSelection(mmSession& s) {
    mmSpace& space = s.CurrentSpace();
    const bool hadSelection = !space.selection.ids.empty();
    for (int32_t id : space.selection.ids)
        if (const mmObjectPtr entity = FindEntity(space, id)) entity->selected = false;
    space.selection.Clear();
    s.ActiveView().selectedTotal = 0;
    if (hadSelection) s.ActiveView().RepaintSelection();
}

bool SetEntitySelected(mmSession& s, mmObject& entity, bool on) {
    std::set<int32_t>& ids = s.CurrentSpace().selection.ids;
    bool listedBefore = false;
    if (on) {
        const std::size_t size = ids.size();
        ids.emplace_hint(ids.end(), entity.id);  // windows take entities in id order: no search
        listedBefore = ids.size() == size;
    } else {
        listedBefore = ids.erase(entity.id) != 0;
    }
    if (entity.selected == on && listedBefore == on) return false;
    int delta = 0;
    entity.SetSelected(on, delta);
    s.ActiveView().selectedTotal += delta;
    return true;
}

void SelectionChanged(mmSession& s) {
    selectionChanged(s, s.CurrentSpace().selection);
}

void SelectEntity(mmSession& s, mmObject& entity, bool on) {
    if (SetEntitySelected(s, entity, on)) SelectionChanged(s);
}

namespace {

const mmSpace& currentSpace(const mmSession& s) {
    const mmDrawing& d = s.drawing;
    return d.activePaperSpace ? *d.activePaperSpace : d.ModelSpace();
}

}  // namespace

std::size_t SelectionCount(const mmSession& s) {
    return currentSpace(s).selection.ids.size();
}

mmEntityList SelectedEntities(const mmSession& s) {
    const mmSpace& space = currentSpace(s);
    mmEntityList entities;
    entities.reserve(space.selection.ids.size());
    for (int32_t id : space.selection.ids)
        if (mmObjectPtr e = FindEntity(space, id); e && !e->erased) entities.push_back(std::move(e));
    return entities;
}

void EraseSelection(mmSession& s) {
    mmSpace& space = s.CurrentSpace();
    auto snapshots = std::make_shared<mmEntityList>();
    for (int32_t id : space.selection.ids) {
        const mmObjectPtr e = FindEntity(space, id);
        if (!e || e->erased) continue;
        if (!CloneEntity(*e, *snapshots)) continue;
        // A layout forgets an erased viewport as a view: its slot goes, the others renumber.
        if (e->type == kTypeViewport && s.ActiveView().isLayout)
            RemoveViewportSlot(s.ActiveView(), e->id);
        e->erased = true;
    }
    if (!snapshots->empty()) {
        RecordUndo(s.drawing, std::move(snapshots));
        s.modified = true;
    }
    s.ActiveView().ClearCommandState();
    s.pendingEntity.reset();
    ClearSelection(s);
    s.RequestRedraw();
}
