// mmView: the model of one drawing view: its view slots (zoom and pan), the projection and
// model-view matrices it computes and keeps, the conversions between window and drawing, zoom and
// pan, the coordinate readout, redraw requests, and the per-view command state the interpreter
// works on.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "entities/GlyphTable.h"
#include "entities/Object.h"
#include "entities/SnapInfo.h"
#include "entities/Vertex.h"
#include "entities/ViewMatrices.h"
#include "platform/Printer.h"

class mmCommandPreview;
class mmView;
class mmViewport;
struct mmSpace;

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
// The range of the model view's scale. Upwards, pixel positions stay exact to 1/100 pixel for
// coordinates up to 4.5e7 (survey coordinates) in double precision; downwards, the widest
// drawing zoom extents accepts (1e9 units) fits a window of ten pixels. Within it every zoom
// shift and pixel position stays finite.
inline constexpr double kMinZoomScale = 1e-8;
inline constexpr double kMaxZoomScale = 1e6;
bool ZoomScaleInRange(double scale);

// The wheel delta of one notch, and the delta of one real-time zoom step.
inline constexpr int kWheelNotch = 120;
inline constexpr int kRealTimeZoomDelta = 101;

inline constexpr char16_t kZoomExtentsRangeMessage[] =
    u"\r\nCan't zoom extents! Zoom coordinates range to big.";

// The shift subtracted from every coordinate before it reaches OpenGL. One per process, shared by
// all views. Layout views follow its moves so that their viewports keep showing the same model.
struct mmOriginOffset {
    double x = 0.0;
    double y = 0.0;
    bool shifted = false;
    std::vector<mmView*> followers;
};

// What a view tells the window that shows it.
class mmViewWindow {
public:
    virtual ~mmViewWindow() = default;
    // Paint again (overlays only, unless the view asked for a full redraw).
    virtual void Invalidate() {}
    // The text of the status bar's coordinates pane.
    virtual void CoordinatesChanged(const std::u16string& /*text*/) {}
};

class mmView {
public:
    explicit mmView(mmOriginOffset& origin, bool layout = false);
    ~mmView();
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
    // The first corner of a zoom window (drawing coordinates).
    mmVertex zoomCorner;

    // Selection state the keys reach: Shift held, and a selection window whose first corner is
    // given (drawing coordinates).
    bool shiftHeld = false;
    bool selectionWindowStarted = false;
    mmVertex selectionWindowCorner;

    // The object snap result of the last mouse move (display coordinates), and whether its marker
    // is to be drawn.
    mmSnapInfo snapInfo;
    bool snapMarkerShown = false;
    // A grip of a selected entity is under the cursor; the index of the grip under the cursor (or
    // being dragged) in the pending entity; the entity whose grip the last search hovered.
    bool snapFound = false;
    int hotGripIndex = -1;
    std::weak_ptr<mmObject> hoveredEntity;
    int hoveredGrip = -1;
    // Running total of selected entities, summed from the SetSelected deltas.
    int selectedTotal = 0;
    // Set by the renderer when the selection highlight belongs to the scene (no texture cache):
    // a change of the selection then needs the scene drawn again.
    bool selectionInScene = false;

    mmOriginOffset& originOffset;
    const bool isLayout;
    bool paperMode = false;  // layouts: paper space is edited

    // View slots: parallel lists indexed by slot. The model view has the one slot 0.
    std::vector<int32_t> viewIds;
    std::vector<double> zoomScale;  // pixels per drawing unit (viewports: paper mm per unit)
    std::vector<double> zoomShiftX;
    std::vector<double> zoomShiftY;
    std::vector<double> panX;  // pixels (viewports: paper mm); panY grows downwards
    std::vector<double> panY;
    std::vector<double> plotScale;
    int32_t activeView = 0;  // the slot zoom, pan, picks and the readout act on
    int32_t currentViewportId = 0;

    // Paper of a layout.
    int32_t paperWidthPx = 0;
    int32_t paperHeightPx = 0;
    double paperPxPerMm = 1.0;
    double paperZoom = 1.0;
    double paperShiftX = 0.0;
    double paperShiftY = 0.0;
    int32_t paperPanX = 0;
    int32_t paperPanY = 0;

    // Set while the scene is drawn for export or printing: no axis icon, cursor or overlays.
    bool renderForOutput = false;
    // While rendering for output: the picture is moved by this many pixels (left and down), so
    // that a part of a larger picture fills the window (tiled exports).
    double outputShiftX = 0.0;
    double outputShiftY = 0.0;
    // While rendering for output: the picture is magnified this many times about the window's
    // centre before the shift (tiled exports).
    double outputZoom = 1.0;

    // Layouts: the paper space the view shows (its entities and viewports), the printer values
    // its page was laid out with, and the window rectangle (pixels, y up) of the current viewport
    // at the last scene draw.
    mmSpace* paperSpace = nullptr;
    kestrel::platform::PrinterMetrics printerMetrics;
    mmRect currentViewportRect;

    // The last mouse position (window pixels, y down), the cursor in display coordinates and in
    // window pixels (a snap may have moved both), and the button states.
    int lastMouseX = 0;
    int lastMouseY = 0;
    double cursorX = 0.0;
    double cursorY = 0.0;
    int cursorPixelX = 0;
    int cursorPixelY = 0;
    bool mouseInside = false;
    bool leftButtonDown = false;
    bool middleButtonDown = false;
    bool panning = false;
    int savedCursorMode = kCursorNone;  // restored when the middle button is released
    int realTimeZoomY = 0;              // y of the previous real-time zoom move

    // Consumed by the renderer: draw the scene again, and rebuild text outlines, fills and
    // textures while doing so.
    bool needsFullRedraw = true;
    bool regenPending = true;

    // The glyph table texts of this view are laid out with (built once, shared).
    mmGlyphTablePtr glyphs;

    // The running command's preview, set by the command layer; null draws none.
    const mmCommandPreview* commandPreview = nullptr;
    // The window showing the view; null when there is none (tests, headless runs).
    mmViewWindow* window = nullptr;

    bool CommandRunning() const { return commandId != 0; }
    // Whether activeView names a slot (a layout without viewports has none).
    bool HasActiveSlot() const {
        return activeView >= 0 && static_cast<std::size_t>(activeView) < viewIds.size();
    }
    // The scale zoom acts on: the active slot's (pixels per unit on the model view, paper
    // millimetres per unit in a viewport), or paper pixels per millimetre in paper mode.
    double ActiveZoomScale() const;
    // Window pixels per unit of what is edited: drawing units, or paper millimetres in paper
    // mode. Grip squares, pick and snap distances are measured with it.
    double PixelsPerUnit() const;
    // What is subtracted from drawing coordinates to give display coordinates: the origin
    // offset, except in paper mode, where paper coordinates are never shifted.
    mmVertex DisplayOrigin() const;
    mmShift DisplayShift() const {
        const mmVertex o = DisplayOrigin();
        return mmShift{0.0, 0.0, o.x, o.y};
    }
    // The viewport entity of the current viewport; null on the model view or when there is none.
    mmViewport* CurrentViewport() const;
    // The viewport entity of slot i; null when there is none.
    mmViewport* ViewportOfSlot(std::size_t slot) const;
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Mode 1: the view takes points, with a preview line from (x, y) when withBase. Any other
    // mode: no point input, no rubber band.
    void SetUserInputMode(int mode, bool withBase, double x, double y);
    // The view's part of ending a command: no command, no cursor mode or rubber band, no
    // single-pick selection, grips shown.
    void ClearCommandState();

    // Slots.
    void AddSlot(int32_t id, double scale);
    std::size_t SlotCount() const { return viewIds.size(); }

    // A new client size; ignored unless both are positive. Until the view is first zoomed or
    // panned, the start-up pan follows the size so the origin stays near the lower left.
    void Resize(int width, int height);
    // The start-up values of the model view's slot for the current size.
    void SetInitialModelView();

    // Layouts: paper space is edited (on), or the model through the current viewport.
    void SetPaperMode(bool on);
    // A layout in model mode whose cursor lies outside the current viewport: the system arrow
    // is shown instead of the drawn cursor.
    bool CursorOutsideViewport() const;

    // The kept matrices: projection and viewport of the client area, with the model-view of what
    // is edited: the active slot, or the paper in paper mode (paperMatrices: of the paper, on
    // layouts).
    const mmViewMatrices& Matrices() const { return matrices_; }
    const mmViewMatrices& PaperMatrices() const { return paperMatrices_; }
    // The matrices of slot i (its model-view on top of the paper matrix on a layout).
    mmViewMatrices SlotMatrices(std::size_t slot) const;
    // The window pixel frame: x right and y up from the lower-left corner, one unit per pixel.
    mmViewMatrices WindowMatrices() const;

    // Window pixel (x right, y down) to display coordinates (paper millimetres when paper).
    mmVertex screenToWorld(double x, double y, bool paper) const;
    mmVertex screenToWorld(double x, double y) const { return screenToWorld(x, y, InPaperMode()); }
    // Display coordinates to window pixels, rounded half away from zero.
    bool worldToScreen(double x, double y, const mmViewMatrices& m, int& px, int& py) const;
    // The drawing rectangle the window shows (display coordinates).
    mmRect VisibleWindow() const;
    bool InPaperMode() const { return isLayout && paperMode; }

    // Zoom by the factor of a wheel delta (one notch of 120 is 1.224 in, -120 its reciprocal)
    // about the snapped point or the point under the mouse.
    void zoomAtCursor(int delta);
    // A mouse move at y while zooming in real time: up zooms in, anything else out.
    void realTimeZoomMove(int y);
    // The mouse moved by (dx, dy) pixels while panning.
    void panBy(int dx, int dy);
    // Pixels per unit of the active slot about the window centre (a viewport's zoom about its
    // centre; paper pixels per millimetre in paper mode). False (nothing changes) unless s lies
    // in the scale range.
    bool setZoomScale(double s);
    // The zoom of slot i of a layout (paper millimetres per unit) about the viewport's centre.
    bool setSlotZoomScale(std::size_t slot, double s);
    // Slot i of a layout shows the model rectangle (display coordinates) fitted into its
    // viewport less a margin in pixels, centred.
    bool zoomSlotToWindow(std::size_t slot, const mmRect& area, int margin);
    // The layout's matrices after its page or slots changed.
    void PageChanged() { UpdateMatrices(); }
    // Layouts: the page geometry for the client size and the printer's values (kept, and used
    // again on every resize).
    void SetupPage(const kestrel::platform::PrinterMetrics& printer);
    // The shared origin offset moved by (dx, dy): a layout's slots move with it.
    void OriginMoved(double dx, double dy);
    // Shows the rectangle of two corners (display coordinates) with a margin in pixels, fitted in
    // drawing units; two equal corners are centred at the same scale. False (nothing changes)
    // when the rectangle needs a scale outside the range.
    bool zoomWindow(double x1, double y1, double x2, double y2, int margin);
    // Shows every visible entity of the list, at the nearest end of the scale range if it lies
    // beyond. False (the view unchanged) when the extents are too wide; the caller shows
    // kZoomExtentsRangeMessage.
    bool zoomExtents(const mmEntityList& entities);

    // The mouse is at window pixel (x, y): the cursor follows it.
    void SetMousePosition(int x, int y);
    // The cursor moved to (x, y) in display coordinates at window pixel (px, py), e.g. onto a snap.
    void SetCursor(double x, double y, int px, int py);
    // The cursor in drawing coordinates (origin offset added).
    mmVertex CursorInDrawing() const;
    // "%.4f, %.4f" of the cursor (drawing coordinates, or paper ones in paper mode) to the
    // coordinates pane.
    void updateCoordinateReadout();
    const std::u16string& CoordinateText() const { return coordinateText_; }

    // Draw the scene again at the next paint.
    void requestRedraw();
    // Paint again without redrawing the scene (overlays moved).
    void Invalidate();
    // The selection changed: paint its highlight again.
    void RepaintSelection() {
        if (selectionInScene)
            requestRedraw();
        else
            Invalidate();
    }

private:
    void UpdateMatrices();
    mmViewMatrices BaseMatrices() const;
    void ApplySlotTransform(mmViewMatrices& m, std::size_t slot) const;
    void ZoomChanged();
    void FollowOrigin();
    void CentreAt(double x, double y, double scale);
    void CentrePaperAt(double x, double y, double zoom);

    int width_ = 1;
    int height_ = 1;
    bool initialPanPending_ = false;
    mmViewMatrices matrices_;
    mmViewMatrices paperMatrices_;
    std::u16string coordinateText_;
};

// "%.4f, %.4f", independent of the process locale.
std::u16string FormatCoordinates(double x, double y);
