// Changing the drawing order of a space. An entity moved in the order keeps its old entry in the
// list, erased, and is shown by a copy with the same id at its new place; the id refers to the
// copy from then on. Every function keeps the id index and the spatial index right and costs
// time linear in the list at most.
#pragma once

#include <utility>
#include <vector>

#include "drawing/Drawing.h"

// Inserts the entities before the first entry of the list, in the given order, and points their
// ids at them. Every other id keeps referring to the entry it referred to.
void PrependEntities(mmSpace& space, const mmEntityList& entities);
// Appends the entities to the list and points their ids at them.
void AppendEntities(mmSpace& space, const mmEntityList& entities);
// For each pair of entries of one id, one of them erased: the erased one is shown, the other one
// erased, and the id refers to the one shown. Pairs whose entries are no longer both in the list
// are left alone.
void SwapShownEntries(mmSpace& space,
                      const std::vector<std::pair<mmObjectPtr, mmObjectPtr>>& pairs);
