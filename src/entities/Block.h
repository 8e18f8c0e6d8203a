// mmBlock: a named, reusable group of entities kept in a block table (not an entity itself), and
// the operations that make one: creation, a unique name, the base point and adding entities.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "entities/Object.h"

class mmBlock {
public:
    int32_t nextEntityId = 0;
    int32_t id = -1;
    std::u16string name;  // up to 255 characters
    mmEntityList entities;  // block coordinates, relative to the base point
    double baseX = 0.0;
    double baseY = 0.0;
    int16_t flags = 0;  // as DXF group 70: 1 for anonymous blocks

    // False when a block of the table already has this name (compared exactly); otherwise the
    // name (at most 255 characters of it) is stored.
    bool SetBaseName(std::u16string_view newName, const std::map<int32_t, std::shared_ptr<mmBlock>>& existing);
    void SetBasePoint(double x, double y);
};

using mmBlockPtr = std::shared_ptr<mmBlock>;
// A block table: block id -> block, iterated in id order.
using mmBlockTable = std::map<int32_t, mmBlockPtr>;

inline constexpr std::size_t kBlockNameMax = 255;
inline constexpr int16_t kBlockAnonymous = 1;

// An empty block: no entities, nextEntityId 0.
mmBlockPtr CreateBlock(int32_t id, double baseX, double baseY, int16_t flags, std::u16string name);

// Makes the entity relative to the base point (every coordinate it has, grips included, with
// their hot flags cleared), gives it the block's next entity id and appends it. A null entity is
// ignored (false).
bool AddToBlock(mmBlock& block, const mmObjectPtr& entity);

// The first block of the table (in id order) whose name equals the given one exactly; null when
// none does.
mmBlockPtr FindBlockByName(const mmBlockTable& blocks, std::u16string_view name);

// A name for an anonymous block of a file: the name itself when no block has it (taken is
// false), else its leading letters ("*U") and the next number not taken, counted per prefix in
// next.
std::u16string FreeAnonymousName(const std::u16string& name,
                                 const std::function<bool(const std::u16string&)>& taken,
                                 std::map<std::u16string, int64_t>& next);
