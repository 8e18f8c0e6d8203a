// DIMRADIUS: a radius dimension of a picked circle or arc, its line from the centre towards the
// picked location and its text there, in the current dimension style. One step of UNDO.
#include <cmath>

#include "Input.h"
#include "KestrelExtension.h"

namespace {

enum class Stage { Select, Place };

constexpr char16_t kSelectPrompt[] = u"Select circle or arc: ";
constexpr char16_t kPlacePrompt[] = u"Specify dimension line location: ";

struct State {
    Stage stage = Stage::Select;
    Point centre;
    double radius = 0.0;
};
State state;

int askCircle(int* step) {
    state.stage = Stage::Select;
    SetObjectSelectMode(KESTREL_SELECT_ONE);
    DisplayPromptMsg(kSelectPrompt);
    return Continue(step);
}

int circlePicked(int* step) {
    int id = -1;
    GetPickedObject(&id);
    if (id < 0) return Finish();
    if (getCircle(id, &state.centre.x, &state.centre.y, &state.radius) != 0) {
        DisplayMsg(u"The object is not a circle or an arc.");
        return askCircle(step);
    }
    state.stage = Stage::Place;
    SetObjectSelectMode(KESTREL_SELECT_NONE);
    SetUserInputMode(1, true, state.centre.x, state.centre.y);
    DisplayPromptMsg(kPlacePrompt);
    return Continue(step);
}

// The dimension line runs from the centre towards the location (to the right when they
// coincide); the text stands at the location.
int place(const Point& at) {
    const Point& c = state.centre;
    double dx = at.x - c.x, dy = at.y - c.y;
    const double length = std::hypot(dx, dy);
    if (length > 0.0) {
        dx /= length;
        dy /= length;
    } else {
        dx = 1.0;
        dy = 0.0;
    }
    int id = -1;
    addRadiusDimension(c.x, c.y, c.x + state.radius * dx, c.y + state.radius * dy, at.x, at.y, &id);
    return Finish();
}

}  // namespace

extern "C" int DIMRADIUS(int* step) {
    if (*step == 1) {
        state = State();
        return askCircle(step);
    }
    const Input in = ReadInput();
    if (in.kind == Input::Marker) return Continue(step);
    if (state.stage == Stage::Select)
        return IsEmptyLine(in) ? circlePicked(step) : Continue(step);
    if (IsEmptyLine(in)) return Finish();
    const std::optional<Point> p = PointOf(in);
    return p ? place(*p) : Continue(step);
}
