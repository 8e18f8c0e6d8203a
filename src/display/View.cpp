// mmView: the view model's own operations on its command state.
#include "display/View.h"

void mmView::SetUserInputMode(int mode, bool withBase, double x, double y) {
    if (mode != 1) {
        cursorMode = kCursorNone;
        rubberBand = kRubberNone;
        return;
    }
    cursorMode = kCursorPoint;
    rubberBand = kRubberPoint;
    if (withBase) {
        rubberBase = mmVertex(x, y);
        rubberBand = kRubberFromBase;
    }
}

void mmView::ClearCommandState() {
    commandId = 0;
    cursorMode = kCursorNone;
    rubberBand = kRubberNone;
    commandSelecting = false;
    showGrips = true;
}
