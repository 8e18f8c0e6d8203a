// The map from entity id to position in a space's entity list. Ids come from a counter, so they
// are dense: small ids live in a flat table, any others in an ordered map.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

class mmEntityIndex {
public:
    // Inserts (id, position) unless the id is present; returns whether it was inserted.
    bool insert(int32_t id, int32_t position);
    // Sets the position of an id, inserting it if needed (reordering).
    void assign(int32_t id, int32_t position);
    std::optional<int32_t> find(int32_t id) const;
    bool contains(int32_t id) const { return find(id).has_value(); }
    void erase(int32_t id);
    void clear();
    std::size_t size() const { return count_; }

private:
    static constexpr int32_t kAbsent = -1;
    static constexpr int32_t kDenseLimit = 1 << 26;  // ids at or beyond this go to the map
    std::vector<int32_t> dense_;
    std::map<int32_t, int32_t> sparse_;
    std::size_t count_ = 0;
};
