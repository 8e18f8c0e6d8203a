// The tables, the blocks, the dispatch of entities to their conversions and the common
// properties every imported entity receives.
#include "fileio/dwg/DwgConverter.h"

#include <array>
#include <unordered_set>
#include <set>

#include "drawing/Drawing.h"
#include "drawing/LayerRules.h"
#include "drawing/Names.h"
#include "drawing/Palette.h"
#include "entities/Block.h"
#include "entities/BlockRef.h"
#include "entities/Dimension.h"
#include "fileio/PlanShapes.h"
#include "platform/Unicode.h"

namespace {

std::u16string wide(std::string_view utf8) {
    std::u16string out;
    kestrel::platform::utf8ToUtf16(utf8, out);
    return out;
}

// LibreDWG's lineweight numbers (0 to 23) in hundredths of a millimetre; the others are by
// layer, by block or the default.
int32_t lineWeightOf(int32_t number) {
    static constexpr std::array<int32_t, 24> kWeights = {0,  5,   9,   13,  15,  18,  20,  25,
                                                         30, 35,  40,  50,  53,  60,  70,  80,
                                                         90, 100, 106, 120, 140, 158, 200, 211};
    return number >= 0 && number < static_cast<int32_t>(kWeights.size()) ? kWeights[number] : -3;
}

// A layer's colour: a negative number marks a layer that is off; its colour is that of the
// number without the sign.
uint32_t layerColor(int32_t number) {
    if (number >= 0 && number <= 255) return PaletteColor(number);
    if (number < 0 && number >= -255) return PaletteColor(-number);
    return 0;
}

// A colour as LibreDWG gives it: an index, or from R2004 on a method in the top byte of rgb
// (when the method field is 0): by layer, by block, a true colour or an index in the low byte.
struct ColorValue {
    int32_t index = kColorByLayer;
    bool isTrue = false;
    uint32_t rgb = 0;  // 0x00RRGGBB, for a true colour
};

ColorValue colorValueOf(const DwgJson* c) {
    ColorValue v;
    if (!c) return v;
    v.index = dwgjson::integer(*c, "index", kColorByLayer);
    const uint32_t rgb = dwgjson::bits32(*c, "rgb");
    const int32_t field = dwgjson::integer(*c, "method");
    const uint32_t method = field != 0 ? static_cast<uint32_t>(field) : rgb >> 24;
    switch (method) {
        case 0xC0:
            v.index = kColorByLayer;
            break;
        case 0xC1:
            v.index = kColorByBlock;
            break;
        case 0xC2:
            v.isTrue = true;
            v.rgb = rgb & 0xFFFFFF;
            break;
        case 0xC3:
            // A negative index field still marks a layer that is off.
            v.index = static_cast<int32_t>(rgb & 0xFF) * (v.index < 0 ? -1 : 1);
            break;
        default:
            break;
    }
    return v;
}

}  // namespace

std::string_view DxfNameOfDwgType(std::string_view type) {
    if (type.substr(0, 10) == "DIMENSION_") return "DIMENSION";
    if (type == "POLYLINE_PFACE") return "POLYLINE (polyface mesh)";
    if (type == "POLYLINE_MESH") return "POLYLINE (polygon mesh)";
    if (type.substr(0, 9) == "POLYLINE_") return "POLYLINE";
    if (type == "MINSERT") return "INSERT";
    return type;
}

mmOcs DwgPlaneOf(const DwgJson& e) {
    const dwgjson::Point n = dwgjson::point(e, "extrusion");
    return mmOcs(n.x, n.y, n.z);
}

DwgConverter::DwgConverter(mmDrawing& drawing, const mmGlyphTable* glyphs, mmSpace* paper,
                           const DxfLoadLimits& limits)
    : drawing_(drawing),
      glyphs_(glyphs ? glyphs->weak_from_this().lock() : nullptr),
      paper_(paper),
      limits_(limits) {}

void DwgConverter::convertDimStyles(const DwgJson& list, bool replaceDefaults) {
    using namespace dwgjson;
    std::set<int32_t> replaceable;
    if (replaceDefaults)
        for (const auto& [id, style] : drawing_.dimStyles) replaceable.insert(id);
    for (const DwgJson& entry : list) {
        std::u16string name = wide(text(entry, "name"));
        DimStyle* existing = nullptr;
        for (auto& [id, style] : drawing_.dimStyles)
            if (!existing && style.id != -1 && NamesEqualIgnoringCase(style.name, name))
                existing = &style;
        if (existing && !replaceable.erase(existing->id)) continue;
        DimStyle s;
        s.id = existing ? existing->id : drawing_.nextDimStyleId++;
        s.name = existing ? existing->name : std::move(name);
        s.overallScale = real(entry, "DIMSCALE", 1.0);
        s.tickSize = real(entry, "DIMTSZ");
        s.linearFactor = real(entry, "DIMLFAC", 1.0);
        s.textHeight = real(entry, "DIMTXT");
        s.arrowSize = real(entry, "DIMASZ");
        s.extLineExtension = real(entry, "DIMEXE");
        s.extLineOffset = real(entry, "DIMEXO");
        s.textGap = real(entry, "DIMGAP");
        s.dimLineExtension = real(entry, "DIMDLE");
        s.dimLineColor = integer(entry, "DIMCLRD");
        s.extLineColor = integer(entry, "DIMCLRE");
        s.textColor = integer(entry, "DIMCLRT");
        s.textPlacement = integer(entry, "DIMTAD");
        if (hasText(entry, "DIMBLK1") && hasText(entry, "DIMBLK2")) {
            s.arrowBlock1 = wide(text(entry, "DIMBLK1"));
            s.arrowBlock2 = wide(text(entry, "DIMBLK2"));
        }
        s.arrowKind = s.tickSize > 0.0 ? 1 : 0;
        drawing_.dimStyles[s.id] = std::move(s);
    }
    if (drawing_.dimStyles.empty()) {
        const int32_t id = drawing_.nextDimStyleId++;
        drawing_.dimStyles[id] = DimStyle::Standard(id);
        drawing_.currentDimStyleId = id;
    }
}

void DwgConverter::convertLayers(const DwgJson& list) {
    using namespace dwgjson;
    for (const DwgJson& entry : list) {
        std::u16string name = wide(text(entry, "name"));
        if (const mmLayer* same = drawing_.FindLayerByName(name); same && same->id != -1) continue;
        const DwgJson* color = member(entry, "color");
        int32_t index = color ? colorValueOf(color).index : 7;
        // A layer has no colour by layer or by block.
        if (index == kColorByLayer || index == kColorByBlock) index = 7;
        mmLayer layer;
        layer.id = drawing_.nextLayerId++;
        layer.name = std::move(name);
        layer.colorIndex = index;
        layer.color = layerColor(index);
        layer.colorText = ColorText(layer.color);
        layer.show = index >= 0;  // a negative colour: off
        layer.frozen = integer(entry, "frozen") != 0;
        layer.locked = integer(entry, "locked") != 0;
        layer.selectable = !layer.locked;
        layer.linetype = 0;
        const int32_t weight = lineWeightOf(integer(entry, "linewt", 31));
        layer.lineWidth = weight > 9 ? weight / 10 : 1;
        drawing_.layers[layer.id] = std::move(layer);
    }
    // Entities find their layer by its exact name; the first layer of a name wins.
    layerIds_.clear();
    lastLayerValid_ = false;
    for (const auto& [id, layer] : drawing_.layers) {
        if (layer.id == -1) continue;
        std::string utf8;
        kestrel::platform::utf16ToUtf8(layer.name, utf8);
        layerIds_.emplace(std::move(utf8), layer.id);
    }
}

void DwgConverter::convertBlocks(const DwgJson& list) {
    using namespace dwgjson;
    std::unordered_set<std::u16string> taken;
    for (const auto& [id, block] : drawing_.blocks)
        if (block) taken.insert(block->name);
    // Ids in file order; the entities go in afterwards, a block's references' blocks first.
    std::vector<FileBlock*> order;
    for (const DwgJson& entry : list) {
        const std::string_view name = text(entry, "name");
        if (integer(entry, "layout") != 0 || IsLayoutBlockName(name)) {
            for (const DwgJson& e : array(entry, "entities")) {
                notImported(text(e, "type"));
                if (const std::size_t n = array(e, "attribs").size())
                    notImported("ATTRIB", static_cast<int64_t>(n));
            }
            continue;
        }
        if (name.empty()) continue;
        auto [it, fresh] = fileBlocks_.try_emplace(std::string(name));
        if (!fresh) continue;
        const bool anonymous = integer(entry, "anonymous") != 0 || name[0] == '*';
        std::u16string own = wide(name);
        if (anonymous)
            own = FreeAnonymousName(
                own, [&](const std::u16string& n) { return taken.count(n) != 0; },
                nextAnonymous_);
        taken.insert(own);
        const Point base = point(entry, "base_pt");
        it->second.entry = &entry;
        it->second.block = CreateBlock(drawing_.nextBlockId++, base.x, base.y,
                                       anonymous ? kBlockAnonymous : 0, std::move(own));
        order.push_back(&it->second);
    }
    for (FileBlock* b : order)
        fillBlock(*b);
}

void DwgConverter::fillBlock(FileBlock& b) {
    if (b.state != FileBlock::Pending) return;
    b.state = FileBlock::Converting;
    ++depth_;
    const mmBlock* outer = current_;
    current_ = b.block.get();
    Target target;
    target.block = b.block.get();
    for (const DwgJson& e : dwgjson::array(*b.entry, "entities")) convertEntity(e, target);
    current_ = outer;
    --depth_;
    b.state = FileBlock::Done;
    if (!b.block->entities.empty()) AddBlock(drawing_.ModelSpace(), b.block);
}

std::shared_ptr<mmBlock> DwgConverter::blockNamed(std::string_view name) {
    if (auto it = fileBlocks_.find(std::string(name)); it != fileBlocks_.end()) {
        FileBlock& b = it->second;
        if (b.state == FileBlock::Pending && depth_ < limits_.mostNesting) fillBlock(b);
        return b.state == FileBlock::Done && !b.block->entities.empty() ? b.block : nullptr;
    }
    return FindBlockByName(drawing_.blocks, wide(name));
}

void DwgConverter::convertSpaceEntity(const DwgJson& e, mmBlock* xref) {
    if (!e.is_object()) return;
    Target target;
    const int32_t mode = dwgjson::integer(e, "entmode");
    if (mode == 2 && xref) {
        target.block = xref;
    } else if (mode == 2) {
        target.space = &drawing_.ModelSpace();
    } else if (mode == 1 && paper_ && !xref) {
        target.space = paper_;
        target.paper = true;
    } else {
        return;
    }
    convertEntity(e, target);
}

DwgConverter::Converter DwgConverter::converterFor(std::string_view type) {
    struct Entry {
        std::string_view type;
        Converter convert;
    };
    static constexpr Entry kConverters[] = {
        {"LINE", &DwgConverter::convertLine},
        {"POINT", &DwgConverter::convertPoint},
        {"CIRCLE", &DwgConverter::convertCircle},
        {"ARC", &DwgConverter::convertArc},
        {"LWPOLYLINE", &DwgConverter::convertLwPolyline},
        {"POLYLINE_2D", &DwgConverter::convertPolyline2d},
        {"POLYLINE_3D", &DwgConverter::convertPolyline3d},
        {"3DFACE", &DwgConverter::convert3dFace},
        {"TEXT", &DwgConverter::convertText},
        {"MTEXT", &DwgConverter::convertMText},
        {"INSERT", &DwgConverter::convertInsert},
        {"DIMENSION_LINEAR", &DwgConverter::convertDimension},
        {"DIMENSION_ALIGNED", &DwgConverter::convertDimension},
        {"DIMENSION_ORDINATE", &DwgConverter::convertDimension},
        {"DIMENSION_ANG2LN", &DwgConverter::convertDimension},
        {"DIMENSION_ANG3PT", &DwgConverter::convertDimension},
        {"DIMENSION_RADIUS", &DwgConverter::convertDimension},
        {"DIMENSION_DIAMETER", &DwgConverter::convertDimension},
        {"ARC_DIMENSION", &DwgConverter::convertDimension},
        {"SPLINE", &DwgConverter::convertSpline},
        {"HATCH", &DwgConverter::convertHatch},
        {"ELLIPSE", &DwgConverter::convertEllipse},
        {"SOLID", &DwgConverter::convertSolid},
        {"TRACE", &DwgConverter::convertSolid},
        {"LEADER", &DwgConverter::convertLeader},
        {"XLINE", &DwgConverter::convertXLine},
        {"RAY", &DwgConverter::convertXLine},
        {"ATTDEF", &DwgConverter::convertAttributeDef},
        {"MINSERT", &DwgConverter::convertInsert},
    };
    for (const Entry& entry : kConverters)
        if (entry.type == type) return entry.convert;
    return nullptr;
}

void DwgConverter::convertEntity(const DwgJson& e, const Target& target) {
    const std::string_view type = dwgjson::text(e, "type");
    // An entity marked invisible is not shown in other programs: it is counted instead.
    if (dwgjson::integer(e, "invisible") != 0) {
        notImported(std::string(DxfNameOfDwgType(type)) + " (invisible)");
        if (const std::size_t attribs = dwgjson::array(e, "attribs").size())
            notImported("ATTRIB", static_cast<int64_t>(attribs));
        return;
    }
    if (type == "VIEWPORT" && !dwgjson::integer(e, "unreadable")) {
        convertViewport(e, target);
        return;
    }
    mmObjectPtr entity;
    Converter convert = dwgjson::integer(e, "unreadable") ? nullptr : converterFor(type);
    if (convert) entity = (this->*convert)(e);
    if (!entity) {
        notImported(type);
        // Attributes travel with their reference.
        if (const std::size_t attribs = dwgjson::array(e, "attribs").size())
            notImported("ATTRIB", static_cast<int64_t>(attribs));
        return;
    }
    applyProperties(*entity, e);
    add(entity, target);
    // Dimension blocks of DWG files have no distinct names before R2004 ("*D"): they are named
    // by the dimension's id then.
    if (entity->type == kTypeDimension) {
        auto& d = static_cast<mmDimension&>(*entity);
        const std::string_view name = dwgjson::text(e, "block");
        if (name.size() > 2)
            d.blockName = wide(name);
        else
            d.SetBlockNameFromId();
    }
    if (entity->type == kTypeBlockRef)
        PushIntoChildren(static_cast<mmBlockRef&>(*entity), drawing_.layers, glyphs_.get());
}

void DwgConverter::notImported(std::string_view dwgType, int64_t count) {
    const std::string_view name = DxfNameOfDwgType(dwgType.empty() ? "unknown" : dwgType);
    auto it = notImported_.find(name);
    if (it == notImported_.end()) it = notImported_.emplace(std::string(name), 0).first;
    it->second += count;
}

void DwgConverter::noteApproximation(const mmOcs& ocs, std::string_view dxfName, int32_t type,
                                     bool curved) {
    if (!ShownApproximately(ocs, type, curved)) return;
    auto it = approximated_.find(dxfName);
    if (it == approximated_.end()) it = approximated_.emplace(std::string(dxfName), 0).first;
    ++it->second;
}

int32_t DwgConverter::layerIdFor(std::string_view name) {
    // Entities of a drawing come layer by layer: the last answer is kept.
    if (lastLayerValid_ && name == lastLayerName_) return lastLayerId_;
    const auto it = layerIds_.find(std::string(name));
    lastLayerName_.assign(name);
    lastLayerId_ = it != layerIds_.end() ? it->second : drawing_.currentLayerId;
    lastLayerValid_ = true;
    return lastLayerId_;
}

void DwgConverter::applyProperties(mmObject& e, const DwgJson& source) {
    using namespace dwgjson;
    e.layerId = layerIdFor(text(source, "layer"));
    const mmLayer* layer = drawing_.FindLayer(e.layerId);
    const ColorValue color = colorValueOf(member(source, "color"));
    // A true colour is kept as its value (0x00BBGGRR) when that cannot be taken for an index.
    const uint32_t trueColor = color.isTrue ? MakeColor((color.rgb >> 16) & 0xFF,
                                                        (color.rgb >> 8) & 0xFF, color.rgb & 0xFF)
                                            : 0;
    if (trueColor > static_cast<uint32_t>(kColorByLayer)) {
        e.colorIndex = static_cast<int32_t>(trueColor);
        e.color = trueColor;
    } else {
        const int32_t index =
            color.index < 0 || color.index > kColorByLayer ? kColorByLayer : color.index;
        e.colorIndex = index;
        e.color = index == kColorByLayer   ? (layer ? layer->color : 0)
                  : index == kColorByBlock ? 0
                                           : PaletteColor(index);
    }
    if (layer) {
        e.visible = LayerShown(*layer);
        e.lineWidth = layer->lineWidth;
    }
    e.lineWidthSource = kLineWidthByLayer;
    e.erased = false;
    e.selected = false;
}

void DwgConverter::add(const mmObjectPtr& e, const Target& target) {
    if (mmBlock* block = target.block) {
        if (block->baseX != 0.0 || block->baseY != 0.0)
            TranslateEntity(*e, -block->baseX, -block->baseY);
        e->id = block->nextEntityId++;
        e->UpdateGrips();
        e->UpdateExtents();
        block->entities.push_back(e);
        return;
    }
    mmSpace& space = *target.space;
    e->id = space.nextEntityId;
    e->UpdateGrips();
    e->UpdateExtents();
    if (AddEntity(space, e)) ++space.nextEntityId;
}
