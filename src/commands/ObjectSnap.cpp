// The object snap search and its settings.
#include "commands/ObjectSnap.h"

#include <algorithm>
#include <cmath>

#include "commands/CommandTable.h"
#include "commands/MenuCommands.h"
#include "commands/Session.h"
#include "commands/SpaceSearch.h"
#include "commands/ViewMouse.h"
#include "entities/Geometry.h"

namespace {

bool takesSegmentModes(const mmObject& e) {
    return e.type == kTypeLine || e.type == kTypePolyline;
}

void setHover(mmView& view, const mmObjectPtr& e, int grip) {
    if (!e || grip < 0 || grip >= e->gripCount()) return;
    e->grips[grip].hover = true;
    view.hoveredEntity = e;
    view.hoveredGrip = grip;
}

// Step 1: the grips the last search hovered lose the flag.
void clearHover(mmSession& s, mmView& view) {
    if (const mmObjectPtr e = view.hoveredEntity.lock())
        if (view.hoveredGrip >= 0 && view.hoveredGrip < e->gripCount())
            e->grips[view.hoveredGrip].hover = false;
    view.hoveredEntity.reset();
    view.hoveredGrip = -1;
    mmObject* pending = s.pendingEntity.get();
    if (pending && view.hotGripIndex >= 0 && view.hotGripIndex < pending->gripCount())
        pending->grips[view.hotGripIndex].hover = false;
}

// Step 2: the base of the perpendicular mode, in display coordinates: the dragged grip where it
// was, or the last point of the running command.
bool basePoint(const mmSession& s, const mmView& view, double& x, double& y) {
    const mmObject* pending = s.pendingEntity.get();
    if (!s.snap.on || !pending || pending->points.empty()) return false;
    const double ox = view.InPaperMode() ? 0.0 : view.originOffset.x;
    const double oy = view.InPaperMode() ? 0.0 : view.originOffset.y;
    if (view.commandId == cmd::kGripEdit) {
        if (view.hotGripIndex < 0 || view.hotGripIndex >= pending->gripCount()) return false;
        x = pending->grips[view.hotGripIndex].x - ox;
        y = pending->grips[view.hotGripIndex].y - oy;
        return true;
    }
    if (view.commandId == 0) return false;
    x = view.lastPoint.x - ox;
    y = view.lastPoint.y - oy;
    return true;
}

// The square around the cursor (stored coordinates) outside of which no grip or segment can be
// within the snap aperture.
mmRect aperture(const mmView& view, int cx, int cy, float pixelsPerUnit) {
    const mmVertex c = view.screenToWorld(cx, cy);
    const mmVertex right = view.screenToWorld(cx + 1, cy);
    const mmVertex down = view.screenToWorld(cx, cy + 1);
    const double unit =
        std::hypot(right.x - c.x, right.y - c.y) + std::hypot(down.x - c.x, down.y - c.y);
    // The grips within 15 / pixelsPerUnit per axis, segments within 15 pixels: a quarter more
    // covers the single-precision rounding of both tests.
    const double reach =
        1.25 * std::max<double>(kSnapPixels / pixelsPerUnit, (kSnapPixels + 1.0) * unit);
    const double ox = view.InPaperMode() ? 0.0 : view.originOffset.x;
    const double oy = view.InPaperMode() ? 0.0 : view.originOffset.y;
    return {c.x + ox - reach, c.y + oy - reach, c.x + ox + reach, c.y + oy + reach};
}

// The position of the pending entity in the space, when it is there unselected: the search then
// snaps to it without culling (its extents may be stale), wherever it is. Its id is its own: the
// id counter gave it.
int32_t unculledPendingPosition(const mmSession& s, const mmSpace& space) {
    const mmObject* pending = s.pendingEntity.get();
    if (!pending || pending->selected) return -1;
    const auto at = space.entityIndex.find(pending->id);
    if (!at || *at >= static_cast<int32_t>(space.entities.size()) ||
        space.entities[*at].get() != pending)
        return -1;
    return *at;
}

// Steps 3 to 5 after the pass: the hovered grip of a selected entity, and the grip result of a
// running command shown as an endpoint.
void takeResult(mmSession& s, mmView& view, mmSpace& space, int modes) {
    mmSnapInfo& info = view.snapInfo;
    const bool discrete = info.kind == kSnapGrip || info.kind == kSnapEndpoint ||
                          info.kind == kSnapIntersection || info.kind == kSnapPerpendicular;
    const mmObjectPtr hit = discrete ? FindEntity(space, info.entityId) : nullptr;
    if (hit && hit->selected && info.kind == kSnapGrip && info.gripDistance < kSnapPullPixels &&
        info.gripIndex < hit->gripCount()) {
        setHover(view, hit, info.gripIndex);
        view.snapFound = true;
        // A running command's own entity is never replaced.
        if (view.commandId == 0) {
            view.hotGripIndex = info.gripIndex;
            s.pendingEntity = hit;
        }
    }
    if (view.commandId != 0 && s.snap.on) {
        if (info.kind == kSnapGrip && (modes & kSnapEndpoint)) {
            info.kind = kSnapEndpoint;
            setHover(view, hit, info.gripIndex);
        }
        view.snapMarkerShown = true;
    }
}

}  // namespace

bool SnapSearchRuns(const mmView& view) {
    if (view.leftButtonDown || view.panning || view.cursorMode == kCursorSelect) return false;
    return view.cursorMode != kCursorPan && view.cursorMode != kCursorZoom;
}

void SnapSearch(mmSession& s) {
    mmView& view = s.ActiveView();
    mmSpace& space = s.CurrentSpace();
    mmSnapInfo& info = view.snapInfo;
    clearHover(s, view);
    view.snapFound = false;
    view.snapMarkerShown = false;

    int modes = s.snap.on ? s.snap.modes : 0;
    double baseX = 0.0, baseY = 0.0;
    if (!basePoint(s, view, baseX, baseY)) modes &= ~kSnapPerpendicular;
    info.BeginPass(modes, baseX, baseY);
    info.entityId = -1;

    const bool running = view.commandId != 0;
    const int cx = view.lastMouseX;
    const int cy = view.lastMouseY;
    const float ppu = static_cast<float>(view.ActiveZoomScale());
    const mmRect window = view.VisibleWindow();
    const mmViewMatrices& m = view.InPaperMode() ? view.PaperMatrices() : view.Matrices();
    const mmShift shift = view.InPaperMode()
                              ? mmShift{}
                              : mmShift{0.0, 0.0, view.originOffset.x, view.originOffset.y};
    const mmObject* pending = s.pendingEntity.get();
    ForEachEntityNear(
        s, space, aperture(view, cx, cy, ppu), false,
        [&](int32_t, mmObject& e) {
            if (e.erased || !e.visible || (!e.selected && !(running && s.snap.on))) return true;
            if (!takesSegmentModes(e)) info.modes = modes & kSnapEndpoint;
            const bool cull = &e != pending || e.selected;
            e.Snap(view.commandId, e.selected, cx, cy, window, info, m, ppu, shift, cull);
            info.modes = modes;
            return true;
        },
        unculledPendingPosition(s, space));

    takeResult(s, view, space, modes);
    if (!s.snap.on) info.kind = kSnapNone;
    if (info.kind == kSnapNone) info.entityId = -1;
    if (info.gripDistance < kSnapPullPixels || info.intersectionDistance < kSnapPullPixels ||
        info.perpendicularDistance < kSnapPullPixels)
        view.SetCursor(info.x, info.y, info.screenX, info.screenY);
}

void SetSnapOn(mmSession& s, bool on) {
    s.snap.on = on;
    s.events().SnapToggled(on);
    mmView& view = s.ActiveView();
    if (view.mouseInside) ViewMouseMove(s, view.lastMouseX, view.lastMouseY);
    view.Invalidate();
}

void ToggleSnap(mmSession& s) {
    SetSnapOn(s, !s.snap.on);
}

namespace {

int modeBit(int32_t menuId) {
    switch (menuId) {
        case menu::kSnapEndpoint:
            return kSnapEndpoint;
        case menu::kSnapPerpendicular:
            return kSnapPerpendicular;
        case menu::kSnapIntersection:
            return kSnapIntersection;
        case menu::kSnapNearest:
            return kSnapNearest;
    }
    return 0;
}

}  // namespace

bool ToggleSnapMode(mmSession& s, int32_t menuId) {
    const int bit = modeBit(menuId);
    if (bit == 0) return false;
    s.snap.modes ^= bit;
    mmView& view = s.ActiveView();
    if (view.mouseInside) ViewMouseMove(s, view.lastMouseX, view.lastMouseY);
    view.Invalidate();
    return true;
}

bool SnapModeChecked(const mmSession& s, int32_t menuId) {
    const int bit = modeBit(menuId);
    return bit != 0 && (s.snap.modes & bit) != 0;
}
