// The synthetic survey drawing: tables, the two anonymous space blocks and a mixed ENTITIES
// section, written with a large buffer.
#include "SyntheticDxf.h"

#include <charconv>
#include <cstdio>
#include <random>
#include <string_view>

namespace {

class Out {
public:
    explicit Out(const std::string& path) : file_(std::fopen(path.c_str(), "wb")) {
        buffer_.reserve(1 << 20);
    }
    ~Out() {
        flush();
        if (file_) std::fclose(file_);
    }
    bool ok() const { return file_ != nullptr; }
    uint64_t bytes() const { return bytes_ + buffer_.size(); }

    void group(int code, std::string_view value) {
        char c[8];
        const int n = std::snprintf(c, sizeof c, "%3d", code);
        line({c, static_cast<std::size_t>(n)});
        line(value);
    }
    // As CAD programs write them: up to 16 significant digits, "0.0" for zero.
    void real(int code, double x) {
        char v[64];
        const auto r = std::to_chars(v, v + sizeof v, x, std::chars_format::fixed);
        std::string_view text(v, static_cast<std::size_t>(r.ptr - v));
        if (text.find('.') == std::string_view::npos) {
            group(code, std::string(text) + ".0");
            return;
        }
        group(code, text);
    }
    void integer(int code, long n) { group(code, std::to_string(n)); }
    void hex(int code, uint64_t n) {
        char v[24];
        const auto r = std::to_chars(v, v + sizeof v, n, 16);
        group(code, {v, static_cast<std::size_t>(r.ptr - v)});
    }

private:
    void line(std::string_view s) {
        buffer_.append(s).append("\r\n");
        if (buffer_.size() > (1u << 20)) flush();
    }
    void flush() {
        if (file_ && !buffer_.empty()) std::fwrite(buffer_.data(), 1, buffer_.size(), file_);
        bytes_ += buffer_.size();
        buffer_.clear();
    }
    std::FILE* file_;
    std::string buffer_;
    uint64_t bytes_ = 0;
};

const char* const kLayers[] = {
    "0",        "Survey-Roads", "Survey-Kerbs", "Survey-Trees", "Survey-Levels",
    "Drainage", "Buildings",    "Fences"};
const int kLayerColors[] = {7, 1, 2, 3, 4, 5, 6, 8};

void tables(Out& o) {
    o.group(0, "SECTION");
    o.group(2, "HEADER");
    o.group(9, "$ACADVER");
    o.group(1, "AC1015");
    o.group(0, "ENDSEC");
    o.group(0, "SECTION");
    o.group(2, "TABLES");
    o.group(0, "TABLE");
    o.group(2, "LAYER");
    o.hex(5, 2);
    o.group(100, "AcDbSymbolTable");
    o.integer(70, 8);
    for (int i = 0; i < 8; ++i) {
        o.group(0, "LAYER");
        o.hex(5, 0x10 + i);
        o.group(100, "AcDbSymbolTableRecord");
        o.group(100, "AcDbLayerTableRecord");
        o.group(2, kLayers[i]);
        o.integer(70, 0);
        o.integer(62, kLayerColors[i]);
        o.group(6, "Continuous");
        o.integer(370, i == 1 ? 35 : -3);
    }
    o.group(0, "ENDTAB");
    o.group(0, "TABLE");
    o.group(2, "BLOCK_RECORD");
    o.group(0, "ENDTAB");
    o.group(0, "ENDSEC");
    o.group(0, "SECTION");
    o.group(2, "BLOCKS");
    for (const char* name : {"*Model_Space", "*Paper_Space"}) {
        o.group(0, "BLOCK");
        o.group(8, "0");
        o.group(2, name);
        o.integer(70, 0);
        o.real(10, 0);
        o.real(20, 0);
        o.real(30, 0);
        o.group(3, name);
        o.group(0, "ENDBLK");
        o.group(8, "0");
    }
    o.group(0, "ENDSEC");
}

}  // namespace

SyntheticDxfStats WriteSyntheticDxf(const std::string& path, int64_t count, uint32_t seed) {
    SyntheticDxfStats stats;
    Out o(path);
    if (!o.ok()) return stats;
    tables(o);
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> east(2500000.0, 2520000.0);
    std::uniform_real_distribution<double> north(5600000.0, 5620000.0);
    std::uniform_real_distribution<double> step(-25.0, 25.0);
    std::uniform_real_distribution<double> angle(0.0, 360.0);
    std::uniform_int_distribution<int> pick(0, 99);
    o.group(0, "SECTION");
    o.group(2, "ENTITIES");
    uint64_t handle = 0x100;
    for (int64_t i = 0; i < count; ++i) {
        const int kind = pick(rng);
        const int layer = static_cast<int>(i % 8);
        const double x = east(rng), y = north(rng);
        const char* name = kind < 50 ? "LINE" : kind < 65 ? "CIRCLE" : kind < 80 ? "ARC" : "POINT";
        o.group(0, name);
        o.hex(5, handle++);
        o.hex(330, 0x1F);
        o.group(100, "AcDbEntity");
        o.group(8, kLayers[layer]);
        if (i % 5 == 0) o.integer(62, 1 + static_cast<int>(i % 250));
        if (kind < 50) {
            o.group(100, "AcDbLine");
            o.real(10, x);
            o.real(20, y);
            o.real(30, 0.0);
            o.real(11, x + step(rng));
            o.real(21, y + step(rng));
            o.real(31, 0.0);
            ++stats.lines;
        } else if (kind < 80) {
            o.group(100, "AcDbCircle");
            o.real(10, x);
            o.real(20, y);
            o.real(30, 0.0);
            o.real(40, 0.5 + std::abs(step(rng)));
            if (kind >= 65) {
                o.group(100, "AcDbArc");
                o.real(50, angle(rng));
                o.real(51, angle(rng));
                ++stats.arcs;
            } else {
                ++stats.circles;
            }
        } else {
            o.group(100, "AcDbPoint");
            o.real(10, x);
            o.real(20, y);
            o.real(30, 101.25 + step(rng));
            ++stats.points;
        }
    }
    o.group(0, "ENDSEC");
    o.group(0, "EOF");
    stats.bytes = o.bytes();
    return stats;
}
