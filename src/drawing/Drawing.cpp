// The drawing database: adding and finding entities and blocks, reset and the new drawing.
#include "drawing/Drawing.h"

#include "drawing/Names.h"

uint64_t NextSpaceSerial() {
    static uint64_t next = 1;
    return next++;
}

const mmLayer* mmDrawing::FindLayer(int32_t layerId) const {
    auto it = layers.find(layerId);
    return it == layers.end() ? nullptr : &it->second;
}

mmLayer* mmDrawing::FindLayer(int32_t layerId) {
    auto it = layers.find(layerId);
    return it == layers.end() ? nullptr : &it->second;
}

const mmLayer* mmDrawing::FindLayerByName(std::u16string_view name) const {
    for (const auto& [id, layer] : layers)
        if (NamesEqualIgnoringCase(layer.name, name)) return &layer;
    return nullptr;
}

bool AddEntity(mmSpace& space, const mmObjectPtr& entity) {
    if (!entity || entity->id < 0) return false;
    space.entities.push_back(entity);
    space.entityIndex.insert(entity->id, static_cast<int32_t>(space.entities.size() - 1));
    return true;
}

bool AddEntity(mmDrawing& drawing, const mmObjectPtr& entity) {
    return AddEntity(drawing.TargetSpace(), entity);
}

bool AddBlock(mmSpace& space, const mmBlockPtr& block) {
    if (!block || block->id < 0) return false;
    space.blocks.emplace(block->id, block);
    return true;
}

bool AddBlock(mmDrawing& drawing, const mmBlockPtr& block) {
    return AddBlock(drawing.TargetSpace(), block);
}

mmObjectPtr FindEntity(const mmSpace& space, int32_t id) {
    const auto position = space.entityIndex.find(id);
    if (!position || *position >= static_cast<int32_t>(space.entities.size())) return nullptr;
    return space.entities[*position];
}

void ReindexSpace(mmSpace& space) {
    space.entityIndex.clear();
    for (std::size_t i = 0; i < space.entities.size(); ++i) {
        const mmObject* e = space.entities[i].get();
        if (!e || e->id < 0 || space.entityIndex.insert(e->id, static_cast<int32_t>(i)) ||
            e->erased)
            continue;
        if (space.entities[*space.entityIndex.find(e->id)]->erased)
            space.entityIndex.assign(e->id, static_cast<int32_t>(i));
    }
    space.spatialIndex.Invalidate();
}

void TakeSpaceContents(mmSpace& into, mmSpace& from) {
    into.spatialIndex.Clear(into.entities);
    from.spatialIndex.Clear(from.entities);
    into.entities = std::move(from.entities);
    from.entities.clear();
    into.blocks = std::move(from.blocks);
    from.blocks.clear();
    into.nextEntityId = from.nextEntityId;
    mmSelectionObserver* observer = into.selection.observer;
    into.selection = std::move(from.selection);
    into.selection.observer = observer;
    from.selection.observer = nullptr;
    from.selection.Clear();
    ReindexSpace(into);
    ReindexSpace(from);
}

void EntitiesNear(mmSpace& space, const mmRect& rect, std::vector<int32_t>& out) {
    space.spatialIndex.Query(space.entities, rect, out);
}

void UpdateSpatialIndex(mmSpace& space) {
    space.spatialIndex.Update(space.entities);
}

std::u16string_view mmDrawing::LineTypeName(int32_t lineTypeId) const {
    switch (lineTypeId) {
        case kLineTypeByLayer:
            return kLineTypeByLayerName;
        case kLineTypeByBlock:
            return kLineTypeByBlockName;
        case kLineTypeContinuous:
            return kLineTypeContinuousName;
        default: {
            const auto it = lineTypes.find(lineTypeId);
            return it == lineTypes.end() ? std::u16string_view() : it->second.name;
        }
    }
}

void ResetDrawing(mmDrawing& drawing) {
    mmEntityList released;
    drawing.spatialIndex.Clear(drawing.entities);
    released.swap(drawing.entities);
    drawing.blocks.clear();
    drawing.dimStyles.clear();
    drawing.layers.clear();
    drawing.lineTypes.clear();
    drawing.fileVariables.clear();
    drawing.nextLineTypeId = kFirstLineTypeId;
    drawing.entityIndex.clear();
    drawing.selection.Clear();
    drawing.nextEntityId = 0;
    drawing.nextBlockId = 0;
    drawing.nextLayerId = 0;
    drawing.currentLayerId = 0;
    drawing.nextDimStyleId = 0;
    drawing.currentDimStyleId = 0;
    drawing.undoNext = 0;
    drawing.undoCount = 0;
    drawing.redoCount = 0;
    drawing.undoSlots.fill(nullptr);
    drawing.activePaperSpace = nullptr;
}

void FillNewDrawing(mmDrawing& drawing) {
    const int32_t styleId = drawing.nextDimStyleId++;
    drawing.dimStyles[styleId] = DimStyle::Standard(styleId);
    drawing.currentDimStyleId = styleId;
    const int32_t layerId = drawing.nextLayerId++;
    drawing.layers[layerId] = mmLayer::WithDefaults(layerId, kDefaultLayerName);
    drawing.currentLayerId = layerId;
}
