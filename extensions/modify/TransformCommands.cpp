// MOVE, ROTATE and SCALE: the objects selected before the command (or selected at its first
// prompt), a base point, then the second point, the angle or the factor, typed or picked with a
// rubber-band line from the base. Each applies as one step of UNDO.
#include <cmath>
#include <vector>

#include "Input.h"
#include "KestrelExtension.h"

namespace {

enum class Kind { Move, Rotate, Scale };
enum class Stage { Selecting, Base, Amount };

constexpr char16_t kSelectPrompt[] = u"Select objects: ";
constexpr char16_t kBasePrompt[] = u"Specify base point: ";
constexpr char16_t kSecondPrompt[] = u"Specify second point: ";
constexpr char16_t kAnglePrompt[] = u"Specify rotation angle or pick a point: ";
constexpr char16_t kFactorPrompt[] = u"Specify scale factor or pick a point: ";
constexpr double kPi = 3.141592653589793;

struct State {
    Stage stage = Stage::Selecting;
    std::vector<int> ids;
    Point base;
};
State state;

std::vector<int> selection() {
    const int count = GetSelection(nullptr, 0);
    std::vector<int> ids(count > 0 ? static_cast<std::size_t>(count) : 0);
    if (!ids.empty()) GetSelection(ids.data(), count);
    return ids;
}

int askBase(int* step) {
    state.stage = Stage::Base;
    SetObjectSelectMode(KESTREL_SELECT_NONE);
    SetUserInputMode(1, false, 0.0, 0.0);
    DisplayPromptMsg(kBasePrompt);
    return Continue(step);
}

int askAmount(Kind kind, const Point& base, int* step) {
    state.stage = Stage::Amount;
    state.base = base;
    SetUserInputMode(1, true, base.x, base.y);
    DisplayPromptMsg(kind == Kind::Move ? kSecondPrompt
                     : kind == Kind::Rotate ? kAnglePrompt
                                            : kFactorPrompt);
    return Continue(step);
}

int count() {
    return static_cast<int>(state.ids.size());
}

// The second point, angle or factor: applied, or (a factor that is not positive) asked again.
int apply(Kind kind, const Input& in, int* step) {
    const Point& b = state.base;
    const std::optional<Point> p = PointOf(in);
    if (kind == Kind::Move) {
        if (!p) return Continue(step);
        moveObjects(state.ids.data(), count(), p->x - b.x, p->y - b.y);
        return Finish();
    }
    std::optional<double> amount = NumberOf(in);
    if (p && kind == Kind::Rotate) amount = std::atan2(p->y - b.y, p->x - b.x) * 180.0 / kPi;
    if (p && kind == Kind::Scale) amount = std::hypot(p->x - b.x, p->y - b.y);
    if (!amount) return Continue(step);
    if (kind == Kind::Rotate) {
        rotateObjects(state.ids.data(), count(), b.x, b.y, *amount);
        return Finish();
    }
    if (!(*amount > 0.0)) {
        DisplayMsg(u"The scale factor must be greater than 0.");
        return Continue(step);
    }
    scaleObjects(state.ids.data(), count(), b.x, b.y, *amount);
    return Finish();
}

int run(Kind kind, int* step) {
    if (*step == 1) {
        state = State();
        state.ids = selection();
        if (!state.ids.empty()) return askBase(step);
        SetObjectSelectMode(KESTREL_SELECT_OBJECTS);
        DisplayPromptMsg(kSelectPrompt);
        return Continue(step);
    }
    const Input in = ReadInput();
    if (in.kind == Input::Marker) return Continue(step);
    // Return (or Esc) before the command is complete leaves everything as it was.
    const bool empty = IsEmptyLine(in);
    switch (state.stage) {
        case Stage::Selecting:
            if (!empty) return Continue(step);
            state.ids = selection();
            if (state.ids.empty()) return Finish();
            return askBase(step);
        case Stage::Base:
            if (empty) return Finish();
            if (const std::optional<Point> p = PointOf(in)) return askAmount(kind, *p, step);
            return Continue(step);
        case Stage::Amount:
            if (empty) return Finish();
            return apply(kind, in, step);
    }
    return Finish();
}

}  // namespace

extern "C" {

int MOVE(int* step) {
    return run(Kind::Move, step);
}

int ROTATE(int* step) {
    return run(Kind::Rotate, step);
}

int SCALE(int* step) {
    return run(Kind::Scale, step);
}

}  // extern "C"
