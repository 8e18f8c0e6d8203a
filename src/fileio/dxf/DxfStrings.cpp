// Decoding and encoding the strings of DXF files.
#include "fileio/dxf/DxfStrings.h"

#include <cstdio>

#include "platform/CodePage.h"
#include "platform/Unicode.h"

using kestrel::platform::appendUtf8;
using kestrel::platform::CodePage;

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The value of four hex digits at s[i]; -1 when they are not all there.
long hex4(std::string_view s, std::size_t i) {
    if (i + 4 > s.size()) return -1;
    long v = 0;
    for (std::size_t k = i; k < i + 4; ++k) {
        const int d = hexDigit(s[k]);
        if (d < 0) return -1;
        v = v * 16 + d;
    }
    return v;
}

const char* farEastPage(char n) {
    switch (n) {
        case '1':
            return "ANSI_932";
        case '2':
            return "ANSI_950";
        case '3':
            return "ANSI_949";
        case '4':
            return "ANSI_1361";
        case '5':
            return "ANSI_936";
        default:
            return nullptr;
    }
}

// Whole UTF-8 stays; a byte that is not UTF-8 is taken as Windows-1252.
void appendLenientUtf8(std::string_view raw, std::string& out) {
    for (std::size_t i = 0; i < raw.size();) {
        char32_t cp = 0;
        const std::size_t n = kestrel::platform::decodeUtf8(raw, i, cp);
        if (n == 0) {
            appendUtf8(out, kestrel::platform::cp1252ToUnicode(static_cast<unsigned char>(raw[i])));
            ++i;
        } else {
            out.append(raw.substr(i, n));
            i += n;
        }
    }
}

}  // namespace

DxfStringCodec::DxfStringCodec() : page_(CodePage::Windows1252()) {}

void DxfStringCodec::SetVersion(std::string_view acadver) {
    // AC1021 (R2007) and later; codes compare as text: "AC1009" < "AC1021" < "AC1032".
    utf8_ = acadver.size() >= 6 && acadver.substr(0, 2) == "AC" && acadver.substr(0, 6) >= "AC1021";
}

bool DxfStringCodec::SetCodePage(std::string_view name) {
    auto page = CodePage::FromDxfName(name);
    if (!page) return false;
    page_ = std::move(page);
    return true;
}

void DxfStringCodec::AppendUtf8(std::string_view raw, std::string& out) const {
    std::size_t ascii = 0;
    while (ascii < raw.size() && static_cast<unsigned char>(raw[ascii]) < 0x80 &&
           raw[ascii] != '\\')
        ++ascii;
    if (ascii == raw.size()) {
        out.append(raw);
        return;
    }
    std::string decoded;
    if (utf8_)
        appendLenientUtf8(raw, decoded);
    else
        page_->AppendUtf8(raw, decoded);
    if (decoded.find('\\') == std::string::npos)
        out += decoded;
    else
        out += DecodeDxfEscapes(decoded);
}

std::string DxfStringCodec::ToUtf8(std::string_view raw) const {
    std::string out;
    AppendUtf8(raw, out);
    return out;
}

std::u16string DxfStringCodec::ToUtf16(std::string_view raw) const {
    std::u16string out;
    std::size_t bad = 0;
    const std::string utf8 = ToUtf8(raw);
    kestrel::platform::utf8ToUtf16(utf8, out, &bad);  // well-formed by construction
    return out;
}

std::string DecodeDxfEscapes(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        if (s[i] != '\\' || i + 1 >= s.size()) {
            out += s[i++];
            continue;
        }
        if (s[i + 1] == '\\') {
            out.append("\\\\");
            i += 2;
            continue;
        }
        if (s.compare(i + 1, 2, "U+") == 0) {
            const long unit = hex4(s, i + 3);
            if (unit > 0) {
                char32_t cp = static_cast<char32_t>(unit);
                std::size_t length = 7;
                if (unit >= 0xD800 && unit <= 0xDBFF && s.compare(i + 7, 3, "\\U+") == 0) {
                    const long low = hex4(s, i + 10);
                    if (low >= 0xDC00 && low <= 0xDFFF) {
                        cp = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                             (static_cast<char32_t>(low) - 0xDC00);
                        length = 14;
                    }
                }
                if (cp < 0xD800 || cp > 0xDFFF) {
                    appendUtf8(out, cp);
                    i += length;
                    continue;
                }
            }
        } else if (s.compare(i + 1, 2, "M+") == 0 && i + 8 <= s.size()) {
            const char* page = farEastPage(s[i + 3]);
            const long pair = hex4(s, i + 4);
            const auto cp = page ? CodePage::FromDxfName(page) : nullptr;
            if (cp && pair > 0) {
                const char bytes[2] = {static_cast<char>(pair >> 8),
                                       static_cast<char>(pair & 0xFF)};
                const std::string_view sequence(bytes, 2);
                cp->AppendUtf8(pair > 0xFF ? sequence : sequence.substr(1), out);
                i += 8;
                continue;
            }
        }
        out += s[i++];
    }
    return out;
}

void EncodeDxfString(std::string_view utf8, const CodePage& page, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += utf8[i++];
            continue;
        }
        char32_t cp = 0;
        std::size_t n = kestrel::platform::decodeUtf8(utf8, i, cp);
        if (n == 0) {
            cp = kestrel::platform::cp1252ToUnicode(c);
            n = 1;
        }
        i += n;
        if (page.Encode(cp, out)) continue;
        char escape[32];
        if (cp >= 0x10000) {
            const char32_t v = cp - 0x10000;
            std::snprintf(escape, sizeof escape, "\\U+%04X\\U+%04X",
                          static_cast<unsigned>(0xD800 + (v >> 10)),
                          static_cast<unsigned>(0xDC00 + (v & 0x3FF)));
        } else {
            std::snprintf(escape, sizeof escape, "\\U+%04X", static_cast<unsigned>(cp));
        }
        out += escape;
    }
}
