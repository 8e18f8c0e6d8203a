// Table entries read from a DXF file that reach the drawing: linetypes, layers and dimension
// styles. An entry whose name the drawing already has (ignoring case) leaves the drawing's as it
// is, except for the styles a new drawing starts with, which an opened file replaces.
#pragma once

#include <cstdint>
#include <set>
#include <string_view>

#include "fileio/dxf/DxfStrings.h"

class DxfNameIndex;
class DxfReader;
struct DxfTableEntry;
class mmDrawing;

// Returns true when a layer was added. Names are decoded as the file's strings say; names are
// those of the drawing's tables, and get the new entry's.
bool addLayerEntry(mmDrawing& drawing, const DxfTableEntry& entry, DxfNameIndex& names,
                   const DxfStringCodec& strings = DxfStringCodec());
// Returns true when a linetype was added (the fixed ones and names the drawing has are not).
bool addLineTypeEntry(mmDrawing& drawing, const DxfTableEntry& entry, DxfNameIndex& names,
                      const DxfStringCodec& strings = DxfStringCodec());
// Returns true when a dimension style was added, or when the drawing's style of that name was
// one of replaceable (which it then leaves) and took the entry's values.
bool addDimStyleEntry(mmDrawing& drawing, const DxfTableEntry& entry, DxfNameIndex& names,
                      const DxfStringCodec& strings = DxfStringCodec(),
                      std::set<int32_t>* replaceable = nullptr);

// A dimension variable of the header ($DIMASZ and the others a style holds), the value of the
// reader's last group: it becomes what style entries have where they leave the value out.
// Other names, and groups that are not the value of theirs, change nothing.
void takeDimHeaderVariable(DxfTableEntry& defaults, std::string_view name, const DxfReader& reader);
// The styles of ids take the values of the defaults (those of a file that has no entry for them).
void setDimStylesToDefaults(mmDrawing& drawing, const std::set<int32_t>& ids,
                            const DxfTableEntry& defaults);
