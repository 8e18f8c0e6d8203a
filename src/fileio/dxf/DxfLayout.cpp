// The layouts of a file as a list: those a save is given, or those a read makes.
#include "fileio/dxf/DxfLayout.h"

#include <algorithm>

DxfLayoutList::DxfLayoutList() {
    owned_.push_back(std::make_unique<mmSpace>());
    active_ = owned_.back().get();
    layouts_.push_back({u"Layout1", active_});
}

mmSpace* DxfLayoutList::AddPaperSpace() {
    if (owned_.size() >= kMostLayouts) return nullptr;
    owned_.push_back(std::make_unique<mmSpace>());
    return owned_.back().get();
}

std::size_t DxfLayoutList::ActiveIndex() const {
    for (std::size_t i = 0; i < layouts_.size(); ++i)
        if (layouts_[i].space == active_) return i;
    return 0;
}

mmSpace& DxfLayoutList::SpaceOf(std::size_t i) {
    const mmSpace* wanted = i < layouts_.size() ? layouts_[i].space : active_;
    for (const auto& space : owned_)
        if (space.get() == wanted) return *space;
    return *active_;
}
