// PEDIT: edits one polyline. I inserts a vertex at the point of a segment nearest to a pick, D
// deletes the vertex nearest to a pick, B gives the segment nearest to a pick the bulge typed, or
// the one that makes it pass through a picked point. Each edit is one step of UNDO.
#include "Bulges.h"
#include "Input.h"
#include "KestrelExtension.h"

namespace {

enum class Stage { Option, Select, Point, Bulge };

constexpr char16_t kOptionPrompt[] = u"Enter an option [Insert vertex/Delete vertex/Bulge]: ";
constexpr char16_t kSelectPrompt[] = u"Select polyline: ";
constexpr char16_t kInsertPrompt[] = u"Specify a point on the segment to insert a vertex: ";
constexpr char16_t kDeletePrompt[] = u"Specify the vertex to delete: ";
constexpr char16_t kSegmentPrompt[] = u"Specify the segment to bend: ";
constexpr char16_t kBulgePrompt[] =
    u"Type the bulge (0 straight, 1 half circle) or pick a point for the segment to pass "
    u"through: ";

struct State {
    Stage stage = Stage::Option;
    char16_t option = 0;
    int id = -1;
    int segment = -1;
};
State state;

int ask(Stage stage, const char16_t* prompt, int* step) {
    state.stage = stage;
    DisplayPromptMsg(prompt);
    return Continue(step);
}

int askPolyline(int* step) {
    SetObjectSelectMode(KESTREL_SELECT_ONE);
    return ask(Stage::Select, kSelectPrompt, step);
}

int polylinePicked(int* step) {
    int id = -1;
    GetPickedObject(&id);
    if (id < 0) return Finish();
    if (getObjectType(id) != KESTREL_TYPE_POLYLINE) {
        DisplayMsg(u"The object is not a polyline.");
        return askPolyline(step);
    }
    state.id = id;
    SetObjectSelectMode(KESTREL_SELECT_NONE);
    SetUserInputMode(1, false, 0.0, 0.0);
    const char16_t* prompt = state.option == u'I'   ? kInsertPrompt
                             : state.option == u'D' ? kDeletePrompt
                                                    : kSegmentPrompt;
    return ask(Stage::Point, prompt, step);
}

int insertVertex(const Polyline& line, const Point& p) {
    const int i = NearestSegment(line, p);
    if (i < 0) return Finish();
    const Segment s = line.SegmentAt(i);
    const Point at = NearestOnSegment(s, p);
    double before = 0.0, after = 0.0;
    SplitBulge(s, at, before, after);
    insertPolylineVertex(state.id, i + 1, at.x, at.y, before, after);
    return Finish();
}

int deleteVertex(const Polyline& line, const Point& p) {
    if (line.vertices.size() <= 2) {
        DisplayMsg(u"A polyline keeps at least two vertices.");
        return Finish();
    }
    const int i = NearestVertex(line, p);
    if (i >= 0) deletePolylineVertex(state.id, i, 0.0);
    return Finish();
}

int pointGiven(const Input& in, int* step) {
    const std::optional<Point> p = PointOf(in);
    if (!p) return Continue(step);
    const Polyline line = ReadPolyline(state.id);
    if (state.option == u'I') return insertVertex(line, *p);
    if (state.option == u'D') return deleteVertex(line, *p);
    state.segment = NearestSegment(line, *p);
    if (state.segment < 0) return Finish();
    return ask(Stage::Bulge, kBulgePrompt, step);
}

int bulgeGiven(const Input& in, int* step) {
    const Polyline line = ReadPolyline(state.id);
    if (state.segment >= line.SegmentCount()) return Finish();
    const Segment s = line.SegmentAt(state.segment);
    double bulge = 0.0;
    if (const std::optional<Point> p = PointOf(in)) {
        if (!BulgeThrough(s.a, *p, s.b, bulge)) {
            DisplayMsg(u"No arc of the segment passes through that point.");
            return Continue(step);
        }
    } else if (const std::optional<double> typed = NumberOf(in)) {
        bulge = *typed;
    } else {
        return Continue(step);
    }
    setPolylineBulge(state.id, state.segment, bulge);
    return Finish();
}

}  // namespace

extern "C" int PEDIT(int* step) {
    if (*step == 1) {
        state = State();
        SetUserInputMode(0, false, 0.0, 0.0);
        return ask(Stage::Option, kOptionPrompt, step);
    }
    const Input in = ReadInput();
    if (in.kind == Input::Marker) return Continue(step);
    if (IsEmptyLine(in) && state.stage != Stage::Select) return Finish();
    switch (state.stage) {
        case Stage::Option:
            state.option = OptionOf(in);
            if (state.option != u'I' && state.option != u'D' && state.option != u'B')
                return Continue(step);
            return askPolyline(step);
        case Stage::Select:
            // The pick of a polyline arrives as an empty line.
            return IsEmptyLine(in) ? polylinePicked(step) : Continue(step);
        case Stage::Point:
            return pointGiven(in, step);
        case Stage::Bulge:
            return bulgeGiven(in, step);
    }
    return Finish();
}
