// The entities a search of the current space visits: the spatial index's candidates near a
// rectangle, or every entity for the reference scan. Either way in list order (or reversed), so
// the search gives the results, ties included, of a pass over the whole list.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "commands/Session.h"

// Calls visit(position, entity) for the non-empty entries of the space's list whose stored
// geometry or grips may touch the rectangle (stored coordinates), and for the one at position
// alsoAt (if any), in list order or from the last to the first; stops when visit returns false.
template <class Visit>
void ForEachEntityNear(mmSession& s, mmSpace& space, const mmRect& rect, bool lastFirst,
                       Visit&& visit, int32_t alsoAt = -1) {
    const mmEntityList& list = space.entities;
    const auto call = [&](std::size_t i) {
        mmObject* e = list[i].get();
        return !e || visit(static_cast<int32_t>(i), *e);
    };
    if (s.linearSearch) {
        if (lastFirst) {
            for (std::size_t i = list.size(); i-- > 0;)
                if (!call(i)) return;
        } else {
            for (std::size_t i = 0; i < list.size(); ++i)
                if (!call(i)) return;
        }
        return;
    }
    std::vector<int32_t> positions;
    EntitiesNear(space, rect, positions);
    if (alsoAt >= 0 && static_cast<std::size_t>(alsoAt) < list.size()) {
        const auto at = std::lower_bound(positions.begin(), positions.end(), alsoAt);
        if (at == positions.end() || *at != alsoAt) positions.insert(at, alsoAt);
    }
    if (lastFirst) {
        for (std::size_t k = positions.size(); k-- > 0;)
            if (!call(static_cast<std::size_t>(positions[k]))) return;
    } else {
        for (int32_t i : positions)
            if (!call(static_cast<std::size_t>(i))) return;
    }
}
