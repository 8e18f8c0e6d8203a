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
// The children of a reference (and of references nested in it) take the reference's visibility;
// by-layer colours and widths follow each child's own layer, or the reference itself when that
// layer is not in the table.
void PushIntoChildren(mmBlockRef& reference, const std::map<int32_t, mmLayer>& layers,
                      const mmGlyphTable* glyphs);
