// LTYPE, LAYER and DIMSTYLE entries into the drawing's tables.
#include "fileio/dxf/DxfTables.h"

#include <cstdlib>
#include <string_view>

#include "drawing/Drawing.h"
#include "drawing/Palette.h"
#include "fileio/dxf/DxfNameIndex.h"
#include "fileio/dxf/DxfReader.h"

namespace {

// A layer's colour from its group 62. A negative number is how other programs mark a layer
// that is switched off: its colour is that of the number without the sign.
uint32_t layerColor(int32_t number) {
    if (number >= 0 && number <= 255) return PaletteColor(number);
    if (number < 0 && number >= -255) return PaletteColor(-number);
    return static_cast<uint32_t>(number);
}

}  // namespace

bool addLayerEntry(mmDrawing& drawing, const DxfTableEntry& entry, DxfNameIndex& names,
                   const DxfStringCodec& strings) {
    std::u16string name = strings.ToUtf16(entry.name);
    if (names.Layer(name)) return false;
    names.AddLayer(name, drawing.nextLayerId);
    mmLayer layer;
    layer.id = drawing.nextLayerId++;
    layer.name = std::move(name);
    layer.colorIndex = entry.color;
    layer.color = layerColor(entry.color);
    if (entry.trueColor >= 0) {
        const auto rgb = static_cast<uint32_t>(entry.trueColor);
        layer.color = MakeColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    }
    layer.colorText = ColorText(layer.color);
    // Off: a negative colour number; 70 bit 1 frozen, bit 4 locked.
    layer.show = entry.color >= 0;
    layer.frozen = (entry.flags & 1) != 0;
    layer.locked = (entry.flags & 4) != 0;
    layer.selectable = !layer.locked;
    layer.linetype = entry.lineType.empty()
                         ? kLineTypeContinuous
                         : names.LineType(strings.ToUtf16(entry.lineType)).value_or(kLineTypeContinuous);
    if (layer.linetype < 0) layer.linetype = kLineTypeContinuous;  // a layer's is never by layer
    layer.lineWidth = entry.lineWeight > 9 ? entry.lineWeight / 10 : 1;
    drawing.layers[layer.id] = std::move(layer);
    return true;
}

bool addLineTypeEntry(mmDrawing& drawing, const DxfTableEntry& entry, DxfNameIndex& names,
                      const DxfStringCodec& strings) {
    std::u16string name = strings.ToUtf16(entry.name);
    if (name.empty() || names.LineType(name)) return false;
    mmLineType lineType;
    lineType.id = drawing.nextLineTypeId++;
    names.AddLineType(name, lineType.id);
    lineType.name = std::move(name);
    lineType.description = strings.ToUtf16(entry.description);
    lineType.flags = entry.flags;
    lineType.patternLength = entry.patternLength;
    lineType.dashes.assign(entry.dashes.begin(), entry.dashes.begin() + static_cast<std::ptrdiff_t>(entry.dashCount));
    drawing.lineTypes[lineType.id] = std::move(lineType);
    return true;
}

namespace {

void takeEntryValues(DimStyle& s, const DxfTableEntry& entry, const DxfStringCodec& strings) {
    s.textHeight = entry.textHeight;
    s.arrowSize = entry.arrowSize;
    s.extLineExtension = entry.extLineExtension;
    s.extLineOffset = entry.extLineOffset;
    s.textGap = entry.textGap;
    s.overallScale = entry.overallScale;
    s.tickSize = entry.tickSize;
    s.linearFactor = entry.linearFactor;
    s.arrowBlock1 = strings.ToUtf16(entry.lineType);
    s.arrowBlock2 = strings.ToUtf16(entry.arrowBlock2);
    s.dimLineExtension = entry.dimLineExtension;
    s.dimLineColor = entry.dimLineColor;
    s.extLineColor = entry.extLineColor;
    s.textColor = entry.textColor;
    s.textPlacement = entry.textPlacement;
    s.arrowKind = entry.tickSize > 0.0 ? 1 : 0;
}

}  // namespace

bool addDimStyleEntry(mmDrawing& drawing, const DxfTableEntry& entry, DxfNameIndex& names,
                      const DxfStringCodec& strings, std::set<int32_t>* replaceable) {
    std::u16string name = strings.ToUtf16(entry.name);
    if (const std::optional<int32_t> id = names.DimStyle(name)) {
        auto it = drawing.dimStyles.find(*id);
        if (!replaceable || !replaceable->erase(*id) || it == drawing.dimStyles.end()) return false;
        takeEntryValues(it->second, entry, strings);
        return true;
    }
    names.AddDimStyle(name, drawing.nextDimStyleId);
    DimStyle s;
    s.id = drawing.nextDimStyleId++;
    s.name = std::move(name);
    takeEntryValues(s, entry, strings);
    drawing.dimStyles[s.id] = std::move(s);
    return true;
}

namespace {

struct RealVariable {
    std::string_view name;
    double DxfTableEntry::*value;
};
struct IntVariable {
    std::string_view name;
    int32_t DxfTableEntry::*value;
};

constexpr RealVariable kRealVariables[] = {
    {"$DIMSCALE", &DxfTableEntry::overallScale},   {"$DIMASZ", &DxfTableEntry::arrowSize},
    {"$DIMEXO", &DxfTableEntry::extLineOffset},    {"$DIMEXE", &DxfTableEntry::extLineExtension},
    {"$DIMDLE", &DxfTableEntry::dimLineExtension}, {"$DIMTXT", &DxfTableEntry::textHeight},
    {"$DIMTSZ", &DxfTableEntry::tickSize},         {"$DIMLFAC", &DxfTableEntry::linearFactor},
    {"$DIMGAP", &DxfTableEntry::textGap},
};
constexpr IntVariable kIntVariables[] = {
    {"$DIMTAD", &DxfTableEntry::textPlacement},
    {"$DIMCLRD", &DxfTableEntry::dimLineColor},
    {"$DIMCLRE", &DxfTableEntry::extLineColor},
    {"$DIMCLRT", &DxfTableEntry::textColor},
};

}  // namespace

void takeDimHeaderVariable(DxfTableEntry& defaults, std::string_view name, const DxfReader& reader) {
    if (reader.code() == 40)
        for (const RealVariable& v : kRealVariables)
            if (v.name == name) {
                defaults.*v.value = reader.realValue();
                return;
            }
    if (reader.code() == 70)
        for (const IntVariable& v : kIntVariables)
            if (v.name == name) {
                defaults.*v.value = reader.intValue();
                return;
            }
}

void setDimStylesToDefaults(mmDrawing& drawing, const std::set<int32_t>& ids,
                            const DxfTableEntry& defaults) {
    for (const int32_t id : ids)
        if (auto it = drawing.dimStyles.find(id); it != drawing.dimStyles.end())
            takeEntryValues(it->second, defaults, DxfStringCodec());
}
