// Pictures of a view for export and plotting, rendered offscreen (their own GL context) with
// renderForOutput set: no cursor, overlays, axis icon or paper sheet.
#pragma once

#include <optional>
#include <string>

#include "display/Renderer.h"
#include "platform/Image.h"
#include "platform/Printer.h"

// The view as the window shows it, at its size.
std::optional<kestrel::platform::Image> RenderViewPicture(mmView& view, const mmSceneSource& scene,
                                                          kestrel::platform::Host& host,
                                                          std::string* error);

// The picture of n x n window sizes: tile (column, row) is the window's part magnified n times.
// Width and height are first reduced to multiples of n.
std::optional<kestrel::platform::Image> RenderTiledPicture(mmView& view, const mmSceneSource& scene,
                                                           int n, kestrel::platform::Host& host,
                                                           std::string* error);

// What a plot prints: the model view as the window shows it; for a layout its printable area
// alone (viewports and paper entities), pageHeightPx pixels high.
std::optional<kestrel::platform::Image> RenderPlotPicture(mmView& view, const mmSceneSource& scene,
                                                          int pageHeightPx,
                                                          kestrel::platform::Host& host,
                                                          std::string* error);

// The picture fitted into the printable area of the printer, centred, keeping its proportions.
kestrel::platform::PageRect FitOnPage(int pictureWidth, int pictureHeight,
                                      const kestrel::platform::PrinterMetrics& printer);
