// Mouse input of the drawing view.
#include "commands/ViewMouse.h"

#include "commands/CommandTable.h"
#include "commands/GripEdit.h"
#include "commands/Interpreter.h"
#include "commands/ObjectSnap.h"
#include "commands/Selection.h"
#include "commands/Session.h"

namespace {

bool zoomingInRealTime(const mmView& view) {
    return view.leftButtonDown && view.commandId == cmd::kZoom &&
           (view.step == 1 || view.step == 2);
}

}  // namespace

void ViewMouseMove(mmSession& s, int x, int y) {
    mmView& view = s.ActiveView();
    view.mouseInside = true;
    if (view.panning) view.panBy(x - view.lastMouseX, y - view.lastMouseY);
    view.SetMousePosition(x, y);
    if (!view.panning && zoomingInRealTime(view)) view.realTimeZoomMove(y);
    if (SnapSearchRuns(view)) SnapSearch(s);
    view.Invalidate();
}

void ViewMouseMoveTo(mmSession& s, double x, double y) {
    mmView& view = s.ActiveView();
    const double ox = view.InPaperMode() ? 0.0 : view.originOffset.x;
    const double oy = view.InPaperMode() ? 0.0 : view.originOffset.y;
    int px = 0, py = 0;
    view.worldToScreen(x - ox, y - oy, view.InPaperMode() ? view.PaperMatrices() : view.Matrices(),
                       px, py);
    ViewMouseMove(s, px, py);
    const mmVertex under = view.screenToWorld(px, py);
    // Unless a snap pulled it, the cursor is on the point itself rather than its pixel.
    if (view.cursorX == under.x && view.cursorY == under.y) view.SetCursor(x - ox, y - oy, px, py);
}

void ViewMouseLeave(mmSession& s) {
    mmView& view = s.ActiveView();
    view.mouseInside = false;
    view.Invalidate();
}

bool ViewLeftButtonDown(mmSession& s, int x, int y) {
    mmView& view = s.ActiveView();
    // A press away from the last move is a move there first, so the pick is the snapped cursor.
    if (!view.mouseInside || x != view.lastMouseX || y != view.lastMouseY) ViewMouseMove(s, x, y);
    view.leftButtonDown = true;
    view.realTimeZoomY = y;
    if (view.commandId == cmd::kPan) {
        view.panning = true;
        return true;
    }
    if (view.commandId == 0 && StartGripEdit(s)) return true;
    if (view.commandId == 0 || view.cursorMode == kCursorSelect) {
        SelectionClick(s);
        return true;
    }
    const mmVertex p = ViewPickPoint(s);
    return PickPoint(s, p.x, p.y);
}

void ViewLeftButtonUp(mmSession& s, int, int) {
    mmView& view = s.ActiveView();
    view.leftButtonDown = false;
    if (view.commandId == cmd::kPan) view.panning = false;
}

void ViewMiddleButtonDown(mmSession& s, int x, int y) {
    mmView& view = s.ActiveView();
    view.SetMousePosition(x, y);
    if (view.panning) return;  // PAN is already dragging
    view.middleButtonDown = true;
    view.savedCursorMode = view.cursorMode;
    view.cursorMode = kCursorPan;
    view.panning = true;
    view.Invalidate();
}

void ViewMiddleButtonUp(mmSession& s, int, int) {
    mmView& view = s.ActiveView();
    if (!view.middleButtonDown) return;
    view.middleButtonDown = false;
    view.cursorMode = view.savedCursorMode;
    view.panning = false;
    view.Invalidate();
}

void ViewWheel(mmSession& s, int delta) {
    s.ActiveView().zoomAtCursor(delta);
}

mmVertex ViewPickPoint(const mmSession& s) {
    const mmView& view = s.ActiveView();
    if (view.snapInfo.kind != kSnapNearest) return view.CursorInDrawing();
    if (view.InPaperMode()) return mmVertex(view.snapInfo.x, view.snapInfo.y);
    return mmVertex(view.snapInfo.x + view.originOffset.x, view.snapInfo.y + view.originOffset.y);
}
