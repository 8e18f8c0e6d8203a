// Dxf2000Plan: what a DXF 2000 save writes besides the entities, worked out before the first
// group: the blocks (named ones, and one geometry block per dimension), the handle of every table,
// record, block and object that others refer to, the first entity handle and the handle seed.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "entities/Block.h"
#include "entities/Vertex.h"

namespace kestrel::platform {
class CodePage;
}
class DxfLayout;
class mmDimension;
class mmDrawing;

struct Dxf2000Plan {
    // A block record with its BLOCK and ENDBLK.
    struct Block {
        const mmBlock* block = nullptr;  // null for the model and paper space
        std::u16string name;
        int32_t flags = 0;
        mmVertex base;
        uint64_t record = 0, begin = 0, end = 0;
        bool paper = false;
    };
    // The tables in the order written.
    enum TableIndex { kVPort, kLineType, kLayer, kStyle, kView, kUcs, kAppId, kDimStyle,
                      kBlockRecord, kTableCount };

    uint64_t tables[kTableCount] = {};
    uint64_t activeVPort = 0, standardStyle = 0, acadAppId = 0;
    uint64_t byBlock = 0, byLayer = 0, continuous = 0;
    std::map<int32_t, uint64_t> lineTypes;  // linetype id -> handle
    std::map<int32_t, uint64_t> layers;     // layer id -> handle
    std::map<int32_t, uint64_t> dimStyles;  // dimension style id -> handle
    // Entries other programs require that the drawing lacks (0 when it has them): the layer
    // "0" (of entities whose layer is missing) and the dimension style "Standard" (of
    // dimensions whose style is missing).
    uint64_t layerZero = 0, standardDimStyle = 0;
    Block model, paper;
    std::vector<Block> blocks;  // the drawing's blocks, then those made for dimensions
    std::map<const mmBlock*, std::size_t> blockIndex;         // named block -> index in blocks
    std::unordered_map<std::u16string, std::size_t> blockByName;  // folded name -> index
    std::unordered_map<const mmDimension*, std::size_t> dimensionBlock;  // index in blocks
    uint64_t rootDictionary = 0, groupDictionary = 0, layoutDictionary = 0;
    uint64_t modelLayout = 0, paperLayout = 0;
    uint64_t firstEntity = 0;
    uint64_t handleSeed = 0;  // above every handle the save can hand out
    mmRect extents = EmptyExtents();  // of model space
    // $DWGCODEPAGE: Windows-1252, or the first Windows code page that holds every character of
    // the names when that one does not (names cannot be written with escapes).
    std::shared_ptr<const kestrel::platform::CodePage> codePage;
    // Geometry blocks made for this save (dimensions without one in the drawing's table).
    mmBlockTable madeBlocks;

    // The block written for a name (ignoring case); null when the file holds none.
    const Block* FindBlock(std::u16string_view name) const;
};

// The blocks written: the drawing's blocks, anonymous ones too, of a name not met before (the
// first of a name wins, ignoring case); then a new block for each dimension (of model space, the
// layout's paper space and those blocks) that has none of its own. Erased entities are not
// written.
Dxf2000Plan PlanDxf2000(const mmDrawing& drawing, const DxfLayout* layout);

// The most handles an entity takes in the file (itself, and the vertices and end of a polyline
// written in full, or the attributes and end of a reference).
uint64_t Dxf2000HandlesOf(const mmObject& entity);
