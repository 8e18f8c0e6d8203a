// saveDrawingAsDxf: the whole DXF file of a drawing, with the paper space of one layout: a short
// handle-free R12 file, or a complete DXF 2000 (AC1015) file.
#pragma once

#include <cstdint>
#include <map>
#include <string>

class DxfLayout;
class mmDrawing;

struct DxfSaveReport {
    std::map<int32_t, int64_t> leftOut;  // entities not written, by type code
};

enum class DxfVersion { R12, R2000 };

// Writes the drawing, and the paper-space entities of the layout when one is given, to path as
// an R12 file: an empty HEADER, the LAYER and DIMSTYLE tables, the named blocks and the entities.
// True on success; on failure (the file cannot be created, a group cannot be written) the file
// at path is left as it was.
bool saveDrawingAsDxf(const mmDrawing& drawing, const DxfLayout* layout, const std::string& path,
                      DxfSaveReport* report = nullptr);
// The same as a DXF 2000 file: header, classes, every table with handles and owners, the model
// and paper-space blocks with every named block and a block per dimension, the entities with
// handles, owners and subclass markers, and the objects with the layouts. Strings in
// Windows-1252 with \U+XXXX for other characters.
bool saveDrawingAsDxf2000(const mmDrawing& drawing, const DxfLayout* layout,
                          const std::string& path, DxfSaveReport* report = nullptr);
bool saveDrawingAsDxf(const mmDrawing& drawing, const DxfLayout* layout, const std::string& path,
                      DxfVersion version, DxfSaveReport* report = nullptr);
