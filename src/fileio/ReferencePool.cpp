// Sharing the children of references made alike while a file is read.
#include "fileio/ReferencePool.h"

#include <cmath>
#include <functional>

#include "drawing/LayerRules.h"

namespace {

// Looks (layers and colours pushed into the children) kept for one block, scales and rotation:
// enough for the layers a symbol is usually put on, without a search growing with the file.
constexpr std::size_t kMostLooks = 16;

}  // namespace

std::size_t mmReferencePool::KeyHash::operator()(const Key& k) const {
    const std::hash<double> h;
    std::size_t seed = std::hash<int32_t>()(k.blockId);
    for (const double v : {k.scaleX, k.scaleY, k.rotation})
        seed ^= h(v) + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
    return seed;
}

mmReferencePool::Key mmReferencePool::KeyOf(int32_t blockId, double scaleX, double scaleY,
                                            double rotation) {
    Key key;
    key.blockId = blockId;
    if (std::isfinite(scaleX) && std::isfinite(scaleY) && scaleX != 0.0 && scaleY != 0.0) {
        key.scaleX = scaleX;
        key.scaleY = scaleY;
    }
    if (std::isfinite(rotation)) key.rotation = rotation;
    return key;
}

bool mmReferencePool::Share(mmBlockRef& reference, const mmBlock& block, double scaleX,
                            double scaleY, double rotation,
                            const std::map<int32_t, mmLayer>& layers) {
    const Key key = KeyOf(block.id, scaleX, scaleY, rotation);
    const auto it = lists_.find(key);
    if (it == lists_.end()) return false;
    for (const mmChildList& children : it->second) {
        reference.children.ShareWith(children);
        if (PushWouldChange(reference, layers)) continue;
        reference.blockId = block.id;
        reference.blockName = block.name;
        reference.scaleX = key.scaleX;
        reference.scaleY = key.scaleY;
        reference.rotation = key.rotation;
        reference.UpdateExtents();
        return true;
    }
    reference.children.clear();
    return false;
}

void mmReferencePool::Keep(const mmBlockRef& reference) {
    const mmEntityList& children = reference.children.Shared();
    if (children.empty()) return;
    std::vector<mmChildList>& looks =
        lists_[KeyOf(reference.blockId, reference.scaleX, reference.scaleY, reference.rotation)];
    for (const mmChildList& kept : looks)
        if (kept.SameAs(reference.children)) return;
    if (looks.size() < kMostLooks) looks.push_back(reference.children);
}
