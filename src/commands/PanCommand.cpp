// PAN: the left button pans while held (the view's mouse handling does it); Enter or Esc ends.
#include "commands/Command.h"
#include "commands/Interpreter.h"
#include "commands/Session.h"

namespace {

void start(mmSession& s, std::u16string&) {
    s.ActiveView().cursorMode = kCursorPan;
}

void input(mmSession& s, std::u16string& text, bool) {
    if (text.empty()) FinishCommand(s, text);
}

}  // namespace

const mmCommandSteps kPanSteps{start, input, nullptr, nullptr};
