// Block and XREF import from drawing files: the whole model space of a DXF or DWG file as one
// new block named after the file, or the named blocks of a DXF file. Both copy the file's
// contents into the drawing; no link to the file is kept.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class mmDrawing;
class mmGlyphTable;

inline constexpr char kCantMakeXref[] = "Can't make XREF from drawing file!";
inline constexpr char kCantMakeBlock[] = "Can't make block from DXF file!";
inline constexpr char kBrowseBlockTitle[] = "Browse block or XREF...";
// The file dialogs' filters (Host form): the XREF command offers DXF and DWG files, the
// insert-block dialog's browse button DXF files only.
inline constexpr char kXrefFilter[] = "Drawing files|*.dxf;*.dwg";
inline constexpr char kBlockFileFilter[] = "Drawing files|*.dxf";

// The name of the block an XREF makes: the file name without folder and extension.
std::u16string XrefBlockName(std::string_view path);

// The file's model space into a new block named XrefBlockName(path), with the file's new
// layers, dimension styles and blocks: a DWG file (by its extension, in any letter case) through
// the DWG import, any other through the DXF reader. False when the file cannot be opened, is no
// DXF text, or the DWG import fails (the drawing is then as it was); *detail (when given) tells
// why. On success blockName holds the new block's name, and *detail the "Not loaded: ..." line of
// a file that had entities the reading left out (else it is empty).
bool LoadXrefFile(mmDrawing& drawing, const mmGlyphTable* glyphs, const std::string& path,
                  std::u16string& blockName, std::string* detail = nullptr);

// The tables and the blocks of a DXF file, whatever its extension; the names of the named blocks
// made are appended to names in file order. False when the file cannot be opened or is no DXF
// text.
bool LoadBlockFile(mmDrawing& drawing, const mmGlyphTable* glyphs, const std::string& path,
                   std::vector<std::u16string>& names);
