// The image encoders of exports, keyed by MIME type ("image/bmp", "image/jpeg", "image/png",
// "image/tiff" through Qt's image writers, "image/gif" through giflib), and the PDF printer's
// page writer.
#pragma once

#include <string>

#include "platform/Image.h"
#include "platform/Printer.h"

// The lookup is exact: "image/PNG" finds nothing. False (with *error set) when no encoder has
// the type or the file cannot be written.
bool SaveImageWithEncoder(const kestrel::platform::Image& picture, const std::string& mimeType,
                          const std::string& path, std::string* error);

// The PDF printer with a sheet of this name ("A4", "A3", "Letter"; A4 for others) at 600 dpi,
// without margins.
kestrel::platform::PrinterSetup PdfPrinterSetup(const std::string& paperName, bool landscape);

class QPaintDevice;

// Paints the picture stretched onto the rectangle (device pixels) of a page being printed; false
// when the device takes no painting.
bool PaintPage(QPaintDevice& device, const kestrel::platform::Image& picture, int x, int y,
               int width, int height);

// One PDF page of the job's paper: the picture stretched onto the placement (printer pixels of
// the printable area). False (with *error set) when the file cannot be written.
bool WritePdfPage(const kestrel::platform::Image& picture,
                  const kestrel::platform::PageRect& placement,
                  const kestrel::platform::PrintJob& job, std::string* error);
