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

namespace {

// Writes the entities of one kind after the common groups.
struct EntityMaker {
    Out& o;
    SyntheticDxfStats& stats;
    std::mt19937& rng;
    std::uniform_real_distribution<double> step{-25.0, 25.0};
    std::uniform_real_distribution<double> angle{0.0, 360.0};

    void line(double x, double y) {
        o.group(100, "AcDbLine");
        o.real(10, x);
        o.real(20, y);
        o.real(30, 0.0);
        o.real(11, x + step(rng));
        o.real(21, y + step(rng));
        o.real(31, 0.0);
        ++stats.lines;
    }
    void circleOrArc(double x, double y, bool arc) {
        o.group(100, "AcDbCircle");
        o.real(10, x);
        o.real(20, y);
        o.real(30, 0.0);
        o.real(40, 0.5 + std::abs(step(rng)));
        if (!arc) {
            ++stats.circles;
            return;
        }
        o.group(100, "AcDbArc");
        o.real(50, angle(rng));
        o.real(51, angle(rng));
        ++stats.arcs;
    }
    void point(double x, double y) {
        o.group(100, "AcDbPoint");
        o.real(10, x);
        o.real(20, y);
        o.real(30, 101.25 + step(rng));
        ++stats.points;
    }
    // Kerbs and fences: 2 to 14 vertices, one in four closed, one in eight with an arc.
    void polyline(double x, double y, int pick) {
        const int n = 2 + pick % 13;
        o.group(100, "AcDbPolyline");
        o.integer(90, n);
        o.integer(70, pick % 4 == 0 ? 1 : 0);
        o.real(43, 0.0);
        for (int k = 0; k < n; ++k) {
            x += step(rng);
            y += step(rng);
            o.real(10, x);
            o.real(20, y);
            if (pick % 8 == 1 && k == 0) o.real(42, 0.41421356);
        }
        ++stats.polylines;
        stats.vertices += n;
    }
    // Levels and point numbers.
    void text(double x, double y, int pick) {
        char label[32];
        if (pick % 2)
            std::snprintf(label, sizeof label, "%.2f", 100.0 + step(rng));
        else
            std::snprintf(label, sizeof label, "P%lld", static_cast<long long>(stats.texts));
        o.group(100, "AcDbText");
        o.real(10, x);
        o.real(20, y);
        o.real(30, 0.0);
        o.real(40, 0.5);
        o.group(1, label);
        if (pick % 3 == 0) o.real(50, angle(rng));
        o.group(100, "AcDbText");
        ++stats.texts;
    }
    void mtext(double x, double y) {
        o.group(100, "AcDbMText");
        o.real(10, x);
        o.real(20, y);
        o.real(30, 0.0);
        o.real(40, 1.0);
        o.real(41, 20.0);
        o.integer(71, 1);
        o.integer(72, 5);
        o.group(1, "\\A1;Manhole \\PCover level 101.25");
        o.integer(73, 1);
        o.real(44, 1.0);
        ++stats.mtexts;
    }
};

const char* kindName(int kind) {
    if (kind < 33) return "LINE";
    if (kind < 43) return "CIRCLE";
    if (kind < 53) return "ARC";
    if (kind < 68) return "POINT";
    if (kind < 85) return "LWPOLYLINE";
    if (kind < 97) return "TEXT";
    return "MTEXT";
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
    std::uniform_int_distribution<int> pick(0, 99);
    EntityMaker make{o, stats, rng};
    o.group(0, "SECTION");
    o.group(2, "ENTITIES");
    uint64_t handle = 0x100;
    for (int64_t i = 0; i < count; ++i) {
        const int kind = pick(rng);
        const int layer = static_cast<int>(i % 8);
        const double x = east(rng), y = north(rng);
        o.group(0, kindName(kind));
        o.hex(5, handle++);
        o.hex(330, 0x1F);
        o.group(100, "AcDbEntity");
        o.group(8, kLayers[layer]);
        if (i % 5 == 0) o.integer(62, 1 + static_cast<int>(i % 250));
        if (kind < 33)
            make.line(x, y);
        else if (kind < 53)
            make.circleOrArc(x, y, kind >= 43);
        else if (kind < 68)
            make.point(x, y);
        else if (kind < 85)
            make.polyline(x, y, pick(rng));
        else if (kind < 97)
            make.text(x, y, pick(rng));
        else
            make.mtext(x, y);
    }
    o.group(0, "ENDSEC");
    o.group(0, "EOF");
    stats.bytes = o.bytes();
    return stats;
}
