// The document's new, open and save: the drawing reset to its defaults, the file read or written
// by its extension, and the messages the user sees. Windows, tabs, layouts and zooming belong to
// the shell and the views, which call these.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "fileio/dxf/DxfSave.h"

namespace kestrel::platform {
class Host;
}
class DxfLayout;
struct DxfLoadReport;
class mmDrawing;
class mmGlyphTable;

inline constexpr char kErrorReadingDrawing[] = "Error reading drawing file!";
inline constexpr char kErrorSavingDxf[] = "Error saving DXF file!";

// True when the file name's extension is ".dwg" in any letter case.
bool HasDwgExtension(std::string_view path);
// The same folder and name with the extension ".dxf".
std::string DxfPathFor(std::string_view path);
// "Saving to *.DWG is not yet supported. File will be renamed to <path>\nPlease save again."
std::string DwgSaveRedirectMessage(std::string_view dxfPath);

// Empties the drawing and gives it what every drawing starts with (layer "0", style
// "Standard").
void NewDrawing(mmDrawing& drawing);

// The history line after an open that kept references without their contents (DxfLoadLimits).
std::string UnexpandedReferencesMessage(int64_t count);

// Reads the file: DWG by its extension, DXF otherwise. Paper-space entities go to the layout
// when one is given. A DXF file is read into the drawing reset as NewDrawing does; when it
// cannot be read, that is said and the drawing keeps what was read (the document counts as
// opened either way); what reading its texts could not keep as it was, and references kept
// without their contents, go to the command history. A DWG file replaces the drawing only when
// the whole import succeeds: on failure the message box tells why, the history says "Error
// reading drawing file!" and the drawing is as it was. After a DWG open the history counts, by
// type, the entities that were not imported. Returns whether the file was read.
bool OpenDrawing(mmDrawing& drawing, const std::string& path, kestrel::platform::Host& host,
                 const mmGlyphTable* glyphs, DxfLayout* layout);

// "Not imported: 3 ELLIPSE, 1 LEADER": the entities of each type left out, most first (then by
// name), after the lead words; empty when there are none.
std::string SkippedEntitiesLine(std::string_view lead,
                                const std::map<std::string, int64_t>& counts);
inline constexpr char kNotImported[] = "Not imported";

// The command-history lines of a DXF read about its texts: a code page that is not known, and
// multi-line texts cut at their bound; none when there is nothing to say.
std::vector<std::string> TextReadMessages(const DxfLoadReport& report);

struct SaveOutcome {
    bool written = false;
    // Where the document is from now on: the path saved to, or for a DWG name the DXF name the
    // next save goes to.
    std::string documentPath;
    std::map<int32_t, int64_t> leftOut;  // entities the file could not hold, by type code
};

// The command-history lines that tell what a save left out (raster images, which a DXF file
// cannot hold, and entities of any other type the writer has no form for); none when nothing was.
std::vector<std::string> LeftOutMessages(const std::map<int32_t, int64_t>& leftOut);

// Saves the drawing and the layout's paper space as DXF of the version given. A DWG name writes nothing and moves
// the document to the DXF name, with a message; a failed save says so and leaves the previous
// file as it was. Before writing, the anonymous blocks of the model-space dimensions are made
// (MakeDimensionBlock). After a save that left entities out, the command history says so.
SaveOutcome SaveDrawing(mmDrawing& drawing, const std::string& path, kestrel::platform::Host& host,
                        const DxfLayout* layout, DxfVersion version = DxfVersion::R2000);
