// POINT: a point entity, added at the start, takes one typed or picked position.
#include "commands/Command.h"
#include "commands/Interpreter.h"
#include "commands/NewEntity.h"
#include "commands/Undo.h"
#include "entities/Point.h"

namespace {

void start(mmSession& s, std::u16string&) {
    NewPendingEntity<mmPointObj>(s);
    AddPendingEntity(s);
}

void onEmpty(mmSession& s, std::u16string& text) {
    DiscardPendingEntity(s);
    FinishCommand(s, text);
}

void onPoint(mmSession& s, std::u16string& text) {
    switch (s.ActiveView().step) {
        case 1:
            CompleteGeometry(s, *s.pendingEntity);
            RecordUndoForPending(s, true);
            FinishCommand(s, text);
            break;
    }
}

void input(mmSession& s, std::u16string& text, bool picked) {
    if (text.empty()) return onEmpty(s, text);
    if (TakePoint(s, text, picked)) onPoint(s, text);
}

std::optional<std::u16string> pick(mmSession& s, double x, double y) {
    return PickAppliesPoint(s, x, y);
}

}  // namespace

const mmCommandSteps kPointSteps{start, input, pick, nullptr};
