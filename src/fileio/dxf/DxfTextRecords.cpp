// TEXT and MTEXT records, the text limit and the removal of multi-line text formatting.
#include <algorithm>
#include <cmath>
#include <string_view>

#include "entities/Geometry.h"
#include "fileio/dxf/DxfEntityRecords.h"
#include "platform/CodePage.h"

namespace {

template <class Extra>
bool readTextGroups(DxfReader& r, DxfEntityHeader& h, DxfTextRecord& t, Extra&& extra) {
    t.clear();
    return readDxfEntityGroups(r, h, kDxfAllHeader, [&](int32_t code) {
        switch (code) {
            // Texts are kept as the file's bytes (the code page both ways).
            case 1:
                t.text.assign(r.value());
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
                t.rotationGiven = true;
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

// "\U+XXXX" at i: the code point's byte (or "?") and true; false when the hex digits are not
// all there.
bool codePointAt(const std::string& text, std::size_t i, char& byte) {
    if (text.compare(i, 3, "\\U+") != 0 || i + 7 > text.size()) return false;
    char32_t cp = 0;
    for (std::size_t k = i + 3; k < i + 7; ++k) {
        const char c = text[k];
        const int digit = (c >= '0' && c <= '9')   ? c - '0'
                          : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                          : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                                   : -1;
        if (digit < 0) return false;
        cp = cp * 16 + static_cast<char32_t>(digit);
    }
    if (cp == 0 || !kestrel::platform::unicodeToCp1252(cp, byte)) byte = '?';
    return true;
}

}  // namespace

bool readDxfText(DxfReader& r, DxfEntityHeader& h, DxfTextRecord& t) {
    const bool more = readTextGroups(r, h, t, [&](int32_t code) {
        if (code == 72)
            t.horizontal = r.intValue();
        else if (code == 73)
            t.vertical = r.intValue();
    });
    if (t.text.size() > kDxfTextLimit) t.text.resize(kDxfTextLimit);
    return more;
}

// The 3 chunks come before the last part in 1; their total is bounded.
bool readDxfMText(DxfReader& r, DxfEntityHeader& h, DxfTextRecord& t) {
    std::string chunks;
    const bool more = readTextGroups(r, h, t, [&](int32_t code) {
        if (code == 71) {
            t.attachment = r.intValue();
        } else if (code == 3) {
            const std::size_t room = kDxfMTextRawLimit - std::min(kDxfMTextRawLimit, chunks.size());
            chunks.append(r.value().substr(0, room));
        }
    });
    if (!chunks.empty()) t.text.insert(0, chunks);
    if (!t.rotationGiven && (t.alignX != 0.0 || t.alignY != 0.0))
        t.rotation = std::atan2(t.alignY, t.alignX) * kRadToDeg;
    if (t.text.size() > kDxfMTextRawLimit) t.text.resize(kDxfMTextRawLimit);
    stripMTextFormatting(t.text);
    if (t.text.size() > kDxfTextLimit) t.text.resize(kDxfTextLimit);
    return more;
}

// A code with an argument (\A1; \C3; \Farial|b0; \H2.5x; ...) goes with its semicolon; a stack
// (\S1^2;) leaves its numbers as "1/2"; \\, \{ and \} leave their character, \U+XXXX the byte
// of its character; any other code (\P, \~, \L ...) goes with the character after the
// backslash.
void stripMTextFormatting(std::string& text) {
    std::string out;
    out.reserve(text.size());
    // The first semicolon at or after the last search start: searches go forward only, so the
    // whole text is scanned once however many codes it holds.
    std::size_t next = 0;
    bool searched = false;
    const auto semicolonFrom = [&](std::size_t from) {
        if (!searched || (next != std::string::npos && next < from)) next = text.find(';', from);
        searched = true;
        return next;
    };
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] != '\\') {
            out += text[i++];
            continue;
        }
        if (i + 1 == text.size()) break;
        const char c = text[i + 1];
        const std::size_t semicolon = semicolonFrom(i + 2);
        char byte = 0;
        if (c == '\\' || c == '{' || c == '}') {
            out += c;
        } else if (c == 'U' && codePointAt(text, i, byte)) {
            out += byte;
            i += 7;
            continue;
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
