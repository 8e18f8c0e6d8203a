// How entities get their properties from layers: the defaults of new entities, the working-layer
// properties used by extensions, and pushing layer changes into the entities.
#pragma once

#include <cstdint>
#include <map>
#include <string_view>

#include "drawing/Layer.h"

class mmBlockRef;
class mmDrawing;
class mmGlyphTable;
class mmObject;

// Properties given to entities created through the extension interface.
struct mmCurrentProps {
    int32_t lineWidthSource = -1;
    int32_t lineWidth = 1;
    bool visible = true;
    int32_t colorIndex = 256;
    uint32_t color = 0xFFFFFF;
    int32_t layerId = 0;
};

// The process-wide working-layer record.
mmCurrentProps& CurrentProps();

// Entities of the layer are shown: it is on ("Show") and not frozen.
bool LayerShown(const mmLayer& layer);
// The id of layer "0" (normally 0); -1 when the table has none.
int32_t LayerZeroId(const std::map<int32_t, mmLayer>& layers);

// Not selected, not erased, on the current layer with its colour, visibility and width by layer.
// When the current layer is missing only the layer id is set.
void ApplyLayerDefaults(mmObject& entity, const mmDrawing& drawing);
// Copies the working-layer record into an entity.
void ApplyCurrentProps(mmObject& entity, const mmCurrentProps& props);

// Points the working-layer record at the named layer (ignoring case), falling back to the
// drawing's current layer. The drawing's current layer is not changed.
void setWorkingLayer(mmDrawing& drawing, std::u16string_view name);

// After the layer table changed: visibility, by-layer colours and by-layer widths of model-space
// entities follow their layers (texts rebuild with the given glyph table); block references push
// into their children.
void PushLayerProperties(mmDrawing& drawing, const mmGlyphTable* glyphs);
// The same for one entity.
void PushLayerPropertiesTo(mmObject& entity, const mmDrawing& drawing, const mmGlyphTable* glyphs);
// The children of a reference (and of references nested in it), as DXF programs show them:
// children on layer "0" take the layer of the reference (a nested reference's own when that is
// not "0"); children by block take the reference's colour. A child is visible when the reference
// is and its layer (so taken) is shown; by-layer colours and widths follow that layer, or the
// reference itself when the layer is not in the table.
void PushIntoChildren(mmBlockRef& reference, const std::map<int32_t, mmLayer>& layers,
                      const mmGlyphTable* glyphs);
// PushIntoChildren would change some child (a list shared with other references is copied only
// then).
bool PushWouldChange(const mmBlockRef& reference, const std::map<int32_t, mmLayer>& layers);
