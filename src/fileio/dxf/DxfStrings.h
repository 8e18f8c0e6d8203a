// The strings of a DXF file: bytes of the code page $DWGCODEPAGE names (R12 to R2004; Windows-1252
// when absent or unknown), UTF-8 from R2007 ($ACADVER AC1021) on, with \U+XXXX and \M+nXXXX
// escapes for characters outside the code page. Decoded into UTF-8 (or UTF-16 for names) when
// read; encoded back with escapes for what the code page cannot hold when written.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace kestrel::platform {
class CodePage;
}

class DxfStringCodec {
public:
    DxfStringCodec();

    // $ACADVER: "AC1021" and later mean UTF-8.
    void SetVersion(std::string_view acadver);
    // $DWGCODEPAGE; false (and the code page stays) when the name is not known.
    bool SetCodePage(std::string_view name);

    bool Utf8() const { return utf8_; }
    const kestrel::platform::CodePage& Page() const { return *page_; }

    // A string of the file as UTF-8, its escapes decoded.
    std::string ToUtf8(std::string_view raw) const;
    void AppendUtf8(std::string_view raw, std::string& out) const;
    std::u16string ToUtf16(std::string_view raw) const;

private:
    std::shared_ptr<const kestrel::platform::CodePage> page_;
    bool utf8_ = false;
};

// Decodes \U+XXXX (a UTF-16 code unit; surrogate pairs join) and \M+nXXXX (a double-byte
// character of the Far East code page n) in a UTF-8 string; an escaped backslash (\\) is kept
// as it is, so that multi-line text codes stay intact.
std::string DecodeDxfEscapes(std::string_view utf8);

// UTF-8 as bytes of the code page, each character the page cannot hold written as \U+XXXX (two
// escapes for a character beyond U+FFFF). Malformed UTF-8 bytes are taken as Windows-1252.
void EncodeDxfString(std::string_view utf8, const kestrel::platform::CodePage& page,
                     std::string& out);
