// The system glyph table, loaded once per benchmark program; a missing font is named on stderr.
#pragma once

#include <cstdio>
#include <string>

#include "entities/GlyphTable.h"

inline mmGlyphTablePtr glyphs() {
    static mmGlyphTablePtr table = [] {
        std::string message;
        mmGlyphTablePtr t = SystemGlyphTable(&message);
        if (!message.empty()) std::fprintf(stderr, "%s\n", message.c_str());
        return t;
    }();
    return table;
}
