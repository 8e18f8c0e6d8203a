// mmView: slots, the kept matrices, the conversions between window and drawing, the cursor and
// its readout, and the command state the view owns.
#include "display/View.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "display/PageGeometry.h"
#include "drawing/Drawing.h"
#include "entities/Geometry.h"
#include "entities/Viewport.h"

mmView::mmView(mmOriginOffset& origin, bool layout) : originOffset(origin), isLayout(layout) {
    if (!isLayout) {
        AddSlot(0, kInitialZoomScale);
        initialPanPending_ = true;
    } else {
        activeView = -1;
        currentViewportId = -1;
        originOffset.followers.push_back(this);
    }
    UpdateMatrices();
}

mmView::~mmView() {
    std::erase(originOffset.followers, this);
}

double mmView::ActiveZoomScale() const {
    if (InPaperMode()) return paperPxPerMm * paperZoom;
    return HasActiveSlot() ? zoomScale[static_cast<std::size_t>(activeView)] : 1.0;
}

double mmView::PixelsPerUnit() const {
    const double paper = isLayout ? paperPxPerMm * (renderForOutput ? 1.0 : paperZoom) : 1.0;
    if (InPaperMode() || !HasActiveSlot()) return paper;
    return zoomScale[static_cast<std::size_t>(activeView)] * paper;
}

mmVertex mmView::DisplayOrigin() const {
    if (InPaperMode()) return mmVertex();
    return mmVertex(originOffset.x, originOffset.y);
}

mmViewport* mmView::ViewportOfSlot(std::size_t slot) const {
    if (!paperSpace || slot >= viewIds.size()) return nullptr;
    const mmObjectPtr e = FindEntity(*paperSpace, viewIds[slot]);
    return e && e->type == kTypeViewport ? static_cast<mmViewport*>(e.get()) : nullptr;
}

mmViewport* mmView::CurrentViewport() const {
    if (!isLayout || !paperSpace || currentViewportId < 0) return nullptr;
    const mmObjectPtr e = FindEntity(*paperSpace, currentViewportId);
    return e && e->type == kTypeViewport ? static_cast<mmViewport*>(e.get()) : nullptr;
}

void mmView::OriginMoved(double dx, double dy) {
    for (std::size_t i = 0; i < viewIds.size(); ++i) {
        zoomShiftX[i] -= zoomScale[i] * dx;
        zoomShiftY[i] -= zoomScale[i] * dy;
    }
    UpdateMatrices();
}

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

void mmView::AddSlot(int32_t id, double scale) {
    viewIds.push_back(id);
    zoomScale.push_back(scale);
    zoomShiftX.push_back(0.0);
    zoomShiftY.push_back(0.0);
    panX.push_back(0.0);
    panY.push_back(0.0);
    plotScale.push_back(1.0);
}

void mmView::Resize(int width, int height) {
    if (width <= 0 || height <= 0) return;
    width_ = width;
    height_ = height;
    if (initialPanPending_) SetInitialModelView();
    if (isLayout) SetupPage(printerMetrics);
    UpdateMatrices();
    requestRedraw();
}

void mmView::SetupPage(const kestrel::platform::PrinterMetrics& printer) {
    printerMetrics = printer;
    const mmPageGeometry page = ComputePageGeometry(width_, height_, printer);
    paperWidthPx = page.widthPx;
    paperHeightPx = page.heightPx;
    paperPxPerMm = page.pxPerMm;
    UpdateMatrices();
}

void mmView::SetInitialModelView() {
    if (isLayout || viewIds.empty()) return;
    zoomScale[0] = kInitialZoomScale;
    zoomShiftX[0] = zoomShiftY[0] = 0.0;
    panX[0] = std::trunc(-(width_ / 2) * 0.95);
    panY[0] = std::trunc((height_ / 2) * 0.9);
    plotScale[0] = 1.0;
    activeView = 0;
    currentViewportId = 0;
    initialPanPending_ = true;
    UpdateMatrices();
}

mmViewMatrices mmView::BaseMatrices() const {
    mmViewMatrices m;
    m.viewport[0] = 0;
    m.viewport[1] = 0;
    m.viewport[2] = width_;
    m.viewport[3] = height_;
    m.SetOrtho(-width_ / 2.0, width_ / 2.0, -height_ / 2.0, height_ / 2.0);
    m.LoadIdentityModelview();
    m.Translate(0.0, 0.5);
    if (renderForOutput) {
        m.Translate(-outputShiftX, -outputShiftY);
        m.Scale(outputZoom, outputZoom);
    }
    return m;
}

void mmView::ApplySlotTransform(mmViewMatrices& m, std::size_t slot) const {
    m.Translate(-zoomShiftX[slot], -zoomShiftY[slot]);
    m.Translate(panX[slot], -panY[slot]);
    m.Scale(zoomScale[slot], zoomScale[slot]);
}

mmViewMatrices mmView::SlotMatrices(std::size_t slot) const {
    mmViewMatrices m = isLayout ? paperMatrices_ : BaseMatrices();
    if (slot < viewIds.size()) ApplySlotTransform(m, slot);
    return m;
}

mmViewMatrices mmView::WindowMatrices() const {
    mmViewMatrices m = BaseMatrices();
    m.LoadIdentityModelview();
    m.Translate(-width_ / 2.0, -height_ / 2.0);
    return m;
}

void mmView::UpdateMatrices() {
    paperMatrices_ = BaseMatrices();
    if (isLayout) {
        mmViewMatrices& p = paperMatrices_;
        p.Translate(-(paperWidthPx / 2), -(paperHeightPx / 2));
        if (renderForOutput) {
            p.Scale(paperPxPerMm, paperPxPerMm);
        } else {
            p.Translate(-paperShiftX, -paperShiftY);
            p.Translate(paperPanX, -paperPanY);
            p.Scale(paperPxPerMm * paperZoom, paperPxPerMm * paperZoom);
        }
    }
    matrices_ = InPaperMode() ? paperMatrices_ : SlotMatrices(static_cast<std::size_t>(activeView));
}

void mmView::SetPaperMode(bool on) {
    paperMode = isLayout && on;
    UpdateMatrices();
}

bool mmView::CursorOutsideViewport() const {
    if (!isLayout || InPaperMode()) return false;
    const mmRect& r = currentViewportRect;
    const double x = cursorPixelX + 0.5;
    const double y = height_ - cursorPixelY - 0.5;
    return !(x >= r.minX && x <= r.maxX && y >= r.minY && y <= r.maxY);
}

mmVertex mmView::screenToWorld(double x, double y, bool paper) const {
    double wx = 0.0;
    double wy = 0.0;
    ::screenToWorld(x, y, paper ? paperMatrices_ : matrices_, wx, wy);
    return mmVertex(wx, wy);
}

bool mmView::worldToScreen(double x, double y, const mmViewMatrices& m, int& px, int& py) const {
    return ::worldToScreen(x, y, m, px, py);
}

mmRect mmView::VisibleWindow() const {
    return screenRectToWorld(0, height_, width_, 0, matrices_);
}

void mmView::SetMousePosition(int x, int y) {
    lastMouseX = x;
    lastMouseY = y;
    const mmVertex p = screenToWorld(x, y);
    SetCursor(p.x, p.y, x, y);
}

void mmView::SetCursor(double x, double y, int px, int py) {
    cursorX = x;
    cursorY = y;
    cursorPixelX = px;
    cursorPixelY = py;
    updateCoordinateReadout();
}

mmVertex mmView::CursorInDrawing() const {
    if (InPaperMode()) return mmVertex(cursorX, cursorY);
    return mmVertex(cursorX + originOffset.x, cursorY + originOffset.y);
}

void mmView::updateCoordinateReadout() {
    const mmVertex p = CursorInDrawing();
    coordinateText_ = FormatCoordinates(p.x, p.y);
    if (window) window->CoordinatesChanged(coordinateText_);
}

void mmView::requestRedraw() {
    needsFullRedraw = true;
    Invalidate();
}

void mmView::Invalidate() {
    if (window) window->Invalidate();
}

// After a zoom or pan: the cursor keeps its pixel, so its drawing position changes.
void mmView::ZoomChanged() {
    initialPanPending_ = false;
    FollowOrigin();
    SetMousePosition(lastMouseX, lastMouseY);
    requestRedraw();
}

std::u16string FormatCoordinates(double x, double y) {
    std::u16string text;
    const auto put = [&text](double v) {
        char buffer[330];  // the largest double written in full with four decimals
        const auto result =
            std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 4);
        if (result.ec == std::errc()) text.append(buffer, result.ptr);
    };
    put(x);
    text += u", ";
    put(y);
    return text;
}
