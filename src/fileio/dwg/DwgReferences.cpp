// Block references and dimensions from the decoded drawing.
#include <algorithm>

#include "drawing/DimStyleTable.h"
#include "drawing/Drawing.h"
#include "drawing/Palette.h"
#include "entities/BlockRef.h"
#include "entities/Dimension.h"
#include "entities/Geometry.h"
#include "fileio/PlanShapes.h"
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

// The dimension kinds: DXF's type number and the fields that give the points DXF writes as 13,
// 14 and 10 (the first and second extension line origins and the definition point).
struct DimensionKind {
    std::string_view type;
    int16_t dimType;
    const char* ext1;
    const char* ext2;
    const char* def;
};

constexpr DimensionKind kDimensionKinds[] = {
    {"DIMENSION_LINEAR", kDimRotated, "xline1_pt", "xline2_pt", "def_pt"},
    {"DIMENSION_ALIGNED", kDimAligned, "xline1_pt", "xline2_pt", "def_pt"},
    {"DIMENSION_ANG2LN", 2, "xline1start_pt", "xline1end_pt", "xline2end_pt"},
    {"DIMENSION_DIAMETER", 3, nullptr, nullptr, "def_pt"},
    {"DIMENSION_RADIUS", kDimRadius, "first_arc_pt", nullptr, "def_pt"},
    {"DIMENSION_ANG3PT", 5, "xline1_pt", "xline2_pt", "def_pt"},
    {"DIMENSION_ORDINATE", kDimOrdinate, "feature_location_pt", "leader_endpt", "def_pt"},
};

const DimensionKind* dimensionKindOf(std::string_view type) {
    for (const DimensionKind& k : kDimensionKinds)
        if (k.type == type) return &k;
    return nullptr;
}

mmVertex vertexOf(const DwgJson& e, const char* field) {
    if (!field) return mmVertex(0.0, 0.0);
    const Point p = point(e, field);
    return mmVertex(p.x, p.y);
}

}  // namespace

DxfEntityLoader::BlockSize DwgConverter::blockSize(const mmBlock& block) {
    if (auto it = blockSizes_.find(&block); it != blockSizes_.end()) return it->second;
    const BlockSize size = sizeOf(block.entities);
    blockSizes_.emplace(&block, size);
    return size;
}

// A reference to a block of the file (or, for an XREF, of the drawing) by its name, placed from
// its plane, with its cells (MINSERT) and its attributes. Left out when the reference names no
// block, the block is missing or empty, it is the block being converted, or its copies would pass
// the bounds.
mmObjectPtr DwgConverter::convertInsert(const DwgJson& e) {
    if (!hasText(e, "block_header")) return nullptr;
    const std::shared_ptr<mmBlock> block = blockNamed(text(e, "block_header"));
    if (!block || block.get() == current_) return nullptr;
    auto ref = std::make_shared<mmBlockRef>();
    ref->columns = std::clamp(integer(e, "num_cols", 1), 1, 32767);
    ref->rows = std::clamp(integer(e, "num_rows", 1), 1, 32767);
    ref->columnSpacing = real(e, "col_spacing");
    ref->rowSpacing = real(e, "row_spacing");
    const BlockSize size = blockSize(*block);
    const int64_t copies = size.entities * ref->CellCount();
    if (size.depth + 1 > limits_.mostNesting || copies > limits_.mostCopiedEntities - copied_)
        return nullptr;
    applyProperties(*ref, e);
    const mmOcs ocs = DwgPlaneOf(e);
    const Point at = point(e, "ins_pt");
    const Point scale = point(e, "scale");
    const mmInsertPlacement placed = PlaceInsert(ocs, {at.x, at.y, at.z},
                                                 real(e, "rotation") * kRadToDeg, scale.x, scale.y);
    noteApproximation(ocs, "INSERT", kTypeBlockRef, false);
    ref->AddPoint(placed.x, placed.y);
    const mmBlockTable only{{block->id, block}};
    ref->InstantiateBlock(block->name, only, glyphs_);
    copied_ += copies;
    ref->SetScale(placed.scaleX, placed.scaleY, false);
    ref->SetRotation(placed.rotation, false);
    addAttributes(e, *ref, mmVertex(placed.x, placed.y));
    return ref;
}

// Dimensions of every kind, with the points the DXF reader takes (only rotated, aligned, radius
// and ordinate ones are built and drawn). The style is the one named exactly so (else the current
// one); the label takes the dimension's properties and the style's text colour when that is an
// index; the block name is "*D" and the id.
mmObjectPtr DwgConverter::convertDimension(const DwgJson& e) {
    const DimensionKind* kind = dimensionKindOf(text(e, "type"));
    if (!kind) return nullptr;
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
    d->dimType = kind->dimType;
    // An ordinate measures along x when its own flag says so (DXF puts that in bit 64 of 70).
    d->ordinateAxis =
        static_cast<int16_t>(kind->dimType == kDimOrdinate ? integer(e, "flag2") & 1 : 0);
    d->textRotation = real(e, "text_rotation") * kRadToDeg;
    d->defPoints[0] = vertexOf(e, kind->ext1);
    d->defPoints[1] = vertexOf(e, kind->ext2);
    d->defPoints[2] = vertexOf(e, kind->def);
    d->defPoints[6] = vertexOf(e, "text_midpt");
    d->label.CopyProperties(*d);
    if (style.textColor != kColorByBlock && style.textColor != kColorByLayer) {
        d->label.colorIndex = style.textColor;
        d->label.color = PaletteColor(style.textColor);
    }
    const std::string label = DwgDrawingText(text(e, "user_text"));
    d->label.SetString(label.empty() ? std::string_view("0.0") : std::string_view(label), glyphs_);
    d->BuildDimension(glyphs_);
    return d;
}
