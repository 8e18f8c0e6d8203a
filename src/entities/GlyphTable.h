// mmGlyphTable: the glyph cache of one outline font, shared by every text: the first page of code
// points (0 to 255) built at once from the platform's glyph outlines, every other code point read
// on demand (from the font, or the fallback font that has it) and then kept. A record never
// moves or changes once made.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

namespace kestrel::platform {
struct GlyphOutline;
struct GlyphOutlines;
class GlyphSource;
}  // namespace kestrel::platform

struct mmGlyphPoint {
    float x = 0.0f;
    float y = 0.0f;
};

// One character in font units (an em of 1000), y up, origin at the start of its cell.
struct mmGlyph {
    // Closed contours one after another; contourEnds[i] is one past the last point of contour i.
    std::vector<mmGlyphPoint> points;
    std::vector<uint32_t> contourEnds;
    bool loaded = false;  // the font has the character
    double blackBoxWidth = 0.0;
    double blackBoxHeight = 0.0;
    double advanceX = 0.0;
    double advanceY = 0.0;
    double originX = 0.0;
    double originY = 0.0;
    // Bounding box of the contour points (inverted when there are none).
    float inkMinX = 0.0f, inkMinY = 0.0f, inkMaxX = -1.0f, inkMaxY = -1.0f;

    std::size_t contourCount() const { return contourEnds.size(); }
    std::span<const mmGlyphPoint> contour(std::size_t i) const {
        const uint32_t begin = i == 0 ? 0u : contourEnds[i - 1];
        return {points.data() + begin, contourEnds[i] - begin};
    }
};

class mmGlyphTable;
using mmGlyphTablePtr = std::shared_ptr<const mmGlyphTable>;

class mmGlyphTable : public std::enable_shared_from_this<mmGlyphTable> {
public:
    static constexpr int kCodes = 256;         // the first page
    static constexpr int kReferenceCode = 65;  // "A": its ink height is the text height

    std::vector<mmGlyph> glyphs;  // the first page, indexed by code point
    std::string fontName;
    double descender = 0.0;  // depth of the font's descender below the baseline, in font units

    mmGlyphTable();
    ~mmGlyphTable();

    // The record of a code point: in the first page (possibly without ink), or read on demand;
    // null when no font has the character.
    const mmGlyph* Find(char32_t code) const {
        return code < glyphs.size() ? &glyphs[code] : FindBeyondFirstPage(code);
    }
    // The black box height of "A"; 0 when the table cannot lay out text.
    double ReferenceHeight() const;
    // Text geometry needs the record of "A" with a positive height.
    bool Usable() const { return ReferenceHeight() > 0.0; }

    static std::shared_ptr<mmGlyphTable> FromOutlines(
        const kestrel::platform::GlyphOutlines& outlines);

private:
    const mmGlyph* FindBeyondFirstPage(char32_t code) const;

    std::shared_ptr<kestrel::platform::GlyphSource> source_;
    // Code points beyond the first page read so far; null for those no font has.
    mutable std::unordered_map<char32_t, std::unique_ptr<mmGlyph>> more_;
};

// The record made from one outline (contour ends that do not fit the points are cut back).
void FillGlyph(const kestrel::platform::GlyphOutline& in, mmGlyph& g);

// Loads the outlines of the font fontconfig matches for family and builds a table. When no font
// can be used the table is empty (texts then have no outlines) and *message, when given, says
// which font is missing; otherwise *message is cleared.
mmGlyphTablePtr LoadGlyphTable(const std::string& family, std::string* message);

// The table of "Arial" shared by the whole process, built on first use. The message about a
// missing font is given once: to the first caller only.
mmGlyphTablePtr SystemGlyphTable(std::string* message);
