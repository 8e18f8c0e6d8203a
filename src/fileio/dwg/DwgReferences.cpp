// Block references and dimensions from the decoded drawing.
#include "drawing/DimStyleTable.h"
#include "drawing/Drawing.h"
#include "drawing/Palette.h"
#include "entities/BlockRef.h"
#include "entities/Dimension.h"
#include "entities/Geometry.h"
#include "fileio/dwg/DwgConverter.h"
#include "platform/Unicode.h"

namespace {

using namespace dwgjson;
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

// DXF's dimension type of a LibreDWG dimension kind.
int16_t dimensionTypeOf(std::string_view type) {
    if (type == "DIMENSION_ALIGNED") return kDimAligned;
    if (type == "DIMENSION_ORDINATE") return kDimOrdinate;
    return kDimRotated;
}

}  // namespace

DxfEntityLoader::BlockSize DwgConverter::blockSize(const mmBlock& block) {
    if (auto it = blockSizes_.find(&block); it != blockSizes_.end()) return it->second;
    const BlockSize size = sizeOf(block.entities);
    blockSizes_.emplace(&block, size);
    return size;
}

// A reference to a block of the file (or, for an XREF, of the drawing) by its name. Left out
// when the reference names no block, the block is missing or empty, it is the block being
// converted, or its copies would pass the bounds.
mmObjectPtr DwgConverter::convertInsert(const DwgJson& e) {
    if (!hasText(e, "block_header")) return nullptr;
    const std::shared_ptr<mmBlock> block = blockNamed(text(e, "block_header"));
    if (!block || block.get() == current_) return nullptr;
    const BlockSize size = blockSize(*block);
    if (size.depth + 1 > limits_.mostNesting ||
        size.entities > limits_.mostCopiedEntities - copied_)
        return nullptr;
    auto ref = std::make_shared<mmBlockRef>();
    applyProperties(*ref, e);
    const Point at = point(e, "ins_pt");
    ref->AddPoint(at.x, at.y);
    const mmBlockTable only{{block->id, block}};
    ref->InstantiateBlock(block->name, only, glyphs_);
    copied_ += size.entities;
    const Point scale = point(e, "scale");
    ref->SetScale(scale.x, scale.y, false);
    ref->SetRotation(real(e, "rotation") * kRadToDeg, false);
    return ref;
}

// Linear, aligned and ordinate dimensions. The style is the one named exactly so (else the
// current one); the label takes the dimension's properties and the style's text colour when
// that is an index; the block name is "*D" and the id.
mmObjectPtr DwgConverter::convertDimension(const DwgJson& e) {
    const std::string_view type = text(e, "type");
    std::u16string styleName;
    kestrel::platform::utf8ToUtf16(text(e, "dimstyle"), styleName);
    const DimStyle* named =
        styleName.empty() ? nullptr : FindDimStyleByName(drawing_, styleName, mmNameMatch::Exact);
    const int32_t styleId = named ? named->id : drawing_.currentDimStyleId;
    const DimStyle style = DimStyleById(drawing_, styleId);
    auto d = std::make_shared<mmDimension>();
    d->dimStyleId = styleId;
    mmDimStyleValues values = StyleValues(style);
    values.arrowKind = 0;
    d->SetStyleValues(values);
    d->InitLabel(glyphs_);
    d->InitParts();
    applyProperties(*d, e);
    d->dimType = dimensionTypeOf(type);
    d->ordinateAxis = static_cast<int16_t>((integer(e, "flag") >> 6) & 1);
    d->textRotation = real(e, "text_rotation") * kRadToDeg;
    const bool ordinate = d->dimType == kDimOrdinate;
    const Point ext1 = point(e, ordinate ? "feature_location_pt" : "xline1_pt");
    const Point ext2 = point(e, ordinate ? "leader_endpt" : "xline2_pt");
    const Point def = point(e, "def_pt");
    const Point mid = point(e, "text_midpt");
    d->defPoints[0] = mmVertex(ext1.x, ext1.y);
    d->defPoints[1] = mmVertex(ext2.x, ext2.y);
    d->defPoints[2] = mmVertex(def.x, def.y);
    d->defPoints[6] = mmVertex(mid.x, mid.y);
    d->label.CopyProperties(*d);
    if (style.textColor != kColorByBlock && style.textColor != kColorByLayer) {
        d->label.colorIndex = style.textColor;
        d->label.color = PaletteColor(style.textColor);
    }
    const std::string bytes = DwgTextBytes(text(e, "user_text"), kTextCapacity - 1);
    d->label.SetString(bytes.empty() ? std::string_view("0.0") : std::string_view(bytes), glyphs_);
    d->BuildDimension(glyphs_);
    return d;
}
