// mmView: zoom at the cursor, real-time zoom, pan, zoom scale, zoom window, zoom extents, and the
// origin offset that follows the visible part of the drawing.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "display/View.h"
#include "entities/Viewport.h"

namespace {

// The factor of a wheel delta: 1.224 for a notch of 120, its reciprocal for -120; 0 for none.
double wheelFactor(int delta) {
    if (delta > 0) return delta * 0.0102;
    if (delta < 0) return -98.0392156862745 / delta;
    return 0.0;
}

// The scale that fits a span of drawing units into the available pixels; infinite for no span.
double fitScale(double available, double span) {
    if (!(span > 0.0)) return std::numeric_limits<double>::infinity();
    return available / span;
}

inline constexpr double kRangeLimit = 999999999.0;

// The visible centre may lie this many pixels from the origin of the GL coordinates before the
// origin offset moves to it: single-precision vertices there still resolve 1/128 pixel.
inline constexpr double kOriginReachPixels = 1e5;

}  // namespace

bool ZoomScaleInRange(double s) {
    return s >= kMinZoomScale && s <= kMaxZoomScale;
}

void mmView::zoomAtCursor(int delta) {
    const double c = wheelFactor(delta);
    if (!(c > 1e-8 && c < 1e7)) return;
    const bool paper = InPaperMode();
    const mmVertex fixed = snapInfo.kind != kSnapNone ? mmVertex(snapInfo.x, snapInfo.y)
                                                      : screenToWorld(lastMouseX, lastMouseY, paper);
    if (paper) {
        const double old = paperPxPerMm * paperZoom;
        if (c * old <= 0.01) return;
        paperZoom *= c;
        const double now = paperPxPerMm * paperZoom;
        paperShiftX += fixed.x * (now - old);
        paperShiftY += fixed.y * (now - old);
    } else {
        if (!HasActiveSlot()) return;
        const std::size_t a = static_cast<std::size_t>(activeView);
        const double old = zoomScale[a];
        // At either end of the range the wheel does nothing more.
        if (!ZoomScaleInRange(old * c)) return;
        zoomScale[a] = old * c;
        zoomShiftX[a] += fixed.x * (zoomScale[a] - old);
        zoomShiftY[a] += fixed.y * (zoomScale[a] - old);
    }
    initialPanPending_ = false;
    // The fixed point stays under the cursor.
    cursorX = fixed.x;
    cursorY = fixed.y;
    FollowOrigin();
    updateCoordinateReadout();
    requestRedraw();
}

void mmView::realTimeZoomMove(int y) {
    zoomAtCursor(realTimeZoomY - y > 0 ? kRealTimeZoomDelta : -kRealTimeZoomDelta);
    realTimeZoomY = y;
}

void mmView::panBy(int dx, int dy) {
    if (InPaperMode()) {
        paperPanX += dx;
        paperPanY += dy;
    } else {
        if (!HasActiveSlot()) return;
        const std::size_t a = static_cast<std::size_t>(activeView);
        const double perPixel = isLayout ? 1.0 / (paperZoom * paperPxPerMm) : 1.0;
        panX[a] += dx * perPixel;
        panY[a] += dy * perPixel;
    }
    initialPanPending_ = false;
    FollowOrigin();
    requestRedraw();
}

bool mmView::setZoomScale(double s) {
    if (!ZoomScaleInRange(s)) return false;
    if (InPaperMode()) {
        if (!(s / paperPxPerMm > 0.0) || !std::isfinite(s / paperPxPerMm)) return false;
        const mmVertex c = screenToWorld(width_ / 2, height_ / 2, true);
        CentrePaperAt(c.x, c.y, s / paperPxPerMm);
        ZoomChanged();
        return true;
    }
    if (!HasActiveSlot()) return false;
    if (isLayout) return setSlotZoomScale(static_cast<std::size_t>(activeView), s);
    const std::size_t a = static_cast<std::size_t>(activeView);
    const double old = zoomScale[a];
    const mmVertex centre = screenToWorld(width_ / 2, height_ / 2, false);
    zoomScale[a] = s;
    zoomShiftX[a] += (s - old) * centre.x;
    zoomShiftY[a] += (s - old) * centre.y;
    ZoomChanged();
    return true;
}

// Slot i of a layout: paper point (x, y) of slot i's picture = s * (display point) + pan - shift.
bool mmView::setSlotZoomScale(std::size_t slot, double s) {
    const mmViewport* viewport = ViewportOfSlot(slot);
    if (!viewport || !ZoomScaleInRange(s)) return false;
    const mmRect& r = viewport->extents;
    const double px = (r.minX + r.maxX) / 2.0;
    const double py = (r.minY + r.maxY) / 2.0;
    const double old = zoomScale[slot];
    // The model point at the viewport's centre stays there.
    const double gx = (px - panX[slot] + zoomShiftX[slot]) / old;
    const double gy = (py + panY[slot] + zoomShiftY[slot]) / old;
    zoomScale[slot] = s;
    zoomShiftX[slot] += (s - old) * gx;
    zoomShiftY[slot] += (s - old) * gy;
    ZoomChanged();
    return true;
}

bool mmView::zoomSlotToWindow(std::size_t slot, const mmRect& area, int margin) {
    const mmViewport* viewport = ViewportOfSlot(slot);
    if (!viewport) return false;
    const double w = area.maxX - area.minX;
    const double h = area.maxY - area.minY;
    if (!std::isfinite(w) || !std::isfinite(h) || w < 0.0 || h < 0.0) return false;
    const mmRect& r = viewport->extents;
    const double marginMm = margin / (paperPxPerMm * paperZoom);
    double s = std::min(fitScale(r.maxX - r.minX - 2.0 * marginMm, w),
                        fitScale(r.maxY - r.minY - 2.0 * marginMm, h));
    if (!std::isfinite(s)) s = zoomScale[slot];  // a point: centred at the same scale
    if (!ZoomScaleInRange(s)) return false;
    const double cx = area.minX + w / 2.0;
    const double cy = area.minY + h / 2.0;
    zoomScale[slot] = s;
    zoomShiftX[slot] = s * cx + panX[slot] - (r.minX + r.maxX) / 2.0;
    zoomShiftY[slot] = s * cy - panY[slot] - (r.minY + r.maxY) / 2.0;
    ZoomChanged();
    return true;
}

// Model view: display point (x, y) at the window centre at scale s. Only the zoom shifts change,
// so the user's pan stays as it was.
void mmView::CentreAt(double x, double y, double s) {
    const std::size_t a = static_cast<std::size_t>(activeView);
    zoomScale[a] = s;
    zoomShiftX[a] = s * x + panX[a];
    zoomShiftY[a] = s * y - panY[a] + 0.5;
}

// Paper mode: paper point (x, y) at the window centre with the paper zoom z.
void mmView::CentrePaperAt(double x, double y, double z) {
    paperZoom = z;
    const double k = paperPxPerMm * paperZoom;
    paperShiftX = k * x - (paperWidthPx / 2) + paperPanX;
    paperShiftY = k * y - (paperHeightPx / 2) - paperPanY + 0.5;
}

bool mmView::zoomWindow(double x1, double y1, double x2, double y2, int margin) {
    const bool paper = InPaperMode();
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return false;
    if (isLayout && !paper) {
        if (!HasActiveSlot()) return false;
        const mmRect area{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
        return zoomSlotToWindow(static_cast<std::size_t>(activeView), area, margin);
    }
    const int w = width_;
    const int h = height_;
    const double dx = std::fabs(x2 - x1);
    const double dy = std::fabs(y2 - y1);
    const double cx = x1 + (x2 - x1) / 2.0;
    const double cy = y1 + (y2 - y1) / 2.0;
    if (paper) {
        const double gx = w / 2 - margin;
        const double gy = h / 2 - margin;
        double k = std::min(fitScale(2 * gx - 2 * margin, dx), fitScale(2 * gy - 2 * margin, dy));
        if (!(k > 0.0)) return false;
        if (!std::isfinite(k)) k = paperPxPerMm * paperZoom;  // a point: centred
        CentrePaperAt(cx, cy, k / paperPxPerMm);
    } else {
        double s = std::min(fitScale(2 * (w / 2) - 4 * margin, dx),
                            fitScale(2 * (h / 2 - 2 * margin), dy));
        if (!std::isfinite(s)) s = ActiveZoomScale();  // a point: centred at the same scale
        if (!ZoomScaleInRange(s)) return false;
        CentreAt(cx, cy, s);
    }
    ZoomChanged();
    return true;
}

bool mmView::zoomExtents(const mmEntityList& entities) {
    if (InPaperMode()) {
        if (const mmViewport* viewport = CurrentViewport()) {
            const mmRect& v = viewport->extents;
            zoomWindow(v.minX, v.minY, v.maxX, v.maxY, 50);
        }
        return true;
    }
    mmRect r = EmptyExtents();
    for (const mmObjectPtr& e : entities) {
        if (!e || e->erased || !e->visible) continue;
        r.minX = std::min(r.minX, e->extents.minX);
        r.minY = std::min(r.minY, e->extents.minY);
        r.maxX = std::max(r.maxX, e->extents.maxX);
        r.maxY = std::max(r.maxY, e->extents.maxY);
    }
    if (!(std::abs(r.maxX - r.minX) <= kRangeLimit) || !(std::abs(r.maxY - r.minY) <= kRangeLimit))
        return false;
    // Fitted in drawing units, so a drawing that shows as one pixel or less still comes back;
    // a drawing too small or too large for the scale range is shown at the nearest end of it.
    const int margin = 10;
    if (isLayout) {
        if (!HasActiveSlot() || r.minX > r.maxX) return true;
        const mmVertex o = DisplayOrigin();
        zoomSlotToWindow(static_cast<std::size_t>(activeView),
                         {r.minX - o.x, r.minY - o.y, r.maxX - o.x, r.maxY - o.y}, margin);
        return true;
    }
    double s = std::min(fitScale(2 * (width_ / 2) - 4 * margin, r.maxX - r.minX),
                        fitScale(2 * (height_ / 2 - 2 * margin), r.maxY - r.minY));
    if (!std::isfinite(s)) s = ActiveZoomScale();
    s = std::clamp(s, kMinZoomScale, kMaxZoomScale);
    CentreAt(r.minX + (r.maxX - r.minX) / 2.0 - originOffset.x,
             r.minY + (r.maxY - r.minY) / 2.0 - originOffset.y, s);
    ZoomChanged();
    return true;
}

// Keeps the visible centre near the origin of the GL coordinates, so that single-precision
// vertices stay exact wherever the view is, and returns the offset to zero once the drawing's
// origin is near enough itself. The zoom shifts and the display coordinates the view keeps move
// with the offset; the picture does not move. Only the model view moves the offset.
void mmView::FollowOrigin() {
    UpdateMatrices();
    if (isLayout || viewIds.empty()) return;
    const std::size_t a = static_cast<std::size_t>(activeView);
    const double s = zoomScale[a];
    const mmVertex c = screenToWorld(width_ / 2, height_ / 2, false);
    if (!std::isfinite(c.x) || !std::isfinite(c.y)) return;
    const auto follow = [s](double offset, double centre) {
        const double drawing = offset + centre;
        if (std::fabs(drawing) * s <= kOriginReachPixels) return 0.0;    // the origin is near
        if (std::fabs(centre) * s > kOriginReachPixels) return drawing;  // the view left it
        return offset;
    };
    const double nx = follow(originOffset.x, c.x);
    const double ny = follow(originOffset.y, c.y);
    const double dx = nx - originOffset.x;
    const double dy = ny - originOffset.y;
    if (dx == 0.0 && dy == 0.0) return;
    originOffset.x = nx;
    originOffset.y = ny;
    originOffset.shifted = nx != 0.0 || ny != 0.0;
    for (mmView* follower : originOffset.followers)
        if (follower != this) follower->OriginMoved(dx, dy);
    zoomShiftX[a] -= s * dx;
    zoomShiftY[a] -= s * dy;
    cursorX -= dx;
    cursorY -= dy;
    snapInfo.x -= dx;
    snapInfo.y -= dy;
    for (mmVertex* v : {&snapInfo.candidate1[0], &snapInfo.candidate1[1], &snapInfo.candidate2[0],
                        &snapInfo.candidate2[1]}) {
        v->x -= dx;
        v->y -= dy;
    }
    UpdateMatrices();
}
