// Texts and multi-line texts from the decoded drawing. The bridge gives their strings in UTF-8;
// the entities keep the bytes of the drawing code page, as texts read from DXF files do.
#include <cmath>

#include "entities/Geometry.h"
#include "entities/MText.h"
#include "entities/Text.h"
#include "fileio/dwg/DwgConverter.h"
#include "fileio/dxf/DxfEntityRecords.h"
#include "platform/CodePage.h"
#include "platform/Unicode.h"

namespace {

using namespace dwgjson;

int16_t attachmentOf(int32_t value) {
    return static_cast<int16_t>(value >= 1 && value <= 9 ? value : 1);
}

}  // namespace

std::string DwgTextBytes(std::string_view utf8, std::size_t limit) {
    // No character takes more than four bytes.
    if (utf8.size() / 4 > limit) utf8 = utf8.substr(0, 4 * limit + 4);
    std::string out;
    std::size_t pos = 0;
    while (pos < utf8.size() && out.size() < limit) {
        std::string part;
        std::size_t bad = 0;
        if (kestrel::platform::utf8ToCp1252(utf8.substr(pos), part, &bad)) {
            out += part;
            break;
        }
        out += part;
        out += '?';
        char32_t cp = 0;
        const std::size_t length = kestrel::platform::decodeUtf8(utf8, pos + bad, cp);
        pos += bad + (length ? length : 1);
    }
    if (out.size() > limit) out.resize(limit);
    return out;
}

void DwgConverter::fillText(mmText& t, double x, double y, double height, double rotation,
                            std::string_view bytes) const {
    t.SetInsertionPoint(x, y);
    t.height = height;
    t.rotation = rotation;
    t.SetString(bytes, glyphs_);
}

mmObjectPtr DwgConverter::convertText(const DwgJson& e) {
    const Point at = point(e, "ins_pt");
    auto text = std::make_shared<mmText>();
    fillText(*text, at.x, at.y, real(e, "height"), real(e, "rotation") * kRadToDeg,
             DwgTextBytes(dwgjson::text(e, "text_value"), kDxfTextLimit));
    return text;
}

// The rotation is the direction of the text's x axis; the text loses its formatting codes
// before it is cut to the limit, so that the limit counts what is shown.
mmObjectPtr DwgConverter::convertMText(const DwgJson& e) {
    const Point at = point(e, "ins_pt");
    const Point axis = point(e, "x_axis_dir");
    const double rotation =
        (axis.x != 0.0 || axis.y != 0.0) ? std::atan2(axis.y, axis.x) * kRadToDeg : 0.0;
    std::string bytes = DwgTextBytes(dwgjson::text(e, "text"), kDxfMTextRawLimit);
    stripMTextFormatting(bytes);
    if (bytes.size() > kDxfTextLimit) bytes.resize(kDxfTextLimit);
    auto text = std::make_shared<mmMText>();
    text->attachment = attachmentOf(integer(e, "attachment", 1));
    fillText(*text, at.x, at.y, real(e, "text_height"), rotation, bytes);
    return text;
}
