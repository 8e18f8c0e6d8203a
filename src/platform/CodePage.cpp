// Windows-1252 conversion by table lookup.
#include "platform/CodePage.h"

#include <array>
#include <cstdint>
#include <cstring>

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
