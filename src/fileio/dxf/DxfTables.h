// Table entries read from a DXF file that reach the drawing: layers and dimension styles. An
// entry whose name the drawing already has (ignoring case) leaves the drawing's as it is, except
// for the styles a new drawing starts with, which an opened file replaces.
#pragma once

#include <cstdint>
#include <set>

#include "fileio/dxf/DxfStrings.h"

class DxfNameIndex;
struct DxfTableEntry;
class mmDrawing;

// Returns true when a layer was added. Names are decoded as the file's strings say; names are
// those of the drawing's tables, and get the new entry's.
bool addLayerEntry(mmDrawing& drawing, const DxfTableEntry& entry, DxfNameIndex& names,
                   const DxfStringCodec& strings = DxfStringCodec());
// Returns true when a dimension style was added, or when the drawing's style of that name was
// one of replaceable (which it then leaves) and took the entry's values.
bool addDimStyleEntry(mmDrawing& drawing, const DxfTableEntry& entry, DxfNameIndex& names,
                      const DxfStringCodec& strings = DxfStringCodec(),
                      std::set<int32_t>* replaceable = nullptr);
