// HATCH: a solid hatch whose one loop holds copies of the selected lines, polylines, circles and
// arcs (a selected block reference adds a reference of its properties only, without contents).
// The hatch is added at the start; it is discarded when nothing selected can bound it.
#include "commands/Command.h"
#include "commands/InputGrammar.h"
#include "commands/Interpreter.h"
#include "commands/NewEntity.h"
#include "commands/Selection.h"
#include "commands/Undo.h"
#include "entities/BlockRef.h"
#include "entities/Hatch.h"

namespace {

constexpr char16_t kPatternPrompt[] = u"Specify pattern name: <SOLID>";
constexpr char16_t kNoPatternMessage[] = u"Error: Pattern does not exist!";
constexpr char16_t kSolid[] = u"SOLID";

void start(mmSession& s, std::u16string&) {
    NewPendingEntity<mmHatch>(s);
    AddPendingEntity(s);
    s.ActiveView().cursorMode = kCursorSelect;
}

// The boundary entity a selected entity gives; null for kinds that give none.
mmObjectPtr boundaryOf(const mmObject& e) {
    mmEntityList copies;
    switch (e.type) {
        case kTypeLine:
        case kTypePolyline:
        case kTypeCircle:
        case kTypeArc:
            return CloneEntity(e, copies);
        case kTypeBlockRef: {
            auto ref = std::make_shared<mmBlockRef>();
            ref->CopyProperties(e);
            ref->selected = false;
            return ref;
        }
        default:
            return nullptr;
    }
}

// One loop of the selected entities, in selection order.
void onSelected(mmSession& s, std::u16string& text) {
    auto& h = PendingAs<mmHatch>(s);
    const int loop = h.AddLoop();
    mmSpace& space = s.CurrentSpace();
    for (int32_t id : space.selection.ids)
        if (const mmObjectPtr e = FindEntity(space, id); e && !e->erased)
            h.AddBoundary(boundaryOf(*e), loop);
    if (!h.HasBoundary()) {
        DiscardPendingEntity(s);
        return FinishCommand(s, text);
    }
    h.RebuildFill();
    ClearSelection(s);
    s.ActiveView().cursorMode = kCursorPoint;
    SetCommandStep(s, 2, kPatternPrompt);
    s.RequestRedraw();
}

// Every hatch is solid: the default and SOLID keep it so, any other name is unknown.
void onPattern(mmSession& s, std::u16string& text) {
    if (!text.empty() && UpperCase(text) != kSolid)
        s.commandLine.pendingMessage = kNoPatternMessage;
    RecordUndoForPending(s, true);
    s.modified = true;
    FinishCommand(s, text);
}

void input(mmSession& s, std::u16string& text, bool) {
    switch (s.ActiveView().step) {
        case 1:
            if (text.empty()) onSelected(s, text);
            break;
        case 2:
            onPattern(s, text);
            break;
    }
}

}  // namespace

const mmCommandSteps kHatchSteps{start, input, nullptr, nullptr};
