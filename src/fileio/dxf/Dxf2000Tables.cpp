// HEADER, CLASSES and the tables of a DXF 2000 save: every table with its handle, each record
// with its handle and owner; the linetypes, layers, dimension styles and block records of the
// drawing, and the fixed entries other programs expect (the active viewport, the linetypes
// ByBlock, ByLayer and Continuous, the text style Standard, the application ACAD).
#include <cstdlib>

#include "drawing/DimStyleTable.h"
#include "drawing/Drawing.h"
#include "drawing/Palette.h"
#include "platform/CodePage.h"
#include "fileio/dxf/Dxf2000Plan.h"
#include "fileio/dxf/Dxf2000Sections.h"
#include "fileio/dxf/DxfWriter.h"

namespace {

using Table = DxfWriter::Table;

void variable(DxfWriter& w, std::string_view name) {
    w.writeGroupString(9, name);
}

void point3(DxfWriter& w, int32_t code, double x, double y, double z) {
    w.writeGroupReal(code, x);
    w.writeGroupReal(code + 10, y);
    w.writeGroupReal(code + 20, z);
}

// The current dimension style's name and sizes, which programs that draw dimensions by the
// header's values take for every dimension. ($DIMSCALE is written when the file had it, as a kept
// variable.)
void currentDimStyle(DxfWriter& w, const mmDrawing& d) {
    const DimStyle* s = FindDimStyle(d, d.currentDimStyleId);
    if (!s) return;
    variable(w, "$DIMSTYLE");
    w.writeGroupText(2, s->name);
    const std::pair<std::string_view, double> sizes[] = {
        {"$DIMASZ", s->arrowSize}, {"$DIMEXO", s->extLineOffset}, {"$DIMEXE", s->extLineExtension},
        {"$DIMTXT", s->textHeight}, {"$DIMGAP", s->textGap},      {"$DIMTSZ", s->FileTickSize()},
        {"$DIMLFAC", s->linearFactor}};
    for (const auto& [name, value] : sizes) {
        variable(w, name);
        w.writeGroupReal(40, value);
    }
}

std::u16string_view currentLayerName(const mmDrawing& d) {
    const mmLayer* layer = d.FindLayer(d.currentLayerId);
    return layer && !layer->name.empty() ? std::u16string_view(layer->name) : u"0";
}

}  // namespace

bool writeDxf2000Header(DxfWriter& w, const mmDrawing& drawing, const Dxf2000Plan& plan) {
    bool ok = w.beginSection(DxfWriter::Section::Header);
    variable(w, "$ACADVER");
    w.writeGroupString(1, "AC1015");
    variable(w, "$DWGCODEPAGE");
    w.writeGroupString(3, plan.codePage->Name());
    // An empty drawing has the extents other programs give one: inverted and huge.
    const mmRect& e = plan.extents;
    const bool empty = e.minX > e.maxX;
    variable(w, "$EXTMIN");
    point3(w, 10, empty ? 1e20 : e.minX, empty ? 1e20 : e.minY, empty ? 1e20 : 0.0);
    variable(w, "$EXTMAX");
    point3(w, 10, empty ? -1e20 : e.maxX, empty ? -1e20 : e.maxY, empty ? -1e20 : 0.0);
    variable(w, "$TEXTSTYLE");
    w.writeGroupString(7, "Standard");
    variable(w, "$CLAYER");
    w.writeGroupText(8, currentLayerName(drawing));
    variable(w, "$CELTYPE");
    w.writeGroupString(6, "ByLayer");
    variable(w, "$CECOLOR");
    w.writeGroupInt(62, 256);
    variable(w, "$HANDSEED");
    w.writeGroupHandle(5, plan.handleSeed);
    currentDimStyle(w, drawing);
    for (const mmFileVariable& v : drawing.fileVariables) {
        variable(w, v.name);
        for (const auto& [code, value] : v.groups)
            w.writeGroupString(code, value);
    }
    return w.endSection() && ok;
}

// The one class of the objects written.
bool writeDxf2000Classes(DxfWriter& w) {
    bool ok = w.beginSection(DxfWriter::Section::Classes);
    w.writeGroupString(0, "CLASS");
    w.writeGroupString(1, "LAYOUT");
    w.writeGroupString(2, "AcDbLayout");
    w.writeGroupString(3, "ObjectDBX Classes");
    w.writeGroupInt(90, 0);
    w.writeGroupInt(280, 0);
    w.writeGroupInt(281, 0);
    return w.endSection() && ok;
}

namespace {

bool beginTable(DxfWriter& w, Table table, const Dxf2000Plan& plan, int64_t count) {
    static constexpr Table kOrder[] = {Table::VPort,    Table::LineType, Table::Layer,
                                       Table::Style,    Table::View,     Table::Ucs,
                                       Table::AppId,    Table::DimStyle, Table::BlockRecord};
    uint64_t handle = 0;
    for (int i = 0; i < Dxf2000Plan::kTableCount; ++i)
        if (kOrder[i] == table) handle = plan.tables[i];
    const bool ok = w.beginTable(table);
    w.writeGroupHandle(5, handle);
    w.writeGroupHandle(330, 0);
    w.writeGroupString(100, "AcDbSymbolTable");
    w.writeGroupInt(70, count);
    return ok;
}

// 0 and the type, the handle (105 for dimension styles), the table as owner, the markers.
void record(DxfWriter& w, std::string_view type, uint64_t handle, uint64_t table,
            std::string_view subclass, int32_t handleCode = 5) {
    w.writeGroupString(0, type);
    w.writeGroupHandle(handleCode, handle);
    w.writeGroupHandle(330, table);
    w.writeGroupString(100, "AcDbSymbolTableRecord");
    w.writeGroupString(100, subclass);
}

// The active viewport shows the extents of the drawing.
void vports(DxfWriter& w, const Dxf2000Plan& plan) {
    const mmRect& e = plan.extents;
    const bool empty = e.minX > e.maxX;
    const double cx = empty ? 0.0 : (e.minX + e.maxX) / 2;
    const double cy = empty ? 0.0 : (e.minY + e.maxY) / 2;
    const double height = empty ? 100.0 : std::max(e.maxY - e.minY, (e.maxX - e.minX) / 1.5);
    record(w, "VPORT", plan.activeVPort, plan.tables[Dxf2000Plan::kVPort],
           "AcDbViewportTableRecord");
    w.writeGroupString(2, "*Active");
    w.writeGroupInt(70, 0);
    w.writeGroupReal(10, 0.0);
    w.writeGroupReal(20, 0.0);
    w.writeGroupReal(11, 1.0);
    w.writeGroupReal(21, 1.0);
    w.writeGroupReal(12, cx);
    w.writeGroupReal(22, cy);
    point3(w, 16, 0.0, 0.0, 1.0);  // view direction
    w.writeGroupReal(40, height > 0.0 ? height * 1.1 : 100.0);
    w.writeGroupReal(41, 1.5);
    w.writeGroupInt(71, 0);
    w.writeGroupInt(72, 100);
    w.writeGroupInt(73, 1);
    w.writeGroupInt(74, 3);
    w.writeGroupInt(75, 0);
    w.writeGroupInt(76, 0);
    w.writeGroupInt(77, 0);
    w.writeGroupInt(78, 0);
}

void lineType(DxfWriter& w, const Dxf2000Plan& plan, uint64_t handle, std::u16string_view name,
              std::u16string_view description, int32_t flags, double length,
              const std::vector<double>& dashes) {
    record(w, "LTYPE", handle, plan.tables[Dxf2000Plan::kLineType], "AcDbLinetypeTableRecord");
    w.writeGroupText(2, name);
    w.writeGroupInt(70, flags);
    w.writeGroupText(3, description);
    w.writeGroupInt(72, 65);
    w.writeGroupInt(73, static_cast<int64_t>(dashes.size()));
    w.writeGroupReal(40, length);
    for (const double dash : dashes) {
        w.writeGroupReal(49, dash);
        w.writeGroupInt(74, 0);
    }
}

bool lineTypes(DxfWriter& w, const mmDrawing& d, const Dxf2000Plan& plan) {
    const bool ok =
        beginTable(w, Table::LineType, plan, 3 + static_cast<int64_t>(d.lineTypes.size()));
    lineType(w, plan, plan.byBlock, kLineTypeByBlockName, u"", 0, 0.0, {});
    lineType(w, plan, plan.byLayer, kLineTypeByLayerName, u"", 0, 0.0, {});
    lineType(w, plan, plan.continuous, kLineTypeContinuousName, u"Solid line", 0, 0.0, {});
    for (const auto& [id, t] : d.lineTypes)
        lineType(w, plan, plan.lineTypes.at(id), t.name, t.description, t.flags, t.patternLength,
                 t.dashes);
    return w.endTable() && ok;
}

enum LayerFlags { kFrozen = 1, kLocked = 4 };

// 62: the colour index, negative for a layer that is off; a colour the palette lacks is 420
// after the nearest index.
void layer(DxfWriter& w, const mmDrawing& d, const Dxf2000Plan& plan, const mmLayer& l,
           uint64_t handle) {
    record(w, "LAYER", handle, plan.tables[Dxf2000Plan::kLayer], "AcDbLayerTableRecord");
    w.writeGroupText(2, l.name);
    w.writeGroupInt(70, (l.frozen ? kFrozen : 0) | (l.locked ? kLocked : 0));
    int32_t index = std::abs(l.colorIndex);
    const bool indexed = index >= 1 && index <= 255;
    if (!indexed) index = l.colorIndex == 0 || l.colorIndex == 256 ? 7 : NearestPaletteIndex(l.color);
    const bool off = !l.show || l.colorIndex < 0;
    w.writeGroupInt(62, off ? -index : index);
    if (l.color != PaletteColor(index))
        w.writeGroupInt(420, (ColorRed(l.color) << 16) | (ColorGreen(l.color) << 8) |
                                 ColorBlue(l.color));
    std::u16string_view type = d.LineTypeName(l.linetype);
    if (type.empty() || l.linetype < 0) type = kLineTypeContinuousName;
    w.writeGroupText(6, type);
    if (l.lineWidth > 1) w.writeGroupInt(370, int64_t{l.lineWidth} * 10);
}

bool layers(DxfWriter& w, const mmDrawing& d, const Dxf2000Plan& plan) {
    const bool ok = beginTable(w, Table::Layer, plan,
                               static_cast<int64_t>(d.layers.size()) + (plan.layerZero ? 1 : 0));
    for (const auto& [id, l] : d.layers)
        layer(w, d, plan, l, plan.layers.at(id));
    if (plan.layerZero) layer(w, d, plan, mmLayer::WithDefaults(-1, kDefaultLayerName), plan.layerZero);
    return w.endTable() && ok;
}

bool styles(DxfWriter& w, const Dxf2000Plan& plan) {
    const bool ok = beginTable(w, Table::Style, plan, 1);
    record(w, "STYLE", plan.standardStyle, plan.tables[Dxf2000Plan::kStyle],
           "AcDbTextStyleTableRecord");
    w.writeGroupString(2, "Standard");
    w.writeGroupInt(70, 0);
    w.writeGroupReal(40, 0.0);
    w.writeGroupReal(41, 1.0);
    w.writeGroupReal(50, 0.0);
    w.writeGroupInt(71, 0);
    w.writeGroupReal(42, 2.5);
    w.writeGroupString(3, "txt");
    w.writeGroupString(4, "");
    return w.endTable() && ok;
}

bool emptyTable(DxfWriter& w, Table table, const Dxf2000Plan& plan) {
    const bool ok = beginTable(w, table, plan, 0);
    return w.endTable() && ok;
}

bool appIds(DxfWriter& w, const Dxf2000Plan& plan) {
    const bool ok = beginTable(w, Table::AppId, plan, 1);
    record(w, "APPID", plan.acadAppId, plan.tables[Dxf2000Plan::kAppId],
           "AcDbRegAppTableRecord");
    w.writeGroupString(2, "ACAD");
    w.writeGroupInt(70, 0);
    return w.endTable() && ok;
}

// The block record of an arrowhead block the file holds, or 0.
uint64_t arrowBlock(const Dxf2000Plan& plan, std::u16string_view name) {
    const Dxf2000Plan::Block* block = name.empty() ? nullptr : plan.FindBlock(name);
    return block ? block->record : 0;
}

void dimStyle(DxfWriter& w, const Dxf2000Plan& plan, const DimStyle& s, uint64_t handle) {
    record(w, "DIMSTYLE", handle, plan.tables[Dxf2000Plan::kDimStyle], "AcDbDimStyleTableRecord",
           105);
    w.writeGroupText(2, s.name);
    w.writeGroupInt(70, 0);
    const struct {
        int32_t code;
        double value;
    } reals[] = {{40, s.overallScale},        {41, s.arrowSize},        {42, s.extLineOffset},
                 {43, 3.75},                   {44, s.extLineExtension}, {46, s.dimLineExtension},
                 {140, s.textHeight},          {141, 2.5},               {142, s.FileTickSize()},
                 {143, 25.4},                  {144, s.linearFactor},    {146, 1.0},
                 {147, s.textGap}};
    for (const auto& r : reals)
        w.writeGroupReal(r.code, r.value);
    const int32_t ints[][2] = {{77, s.textPlacement}, {78, 8},   {171, 3}, {172, 1},
                               {176, s.dimLineColor}, {177, s.extLineColor},
                               {178, s.textColor}};
    for (const auto& [code, value] : ints)
        w.writeGroupInt(code, value);
    w.writeGroupHandle(340, plan.standardStyle);
    const uint64_t first = arrowBlock(plan, s.arrowBlock1);
    const uint64_t second = arrowBlock(plan, s.arrowBlock2);
    if (first || second) {
        w.writeGroupInt(173, 1);
        if (first) w.writeGroupHandle(343, first);
        if (second) w.writeGroupHandle(344, second);
    }
}

bool dimStyles(DxfWriter& w, const mmDrawing& d, const Dxf2000Plan& plan) {
    const bool ok = beginTable(w, Table::DimStyle, plan,
                               static_cast<int64_t>(d.dimStyles.size()) +
                                   (plan.standardDimStyle ? 1 : 0));
    w.writeGroupString(100, "AcDbDimStyleTable");
    for (const auto& [id, s] : d.dimStyles)
        dimStyle(w, plan, s, plan.dimStyles.at(id));
    if (plan.standardDimStyle) dimStyle(w, plan, DimStyle::Standard(-1), plan.standardDimStyle);
    return w.endTable() && ok;
}

void blockRecord(DxfWriter& w, const Dxf2000Plan& plan, const Dxf2000Plan::Block& b,
                 uint64_t layout) {
    record(w, "BLOCK_RECORD", b.record, plan.tables[Dxf2000Plan::kBlockRecord],
           "AcDbBlockTableRecord");
    w.writeGroupText(2, b.name);
    if (layout) w.writeGroupHandle(340, layout);
}

bool blockRecords(DxfWriter& w, const Dxf2000Plan& plan) {
    const bool ok = beginTable(w, Table::BlockRecord, plan,
                               2 + static_cast<int64_t>(plan.blocks.size()));
    blockRecord(w, plan, plan.model, plan.modelLayout);
    blockRecord(w, plan, plan.paper, plan.paperLayout);
    for (const Dxf2000Plan::Block& b : plan.blocks)
        blockRecord(w, plan, b, 0);
    return w.endTable() && ok;
}

}  // namespace

bool writeDxf2000Tables(DxfWriter& w, const mmDrawing& d, const Dxf2000Plan& plan) {
    bool ok = w.beginSection(DxfWriter::Section::Tables);
    ok = beginTable(w, Table::VPort, plan, 1) && ok;
    vports(w, plan);
    ok = w.endTable() && ok;
    ok = lineTypes(w, d, plan) && ok;
    ok = layers(w, d, plan) && ok;
    ok = styles(w, plan) && ok;
    ok = emptyTable(w, Table::View, plan) && ok;
    ok = emptyTable(w, Table::Ucs, plan) && ok;
    ok = appIds(w, plan) && ok;
    ok = dimStyles(w, d, plan) && ok;
    ok = blockRecords(w, plan) && ok;
    return w.endSection() && ok;
}
