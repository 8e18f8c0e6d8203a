// 8-bit code pages, both ways: the one place that converts the text of files that need one.
// Windows-1252 by table; the others a file can name (Windows, DOS and the Far East multi-byte
// pages) through iconv.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/Unicode.h"

namespace kestrel::platform {

// The character a Windows-1252 byte stands for. The five bytes the code page leaves unassigned
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value, as Windows does, so
// every byte string converts and round-trips.
char16_t cp1252ToUnicode(unsigned char byte);

// The byte for cp; false when Windows-1252 has none.
bool unicodeToCp1252(char32_t cp, char& byte);

// Never fail: every byte has a character.
std::u16string cp1252ToUtf16(std::string_view in);
std::string cp1252ToUtf8(std::string_view in);

// Both overwrite out. A character with no byte in the code page (or malformed input) is never
// replaced: the function returns false, out holds the bytes of everything before that character,
// and *firstBad (when given) its index in code units of the input (bytes for UTF-8). The caller
// decides what to do with it, e.g. write an escape and carry on after it.
bool utf16ToCp1252(std::u16string_view in, std::string& out, std::size_t* firstBad = nullptr);
bool utf8ToCp1252(std::string_view in, std::string& out, std::size_t* firstBad = nullptr);

// A code page by the name a DXF file gives in $DWGCODEPAGE. Conversion to UTF-8 never fails:
// a byte sequence that is no character of the page becomes U+FFFD.
class CodePage {
public:
    ~CodePage();
    CodePage(const CodePage&) = delete;
    CodePage& operator=(const CodePage&) = delete;

    static std::shared_ptr<const CodePage> Windows1252();
    // "ANSI_1251", "dos850", "ANSI_932", ... (case ignored); null for a name we do not know or
    // that iconv cannot convert.
    static std::shared_ptr<const CodePage> FromDxfName(std::string_view name);

    // The DXF name, upper case ("ANSI_1252").
    const std::string& Name() const { return name_; }
    bool SingleByte() const { return singleByte_; }

    void AppendUtf8(std::string_view bytes, std::string& out) const;
    std::string ToUtf8(std::string_view bytes) const {
        std::string out;
        AppendUtf8(bytes, out);
        return out;
    }
    // Appends the bytes of cp; false (and nothing appended) when the page has no such character.
    bool Encode(char32_t cp, std::string& out) const;

private:
    CodePage() = default;
    static std::shared_ptr<const CodePage> Open(const std::string& dxfName, const char* iconvName);

    std::string name_;
    bool singleByte_ = true;
    char32_t toUnicode_[256] = {};  // single-byte pages; 0 for an unassigned byte (but byte 0)
    std::unordered_map<char32_t, uint8_t> fromUnicode_;
    std::string iconvName_;  // multi-byte pages
};

}  // namespace kestrel::platform
