// The current-layer list of the main frame: one item per layer in table order, the current
// layer selected; choosing an item makes its layer current for the entities made afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class mmDrawing;

struct mmLayerListItem {
    int32_t id = 0;
    std::u16string name;
    uint32_t color = 0;  // 0x00BBGGRR
    bool operator==(const mmLayerListItem&) const = default;
};

struct mmLayerList {
    std::vector<mmLayerListItem> items;
    int current = -1;  // index of the current layer; -1 when it is not in the table
    bool operator==(const mmLayerList&) const = default;
};

mmLayerList LayerListOf(const mmDrawing& drawing);
// The layer becomes the drawing's current layer; false (nothing changes) when there is none of
// that id. Entities already made, and the one a running command is building, keep their layer.
bool ChooseCurrentLayer(mmDrawing& drawing, int32_t layerId);
