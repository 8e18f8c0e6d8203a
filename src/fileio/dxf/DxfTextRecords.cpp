// TEXT and MTEXT records, the text limit and the removal of multi-line text formatting.
#include <string_view>

#include "fileio/dxf/DxfEntityRecords.h"

namespace {

template <class Extra>
bool readTextGroups(DxfReader& r, DxfEntityHeader& h, DxfTextRecord& t, Extra&& extra) {
    t = DxfTextRecord();
    return readDxfEntityGroups(r, h, kDxfAllHeader, [&](int32_t code) {
        switch (code) {
            // Texts are kept as the file's bytes (the code page both ways), cut to the limit.
            case 1:
                t.text.assign(r.value().substr(0, kDxfTextLimit));
                break;
            case 7:
                t.style.assign(r.value());
                break;
            case 10:
                t.x = r.realValue();
                break;
            case 20:
                t.y = r.realValue();
                break;
            case 11:
                t.alignX = r.realValue();
                break;
            case 21:
                t.alignY = r.realValue();
                break;
            case 40:
                t.height = r.realValue();
                break;
            case 41:
                t.widthFactor = r.realValue();
                break;
            case 50:
                t.rotation = r.realValue();
                break;
            default:
                extra(code);
                break;
        }
    });
}

// Codes followed by an argument that a semicolon ends.
bool takesArgument(char c) {
    return std::string_view("ACcFfHQTWp").find(c) != std::string_view::npos;
}

}  // namespace

bool readDxfText(DxfReader& r, DxfEntityHeader& h, DxfTextRecord& t) {
    return readTextGroups(r, h, t, [&](int32_t code) {
        if (code == 72)
            t.horizontal = r.intValue();
        else if (code == 73)
            t.vertical = r.intValue();
    });
}

bool readDxfMText(DxfReader& r, DxfEntityHeader& h, DxfTextRecord& t) {
    const bool more = readTextGroups(r, h, t, [&](int32_t code) {
        if (code == 71) t.attachment = r.intValue();
    });
    stripMTextFormatting(t.text);
    return more;
}

// A code with an argument (\A1; \C3; \Farial|b0; \H2.5x; ...) goes with its semicolon; a stack
// (\S1^2;) leaves its numbers as "1/2"; \\, \{ and \} leave their character; any other code
// (\P, \~, \L ...) goes with the character after the backslash.
void stripMTextFormatting(std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] != '\\') {
            out += text[i++];
            continue;
        }
        if (i + 1 == text.size()) break;
        const char c = text[i + 1];
        const std::size_t semicolon = text.find(';', i + 2);
        if (c == '\\' || c == '{' || c == '}') {
            out += c;
        } else if (c == 'S' && semicolon != std::string::npos) {
            for (std::size_t k = i + 2; k < semicolon; ++k)
                out += (text[k] == '^' || text[k] == '#') ? '/' : text[k];
            i = semicolon + 1;
            continue;
        } else if (takesArgument(c) && semicolon != std::string::npos) {
            i = semicolon + 1;
            continue;
        }
        i += 2;
    }
    text.swap(out);
}
