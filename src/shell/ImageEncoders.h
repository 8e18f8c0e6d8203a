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

// One PDF page of the job's paper: the picture stretched onto the placement (printer pixels of
// the printable area). False (with *error set) when the file cannot be written.
bool WritePdfPage(const kestrel::platform::Image& picture,
                  const kestrel::platform::PageRect& placement,
                  const kestrel::platform::PrintJob& job, std::string* error);
