// Windows-1252 by table lookup; the other code pages through iconv.
#include "platform/CodePage.h"

#include <iconv.h>

#include <array>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <mutex>

namespace kestrel::platform {

namespace {

// Bytes 0x80 to 0x9F; all other bytes stand for the Unicode character of the same value.
constexpr std::array<char16_t, 32> kHighBlock = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
};

constexpr std::array<char16_t, 256> makeToUnicode() {
    std::array<char16_t, 256> table{};
    for (int b = 0; b < 256; ++b) {
        table[b] = (b >= 0x80 && b < 0xA0) ? kHighBlock[b - 0x80] : static_cast<char16_t>(b);
    }
    return table;
}

constexpr std::array<char16_t, 256> kToUnicode = makeToUnicode();

// The UTF-8 bytes of each code-page byte (at most three: the table is within the BMP).
struct Utf8Code {
    std::uint8_t length;
    char bytes[3];
};

constexpr Utf8Code utf8Code(char16_t u) {
    if (u < 0x80) return {1, {static_cast<char>(u), 0, 0}};
    if (u < 0x800) {
        return {2, {static_cast<char>(0xC0 | (u >> 6)), static_cast<char>(0x80 | (u & 0x3F)), 0}};
    }
    return {3,
            {static_cast<char>(0xE0 | (u >> 12)), static_cast<char>(0x80 | ((u >> 6) & 0x3F)),
             static_cast<char>(0x80 | (u & 0x3F))}};
}

constexpr std::array<Utf8Code, 256> makeToUtf8() {
    std::array<Utf8Code, 256> table{};
    for (int b = 0; b < 256; ++b)
        table[b] = utf8Code(kToUnicode[b]);
    return table;
}

constexpr std::array<Utf8Code, 256> kToUtf8 = makeToUtf8();

// Length of the run of ASCII bytes starting at in[pos], tested eight bytes at a time.
std::size_t asciiRun(std::string_view in, std::size_t pos) {
    const std::size_t start = pos;
    for (; in.size() - pos >= 8; pos += 8) {
        std::uint64_t word;
        std::memcpy(&word, in.data() + pos, 8);
        if (word & 0x8080808080808080u) break;
    }
    while (pos < in.size() && static_cast<unsigned char>(in[pos]) < 0x80)
        ++pos;
    return pos - start;
}

bool fail(std::size_t index, std::size_t* firstBad) {
    if (firstBad) *firstBad = index;
    return false;
}

}  // namespace

char16_t cp1252ToUnicode(unsigned char byte) {
    return kToUnicode[byte];
}

bool unicodeToCp1252(char32_t cp, char& byte) {
    const bool identity = cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF) || cp == 0x81 || cp == 0x8D ||
                          cp == 0x8F || cp == 0x90 || cp == 0x9D;
    if (identity) {
        byte = static_cast<char>(cp);
        return true;
    }
    for (std::size_t i = 0; i < kHighBlock.size(); ++i) {
        if (kHighBlock[i] == cp) {
            byte = static_cast<char>(0x80 + i);
            return true;
        }
    }
    return false;
}

std::u16string cp1252ToUtf16(std::string_view in) {
    std::u16string out(in.size(), u'\0');
    for (std::size_t i = 0; i < in.size(); ++i) {
        out[i] = kToUnicode[static_cast<unsigned char>(in[i])];
    }
    return out;
}

std::string cp1252ToUtf8(std::string_view in) {
    std::size_t length = 0;
    for (const char c : in)
        length += kToUtf8[static_cast<unsigned char>(c)].length;
    std::string out(length, '\0');
    char* p = out.data();
    for (std::size_t i = 0; i < in.size(); ++i) {
        const std::size_t run = asciiRun(in, i);
        std::memcpy(p, in.data() + i, run);
        p += run;
        i += run;
        if (i == in.size()) break;
        const Utf8Code& code = kToUtf8[static_cast<unsigned char>(in[i])];
        for (std::uint8_t k = 0; k < code.length; ++k)
            *p++ = code.bytes[k];
    }
    return out;
}

bool utf16ToCp1252(std::u16string_view in, std::string& out, std::size_t* firstBad) {
    out.assign(in.size(), '\0');
    for (std::size_t i = 0; i < in.size(); ++i) {
        const char16_t u = in[i];
        if (u < 0x80) {
            out[i] = static_cast<char>(u);
        } else if (!unicodeToCp1252(u, out[i])) {  // surrogates included: none has a byte
            out.resize(i);
            return fail(i, firstBad);
        }
    }
    return true;
}

bool utf8ToCp1252(std::string_view in, std::string& out, std::size_t* firstBad) {
    out.resize(in.size());  // never more bytes out than in
    std::size_t i = 0, n = 0;
    while (i < in.size()) {
        const std::size_t run = asciiRun(in, i);
        std::memcpy(out.data() + n, in.data() + i, run);
        i += run;
        n += run;
        if (i == in.size()) break;
        char32_t cp = 0;
        const std::size_t length = decodeUtf8(in, i, cp);
        if (length == 0 || !unicodeToCp1252(cp, out[n])) {
            out.resize(n);
            return fail(i, firstBad);
        }
        i += length;
        ++n;
    }
    out.resize(n);
    return true;
}

}  // namespace kestrel::platform

// Code pages by DXF name, through iconv.

namespace kestrel::platform {

namespace {

struct PageName {
    const char* dxf;
    const char* iconv;
};

constexpr PageName kPages[] = {
    {"ANSI_874", "CP874"},       {"ANSI_932", "CP932"},       {"ANSI_936", "GBK"},
    {"ANSI_949", "UHC"},         {"ANSI_950", "BIG5"},        {"ANSI_1250", "CP1250"},
    {"ANSI_1251", "CP1251"},     {"ANSI_1252", "CP1252"},     {"ANSI_1253", "CP1253"},
    {"ANSI_1254", "CP1254"},     {"ANSI_1255", "CP1255"},     {"ANSI_1256", "CP1256"},
    {"ANSI_1257", "CP1257"},     {"ANSI_1258", "CP1258"},     {"ANSI_1361", "JOHAB"},
    {"DOS437", "IBM437"},        {"DOS850", "IBM850"},        {"DOS852", "IBM852"},
    {"DOS855", "IBM855"},        {"DOS857", "IBM857"},        {"DOS860", "IBM860"},
    {"DOS861", "IBM861"},        {"DOS863", "IBM863"},        {"DOS864", "IBM864"},
    {"DOS865", "IBM865"},        {"DOS866", "IBM866"},        {"DOS869", "IBM869"},
    {"DOS932", "CP932"},         {"MACINTOSH", "MACINTOSH"},  {"BIG5", "BIG5"},
    {"KSC5601", "UHC"},          {"JOHAB", "JOHAB"},          {"GB2312", "GBK"},
    {"ISO8859-1", "ISO-8859-1"}, {"ISO8859-2", "ISO-8859-2"}, {"ISO8859-5", "ISO-8859-5"},
    {"ISO8859-7", "ISO-8859-7"},
};

struct Iconv {
    iconv_t handle;
    Iconv(const char* to, const char* from) : handle(iconv_open(to, from)) {}
    ~Iconv() {
        if (ok()) iconv_close(handle);
    }
    bool ok() const { return handle != reinterpret_cast<iconv_t>(-1); }
};

// Converts in to UTF-32 (native order); false when in is not one whole character sequence.
bool decodeAll(const Iconv& cd, std::string_view in, std::u32string& out) {
    iconv(cd.handle, nullptr, nullptr, nullptr, nullptr);
    out.assign(in.size() + 1, U'\0');
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char* dst = reinterpret_cast<char*>(out.data());
    std::size_t dstLeft = out.size() * sizeof(char32_t);
    const std::size_t r = iconv(cd.handle, &src, &srcLeft, &dst, &dstLeft);
    out.resize(out.size() - dstLeft / sizeof(char32_t));
    return r != static_cast<std::size_t>(-1) && srcLeft == 0;
}

}  // namespace

CodePage::~CodePage() = default;

std::shared_ptr<const CodePage> CodePage::Windows1252() {
    static const std::shared_ptr<const CodePage> page = [] {
        std::shared_ptr<CodePage> p(new CodePage);
        p->name_ = "ANSI_1252";
        for (int b = 0; b < 256; ++b)
            p->toUnicode_[b] = cp1252ToUnicode(static_cast<unsigned char>(b));
        for (int b = 255; b >= 0; --b)
            p->fromUnicode_[p->toUnicode_[b]] = static_cast<uint8_t>(b);
        return p;
    }();
    return page;
}

std::shared_ptr<const CodePage> CodePage::Open(const std::string& dxfName, const char* iconvName) {
    Iconv decoder("UTF-32LE", iconvName);
    if (!decoder.ok()) return nullptr;
    std::shared_ptr<CodePage> p(new CodePage);
    p->name_ = dxfName;
    p->iconvName_ = iconvName;
    std::u32string one;
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        if (decodeAll(decoder, std::string_view(&byte, 1), one) && one.size() == 1) {
            p->toUnicode_[b] = one[0];
        }
    }
    // A page where some byte is no character by itself leads a multi-byte sequence.
    p->singleByte_ = std::string_view(iconvName).find("CP9") != 0 &&
                     std::string_view(iconvName) != "GBK" && std::string_view(iconvName) != "UHC" &&
                     std::string_view(iconvName) != "BIG5" &&
                     std::string_view(iconvName) != "JOHAB";
    if (p->singleByte_)
        for (int b = 255; b >= 0; --b)
            if (b == 0 || p->toUnicode_[b] != 0)
                p->fromUnicode_[p->toUnicode_[b]] = static_cast<uint8_t>(b);
    return p;
}

std::shared_ptr<const CodePage> CodePage::FromDxfName(std::string_view name) {
    std::string upper(name);
    while (!upper.empty() && std::isspace(static_cast<unsigned char>(upper.back())))
        upper.pop_back();
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper == "ANSI_1252") return Windows1252();
    static std::mutex mutex;
    static std::unordered_map<std::string, std::shared_ptr<const CodePage>> opened;
    std::lock_guard<std::mutex> lock(mutex);
    if (auto it = opened.find(upper); it != opened.end()) return it->second;
    for (const PageName& page : kPages) {
        if (upper != page.dxf) continue;
        auto p = Open(upper, page.iconv);
        opened.emplace(upper, p);
        return p;
    }
    return nullptr;
}

void CodePage::AppendUtf8(std::string_view bytes, std::string& out) const {
    if (singleByte_) {
        for (const char c : bytes) {
            const auto b = static_cast<unsigned char>(c);
            const char32_t u = toUnicode_[b];
            if (b < 0x80 && u == b)
                out.push_back(c);
            else
                appendUtf8(out, (u != 0 || b == 0) ? u : U'\uFFFD');
        }
        return;
    }
    // Multi-byte: runs of ASCII as they are, the rest through iconv; a sequence iconv refuses
    // gives U+FFFD for its first byte.
    Iconv decoder("UTF-32LE", iconvName_.c_str());
    std::u32string chars;
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            out.push_back(bytes[i++]);
            continue;
        }
        bool done = false;
        for (std::size_t len = 2; len >= 1 && !done; --len) {
            if (i + len > bytes.size()) continue;
            if (decoder.ok() && decodeAll(decoder, bytes.substr(i, len), chars) &&
                chars.size() == 1) {
                appendUtf8(out, chars[0]);
                i += len;
                done = true;
            }
        }
        if (!done) {
            appendUtf8(out, U'\uFFFD');
            ++i;
        }
    }
}

bool CodePage::Encode(char32_t cp, std::string& out) const {
    if (cp < 0x80 && (singleByte_ ? toUnicode_[cp] == cp : true)) {
        out.push_back(static_cast<char>(cp));
        return true;
    }
    if (singleByte_) {
        const auto it = fromUnicode_.find(cp);
        if (it == fromUnicode_.end()) return false;
        out.push_back(static_cast<char>(it->second));
        return true;
    }
    Iconv encoder(iconvName_.c_str(), "UTF-32LE");
    if (!encoder.ok()) return false;
    char buffer[8];
    char* src = reinterpret_cast<char*>(&cp);
    std::size_t srcLeft = sizeof(cp);
    char* dst = buffer;
    std::size_t dstLeft = sizeof(buffer);
    if (iconv(encoder.handle, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1))
        return false;
    out.append(buffer, sizeof(buffer) - dstLeft);
    return true;
}

}  // namespace kestrel::platform
