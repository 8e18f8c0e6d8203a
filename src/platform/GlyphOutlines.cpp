// Glyph outlines through fontconfig (font matching) and FreeType (outline decoding).
#include "platform/GlyphOutlines.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_BBOX_H

#include <memory>

#include "platform/CodePage.h"

namespace kestrel::platform {

namespace {

// Collects the flattened contours of one glyph in font units.
struct Flattener {
    std::vector<GlyphPoint>* points;
    std::vector<std::uint32_t>* ends;
    double scale;
    double lastX = 0.0;
    double lastY = 0.0;

    void add(double x, double y) {
        points->push_back({static_cast<float>(x * scale), static_cast<float>(y * scale)});
        lastX = x;
        lastY = y;
    }
    void closeContour() {
        const std::uint32_t start = ends->empty() ? 0u : ends->back();
        const auto size = static_cast<std::uint32_t>(points->size());
        if (size - start < 2)
            points->resize(start);  // a lone point has no edges
        else
            ends->push_back(size);
    }
};

Flattener& self(void* user) { return *static_cast<Flattener*>(user); }

int moveTo(const FT_Vector* to, void* user) {
    Flattener& f = self(user);
    if (!f.points->empty()) f.closeContour();
    f.add(to->x, to->y);
    return 0;
}

int lineTo(const FT_Vector* to, void* user) {
    self(user).add(to->x, to->y);
    return 0;
}

int conicTo(const FT_Vector* c, const FT_Vector* to, void* user) {
    Flattener& f = self(user);
    const double x0 = f.lastX, y0 = f.lastY;
    for (double t : {1.0 / 3.0, 2.0 / 3.0}) {
        const double u = 1.0 - t;
        f.add(u * u * x0 + 2 * u * t * c->x + t * t * to->x,
              u * u * y0 + 2 * u * t * c->y + t * t * to->y);
    }
    f.add(to->x, to->y);
    return 0;
}

int cubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    Flattener& f = self(user);
    const double x0 = f.lastX, y0 = f.lastY;
    for (double t : {1.0 / 3.0, 2.0 / 3.0}) {
        const double u = 1.0 - t;
        const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
        f.add(a * x0 + b * c1->x + c * c2->x + d * to->x, a * y0 + b * c1->y + c * c2->y + d * to->y);
    }
    f.add(to->x, to->y);
    return 0;
}

// Reads one glyph unscaled and unhinted; false when it has no usable outline.
bool readGlyph(FT_Face face, FT_UInt index, double scale, GlyphOutline& out) {
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0)
        return false;
    FT_GlyphSlot slot = face->glyph;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return false;

    Flattener f{&out.points, &out.contourEnds, scale};
    FT_Outline_Funcs funcs{};
    funcs.move_to = moveTo;
    funcs.line_to = lineTo;
    funcs.conic_to = conicTo;
    funcs.cubic_to = cubicTo;
    if (FT_Outline_Decompose(&slot->outline, &funcs, &f) != 0) {
        out.points.clear();
        out.contourEnds.clear();
        return false;
    }
    if (!out.points.empty()) f.closeContour();

    if (!out.points.empty()) {
        FT_BBox box{};
        FT_Outline_Get_BBox(&slot->outline, &box);
        out.blackBoxWidth = static_cast<float>((box.xMax - box.xMin) * scale);
        out.blackBoxHeight = static_cast<float>((box.yMax - box.yMin) * scale);
        out.originX = static_cast<float>(box.xMin * scale);
    } else {
        out.originX = static_cast<float>(slot->metrics.horiBearingX * scale);
    }
    out.advanceX = static_cast<float>(slot->metrics.horiAdvance * scale);
    out.loaded = true;
    return true;
}

struct LibraryDeleter {
    void operator()(FT_Library lib) const { FT_Done_FreeType(lib); }
};
struct FaceDeleter {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};

// The first outline font fontconfig offers for family, in its order of preference, and the
// index of its face within the file.
std::string matchFontFile(const std::string& family, int& faceIndex, std::string& error) {
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config) {
        error = "fontconfig could not be initialised";
        return {};
    }
    std::string file;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family.c_str()));
    if (pattern) {
        FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
        FcConfigSubstitute(config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcFontSet* fonts = FcFontSort(config, pattern, FcFalse, nullptr, &result);
        for (int i = 0; fonts && i < fonts->nfont && file.empty(); ++i) {
            FcBool outline = FcFalse;
            FcChar8* path = nullptr;
            if (FcPatternGetBool(fonts->fonts[i], FC_OUTLINE, 0, &outline) == FcResultMatch &&
                outline && FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &path) == FcResultMatch) {
                file = reinterpret_cast<const char*>(path);
                if (FcPatternGetInteger(fonts->fonts[i], FC_INDEX, 0, &faceIndex) != FcResultMatch)
                    faceIndex = 0;
            }
        }
        if (fonts) FcFontSetDestroy(fonts);
        FcPatternDestroy(pattern);
    }
    FcConfigDestroy(config);
    if (file.empty()) error = "no outline font is installed";
    return file;
}

GlyphOutlines loadFace(const std::string& path, int faceIndex, double emUnits) {
    GlyphOutlines result;
    result.emUnits = emUnits;
    FT_Library rawLib = nullptr;
    if (FT_Init_FreeType(&rawLib) != 0) {
        result.error = "FreeType could not be initialised";
        return result;
    }
    std::unique_ptr<FT_LibraryRec_, LibraryDeleter> lib(rawLib);
    FT_Face rawFace = nullptr;
    if (FT_New_Face(lib.get(), path.c_str(), faceIndex, &rawFace) != 0) {
        result.error = "cannot read the font file " + path;
        return result;
    }
    std::unique_ptr<FT_FaceRec_, FaceDeleter> face(rawFace);
    if (!FT_IS_SCALABLE(face.get()) || face->units_per_EM == 0) {
        result.error = path + " is not an outline font";
        return result;
    }
    FT_Select_Charmap(face.get(), FT_ENCODING_UNICODE);

    const double scale = emUnits / face->units_per_EM;
    result.glyphs.resize(kGlyphCodes);
    for (int code = 0; code < kGlyphCodes; ++code) {
        const char16_t ch = cp1252ToUnicode(static_cast<unsigned char>(code));
        const FT_UInt index = FT_Get_Char_Index(face.get(), ch);
        if (index == 0) continue;  // the font has no glyph for it: left out
        GlyphOutline& glyph = result.glyphs[code];
        if (!readGlyph(face.get(), index, scale, glyph)) glyph = GlyphOutline{};
    }
    result.fontFile = path;
    result.fontName = std::string(face->family_name ? face->family_name : "") + " " +
                      (face->style_name ? face->style_name : "");
    return result;
}

}  // namespace

GlyphOutlines loadGlyphOutlinesFromFile(const std::string& path, double emUnits) {
    return loadFace(path, 0, emUnits);
}

GlyphOutlines loadGlyphOutlines(const std::string& family, double emUnits) {
    std::string error;
    int faceIndex = 0;
    const std::string file = matchFontFile(family, faceIndex, error);
    GlyphOutlines result;
    if (file.empty()) {
        result.emUnits = emUnits;
        result.error = error;
    } else {
        result = loadFace(file, faceIndex, emUnits);
    }
    result.family = family;
    return result;
}

}  // namespace kestrel::platform
