// EXTEND: the end segments of the selected polylines are lengthened to an edge polyline.
#include "commands/Command.h"
#include "commands/EdgeCommand.h"

namespace {

constexpr char16_t kObjectsPrompt[] = u"Select objects to extend: ";

void start(mmSession& s, std::u16string&) {
    StartEdgeCommand(s);
}

void input(mmSession& s, std::u16string& text, bool picked) {
    EdgeCommandInput(s, text, picked, kObjectsPrompt, ExtendedEnds);
}

}  // namespace

const mmCommandSteps kExtendSteps{start, input, nullptr, nullptr};
