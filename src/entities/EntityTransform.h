// Moving, turning and scaling whole entities about a base point, as the modify commands do: every
// class keeps its shape, so texts turn and grow with the drawing, references take the turn and
// the factor into their own rotation and scale, and dimensions measure again. Grips and extents
// are updated.
#pragma once

#include "entities/Object.h"

void MoveEntity(mmObject& entity, double dx, double dy);
// degrees counter-clockwise about (baseX, baseY).
void RotateEntityAbout(mmObject& entity, double baseX, double baseY, double degrees);
// factor > 0 about (baseX, baseY); other factors change nothing and give false.
bool ScaleEntityAbout(mmObject& entity, double baseX, double baseY, double factor);
