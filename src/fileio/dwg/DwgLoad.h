// The DWG import: the release gate, the decoder bridge, and the conversion into a scratch
// drawing that replaces the drawing's contents (or, for an XREF, adds its tables and blocks)
// only when the whole import succeeded.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "fileio/dwg/DwgBridge.h"
#include "fileio/dxf/DxfEntityLoader.h"

class DxfLayout;
class mmDrawing;
class mmGlyphTable;

struct DwgImportOptions {
    DwgBridgeConfig bridge;
    DxfLoadLimits limits;
};

struct DwgImportResult {
    bool ok = false;
    std::string message;  // why it failed, for a message box
    std::string detail;   // more about a failure, for the history; may be empty
    // Entities the drawing did not get, and those drawn approximately, by DXF entity name.
    DxfEntityCounts notImported;
    DxfEntityCounts approximated;
    int64_t patternsOutlined = 0;  // pattern hatches too dense to draw
};

// Opens the file as the drawing, or with xref set loads its model space into one new block
// named blockName (base point (0, 0)) with its layers, dimension styles and named blocks.
// Paper-space entities go to the layout when one is given (never for an XREF). On failure the
// drawing and the layout are as they were.
DwgImportResult loadDrawingFromDwg(mmDrawing& drawing, const mmGlyphTable* glyphs,
                                   const std::string& path, DxfLayout* layout, bool xref,
                                   std::u16string_view blockName,
                                   const DwgImportOptions& options = {});

// The same from the bridge's JSON document (tests, fuzzing).
DwgImportResult importDwgDocument(mmDrawing& drawing, const mmGlyphTable* glyphs,
                                  std::string_view json, DxfLayout* layout, bool xref,
                                  std::u16string_view blockName, const DxfLoadLimits& limits = {});
