// The printer as layouts and plotting see it: its device values, the printer and page a layout
// keeps, and a print job. Without an installed printer a PDF printer of A4 portrait at 600 dpi
// stands in, so layouts and plotting work on any machine.
#pragma once

#include <string>

namespace kestrel::platform {

// In printer pixels: the printable area (HORZRES, VERTRES), the whole sheet (PHYSICALWIDTH,
// PHYSICALHEIGHT) and the offset of the printable area from the sheet's top-left corner; the
// pixels per inch (LOGPIXELSX, used in both directions).
struct PrinterMetrics {
    int horzRes = 4960;
    int vertRes = 7016;
    int logPixelsX = 600;
    int physicalWidth = 4960;
    int physicalHeight = 7016;
    int offsetX = 0;
    int offsetY = 0;
    bool operator==(const PrinterMetrics&) const = default;
};

// A printer and its page. An empty printer name is the PDF printer.
struct PrinterSetup {
    std::string printerName;
    std::string paperName = "A4";
    bool landscape = false;
    PrinterMetrics metrics;
    bool operator==(const PrinterSetup&) const = default;
};

// The PDF printer: A4 portrait, 600 dpi, no margins.
inline PrinterSetup PdfPrinterA4() { return {}; }

// Where a plot goes: the printer and page, and for the PDF printer the file written.
struct PrintJob {
    PrinterSetup setup;
    std::string outputFile;
};

// A rectangle of the printable area in printer pixels (x right, y down from its top-left).
struct PageRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

}  // namespace kestrel::platform
