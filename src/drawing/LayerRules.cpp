// Layer defaults, the working layer and the propagation of layer changes.
#include "drawing/LayerRules.h"

#include <tuple>

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

namespace {

const mmLayer* layerOf(const std::map<int32_t, mmLayer>& layers, int32_t id) {
    const auto it = layers.find(id);
    return it == layers.end() ? nullptr : &it->second;
}

// How a child of a reference shows: the layer it takes and what follows from it.
struct ChildLook {
    const mmLayer* layer = nullptr;
    bool visible = true;
    uint32_t color = 0;
    int32_t lineWidth = 1;
};

ChildLook lookOf(const mmObject& child, const mmBlockRef& reference, const mmLayer* referenceLayer,
                 const std::map<int32_t, mmLayer>& layers, int32_t layerZero) {
    ChildLook look;
    // Attributes are entities of their own in other programs: they keep layer "0".
    const bool floating = child.layerId == layerZero && child.type != kTypeAttribute;
    look.layer = floating ? referenceLayer : layerOf(layers, child.layerId);
    look.visible = reference.visible && (!look.layer || floating || LayerShown(*look.layer));
    look.color = child.color;
    if (child.colorIndex == kColorByLayer)
        look.color = look.layer ? look.layer->color : reference.color;
    else if (child.colorIndex == kColorByBlock)
        look.color = reference.color;
    look.lineWidth = child.lineWidth;
    if (child.lineWidthSource == kLineWidthByLayer)
        look.lineWidth = look.layer ? look.layer->lineWidth : reference.lineWidth;
    return look;
}

// Pushing would change some child (nested ones included): a shared list is copied only then.
bool pushChanges(const mmBlockRef& reference, const mmLayer* referenceLayer,
                 const std::map<int32_t, mmLayer>& layers, int32_t layerZero) {
    for (const mmObjectPtr& child : reference.children.Shared()) {
        if (!child) continue;
        const ChildLook look = lookOf(*child, reference, referenceLayer, layers, layerZero);
        if (child->visible != look.visible || child->color != look.color ||
            child->lineWidth != look.lineWidth)
            return true;
        if (child->type == kTypeBlockRef &&
            pushChanges(static_cast<const mmBlockRef&>(*child), look.layer, layers, layerZero))
            return true;
    }
    return false;
}

// The lists pushed into in one pass over the drawing, by the list shared before and what the
// push takes from the reference: references that shared a list share the pushed one too.
using ShareKey = std::tuple<const mmEntityList*, const mmLayer*, bool, uint32_t, int32_t>;
struct Pushed {
    mmChildList before;  // kept alive: its address is in the key
    mmChildList after;
};
using PushShares = std::map<ShareKey, Pushed>;

void pushInto(mmBlockRef& reference, const mmLayer* referenceLayer,
              const std::map<int32_t, mmLayer>& layers, int32_t layerZero,
              const mmGlyphTable* glyphs, PushShares* shares);

// Pushes into the reference's own list.
void pushIntoOwn(mmBlockRef& reference, const mmLayer* referenceLayer,
                 const std::map<int32_t, mmLayer>& layers, int32_t layerZero,
                 const mmGlyphTable* glyphs, PushShares* shares) {
    for (const mmObjectPtr& child : reference.children.Own()) {
        if (!child) continue;
        const ChildLook look = lookOf(*child, reference, referenceLayer, layers, layerZero);
        child->visible = look.visible;
        // Recolouring lays texts out again: only when the colour changes.
        if (child->color != look.color) child->SetColor(look.color, child->colorIndex, glyphs);
        child->lineWidth = look.lineWidth;
        if (child->type == kTypeBlockRef)
            pushInto(static_cast<mmBlockRef&>(*child), look.layer, layers, layerZero, glyphs,
                     shares);
    }
}

// The children of a reference whose layer (layer "0" children take it) is given.
void pushInto(mmBlockRef& reference, const mmLayer* referenceLayer,
              const std::map<int32_t, mmLayer>& layers, int32_t layerZero,
              const mmGlyphTable* glyphs, PushShares* shares) {
    if (!pushChanges(reference, referenceLayer, layers, layerZero)) return;
    if (!shares || !reference.children.IsShared()) {
        pushIntoOwn(reference, referenceLayer, layers, layerZero, glyphs, shares);
        return;
    }
    const ShareKey key{&reference.children.Shared(), referenceLayer, reference.visible,
                       reference.color, reference.lineWidth};
    if (const auto it = shares->find(key); it != shares->end()) {
        reference.children.ShareWith(it->second.after);
        return;
    }
    Pushed pushed{reference.children, {}};
    pushIntoOwn(reference, referenceLayer, layers, layerZero, glyphs, shares);
    pushed.after = reference.children;
    shares->emplace(key, std::move(pushed));
}

void pushLayerProperties(mmObject& entity, const mmDrawing& drawing, const mmGlyphTable* glyphs,
                         PushShares* shares) {
    if (const mmLayer* layer = drawing.FindLayer(entity.layerId)) {
        entity.visible = LayerShown(*layer);
        if (entity.colorIndex == kColorByLayer) entity.SetColor(layer->color, kColorByLayer, glyphs);
        if (entity.lineWidthSource == kLineWidthByLayer) entity.lineWidth = layer->lineWidth;
    }
    if (entity.type != kTypeBlockRef) return;
    auto& reference = static_cast<mmBlockRef&>(entity);
    pushInto(reference, layerOf(drawing.layers, reference.layerId), drawing.layers,
             LayerZeroId(drawing.layers), glyphs, shares);
}

}  // namespace

void PushIntoChildren(mmBlockRef& reference, const std::map<int32_t, mmLayer>& layers,
                      const mmGlyphTable* glyphs) {
    pushInto(reference, layerOf(layers, reference.layerId), layers, LayerZeroId(layers), glyphs,
             nullptr);
}

bool PushWouldChange(const mmBlockRef& reference, const std::map<int32_t, mmLayer>& layers) {
    return pushChanges(reference, layerOf(layers, reference.layerId), layers, LayerZeroId(layers));
}

void PushLayerProperties(mmDrawing& drawing, const mmGlyphTable* glyphs) {
    PushShares shares;
    for (const mmObjectPtr& entity : drawing.entities)
        if (entity) pushLayerProperties(*entity, drawing, glyphs, &shares);
}

void PushLayerPropertiesTo(mmObject& entity, const mmDrawing& drawing, const mmGlyphTable* glyphs) {
    pushLayerProperties(entity, drawing, glyphs, nullptr);
}
