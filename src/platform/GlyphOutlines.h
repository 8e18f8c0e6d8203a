// Glyph outlines of an outline font, read with FreeType from the font fontconfig matches for a
// family name: unscaled, unhinted outlines flattened into closed polylines, plus the metrics text
// layout needs. Plain data; the entity layer builds its glyph table from it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrel::platform {

struct GlyphPoint {
    float x = 0.0f;
    float y = 0.0f;
};

// One glyph in units of an em of GlyphOutlines::emUnits, y up, origin on the baseline at the
// start of the character cell.
struct GlyphOutline {
    bool loaded = false;  // false: the font has no glyph for the character, or it could not be read
    // All contours one after another; contourEnds[i] is one past the last point of contour i.
    // Every contour is closed: its last point repeats its first.
    std::vector<GlyphPoint> points;
    std::vector<std::uint32_t> contourEnds;
    float blackBoxWidth = 0.0f;  // size of the ink box
    float blackBoxHeight = 0.0f;
    float originX = 0.0f;  // left edge of the ink box (left side bearing)
    float originY = 0.0f;  // always 0
    float advanceX = 0.0f;
    float advanceY = 0.0f;  // always 0
};

struct GlyphOutlines {
    std::string family;    // the family asked for
    std::string fontFile;  // the file read; empty when no font could be used
    std::string fontName;  // family and style of that file, e.g. "Liberation Sans Regular"
    std::string error;     // why no font could be used; empty on success
    double emUnits = 1000.0;
    // One entry per code 0 to 254; each code is a Windows-1252 byte. Empty when no font.
    std::vector<GlyphOutline> glyphs;
};

inline constexpr int kGlyphCodes = 255;

// The regular upright face fontconfig matches for family (a substitute when the family itself is
// not installed). Quadratic pieces are flattened into three segments each (t = 1/3, 2/3, 1, with
// the TrueType implied on-curve midpoints); cubic pieces likewise.
GlyphOutlines loadGlyphOutlines(const std::string& family = "Arial", double emUnits = 1000.0);

// The same from a given font file (face index 0).
GlyphOutlines loadGlyphOutlinesFromFile(const std::string& path, double emUnits = 1000.0);

}  // namespace kestrel::platform
