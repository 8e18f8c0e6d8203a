// SENDBACK and BRINGFRONT: the selected entities move to the start of the drawing order (drawn
// first, under everything) or to its end (drawn last, on top). Each keeps its entry in the list,
// erased, and is shown by a copy at the new place; one undo step swaps them back.
#include <algorithm>
#include <memory>

#include "commands/Command.h"
#include "commands/Interpreter.h"
#include "commands/Selection.h"
#include "commands/Session.h"
#include "commands/Undo.h"
#include "drawing/DrawOrder.h"

namespace {

// The selected entities in selection order, the selection cleared; each erased and replaced by
// a copy, returned in the same order.
mmEntityList moveSelection(mmSession& s, mmUndoStep& step) {
    mmSpace& space = s.CurrentSpace();
    mmEntityList originals;
    originals.reserve(space.selection.ids.size());
    for (int32_t id : space.selection.ids)
        if (mmObjectPtr e = FindEntity(space, id); e && !e->erased) originals.push_back(e);
    ClearSelection(s);
    mmEntityList copies;
    copies.reserve(originals.size());
    for (const mmObjectPtr& e : originals) {
        const mmObjectPtr copy = CloneEntity(*e, copies);
        if (!copy) continue;
        copy->erased = false;
        e->erased = true;
        step.orderMoves.emplace_back(copy, e);
    }
    return copies;
}

// Each copy goes in front of the list in turn, so the last one ends first.
void sendBack(mmSession& s, mmUndoStep& step) {
    mmEntityList copies = moveSelection(s, step);
    std::reverse(copies.begin(), copies.end());
    PrependEntities(s.CurrentSpace(), copies);
}

void bringFront(mmSession& s, mmUndoStep& step) {
    AppendEntities(s.CurrentSpace(), moveSelection(s, step));
}

void moveAndFinish(mmSession& s, std::u16string& text, void (*move)(mmSession&, mmUndoStep&)) {
    auto step = std::make_shared<mmUndoStep>();
    move(s, *step);
    if (!step->empty()) {
        RecordUndo(s.drawing, std::move(step));
        s.modified = true;
    }
    FinishCommand(s, text);
}

// With a selection the command acts at once; otherwise the user selects and enters an empty line.
void startWith(mmSession& s, std::u16string& text, void (*move)(mmSession&, mmUndoStep&)) {
    if (SelectionCount(s) > 0) return moveAndFinish(s, text, move);
    s.ActiveView().cursorMode = kCursorSelect;
}

void inputWith(mmSession& s, std::u16string& text, void (*move)(mmSession&, mmUndoStep&)) {
    if (text.empty()) moveAndFinish(s, text, move);
}

void startBack(mmSession& s, std::u16string& text) {
    startWith(s, text, sendBack);
}
void inputBack(mmSession& s, std::u16string& text, bool) {
    inputWith(s, text, sendBack);
}
void startFront(mmSession& s, std::u16string& text) {
    startWith(s, text, bringFront);
}
void inputFront(mmSession& s, std::u16string& text, bool) {
    inputWith(s, text, bringFront);
}

}  // namespace

const mmCommandSteps kSendBackSteps{startBack, inputBack, nullptr, nullptr};
const mmCommandSteps kBringFrontSteps{startFront, inputFront, nullptr, nullptr};
