// VIEWPORT: in model space only the warning that the command needs a paper-space layout.
#include "commands/Command.h"
#include "commands/Interpreter.h"
#include "commands/Session.h"

namespace {

constexpr char16_t kModelSpaceWarning[] =
    u"Warning: Viewport command is not supported in Model Space for this version!";

void start(mmSession& s, std::u16string& text) {
    if (!s.ActiveView().isLayout) {
        s.commandLine.pendingMessage = kModelSpaceWarning;
        FinishCommand(s, text);
        return;
    }
    // The creation steps on a layout come with layouts: until then the name is not taken.
    EndCommand(s);
}

void input(mmSession&, std::u16string&, bool) {}

}  // namespace

const mmCommandSteps kViewportSteps{start, input, nullptr, nullptr};
