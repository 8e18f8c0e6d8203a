// LINE: one segment from two typed or picked points; the line enters the drawing only when it
// is complete.
#include "commands/BuiltinPreview.h"
#include "commands/Command.h"
#include "commands/Interpreter.h"
#include "commands/NewEntity.h"
#include "commands/Undo.h"
#include "entities/Line.h"

namespace {

constexpr char16_t kSecondPointPrompt[] = u"Insert or type second point: ";

void start(mmSession& s, std::u16string&) {
    NewPendingEntity<mmLine>(s);
}

// Ends the command; nothing is created and nothing recorded.
void onEmpty(mmSession& s, std::u16string& text) {
    FinishCommand(s, text);
}

void onPoint(mmSession& s, std::u16string& text) {
    mmView& view = s.ActiveView();
    switch (view.step) {
        case 1:
            view.step = 2;
            s.commandLine.SetPrompt(kSecondPointPrompt);
            break;
        case 2:
            AddPendingEntity(s);
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

// From the first point to the cursor.
void preview(const mmSession& s, const mmView& view, mmDrawContext& dc, double x, double y) {
    if (view.step == 2 && s.pendingEntity && !s.pendingEntity->points.empty())
        PreviewLine(dc, view, s.pendingEntity->points[0], mmVertex(x, y));
}

}  // namespace

const mmCommandSteps kLineSteps{start, input, pick, preview};
