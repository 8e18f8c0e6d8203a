// DxfLayout: the paper-space layout that receives the paper-space entities of a file being read,
// and whose entities a save writes after the model space. The layout view implements it; files
// read here know nothing of views.
#pragma once

#include "drawing/Drawing.h"

class DxfLayout {
public:
    virtual ~DxfLayout() = default;
    virtual mmSpace& PaperSpace() = 0;
    virtual const mmSpace& PaperSpace() const = 0;
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
