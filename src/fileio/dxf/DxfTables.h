// Table entries read from a DXF file that reach the drawing: layers and dimension styles. An
// entry whose name the drawing already has (ignoring case) leaves the drawing's as it is.
#pragma once

class DxfNameIndex;
struct DxfTableEntry;
class mmDrawing;

// Returns true when a layer was added. The names are those of the drawing's tables, and get the
// new entry's.
bool addLayerEntry(mmDrawing& drawing, const DxfTableEntry& entry, DxfNameIndex& names);
// Returns true when a dimension style was added.
bool addDimStyleEntry(mmDrawing& drawing, const DxfTableEntry& entry, DxfNameIndex& names);
