// PLINE: a polyline, added at the start, grows by one vertex per point: a straight segment in
// line mode (step 1), an arc tangent to the last segment in arc mode (step 2), or an arc through
// a second point (steps 31 and 32). An empty line, Exit or a close ends it. Picks and typed
// points are taken alike: the pick is echoed first and applied by the input handler.
#include <cmath>

#include "commands/BuiltinPreview.h"
#include "commands/Command.h"
#include "commands/InputGrammar.h"
#include "commands/Interpreter.h"
#include "commands/NewEntity.h"
#include "commands/PolylineArcs.h"
#include "commands/Undo.h"
#include "entities/Arc.h"
#include "entities/DrawContext.h"
#include "entities/Geometry.h"
#include "entities/Polyline.h"

namespace {

constexpr char16_t kNextPrompt[] = u"Specify next point or [Arc/Close/Exit]: ";
constexpr char16_t kTypedNextPrompt[] = u"Insert or type next point: ";
constexpr char16_t kArcPrompt[] = u"Specify endpoint of arc or [Second pt/Line/clOse/Exit]: ";
constexpr char16_t kSecondPrompt[] = u"Specify second point of arc: ";
constexpr char16_t kArcEndPrompt[] = u"Specify endpoint of arc: ";
constexpr char16_t kBehindMessage[] =
    u"No arc tangent to the last segment ends there; specify another end point.";
constexpr char16_t kCollinearMessage[] =
    u"The three points lie on one line; specify another end point.";

enum Step { kLineMode = 1, kArcMode = 2, kSecondPoint = 31, kArcEnd = 32 };

mmPolyline& polyline(mmSession& s) {
    return static_cast<mmPolyline&>(*s.pendingEntity);
}

void start(mmSession& s, std::u16string&) {
    NewPendingEntity<mmPolyline>(s);
    AddPendingEntity(s);
    s.scratch.tangentDirection = mmVertex(1.0, 0.0);
}

// The grips and extents UpdateGrips and UpdateExtents would give, for the newest vertex only, so
// a long polyline grows in constant time per vertex.
void growGeometry(mmPolyline& p) {
    const int n = p.pointCount();
    const mmVertex& v = p.points.back();
    p.grips.resize(2 * static_cast<std::size_t>(n));
    SetGripAt(p.grips, 2 * n - 2, v.x, v.y);
    SetGripAt(p.grips, 2 * n - 1, 0.0, 0.0);
    if (n == 1) return p.UpdateExtents();
    mmRect r = p.extents;
    WidenRect(r, v.x, v.y);
    mmArc arc;
    if (p.SegmentArc(n - 2, 0.0, 0.0, arc)) {
        SetGripAt(p.grips, 2 * n - 3, arc.points[2].x, arc.points[2].y);
        WidenRect(r, arc.extents.minX, arc.extents.minY);
        WidenRect(r, arc.extents.maxX, arc.extents.maxY);
    }
    p.SetExtents(r);
}

// Appends the vertex; the segment from the previous one gets the bulge, and its end direction
// becomes the tangent direction.
void appendVertex(mmSession& s, const mmVertex& v, double bulge) {
    mmPolyline& p = polyline(s);
    if (!p.points.empty()) {
        p.bulges.back() = bulge;
        if (const std::optional<mmVertex> d = EndDirection(p.points.back(), v, bulge))
            s.scratch.tangentDirection = *d;
    }
    p.points.emplace_back(v.x, v.y);
    p.bulges.push_back(0.0);
    growGeometry(p);
    s.ActiveView().lastPoint = mmVertex(v.x, v.y);
    s.RequestRedraw();
}

std::optional<double> tangentBulgeTo(mmSession& s, const mmVertex& point) {
    return TangentArcBulge(s.scratch.tangentDirection, polyline(s).points.back(), point);
}

bool isLastVertex(mmSession& s, const mmVertex& v) {
    const std::vector<mmVertex>& points = polyline(s).points;
    return !points.empty() && points.back().x == v.x && points.back().y == v.y;
}

// With fewer than two vertices there is no polyline: the entity added at the start goes.
void complete(mmSession& s, std::u16string& text) {
    mmPolyline& p = polyline(s);
    if (p.pointCount() < 2) {
        DiscardPendingEntity(s);
        return FinishCommand(s, text);
    }
    CompleteGeometry(s, p);
    RecordUndoForPending(s, true);
    FinishCommand(s, text);
}

// The closing segment is straight, or in arc mode tangent to the last segment.
void closePolyline(mmSession& s, std::u16string& text) {
    mmPolyline& p = polyline(s);
    double bulge = 0.0;
    const mmVertex& last = p.points.back();
    const bool returned = last.x == p.points.front().x && last.y == p.points.front().y;
    if (s.ActiveView().step == kArcMode && !returned) {
        const std::optional<double> arc = tangentBulgeTo(s, p.points.front());
        if (!arc) {
            s.commandLine.pendingMessage = kBehindMessage;
            return;
        }
        bulge = *arc;
    }
    p.bulges.back() = bulge;
    p.closed = true;
    complete(s, text);
}

// Letters a step does not offer are not options: the text goes on to the point grammar.
bool onOption(mmSession& s, std::u16string& text) {
    const int step = s.ActiveView().step;
    const int vertices = polyline(s).pointCount();
    switch (OptionLetter(text)) {
        case u'A':
            SetCommandStep(s, kArcMode, kArcPrompt);
            return true;
        case u'L':
            SetCommandStep(s, kLineMode, kNextPrompt);
            return true;
        case u'S':
            if (vertices == 0) return false;  // an arc needs its start first
            SetCommandStep(s, kSecondPoint, kSecondPrompt);
            return true;
        case u'E':
            if (step != kLineMode && step != kArcMode) return false;
            complete(s, text);
            return true;
        case u'C':
            if (step != kLineMode || vertices < 3) return false;
            closePolyline(s, text);
            return true;
        case u'O':
            if (step != kArcMode || vertices < 2) return false;
            closePolyline(s, text);
            return true;
    }
    return false;
}

void onPoint(mmSession& s, const mmVertex& point, bool typed) {
    if (isLastVertex(s, point)) return;  // a segment of no length: nothing to add
    const bool first = polyline(s).points.empty();
    switch (s.ActiveView().step) {
        case kLineMode:
            appendVertex(s, point, 0.0);
            s.commandLine.SetPrompt(typed ? kTypedNextPrompt : kNextPrompt);
            break;
        case kArcMode: {
            const std::optional<double> bulge = first ? 0.0 : tangentBulgeTo(s, point);
            if (!bulge) {
                s.commandLine.pendingMessage = kBehindMessage;
                return;
            }
            appendVertex(s, point, *bulge);
            break;
        }
        case kSecondPoint:
            s.scratch.heldPoint = mmVertex(point.x, point.y);
            s.ActiveView().lastPoint = mmVertex(point.x, point.y);
            SetCommandStep(s, kArcEnd, kArcEndPrompt);
            break;
        case kArcEnd: {
            const std::optional<double> bulge =
                ThreePointArcBulge(polyline(s).points.back(), s.scratch.heldPoint, point);
            if (!bulge) {
                s.commandLine.pendingMessage = kCollinearMessage;
                return;
            }
            appendVertex(s, point, *bulge);
            SetCommandStep(s, kArcMode, kArcPrompt);
            break;
        }
    }
}

void input(mmSession& s, std::u16string& text, bool picked) {
    if (text.empty()) return complete(s, text);
    if (!picked && onOption(s, text)) return;
    const std::optional<mmVertex> point =
        picked ? std::optional<mmVertex>(s.ActiveView().pickedPoint) : TypedPoint(s, text);
    if (point) onPoint(s, *point, !picked);
}

std::optional<std::u16string> pick(mmSession&, double x, double y) {
    return FormatPickedPoint(x, y);
}

// The arc with the bulge from a to b, laid out in display coordinates.
void previewArc(mmDrawContext& dc, const mmView& view, const mmVertex& a, const mmVertex& b,
                double bulge) {
    const mmOriginOffset& o = view.originOffset;
    mmArc rubber;
    if (!rubber.SetFromBulge(bulge, mmVertex(a.x - o.x, a.y - o.y), mmVertex(b.x - o.x, b.y - o.y)))
        return PreviewLine(dc, view, a, b);
    rubber.Draw(dc, {}, kDrawNormal, static_cast<float>(view.ActiveZoomScale()), prim::kLineStrip,
                {}, false);
}

// From the last vertex to the cursor: a line in line mode and while the second point is asked
// for, the tangent arc in arc mode, the arc through the second point at the end point.
void preview(const mmSession& s, const mmView& view, mmDrawContext& dc, double x, double y) {
    if (!s.pendingEntity || s.pendingEntity->points.empty()) return;
    const mmVertex& last = s.pendingEntity->points.back();
    const mmVertex cursor(x, y);
    std::optional<double> bulge;
    switch (view.step) {
        case kLineMode:
        case kSecondPoint:
            return PreviewLine(dc, view, last, cursor);
        case kArcMode:
            bulge = TangentArcBulge(s.scratch.tangentDirection, last, cursor);
            break;
        case kArcEnd:
            bulge = ThreePointArcBulge(last, s.scratch.heldPoint, cursor);
            if (!bulge) return PreviewLine(dc, view, last, cursor);
            break;
    }
    if (bulge) previewArc(dc, view, last, cursor, *bulge);
}

}  // namespace

const mmCommandSteps kPlineSteps{start, input, pick, preview};
