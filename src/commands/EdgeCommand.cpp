// TRIM and EXTEND: the edge, the objects and the cut with its undo step.
#include "commands/EdgeCommand.h"

#include <memory>

#include "commands/Interpreter.h"
#include "commands/Session.h"
#include "commands/Undo.h"
#include "entities/Polyline.h"

namespace {

// Every selected polyline but the edge itself; the state of each one changed goes into one step.
void cutSelection(mmSession& s, mmEdgeCut cut) {
    const mmObjectPtr edgeEntity = s.pendingEntity;
    if (!edgeEntity || edgeEntity->type != kTypePolyline) return;
    const auto& edge = static_cast<const mmPolyline&>(*edgeEntity);
    mmSpace& space = s.CurrentSpace();
    auto step = std::make_shared<mmUndoStep>();
    for (int32_t id : space.selection.ids) {
        const mmObjectPtr e = FindEntity(space, id);
        if (!e || e == edgeEntity || e->erased || e->type != kTypePolyline) continue;
        auto& target = static_cast<mmPolyline&>(*e);
        const std::optional<mmPolylineEnds> ends = cut(target, edge);
        if (!ends || !CloneEntity(target, step->snapshots)) continue;
        MoveEnds(target, *ends);
    }
    if (step->empty()) return;
    RecordUndo(s.drawing, std::move(step));
    s.modified = true;
}

// A pick on an object (submitted as an empty picked line) makes it the edge.
void onEdge(mmSession& s, std::u16string& text, bool picked, std::u16string_view objectsPrompt) {
    if (!picked) {
        if (text.empty()) FinishCommand(s, text);  // no edge: nothing to do
        return;
    }
    if (!s.pendingEntity) return;
    s.ActiveView().commandSelecting = false;
    SetCommandStep(s, 2, objectsPrompt);
}

}  // namespace

void StartEdgeCommand(mmSession& s) {
    mmView& view = s.ActiveView();
    view.cursorMode = kCursorSelect;
    view.commandSelecting = true;
    view.showGrips = false;
}

void EdgeCommandInput(mmSession& s, std::u16string& text, bool picked,
                      std::u16string_view objectsPrompt, mmEdgeCut cut) {
    switch (s.ActiveView().step) {
        case 1:
            onEdge(s, text, picked, objectsPrompt);
            break;
        case 2:
            if (!text.empty()) return;
            cutSelection(s, cut);
            FinishCommand(s, text);
            break;
    }
}
