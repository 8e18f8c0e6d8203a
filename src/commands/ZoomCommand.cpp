// ZOOM: real-time zoom with the left button (the default), zoom extents, a typed scale about the
// window centre, or a window of two corners.
#include "commands/Command.h"
#include "commands/InputGrammar.h"
#include "commands/Interpreter.h"
#include "commands/Session.h"
#include "entities/DrawContext.h"

namespace {

constexpr char16_t kRealTimePrompt[] =
    u"Hold left mouse button and move up/down. Hit <Enter> or <Esc> to exit.";
constexpr char16_t kFirstCornerPrompt[] = u"Specify first window's corner: ";
constexpr char16_t kSecondCornerPrompt[] = u"Specify second window's corner: ";
constexpr char16_t kScaleRangeMessage[] =
    u"The scale must lie between 0.00000001 and 1000000 pixels per drawing unit.";
constexpr char16_t kWindowRangeMessage[] =
    u"Can't zoom to that window: it needs a scale outside 0.00000001 to 1000000 pixels per "
    u"drawing unit.";

enum Step { kOptions = 1, kRealTime = 2, kScale = 3, kFirstCorner = 4, kSecondCorner = 5 };

void setStep(mmSession& s, int step, int cursorMode, std::u16string_view prompt) {
    s.ActiveView().cursorMode = cursorMode;
    SetCommandStep(s, step, prompt);
}

void start(mmSession&, std::u16string&) {}

void zoomExtents(mmSession& s, std::u16string& text) {
    if (!s.ActiveView().zoomExtents(s.drawing.ModelSpace().entities))
        s.commandLine.pendingMessage = kZoomExtentsRangeMessage;
    FinishCommand(s, text);
}

void onOptions(mmSession& s, std::u16string& text) {
    switch (text.empty() ? u'R' : OptionLetter(text)) {
        case u'R':
            return setStep(s, kRealTime, kCursorZoom, kRealTimePrompt);
        case u'E':
            return zoomExtents(s, text);
        case u'S':
            return setStep(s, kScale, kCursorPoint,
                           u"Specify scale factor <" +
                               FormatFixed4(s.ActiveView().ActiveZoomScale()) + u">: ");
        case u'W':
            return setStep(s, kFirstCorner, kCursorPoint, kFirstCornerPrompt);
        default:  // All and Center are offered but do nothing
            break;
    }
}

// Empty keeps the shown scale. A scale outside the range is answered with a message and the
// prompt stays, as it does for text that is no number.
void onScale(mmSession& s, std::u16string& text) {
    mmView& view = s.ActiveView();
    if (text.empty()) {
        view.setZoomScale(view.ActiveZoomScale());
        return FinishCommand(s, text);
    }
    const std::optional<double> scale = ReadNumber(text);
    if (!scale) return;
    if (view.setZoomScale(*scale)) return FinishCommand(s, text);
    s.commandLine.pendingMessage = kScaleRangeMessage;
}

// Typed corners are drawing coordinates, like picked ones: the origin offset comes off.
void onCorner(mmSession& s, std::u16string& text, bool picked) {
    if (!TakePoint(s, text, picked)) return;
    mmView& view = s.ActiveView();
    if (view.step == kFirstCorner) {
        view.zoomCorner = view.lastPoint;
        return setStep(s, kSecondCorner, kCursorPoint, kSecondCornerPrompt);
    }
    const mmOriginOffset& o = s.originOffset;
    if (!view.zoomWindow(view.zoomCorner.x - o.x, view.zoomCorner.y - o.y, view.lastPoint.x - o.x,
                         view.lastPoint.y - o.y, 0))
        s.commandLine.pendingMessage = kWindowRangeMessage;
    FinishCommand(s, text);
}

void input(mmSession& s, std::u16string& text, bool picked) {
    switch (s.ActiveView().step) {
        case kOptions:
            return onOptions(s, text);
        case kRealTime:
            if (text.empty()) FinishCommand(s, text);
            return;
        case kScale:
            return onScale(s, text);
        case kFirstCorner:
        case kSecondCorner:
            // An empty line (Enter, Esc in the view, "Exit") ends the command.
            if (text.empty()) return FinishCommand(s, text);
            return onCorner(s, text, picked);
    }
}

// At the options a press of the left button zooms in real time while held; at the corners a
// pick is a corner.
std::optional<std::u16string> pick(mmSession& s, double x, double y) {
    switch (s.ActiveView().step) {
        case kOptions:
            setStep(s, kRealTime, kCursorZoom, kRealTimePrompt);
            return std::nullopt;
        case kFirstCorner:
        case kSecondCorner:
            return PickAppliesPoint(s, x, y);
    }
    return std::nullopt;
}

// The window from the first corner to the cursor.
void preview(const mmSession& s, const mmView& view, mmDrawContext& dc, double x, double y) {
    if (view.step != kSecondCorner) return;
    const mmOriginOffset& o = s.originOffset;
    const mmVertex a(view.zoomCorner.x - o.x, view.zoomCorner.y - o.y);
    const mmVertex b(x - o.x, y - o.y);
    EmitRectangleOutline(dc, a.x, a.y, b.x, b.y);
}

}  // namespace

const mmCommandSteps kZoomSteps{start, input, pick, preview};
