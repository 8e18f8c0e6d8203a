// The commands that act at once when typed: UNDO, REDO, REGEN, TESTDIM and WINVERXP.
#include "commands/Command.h"
#include "commands/Interpreter.h"
#include "commands/Session.h"
#include "commands/Undo.h"

namespace {

// With nothing to undo (redo) the line is taken and nothing else happens.
void undo(mmSession& s, std::u16string& text) {
    if (UndoStep(s))
        FinishCommand(s, text);
    else
        text.clear();
}

void redo(mmSession& s, std::u16string& text) {
    if (RedoStep(s))
        FinishCommand(s, text);
    else
        text.clear();
}

// Text outlines, fills and textures are rebuilt by the next scene draw.
void regen(mmSession& s, std::u16string& text) {
    s.ActiveView().regenPending = true;
    FinishCommand(s, text);
}

void testDim(mmSession& s, std::u16string& text) {
    FinishCommand(s, text);
}

void winVerXp(mmSession& s, std::u16string& text) {
    text.clear();
    s.RequestRedraw();
}

}  // namespace

const mmCommandSteps kUndoSteps{undo, nullptr, nullptr, nullptr};
const mmCommandSteps kRedoSteps{redo, nullptr, nullptr, nullptr};
const mmCommandSteps kRegenSteps{regen, nullptr, nullptr, nullptr};
const mmCommandSteps kTestDimSteps{testDim, nullptr, nullptr, nullptr};
const mmCommandSteps kWinVerXpSteps{winVerXp, nullptr, nullptr, nullptr};
