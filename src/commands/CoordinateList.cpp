// Parsing of coordinate list lines.
#include "commands/CoordinateList.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trimmedFront(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

// A decimal number at the start of text (after blanks); rest is what follows it.
std::optional<double> leadingNumber(std::string_view text, std::string_view& rest) {
    text = trimmedFront(text);
    const bool signed_ = !text.empty() && (text.front() == '+' || text.front() == '-');
    // Only a digit or a point may follow the sign: from_chars would also take "inf" and "nan".
    const std::size_t lead = signed_ ? 1 : 0;
    if (lead >= text.size() ||
        !(std::isdigit(static_cast<unsigned char>(text[lead])) || text[lead] == '.'))
        return std::nullopt;
    if (text.front() == '+') text.remove_prefix(1);  // from_chars takes no plus sign
    double value = 0.0;
    const auto [end, ec] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (ec != std::errc() || !std::isfinite(value)) return std::nullopt;
    rest = text.substr(static_cast<std::size_t>(end - text.data()));
    return value;
}

std::size_t separatorAfter(std::string_view line, std::size_t from) {
    const std::size_t semicolon = line.find(';', from);
    return semicolon != std::string_view::npos ? semicolon : line.find('\t', from);
}

}  // namespace

std::optional<mmCoordinateRecord> ParseCoordinateLine(std::string_view line) {
    const std::size_t first = separatorAfter(line, 0);
    if (first == std::string_view::npos) return std::nullopt;
    const std::size_t second = separatorAfter(line, first + 1);
    if (second == std::string_view::npos) return std::nullopt;

    std::string_view rest;
    const std::optional<double> x = leadingNumber(line.substr(first + 1, second - first - 1), rest);
    if (!x || !trimmedFront(rest).empty()) return std::nullopt;
    const std::optional<double> y = leadingNumber(line.substr(second + 1), rest);
    rest = trimmedFront(rest);
    if (!y || !(rest.empty() || rest.front() == ';' || rest.front() == '\t')) return std::nullopt;
    return mmCoordinateRecord{line.substr(0, first), *x, *y};
}
