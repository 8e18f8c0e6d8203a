// The page of a layout on screen: the printable area of the printer's page fitted into the
// view's client area less a margin of 100 pixels, and its pixels per millimetre.
#pragma once

#include <cstdint>

#include "platform/Printer.h"

struct mmPageGeometry {
    int32_t widthPx = 0;
    int32_t heightPx = 0;
    double pxPerMm = 1.0;
};

// With window aspect l = w / h and page aspect m = HORZRES / VERTRES, the page is height-limited
// when l > m (or l = m and h >= w): h - 100 pixels high; otherwise w - 100 pixels wide. A
// window smaller than the margin still gets a page of one pixel or more.
mmPageGeometry ComputePageGeometry(int clientWidth, int clientHeight,
                                   const kestrel::platform::PrinterMetrics& printer);

// The printable area's size in millimetres.
double PrintableWidthMm(const kestrel::platform::PrinterMetrics& printer);
double PrintableHeightMm(const kestrel::platform::PrinterMetrics& printer);
