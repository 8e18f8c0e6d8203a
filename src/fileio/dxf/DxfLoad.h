// The three DXF loaders: a drawing, an external reference into one block, and the named blocks
// of a file. Each returns false when the file cannot be opened or is not DXF text (see
// DxfFileProblem), having read nothing; whatever a DXF file holds beyond that is read as far as
// it goes, and what was loaded stays.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "fileio/dxf/DxfEntityLoader.h"

class DxfLayout;
class DxfReader;
class mmDrawing;
class mmGlyphTable;

// Why the file is not read as a DXF drawing: it cannot be opened, is empty, holds a DWG drawing
// or binary DXF, or does not begin with a section (leading comments aside); empty when it is DXF
// text. The reader is left at the start of the file.
std::string DxfFileProblem(DxfReader& reader);
std::string DxfFileProblem(const std::string& path);

// Layers, dimension styles, named blocks and entities into the drawing (which the caller has
// reset). Paper-space entities go to the layout when one is given, else to model space.
bool loadDrawingFromDxf(mmDrawing& drawing, const mmGlyphTable* glyphs, const std::string& path,
                        DxfLayout* layout, DxfLoadReport* report = nullptr);
// The same from DXF text in memory, with bounds of its own if need be (tests, fuzzing).
void loadDrawingFromDxfText(mmDrawing& drawing, const mmGlyphTable* glyphs, std::string_view text,
                            DxfLayout* layout, DxfLoadReport* report = nullptr,
                            const DxfLoadLimits& limits = {});

// As loadDrawingFromDxf, but the entities of the ENTITIES section, paper-space ones included,
// go into one new block of the given name, based at the base point of the file's last BLOCK.
bool loadXrefFromDxf(mmDrawing& drawing, const mmGlyphTable* glyphs, std::u16string_view blockName,
                     const std::string& path, DxfLoadReport* report = nullptr);

// The tables and the named blocks only; the names of the blocks made are appended to
// blockNames in file order.
bool loadBlocksFromDxf(mmDrawing& drawing, std::vector<std::u16string>& blockNames,
                       const std::string& path, const mmGlyphTable* glyphs);
void loadBlocksFromDxfText(mmDrawing& drawing, std::vector<std::u16string>& blockNames,
                           std::string_view text, const mmGlyphTable* glyphs,
                           const DxfLoadLimits& limits = {});
