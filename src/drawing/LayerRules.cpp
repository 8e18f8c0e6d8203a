// Layer defaults, the working layer and the propagation of layer changes.
#include "drawing/LayerRules.h"

#include "drawing/Drawing.h"
#include "entities/BlockRef.h"
#include "entities/Object.h"

mmCurrentProps& CurrentProps() {
    static mmCurrentProps props;
    return props;
}

void ApplyLayerDefaults(mmObject& entity, const mmDrawing& drawing) {
    entity.selected = false;
    entity.erased = false;
    entity.layerId = drawing.currentLayerId;
    if (const mmLayer* layer = drawing.FindLayer(drawing.currentLayerId)) {
        entity.color = layer->color;
        entity.colorIndex = kColorByLayer;
        entity.visible = layer->show;
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
        props.visible = layer->show;
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
        entity.visible = layer->show;
        if (entity.colorIndex == kColorByLayer) entity.SetColor(layer->color, kColorByLayer, glyphs);
        if (entity.lineWidthSource == kLineWidthByLayer) entity.lineWidth = layer->lineWidth;
    }
    if (entity.type == kTypeBlockRef)
        PushIntoChildren(static_cast<mmBlockRef&>(entity), drawing.layers, glyphs);
}

void PushIntoChildren(mmBlockRef& reference, const std::map<int32_t, mmLayer>& layers,
                      const mmGlyphTable* glyphs) {
    for (const mmObjectPtr& child : reference.children) {
        if (!child) continue;
        child->visible = reference.visible;
        const auto it = layers.find(child->layerId);
        const mmLayer* layer = it == layers.end() ? nullptr : &it->second;
        const uint32_t color = layer ? layer->color : reference.color;
        // Recolouring lays texts out again: only when the colour changes.
        if (child->colorIndex == kColorByLayer && child->color != color)
            child->SetColor(color, kColorByLayer, glyphs);
        if (child->lineWidthSource == kLineWidthByLayer)
            child->lineWidth = layer ? layer->lineWidth : reference.lineWidth;
        if (child->type == kTypeBlockRef)
            PushIntoChildren(static_cast<mmBlockRef&>(*child), layers, glyphs);
    }
}
