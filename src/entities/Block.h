// mmBlock: a named, reusable group of entities kept in a block table (not an entity itself).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "entities/Object.h"

class mmBlock {
public:
    int32_t nextEntityId = 0;
    int32_t id = -1;
    std::u16string name;
    mmEntityList entities;  // block coordinates, relative to the base point
    double baseX = 0.0;
    double baseY = 0.0;
    int16_t flags = 0;  // as DXF group 70: 1 for anonymous blocks
};

using mmBlockPtr = std::shared_ptr<mmBlock>;
