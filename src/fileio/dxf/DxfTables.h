// Table entries read from a DXF file that reach the drawing: linetypes, layers and dimension
// styles. An
// entry whose name the drawing already has (ignoring case) leaves the drawing's as it is.
#pragma once

#include "fileio/dxf/DxfStrings.h"

class DxfNameIndex;
struct DxfTableEntry;
class mmDrawing;

// Returns true when a layer was added. Names are decoded as the file's strings say; names are
// those of the drawing's tables, and get the new entry's.
bool addLayerEntry(mmDrawing& drawing, const DxfTableEntry& entry, DxfNameIndex& names,
                   const DxfStringCodec& strings = DxfStringCodec());
// Returns true when a linetype was added (the fixed ones and names the drawing has are not).
bool addLineTypeEntry(mmDrawing& drawing, const DxfTableEntry& entry, DxfNameIndex& names,
                      const DxfStringCodec& strings = DxfStringCodec());
// Returns true when a dimension style was added.
bool addDimStyleEntry(mmDrawing& drawing, const DxfTableEntry& entry, DxfNameIndex& names,
                      const DxfStringCodec& strings = DxfStringCodec());
