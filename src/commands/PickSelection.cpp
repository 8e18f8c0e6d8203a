// Pick selection, single-pick mode, and window and crossing selection.
#include <cmath>

#include "commands/Selection.h"
#include "commands/Session.h"
#include "commands/SpaceSearch.h"
#include "entities/Geometry.h"

namespace {

struct Frame {
    double ox = 0.0;  // origin offset of the view's space
    double oy = 0.0;
    mmShift shift;
};

Frame frameOf(const mmView& view) {
    Frame f;
    if (!view.InPaperMode()) {
        f.ox = view.originOffset.x;
        f.oy = view.originOffset.y;
        f.shift = mmShift{0.0, 0.0, f.ox, f.oy};
    }
    return f;
}

bool inverted(const mmRect& r) {
    return !(r.minX <= r.maxX && r.minY <= r.maxY);
}

// The window from the first corner to the cursor: entities inside it, or with a crossing window
// (drawn right to left) also those it crosses, are selected (deselected with Shift).
void finishWindow(mmSession& s) {
    mmView& view = s.ActiveView();
    const Frame f = frameOf(view);
    const mmVertex a = view.selectionWindowCorner;
    const mmVertex b = view.CursorInDrawing();
    const bool crossing = a.x > b.x;
    const mmRect rect{std::fmin(a.x, b.x), std::fmin(a.y, b.y), std::fmax(a.x, b.x),
                      std::fmax(a.y, b.y)};
    const mmRect shown{rect.minX - f.ox, rect.minY - f.oy, rect.maxX - f.ox, rect.maxY - f.oy};
    const bool on = !view.shiftHeld;
    bool changed = false;
    ForEachEntityNear(s, s.CurrentSpace(), rect, false, [&](int32_t, mmObject& e) {
        if (e.erased || !e.visible) return true;
        // Inverted extents belong to an entity without geometry, which no window holds.
        bool take = !inverted(e.extents) && rectInsideRect(rect, e.extents);
        if (!take && crossing) take = e.CrossesRect(shown, f.shift, true);
        if (take) changed |= SetEntitySelected(s, e, on);
        return true;
    });
    view.selectionWindowStarted = false;
    if (changed) SelectionChanged(s);
    view.Invalidate();
}

}  // namespace

mmObjectPtr PickEntity(mmSession& s, int cx, int cy) {
    mmView& view = s.ActiveView();
    mmSpace& space = s.CurrentSpace();
    const Frame f = frameOf(view);
    const float ppu = static_cast<float>(view.ActiveZoomScale());
    const double tol = kPickTolerancePixels / ppu;
    const mmRect square{view.cursorX - tol, view.cursorY - tol, view.cursorX + tol,
                        view.cursorY + tol};
    const mmRect stored{square.minX + f.ox, square.minY + f.oy, square.maxX + f.ox,
                        square.maxY + f.oy};
    const mmRect window = view.VisibleWindow();
    const mmViewMatrices& m = view.InPaperMode() ? view.PaperMatrices() : view.Matrices();
    int32_t found = -1;
    ForEachEntityNear(s, space, stored, true, [&](int32_t position, mmObject& e) {
        if (e.erased || !e.visible || e.CulledBy(square, f.shift)) return true;
        if (!e.HitTest(cx, cy, window, m, ppu, f.shift, true)) return true;
        found = position;
        return false;
    });
    return found < 0 ? nullptr : space.entities[found];
}

void SelectionClick(mmSession& s) {
    mmView& view = s.ActiveView();
    if (view.selectionWindowStarted) return finishWindow(s);
    if (const mmObjectPtr e = PickEntity(s, view.lastMouseX, view.lastMouseY)) {
        if (view.commandSelecting) {
            SelectEntity(s, *e, true);
            s.pendingEntity = e;
            s.commandLine.SubmitInput(u"", true);
            return;
        }
        SelectEntity(s, *e, !view.shiftHeld);
        return;
    }
    if (view.commandSelecting) return;  // a single pick on nothing does nothing
    view.selectionWindowStarted = true;
    view.selectionWindowCorner = view.CursorInDrawing();
    view.Invalidate();
}
