// Glyph tables for tests: a small synthetic font with exactly known outlines, and the pinned
// system font (Liberation Sans from fonts-liberation2, what fontconfig gives for "Arial").
#pragma once

#include <filesystem>
#include <initializer_list>

#include "entities/GlyphTable.h"
#include "platform/GlyphOutlines.h"

inline constexpr const char* kPinnedFont =
    "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";
// The fallback for what the pinned font lacks (Chinese, Japanese, Korean), from fonts-noto-cjk.
inline constexpr const char* kPinnedCjkFont =
    "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc";

namespace testglyphs {

using kestrel::platform::GlyphOutline;
using kestrel::platform::GlyphPoint;

inline void addContour(GlyphOutline& g, std::initializer_list<GlyphPoint> pts) {
    for (const GlyphPoint& p : pts)
        g.points.push_back(p);
    g.points.push_back(*pts.begin());  // closed
    g.contourEnds.push_back(static_cast<uint32_t>(g.points.size()));
}

inline void addBox(GlyphOutline& g, float x0, float y0, float x1, float y1) {
    addContour(g, {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
}

}  // namespace testglyphs

// Em of 1000. "A": a 600 x 700 block (the reference height is 700), advance 700.
// "O": a 600 x 700 ring from x = 50 with a 400 x 500 counter, advance 700.
// "W": a triangle whose ink starts at x = 40, advance 800. " ": no ink, advance 300.
// Every other code has no glyph.
inline mmGlyphTablePtr SyntheticGlyphTable() {
    using namespace testglyphs;
    kestrel::platform::GlyphOutlines out;
    out.fontName = "Synthetic";
    out.glyphs.resize(kestrel::platform::kGlyphCodes);
    out.descender = 200;
    auto define = [&](unsigned char code, float originX, float w, float h,
                      float adv) -> GlyphOutline& {
        GlyphOutline& g = out.glyphs[code];
        g.loaded = true;
        g.originX = originX;
        g.blackBoxWidth = w;
        g.blackBoxHeight = h;
        g.advanceX = adv;
        return g;
    };
    addBox(define('A', 0, 600, 700, 700), 0, 0, 600, 700);
    GlyphOutline& o = define('O', 50, 600, 700, 700);
    addBox(o, 50, 0, 650, 700);
    addBox(o, 150, 100, 550, 600);
    addContour(define('W', 40, 600, 700, 800), {{40, 700}, {340, 0}, {640, 700}});
    define(' ', 0, 0, 0, 300);
    return mmGlyphTable::FromOutlines(out);
}

// The table of the pinned font, or null when it is not installed.
inline mmGlyphTablePtr PinnedGlyphTable() {
    if (!std::filesystem::exists(kPinnedFont)) return nullptr;
    static mmGlyphTablePtr table =
        mmGlyphTable::FromOutlines(kestrel::platform::loadGlyphOutlinesFromFile(kPinnedFont));
    return table;
}

// The pinned font with the pinned fallback, or null when either is not installed.
inline mmGlyphTablePtr PinnedGlyphTableWithFallback() {
    if (!std::filesystem::exists(kPinnedFont) || !std::filesystem::exists(kPinnedCjkFont))
        return nullptr;
    static mmGlyphTablePtr table = mmGlyphTable::FromOutlines(
        kestrel::platform::loadGlyphOutlinesFromFile(kPinnedFont, 1000.0, {kPinnedCjkFont}));
    return table;
}
