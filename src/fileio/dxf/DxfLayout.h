// DxfLayout: the paper-space layouts a file is read into and saved from. The active layout owns
// the file's "*Paper_Space": the paper-space entities of the ENTITIES section (and all of an R12
// file's) are its own. A DXF 2000 file holds further layouts in "*Paper_Space0", "*Paper_Space1"
// ... blocks, named by its LAYOUT objects. The layout views implement it; files read here know
// nothing of views.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "drawing/Drawing.h"

// A layout of a file: its name and its paper space.
struct DxfLayoutEntry {
    std::u16string name;
    const mmSpace* space = nullptr;
};

class DxfLayout {
public:
    virtual ~DxfLayout() = default;
    // The active layout's paper space.
    virtual mmSpace& PaperSpace() = 0;
    virtual const mmSpace& PaperSpace() const = 0;

    // Reading: the paper space of a further layout of the file, for the loader to fill; null when
    // only the active layout is kept (the others' entities are then not read).
    virtual mmSpace* AddPaperSpace() { return nullptr; }
    // Reading, once the file named its layouts: every layout in tab order, with PaperSpace() or
    // a space AddPaperSpace() gave.
    virtual void SetLayouts(std::vector<DxfLayoutEntry> /*layouts*/) {}
    // Saving: every layout in tab order; the active one is that of PaperSpace().
    virtual std::vector<DxfLayoutEntry> Layouts() const {
        return {{u"Layout1", &PaperSpace()}};
    }
};

// A layout that is nothing but a paper space (tests, batch conversions).
class DxfSpaceLayout : public DxfLayout {
public:
    explicit DxfSpaceLayout(mmSpace& space) : space_(space) {}
    mmSpace& PaperSpace() override { return space_; }
    const mmSpace& PaperSpace() const override { return space_; }

private:
    mmSpace& space_;
};

// Every layout of a file: those given (saving), or those read (reading starts with an empty
// active paper space named "Layout1" and keeps the spaces it hands out, kMostLayouts in all: a
// file cannot make a tab for each of a million blocks).
class DxfLayoutList : public DxfLayout {
public:
    static constexpr std::size_t kMostLayouts = 255;

    DxfLayoutList();
    // The layouts in tab order, spaces the caller keeps; active (one of them) owns the file's
    // paper space.
    DxfLayoutList(std::vector<DxfLayoutEntry> layouts, mmSpace& active)
        : layouts_(std::move(layouts)), active_(&active) {}

    mmSpace& PaperSpace() override { return *active_; }
    const mmSpace& PaperSpace() const override { return *active_; }
    mmSpace* AddPaperSpace() override;
    void SetLayouts(std::vector<DxfLayoutEntry> layouts) override { layouts_ = std::move(layouts); }
    std::vector<DxfLayoutEntry> Layouts() const override { return layouts_; }
    // The position of the active layout among Layouts().
    std::size_t ActiveIndex() const;
    // Reading: the space of Layouts()[i], to take its entities.
    mmSpace& SpaceOf(std::size_t i);

private:
    std::vector<std::unique_ptr<mmSpace>> owned_;
    std::vector<DxfLayoutEntry> layouts_;
    mmSpace* active_ = nullptr;
};
