// Dimensions in a drawing: making a new one from the current style and layer, restyling, and the
// anonymous blocks written with them.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "drawing/DimStyle.h"
#include "drawing/Drawing.h"
#include "entities/Dimension.h"
#include "entities/GlyphTable.h"

// A dimension of the given type and id with the current style's values, on the current layer
// (its label in the layer's colour), named "*D" + id, with the given definition points (and,
// for ordinates, axis), built, grips and extents updated. Not added to any space.
std::shared_ptr<mmDimension> NewDimension(const mmDrawing& drawing, int16_t dimType, int32_t id,
                                          const std::array<mmVertex, 7>& defPoints,
                                          const mmGlyphTablePtr& glyphs, int16_t ordinateAxis = 0);

// The dimension takes the style's id and six values, its label the style's text height, and is
// built again (grips and extents too).
void RestyleDimension(mmDimension& dimension, const DimStyle& style, const mmGlyphTablePtr& glyphs);

// Calls visit(dimension) for every dimension of the space (erased ones too).
template <class Visit>
void ForEachDimension(mmSpace& space, Visit&& visit);

// The anonymous blocks of the model-space dimensions, made before a save (see MakeDimensionBlock
// of entities/Dimension.h). They go into the drawing's own block table, the one that is written,
// whichever view is active. Returns the number of blocks added.
int MakeDimensionBlock(mmDrawing& drawing);

template <class Visit>
void ForEachDimension(mmSpace& space, Visit&& visit) {
    for (const mmObjectPtr& e : space.entities)
        if (e && e->type == kTypeDimension) visit(static_cast<mmDimension&>(*e));
}
