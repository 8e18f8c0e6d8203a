// mmView: the model of one drawing view: the command state the interpreter works on and the few
// view values commands read (zoom scale, origin offset, redraw requests).
#pragma once

#include <cstdint>
#include <string>

#include "entities/Vertex.h"

class mmCommandPreview;

// Cursor modes of a view.
inline constexpr int kCursorNone = 0;
inline constexpr int kCursorPoint = 1;
inline constexpr int kCursorSelect = 2;
inline constexpr int kCursorPan = 3;
inline constexpr int kCursorZoom = 4;

// Rubber-band modes.
inline constexpr int kRubberNone = 0;
inline constexpr int kRubberPoint = 1;     // point input without a preview line
inline constexpr int kRubberFromBase = 2;  // a line from rubberBase to the cursor

// Pixels per drawing unit of a new model view.
inline constexpr double kInitialZoomScale = 11.7243715;

// The shift subtracted from every coordinate before it reaches OpenGL. One per process, shared by
// all views.
struct mmOriginOffset {
    double x = 0.0;
    double y = 0.0;
    bool shifted = false;
};

class mmView {
public:
    explicit mmView(mmOriginOffset& origin, bool layout = false)
        : originOffset(origin), isLayout(layout) {}
    mmView(const mmView&) = delete;
    mmView& operator=(const mmView&) = delete;

    // Command state.
    int commandId = 0;  // 0: no command running
    int step = 0;
    int cursorMode = kCursorNone;
    int rubberBand = kRubberNone;
    mmVertex rubberBase;
    int inputType = 0;  // 0 typed text, 1 a pick
    std::u16string lastInput;
    mmVertex pickedPoint;  // drawing coordinates of the last pick
    mmVertex lastPoint;    // base of relative input
    bool commandSelecting = false;
    bool showGrips = true;

    // Selection state the keys reach: Shift held, and a selection window whose first corner is
    // given.
    bool shiftHeld = false;
    bool selectionWindowStarted = false;
    mmVertex selectionWindowCorner;

    mmOriginOffset& originOffset;
    const bool isLayout;
    // Pixels per drawing unit of the model view's one slot.
    double zoomScale = kInitialZoomScale;

    // Consumed by the renderer: draw the scene again, and rebuild text outlines, fills and
    // textures while doing so.
    bool needsFullRedraw = true;
    bool regenPending = true;

    // The running command's preview, set by the command layer; null draws none.
    const mmCommandPreview* commandPreview = nullptr;

    bool CommandRunning() const { return commandId != 0; }
    // The scale of the slot that zoom, pan and picks act on.
    double ActiveZoomScale() const { return zoomScale; }

    // Mode 1: the view takes points, with a preview line from (x, y) when withBase. Any other
    // mode: no point input, no rubber band.
    void SetUserInputMode(int mode, bool withBase, double x, double y);
    // The view's part of ending a command: no command, no cursor mode or rubber band, no
    // single-pick selection, grips shown.
    void ClearCommandState();
};
