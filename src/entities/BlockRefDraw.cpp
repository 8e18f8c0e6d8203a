// Block references on screen and under the cursor: drawing (a shared list of children through
// one display list, a reference too small to see as a dot), picking, crossing and selection.
#include "entities/BlockRef.h"

#include "entities/DrawContext.h"
#include "entities/Hatch.h"
#include "entities/PickReach.h"
#include "entities/Point.h"

namespace {

// A display list is being compiled: nested references draw into it directly.
bool compiling = false;

// What selecting entities adds to the count of selected ones (each leaf one).
int SelectionCount(const mmEntityList& entities) {
    int n = 0;
    for (const mmObjectPtr& c : entities) {
        if (!c) continue;
        if (c->type == kTypeBlockRef) {
            n += SelectionCount(static_cast<const mmBlockRef&>(*c).children.Shared());
        } else if (c->type == kTypeHatch) {
            for (const auto& loop : static_cast<const mmHatch&>(*c).loops)
                if (loop) n += SelectionCount(*loop);
        } else {
            ++n;
        }
    }
    return n;
}

}  // namespace

bool mmBlockRef::DrawPrepared(mmDrawContext& dc, int mode, float pixelsPerUnit, int primitive,
                              const mmShift& shift) {
    mmPreparedForms* forms = children.Forms();
    if (compiling || !forms || !children.IsShared()) return false;
    const mmPreparedForms::Key key{color, mode, primitive, pixelsPerUnit, dc.DetailPixels()};
    uint32_t list = forms->Find(dc, key);
    if (list == 0) {
        list = dc.GenLists(1);
        if (list == 0) return false;
        compiling = true;
        dc.NewList(list);
        // Children coloured by block take the reference's colour.
        DrawHeldEntities(dc, children.Shared(), mode, pixelsPerUnit, primitive, {}, color);
        dc.EndList();
        compiling = false;
        forms->Keep(dc, key, list);
    }
    for (int64_t k = 0, cells = CellCount(); k < cells; ++k) {
        const mmVertex cell = CellOffset(k);
        dc.PushMatrix();
        dc.Translate(points[0].x + cell.x - shift.dx2, points[0].y + cell.y - shift.dy2);
        dc.CallList(list);
        dc.PopMatrix();
    }
    return true;
}

mmShift mmBlockRef::ChildShift(const mmShift& shift, const mmVertex& cell) const {
    const double x = points.empty() ? 0.0 : points[0].x;
    const double y = points.empty() ? 0.0 : points[0].y;
    return {x + cell.x + shift.dx1 - shift.dx2, y + cell.y + shift.dy1 - shift.dy2, 0.0, 0.0};
}

// Each cell is drawn in its own frame; the children are culled against the view seen from it.
void mmBlockRef::Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit,
                      int primitive, const mmShift& shift, bool cull) {
    if (points.empty() || (cull && CulledBy(view, shift))) return;
    if (mode >= kDrawGrips) {
        DrawGripList(dc, grips, shift.dx2, shift.dy2, pixelsPerUnit, kGripSquareLarge);
        return;
    }
    if (DrawAsDot(dc, *this, pixelsPerUnit, shift)) return;
    if (DrawPrepared(dc, mode, pixelsPerUnit, primitive, shift)) return;
    for (int64_t k = 0, cells = CellCount(); k < cells; ++k) {
        const mmVertex cell = CellOffset(k);
        const mmShift frame = ChildShift(shift, cell);
        const mmRect local{view.minX - frame.dx1, view.minY - frame.dy1, view.maxX - frame.dx1,
                           view.maxY - frame.dy1};
        dc.PushMatrix();
        dc.Translate(points[0].x + cell.x - shift.dx2, points[0].y + cell.y - shift.dy2);
        // Children coloured by block take the reference's colour.
        DrawHeldEntities(dc, children.Shared(), mode, pixelsPerUnit, primitive, {}, color, &local);
        dc.PopMatrix();
    }
}

bool mmBlockRef::HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m,
                         float pixelsPerUnit, const mmShift& shift, bool cull) {
    if (points.empty() || (cull && CulledBy(view, shift))) return false;
    // No child is picked farther from the cursor than a point's marker circle plus the pick
    // distance: references away from the cursor are passed over without visiting their children.
    const mmPickReach reach(cx, cy, m, kPickPixels + kPointCirclePixels);
    const double sx = shift.cullX(), sy = shift.cullY();
    if (!reach.Near(extents.minX + sx, extents.minY + sy, extents.maxX + sx, extents.maxY + sy))
        return false;
    for (int64_t k = 0, cells = CellCount(); k < cells; ++k) {
        const mmShift inner = ChildShift(shift, CellOffset(k));
        for (const mmObjectPtr& c : children.Shared())
            if (c && !c->erased && c->visible &&
                c->HitTest(cx, cy, view, m, pixelsPerUnit, inner, true))
                return true;
    }
    return false;
}

bool mmBlockRef::CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) {
    if (points.empty() || (cull && CulledBy(rect, shift))) return false;
    for (int64_t k = 0, cells = CellCount(); k < cells; ++k) {
        const mmShift inner = ChildShift(shift, CellOffset(k));
        for (const mmObjectPtr& c : children.Shared())
            if (c && !c->erased && c->visible && c->CrossesRect(rect, inner, true)) return true;
    }
    return false;
}

void mmBlockRef::SetSelected(bool on, int& delta) {
    selected = on;
    delta = 0;
    // The flags of shared children stay as they are (nothing reads them): the count alone.
    if (children.IsShared()) {
        delta = SelectionCount(children.Shared()) * (on ? 1 : -1);
        return;
    }
    for (const mmObjectPtr& c : children.Own()) {
        if (!c) continue;
        int d = 0;
        c->SetSelected(on, d);
        delta += d;
    }
}

