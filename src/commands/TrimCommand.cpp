// TRIM: the end segments of the selected polylines are cut back to an edge polyline.
#include "commands/Command.h"
#include "commands/EdgeCommand.h"

namespace {

constexpr char16_t kObjectsPrompt[] = u"Select objects to trim: ";

void start(mmSession& s, std::u16string&) {
    StartEdgeCommand(s);
}

void input(mmSession& s, std::u16string& text, bool picked) {
    EdgeCommandInput(s, text, picked, kObjectsPrompt, TrimmedEnds);
}

}  // namespace

const mmCommandSteps kTrimSteps{start, input, nullptr, nullptr};
