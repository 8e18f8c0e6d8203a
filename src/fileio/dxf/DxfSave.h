// saveDrawingAsDxf: the whole DXF file of a drawing, with the paper space of one layout.
#pragma once

#include <cstdint>
#include <map>
#include <string>

class DxfLayout;
class mmDrawing;

struct DxfSaveReport {
    std::map<int32_t, int64_t> leftOut;  // entities not written, by type code
};

// Writes the drawing, and the paper-space entities of the layout when one is given, to path.
// True on success; on failure (the file cannot be created, a group cannot be written) the file
// at path is left as it was.
bool saveDrawingAsDxf(const mmDrawing& drawing, const DxfLayout* layout, const std::string& path,
                      DxfSaveReport* report = nullptr);
