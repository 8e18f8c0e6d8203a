// Reading world files.
#include "display/WorldFile.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>
#include <vector>

namespace {

std::string_view trimmed(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::optional<double> number(std::string_view s) {
    s = trimmed(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    double value = 0.0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string lowerCase(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

}  // namespace

mmWorldFile ParseWorldFile(std::istream& in) {
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    while (!lines.empty() && trimmed(lines.back()).empty())
        lines.pop_back();

    mmWorldFile w;
    w.found = true;
    // Line (1-based), the value it gives, and whether it must be positive.
    const auto take = [&](std::size_t line, double& into, bool positive) {
        if (lines.size() < line) return true;
        const std::optional<double> v = number(lines[line - 1]);
        if (!v) return false;
        into = positive ? *v : -*v;
        return into > 0.0;
    };
    w.bad = !take(1, w.pixelSizeX, true) || !take(4, w.pixelSizeY, false);
    if (w.bad) {
        // A y size that is not negative is kept as written.
        if (!(w.pixelSizeX > 0.0)) w.pixelSizeX = 1.0;
        w.pixelSizeY = w.pixelSizeY < 0.0 ? -w.pixelSizeY : w.pixelSizeY;
        if (!(w.pixelSizeY > 0.0)) w.pixelSizeY = 1.0;
        return w;
    }
    std::optional<double> x = lines.size() >= 5 ? number(lines[4]) : 0.0;
    std::optional<double> y = lines.size() >= 6 ? number(lines[5]) : 0.0;
    w.bad = !x || !y;
    if (x) w.insertX = *x;
    if (x && y) w.insertY = *y;
    w.placed = !w.bad && lines.size() == 6;
    return w;
}

mmWorldFile ReadWorldFile(const std::string& imagePath) {
    namespace fs = std::filesystem;
    const fs::path image(imagePath);
    const std::string stem = image.stem().string();
    const fs::path candidates[] = {
        fs::path(image).replace_extension(".tfw"),
        fs::path(image).replace_extension(".TFW"),
        image.parent_path() / (lowerCase(stem) + ".tfw"),
    };
    for (const fs::path& candidate : candidates) {
        std::error_code ec;
        if (!fs::is_regular_file(candidate, ec)) continue;
        std::ifstream in(candidate);
        if (in) return ParseWorldFile(in);
    }
    return {};
}
