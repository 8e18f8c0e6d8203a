// UTF-8 / UTF-16 conversion.
#include "platform/Unicode.h"

namespace kestrel::platform {

namespace {

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

bool isHighSurrogate(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool isLowSurrogate(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

bool fail(std::size_t index, std::size_t* firstBad) {
    if (firstBad) *firstBad = index;
    return false;
}

// Length of the sequence a lead byte starts and the allowed range of its second byte, which
// excludes overlong forms, UTF-16 surrogates and values above U+10FFFF.
struct LeadInfo {
    std::size_t length;
    unsigned char secondMin;
    unsigned char secondMax;
};

LeadInfo leadInfo(unsigned char c) {
    if (c >= 0xC2 && c <= 0xDF) return {2, 0x80, 0xBF};
    if (c == 0xE0) return {3, 0xA0, 0xBF};
    if (c == 0xED) return {3, 0x80, 0x9F};
    if (c >= 0xE1 && c <= 0xEF) return {3, 0x80, 0xBF};
    if (c == 0xF0) return {4, 0x90, 0xBF};
    if (c >= 0xF1 && c <= 0xF3) return {4, 0x80, 0xBF};
    if (c == 0xF4) return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

void appendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
        return;
    }
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
}

}  // namespace

std::size_t decodeUtf8(std::string_view in, std::size_t pos, char32_t& cp) {
    if (pos >= in.size()) return 0;
    const auto lead = static_cast<unsigned char>(in[pos]);
    if (lead < 0x80) {
        cp = lead;
        return 1;
    }
    const LeadInfo info = leadInfo(lead);
    if (info.length == 0 || in.size() - pos < info.length) return 0;
    const auto second = static_cast<unsigned char>(in[pos + 1]);
    if (second < info.secondMin || second > info.secondMax) return 0;
    char32_t value = lead & (0x7F >> info.length);
    for (std::size_t i = 1; i < info.length; ++i) {
        const auto c = static_cast<unsigned char>(in[pos + i]);
        if (!isContinuation(c)) return 0;
        value = (value << 6) | (c & 0x3F);
    }
    cp = value;
    return info.length;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool utf8ToUtf16(std::string_view in, std::u16string& out, std::size_t* firstBad) {
    out.clear();
    out.reserve(in.size());  // never more UTF-16 units than UTF-8 bytes
    std::size_t i = 0;
    while (i < in.size()) {
        const auto c = static_cast<unsigned char>(in[i]);
        if (c < 0x80) {
            out.push_back(c);
            ++i;
            continue;
        }
        char32_t cp = 0;
        const std::size_t length = decodeUtf8(in, i, cp);
        if (length == 0) return fail(i, firstBad);
        appendUtf16(out, cp);
        i += length;
    }
    return true;
}

bool utf16ToUtf8(std::u16string_view in, std::string& out, std::size_t* firstBad) {
    out.clear();
    out.reserve(in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        const char16_t u = in[i];
        if (u < 0x80) {
            out.push_back(static_cast<char>(u));
        } else if (isHighSurrogate(u)) {
            if (i + 1 >= in.size() || !isLowSurrogate(in[i + 1])) return fail(i, firstBad);
            appendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (in[i + 1] - 0xDC00));
            ++i;
        } else if (isLowSurrogate(u)) {
            return fail(i, firstBad);
        } else {
            appendUtf8(out, u);
        }
    }
    return true;
}

std::size_t utf16CutLength(std::u16string_view text, std::size_t limit) {
    if (text.size() <= limit) return text.size();
    std::size_t cut = limit;
    if (cut > 0 && text[cut - 1] >= 0xD800 && text[cut - 1] <= 0xDBFF) --cut;
    return cut;
}

}  // namespace kestrel::platform
