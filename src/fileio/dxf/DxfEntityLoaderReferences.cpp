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

// The style named by group 3 (ignoring case; else the current one) gives its values with
// arrowheads; the label the dimension's properties and the style's text colour when it is an
// index. The block name is "*D" and the id, whatever the file says.
bool DxfEntityLoader::readDimension() {
    DxfDimensionRecord record;
    const bool more = readDxfDimension(reader_, header_, record);
    auto d = std::make_shared<mmDimension>();
    const std::optional<int32_t> named =
        record.styleName.empty() ? std::nullopt
                                 : names_.DimStyle(reader_.strings().ToUtf16(record.styleName));
    const int32_t styleId = named.value_or(drawing_.currentDimStyleId);
    const DimStyle style = DimStyleById(drawing_, styleId);
    d->dimStyleId = styleId;
    mmDimStyleValues values = StyleValues(style);
    values.arrowKind = 0;
    d->SetStyleValues(values);
    d->InitLabel(glyphs_);
    d->InitParts();
    applyProperties(*d);
    d->dimType = static_cast<int16_t>(record.type & 31);
    d->ordinateAxis = static_cast<int16_t>((record.type >> 6) & 1);
    d->textRotation = record.textRotation;
    d->defPoints[0] = d->dimType == kDimRadius ? mmVertex(record.chordX, record.chordY)
                                               : mmVertex(record.ext1X, record.ext1Y);
    d->defPoints[1] = mmVertex(record.ext2X, record.ext2Y);
    d->defPoints[2] = mmVertex(record.defX, record.defY);
    d->defPoints[6] = mmVertex(record.textX, record.textY);
    d->label.CopyProperties(*d);
    if (style.textColor != kColorByBlock && style.textColor != kColorByLayer) {
        d->label.colorIndex = style.textColor;
        d->label.color = PaletteColor(style.textColor);
    }
    d->label.SetString(
        record.text.empty() ? std::string("0.0") : reader_.strings().ToUtf8(record.text), glyphs_);
    d->BuildDimension(glyphs_);
    add(d);
    d->SetBlockNameFromId();
    return more;
}
