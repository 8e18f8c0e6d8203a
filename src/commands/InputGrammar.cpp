// The input grammar: numbers, option letters, coordinates and the echo formats.
#include "commands/InputGrammar.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

#include "drawing/Names.h"
#include "entities/Geometry.h"

namespace {

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
bool isBlank(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

// The magnitude of a decimal that from_chars found out of range: overflow when its leading digit
// stands at a positive power of ten.
bool overflows(std::string_view mantissa, long long exponent) {
    long long position = 0;  // power of ten just above the leading significant digit
    bool beforePoint = true;
    bool seenSignificant = false;
    for (char c : mantissa) {
        if (c == '-') continue;
        if (c == '.') {
            beforePoint = false;
            continue;
        }
        if (beforePoint && (seenSignificant || c != '0')) {
            seenSignificant = true;
            ++position;
        } else if (!beforePoint && !seenSignificant) {
            if (c != '0') break;
            --position;
        }
    }
    return position + exponent > 0;
}

}  // namespace

std::optional<double> ReadNumber(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    std::string mantissa;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-') mantissa += '-';
        ++i;
    }
    int digits = 0;
    for (; i < text.size() && isDigit(text[i]); ++i, ++digits)
        mantissa += static_cast<char>(text[i]);
    if (i < text.size() && text[i] == u'.') {
        mantissa += '.';
        for (++i; i < text.size() && isDigit(text[i]); ++i, ++digits)
            mantissa += static_cast<char>(text[i]);
    }
    if (digits == 0) return 0.0;

    long long exponent = 0;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        std::size_t j = i + 1;
        const bool negative = j < text.size() && text[j] == u'-';
        if (j < text.size() && (text[j] == u'+' || text[j] == u'-')) ++j;
        if (j < text.size() && isDigit(text[j])) {
            for (; j < text.size() && isDigit(text[j]); ++j)
                if (exponent < 100000) exponent = exponent * 10 + (text[j] - u'0');
            if (negative) exponent = -exponent;
        }
    }
    const std::string number = mantissa + "e" + std::to_string(exponent);
    double value = 0.0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec == std::errc::result_out_of_range) {
        if (overflows(mantissa, exponent)) return std::nullopt;
        return 0.0;
    }
    if (ec != std::errc() || !std::isfinite(value)) return std::nullopt;
    return value;
}

char16_t OptionLetter(std::u16string_view text) {
    return text.empty() ? u'\0' : FoldNameChar(text[0]);
}

std::optional<mmVertex> ParseCoordinateInput(std::u16string_view text, const mmVertex& lastPoint) {
    const std::size_t at = text.find(u'@');
    const bool relative = at != std::u16string_view::npos;
    if (relative) text.remove_prefix(at + 1);
    if (!text.empty() && (text[0] == u',' || text[0] == u'<')) return std::nullopt;

    std::vector<std::u16string_view> fields;
    bool polar = false;
    while (fields.size() <= 3) {
        std::size_t cut = text.find(u',');
        if (cut == std::u16string_view::npos) {
            cut = text.find(u'<');
            if (cut == std::u16string_view::npos) {
                fields.push_back(text);
                break;
            }
            polar = true;
        }
        fields.push_back(text.substr(0, cut));
        text.remove_prefix(cut + 1);
    }
    if (fields.size() < 2 || fields.size() > 3) return std::nullopt;

    const std::optional<double> a = ReadNumber(fields[0]);
    const std::optional<double> b = ReadNumber(fields[1]);
    if (!a || !b) return std::nullopt;
    const double baseX = relative ? lastPoint.x : 0.0;
    const double baseY = relative ? lastPoint.y : 0.0;
    mmVertex point;
    if (polar) {
        const double theta = *b * kDegToRad;
        point = mmVertex(baseX + *a * std::cos(theta), baseY + *a * std::sin(theta));
    } else {
        point = mmVertex(baseX + *a, baseY + *b);
    }
    if (!std::isfinite(point.x) || !std::isfinite(point.y)) return std::nullopt;
    return point;
}

std::u16string UpperCase(std::u16string_view text) {
    std::u16string upper(text);
    for (char16_t& c : upper)
        c = FoldNameChar(c);
    return upper;
}

std::u16string FormatFixed4(double value) {
    char buffer[400];  // the widest double in fixed notation with four decimals fits
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 4);
    return std::u16string(buffer, result.ptr);
}

std::u16string FormatPickedPoint(double x, double y) {
    return FormatFixed4(x) + u',' + FormatFixed4(y) + u',' + FormatFixed4(0.0);
}
