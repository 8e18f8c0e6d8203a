// The name index of a DXF load.
#include "fileio/dxf/DxfNameIndex.h"

#include "drawing/Drawing.h"
#include "drawing/Names.h"

namespace {

template <class Map>
std::optional<int32_t> find(const Map& map, std::u16string_view name) {
    const auto it = map.find(FoldedName(name));
    if (it == map.end()) return std::nullopt;
    return it->second;
}

}  // namespace

DxfNameIndex::DxfNameIndex(const mmDrawing& drawing) {
    for (const auto& [id, layer] : drawing.layers)
        if (layer.id != -1) AddLayer(layer.name, layer.id);
    for (const auto& [id, style] : drawing.dimStyles)
        if (style.id != -1) AddDimStyle(style.name, style.id);
    for (const auto& [id, block] : drawing.blocks)
        if (block) AddBlock(block);
    for (const int32_t id : {kLineTypeByLayer, kLineTypeByBlock, kLineTypeContinuous})
        AddLineType(drawing.LineTypeName(id), id);
    for (const auto& [id, lineType] : drawing.lineTypes)
        AddLineType(lineType.name, id);
}

std::optional<int32_t> DxfNameIndex::Layer(std::u16string_view name) const {
    return find(layers_, name);
}

void DxfNameIndex::AddLayer(std::u16string_view name, int32_t id) {
    layers_.emplace(FoldedName(name), id);
}

std::optional<int32_t> DxfNameIndex::DimStyle(std::u16string_view name) const {
    return find(dimStyles_, name);
}

void DxfNameIndex::AddDimStyle(std::u16string_view name, int32_t id) {
    dimStyles_.emplace(FoldedName(name), id);
}

std::optional<int32_t> DxfNameIndex::LineType(std::u16string_view name) const {
    return find(lineTypes_, name);
}

void DxfNameIndex::AddLineType(std::u16string_view name, int32_t id) {
    lineTypes_.emplace(FoldedName(name), id);
}

mmBlockPtr DxfNameIndex::Block(std::u16string_view name) const {
    const auto it = blocks_.find(std::u16string(name));
    return it == blocks_.end() ? nullptr : it->second;
}

void DxfNameIndex::AddBlock(const mmBlockPtr& block) {
    blocks_.emplace(block->name, block);
}
