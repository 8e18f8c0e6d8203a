// Conversion of typed and file text to the 8-bit text of entities.
#include "commands/DrawingText.h"

#include "platform/CodePage.h"
#include "platform/Unicode.h"

namespace {

bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Cuts to the limit; only replacements that stay in the text count.
void finish(mmDrawingText& result, std::size_t firstReplacement, std::size_t maxBytes) {
    if (result.bytes.size() > maxBytes) {
        result.bytes.resize(maxBytes);
        result.cut = true;
    }
    result.replaced = firstReplacement < result.bytes.size();
}

}  // namespace

mmDrawingText ToDrawingText(std::u16string_view text, std::size_t maxBytes) {
    mmDrawingText result;
    std::size_t firstReplacement = std::string::npos;
    std::string part;
    while (result.bytes.size() <= maxBytes) {
        std::size_t bad = 0;
        const bool whole = kestrel::platform::utf16ToCp1252(text, part, &bad);
        result.bytes += part;
        if (whole) break;
        if (firstReplacement == std::string::npos) firstReplacement = result.bytes.size();
        result.bytes += kReplacementByte;
        const bool pair =
            bad + 1 < text.size() && isHighSurrogate(text[bad]) && isLowSurrogate(text[bad + 1]);
        text.remove_prefix(bad + (pair ? 2 : 1));
    }
    finish(result, firstReplacement, maxBytes);
    return result;
}

mmDrawingText FileTextToDrawingText(std::string_view line, std::size_t maxBytes) {
    mmDrawingText result;
    std::size_t firstReplacement = std::string::npos;
    std::size_t pos = 0;
    bool utf8 = true;
    std::size_t nonAscii = 0;
    for (char32_t cp = 0; pos < line.size();) {
        const std::size_t length = kestrel::platform::decodeUtf8(line, pos, cp);
        if (length == 0) {
            utf8 = false;
            break;
        }
        if (length > 1) ++nonAscii;
        pos += length;
    }
    if (!utf8 || nonAscii == 0) {
        result.bytes.assign(line.substr(0, maxBytes + 1));
    } else {
        for (pos = 0; pos < line.size() && result.bytes.size() <= maxBytes;) {
            char32_t cp = 0;
            pos += kestrel::platform::decodeUtf8(line, pos, cp);
            char byte = 0;
            if (!kestrel::platform::unicodeToCp1252(cp, byte)) {
                if (firstReplacement == std::string::npos) firstReplacement = result.bytes.size();
                byte = kReplacementByte;
            }
            result.bytes += byte;
        }
    }
    finish(result, firstReplacement, maxBytes);
    return result;
}

std::u16string DrawingTextNotice(std::u16string_view what, bool plural, bool replaced, bool cut,
                                 std::size_t maxBytes) {
    if (!replaced && !cut) return {};
    std::u16string notice(what);
    if (replaced) notice += u" had characters Windows-1252 cannot hold; they became \"?\"";
    if (replaced && cut) notice += u", and";
    if (cut) {
        notice += plural ? u" were cut to " : u" was cut to ";
        for (char c : std::to_string(maxBytes))
            notice += static_cast<char16_t>(c);
        notice += u" characters";
    }
    notice += u'.';
    return notice;
}
