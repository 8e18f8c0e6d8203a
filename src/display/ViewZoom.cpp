// mmView: zoom at the cursor, real-time zoom, pan, zoom scale, zoom window and zoom extents.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "display/View.h"

namespace {

// The factor of a wheel delta: 1.224 for a notch of 120, its reciprocal for -120; 0 for none.
double wheelFactor(int delta) {
    if (delta > 0) return delta * 0.0102;
    if (delta < 0) return -98.0392156862745 / delta;
    return 0.0;
}

// The zoom factor that fits a span of pixels into the available pixels; infinite for no span.
double fitFactor(double available, int span) {
    if (span == 0) return std::numeric_limits<double>::infinity();
    return available / std::abs(span);
}

inline constexpr double kRangeLimit = 999999999.0;
inline constexpr double kShiftThreshold = 10000.0;

}  // namespace

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
        const std::size_t a = static_cast<std::size_t>(activeView);
        const double old = zoomScale[a];
        zoomScale[a] *= c;
        zoomShiftX[a] += fixed.x * (zoomScale[a] - old);
        zoomShiftY[a] += fixed.y * (zoomScale[a] - old);
    }
    initialPanPending_ = false;
    UpdateMatrices();
    // The fixed point stays under the cursor.
    cursorX = fixed.x;
    cursorY = fixed.y;
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
        const std::size_t a = static_cast<std::size_t>(activeView);
        const double perPixel = isLayout ? 1.0 / (paperZoom * paperPxPerMm) : 1.0;
        panX[a] += dx * perPixel;
        panY[a] += dy * perPixel;
    }
    initialPanPending_ = false;
    UpdateMatrices();
    requestRedraw();
}

bool mmView::setZoomScale(double s) {
    if (!(s > 0.0) || !std::isfinite(s)) return false;
    const std::size_t a = static_cast<std::size_t>(activeView);
    const double old = zoomScale[a];
    const mmVertex centre = screenToWorld(width_ / 2, height_ / 2, false);
    zoomScale[a] = s;
    zoomShiftX[a] += (s - old) * centre.x;
    zoomShiftY[a] += (s - old) * centre.y;
    ZoomChanged();
    return true;
}

void mmView::zoomWindow(double x1, double y1, double x2, double y2, int margin) {
    const bool paper = InPaperMode();
    if (isLayout && !paper) return;  // through a viewport: comes with layouts
    const mmViewMatrices& m = paper ? paperMatrices_ : matrices_;
    int a = 0, b = 0, c = 0, d = 0;
    if (!worldToScreen(x1, y1, m, a, b) || !worldToScreen(x2, y2, m, c, d)) return;
    const int w = width_;
    const int h = height_;
    if (paper) {
        paperPanX += w / 2 - (a + c) / 2;
        paperPanY += h / 2 - (b + d) / 2;
    } else {
        const std::size_t s = static_cast<std::size_t>(activeView);
        panX[s] += w / 2 - (a + c) / 2;
        panY[s] += h / 2 - (b + d) / 2;
    }
    UpdateMatrices();
    double k = 0.0;
    if (paper) {
        const double gx = w / 2 - margin;
        const double gy = h / 2 - margin;
        k = std::min(fitFactor(2 * gx - 2 * margin, c - a), fitFactor(2 * gy - 2 * margin, d - b));
    } else {
        k = std::min(fitFactor(2 * (w / 2) - 4 * margin, c - a),
                     fitFactor(2 * (h / 2 - 2 * margin), d - b));
    }
    // Corners on one pixel, or a window smaller than its margins, keep the scale.
    if (k > 0.0 && std::isfinite(k)) {
        const mmVertex centre = screenToWorld(w / 2, h / 2, paper);
        if (paper) {
            const double old = paperPxPerMm * paperZoom;
            paperZoom *= k;
            const double now = paperPxPerMm * paperZoom;
            paperShiftX += (now - old) * centre.x;
            paperShiftY += (now - old) * centre.y;
        } else {
            const std::size_t s = static_cast<std::size_t>(activeView);
            const double old = zoomScale[s];
            zoomScale[s] *= k;
            zoomShiftX[s] += (zoomScale[s] - old) * centre.x;
            zoomShiftY[s] += (zoomScale[s] - old) * centre.y;
        }
    }
    ZoomChanged();
}

bool mmView::zoomExtents(const mmEntityList& entities) {
    if (InPaperMode()) return true;  // the current viewport's extents: comes with layouts
    mmRect r = EmptyExtents();
    for (const mmObjectPtr& e : entities) {
        if (!e || e->erased || !e->visible) continue;
        r.minX = std::min(r.minX, e->extents.minX);
        r.minY = std::min(r.minY, e->extents.minY);
        r.maxX = std::max(r.maxX, e->extents.maxX);
        r.maxY = std::max(r.maxY, e->extents.maxY);
    }
    if (std::abs(r.maxX - r.minX) > kRangeLimit || std::abs(r.maxY - r.minY) > kRangeLimit)
        return false;
    const bool farX = std::abs(r.maxX) > kShiftThreshold && std::abs(r.minX) > kShiftThreshold;
    const bool farY = std::abs(r.maxY) > kShiftThreshold && std::abs(r.minY) > kShiftThreshold;
    if (farX || farY) {
        originOffset.x = std::abs(r.minX) > kShiftThreshold ? r.minX : 0.0;
        originOffset.y = std::abs(r.minY) > kShiftThreshold ? r.minY : 0.0;
        originOffset.shifted = true;
    } else if (originOffset.shifted) {
        originOffset = mmOriginOffset{};
    }
    zoomWindow(r.minX - originOffset.x, r.minY - originOffset.y, r.maxX - originOffset.x,
               r.maxY - originOffset.y, 10);
    return true;
}
