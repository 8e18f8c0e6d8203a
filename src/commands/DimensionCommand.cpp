// DIMLINEAR and DIMALIGNED: three picks give the two origins and the dimension line position.
// Typed text is ignored; an empty line (Enter, Esc) leaves the command without a dimension. The
// dimension takes the current style's values, shrunk to fit a short distance, and enters the
// drawing with the third pick.
#include <algorithm>
#include <cmath>

#include "commands/BuiltinPreview.h"
#include "commands/Command.h"
#include "commands/Interpreter.h"
#include "commands/NewEntity.h"
#include "commands/Undo.h"
#include "drawing/DimensionRules.h"

namespace {

constexpr char16_t kSecondOriginPrompt[] = u"Specify second origin for dimension: ";
constexpr char16_t kLinePositionPrompt[] = u"Specify dimension line position: ";
constexpr char16_t kSameOriginMessage[] =
    u"The second origin is the first one; specify another second origin.";
constexpr char16_t kPickEcho[] = u" ";

// A dimension with the current style, layer and the next id, its label "0.0".
void startAs(mmSession& s, int16_t dimType) {
    const int32_t id = s.CurrentSpace().nextEntityId++;
    const auto d = NewDimension(s.drawing, dimType, id, {}, s.glyphTable);
    d->InitLabel(s.glyphTable);
    s.pendingEntity = d;
}

void startLinear(mmSession& s, std::u16string&) {
    startAs(s, kDimRotated);
}
void startAligned(mmSession& s, std::u16string&) {
    startAs(s, kDimAligned);
}

// When the origins lie closer than two arrows and the label, the sizes shrink by a fifth of
// the ratio.
void fitToDistance(mmDimension& d, const mmGlyphTablePtr& glyphs) {
    const mmVertex& a = d.defPoints[0];
    const mmVertex& b = d.defPoints[1];
    const double distance = std::hypot(b.x - a.x, b.y - a.y);
    const double width = std::max(0.0, d.label.extents.maxX - d.label.extents.minX);
    const double room = 2.0 * d.arrowSize + width;
    if (!(distance < room)) return;
    const double f = distance / room / 5.0;
    d.textHeight *= f;
    d.arrowSize *= f;
    d.extLineOffset *= f;
    d.extLineExtension *= f;
    d.textGap *= f;
    d.label.SetHeight(d.textHeight, glyphs);
}

void onFirstOrigin(mmSession& s, const mmVertex& p) {
    PendingAs<mmDimension>(s).defPoints[0] = mmVertex(p.x, p.y);
    SetCommandStep(s, 2, kSecondOriginPrompt);
}

// The dimension line starts at the second origin.
void onSecondOrigin(mmSession& s, const mmVertex& p) {
    mmDimension& d = PendingAs<mmDimension>(s);
    const mmVertex first = d.defPoints[0];
    if (p.x == first.x && p.y == first.y) {
        s.commandLine.pendingMessage = kSameOriginMessage;
        return;
    }
    d.defPoints[1] = d.defPoints[2] = mmVertex(p.x, p.y);
    d.defPoints[3] = first;
    fitToDistance(d, s.glyphTable);
    d.BuildDimension(s.glyphTable);
    SetCommandStep(s, 3, kLinePositionPrompt);
    s.RequestRedraw();
}

void onLinePosition(mmSession& s, const mmVertex& p, std::u16string& text) {
    mmDimension& d = PendingAs<mmDimension>(s);
    d.defPoints[2] = mmVertex(p.x, p.y);
    d.BuildDimension(s.glyphTable);
    d.UpdateExtents();
    d.UpdateGrips();
    AddPendingEntity(s);
    RecordUndoForPending(s, true);
    s.modified = true;
    FinishCommand(s, text);
}

void input(mmSession& s, std::u16string& text, bool picked) {
    if (!picked) {
        if (text.empty()) FinishCommand(s, text);  // the dimension was never added
        return;
    }
    const mmVertex p = s.ActiveView().pickedPoint;
    s.ActiveView().lastPoint = p;
    switch (s.ActiveView().step) {
        case 1:
            return onFirstOrigin(s, p);
        case 2:
            return onSecondOrigin(s, p);
        case 3:
            return onLinePosition(s, p, text);
    }
}

// Picks are taken by the input handler and echoed as a blank.
std::optional<std::u16string> pick(mmSession&, double, double) {
    return std::u16string(kPickEcho);
}

// From the first origin to the cursor; then the dimension with its line through the cursor.
void preview(const mmSession& s, const mmView& view, mmDrawContext& dc, double x, double y) {
    if (!s.pendingEntity || s.pendingEntity->type != kTypeDimension) return;
    const auto& d = static_cast<const mmDimension&>(*s.pendingEntity);
    if (view.step == 2) return PreviewLine(dc, view, d.defPoints[0], mmVertex(x, y));
    if (view.step != 3) return;
    mmDimension shown;
    shown.CopyFrom(d);
    shown.defPoints[2] = mmVertex(x, y);
    shown.BuildDimension(s.glyphTable);
    SetEntityColor(dc, shown);
    PreviewEntity(dc, view, shown);
}

}  // namespace

const mmCommandSteps kDimLinearSteps{startLinear, input, pick, preview};
const mmCommandSteps kDimAlignedSteps{startAligned, input, pick, preview};
