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
    // From files: the overall scale of the sizes (DIMSCALE; 0 or less counts as 1), the size of
    // ticks (DIMTSZ; ticks replace arrows when it is above 0) and the factor of lengths.
    double overallScale = 1.0;
    double tickSize = 0.0;
    double linearFactor = 1.0;  // DIMLFAC: the measured lengths are shown times this

    // DIMTSZ as files hold it: the size of the ticks a style of ticks draws (its arrow size when
    // it has none of its own); 0 for arrows.
    double FileTickSize() const {
        return arrowKind == 0 ? 0.0 : tickSize > 0.0 ? tickSize : arrowSize;
    }

    // A file's style with the values the file leaves out: the defaults of DXF.
    static DimStyle FileDefaults() {
        DimStyle s;
        s.arrowSize = 0.18;
        s.extLineExtension = 0.18;
        s.extLineOffset = 0.0625;
        s.textHeight = 0.18;
        s.textGap = 0.09;
        return s;
    }

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
