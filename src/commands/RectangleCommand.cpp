// RECTANGLE: two corners make a closed polyline of five vertices (the first corner repeated at
// the end); it enters the drawing only when the second corner is given. The first corner is held
// in the session's scratch; picks are echoed first and applied by the input handler.
#include "commands/BuiltinPreview.h"
#include "commands/Command.h"
#include "commands/InputGrammar.h"
#include "commands/Interpreter.h"
#include "commands/NewEntity.h"
#include "commands/Undo.h"
#include "entities/DrawContext.h"
#include "entities/Polyline.h"

namespace {

constexpr char16_t kSecondCornerPrompt[] = u"Specify second corner of rectangle: ";
constexpr char16_t kSameCornerMessage[] =
    u"The second corner is the first one; specify another second corner.";

// (x1, y1), (x2, y1), (x2, y2), (x1, y2), (x1, y1).
void fillCorners(std::vector<mmVertex>& points, const mmVertex& a, const mmVertex& b) {
    points = {mmVertex(a.x, a.y), mmVertex(b.x, a.y), mmVertex(b.x, b.y), mmVertex(a.x, b.y),
              mmVertex(a.x, a.y)};
}

void start(mmSession&, std::u16string&) {}

// Ends the command; nothing is created and nothing recorded.
void onEmpty(mmSession& s, std::u16string& text) {
    FinishCommand(s, text);
}

void addRectangle(mmSession& s, const mmVertex& corner, std::u16string& text) {
    const auto rectangle = NewPendingEntity<mmPolyline>(s);
    fillCorners(rectangle->points, s.scratch.heldPoint, corner);
    rectangle->closed = true;
    AddPendingEntity(s);
    CompleteGeometry(s, *rectangle);
    RecordUndoForPending(s, true);
    FinishCommand(s, text);
}

void onPoint(mmSession& s, const mmVertex& corner, std::u16string& text) {
    mmView& view = s.ActiveView();
    switch (view.step) {
        case 1:
            s.scratch.heldPoint = corner;
            view.lastPoint = corner;
            view.step = 2;
            s.commandLine.SetPrompt(kSecondCornerPrompt);
            break;
        case 2:
            if (corner.x == s.scratch.heldPoint.x && corner.y == s.scratch.heldPoint.y) {
                s.commandLine.pendingMessage = kSameCornerMessage;
                return;
            }
            view.lastPoint = corner;
            addRectangle(s, corner, text);
            break;
    }
}

void input(mmSession& s, std::u16string& text, bool picked) {
    if (text.empty()) return onEmpty(s, text);
    const std::optional<mmVertex> corner =
        picked ? std::optional<mmVertex>(s.ActiveView().pickedPoint) : TypedPoint(s, text);
    if (corner) onPoint(s, mmVertex(corner->x, corner->y), text);
}

std::optional<std::u16string> pick(mmSession&, double x, double y) {
    return FormatPickedPoint(x, y);
}

// The rectangle from the first corner to the cursor.
void preview(const mmSession& s, const mmView& view, mmDrawContext& dc, double x, double y) {
    if (view.step != 2) return;
    const mmVertex& a = s.scratch.heldPoint;
    const mmOriginOffset& o = view.originOffset;
    const double xs[] = {a.x, x, x, a.x, a.x};
    const double ys[] = {a.y, a.y, y, y, a.y};
    dc.Begin(prim::kLineStrip);
    for (int i = 0; i < 5; ++i)
        dc.Vertex(xs[i] - o.x, ys[i] - o.y);
    dc.End();
}

}  // namespace

const mmCommandSteps kRectangleSteps{start, input, pick, preview};
