// PLOTSCALE: the drawing units one paper millimetre shows in the active view slot. On a layout
// the slot is the current viewport's, zoomed about its centre; on the model tab it is the view's
// one slot, whose scale is pixels per unit.
#include "commands/Command.h"
#include "commands/InputGrammar.h"
#include "commands/Interpreter.h"
#include "commands/Layouts.h"
#include "commands/Session.h"

namespace {

constexpr char16_t kNoViewportMessage[] = u"The layout has no viewport to scale.";
constexpr char16_t kScaleRangeMessage[] =
    u"The plot scale must be a positive number of drawing units per millimetre within the zoom "
    u"range.";

std::u16string prompt(double scale) {
    return u"Specify plot scale, 1[mm] = <" + FormatFixed4(scale) + u"> [units]: ";
}

// The page is laid out again from the printer; without one the command does nothing.
void start(mmSession& s, std::u16string& text) {
    const auto printer = CurrentPrinter(s);
    mmView& view = s.ActiveView();
    if (!printer) return FinishCommand(s, text);
    if (view.isLayout) view.SetupPage(printer->metrics);
    if (!view.HasActiveSlot()) {
        s.commandLine.pendingMessage = kNoViewportMessage;
        return FinishCommand(s, text);
    }
    view.cursorMode = kCursorNone;
    s.commandLine.SetPrompt(prompt(view.plotScale[static_cast<std::size_t>(view.activeView)]));
    s.RequestRedraw();
}

// 1 / scale is paper millimetres per unit in a viewport (pixels per unit on the model tab).
bool applyScale(mmView& view, double scale) {
    if (!(scale > 0.0)) return false;
    const auto slot = static_cast<std::size_t>(view.activeView);
    const bool ok = view.isLayout ? view.setSlotZoomScale(slot, 1.0 / scale)
                                  : view.setZoomScale(1.0 / scale);
    if (ok) view.plotScale[slot] = scale;
    return ok;
}

void input(mmSession& s, std::u16string& text, bool) {
    mmView& view = s.ActiveView();
    if (!view.HasActiveSlot()) return FinishCommand(s, text);
    double scale = view.plotScale[static_cast<std::size_t>(view.activeView)];
    if (!text.empty()) {
        const std::optional<double> typed = ReadNumber(text);
        if (!typed) return;  // the prompt stays, as for any text that is no number
        scale = *typed;
    }
    if (!applyScale(view, scale)) {
        s.commandLine.pendingMessage = kScaleRangeMessage;
        return;
    }
    FinishCommand(s, text);
}

}  // namespace

const mmCommandSteps kPlotScaleSteps{start, input, nullptr, nullptr};
