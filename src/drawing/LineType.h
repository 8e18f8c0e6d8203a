// mmLineType: a named dash pattern of the linetype table, kept as a file gave it so that a save
// writes it back. Lines are drawn solid whatever their linetype; entities and layers name theirs
// by id: the table's ids from 1, and the three fixed linetypes below.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "entities/Object.h"  // the fixed linetype ids

struct mmLineType {
    int32_t id = 0;
    std::u16string name;
    std::u16string description;
    int32_t flags = 0;            // as DXF group 70
    double patternLength = 0.0;   // 40
    std::vector<double> dashes;   // 49: dashes positive, gaps negative, dots 0
};

inline constexpr int32_t kFirstLineTypeId = 1;

inline constexpr char16_t kLineTypeByLayerName[] = u"ByLayer";
inline constexpr char16_t kLineTypeByBlockName[] = u"ByBlock";
inline constexpr char16_t kLineTypeContinuousName[] = u"Continuous";
