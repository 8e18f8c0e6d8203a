// Fast, locale-independent number conversions for DXF groups, built on std::from_chars and
// std::to_chars, with the C runtime's rules for what a number is.
#include "fileio/dxf/DxfNumbers.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

bool isCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isHexDigit(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Skips C white space; returns the index of the first other character.
std::size_t skipSpace(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isCSpace(text[i]))
        ++i;
    return i;
}

// "0x" followed by a hexadecimal digit, or by "." and one.
bool startsHexNumber(std::string_view s) {
    if (s.size() < 3 || s[0] != '0' || (s[1] != 'x' && s[1] != 'X')) return false;
    if (isHexDigit(s[2])) return true;
    return s[2] == '.' && s.size() > 3 && isHexDigit(s[3]);
}

}  // namespace

int32_t parseDxfCode(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
        ++i;
    int64_t value = 0;
    for (; i < line.size() && isDigit(line[i]); ++i) {
        value = value * 10 + (line[i] - '0');
        if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(value);
}

double parseDxfReal(std::string_view text) {
    std::size_t i = skipSpace(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::string_view rest = text.substr(i);
    // from_chars takes no sign of its own here, so "+-1" stays 0 as in strtod.
    if (rest.empty() || rest[0] == '+' || rest[0] == '-') return 0.0;
    double value = 0.0;
    std::from_chars_result r{};
    if (startsHexNumber(rest)) {
        r = std::from_chars(rest.data() + 2, rest.data() + rest.size(), value,
                            std::chars_format::hex);
    } else {
        r = std::from_chars(rest.data(), rest.data() + rest.size(), value,
                            std::chars_format::general);
    }
    if (r.ec != std::errc() || !std::isfinite(value)) return 0.0;
    return negative ? -value : value;
}

int32_t parseDxfInt(std::string_view text) {
    std::size_t i = skipSpace(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int64_t value = 0;
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kLimit) {
            value = kLimit;
            break;
        }
    }
    if (negative) return static_cast<int32_t>(-value);
    return static_cast<int32_t>(std::min(value, kLimit - 1));
}

std::size_t formatDxfReal(double x, char* out) {
    if (!std::isfinite(x) || x == 0.0) x = 0.0;
    const auto r = std::to_chars(out, out + kDxfRealMaxChars, x);
    return static_cast<std::size_t>(r.ptr - out);
}

std::size_t formatDxfReal(float x, char* out) {
    if (!std::isfinite(x) || x == 0.0f) x = 0.0f;
    const auto r = std::to_chars(out, out + kDxfRealMaxChars, x);
    return static_cast<std::size_t>(r.ptr - out);
}
