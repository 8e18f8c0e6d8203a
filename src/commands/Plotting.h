// Image export (EXPTOIMG, PLOTVIEW) and plotting of the active tab: the model view as the window
// shows it, or a layout's page with its viewports and paper entities.
#pragma once

#include <optional>
#include <string>
#include <string_view>

class mmSession;

// The MIME type of the image encoder for a file name: the text after its last "." in any letter
// case, "jpg" read as "jpeg" and "tif" as "tiff". Nothing when no encoder (BMP, JPEG, PNG, TIFF,
// GIF) has it.
std::optional<std::string> ImageMimeTypeFor(std::string_view path);

// Writes the picture of the active view to the file (n > 1: n x n tiles, each a part of the
// window magnified n times). False, with the reason in the history, when nothing was written.
bool ExportActiveView(mmSession& session, const std::string& path, int tiles);

// Plots the active tab on one page of the current printer; to outputFile when given (the PDF
// printer), else to what the print dialog chooses. False, with the reason in the history, when
// nothing was printed (a cancelled dialog says nothing).
bool PlotActiveView(mmSession& session, const std::optional<std::string>& outputFile);
