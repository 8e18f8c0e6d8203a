// TRIM and EXTEND: an edge polyline picked on its own, then the objects, then the end segments
// of every selected polyline cut back to the edge (TRIM) or lengthened to it (EXTEND), as one
// undo step.
#include <memory>

#include "commands/Command.h"
#include "commands/Interpreter.h"
#include "commands/Session.h"
#include "commands/TrimExtend.h"
#include "commands/Undo.h"
#include "entities/Polyline.h"

namespace {

constexpr char16_t kTrimObjectsPrompt[] = u"Select objects to trim: ";
constexpr char16_t kExtendObjectsPrompt[] = u"Select objects to extend: ";

// How a command changes one polyline against the edge; nothing when it would not change.
using EdgeCut = std::optional<mmPolylineEnds> (*)(const mmPolyline& target, const mmPolyline& edge);

// Every selected polyline but the edge itself; the state of each one changed goes into one step.
void cutSelection(mmSession& s, EdgeCut cut) {
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

// Object selection with single picks, grips off.
void start(mmSession& s, std::u16string&) {
    mmView& view = s.ActiveView();
    view.cursorMode = kCursorSelect;
    view.commandSelecting = true;
    view.showGrips = false;
}

void input(mmSession& s, std::u16string& text, bool picked, std::u16string_view objectsPrompt,
           EdgeCut cut) {
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

void inputTrim(mmSession& s, std::u16string& text, bool picked) {
    input(s, text, picked, kTrimObjectsPrompt, TrimmedEnds);
}

void inputExtend(mmSession& s, std::u16string& text, bool picked) {
    input(s, text, picked, kExtendObjectsPrompt, ExtendedEnds);
}

}  // namespace

const mmCommandSteps kTrimSteps{start, inputTrim, nullptr, nullptr};
const mmCommandSteps kExtendSteps{start, inputExtend, nullptr, nullptr};
