// The rules of the dimension style dialogs, without windows: set current, new from a base style,
// modify (pushing the values into the dimensions of the style), delete and apply to all. Each
// acts on the drawing at once; an id that names no style does nothing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "entities/GlyphTable.h"

namespace kestrel::platform {
class Host;
}

class mmDrawing;
struct DimStyle;

inline constexpr char kCannotDeleteStandardDimStyle[] = "Cannot delete 'Standard' dim style!";
inline constexpr char kCannotDeleteUsedDimStyle[] = "Cannot delete dim style used in drawing!";
inline constexpr std::size_t kNewDimStyleNameMax = 49;

// Set current: false when no style has the id.
bool DimStyleSetCurrent(mmDrawing& drawing, int32_t id);

// New: a style named so (at most 49 characters, not checked otherwise) under the next style id,
// with the six dimension values of the base style. The fields those do not cover take the values
// of "Standard": dimension and extension line colours 0, dimension line extension 0, no arrow
// blocks, text colour 256 (by layer), text placement 0. Returns the new id, or -1 when the base
// style does not exist.
int32_t DimStyleNew(mmDrawing& drawing, std::u16string_view name, int32_t baseId);

// What the modify dialog shows and hands back: its title and the five values as texts.
struct mmDimStyleModifyFields {
    std::u16string title;  // "Modify Dimension Style: " and the style name
    std::u16string textHeight;
    std::u16string extLineOffset;
    std::u16string extLineExtension;
    std::u16string arrowSize;
    std::u16string textGap;
    int16_t arrowKind = 0;  // 0 arrow, 1 line
};

// The fields of the dialog for a style, each value formatted "%.4f".
mmDimStyleModifyFields DimStyleModifyFields(const DimStyle& style);
// The number a typed text starts with, as the C library reads it ("12,5" is 12); 0 for a text
// that does not start with a number, and for infinities and NaN, which no file could carry.
double ParseDimStyleNumber(std::u16string_view text);
// Modify, on OK: the five texts parsed and stored with the arrow kind; then every dimension of
// the style in model space and in the active layout's paper space takes the six values and the
// text height and is built again. False when no style has the id.
bool DimStyleModify(mmDrawing& drawing, int32_t id, const mmDimStyleModifyFields& typed,
                    const mmGlyphTablePtr& glyphs);

// Delete: removes the style unless it is "Standard" or a dimension that is not erased uses it
// (in the active layout's paper space or in model space). Returns the message to show, empty when
// the style was removed or no style has the id.
std::string DimStyleDelete(mmDrawing& drawing, int32_t id);
// The same, showing the message through the host; true when the style was removed.
bool DimStyleDelete(mmDrawing& drawing, int32_t id, kestrel::platform::Host& host);

// Apply to all: every dimension that is not erased, in model space and in the active layout's
// paper space, takes the style's id and values and is built again. False when no style has the id.
bool DimStyleApplyToAll(mmDrawing& drawing, int32_t id, const mmGlyphTablePtr& glyphs);
