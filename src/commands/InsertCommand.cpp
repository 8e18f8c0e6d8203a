// INSERT: a block reference of a named block at a typed or picked point. The reference enters
// the drawing only when it is placed.
#include "commands/BuiltinPreview.h"
#include "commands/Command.h"
#include "commands/InsertBlockDialog.h"
#include "commands/Interpreter.h"
#include "commands/NewEntity.h"
#include "commands/Session.h"
#include "commands/Undo.h"
#include "drawing/LayerRules.h"
#include "entities/BlockRef.h"
#include "entities/DrawContext.h"

namespace {

constexpr char16_t kPointPrompt[] = u"Specify point to insert block reference: ";
constexpr char16_t kNoBlockMessage[] = u"Error: Block definition for given name does not exist!";

void start(mmSession& s, std::u16string&) {
    NewPendingEntity<mmBlockRef>(s);
}

void onPoint(mmSession& s, std::u16string& text) {
    mmBlockRef& ref = PendingAs<mmBlockRef>(s);
    PushIntoChildren(ref, s.drawing.layers, s.glyphTable.get());
    AddPendingEntity(s);
    CompleteGeometry(s, ref);
    RecordUndoForPending(s, true);
    s.modified = true;
    FinishCommand(s, text);
}

bool bindBlock(mmSession& s, std::u16string& text, const std::u16string& name) {
    if (PendingAs<mmBlockRef>(s).InstantiateBlock(name, s.CurrentSpace().blocks, s.glyphTable))
        return true;
    s.commandLine.pendingMessage = kNoBlockMessage;
    FinishCommand(s, text);
    return false;
}

// An empty name opens the insert dialog where there is a window: its block, and its point unless
// the point is to be picked. Cancelled, or without a window, the empty name is looked up.
void onDialog(mmSession& s, std::u16string& text) {
    mmInsertBlockList list = InsertDialogBlockList(s.drawing);
    const std::optional<mmInsertBlockChoice> choice = s.events().InsertBlockDialog(list);
    if (!bindBlock(s, text, choice ? choice->chosenName : std::u16string())) return;
    if (!choice || choice->specifyOnScreen) return SetCommandStep(s, 2, kPointPrompt);
    ApplyPoint(s, choice->insertX, choice->insertY);
    onPoint(s, text);
}

void onName(mmSession& s, std::u16string& text) {
    if (text.empty() && s.events().ShowsDialogs()) return onDialog(s, text);
    if (bindBlock(s, text, text)) SetCommandStep(s, 2, kPointPrompt);
}

void input(mmSession& s, std::u16string& text, bool picked) {
    switch (s.ActiveView().step) {
        case 1:
            return onName(s, text);
        case 2:
            if (text.empty() && !picked) return FinishCommand(s, text);  // nothing is inserted
            if (TakePoint(s, text, picked)) onPoint(s, text);
            break;
    }
}

std::optional<std::u16string> pick(mmSession& s, double x, double y) {
    if (s.ActiveView().step != 2) return std::nullopt;
    return PickAppliesPoint(s, x, y);
}

// The block's contents at the cursor.
void preview(const mmSession& s, const mmView& view, mmDrawContext& dc, double x, double y) {
    if (view.step != 2 || !s.pendingEntity) return;
    const auto& ref = static_cast<const mmBlockRef&>(*s.pendingEntity);
    const mmShift shift{0.0, 0.0, view.originOffset.x - x, view.originOffset.y - y};
    const float scale = static_cast<float>(view.ActiveZoomScale());
    for (const mmObjectPtr& child : ref.children)
        if (child && !child->erased)
            child->Draw(dc, view.VisibleWindow(), kDrawNormal, scale, prim::kLineStrip, shift,
                        false);
}

}  // namespace

const mmCommandSteps kInsertSteps{start, input, pick, preview};
