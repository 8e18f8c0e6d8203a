// mmChildList: the entities a block reference shows, shared between references made alike (the
// same block, scales, rotation and looks) until one of them changes its own: reading never
// copies; every way of writing first gives the reference its own deep copy when another
// reference still shares the list (copy on write). A list while shared is never changed, so what
// is prepared from it (mmPreparedForms) stays valid for as long as it is shared.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "entities/Object.h"

class mmDrawContext;
struct mmDisplayListSpace;

// Display lists compiled from a shared list, one per drawing context and look (by-block colour,
// draw mode, scale in pixels per unit, detail); given back to their context when the list goes.
class mmPreparedForms {
public:
    struct Key {
        uint32_t byBlockColor = 0;
        int mode = 0;
        int primitive = 0;
        float pixelsPerUnit = 0.0f;
        float detailPixels = 0.0f;
        bool operator==(const Key&) const = default;
    };
    mmPreparedForms() = default;
    mmPreparedForms(const mmPreparedForms&) = delete;
    mmPreparedForms& operator=(const mmPreparedForms&) = delete;
    ~mmPreparedForms();

    // The list compiled for the context and key, 0 when none is yet.
    uint32_t Find(const mmDrawContext& dc, const Key& key);
    void Keep(const mmDrawContext& dc, const Key& key, uint32_t list);
    // Gives every list back (the entities are about to change).
    void Clear();

private:
    struct Entry {
        std::weak_ptr<mmDisplayListSpace> space;
        Key key;
        uint32_t list = 0;
    };
    std::vector<Entry> entries_;
};

class mmChildList {
public:
    using value_type = mmObjectPtr;
    using const_iterator = mmEntityList::const_iterator;
    using iterator = mmEntityList::iterator;

    // Reading, never copying.
    const mmEntityList& Shared() const { return data_ ? data_->entities : Empty(); }
    std::size_t size() const { return Shared().size(); }
    bool empty() const { return Shared().empty(); }
    const_iterator begin() const { return Shared().begin(); }
    const_iterator end() const { return Shared().end(); }
    const mmObjectPtr& operator[](std::size_t i) const { return Shared()[i]; }
    const mmObjectPtr& at(std::size_t i) const { return Shared().at(i); }
    operator const mmEntityList&() const { return Shared(); }  // NOLINT: reads as the list

    // Writing: the reference's own list (a deep copy first while it is shared).
    mmEntityList& Own();
    iterator begin() { return Own().begin(); }
    iterator end() { return Own().end(); }
    mmObjectPtr& operator[](std::size_t i) { return Own()[i]; }
    mmObjectPtr& at(std::size_t i) { return Own().at(i); }
    operator mmEntityList&() { return Own(); }  // NOLINT: writes as the list
    void push_back(mmObjectPtr e) { Own().push_back(std::move(e)); }
    template <class It>
    void insert(const_iterator /*at end*/, It first, It last) {
        mmEntityList& own = Own();
        own.insert(own.end(), first, last);
    }
    // A new, empty list of the reference's own (nothing is copied).
    void clear() { data_.reset(); }
    // Takes the entities as the reference's own list.
    void Assign(mmEntityList entities);
    mmChildList& operator=(mmEntityList entities) {
        Assign(std::move(entities));
        return *this;
    }

    // Shows the other reference's list without copying it.
    void ShareWith(const mmChildList& other) { data_ = other.data_; }
    // Another reference (or a loader's pool) holds the same list.
    bool IsShared() const { return data_ && data_.use_count() > 1; }
    // The same list as the other one's (both may be empty).
    bool SameAs(const mmChildList& other) const { return data_ == other.data_; }
    // Forms prepared from the list for drawing; null when it has none to share.
    mmPreparedForms* Forms() const { return data_ ? &data_->forms : nullptr; }

private:
    struct Data {
        mmEntityList entities;
        mmPreparedForms forms;
    };
    static const mmEntityList& Empty();
    std::shared_ptr<Data> data_;
};
