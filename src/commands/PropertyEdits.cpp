// The edits of the properties panel: each one applied to the selected entities through their
// setters, as one undo step.
#include <charconv>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>

#include "commands/Properties.h"
#include "commands/Selection.h"
#include "commands/Session.h"
#include "commands/Undo.h"
#include "drawing/DimStyleTable.h"
#include "drawing/DimensionRules.h"
#include "drawing/LayerRules.h"
#include "drawing/Palette.h"
#include "entities/Arc.h"
#include "entities/BlockRef.h"
#include "entities/Circle.h"
#include "entities/Dimension.h"
#include "entities/Polyline.h"
#include "entities/Text.h"
#include "platform/Unicode.h"

namespace {

using Change = std::function<bool(mmObject&)>;

// The largest width a typed "LineWidth" takes, in pixels.
constexpr int kMaxLineWidth = 255;

// The whole text (blanks around it aside) as a finite number; nothing otherwise.
std::optional<double> wholeNumber(std::u16string_view text) {
    std::string narrow;
    for (char16_t c : text) {
        if (c >= 0x80) return std::nullopt;
        narrow.push_back(static_cast<char>(c));
    }
    const auto first = narrow.find_first_not_of(" \t");
    if (first == std::string::npos) return std::nullopt;
    const auto last = narrow.find_last_not_of(" \t");
    const char* begin = narrow.data() + first + (narrow[first] == '+' ? 1 : 0);
    const char* end = narrow.data() + last + 1;
    double value = 0.0;
    const auto [stop, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<int> wholeInteger(std::u16string_view text) {
    const std::optional<double> value = wholeNumber(text);
    if (!value || *value != std::floor(*value) || std::fabs(*value) > 1e9) return std::nullopt;
    return static_cast<int>(*value);
}

// Records the entities as they are, changes each, and keeps the record as one undo step when
// any of them changed.
mmPropertyEdit applyTo(mmSession& s, const mmEntityList& entities, const Change& change) {
    auto snapshots = std::make_shared<mmEntityList>();
    for (const mmObjectPtr& e : entities) CloneEntity(*e, *snapshots);
    bool changed = false;
    for (const mmObjectPtr& e : entities) changed = change(*e) || changed;
    if (!changed) return mmPropertyEdit::Unchanged;
    RecordUndo(s.drawing, std::move(snapshots));
    s.modified = true;
    s.RequestRedraw();
    return mmPropertyEdit::Applied;
}

void refit(mmObject& e) {
    e.UpdateGrips();
    e.UpdateExtents();
}

const mmGlyphTablePtr& tableOf(const mmSession& s, const mmText& t) {
    return t.glyphs ? t.glyphs : s.glyphTable;
}

Change setColor(const mmSession& s, uint32_t color, int32_t index) {
    const mmGlyphTable* glyphs = s.glyphTable.get();
    return [color, index, glyphs](mmObject& e) {
        if (e.color == color && e.colorIndex == index) return false;
        e.SetColor(color, index, glyphs);
        return true;
    };
}

mmPropertyEdit editColor(mmSession& s, const mmEntityList& entities, std::u16string_view entry) {
    if (entry == kSelectColor) return mmPropertyEdit::ChooseColor;
    if (entry == kByBlock) return applyTo(s, entities, setColor(s, 0, kColorByBlock));
    if (entry == kByLayer) {
        const mmDrawing& d = s.drawing;
        const mmGlyphTable* glyphs = s.glyphTable.get();
        return applyTo(s, entities, [&d, glyphs](mmObject& e) {
            const mmLayer* layer = d.FindLayer(e.layerId);
            const uint32_t color = layer ? layer->color : kColorWhite;
            if (e.colorIndex == kColorByLayer && e.color == color) return false;
            e.SetColor(color, kColorByLayer, glyphs);
            return true;
        });
    }
    for (const mmNamedColor& named : kNamedColors)
        if (entry == named.name)
            return applyTo(s, entities, setColor(s, named.color, PaletteIndex(named.color)));
    return mmPropertyEdit::Unchanged;  // the entities' own colour, as it is
}

mmPropertyEdit editLayer(mmSession& s, const mmEntityList& entities, std::u16string_view name) {
    const mmLayer* chosen = nullptr;
    for (const auto& [id, layer] : s.drawing.layers)
        if (layer.name == name) chosen = &layer;
    if (!chosen) chosen = s.drawing.FindLayerByName(name);
    if (!chosen) return mmPropertyEdit::Refused;
    const int32_t layerId = chosen->id;
    const mmDrawing& d = s.drawing;
    const mmGlyphTable* glyphs = s.glyphTable.get();
    return applyTo(s, entities, [&d, layerId, glyphs](mmObject& e) {
        if (e.layerId == layerId) return false;
        e.layerId = layerId;
        PushLayerPropertiesTo(e, d, glyphs);
        return true;
    });
}

mmPropertyEdit editLineWidth(mmSession& s, const mmEntityList& entities,
                             std::u16string_view text) {
    const std::optional<int> width = wholeInteger(text);
    if (!width || *width < 1 || *width > kMaxLineWidth) return mmPropertyEdit::Refused;
    return applyTo(s, entities, [w = *width](mmObject& e) {
        if (e.lineWidth == w && e.lineWidthSource == w) return false;
        e.lineWidth = w;
        e.lineWidthSource = w;
        return true;
    });
}

// Sets one coordinate of a point of the entity (0 x, 1 y).
Change setPointCoordinate(std::size_t index, int axis, double value) {
    return [=](mmObject& e) {
        if (index >= e.points.size()) return false;
        double& c = axis == 0 ? e.points[index].x : e.points[index].y;
        if (c == value) return false;
        c = value;
        refit(e);
        return true;
    };
}

// Moves the whole entity so that the given point's coordinate takes the value.
Change moveTo(std::function<mmVertex(const mmObject&)> at, int axis, double value) {
    return [at = std::move(at), axis, value](mmObject& e) {
        const mmVertex p = at(e);
        const double delta = value - (axis == 0 ? p.x : p.y);
        if (delta == 0.0) return false;
        TranslateEntity(e, axis == 0 ? delta : 0.0, axis == 0 ? 0.0 : delta);
        refit(e);
        return true;
    };
}

mmVertex firstPoint(const mmObject& e) {
    return e.points.empty() ? mmVertex() : e.points[0];
}

int axisOf(mmPropertyId id) {
    switch (id) {
        case mmPropertyId::VertexY:
        case mmPropertyId::CenterY:
        case mmPropertyId::StartY:
        case mmPropertyId::EndY:
        case mmPropertyId::PositionY:
        case mmPropertyId::DefPoint1Y:
        case mmPropertyId::DefPoint2Y: return 1;
        default: return 0;
    }
}

Change polylineChange(mmPropertyId id, double v, int vertex) {
    switch (id) {
        case mmPropertyId::VertexX:
        case mmPropertyId::VertexY: return setPointCoordinate(vertex, axisOf(id), v);
        default: return {};
    }
}

Change circleOrArcChange(mmPropertyId id, double v) {
    switch (id) {
        case mmPropertyId::CenterX:
        case mmPropertyId::CenterY: return moveTo(firstPoint, axisOf(id), v);
        case mmPropertyId::Radius:
            if (v <= 0.0) return {};
            return [v](mmObject& e) {
                if (e.type == kTypeCircle) {
                    auto& c = static_cast<mmCircle&>(e);
                    if (c.radius == v) return false;
                    c.SetRadius(v);
                } else {
                    auto& a = static_cast<mmArc&>(e);
                    if (a.radius == v) return false;
                    a.SetRadius(v);
                }
                return true;
            };
        case mmPropertyId::StartAngle:
        case mmPropertyId::EndAngle:
            return [id, v](mmObject& e) {
                if (e.type != kTypeArc) return false;
                auto& a = static_cast<mmArc&>(e);
                const bool start = id == mmPropertyId::StartAngle;
                if ((start ? a.startAngle : a.endAngle) == v) return false;
                if (start)
                    a.SetStartAngle(v);
                else
                    a.SetEndAngle(v);
                return true;
            };
        default: return {};
    }
}

Change lineChange(mmPropertyId id, double v) {
    switch (id) {
        case mmPropertyId::StartX:
        case mmPropertyId::StartY: return setPointCoordinate(0, axisOf(id), v);
        case mmPropertyId::EndX:
        case mmPropertyId::EndY: return setPointCoordinate(1, axisOf(id), v);
        default: return {};
    }
}

Change blockRefChange(mmPropertyId id, double v) {
    switch (id) {
        case mmPropertyId::PositionX:
        case mmPropertyId::PositionY: return moveTo(firstPoint, axisOf(id), v);
        case mmPropertyId::ScaleX:
        case mmPropertyId::ScaleY:
            if (v == 0.0) return {};
            return [id, v](mmObject& e) {
                auto& r = static_cast<mmBlockRef&>(e);
                const bool x = id == mmPropertyId::ScaleX;
                if ((x ? r.scaleX : r.scaleY) == v) return false;
                if (!r.SetScale(x ? v : r.scaleX, x ? r.scaleY : v, false)) return false;
                refit(r);
                return true;
            };
        case mmPropertyId::Rotation:
            return [v](mmObject& e) {
                auto& r = static_cast<mmBlockRef&>(e);
                if (r.rotation == v || !r.SetRotation(v, false)) return false;
                refit(r);
                return true;
            };
        default: return {};
    }
}

Change textChange(const mmSession& s, mmPropertyId id, double v) {
    switch (id) {
        case mmPropertyId::PositionX:
        case mmPropertyId::PositionY:
            return moveTo([](const mmObject& e) { return static_cast<const mmText&>(e).DrawOrigin(); },
                          axisOf(id), v);
        case mmPropertyId::Height:
            if (v <= 0.0) return {};
            [[fallthrough]];
        case mmPropertyId::Rotation:
            return [&s, id, v](mmObject& e) {
                auto& t = static_cast<mmText&>(e);
                const bool height = id == mmPropertyId::Height;
                if ((height ? t.height : t.rotation) == v) return false;
                if (height)
                    t.SetHeight(v, tableOf(s, t));
                else
                    t.SetRotation(v, tableOf(s, t));
                refit(t);
                return true;
            };
        default: return {};
    }
}

Change dimensionChange(mmPropertyId id, double v) {
    std::size_t index = 0;
    switch (id) {
        case mmPropertyId::DefPoint1X:
        case mmPropertyId::DefPoint1Y: index = 0; break;
        case mmPropertyId::DefPoint2X:
        case mmPropertyId::DefPoint2Y: index = 1; break;
        default: return {};
    }
    return [index, axis = axisOf(id), v](mmObject& e) {
        auto& d = static_cast<mmDimension&>(e);
        double& c = axis == 0 ? d.defPoints[index].x : d.defPoints[index].y;
        if (c == v) return false;
        c = v;
        d.BuildDimension(nullptr);
        refit(d);
        return true;
    };
}

// The change a number typed for a geometry item makes to the single selected entity; empty when
// the entity has no such item or the value is out of its range.
Change numberChange(const mmSession& s, const mmObject& e, mmPropertyId id, double v, int vertex) {
    switch (e.type) {
        case kTypePolyline: return polylineChange(id, v, vertex);
        case kTypeCircle:
        case kTypeArc: return circleOrArcChange(id, v);
        case kTypePoint:
            if (id == mmPropertyId::VertexX || id == mmPropertyId::VertexY)
                return setPointCoordinate(0, axisOf(id), v);
            return {};
        case kTypeLine: return lineChange(id, v);
        case kTypeBlockRef: return blockRefChange(id, v);
        case kTypeText:
        case kTypeMText: return textChange(s, id, v);
        case kTypeDimension: return dimensionChange(id, v);
        default: return {};
    }
}

// The items of the single entity that are not numbers: a polyline's "Closed", a text's
// contents, a dimension's style.
Change otherChange(const mmSession& s, mmPropertyId id, std::u16string_view value) {
    switch (id) {
        case mmPropertyId::Closed:
            if (value != u"Yes" && value != u"No") return {};
            return [closed = value == u"Yes"](mmObject& e) {
                auto& p = static_cast<mmPolyline&>(e);
                if (p.closed == closed) return false;
                p.closed = closed;
                refit(p);
                return true;
            };
        case mmPropertyId::Contents: {
            std::string utf8;
            if (value.empty() || !kestrel::platform::utf16ToUtf8(value, utf8)) return {};
            return [&s, utf8 = std::move(utf8)](mmObject& e) {
                auto& t = static_cast<mmText&>(e);
                if (t.String() == utf8) return false;
                t.SetString(utf8, tableOf(s, t));
                refit(t);
                return true;
            };
        }
        case mmPropertyId::DimStyle: {
            const DimStyle* style = FindDimStyleByName(s.drawing, value, mmNameMatch::Exact);
            if (!style) return {};
            return [&s, style = *style](mmObject& e) {
                auto& d = static_cast<mmDimension&>(e);
                if (d.dimStyleId == style.id) return false;
                RestyleDimension(d, style, d.label.glyphs ? d.label.glyphs : s.glyphTable);
                return true;
            };
        }
        default: return {};
    }
}

bool editable(const mmPropertySheet& sheet, mmPropertyId id) {
    const mmPropertyItem* item = sheet.Find(id);
    return item && !item->readOnly;
}

}  // namespace

mmPropertyEdit mmPropertiesModel::Edit(mmSession& s, mmPropertyId id, std::u16string_view value) {
    Refresh(s);  // the items of the selection as it is now
    const mmEntityList entities = SelectedEntities(s);
    if (entities.empty() || !editable(sheet_, id)) return mmPropertyEdit::Unchanged;
    mmPropertyEdit result = mmPropertyEdit::Refused;
    if (id == mmPropertyId::Color) {
        result = editColor(s, entities, value);
    } else if (id == mmPropertyId::Layer) {
        result = editLayer(s, entities, value);
    } else if (id == mmPropertyId::LineWidth) {
        result = editLineWidth(s, entities, value);
    } else if (entities.size() == 1) {
        const mmObject& e = *entities.front();
        if (id == mmPropertyId::Vertex) {
            const std::optional<int> n = wholeInteger(value);
            if (!n || *n < 1 || *n > e.pointCount()) return mmPropertyEdit::Refused;
            vertex_ = *n - 1;
            result = mmPropertyEdit::ViewChanged;
        } else if (id == mmPropertyId::Closed || id == mmPropertyId::Contents ||
                   id == mmPropertyId::DimStyle) {
            if (Change change = otherChange(s, id, value)) result = applyTo(s, entities, change);
        } else if (const std::optional<double> number = wholeNumber(value)) {
            if (Change change = numberChange(s, e, id, *number, vertex_))
                result = applyTo(s, entities, change);
        }
    }
    Refresh(s);
    return result;
}

mmPropertyEdit mmPropertiesModel::ApplyColor(mmSession& s, uint32_t color) {
    Refresh(s);
    const mmEntityList entities = SelectedEntities(s);
    if (entities.empty() || !editable(sheet_, mmPropertyId::Color))
        return mmPropertyEdit::Unchanged;
    color &= 0xFFFFFF;
    const mmPropertyEdit result = applyTo(s, entities, setColor(s, color, PaletteIndex(color)));
    Refresh(s);
    return result;
}
