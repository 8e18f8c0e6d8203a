// Grip editing: start, the drag's preview of the edited form, and the applied edit.
#include "commands/GripEdit.h"

#include <algorithm>

#include "commands/Command.h"
#include "commands/CommandTable.h"
#include "commands/GripRules.h"
#include "commands/InputGrammar.h"
#include "commands/Interpreter.h"
#include "commands/Session.h"
#include "commands/Undo.h"
#include "entities/DrawContext.h"

namespace {

void clearGripFlags(mmObject& e) {
    for (mmVertex& g : e.grips)
        g.hot = g.hover = false;
}

bool dragging(const mmSession& s) {
    const mmObject* e = s.pendingEntity.get();
    const int g = s.ActiveView().hotGripIndex;
    return e && g >= 0 && g < e->gripCount();
}

// The stored entity takes the edit; its state before is the undo step.
void apply(mmSession& s, double x, double y) {
    if (!dragging(s)) return;
    RecordUndoForPending(s, false);
    ApplyGripRule(*s.pendingEntity, s.ActiveView().hotGripIndex, mmVertex(x, y));
    s.modified = true;
}

void finish(mmSession& s, std::u16string& text) {
    if (s.pendingEntity) clearGripFlags(*s.pendingEntity);
    s.scratch.editedCopy.reset();
    mmView& view = s.ActiveView();
    view.hotGripIndex = -1;
    view.snapFound = false;
    FinishCommand(s, text);
}

void start(mmSession&, std::u16string&) {}

void input(mmSession& s, std::u16string& text, bool picked) {
    if (text.empty() || picked) return finish(s, text);
    const std::optional<mmVertex> p = TypedPoint(s, text);
    if (!p) return;  // not a point: the drag goes on
    s.ActiveView().lastPoint = *p;
    apply(s, p->x, p->y);
    finish(s, text);
}

std::optional<std::u16string> pick(mmSession& s, double x, double y) {
    apply(s, x, y);
    return FormatPickedPoint(x, y);
}

// The entity as the click would leave it, with the dragged grip red at the cursor.
void preview(const mmSession& s, const mmView& view, mmDrawContext& dc, double x, double y) {
    const mmObject* stored = s.pendingEntity.get();
    mmObject* copy = s.scratch.editedCopy.get();
    const int g = view.hotGripIndex;
    if (!stored || !copy || g < 0 || !AssignEntity(*stored, *copy)) return;
    ApplyGripRule(*copy, g, mmVertex(x, y));
    if (g < copy->gripCount()) copy->grips[g].hot = true;
    const mmRect window = view.VisibleWindow();
    const float scale = static_cast<float>(view.ActiveZoomScale());
    const mmShift shift{0.0, 0.0, view.originOffset.x, view.originOffset.y};
    SetEntityColor(dc, *copy);
    dc.LineWidth(static_cast<float>(std::max<int32_t>(copy->lineWidth, 1)));
    copy->Draw(dc, window, kDrawNormal, scale, prim::kLineStrip, shift, false);
    copy->Draw(dc, window, kDrawHighlight, scale, prim::kLineStrip, shift, false);
    copy->Draw(dc, window, kDrawGrips, scale, prim::kLineStrip, shift, false);
}

}  // namespace

const mmCommandSteps kGripEditSteps{start, input, pick, preview};

bool StartGripEdit(mmSession& s) {
    mmView& view = s.ActiveView();
    if (view.commandId != 0 || !view.snapFound || !dragging(s)) return false;
    mmObject& e = *s.pendingEntity;
    view.commandId = cmd::kGripEdit;
    view.cursorMode = kCursorPoint;
    view.step = 1;
    mmVertex& grip = e.grips[view.hotGripIndex];
    grip.hover = false;
    grip.hot = true;
    mmEntityList copies;
    s.scratch.editedCopy = CloneEntity(e, copies);
    s.modified = true;
    s.RequestRedraw();  // the stored entity leaves the scene while it is dragged
    return true;
}
