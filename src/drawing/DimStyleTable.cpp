// The dimension style table: lookups, adding, removing and the current style.
#include "drawing/DimStyleTable.h"

#include <cmath>

#include "drawing/Drawing.h"
#include "drawing/Names.h"

const DimStyle* FindDimStyle(const mmDrawing& drawing, int32_t id) {
    const auto it = drawing.dimStyles.find(id);
    return it == drawing.dimStyles.end() ? nullptr : &it->second;
}

DimStyle* FindDimStyle(mmDrawing& drawing, int32_t id) {
    const auto it = drawing.dimStyles.find(id);
    return it == drawing.dimStyles.end() ? nullptr : &it->second;
}

DimStyle DimStyleById(const mmDrawing& drawing, int32_t id) {
    if (const DimStyle* style = FindDimStyle(drawing, id)) return *style;
    DimStyle empty;
    empty.id = -1;
    return empty;
}

const DimStyle* FindDimStyleByName(const mmDrawing& drawing, std::u16string_view name,
                                   mmNameMatch match) {
    for (const auto& [id, style] : drawing.dimStyles) {
        if (style.id == -1) continue;
        if (match == mmNameMatch::Exact ? style.name == name : NamesEqualIgnoringCase(style.name, name))
            return &style;
    }
    return nullptr;
}

int32_t AddDimStyle(mmDrawing& drawing, DimStyle style) {
    const bool first = drawing.dimStyles.empty();
    style.id = drawing.nextDimStyleId++;
    const int32_t id = style.id;
    drawing.dimStyles[id] = std::move(style);
    if (first) drawing.currentDimStyleId = id;
    return id;
}

bool RemoveDimStyle(mmDrawing& drawing, int32_t id) {
    if (drawing.dimStyles.erase(id) == 0) return false;
    if (drawing.currentDimStyleId == id && !drawing.dimStyles.empty()) {
        const DimStyle* standard = FindDimStyleByName(drawing, kStandardDimStyleName, mmNameMatch::Exact);
        drawing.currentDimStyleId = standard ? standard->id : drawing.dimStyles.begin()->first;
    }
    return true;
}

bool SetCurrentDimStyle(mmDrawing& drawing, int32_t id) {
    if (!FindDimStyle(drawing, id)) return false;
    drawing.currentDimStyleId = id;
    return true;
}

const DimStyle* CurrentDimStyle(const mmDrawing& drawing) {
    return FindDimStyle(drawing, drawing.currentDimStyleId);
}

mmDimStyleValues StyleValues(const DimStyle& s) {
    const double f = s.overallScale > 0.0 && std::isfinite(s.overallScale) ? s.overallScale : 1.0;
    const double terminator = s.arrowKind != 0 && s.tickSize > 0.0 ? s.tickSize : s.arrowSize;
    const double lengths = s.linearFactor != 0.0 && std::isfinite(s.linearFactor) ? s.linearFactor : 1.0;
    return {terminator * f, s.extLineOffset * f, s.extLineExtension * f, s.textGap * f,
            s.textHeight * f, s.arrowKind, lengths};
}
