// mmReferencePool: the children of the references a reader made, by block, scales and rotation,
// so that a reference read like an earlier one shows the earlier one's children instead of
// copying the block again. Kept for one reading.
#pragma once

#include <cstdint>
#include <map>
#include <unordered_map>
#include <vector>

#include "drawing/Layer.h"
#include "entities/BlockRef.h"

class mmReferencePool {
public:
    // Gives the reference (its properties set, no children yet) the block's children at the
    // scales and rotation as a reference kept earlier shows them, when one needs nothing pushed
    // into them for this reference's layer and colour: the block, scales and rotation are then
    // set and true returned. False leaves the reference as it was.
    bool Share(mmBlockRef& reference, const mmBlock& block, double scaleX, double scaleY,
               double rotation, const std::map<int32_t, mmLayer>& layers);
    // Keeps the children of a reference made from its block alone (and pushed into: no
    // attributes of its own) for those read later; one without children is not kept.
    void Keep(const mmBlockRef& reference);

private:
    struct Key {
        int32_t blockId = -1;
        double scaleX = 1.0, scaleY = 1.0, rotation = 0.0;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const;
    };
    // The scales and rotation a reference ends up with (SetScale and SetRotation refuse some).
    static Key KeyOf(int32_t blockId, double scaleX, double scaleY, double rotation);
    std::unordered_map<Key, std::vector<mmChildList>, KeyHash> lists_;
};
