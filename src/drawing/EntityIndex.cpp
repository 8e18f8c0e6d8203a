// Flat-table entity index.
#include "drawing/EntityIndex.h"

bool mmEntityIndex::insert(int32_t id, int32_t position) {
    if (id < 0) return false;
    if (id < kDenseLimit) {
        if (static_cast<std::size_t>(id) >= dense_.size()) {
            std::size_t grown = dense_.size() < 1024 ? 1024 : dense_.size() * 2;
            while (grown <= static_cast<std::size_t>(id)) grown *= 2;
            dense_.resize(grown, kAbsent);
        }
        if (dense_[id] != kAbsent) return false;
        dense_[id] = position;
        ++count_;
        return true;
    }
    const bool inserted = sparse_.emplace(id, position).second;
    if (inserted) ++count_;
    return inserted;
}

void mmEntityIndex::assign(int32_t id, int32_t position) {
    if (!insert(id, position)) {
        if (id < kDenseLimit)
            dense_[id] = position;
        else
            sparse_[id] = position;
    }
}

std::optional<int32_t> mmEntityIndex::find(int32_t id) const {
    if (id < 0) return std::nullopt;
    if (id < kDenseLimit) {
        if (static_cast<std::size_t>(id) >= dense_.size() || dense_[id] == kAbsent)
            return std::nullopt;
        return dense_[id];
    }
    auto it = sparse_.find(id);
    if (it == sparse_.end()) return std::nullopt;
    return it->second;
}

void mmEntityIndex::erase(int32_t id) {
    if (id < 0) return;
    if (id < kDenseLimit) {
        if (static_cast<std::size_t>(id) < dense_.size() && dense_[id] != kAbsent) {
            dense_[id] = kAbsent;
            --count_;
        }
        return;
    }
    count_ -= sparse_.erase(id);
}

void mmEntityIndex::clear() {
    dense_.clear();
    sparse_.clear();
    count_ = 0;
}
