// Glyph outlines of an outline font, read with FreeType from the font fontconfig matches for a
// family name: unscaled, unhinted outlines flattened into closed polylines, plus the metrics text
// layout needs. The first page of code points is read at once; a GlyphSource reads any other
// code point on demand, from the main font or, when it lacks the character, from the font
// fontconfig offers for it. The entity layer builds its glyph table from these.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct _FcConfig;

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

class GlyphFace;

struct FontConfigDeleter {
    void operator()(::_FcConfig* config) const;
};

// Reads glyphs by code point. Not thread-safe: one caller at a time.
class GlyphSource {
public:
    ~GlyphSource();
    GlyphSource(const GlyphSource&) = delete;
    GlyphSource& operator=(const GlyphSource&) = delete;

    // The main font is the given file; characters it lacks come from the fallback files in
    // order (useFontconfig: then from what fontconfig offers). Null with *error when the main
    // font cannot be read.
    static std::unique_ptr<GlyphSource> FromFiles(const std::string& mainFile, int faceIndex,
                                                  std::vector<std::string> fallbackFiles,
                                                  bool useFontconfig, double emUnits,
                                                  std::string* error);

    // False when no font has the character (or its outline cannot be read).
    bool Load(char32_t cp, GlyphOutline& out);

    const std::string& FontFile() const { return fontFile_; }
    const std::string& FontName() const { return fontName_; }
    // Depth of the main font's descender below the baseline, in em units (positive).
    double Descender() const { return descender_; }

private:
    GlyphSource() = default;
    GlyphFace* FaceFor(char32_t cp);
    GlyphFace* OpenFace(const std::string& file, int index);

    struct Library;
    std::unique_ptr<Library> library_;
    std::vector<std::unique_ptr<GlyphFace>> faces_;  // [0] the main font, then fallbacks opened
    std::map<std::pair<std::string, int>, GlyphFace*> byFile_;
    std::vector<std::string> fallbackFiles_;
    bool useFontconfig_ = false;
    std::unique_ptr<::_FcConfig, FontConfigDeleter> fontConfig_;  // loaded at the first fallback
    double emUnits_ = 1000.0;
    double descender_ = 0.0;
    std::string fontFile_;
    std::string fontName_;
};

struct GlyphOutlines {
    std::string family;    // the family asked for
    std::string fontFile;  // the file read; empty when no font could be used
    std::string fontName;  // family and style of that file, e.g. "Liberation Sans Regular"
    std::string error;     // why no font could be used; empty on success
    double emUnits = 1000.0;
    double descender = 0.0;  // depth of the descender in em units
    // The first page: one entry per code point 0 to 255. Empty when no font.
    std::vector<GlyphOutline> glyphs;
    // Every other code point, on demand; null when no font.
    std::shared_ptr<GlyphSource> source;
};

inline constexpr int kGlyphCodes = 256;

// The regular upright face fontconfig matches for family (a substitute when the family itself is
// not installed). Quadratic pieces are flattened into three segments each (t = 1/3, 2/3, 1, with
// the TrueType implied on-curve midpoints); cubic pieces likewise.
GlyphOutlines loadGlyphOutlines(const std::string& family = "Arial", double emUnits = 1000.0);

// The same from a given font file (face index 0), with fallback files for the characters it
// lacks and no fontconfig at all (pinned fonts).
GlyphOutlines loadGlyphOutlinesFromFile(const std::string& path, double emUnits = 1000.0,
                                        std::vector<std::string> fallbackFiles = {});

}  // namespace kestrel::platform
