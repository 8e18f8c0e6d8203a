// Block references (INSERT) and dimensions (DIMENSION) made from their records.
#include "drawing/DimStyleTable.h"
#include "drawing/Drawing.h"
#include "drawing/LayerRules.h"
#include "drawing/Palette.h"
#include "entities/BlockRef.h"
#include "entities/Dimension.h"
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

// A reference to a block of that exact name; dropped when there is none (anonymous blocks are
// never read). When its copies would pass the bounds it is kept without them (unexpanded): it
// shows nothing but stays in the drawing and in the file.
bool DxfEntityLoader::readInsert() {
    DxfInsertRecord record;
    const bool more = readDxfInsert(reader_, header_, record);
    const std::u16string name = reader_.strings().ToUtf16(record.blockName);
    const mmBlockPtr block = names_.Block(name);
    if (!block) {
        dropped("INSERT");
        return more;
    }
    auto ref = std::make_shared<mmBlockRef>();
    applyProperties(*ref);
    ref->AddPoint(record.x, record.y);
    const BlockSize size = blockSize(*block);
    if (size.depth + 1 > limits_.mostNesting ||
        size.entities > limits_.mostCopiedEntities - copied_) {
        ref->blockId = block->id;
        ref->blockName = block->name;
        if (report_) ++report_->unexpanded;
    } else {
        ref->InstantiateBlock(*block, glyphs_);
        copied_ += size.entities;
    }
    ref->SetScale(record.scaleX, record.scaleY, false);
    ref->SetRotation(record.rotation, false);
    add(ref);
    PushIntoChildren(*ref, drawing_.layers, glyphs_.get());
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
    if (record.blockName.empty())
        d->SetBlockNameFromId();
    else
        d->blockName = reader_.strings().ToUtf16(record.blockName);
    return more;
}
