// Drawing-order changes with the id index and the spatial index kept right.
#include "drawing/DrawOrder.h"

#include <unordered_map>

void PrependEntities(mmSpace& space, const mmEntityList& entities) {
    if (entities.empty()) return;
    const auto k = static_cast<int32_t>(entities.size());
    mmEntityList list;
    list.reserve(space.entities.size() + entities.size());
    list.insert(list.end(), entities.begin(), entities.end());
    // Every id that refers to an entry moves with it.
    for (std::size_t i = 0; i < space.entities.size(); ++i) {
        mmObjectPtr& e = space.entities[i];
        if (e) {
            const std::optional<int32_t> at = space.entityIndex.find(e->id);
            if (at && *at == static_cast<int32_t>(i)) space.entityIndex.assign(e->id, *at + k);
        }
        list.push_back(std::move(e));
    }
    for (int32_t i = 0; i < k; ++i)
        if (list[i]) space.entityIndex.assign(list[i]->id, i);
    space.entities = std::move(list);
    space.spatialIndex.Prepended(space.entities, k);
}

void AppendEntities(mmSpace& space, const mmEntityList& entities) {
    space.entities.reserve(space.entities.size() + entities.size());
    for (const mmObjectPtr& e : entities) {
        if (!e) continue;
        space.entities.push_back(e);
        space.entityIndex.assign(e->id, static_cast<int32_t>(space.entities.size() - 1));
    }
}

void SwapShownEntries(mmSpace& space,
                      const std::vector<std::pair<mmObjectPtr, mmObjectPtr>>& pairs) {
    if (pairs.empty()) return;
    std::unordered_map<const mmObject*, int32_t> positions;
    positions.reserve(pairs.size() * 2);
    for (const auto& [a, b] : pairs) {
        positions.emplace(a.get(), -1);
        positions.emplace(b.get(), -1);
    }
    for (std::size_t i = 0; i < space.entities.size(); ++i)
        if (auto it = positions.find(space.entities[i].get()); it != positions.end())
            it->second = static_cast<int32_t>(i);
    for (const auto& [a, b] : pairs) {
        const int32_t at = positions[a.get()];
        const int32_t bt = positions[b.get()];
        if (!a || !b || at < 0 || bt < 0 || a->erased == b->erased) continue;
        std::swap(a->erased, b->erased);
        space.entityIndex.assign(a->id, a->erased ? bt : at);
    }
}
