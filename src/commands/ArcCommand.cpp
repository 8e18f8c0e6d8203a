// ARC: through three points (steps 1 to 3), or from a centre, a radius and two angles (steps 11
// to 14). The arc is added at the start; its points are the centre slot (a placeholder in
// three-point mode), then the start, second and end points.
#include <cmath>

#include "commands/BuiltinPreview.h"
#include "commands/Command.h"
#include "commands/InputGrammar.h"
#include "commands/Interpreter.h"
#include "commands/NewEntity.h"
#include "commands/Undo.h"
#include "entities/Arc.h"
#include "entities/DrawContext.h"

namespace {

constexpr char16_t kCenterPrompt[] = u"Specify center point: ";
constexpr char16_t kSecondPrompt[] = u"Specify second (pass-tru) point: ";
constexpr char16_t kEndPrompt[] = u"Specify end point: ";
constexpr char16_t kRadiusPrompt[] = u"Move to or type radius: ";
constexpr char16_t kStartAnglePrompt[] = u"Specify arc's start angle: ";
constexpr char16_t kEndAnglePrompt[] = u"Specify arc's end angle: ";
constexpr char16_t kCollinearMessage[] =
    u"The three points lie on one line; specify another end point.";

enum Step {
    kStart = 1,
    kSecond = 2,
    kEnd = 3,
    kCenter = 11,
    kRadius = 12,
    kStartAngle = 13,
    kEndAngle = 14
};

mmArc& arc(mmSession& s) {
    return static_cast<mmArc&>(*s.pendingEntity);
}

void start(mmSession& s, std::u16string&) {
    NewPendingEntity<mmArc>(s);
    AddPendingEntity(s);
}

void complete(mmSession& s, std::u16string& text) {
    CompleteGeometry(s, arc(s));
    RecordUndoForPending(s, true);
    FinishCommand(s, text);
}

// The arc through the start, second and end points. Three points on one line make no arc: the
// end point is taken back and asked for again.
void throughThreePoints(mmSession& s, std::u16string& text) {
    mmArc& a = arc(s);
    const mmOriginOffset& o = s.originOffset;
    auto shifted = [&](int i) { return mmVertex(a.points[i].x - o.x, a.points[i].y - o.y); };
    if (a.points.size() == 4 &&
        a.SetThroughThreePoints(shifted(1), shifted(2), shifted(3), o.x, o.y))
        return complete(s, text);
    a.points.pop_back();
    a.grips.resize(a.points.size());
    s.commandLine.pendingMessage = kCollinearMessage;
}

// Enter at the first prompt chooses the centre mode; later it leaves the unfinished arc, which
// is discarded.
void onEmpty(mmSession& s, std::u16string& text) {
    if (s.ActiveView().step == kStart) return SetCommandStep(s, kCenter, kCenterPrompt);
    DiscardPendingEntity(s);
    FinishCommand(s, text);
}

void onOption(mmSession& s, char16_t letter) {
    switch (s.ActiveView().step) {
        case kStart:
            if (letter == u'C') SetCommandStep(s, kCenter, kCenterPrompt);
            break;
    }
}

void onPoint(mmSession& s, std::u16string& text) {
    switch (s.ActiveView().step) {
        case kStart:
            SetCommandStep(s, kSecond, kSecondPrompt);
            break;
        case kSecond:
            SetCommandStep(s, kEnd, kEndPrompt);
            break;
        case kEnd:
            throughThreePoints(s, text);
            break;
        case kCenter:
            SetCommandStep(s, kRadius, kRadiusPrompt);
            break;
    }
}

// A pick at these steps has already set the value; typed text gives it.
void onNumber(mmSession& s, std::u16string& text, bool picked) {
    const std::optional<double> typed = picked ? std::nullopt : ReadNumber(text);
    if (!picked && !typed) return;
    switch (s.ActiveView().step) {
        case kRadius:
            // A radius that is not positive, typed or picked on the centre: the prompt stays.
            if (typed && *typed <= 0.0) return;
            if (typed) arc(s).SetRadius(*typed);
            if (!(arc(s).radius > 0.0)) return;
            SetCommandStep(s, kStartAngle, kStartAnglePrompt);
            break;
        case kStartAngle:
            if (typed) arc(s).SetStartAngle(*typed);
            SetCommandStep(s, kEndAngle, kEndAnglePrompt);
            break;
        case kEndAngle:
            if (typed) arc(s).SetEndAngle(*typed);
            complete(s, text);
            break;
    }
}

bool takesNumber(int step) {
    return step == kRadius || step == kStartAngle || step == kEndAngle;
}

// The start point goes after the centre slot.
bool takeStartPoint(mmSession& s, const std::u16string& text) {
    const std::optional<mmVertex> point = TypedPoint(s, text);
    if (!point) return false;
    arc(s).AddPoint(0.0, 0.0);
    ApplyPoint(s, point->x, point->y);
    return true;
}

void input(mmSession& s, std::u16string& text, bool picked) {
    if (text.empty()) return onEmpty(s, text);
    const int step = s.ActiveView().step;
    if (takesNumber(step)) return onNumber(s, text, picked);
    if (step == kStart && !picked) {
        if (OptionLetter(text) == u'C') return onOption(s, u'C');
        if (takeStartPoint(s, text)) onPoint(s, text);
        return;
    }
    if (TakePoint(s, text, picked)) onPoint(s, text);
}

std::optional<std::u16string> pick(mmSession& s, double x, double y) {
    mmArc& a = arc(s);
    switch (s.ActiveView().step) {
        case kStart:
            a.AddPoint(0.0, 0.0);
            return PickAppliesPoint(s, x, y);
        case kSecond:
        case kEnd:
        case kCenter:
            return PickAppliesPoint(s, x, y);
        case kRadius:
            if (a.points.empty()) return std::nullopt;
            a.SetRadius(std::hypot(x - a.points[0].x, y - a.points[0].y));
            return FormatFixed4(a.radius);
        case kStartAngle:
            a.SetStartThrough(x, y, 0.0, 0.0);
            return FormatFixed4(a.startAngle);
        case kEndAngle:
            a.SetEndThrough(x, y, 0.0, 0.0);
            return FormatFixed4(a.endAngle);
    }
    return std::nullopt;
}

// Three-point mode: towards the cursor from the start, then the arc through the two points and
// the cursor. Centre mode: a line from the centre to the cursor.
void preview(const mmSession& s, const mmView& view, mmDrawContext& dc, double x, double y) {
    if (!s.pendingEntity) return;
    const std::vector<mmVertex>& p = s.pendingEntity->points;
    const mmVertex cursor(x, y);
    const int step = view.step;
    if (step == kSecond && p.size() >= 2) return PreviewLine(dc, view, p[1], cursor);
    if (takesNumber(step) && !p.empty()) return PreviewLine(dc, view, p[0], cursor);
    if (step != kEnd || p.size() < 3) return;
    mmArc rubber;
    if (!rubber.SetThroughThreePoints(p[1], p[2], cursor, 0.0, 0.0))
        return PreviewLine(dc, view, p[1], cursor);
    const mmShift shift{0.0, 0.0, view.originOffset.x, view.originOffset.y};
    rubber.Draw(dc, {}, kDrawNormal, static_cast<float>(view.ActiveZoomScale()), prim::kLineStrip,
                shift, false);
}

}  // namespace

const mmCommandSteps kArcSteps{start, input, pick, preview};
