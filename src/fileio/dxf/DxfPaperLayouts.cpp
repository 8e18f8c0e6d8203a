// The layouts of a DXF file: paper-space blocks, LAYOUT objects and their match.
#include "fileio/dxf/DxfPaperLayouts.h"

#include <algorithm>

#include "drawing/Drawing.h"
#include "entities/Block.h"
#include "fileio/dxf/DxfLayout.h"
#include "fileio/dxf/DxfReader.h"

namespace {

// The name without its leading "*", in capitals.
std::string upperTail(std::string_view name) {
    std::string out;
    for (std::size_t i = 1; i < name.size(); ++i) {
        const char c = name[i];
        out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    }
    return out;
}

// Handles are hexadecimal, in either letter case.
bool sameHandle(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return (x >= 'a' && x <= 'z' ? x - 32 : x) == (y >= 'a' && y <= 'z' ? y - 32 : y);
    });
}

}  // namespace

mmBlock* DxfPaperLayouts::BlockFor(const DxfBlockHeader& header) {
    if (!layout_ || header.name.empty() || header.name[0] != '*') return nullptr;
    const std::string tail = upperTail(header.name);
    if (!tail.starts_with("PAPER_SPACE")) return nullptr;
    mmSpace* space =
        tail.size() == 11 ? &layout_->PaperSpace() : layout_->AddPaperSpace();
    if (!space) return nullptr;
    // A second block for the active layout adds to it.
    for (const PaperBlock& b : blocks_)
        if (b.space == space) return b.block.get();
    auto block = std::make_shared<mmBlock>();
    blocks_.push_back({header.owner, block, space});
    return block.get();
}

bool DxfPaperLayouts::IsActive(const mmBlock& block) const {
    for (const PaperBlock& b : blocks_)
        if (b.block.get() == &block) return b.space == &layout_->PaperSpace();
    return false;
}

void DxfPaperLayouts::FillSpaces() {
    for (PaperBlock& b : blocks_) {
        for (const mmObjectPtr& e : b.block->entities) {
            if (!e) continue;
            e->id = b.space->nextEntityId;
            e->UpdateExtents();
            if (AddEntity(*b.space, e)) ++b.space->nextEntityId;
        }
        b.block->entities.clear();
    }
}

void DxfPaperLayouts::ReadObjects(DxfReader& reader) {
    bool inLayout = false;
    bool layoutData = false;  // in the AcDbLayout groups
    LayoutObject current;
    const auto keep = [&] {
        if (inLayout && !current.record.empty()) objects_.push_back(std::move(current));
        current = LayoutObject();
    };
    while (reader.readGroup()) {
        if (reader.code() == 0) {
            keep();
            if (reader.value() == "ENDSEC" || reader.value() == "SECTION") {
                if (reader.value() == "SECTION") reader.stepBack();
                break;
            }
            inLayout = reader.value() == "LAYOUT";
            layoutData = false;
            continue;
        }
        if (!inLayout) continue;
        if (reader.code() == 100) {
            layoutData = reader.value() == "AcDbLayout";
        } else if (layoutData && reader.code() == 1) {
            current.name = reader.strings().ToUtf16(reader.value());
        } else if (layoutData && reader.code() == 71) {
            current.order = reader.intValue();
        } else if (layoutData && reader.code() == 330) {
            current.record.assign(reader.value());
        }
    }
    keep();
    reader.endSection();
}

void DxfPaperLayouts::Finish() {
    if (!layout_) return;
    std::stable_sort(objects_.begin(), objects_.end(),
                     [](const LayoutObject& a, const LayoutObject& b) { return a.order < b.order; });
    std::vector<DxfLayoutEntry> entries;
    std::vector<const mmSpace*> named;
    for (const LayoutObject& o : objects_) {
        const auto b = std::find_if(blocks_.begin(), blocks_.end(), [&](const PaperBlock& p) {
            return !p.owner.empty() && sameHandle(p.owner, o.record);
        });
        if (b == blocks_.end() || std::count(named.begin(), named.end(), b->space)) continue;
        named.push_back(b->space);
        entries.push_back({o.name, b->space});
    }
    const mmSpace* active = &layout_->PaperSpace();
    const bool activeNamed = std::count(named.begin(), named.end(), active) > 0;
    if (!activeNamed) entries.insert(entries.begin(), {u"", active});
    for (const PaperBlock& b : blocks_)
        if (!std::count(named.begin(), named.end(), b.space) && b.space != active)
            entries.push_back({u"", b.space});
    // A file of one paper space that no LAYOUT names (R12) keeps the layout's own name.
    if (entries.size() > 1 || activeNamed) layout_->SetLayouts(std::move(entries));
}
