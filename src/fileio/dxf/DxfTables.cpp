// LAYER and DIMSTYLE entries into the drawing's tables.
#include "fileio/dxf/DxfTables.h"

#include <cstdlib>

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
    layer.show = true;
    layer.selectable = true;
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

bool addDimStyleEntry(mmDrawing& drawing, const DxfTableEntry& entry, DxfNameIndex& names,
                      const DxfStringCodec& strings) {
    std::u16string name = strings.ToUtf16(entry.name);
    if (names.DimStyle(name)) return false;
    names.AddDimStyle(name, drawing.nextDimStyleId);
    DimStyle s;
    s.id = drawing.nextDimStyleId++;
    s.name = std::move(name);
    s.textHeight = entry.textHeight;
    s.arrowSize = entry.arrowSize;
    s.extLineExtension = entry.extLineExtension;
    s.extLineOffset = entry.extLineOffset;
    s.textGap = entry.textGap;
    s.arrowBlock1 = strings.ToUtf16(entry.lineType);
    s.arrowBlock2 = strings.ToUtf16(entry.arrowBlock2);
    s.dimLineExtension = entry.dimLineExtension;
    s.dimLineColor = entry.dimLineColor;
    s.extLineColor = entry.extLineColor;
    s.textColor = entry.textColor;
    s.textPlacement = entry.textPlacement;
    s.arrowKind = 0;
    drawing.dimStyles[s.id] = std::move(s);
    return true;
}
