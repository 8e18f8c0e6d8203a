// Copy on write of the entities references show, and the display lists prepared from them.
#include "entities/ChildList.h"

#include <algorithm>

#include "entities/DrawContext.h"

mmPreparedForms::~mmPreparedForms() { Clear(); }

void mmPreparedForms::Clear() {
    for (const Entry& e : entries_)
        if (const std::shared_ptr<mmDisplayListSpace> space = e.space.lock())
            space->Release(e.list, 1);
    entries_.clear();
}

uint32_t mmPreparedForms::Find(const mmDrawContext& dc, const Key& key) {
    // Contexts that are gone took their lists with them.
    std::erase_if(entries_, [](const Entry& e) { return e.space.expired(); });
    const std::shared_ptr<mmDisplayListSpace>& space = dc.ListSpace();
    for (const Entry& e : entries_)
        if (e.key == key && e.space.lock() == space) return e.list;
    return 0;
}

void mmPreparedForms::Keep(const mmDrawContext& dc, const Key& key, uint32_t list) {
    // One form per context and by-block colour: a zoom replaces the form of the old scale.
    const std::shared_ptr<mmDisplayListSpace>& space = dc.ListSpace();
    for (Entry& e : entries_)
        if (e.space.lock() == space && e.key.byBlockColor == key.byBlockColor &&
            e.key.mode == key.mode && e.key.primitive == key.primitive) {
            space->Release(e.list, 1);
            e.key = key;
            e.list = list;
            return;
        }
    entries_.push_back(Entry{space, key, list});
}

const mmEntityList& mmChildList::Empty() {
    static const mmEntityList none;
    return none;
}

mmEntityList& mmChildList::Own() {
    if (!data_) {
        data_ = std::make_shared<Data>();
    } else if (data_.use_count() > 1) {
        auto copy = std::make_shared<Data>();
        copy->entities.reserve(data_->entities.size());
        for (const mmObjectPtr& c : data_->entities) {
            if (!c) continue;
            mmObjectPtr e = CreateEntityOfType(c->type);
            if (!e) continue;
            e->CopyFrom(*c);
            copy->entities.push_back(std::move(e));
        }
        data_ = std::move(copy);
    } else {
        data_->forms.Clear();  // what was compiled from it is about to be out of date
    }
    return data_->entities;
}

void mmChildList::Assign(mmEntityList entities) {
    data_ = std::make_shared<Data>();
    data_->entities = std::move(entities);
}
