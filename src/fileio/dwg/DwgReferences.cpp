// Block references and dimensions from the decoded drawing.
#include <algorithm>

#include "drawing/DimStyleTable.h"
#include "drawing/Drawing.h"
#include "drawing/LayerRules.h"
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
// 14, 10, 15 and 16 (the first and second extension line origins, the definition point, the
// points of arcs and angles); a radius keeps its point on the circle (15) as the first.
struct DimensionKind {
    std::string_view type;
    int16_t dimType;
    const char* ext1;
    const char* ext2;
    const char* def;
    const char* arc;
    const char* arcLocation;
};

constexpr DimensionKind kDimensionKinds[] = {
    {"DIMENSION_LINEAR", kDimRotated, "xline1_pt", "xline2_pt", "def_pt", nullptr, nullptr},
    {"DIMENSION_ALIGNED", kDimAligned, "xline1_pt", "xline2_pt", "def_pt", nullptr, nullptr},
    {"DIMENSION_ANG2LN", kDimAngular, "xline1start_pt", "xline1end_pt", "xline2end_pt",
     "xline2start_pt", "def_pt"},
    {"DIMENSION_DIAMETER", kDimDiameter, nullptr, nullptr, "def_pt", "first_arc_pt", nullptr},
    {"DIMENSION_RADIUS", kDimRadius, "first_arc_pt", nullptr, "def_pt", nullptr, nullptr},
    {"DIMENSION_ANG3PT", kDimAngular3Point, "xline1_pt", "xline2_pt", "def_pt", "center_pt",
     nullptr},
    {"DIMENSION_ORDINATE", kDimOrdinate, "feature_location_pt", "leader_endpt", "def_pt", nullptr,
     nullptr},
    {"ARC_DIMENSION", kDimArcLength, "xline1_pt", "xline2_pt", "def_pt", "center_pt", nullptr},
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
    applyProperties(*ref, e);
    const mmOcs ocs = DwgPlaneOf(e);
    const Point at = point(e, "ins_pt");
    const Point scale = point(e, "scale");
    const mmInsertPlacement placed = PlaceInsert(ocs, {at.x, at.y, at.z},
                                                 real(e, "rotation") * kRadToDeg, scale.x, scale.y);
    ref->AddPoint(placed.x, placed.y);
    // A reference of the drawing made like an earlier one shows the earlier one's children,
    // copying nothing. References in blocks are copied (and counted) with their blocks.
    const bool pooled = current_ == nullptr;
    const bool shared = pooled && pool_.Share(*ref, *block, placed.scaleX, placed.scaleY,
                                              placed.rotation, drawing_.layers);
    if (!shared) {
        const BlockSize size = blockSize(*block);
        const int64_t copies = size.entities * ref->CellCount();
        if (size.depth + 1 > limits_.mostNesting || copies > limits_.mostCopiedEntities - copied_)
            return nullptr;
        ref->InstantiateBlock(*block, glyphs_);
        copied_ += copies;
        ref->SetScale(placed.scaleX, placed.scaleY, false);
        ref->SetRotation(placed.rotation, false);
    }
    noteApproximation(ocs, "INSERT", kTypeBlockRef, false);
    const std::size_t own = ref->children.size();
    addAttributes(e, *ref, mmVertex(placed.x, placed.y));
    if (pooled && !shared && ref->children.size() == own) {
        PushIntoChildren(*ref, drawing_.layers, glyphs_.get());
        pool_.Keep(*ref);
    }
    return ref;
}

// The entities of a dimension's block, placed as the DXF reader places them.
void DwgConverter::showDimensionBlock(mmDimension& d, const DwgJson& e) {
    const DwgJson& list = array(e, "block_entities");
    if (list.empty()) return;
    mmBlock scratch;
    Target target;
    target.block = &scratch;
    for (const DwgJson& entity : list)
        if (integer(entity, "invisible") == 0) convertEntity(entity, target);
    const Point base = point(e, "block_base"), at = point(e, "clone_ins_pt");
    if (!scratch.entities.empty()) d.ShowBlock(scratch.entities, base.x + at.x, base.y + at.y);
}

// Dimensions of every kind, with the points the DXF reader takes; built and showing the file's
// block as the DXF reader does. The style is the one named exactly so (else the current one);
// the label takes the dimension's properties and the style's text colour when that is an index.
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
    d->SetStyleValues(StyleValues(style));
    d->InitLabel(glyphs_);
    d->InitParts();
    applyProperties(*d, e);
    d->dimType = kind->dimType;
    // An ordinate measures along x when its own flag says so (DXF puts that in bit 64 of 70).
    d->ordinateAxis =
        static_cast<int16_t>(kind->dimType == kDimOrdinate ? integer(e, "flag2") & 1 : 0);
    d->textRotation = real(e, "text_rotation") * kRadToDeg;
    d->hasRotation = kind->dimType == kDimRotated;
    d->rotation = real(e, "dim_rotation") * kRadToDeg;
    d->textOverride = DwgDrawingText(text(e, "user_text"));
    d->defPoints[0] = vertexOf(e, kind->ext1);
    d->defPoints[1] = vertexOf(e, kind->ext2);
    d->defPoints[2] = vertexOf(e, kind->def);
    d->defPoints[6] = vertexOf(e, "text_midpt");
    d->arcPoint = vertexOf(e, kind->arc);
    d->arcLocation = vertexOf(e, kind->arcLocation);
    d->leaderLength = real(e, "leader_len");
    d->label.CopyProperties(*d);
    if (style.textColor != kColorByBlock && style.textColor != kColorByLayer) {
        d->label.colorIndex = style.textColor;
        d->label.color = PaletteColor(style.textColor);
    }
    d->label.SetString(d->textOverride.empty() ? std::string("0.0") : d->textOverride, glyphs_);
    d->BuildDimension(glyphs_);
    showDimensionBlock(*d, e);
    return d;
}
