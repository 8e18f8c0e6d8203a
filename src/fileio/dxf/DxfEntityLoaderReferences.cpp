// Block references (INSERT, MINSERT) with their attributes and dimensions (DIMENSION) made from
// their records.
#include <algorithm>
#include <cmath>

#include "drawing/DimStyleTable.h"
#include "drawing/Drawing.h"
#include "drawing/LayerRules.h"
#include "drawing/Palette.h"
#include "entities/BlockRef.h"
#include "entities/Dimension.h"
#include "fileio/PlanShapes.h"
#include "fileio/dxf/DxfEntityLoader.h"
#include "platform/CodePage.h"

namespace {

using BlockSize = DxfEntityLoader::BlockSize;

BlockSize sizeOf(const mmEntityList& entities) {
    BlockSize size;
    for (const mmObjectPtr& e : entities) {
        if (!e || e->erased) continue;
        ++size.entities;
        if (e->type != kTypeBlockRef) continue;
        const BlockSize inner = sizeOf(static_cast<const mmBlockRef&>(*e).children);
        size.entities += inner.entities;
        size.depth = std::max(size.depth, inner.depth + 1);
    }
    return size;
}

}  // namespace

// Blocks found by a reference are complete (a block enters the table after its ENDBLK).
DxfEntityLoader::BlockSize DxfEntityLoader::blockSize(const mmBlock& block) {
    if (auto it = blockSizes_.find(&block); it != blockSizes_.end()) return it->second;
    const BlockSize size = sizeOf(block.entities);
    blockSizes_.emplace(&block, size);
    return size;
}

// A reference to a block of that exact name (an anonymous one of this file); dropped when there
// is none. When its copies would pass the bounds (its cells count once each) it is kept without
// them (unexpanded): it shows nothing but stays in the drawing and in the file. It is placed from
// its plane; the ATTRIBs that follow it become its children.
bool DxfEntityLoader::readInsert() {
    DxfInsertRecord record;
    bool more = readDxfInsert(reader_, header_, record);
    const std::u16string name = reader_.strings().ToUtf16(record.blockName);
    const mmBlockPtr block = names_.Block(name);
    // In a block, a reference may name a block the file defines later.
    if (header_.invisible || (!block && !target_.block)) {
        dropped(header_.invisible ? "INSERT (invisible)" : "INSERT");
        return readAttributes(nullptr, mmVertex(), more);
    }
    const mmOcs ocs = plane();
    const mmInsertPlacement at =
        PlaceInsert(ocs, {record.x, record.y, record.z}, record.rotation, record.scaleX,
                    record.scaleY);
    noteApproximation(ocs, "INSERT", kTypeBlockRef, false);
    auto ref = std::make_shared<mmBlockRef>();
    applyProperties(*ref);
    ref->AddPoint(at.x, at.y);
    ref->columns = std::clamp(record.columns, 1, 32767);
    ref->rows = std::clamp(record.rows, 1, 32767);
    ref->columnSpacing = std::isfinite(record.columnSpacing) ? record.columnSpacing : 0.0;
    ref->rowSpacing = std::isfinite(record.rowSpacing) ? record.rowSpacing : 0.0;
    // A reference of the drawing read like an earlier one shows the earlier one's children,
    // copying nothing. References in blocks are copied (and counted) with their blocks.
    const bool pooled = block && !target_.block;
    const bool shared =
        pooled && pool_.Share(*ref, *block, at.scaleX, at.scaleY, at.rotation, drawing_.layers);
    if (block && !shared) {
        instantiate(*ref, *block);
        ref->SetScale(at.scaleX, at.scaleY, false);
        ref->SetRotation(at.rotation, false);
    } else if (!block) {
        ref->blockName = name;
        forward_.push_back({target_.block, ref, name, at.scaleX, at.scaleY, at.rotation});
        ++forwardOwners_[target_.block];
    }
    add(ref);
    const std::size_t copies = ref->children.size();
    more = readAttributes(ref.get(), mmVertex(at.x, at.y), more);
    PushIntoChildren(*ref, drawing_.layers, glyphs_.get());
    if (pooled && !shared && ref->children.size() == copies) pool_.Keep(*ref);
    return more;
}

void DxfEntityLoader::instantiate(mmBlockRef& ref, const mmBlock& block) {
    const BlockSize size = blockSize(block);
    const int64_t copies = size.entities * ref.CellCount();
    if (size.depth + 1 > limits_.mostNesting || copies > limits_.mostCopiedEntities - copied_) {
        ref.blockId = block.id;
        ref.blockName = block.name;
        if (report_) ++report_->unexpanded;
        return;
    }
    ref.InstantiateBlock(block, glyphs_);
    copied_ += copies;
}

// Blocks are resolved before the references to them: a block still holding forward references
// waits, and what waits on itself in the end is dropped.
void DxfEntityLoader::resolveForwardReferences() {
    bool progress = true;
    while (progress && !forward_.empty()) {
        progress = false;
        for (std::size_t i = 0; i < forward_.size();) {
            if (!resolve(forward_[i])) {
                ++i;
                continue;
            }
            if (--forwardOwners_[forward_[i].owner] == 0) forwardOwners_.erase(forward_[i].owner);
            forward_.erase(forward_.begin() + static_cast<std::ptrdiff_t>(i));
            progress = true;
        }
    }
    for (const ForwardReference& f : forward_) dropForward(f);
    forward_.clear();
    forwardOwners_.clear();
}

bool DxfEntityLoader::resolve(const ForwardReference& f) {
    const mmBlockPtr block = names_.Block(f.name);
    if (!block) {
        dropForward(f);
        return true;
    }
    if (forwardOwners_.count(block.get())) return false;
    mmBlockRef& ref = *f.reference;
    // The attributes, placed already, are kept as they are.
    mmEntityList attributes;
    for (const mmObjectPtr& c : ref.children.Shared())
        if (c && c->type == kTypeAttribute) attributes.push_back(c);
    instantiate(ref, *block);
    ref.SetScale(f.scaleX, f.scaleY, false);
    ref.SetRotation(f.rotation, false);
    ref.children.insert(ref.children.end(), attributes.begin(), attributes.end());
    ref.UpdateExtents();
    PushIntoChildren(ref, drawing_.layers, glyphs_.get());
    blockSizes_.erase(f.owner);
    return true;
}

void DxfEntityLoader::dropForward(const ForwardReference& f) {
    mmEntityList& list = f.owner->entities;
    list.erase(std::remove(list.begin(), list.end(), f.reference), list.end());
    dropped("INSERT");
    for (const mmObjectPtr& c : f.reference->children.Shared())
        if (c && c->type == kTypeAttribute) dropped("ATTRIB");
}

// Attributes are kept relative to the insertion point (where the file put it), as the other
// children are; those of a reference that was dropped (null) are counted as dropped.
bool DxfEntityLoader::readAttributes(mmBlockRef* ref, const mmVertex& at, bool more) {
    bool any = false;
    while (more && reader_.code() == 0 && reader_.value() == "ATTRIB") {
        more = readDxfAttribute(reader_, header_, attribute_);
        if (!ref) {
            dropped("ATTRIB");
            continue;
        }
        mmObjectPtr a = attributeOf(false);
        TranslateEntity(*a, -at.x, -at.y);
        a->id = static_cast<int32_t>(ref->children.size());
        ref->children.push_back(std::move(a));
        any = true;
    }
    if (more && reader_.code() == 0 && reader_.value() == "SEQEND")
        more = reader_.skipToCodeZero();
    if (any) ref->UpdateExtents();
    return more;
}

void DxfEntityLoader::keepDimensionBlock(std::string_view name, std::shared_ptr<mmBlock> block) {
    dimensionBlocks_.insert_or_assign(std::string(name), std::move(block));
}

// The block's entities are in block coordinates: the file places them by the block's base
// point and the dimension's insertion point.
namespace {
void showFileBlock(mmDimension& d, const mmBlock& block, double dx, double dy) {
    if (!block.entities.empty()) d.ShowBlock(block.entities, block.baseX + dx, block.baseY + dy);
}
}  // namespace

void DxfEntityLoader::attachPendingDimensions() {
    for (const PendingDimension& p : pendingDimensions_) {
        const auto d = p.dimension.lock();
        const auto it = dimensionBlocks_.find(p.blockName);
        if (!d || it == dimensionBlocks_.end()) continue;
        showFileBlock(*d, *it->second, p.dx, p.dy);
    }
    pendingDimensions_.clear();
}

// The style named by group 3 (ignoring case; else the current one) gives its values; the label
// the dimension's properties and the style's text colour when it is an index. The dimension is
// built from its points and shows the file's block (group 2) when the file has it; that name is
// its block name.
bool DxfEntityLoader::readArcDimension() { return readDimensionOf(kDimArcLength); }

bool DxfEntityLoader::readDimensionOf(int16_t type) {
    DxfDimensionRecord record;
    const bool more = readDxfDimension(reader_, header_, record);
    auto d = std::make_shared<mmDimension>();
    const std::optional<int32_t> named =
        record.styleName.empty() ? std::nullopt
                                 : names_.DimStyle(reader_.strings().ToUtf16(record.styleName));
    const int32_t styleId = named.value_or(drawing_.currentDimStyleId);
    const DimStyle style = DimStyleById(drawing_, styleId);
    d->dimStyleId = styleId;
    d->SetStyleValues(StyleValues(style));
    d->InitLabel(glyphs_);
    d->InitParts();
    applyProperties(*d);
    d->dimType = type >= 0 ? type : static_cast<int16_t>(record.type & 31);
    d->ordinateAxis = static_cast<int16_t>(type >= 0 ? 0 : (record.type >> 6) & 1);
    d->textRotation = record.textRotation;
    d->rotation = record.rotation;
    d->hasRotation = d->dimType == kDimRotated;
    d->textOverride = reader_.strings().ToUtf8(record.text);
    const bool radius = d->dimType == kDimRadius;
    d->defPoints[0] = radius ? mmVertex(record.arcX, record.arcY) : mmVertex(record.ext1X, record.ext1Y);
    d->defPoints[1] = mmVertex(record.ext2X, record.ext2Y);
    d->defPoints[2] = mmVertex(record.defX, record.defY);
    d->defPoints[6] = mmVertex(record.textX, record.textY);
    if (!radius) d->arcPoint = mmVertex(record.arcX, record.arcY);
    d->arcLocation = mmVertex(record.arcLocationX, record.arcLocationY);
    d->leaderLength = record.leaderLength;
    d->label.CopyProperties(*d);
    if (style.textColor != kColorByBlock && style.textColor != kColorByLayer) {
        d->label.colorIndex = style.textColor;
        d->label.color = PaletteColor(style.textColor);
    }
    d->label.SetString(d->textOverride.empty() ? std::string("0.0") : d->textOverride, glyphs_);
    d->BuildDimension(glyphs_);
    if (const auto it = dimensionBlocks_.find(record.blockName); it != dimensionBlocks_.end()) {
        showFileBlock(*d, *it->second, record.insertX, record.insertY);
    } else if (!record.blockName.empty() && target_.block && reader_.insideBlock()) {
        const double baseX = target_.moveToBase ? target_.block->baseX : 0.0;
        const double baseY = target_.moveToBase ? target_.block->baseY : 0.0;
        pendingDimensions_.push_back(
            {d, record.blockName, record.insertX - baseX, record.insertY - baseY});
    }
    add(d);
    if (record.blockName.empty()) {
        d->SetBlockNameFromId();
    } else {
        // The drawing's name of the block (an anonymous one may have been renamed).
        d->blockName = reader_.strings().ToUtf16(record.blockName);
        if (const mmBlockPtr block = names_.Block(d->blockName)) d->blockName = block->name;
    }
    return more;
}
