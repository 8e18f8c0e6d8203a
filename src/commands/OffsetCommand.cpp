// OFFSET: a distance, a polyline picked on its own and a point on the side to offset to; the
// parallel copy is added as a new polyline.
#include "commands/BuiltinPreview.h"
#include "commands/Command.h"
#include "commands/InputGrammar.h"
#include "commands/Interpreter.h"
#include "commands/NewEntity.h"
#include "commands/PolylineOffset.h"
#include "commands/Undo.h"
#include "entities/Polyline.h"

namespace {

constexpr char16_t kObjectPrompt[] = u"Specify object to offset: ";
constexpr char16_t kSidePrompt[] = u"Specify point on side to offset: ";

const mmPolyline* source(const mmSession& s) {
    const mmObject* e = s.pendingEntity.get();
    if (!e || e->type != kTypePolyline || e->pointCount() < 2) return nullptr;
    return static_cast<const mmPolyline*>(e);
}

// The copy of the source moved to the side of the point; null when there is no source.
std::shared_ptr<mmPolyline> offsetCopy(const mmSession& s, const mmVertex& sidePoint) {
    const mmPolyline* from = source(s);
    if (!from) return nullptr;
    auto copy = std::make_shared<mmPolyline>();
    copy->CopyFrom(*from);
    copy->selected = false;
    OffsetPolyline(*from, s.scratch.offsetDistance, OffsetSide(*from, sidePoint), *copy);
    return copy;
}

void addOffset(mmSession& s, const mmVertex& sidePoint) {
    const std::shared_ptr<mmPolyline> copy = offsetCopy(s, sidePoint);
    if (!copy) return;
    copy->id = s.CurrentSpace().nextEntityId++;
    AddEntity(s.drawing, copy);
    RecordUndoForCreated(s, *copy);
    s.modified = true;
}

void start(mmSession&, std::u16string&) {}

void onDistance(mmSession& s, const std::u16string& text) {
    const std::optional<double> distance = ReadNumber(text);
    if (!distance) return;
    s.scratch.offsetDistance = *distance;
    mmView& view = s.ActiveView();
    view.cursorMode = kCursorSelect;
    view.commandSelecting = true;
    view.showGrips = false;
    SetCommandStep(s, 2, kObjectPrompt);
}

// The pick on an object arrives as an empty picked line.
void onObject(mmSession& s, bool picked) {
    if (!picked || !s.pendingEntity) return;
    mmView& view = s.ActiveView();
    view.cursorMode = kCursorPoint;
    view.commandSelecting = false;
    SetCommandStep(s, 3, kSidePrompt);
}

void onSide(mmSession& s, std::u16string& text, bool picked) {
    const std::optional<mmVertex> side = InputPoint(s, text, picked);
    if (!side) return;
    addOffset(s, *side);
    FinishCommand(s, text);
}

// An empty line that is not a pick leaves the command at any step.
void input(mmSession& s, std::u16string& text, bool picked) {
    if (text.empty() && !picked) return FinishCommand(s, text);
    switch (s.ActiveView().step) {
        case 1:
            return onDistance(s, text);
        case 2:
            return onObject(s, picked);
        case 3:
            return onSide(s, text, picked);
    }
}

// The side point is taken by the input handler: the pending entity is the source, not a shape
// that takes points.
std::optional<std::u16string> pick(mmSession& s, double x, double y) {
    if (s.ActiveView().step != 3) return std::nullopt;
    return FormatPickedPoint(x, y);
}

// The copy the cursor's side would make.
void preview(const mmSession& s, const mmView& view, mmDrawContext& dc, double x, double y) {
    if (view.step != 3) return;
    if (const std::shared_ptr<mmPolyline> copy = offsetCopy(s, mmVertex(x, y)))
        PreviewEntity(dc, view, *copy);
}

}  // namespace

const mmCommandSteps kOffsetSteps{start, input, pick, preview};
