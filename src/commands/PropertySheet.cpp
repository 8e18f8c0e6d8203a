// The sheet of the properties panel: the items of each entity class and their values.
#include <cmath>

#include "commands/InputGrammar.h"
#include "commands/Properties.h"
#include "commands/Selection.h"
#include "commands/Session.h"
#include "drawing/DimStyleTable.h"
#include "drawing/Palette.h"
#include "entities/Arc.h"
#include "entities/BlockRef.h"
#include "entities/Circle.h"
#include "entities/Dimension.h"
#include "entities/Polyline.h"
#include "entities/Text.h"
#include "platform/Unicode.h"

namespace {

constexpr char16_t kGeneral[] = u"General";
constexpr char16_t kGeometry[] = u"Geometry";
constexpr char16_t kMisc[] = u"Misc";

std::u16string utf16(std::string_view text) {
    std::u16string out;
    kestrel::platform::utf8ToUtf16(text, out);
    return out;
}

std::u16string integerText(int64_t value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

// Appends the items of one category.
class Category {
public:
    Category(mmPropertySheet& sheet, std::u16string_view name) : sheet_(sheet), name_(name) {}

    mmPropertyItem& Add(mmPropertyId id, std::u16string_view label, mmPropertyKind kind,
                        std::u16string value, bool readOnly) {
        mmPropertyItem& item = sheet_.items.emplace_back();
        item.id = id;
        item.category = name_;
        item.label = label;
        item.kind = kind;
        item.value = std::move(value);
        item.readOnly = readOnly;
        return item;
    }
    void Number(mmPropertyId id, std::u16string_view label, double value, bool readOnly = false) {
        Add(id, label, mmPropertyKind::Number, FormatFixed4(value), readOnly);
    }
    void Integer(mmPropertyId id, std::u16string_view label, int64_t value, bool readOnly = false) {
        Add(id, label, mmPropertyKind::Integer, integerText(value), readOnly);
    }
    void Text(mmPropertyId id, std::u16string_view label, std::u16string value,
              bool readOnly = false) {
        Add(id, label, mmPropertyKind::Text, std::move(value), readOnly);
    }
    void Choice(mmPropertyId id, std::u16string_view label, std::vector<mmPropertyChoice> choices,
                int selected, bool readOnly = false) {
        mmPropertyItem& item = Add(id, label, mmPropertyKind::Choice, {}, readOnly);
        item.choices = std::move(choices);
        item.selected = selected >= 0 && selected < static_cast<int>(item.choices.size()) ? selected
                                                                                          : -1;
        if (item.selected >= 0) item.value = item.choices[item.selected].text;
    }
    void Point(mmPropertyId x, std::u16string_view xLabel, mmPropertyId y,
               std::u16string_view yLabel, const mmVertex& p) {
        Number(x, xLabel, p.x);
        Number(y, yLabel, p.y);
    }

private:
    mmPropertySheet& sheet_;
    std::u16string_view name_;
};

uint32_t layerColor(const mmDrawing& d, int32_t layerId) {
    const mmLayer* layer = d.FindLayer(layerId);
    return layer ? layer->color : kColorWhite;
}

// The "Color" entries for entities sharing one colour (none when shared is null): ByLayer,
// ByBlock, the named colours, the entities' own colour when it is none of those, "Select...".
void colorItem(Category& c, const mmDrawing& d, const mmObject* shared, bool readOnly) {
    std::vector<mmPropertyChoice> choices;
    choices.push_back({kByLayer, shared ? layerColor(d, shared->layerId) : -1});
    choices.push_back({kByBlock, -1});
    int selected = -1;
    if (shared && shared->colorIndex == kColorByLayer) selected = 0;
    if (shared && shared->colorIndex == kColorByBlock) selected = 1;
    for (const mmNamedColor& named : kNamedColors) {
        if (shared && selected < 0 && shared->color == named.color)
            selected = static_cast<int>(choices.size());
        choices.push_back({std::u16string(named.name), named.color});
    }
    if (shared && selected < 0) {
        selected = static_cast<int>(choices.size());
        choices.push_back({utf16(ColorText(shared->color)), shared->color});
    }
    choices.push_back({kSelectColor, -1});
    c.Choice(mmPropertyId::Color, u"Color", std::move(choices), selected, readOnly);
}

template <class Get>
bool allEqual(const mmEntityList& entities, Get get) {
    for (const mmObjectPtr& e : entities)
        if (get(*e) != get(*entities.front())) return false;
    return true;
}

// "General": what every class has. With several entities an item shows their common value,
// or "***VARIES***" (no entry for "Color"); with none the current layer is shown read-only.
void general(mmPropertySheet& sheet, const mmDrawing& d, const mmEntityList& entities) {
    Category c(sheet, kGeneral);
    const bool none = entities.empty();
    const bool sameColor =
        !none && allEqual(entities, [](const mmObject& e) { return e.colorIndex; }) &&
        allEqual(entities, [](const mmObject& e) { return e.color; });
    colorItem(c, d, sameColor ? entities.front().get() : nullptr, none);

    const bool sameLayer = !none && allEqual(entities, [](const mmObject& e) { return e.layerId; });
    const int32_t layerId = none ? d.currentLayerId : entities.front()->layerId;
    std::vector<mmPropertyChoice> names;
    int selected = -1;
    for (const auto& [id, layer] : d.layers) {
        if ((none || sameLayer) && id == layerId) selected = static_cast<int>(names.size());
        names.push_back({layer.name, layer.color});
    }
    c.Choice(mmPropertyId::Layer, u"Layer", std::move(names), selected, none);
    if (!none && !sameLayer) sheet.items.back().value = kVaries;

    c.Choice(mmPropertyId::LineType, u"LineType", {{u"Continuous", -1}}, 0, true);

    if (none) {
        const mmLayer* current = d.FindLayer(d.currentLayerId);
        c.Integer(mmPropertyId::LineWidth, u"LineWidth", current ? current->lineWidth : 1, true);
    } else if (allEqual(entities, [](const mmObject& e) { return e.lineWidth; })) {
        c.Integer(mmPropertyId::LineWidth, u"LineWidth", entities.front()->lineWidth);
    } else {
        c.Add(mmPropertyId::LineWidth, u"LineWidth", mmPropertyKind::Integer, kVaries, false);
    }
}

void description(mmPropertySheet& sheet) {
    Category(sheet, kMisc).Text(mmPropertyId::Description, u"Description", {}, true);
}

void polyline(mmPropertySheet& sheet, const mmPolyline& p, int vertex) {
    Category g(sheet, kGeometry);
    g.Integer(mmPropertyId::Vertex, u"Vertex", vertex + 1, p.points.empty());
    const mmVertex v = p.points.empty() ? mmVertex() : p.points[vertex];
    g.Number(mmPropertyId::VertexX, u"Vertex X", v.x, p.points.empty());
    g.Number(mmPropertyId::VertexY, u"Vertex Y", v.y, p.points.empty());
    g.Number(mmPropertyId::Length, u"Length", p.Length(), true);
    g.Number(mmPropertyId::Area, u"Area", p.Area(), true);
    Category m(sheet, kMisc);
    m.Choice(mmPropertyId::Closed, u"Closed", {{u"No", -1}, {u"Yes", -1}}, p.closed ? 1 : 0);
    m.Text(mmPropertyId::Description, u"Description", {}, true);
}

void circleOrArc(mmPropertySheet& sheet, const mmObject& e) {
    Category g(sheet, kGeometry);
    const mmVertex centre = e.points.empty() ? mmVertex() : e.points[0];
    g.Point(mmPropertyId::CenterX, u"Center X", mmPropertyId::CenterY, u"Center Y", centre);
    if (e.type == kTypeCircle) {
        g.Number(mmPropertyId::Radius, u"Radius", static_cast<const mmCircle&>(e).radius);
    } else {
        const auto& arc = static_cast<const mmArc&>(e);
        g.Number(mmPropertyId::Radius, u"Radius", arc.radius);
        g.Number(mmPropertyId::StartAngle, u"Start angle", arc.startAngle);
        g.Number(mmPropertyId::EndAngle, u"End angle", arc.endAngle);
    }
    description(sheet);
}

void point(mmPropertySheet& sheet, const mmObject& e) {
    Category g(sheet, kGeometry);
    g.Integer(mmPropertyId::Vertex, u"Vertex", 1, true);
    g.Point(mmPropertyId::VertexX, u"Vertex X", mmPropertyId::VertexY, u"Vertex Y",
            e.points.empty() ? mmVertex() : e.points[0]);
    description(sheet);
}

void line(mmPropertySheet& sheet, const mmObject& e) {
    Category g(sheet, kGeometry);
    const mmVertex a = e.points.size() > 0 ? e.points[0] : mmVertex();
    const mmVertex b = e.points.size() > 1 ? e.points[1] : a;
    g.Point(mmPropertyId::StartX, u"Start point X", mmPropertyId::StartY, u"Start point Y", a);
    g.Point(mmPropertyId::EndX, u"End point X", mmPropertyId::EndY, u"End point Y", b);
    g.Number(mmPropertyId::Length, u"Length", std::hypot(b.x - a.x, b.y - a.y), true);
    description(sheet);
}

void blockRef(mmPropertySheet& sheet, const mmBlockRef& r) {
    Category g(sheet, kGeometry);
    g.Point(mmPropertyId::PositionX, u"Position X", mmPropertyId::PositionY, u"Position Y",
            r.points.empty() ? mmVertex() : r.points[0]);
    g.Number(mmPropertyId::ScaleX, u"Scale X", r.scaleX);
    g.Number(mmPropertyId::ScaleY, u"Scale Y", r.scaleY);
    Category m(sheet, kMisc);
    m.Text(mmPropertyId::Name, u"Name", r.blockName, true);
    m.Number(mmPropertyId::Rotation, u"Rotation", r.rotation);
    m.Text(mmPropertyId::Annotative, u"Annotative", u"No", true);
}

void text(mmPropertySheet& sheet, const mmText& t, std::u16string_view category) {
    Category c(sheet, category);
    c.Text(mmPropertyId::Contents, u"Contents", utf16(t.String()));
    c.Number(mmPropertyId::Height, u"Height", t.height);
    c.Point(mmPropertyId::PositionX, u"Position X", mmPropertyId::PositionY, u"Position Y",
            t.DrawOrigin());
    c.Number(mmPropertyId::Rotation, u"Rotation", t.rotation);
}

void dimension(mmPropertySheet& sheet, const mmDrawing& d, const mmDimension& dim) {
    Category c(sheet, u"Dimension");
    std::vector<mmPropertyChoice> styles;
    int selected = -1;
    for (const auto& [id, style] : d.dimStyles) {
        if (id == dim.dimStyleId) selected = static_cast<int>(styles.size());
        styles.push_back({style.name, -1});
    }
    c.Choice(mmPropertyId::DimStyle, u"Dim Style", std::move(styles), selected);
    c.Point(mmPropertyId::DefPoint1X, u"Def.point1 X", mmPropertyId::DefPoint1Y, u"Def.point1 Y",
            dim.defPoints[0]);
    c.Point(mmPropertyId::DefPoint2X, u"Def.point2 X", mmPropertyId::DefPoint2Y, u"Def.point2 Y",
            dim.defPoints[1]);
    c.Text(mmPropertyId::Measurement, u"Measurment", utf16(dim.label.String()), true);
}

std::u16string_view typeLabel(int32_t type) {
    switch (type) {
        case kTypePolyline: return u"Polyline";
        case kTypeCircle: return u"Circle";
        case kTypeArc: return u"Arc";
        case kTypePoint: return u"Point";
        case kTypeLine: return u"Line";
        case kTypeSpline: return u"Spline";
        case kTypeRasterImage: return u"Raster Image";
        case kTypeBlockRef: return u"Block Reference";
        case kTypeHatch: return u"Hatch";
        case kTypeText: return u"Text";
        case kTypeMText: return u"MText";
        case kTypeViewport: return u"Viewport";
        case kTypeDimension: return u"Dimension";
        default: return u"Object";
    }
}

// The categories after "General" of one entity.
void classItems(mmPropertySheet& sheet, const mmDrawing& d, const mmObject& e, int vertex) {
    switch (e.type) {
        case kTypePolyline: return polyline(sheet, static_cast<const mmPolyline&>(e), vertex);
        case kTypeCircle:
        case kTypeArc: return circleOrArc(sheet, e);
        case kTypePoint: return point(sheet, e);
        case kTypeLine: return line(sheet, e);
        case kTypeBlockRef: return blockRef(sheet, static_cast<const mmBlockRef&>(e));
        case kTypeText: return text(sheet, static_cast<const mmText&>(e), u"Text");
        case kTypeMText: return text(sheet, static_cast<const mmText&>(e), u"MText");
        case kTypeDimension: return dimension(sheet, d, static_cast<const mmDimension&>(e));
        default: return;
    }
}

}  // namespace

const mmPropertyItem* mmPropertySheet::Find(mmPropertyId id) const {
    for (const mmPropertyItem& item : items)
        if (item.id == id) return &item;
    return nullptr;
}

const mmPropertySheet& mmPropertiesModel::Refresh(const mmSession& s) {
    const mmEntityList entities = SelectedEntities(s);
    sheet_ = {};
    general(sheet_, s.drawing, entities);
    if (entities.empty()) {
        sheet_.typeLabel = kNoSelection;
        return sheet_;
    }
    if (entities.size() > 1) {
        sheet_.typeLabel = kVaries;
        return sheet_;
    }
    const mmObject& e = *entities.front();
    if (e.id != vertexEntity_ || vertex_ >= e.pointCount()) {
        vertexEntity_ = e.id;
        vertex_ = 0;
    }
    sheet_.typeLabel = typeLabel(e.type);
    classItems(sheet_, s.drawing, e, vertex_);
    return sheet_;
}
