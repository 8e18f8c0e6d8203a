// The dimension style table of a drawing: lookup by id and by name, adding, removing and the
// current style, and the six values dimensions copy from a style.
#pragma once

#include <cstdint>
#include <string_view>

#include "drawing/DimStyle.h"
#include "entities/Dimension.h"

class mmDrawing;

// How names are compared: the DXF reader ignores letter case, the DWG import compares exactly.
enum class mmNameMatch { Exact, IgnoreCase };

// The style of this id, or null.
const DimStyle* FindDimStyle(const mmDrawing& drawing, int32_t id);
DimStyle* FindDimStyle(mmDrawing& drawing, int32_t id);
// A copy of the style of this id; for a missing id an empty style (id -1, empty name, zero
// values).
DimStyle DimStyleById(const mmDrawing& drawing, int32_t id);
// The first style in id order with this name; a style whose id is -1 never matches.
const DimStyle* FindDimStyleByName(const mmDrawing& drawing, std::u16string_view name,
                                   mmNameMatch match);

// Adds the style under the next style id (the counter only grows) and returns that id. The
// first style of an empty table becomes the current one.
int32_t AddDimStyle(mmDrawing& drawing, DimStyle style);
// Removes the style of this id; false when there is none. When it was the current style,
// "Standard" (or else the style of the lowest id) becomes current, so new dimensions never get
// the zero values of a missing style.
bool RemoveDimStyle(mmDrawing& drawing, int32_t id);
// False (and nothing changes) when no style has the id.
bool SetCurrentDimStyle(mmDrawing& drawing, int32_t id);
// The current style, or null when the current id has none.
const DimStyle* CurrentDimStyle(const mmDrawing& drawing);

// arrowSize, extLineOffset, extLineExtension, textGap, textHeight and arrowKind.
mmDimStyleValues StyleValues(const DimStyle& style);
