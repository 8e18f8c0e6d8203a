// The properties panel without its window: the type label and the items shown for the selection
// of the current space, with their values, and the edits typed or chosen in them. Every edit that
// changes the drawing is applied through the entity's own setters, with grips and extents
// updated, as one undo step; items whose edits cannot be applied are read-only.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class mmSession;

enum class mmPropertyId : int32_t {
    Color,
    Layer,
    LineType,
    LineWidth,
    Vertex,
    VertexX,
    VertexY,
    Length,
    Area,
    Closed,
    Description,
    CenterX,
    CenterY,
    Radius,
    StartAngle,
    EndAngle,
    StartX,
    StartY,
    EndX,
    EndY,
    PositionX,
    PositionY,
    ScaleX,
    ScaleY,
    Name,
    Rotation,
    Annotative,
    Contents,
    Height,
    DimStyle,
    DefPoint1X,
    DefPoint1Y,
    DefPoint2X,
    DefPoint2Y,
    Measurement,
};

enum class mmPropertyKind { Text, Number, Integer, Choice };

struct mmPropertyChoice {
    std::u16string text;
    int64_t swatch = -1;  // a colour 0x00BBGGRR shown beside the text; -1 for none
};

struct mmPropertyItem {
    mmPropertyId id = mmPropertyId::Color;
    std::u16string_view category;
    std::u16string_view label;
    mmPropertyKind kind = mmPropertyKind::Text;
    // As shown: numbers "%.4f"; for a choice the selected entry's text (empty for none).
    std::u16string value;
    std::vector<mmPropertyChoice> choices;
    int selected = -1;
    bool readOnly = false;
};

struct mmPropertySheet {
    std::u16string typeLabel;
    std::vector<mmPropertyItem> items;  // by category, in the order shown

    const mmPropertyItem* Find(mmPropertyId id) const;
};

inline constexpr char16_t kNoSelection[] = u"No selection";
inline constexpr char16_t kVaries[] = u"***VARIES***";
inline constexpr char16_t kSelectColor[] = u"Select...";
inline constexpr char16_t kByLayer[] = u"ByLayer";
inline constexpr char16_t kByBlock[] = u"ByBlock";

// The colours the "Color" list names, after "ByLayer" and "ByBlock".
struct mmNamedColor {
    std::u16string_view name;
    uint32_t color;  // 0x00BBGGRR
};
inline constexpr std::array<mmNamedColor, 4> kNamedColors{{
    {u"Red", 0x0000FF},
    {u"Blue", 0xFF0000},
    {u"Green", 0x00FF00},
    {u"Yellow", 0x00FFFF},
}};

enum class mmPropertyEdit {
    Applied,      // the drawing changed (one undo step)
    Unchanged,    // nothing to do: the value is what it was, or the item is read-only
    Refused,      // the value cannot be taken (not a number, out of range, unknown entry)
    ViewChanged,  // only what the sheet shows changed (the polyline vertex shown)
    ChooseColor,  // "Select..." was chosen: the caller asks for a colour and calls ApplyColor
};

class mmPropertiesModel {
public:
    // Builds the sheet for the selection of the session's current space.
    const mmPropertySheet& Refresh(const mmSession& session);
    const mmPropertySheet& Sheet() const { return sheet_; }

    // The value typed, or the text of the entry chosen, for an item, applied to the selected
    // entities: every selected entity for "Color", "Layer" and "LineWidth", the single one for
    // the others. The sheet is built again afterwards.
    mmPropertyEdit Edit(mmSession& session, mmPropertyId id, std::u16string_view value);
    // The colour picked after ChooseColor, with the palette index it maps to.
    mmPropertyEdit ApplyColor(mmSession& session, uint32_t color);

    // The polyline vertex whose coordinates are shown (from 0).
    int VertexShown() const { return vertex_; }

private:
    mmPropertySheet sheet_;
    int32_t vertexEntity_ = -1;  // the polyline vertex_ belongs to
    int vertex_ = 0;
};
