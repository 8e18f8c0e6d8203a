// Layer dialog rules.
#include "drawing/LayerTableEdit.h"

#include <algorithm>

#include "drawing/Drawing.h"
#include "drawing/LayerRules.h"

mmLayerTableEdit::mmLayerTableEdit(const mmDrawing& drawing) {
    for (const auto& [id, layer] : drawing.layers) rows_.push_back(layer);
}

std::size_t mmLayerTableEdit::NewLayer(mmDrawing& drawing) {
    rows_.push_back(mmLayer::WithDefaults(drawing.nextLayerId++, kNewLayerName));
    return rows_.size() - 1;
}

std::string mmLayerTableEdit::Delete(const std::vector<std::size_t>& selectedRows,
                                     int32_t currentLayerId) {
    // Work on the ids, since removing rows shifts the indices.
    std::vector<std::size_t> sorted = selectedRows;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    std::vector<int32_t> ids;
    for (std::size_t row : sorted)
        if (row < rows_.size()) ids.push_back(rows_[row].id);

    for (std::size_t k = 0; k < ids.size(); ++k) {
        if (rows_.size() <= 1) return kCantDeleteCurrentLayer;
        if (ids[k] == currentLayerId) return kCantDeleteCurrentLayer;
        auto it = std::find_if(rows_.begin(), rows_.end(),
                               [&](const mmLayer& l) { return l.id == ids[k]; });
        if (it == rows_.end()) continue;
        rows_.erase(it);
        deleted_.push_back(ids[k]);
    }
    return {};
}

void mmLayerTableEdit::Apply(mmDrawing& drawing, const mmGlyphTable* glyphs) const {
    for (const mmLayer& row : rows_) drawing.layers[row.id] = row;
    for (int32_t id : deleted_) drawing.layers.erase(id);
    PushLayerProperties(drawing, glyphs);
}
