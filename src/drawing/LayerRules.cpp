// Layer defaults, the working layer and the propagation of layer changes.
#include "drawing/LayerRules.h"

#include "drawing/Drawing.h"
#include "entities/BlockRef.h"
#include "entities/Object.h"

mmCurrentProps& CurrentProps() {
    static mmCurrentProps props;
    return props;
}

bool LayerShown(const mmLayer& layer) {
    return layer.show && !layer.frozen;
}

int32_t LayerZeroId(const std::map<int32_t, mmLayer>& layers) {
    if (const auto it = layers.find(0); it != layers.end() && it->second.name == kDefaultLayerName)
        return 0;
    for (const auto& [id, layer] : layers)
        if (layer.name == kDefaultLayerName) return id;
    return -1;
}

void ApplyLayerDefaults(mmObject& entity, const mmDrawing& drawing) {
    entity.selected = false;
    entity.erased = false;
    entity.layerId = drawing.currentLayerId;
    if (const mmLayer* layer = drawing.FindLayer(drawing.currentLayerId)) {
        entity.color = layer->color;
        entity.colorIndex = kColorByLayer;
        entity.visible = LayerShown(*layer);
        entity.lineWidth = layer->lineWidth;
        entity.lineWidthSource = kLineWidthByLayer;
    }
}

void ApplyCurrentProps(mmObject& entity, const mmCurrentProps& props) {
    entity.lineWidthSource = props.lineWidthSource;
    entity.lineWidth = props.lineWidth;
    entity.visible = props.visible;
    entity.colorIndex = props.colorIndex;
    entity.color = props.color;
    entity.layerId = props.layerId;
}

void setWorkingLayer(mmDrawing& drawing, std::u16string_view name) {
    const mmLayer* named = drawing.FindLayerByName(name);
    const int32_t id = (named && named->id != -1) ? named->id : drawing.currentLayerId;
    mmCurrentProps& props = CurrentProps();
    if (const mmLayer* layer = drawing.FindLayer(id)) {
        props.color = layer->color;
        props.colorIndex = kColorByLayer;
        props.visible = LayerShown(*layer);
        props.lineWidth = layer->lineWidth;
        props.lineWidthSource = kLineWidthByLayer;
    }
    props.layerId = id;
}

void PushLayerProperties(mmDrawing& drawing, const mmGlyphTable* glyphs) {
    for (const mmObjectPtr& entity : drawing.entities)
        if (entity) PushLayerPropertiesTo(*entity, drawing, glyphs);
}

void PushLayerPropertiesTo(mmObject& entity, const mmDrawing& drawing, const mmGlyphTable* glyphs) {
    if (const mmLayer* layer = drawing.FindLayer(entity.layerId)) {
        entity.visible = LayerShown(*layer);
        if (entity.colorIndex == kColorByLayer) entity.SetColor(layer->color, kColorByLayer, glyphs);
        if (entity.lineWidthSource == kLineWidthByLayer) entity.lineWidth = layer->lineWidth;
    }
    if (entity.type == kTypeBlockRef)
        PushIntoChildren(static_cast<mmBlockRef&>(entity), drawing.layers, glyphs);
}

namespace {

const mmLayer* layerOf(const std::map<int32_t, mmLayer>& layers, int32_t id) {
    const auto it = layers.find(id);
    return it == layers.end() ? nullptr : &it->second;
}

// The children of a reference whose layer (layer "0" children take it) is given.
void pushInto(mmBlockRef& reference, const mmLayer* referenceLayer,
              const std::map<int32_t, mmLayer>& layers, int32_t layerZero,
              const mmGlyphTable* glyphs) {
    for (const mmObjectPtr& child : reference.children) {
        if (!child) continue;
        // Attributes are entities of their own in other programs: they keep layer "0".
        const bool floating = child->layerId == layerZero && child->type != kTypeAttribute;
        const mmLayer* layer = floating ? referenceLayer : layerOf(layers, child->layerId);
        child->visible = reference.visible && (!layer || floating || LayerShown(*layer));
        uint32_t color = child->color;
        if (child->colorIndex == kColorByLayer)
            color = layer ? layer->color : reference.color;
        else if (child->colorIndex == kColorByBlock)
            color = reference.color;
        // Recolouring lays texts out again: only when the colour changes.
        if (child->color != color) child->SetColor(color, child->colorIndex, glyphs);
        if (child->lineWidthSource == kLineWidthByLayer)
            child->lineWidth = layer ? layer->lineWidth : reference.lineWidth;
        if (child->type == kTypeBlockRef)
            pushInto(static_cast<mmBlockRef&>(*child), layer, layers, layerZero, glyphs);
    }
}

}  // namespace

void PushIntoChildren(mmBlockRef& reference, const std::map<int32_t, mmLayer>& layers,
                      const mmGlyphTable* glyphs) {
    pushInto(reference, layerOf(layers, reference.layerId), layers, LayerZeroId(layers), glyphs);
}
