// DxfNameIndex: the names of the drawing's layers, dimension styles, linetypes and blocks in hash maps kept
// beside the tables while a file is read, so a file of many layers or blocks loads in linear
// time. Layers and dimension styles match ignoring case, blocks exactly; the first of a name
// (the lowest id, as the tables are searched) wins.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "entities/Block.h"

class mmDrawing;

class DxfNameIndex {
public:
    // Indexes what the drawing holds (entries with id -1 do not count).
    explicit DxfNameIndex(const mmDrawing& drawing);

    std::optional<int32_t> Layer(std::u16string_view name) const;
    void AddLayer(std::u16string_view name, int32_t id);
    std::optional<int32_t> DimStyle(std::u16string_view name) const;
    void AddDimStyle(std::u16string_view name, int32_t id);
    // Linetypes by name ignoring case, the fixed ones (ByLayer, ByBlock, Continuous) included.
    std::optional<int32_t> LineType(std::u16string_view name) const;
    void AddLineType(std::u16string_view name, int32_t id);
    mmBlockPtr Block(std::u16string_view name) const;
    void AddBlock(const mmBlockPtr& block);

private:
    std::unordered_map<std::u16string, int32_t> layers_;     // folded name -> id
    std::unordered_map<std::u16string, int32_t> dimStyles_;  // folded name -> id
    std::unordered_map<std::u16string, int32_t> lineTypes_;  // folded name -> id
    std::unordered_map<std::u16string, mmBlockPtr> blocks_;  // exact name
};
