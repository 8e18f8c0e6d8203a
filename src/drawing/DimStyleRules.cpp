// The dimension style dialog rules: current, new, modify, delete and apply to all.
#include "drawing/DimStyleRules.h"

#include <charconv>
#include <cmath>

#include "drawing/DimStyleTable.h"
#include "drawing/DimensionRules.h"
#include "drawing/Drawing.h"
#include "platform/Host.h"

namespace {

std::u16string formatValue(double value) {
    char buffer[512];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 4);
    if (result.ec != std::errc()) return u"0.0000";
    return std::u16string(buffer, result.ptr);
}

// The spaces whose dimensions the dialog changes: model space, then the active layout's.
template <class Visit>
void forEachStyledSpace(mmDrawing& drawing, Visit&& visit) {
    visit(drawing.ModelSpace());
    if (drawing.activePaperSpace) visit(*drawing.activePaperSpace);
}

bool usedByLiveDimension(mmSpace& space, int32_t id) {
    bool used = false;
    ForEachDimension(space, [&](const mmDimension& d) { used = used || (!d.erased && d.dimStyleId == id); });
    return used;
}

}  // namespace

bool DimStyleSetCurrent(mmDrawing& drawing, int32_t id) { return SetCurrentDimStyle(drawing, id); }

int32_t DimStyleNew(mmDrawing& drawing, std::u16string_view name, int32_t baseId) {
    const DimStyle* base = FindDimStyle(drawing, baseId);
    if (!base) return -1;
    DimStyle style = DimStyle::Standard(-1);
    style.name.assign(name.substr(0, kNewDimStyleNameMax));
    style.arrowSize = base->arrowSize;
    style.extLineOffset = base->extLineOffset;
    style.extLineExtension = base->extLineExtension;
    style.textHeight = base->textHeight;
    style.textGap = base->textGap;
    style.arrowKind = base->arrowKind;
    style.overallScale = base->overallScale;
    style.tickSize = base->tickSize;
    style.linearFactor = base->linearFactor;
    return AddDimStyle(drawing, std::move(style));
}

mmDimStyleModifyFields DimStyleModifyFields(const DimStyle& style) {
    mmDimStyleModifyFields f;
    f.title = u"Modify Dimension Style: " + style.name;
    f.textHeight = formatValue(style.textHeight);
    f.extLineOffset = formatValue(style.extLineOffset);
    f.extLineExtension = formatValue(style.extLineExtension);
    f.arrowSize = formatValue(style.arrowSize);
    f.textGap = formatValue(style.textGap);
    f.arrowKind = style.arrowKind;
    return f;
}

double ParseDimStyleNumber(std::u16string_view text) {
    std::string narrow;
    std::size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r'))) ++i;
    if (i < text.size() && text[i] == u'+') ++i;
    for (; i < text.size() && text[i] < 0x80; ++i) narrow.push_back(static_cast<char>(text[i]));
    double value = 0.0;
    const auto result = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value,
                                        std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) return 0.0;
    if (result.ec != std::errc() || !std::isfinite(value)) return 0.0;
    return value;
}

bool DimStyleModify(mmDrawing& drawing, int32_t id, const mmDimStyleModifyFields& typed,
                    const mmGlyphTablePtr& glyphs) {
    DimStyle* style = FindDimStyle(drawing, id);
    if (!style) return false;
    style->textHeight = ParseDimStyleNumber(typed.textHeight);
    style->extLineOffset = ParseDimStyleNumber(typed.extLineOffset);
    style->extLineExtension = ParseDimStyleNumber(typed.extLineExtension);
    style->arrowSize = ParseDimStyleNumber(typed.arrowSize);
    style->textGap = ParseDimStyleNumber(typed.textGap);
    style->arrowKind = typed.arrowKind;
    style->tickSize = 0.0;  // the typed arrow size sizes ticks too
    const DimStyle values = *style;
    forEachStyledSpace(drawing, [&](mmSpace& space) {
        ForEachDimension(space, [&](mmDimension& d) {
            if (d.dimStyleId == id) RestyleDimension(d, values, glyphs);
        });
    });
    return true;
}

std::string DimStyleDelete(mmDrawing& drawing, int32_t id) {
    const DimStyle* style = FindDimStyle(drawing, id);
    if (!style) return {};
    if (style->name == kStandardDimStyleName) return kCannotDeleteStandardDimStyle;
    if (drawing.activePaperSpace && usedByLiveDimension(*drawing.activePaperSpace, id))
        return kCannotDeleteUsedDimStyle;
    if (usedByLiveDimension(drawing.ModelSpace(), id)) return kCannotDeleteUsedDimStyle;
    RemoveDimStyle(drawing, id);
    return {};
}

bool DimStyleDelete(mmDrawing& drawing, int32_t id, kestrel::platform::Host& host) {
    if (!FindDimStyle(drawing, id)) return false;
    const std::string message = DimStyleDelete(drawing, id);
    if (message.empty()) return true;
    host.messageBox(message, kestrel::platform::MessageKind::Warning);
    return false;
}

bool DimStyleApplyToAll(mmDrawing& drawing, int32_t id, const mmGlyphTablePtr& glyphs) {
    const DimStyle* style = FindDimStyle(drawing, id);
    if (!style) return false;
    const DimStyle values = *style;
    forEachStyledSpace(drawing, [&](mmSpace& space) {
        ForEachDimension(space, [&](mmDimension& d) {
            if (!d.erased) RestyleDimension(d, values, glyphs);
        });
    });
    return true;
}
