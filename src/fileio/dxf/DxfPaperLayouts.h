// DxfPaperLayouts: the paper-space layouts of a DXF file as a load meets them. The blocks of paper
// space ("*Paper_Space", "*Paper_Space0" ...) are read as blocks of their own, so that their
// references find blocks the file defines later, and then handed to the layouts' paper spaces; the
// LAYOUT objects give the layouts their names and tab order through their block records.
#pragma once

#include <memory>
#include <string>
#include <vector>

class DxfLayout;
class DxfReader;
struct DxfBlockHeader;
class mmBlock;
struct mmSpace;

class DxfPaperLayouts {
public:
    // Without a layout the paper-space blocks are not kept.
    explicit DxfPaperLayouts(DxfLayout* layout) : layout_(layout) {}

    // The block to read a layout block's entities into: the active layout's ("*Paper_Space"), or
    // a further layout's; null for model space, for the blocks of "$" names and when layouts are
    // not kept.
    mmBlock* BlockFor(const DxfBlockHeader& header);
    // Whether a block BlockFor gave holds the active layout.
    bool IsActive(const mmBlock& block) const;
    // After the BLOCKS section: the blocks' entities go into their layouts' paper spaces.
    void FillSpaces();
    // The LAYOUT objects of the OBJECTS section, up to its end.
    void ReadObjects(DxfReader& reader);
    // At the end of the file: the layouts in tab order with their names; a paper space no LAYOUT
    // names comes after them without a name (the active one first), unless it is the only one.
    void Finish();

private:
    struct PaperBlock {
        std::string owner;  // handle of the block record
        std::shared_ptr<mmBlock> block;
        mmSpace* space = nullptr;
    };
    struct LayoutObject {
        std::u16string name;
        int order = 0;
        std::string record;  // handle of the block record
    };

    DxfLayout* layout_;
    std::vector<PaperBlock> blocks_;
    std::vector<LayoutObject> objects_;
};
