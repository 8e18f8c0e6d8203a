// Texts and multi-line texts from the decoded drawing. The bridge gives their strings in UTF-8;
// \U+XXXX escapes of characters outside the drawing's code page are decoded as the DXF reader
// decodes them, and multi-line texts keep their inline codes.
#include <cmath>

#include "entities/Geometry.h"
#include "entities/MText.h"
#include "entities/Text.h"
#include "fileio/PlanShapes.h"
#include "fileio/dwg/DwgConverter.h"
#include "fileio/dxf/DxfEntityRecords.h"
#include "fileio/dxf/DxfStrings.h"
#include "platform/Unicode.h"

namespace {

using namespace dwgjson;

int16_t attachmentOf(int32_t value) {
    return static_cast<int16_t>(value >= 1 && value <= 9 ? value : 1);
}

}  // namespace

std::string DwgDrawingText(std::string_view utf8) {
    if (utf8.size() > kDxfMTextRawLimit) {
        // Cut at the start of a character.
        std::size_t end = kDxfMTextRawLimit;
        while (end > 0 && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
            --end;
        utf8 = utf8.substr(0, end);
    }
    return DecodeDxfEscapes(utf8);
}

// Insertion point, height, rotation, width factor, oblique angle and justification, in the
// plan; a justified text is placed by its alignment point.
void DwgConverter::fillText(const DwgJson& e, std::string_view value, mmText& t) {
    const Point at = point(e, "ins_pt");
    t.points.reserve(2);
    t.points.emplace_back(at.x, at.y);
    t.text = DwgDrawingText(value);
    t.height = real(e, "height");
    t.rotation = real(e, "rotation") * kRadToDeg;
    const double width = real(e, "width_factor", 1.0);
    if (width > 0.0) t.widthFactor = width;
    t.SetOblique(real(e, "oblique_angle") * kRadToDeg, nullptr);
    const int32_t h = integer(e, "horiz_alignment"), v = integer(e, "vert_alignment");
    t.horizontal = static_cast<int16_t>(h >= 0 && h <= 5 ? h : 0);
    t.vertical = static_cast<int16_t>(v >= 0 && v <= 3 ? v : 0);
    if (t.Justified()) {
        const Point align = point(e, "alignment_pt");
        t.points.emplace_back(align.x, align.y);
    }
    const mmOcs ocs = DwgPlaneOf(e);
    PlaceText(ocs, 0.0, t);
    noteApproximation(ocs, DxfNameOfDwgType(text(e, "type")), t.type, false);
    t.UpdateGrips();
    t.Rebuild(glyphs_);
}

mmObjectPtr DwgConverter::convertText(const DwgJson& e) {
    auto t = std::make_shared<mmText>();
    fillText(e, text(e, "text_value"), *t);
    return t;
}

// The rotation is the direction of the text's x axis; the reference rectangle's width wraps
// its paragraphs.
mmObjectPtr DwgConverter::convertMText(const DwgJson& e) {
    const Point at = point(e, "ins_pt");
    const Point axis = point(e, "x_axis_dir");
    auto t = std::make_shared<mmMText>();
    t->points.reserve(2);
    t->points.emplace_back(at.x, at.y);
    t->text = DwgDrawingText(dwgjson::text(e, "text"));
    t->height = real(e, "text_height");
    t->rotation = (axis.x != 0.0 || axis.y != 0.0) ? std::atan2(axis.y, axis.x) * kRadToDeg : 0.0;
    t->attachment = attachmentOf(integer(e, "attachment", 1));
    t->rectangleWidth = real(e, "rect_width");
    const double spacing = real(e, "linespace_factor", 1.0);
    if (spacing > 0.0) t->lineSpacing = spacing;
    noteApproximation(DwgPlaneOf(e), "MTEXT", kTypeMText, false);
    t->UpdateGrips();
    t->Rebuild(glyphs_);
    return t;
}
