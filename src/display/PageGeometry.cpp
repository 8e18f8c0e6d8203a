// The page geometry of a layout.
#include "display/PageGeometry.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kPageMargin = 100;

}  // namespace

double PrintableWidthMm(const kestrel::platform::PrinterMetrics& p) {
    return p.logPixelsX > 0 ? p.horzRes * 25.4 / p.logPixelsX : 0.0;
}

double PrintableHeightMm(const kestrel::platform::PrinterMetrics& p) {
    return p.logPixelsX > 0 ? p.vertRes * 25.4 / p.logPixelsX : 0.0;
}

mmPageGeometry ComputePageGeometry(int w, int h, const kestrel::platform::PrinterMetrics& p) {
    mmPageGeometry g;
    if (w <= 0 || h <= 0 || p.horzRes <= 0 || p.vertRes <= 0 || p.logPixelsX <= 0) return g;
    const double l = static_cast<double>(w) / h;
    const double m = static_cast<double>(p.horzRes) / p.vertRes;
    if (l > m || (l == m && h >= w)) {
        g.heightPx = std::max(1, h - kPageMargin);
        g.widthPx = std::max(1, static_cast<int32_t>(std::trunc(m * g.heightPx)));
    } else {
        g.widthPx = std::max(1, w - kPageMargin);
        g.heightPx = std::max(1, static_cast<int32_t>(std::trunc(g.widthPx / m)));
    }
    g.pxPerMm = g.heightPx / PrintableHeightMm(p);
    return g;
}
