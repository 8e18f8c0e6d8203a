// BLOCK: the selected entities are copied, relative to a base point, into a new block definition
// under a name no block has yet. The entities stay in the drawing.
#include "commands/Command.h"
#include "commands/InputGrammar.h"
#include "commands/Interpreter.h"
#include "commands/Session.h"
#include "commands/Undo.h"

namespace {

constexpr char16_t kBasePointPrompt[] = u"Specify block base point: ";
constexpr char16_t kNamePrompt[] = u"Specify block name: ";
constexpr char16_t kNameTakenMessage[] = u"Error: Block with that name already exists!";

void start(mmSession& s, std::u16string&) {
    s.scratch.heldBlock = CreateBlock(-1, 0.0, 0.0, 0, u"");
    mmView& view = s.ActiveView();
    view.cursorMode = kCursorSelect;
    view.showGrips = false;
}

void finish(mmSession& s, std::u16string& text) {
    s.scratch.heldBlock.reset();
    FinishCommand(s, text);
}

// The base point, then copies of the selected entities relative to it.
void onBasePoint(mmSession& s, const mmVertex& base) {
    mmBlock& block = *s.scratch.heldBlock;
    block.SetBasePoint(base.x, base.y);
    mmSpace& space = s.CurrentSpace();
    mmEntityList copies;
    for (int32_t id : space.selection.ids)
        if (const mmObjectPtr e = FindEntity(space, id); e && !e->erased) CloneEntity(*e, copies);
    for (const mmObjectPtr& copy : copies)
        AddToBlock(block, copy);
    SetCommandStep(s, 3, kNamePrompt);
}

void onName(mmSession& s, std::u16string& text) {
    mmSpace& space = s.CurrentSpace();
    const mmBlockPtr block = s.scratch.heldBlock;
    if (!block->SetBaseName(text, space.blocks)) {
        s.commandLine.pendingMessage = kNameTakenMessage;
        return finish(s, text);
    }
    block->id = s.drawing.nextBlockId++;
    AddBlock(space, block);
    auto step = std::make_shared<mmUndoStep>();
    step->blocks.push_back(block);
    RecordUndo(s.drawing, std::move(step));
    s.modified = true;
    finish(s, text);
}

// An empty line ends the selection; after it, it leaves the command without a block.
void input(mmSession& s, std::u16string& text, bool picked) {
    mmView& view = s.ActiveView();
    switch (view.step) {
        case 1:
            if (!text.empty()) return;
            view.cursorMode = kCursorPoint;
            SetCommandStep(s, 2, kBasePointPrompt);
            break;
        case 2:
            if (text.empty() && !picked) return finish(s, text);
            if (const std::optional<mmVertex> base = InputPoint(s, text, picked))
                onBasePoint(s, *base);
            break;
        case 3:
            if (text.empty()) return finish(s, text);
            onName(s, text);
            break;
    }
}

std::optional<std::u16string> pick(mmSession& s, double x, double y) {
    if (s.ActiveView().step != 2) return std::nullopt;
    return FormatPickedPoint(x, y);
}

}  // namespace

const mmCommandSteps kBlockSteps{start, input, pick, nullptr};
