// DimStyle: a named set of sizes and colours that dimensions copy.
#pragma once

#include <cstdint>
#include <string>

struct DimStyle {
    int32_t id = 0;
    std::u16string name;  // up to 99 characters
    int32_t dimLineColor = 0;
    double dimLineExtension = 0.0;
    int32_t extLineColor = 0;
    double extLineExtension = 0.0;
    double extLineOffset = 0.0;
    std::u16string arrowBlock1;  // up to 49 characters
    std::u16string arrowBlock2;
    double arrowSize = 0.0;
    int32_t textColor = 0;  // 0 by block, 256 by layer
    double textHeight = 0.0;
    int32_t textPlacement = 0;
    double textGap = 0.0;
    int16_t arrowKind = 0;  // 0 arrow, 1 tick

    // The style "Standard" every new or opened drawing starts with.
    static DimStyle Standard(int32_t id) {
        DimStyle s;
        s.id = id;
        s.name = u"Standard";
        s.arrowSize = 2.5;
        s.extLineExtension = 1.25;
        s.extLineOffset = 0.625;
        s.textHeight = 2.5;
        s.textGap = 0.625;
        s.textColor = 256;
        s.arrowKind = 0;
        return s;
    }
};

inline constexpr char16_t kStandardDimStyleName[] = u"Standard";
