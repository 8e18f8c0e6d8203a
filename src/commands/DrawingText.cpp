// Conversion of typed and file text to the UTF-8 text of entities.
#include "commands/DrawingText.h"

#include "platform/CodePage.h"
#include "platform/Unicode.h"

using kestrel::platform::appendUtf8;

mmDrawingText ToDrawingText(std::u16string_view text, std::size_t maxCharacters) {
    mmDrawingText result;
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i, ++count) {
        if (count == maxCharacters) {
            result.cut = true;
            break;
        }
        const char32_t u = text[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            appendUtf8(result.text, 0x10000 + ((u - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else {
            appendUtf8(result.text, (u >= 0xD800 && u <= 0xDFFF) ? U'\uFFFD' : u);
        }
    }
    return result;
}

mmDrawingText FileTextToDrawingText(std::string_view line, std::size_t maxCharacters) {
    bool utf8 = true;
    for (std::size_t pos = 0; pos < line.size() && utf8;) {
        char32_t cp = 0;
        const std::size_t length = kestrel::platform::decodeUtf8(line, pos, cp);
        utf8 = length != 0;
        pos += length;
    }
    mmDrawingText result;
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < line.size(); ++count) {
        if (count == maxCharacters) {
            result.cut = true;
            break;
        }
        if (utf8) {
            char32_t cp = 0;
            const std::size_t length = kestrel::platform::decodeUtf8(line, pos, cp);
            result.text.append(line.substr(pos, length));
            pos += length;
        } else {
            appendUtf8(result.text,
                       kestrel::platform::cp1252ToUnicode(static_cast<unsigned char>(line[pos++])));
        }
    }
    return result;
}

std::u16string DrawingTextNotice(std::u16string_view what, bool plural, bool cut,
                                 std::size_t maxCharacters) {
    if (!cut) return {};
    std::u16string notice(what);
    notice += plural ? u" were cut to " : u" was cut to ";
    for (char c : std::to_string(maxCharacters))
        notice += static_cast<char16_t>(c);
    notice += u" characters.";
    return notice;
}
