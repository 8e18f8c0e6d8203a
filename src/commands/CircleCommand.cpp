// CIRCLE: a centre, then a radius typed or picked; the circle is added at the start.
#include <cmath>

#include "commands/BuiltinPreview.h"
#include "commands/Command.h"
#include "commands/InputGrammar.h"
#include "commands/Interpreter.h"
#include "commands/NewEntity.h"
#include "commands/Undo.h"
#include "entities/Circle.h"
#include "entities/DrawContext.h"

namespace {

constexpr char16_t kRadiusPrompt[] = u"Move to or type radius: ";

mmCircle& circle(mmSession& s) {
    return static_cast<mmCircle&>(*s.pendingEntity);
}

void start(mmSession& s, std::u16string&) {
    NewPendingEntity<mmCircle>(s);
    AddPendingEntity(s);
}

void complete(mmSession& s, std::u16string& text) {
    CompleteGeometry(s, circle(s));
    RecordUndoForPending(s, true);
    FinishCommand(s, text);
}

// Before a radius is given the circle has no size: it is discarded.
void onEmpty(mmSession& s, std::u16string& text) {
    DiscardPendingEntity(s);
    FinishCommand(s, text);
}

void onPoint(mmSession& s) {
    mmView& view = s.ActiveView();
    switch (view.step) {
        case 1:
            view.step = 2;
            s.commandLine.SetPrompt(kRadiusPrompt);
            break;
    }
}

// A radius that is not positive, typed or picked on the centre, leaves the prompt as it is.
void onNumber(mmSession& s, std::u16string& text, bool picked) {
    switch (s.ActiveView().step) {
        case 2:
            if (!picked) {
                const std::optional<double> radius = ReadNumber(text);
                if (!radius || *radius <= 0.0) return;
                circle(s).SetRadius(*radius);
            }
            if (!(circle(s).radius > 0.0)) return;
            complete(s, text);
            break;
    }
}

void input(mmSession& s, std::u16string& text, bool picked) {
    if (text.empty()) return onEmpty(s, text);
    if (s.ActiveView().step == 2) return onNumber(s, text, picked);
    if (TakePoint(s, text, picked)) onPoint(s);
}

// At the radius step the pick sets the radius and is echoed as the radius.
std::optional<std::u16string> pick(mmSession& s, double x, double y) {
    switch (s.ActiveView().step) {
        case 1:
            return PickAppliesPoint(s, x, y);
        case 2:
            circle(s).SetRadiusThrough(x, y, 0.0, 0.0);
            return FormatFixed4(circle(s).radius);
    }
    return std::nullopt;
}

// A line from the centre to the cursor and the circle through the cursor.
void preview(const mmSession& s, const mmView& view, mmDrawContext& dc, double x, double y) {
    if (view.step != 2 || !s.pendingEntity || s.pendingEntity->points.empty()) return;
    const mmVertex& centre = s.pendingEntity->points[0];
    PreviewLine(dc, view, centre, mmVertex(x, y));
    mmCircle rubber;
    rubber.AddPoint(centre.x, centre.y);
    rubber.radius = std::hypot(x - centre.x, y - centre.y);
    const mmShift shift{0.0, 0.0, view.originOffset.x, view.originOffset.y};
    rubber.Draw(dc, {}, kDrawNormal, static_cast<float>(view.ActiveZoomScale()), prim::kLineStrip,
                shift, false);
}

}  // namespace

const mmCommandSteps kCircleSteps{start, input, pick, preview};
