// VIEWPORT: on a layout, two corners on the paper make a viewport onto the model with a view slot
// of its own, which becomes the current viewport. In model space only a warning.
#include "commands/Command.h"
#include "commands/InputGrammar.h"
#include "commands/Interpreter.h"
#include "commands/Layouts.h"
#include "commands/Session.h"
#include "commands/Undo.h"
#include "display/Viewports.h"
#include "entities/DrawContext.h"

namespace {

constexpr char16_t kModelSpaceWarning[] =
    u"Warning: Viewport command is not supported in Model Space for this version!";
constexpr char16_t kSecondCornerPrompt[] = u"Specify second corner of viewport: ";
constexpr char16_t kEmptyViewportMessage[] =
    u"The viewport would have no area; specify another second corner.";

// The corners are paper points: a layout in model mode goes back to paper for the command.
void start(mmSession& s, std::u16string& text) {
    if (!s.ActiveView().isLayout) {
        s.commandLine.pendingMessage = kModelSpaceWarning;
        FinishCommand(s, text);
        return;
    }
    EnterPaperForCommand(s);
}

void addViewport(mmSession& s, const mmVertex& a, const mmVertex& b, std::u16string& text) {
    mmLayout* layout = s.ActiveLayout();
    if (!layout) return FinishCommand(s, text);
    const int32_t id = layout->paper.nextEntityId++;
    const mmViewportPtr viewport =
        CreateViewport(layout->view, layout->paper, id, a.x, a.y, b.x, b.y);
    RecordUndoForCreated(s, *viewport);
    FinishCommand(s, text);
}

void input(mmSession& s, std::u16string& text, bool picked) {
    if (text.empty()) return FinishCommand(s, text);
    const std::optional<mmVertex> corner = InputPoint(s, text, picked);
    if (!corner) return;
    mmView& view = s.ActiveView();
    if (view.step == 1) {
        s.scratch.heldPoint = *corner;
        view.lastPoint = *corner;
        SetCommandStep(s, 2, kSecondCornerPrompt);
        return;
    }
    const mmVertex& a = s.scratch.heldPoint;
    if (corner->x == a.x || corner->y == a.y) {
        s.commandLine.pendingMessage = kEmptyViewportMessage;
        return;
    }
    addViewport(s, a, *corner, text);
}

std::optional<std::u16string> pick(mmSession&, double x, double y) {
    return FormatPickedPoint(x, y);
}

// The rectangle from the first corner to the cursor (paper coordinates are never shifted).
void preview(const mmSession& s, const mmView& view, mmDrawContext& dc, double x, double y) {
    if (view.step != 2) return;
    const mmVertex& a = s.scratch.heldPoint;
    EmitRectangleOutline(dc, a.x, a.y, x, y);
}

}  // namespace

const mmCommandSteps kViewportSteps{start, input, pick, preview};
