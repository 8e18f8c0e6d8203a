// What dragging grip g of an entity to a point does, by class: the grip rules of grip editing.
#pragma once

#include "entities/Object.h"

// Applies the rule of the entity's class for grip g moved to p (drawing coordinates), then
// updates grips and extents. Classes without a rule (splines, raster images) do not move.
void ApplyGripRule(mmObject& entity, int grip, const mmVertex& p);
