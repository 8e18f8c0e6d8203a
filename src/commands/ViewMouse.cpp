// Mouse input of the drawing view.
#include "commands/ViewMouse.h"

#include "commands/CommandTable.h"
#include "commands/Interpreter.h"
#include "commands/Session.h"

namespace {

bool zoomingInRealTime(const mmView& view) {
    return view.leftButtonDown && view.commandId == cmd::kZoom && (view.step == 1 || view.step == 2);
}

}  // namespace

void ViewMouseMove(mmSession& s, int x, int y) {
    mmView& view = s.ActiveView();
    view.mouseInside = true;
    if (view.panning) view.panBy(x - view.lastMouseX, y - view.lastMouseY);
    view.SetMousePosition(x, y);
    if (!view.panning && zoomingInRealTime(view)) view.realTimeZoomMove(y);
    view.Invalidate();
}

void ViewMouseLeave(mmSession& s) {
    mmView& view = s.ActiveView();
    view.mouseInside = false;
    view.Invalidate();
}

bool ViewLeftButtonDown(mmSession& s, int x, int y) {
    mmView& view = s.ActiveView();
    view.leftButtonDown = true;
    view.realTimeZoomY = y;
    view.SetMousePosition(x, y);
    if (view.commandId == cmd::kPan) {
        view.panning = true;
        return true;
    }
    if (view.commandId == 0 || view.cursorMode == kCursorSelect) return false;
    const mmVertex p = ViewPickPoint(s);
    PickPoint(s, p.x, p.y);
    return true;
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
