// A synthetic glyph table for measurement labels: "A" 600 x 700 (the reference height), the
// digits each a 400 x 700 box with an advance of 500, "." a 100 x 100 box with an advance of 200.
#pragma once

#include "TestGlyphs.h"

inline mmGlyphTablePtr DigitGlyphTable() {
    using namespace testglyphs;
    kestrel::platform::GlyphOutlines out;
    out.fontName = "Digits";
    out.glyphs.resize(kestrel::platform::kGlyphCodes);
    auto define = [&](unsigned char code, float w, float h, float adv) {
        GlyphOutline& g = out.glyphs[code];
        g.loaded = true;
        g.blackBoxWidth = w;
        g.blackBoxHeight = h;
        g.advanceX = adv;
        addBox(g, 0, 0, w, h);
    };
    define('A', 600, 700, 700);
    for (unsigned char c = '0'; c <= '9'; ++c) define(c, 400, 700, 500);
    define('.', 100, 100, 200);
    return mmGlyphTable::FromOutlines(out);
}
