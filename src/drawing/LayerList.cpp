// The current-layer list.
#include "drawing/LayerList.h"

#include "drawing/Drawing.h"

mmLayerList LayerListOf(const mmDrawing& drawing) {
    mmLayerList list;
    list.items.reserve(drawing.layers.size());
    for (const auto& [id, layer] : drawing.layers) {
        if (id == drawing.currentLayerId) list.current = static_cast<int>(list.items.size());
        list.items.push_back({id, layer.name, layer.color});
    }
    return list;
}

bool ChooseCurrentLayer(mmDrawing& drawing, int32_t layerId) {
    if (!drawing.FindLayer(layerId)) return false;
    drawing.currentLayerId = layerId;
    return true;
}
