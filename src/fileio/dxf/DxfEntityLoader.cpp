// Entity reading: the dispatch by entity name, the entity readers, and the common properties
// every entity read from a file receives.
#include "fileio/dxf/DxfEntityLoader.h"

#include <algorithm>

#include "drawing/Drawing.h"
#include "drawing/LayerRules.h"
#include "drawing/Palette.h"
#include "entities/Arc.h"
#include "entities/Block.h"
#include "entities/BlockRef.h"
#include "entities/Circle.h"
#include "entities/Line.h"
#include "entities/Point.h"
#include "fileio/HeapGrowthHint.h"
#include "fileio/PlanShapes.h"
#include "fileio/dxf/DxfLayout.h"
#include "fileio/dxf/DxfReader.h"

DxfEntityLoader::DxfEntityLoader(DxfReader& reader, mmDrawing& drawing, const mmGlyphTable* glyphs,
                                 DxfLoadReport* report, HeapGrowthHint* heapHint,
                                 const DxfLoadLimits& limits)
    : reader_(reader),
      drawing_(drawing),
      glyphs_(glyphs ? glyphs->weak_from_this().lock() : nullptr),
      report_(report),
      heapHint_(heapHint),
      names_(drawing),
      limits_(limits) {}

void DxfEntityLoader::loadEntities(DxfLayout* layout) {
    // Room for as many entities as the rest of the file could hold at a small size each, so
    // that the list does not grow step by step. Untouched room costs address space only.
    constexpr uint64_t kSmallEntityBytes = 96;
    constexpr uint64_t kMostReserved = 16u << 20;
    const uint64_t room =
        std::min(kMostReserved, (reader_.size() - reader_.position()) / kSmallEntityBytes);
    drawing_.entities.reserve(drawing_.entities.size() + room);
    Target t;
    t.layout = layout;
    load(t);
}

void DxfEntityLoader::loadEntities(mmBlock& block, bool moveToBase) {
    Target t;
    t.block = &block;
    t.moveToBase = moveToBase;
    load(t);
}

void DxfEntityLoader::loadPaperEntities(mmBlock& block, bool activeLayout) {
    Target t;
    t.block = &block;
    t.paper = true;
    t.otherLayout = !activeLayout;
    load(t);
}

// Entity names and their readers. Types without a reader are stepped over and counted (an ATTRIB
// that follows no INSERT, ...).
DxfEntityLoader::EntityReader DxfEntityLoader::readerFor(std::string_view name) {
    struct Entry {
        std::string_view name;
        EntityReader reader;
    };
    static constexpr Entry kReaders[] = {
        {"LINE", &DxfEntityLoader::readLine},
        {"POINT", &DxfEntityLoader::readPoint},
        {"CIRCLE", &DxfEntityLoader::readCircle},
        {"ARC", &DxfEntityLoader::readArc},
        {"LWPOLYLINE", &DxfEntityLoader::readLwPolyline},
        {"POLYLINE", &DxfEntityLoader::readPolyline},
        {"TEXT", &DxfEntityLoader::readText},
        {"MTEXT", &DxfEntityLoader::readMText},
        {"INSERT", &DxfEntityLoader::readInsert},
        {"DIMENSION", &DxfEntityLoader::readDimension},
        {"ARC_DIMENSION", &DxfEntityLoader::readArcDimension},
        {"HATCH", &DxfEntityLoader::readHatch},
        {"SPLINE", &DxfEntityLoader::readSpline},
        {"3DFACE", &DxfEntityLoader::read3dFace},
        {"VIEWPORT", &DxfEntityLoader::readViewport},
        {"ELLIPSE", &DxfEntityLoader::readEllipse},
        {"SOLID", &DxfEntityLoader::readSolid},
        {"TRACE", &DxfEntityLoader::readSolid},
        {"LEADER", &DxfEntityLoader::readLeader},
        {"XLINE", &DxfEntityLoader::readXLine},
        {"RAY", &DxfEntityLoader::readXLine},
        {"ATTDEF", &DxfEntityLoader::readAttributeDef},
    };
    for (const Entry& e : kReaders)
        if (e.name == name) return e.reader;
    return nullptr;
}

namespace {

void count(DxfEntityCounts& counts, std::string_view name) {
    auto it = counts.find(name);
    if (it == counts.end()) it = counts.emplace(std::string(name), 0).first;
    ++it->second;
}

}  // namespace

void DxfEntityLoader::dropped(std::string_view name) {
    if (report_ && name != "SEQEND") count(report_->dropped, name);
}

void DxfEntityLoader::noteApproximation(const mmOcs& ocs, std::string_view name, int32_t type,
                                        bool curved) {
    if (report_ && ShownApproximately(ocs, type, curved)) count(report_->approximated, name);
}

mmOcs DxfEntityLoader::plane() const {
    return mmOcs(header_.extrusionX, header_.extrusionY, header_.extrusionZ);
}

// Sub-entities (vertices, the attributes of a reference, their ends) go with their owner.
void DxfEntityLoader::skipEntities() {
    while (reader_.readGroup()) {
        if (reader_.code() != 0) continue;
        const std::string_view name = reader_.value();
        if (name == "ENDBLK" || name == "ENDSEC" || name == "SECTION") {
            reader_.stepBack();
            reader_.skipBlock();
            return;
        }
        if (name != "VERTEX" && name != "ATTRIB") dropped(name);
    }
}

void DxfEntityLoader::load(const Target& target) {
    target_ = target;
    if (!reader_.readGroup()) return;
    for (;;) {
        if (reader_.code() != 0) {
            reader_.stepBack();
            return;
        }
        if (atListEnd()) return;
        bool more = false;
        if (EntityReader read = readerFor(reader_.value())) {
            entityName_.assign(reader_.value());
            more = (this->*read)();
        } else {
            dropped(reader_.value());
            more = reader_.skipToCodeZero();
        }
        if (!more) return;
    }
}

bool DxfEntityLoader::atListEnd() {
    const std::string_view v = reader_.value();
    if (v == "ENDSEC") {
        reader_.endSection();
        return true;
    }
    // A section that lacks its ENDSEC ends where the next one begins.
    if (v == "SECTION") {
        reader_.stepBack();
        reader_.endSection();
        return true;
    }
    if (target_.block && v == "ENDBLK" && reader_.insideBlock()) {
        reader_.finishBlock();
        return true;
    }
    return false;
}

bool DxfEntityLoader::readPoint() {
    double x = 0.0, y = 0.0;
    const bool more = readGroups(kDxfAllHeader, [&](int32_t code) {
        if (code == 10)
            x = reader_.realValue();
        else if (code == 20)
            y = reader_.realValue();
    });
    auto point = std::make_shared<mmPointObj>();
    point->points.reserve(1);
    point->AddPoint(x, y);
    finish(point);
    return more;
}

bool DxfEntityLoader::readLine() {
    double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;
    const bool more = readGroups(kDxfAllHeader, [&](int32_t code) {
        switch (code) {
            case 10:
                x1 = reader_.realValue();
                break;
            case 20:
                y1 = reader_.realValue();
                break;
            case 11:
                x2 = reader_.realValue();
                break;
            case 21:
                y2 = reader_.realValue();
                break;
            default:
                break;
        }
    });
    auto line = std::make_shared<mmLine>();
    line->points.reserve(2);
    line->grips.reserve(3);
    line->AddPoint(x1, y1);
    line->AddPoint(x2, y2);
    finish(line);
    return more;
}

bool DxfEntityLoader::readCircle() {
    mmPoint3 c;
    double r = 0.0;
    const bool more = readGroups(kDxfAllHeader | kDxfExtrusion, [&](int32_t code) {
        if (code == 10)
            c.x = reader_.realValue();
        else if (code == 20)
            c.y = reader_.realValue();
        else if (code == 30)
            c.z = reader_.realValue();
        else if (code == 40)
            r = reader_.realValue();
    });
    finish(CircleInPlan(plane(), c, r));
    return more;
}

bool DxfEntityLoader::readArc() {
    mmPoint3 c;
    double r = 0.0, start = 0.0, end = 0.0;
    const bool more = readGroups(kDxfAllHeader | kDxfExtrusion, [&](int32_t code) {
        switch (code) {
            case 10:
                c.x = reader_.realValue();
                break;
            case 20:
                c.y = reader_.realValue();
                break;
            case 30:
                c.z = reader_.realValue();
                break;
            case 40:
                r = reader_.realValue();
                break;
            case 50:
                start = reader_.realValue();
                break;
            case 51:
                end = reader_.realValue();
                break;
            default:
                break;
        }
    });
    finish(ArcInPlan(plane(), c, r, start, end));
    return more;
}

// A viewport of the paper space with the model window its view data give; the layout's view
// gives it its slot once the file is read. Every layout has a paper viewport of its own, which is
// not kept: id 1 (in the active layout with status 1), or in another layout, whose viewports are
// all written with status 0 and id 0 by some programs, the first of its block. Without a layout,
// or off (status 0 or less in the active layout), it is dropped. Some programs give every
// viewport status 1 and its own id from 2.
bool DxfEntityLoader::readViewport() {
    DxfViewportRecord record;
    const bool more = readDxfViewport(reader_, header_, record);
    const bool first = !target_.viewportSeen;
    target_.viewportSeen = true;
    const bool inPaper = target_.paper || (header_.paperSpace && target_.layout && !target_.block);
    const bool own = target_.otherLayout ? record.id == 1 || (first && record.id <= 0)
                                         : record.status == 1 && record.id <= 1;
    const bool on = target_.otherLayout || record.status >= 1;
    mmObjectPtr viewport = inPaper && on && !own ? ViewportOfRecord(record) : nullptr;
    if (viewport)
        add(viewport);
    else if (!own)
        dropped("VIEWPORT");
    return more;
}

int32_t DxfEntityLoader::layerIdFor(std::string_view name) {
    if (lastLayerValid_ && name == lastLayerName_) return lastLayerId_;
    int32_t id = drawing_.currentLayerId;
    if (auto it = layerIds_.find(name); it != layerIds_.end()) {
        id = it->second;
    } else {
        id = names_.Layer(reader_.strings().ToUtf16(name)).value_or(id);
        layerIds_.emplace(std::string(name), id);
    }
    lastLayerName_.assign(name);
    lastLayerId_ = id;
    lastLayerValid_ = true;
    return id;
}

int32_t DxfEntityLoader::lineTypeIdFor(std::string_view name) {
    if (name.empty()) return kLineTypeByLayer;
    if (name != lastLineTypeName_) {
        lastLineTypeName_.assign(name);
        lastLineTypeId_ =
            names_.LineType(reader_.strings().ToUtf16(name)).value_or(kLineTypeByLayer);
    }
    return lastLineTypeId_;
}

namespace {

// A true colour (420, 0x00RRGGBB) as the colour value the entity keeps (0x00BBGGRR), when that
// value cannot be mistaken for a colour index.
bool trueColorValue(int32_t rgb, uint32_t& value) {
    if (rgb < 0) return false;
    const uint32_t c = static_cast<uint32_t>(rgb);
    value = MakeColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
    return value > static_cast<uint32_t>(kColorByLayer);
}

uint32_t colorOfIndex(int32_t index, const mmLayer* layer) {
    if (index == kColorByLayer) return layer ? layer->color : 0;
    if (index == kColorByBlock) return 0;
    if (index >= 1 && index <= 255) return PaletteColor(index);
    return static_cast<uint32_t>(index);
}

}  // namespace

void DxfEntityLoader::finish(const mmObjectPtr& e) {
    applyProperties(*e);
    add(e);
}

void DxfEntityLoader::applyProperties(mmObject& e) {
    e.layerId = layerIdFor(header_.layer);
    const mmLayer* layer = drawing_.FindLayer(e.layerId);
    if (uint32_t rgb = 0; trueColorValue(header_.trueColor, rgb)) {
        e.colorIndex = static_cast<int32_t>(rgb);
        e.color = rgb;
    } else {
        e.colorIndex = header_.color;
        e.color = colorOfIndex(header_.color, layer);
    }
    if (layer) {
        e.visible = LayerShown(*layer);
        e.lineWidth = layer->lineWidth;
    }
    e.lineWidthSource = kLineWidthByLayer;
    e.lineType = lineTypeIdFor(header_.lineType);
    e.erased = false;
    e.selected = false;
}

// An entity the file marks invisible (60) is not shown in other programs: it is counted instead.
void DxfEntityLoader::add(const mmObjectPtr& e) {
    if (header_.invisible) {
        dropped(entityName_ + " (invisible)");
        return;
    }
    if (mmBlock* block = target_.block) {
        if (target_.moveToBase) TranslateEntity(*e, -block->baseX, -block->baseY);
        e->id = block->nextEntityId++;
        e->UpdateGrips();
        e->UpdateExtents();
        block->entities.push_back(e);
        return;
    }
    mmSpace& space = targetSpace();
    e->id = space.nextEntityId;
    e->UpdateGrips();
    e->UpdateExtents();
    if (AddEntity(space, e)) ++space.nextEntityId;
    if (heapHint_) heapHint_->poll();
}

mmSpace& DxfEntityLoader::targetSpace() {
    return (header_.paperSpace && target_.layout) ? target_.layout->PaperSpace()
                                                  : drawing_.ModelSpace();
}
