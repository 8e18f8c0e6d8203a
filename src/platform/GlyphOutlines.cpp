// Glyph outlines through fontconfig (font matching and fallback) and FreeType (outline
// decoding).
#include "platform/GlyphOutlines.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_BBOX_H

#include <memory>

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

Flattener& self(void* user) {
    return *static_cast<Flattener*>(user);
}

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
        f.add(a * x0 + b * c1->x + c * c2->x + d * to->x,
              a * y0 + b * c1->y + c * c2->y + d * to->y);
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

// The first outline font fontconfig offers for a pattern, in its order of preference, and the
// index of its face within the file.
std::string sortedFontFile(FcConfig* config, FcPattern* pattern, int& faceIndex) {
    std::string file;
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
    return file;
}

std::string matchFontFile(const std::string& family, int& faceIndex, std::string& error) {
    std::unique_ptr<FcConfig, FontConfigDeleter> owned(FcInitLoadConfigAndFonts());
    FcConfig* config = owned.get();
    if (!config) {
        error = "fontconfig could not be initialised";
        return {};
    }
    std::string file;
    if (FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family.c_str()))) {
        FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
        file = sortedFontFile(config, pattern, faceIndex);
        FcPatternDestroy(pattern);
    }
    if (file.empty()) error = "no outline font is installed";
    return file;
}

// The font fontconfig offers for a character, upright and regular; empty when none has it.
std::string fallbackFontFile(FcConfig* config, char32_t cp, int& faceIndex) {
    if (!config) return {};
    FcPattern* pattern = FcPatternCreate();
    FcCharSet* chars = FcCharSetCreate();
    FcCharSetAddChar(chars, cp);
    FcPatternAddCharSet(pattern, FC_CHARSET, chars);
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    std::string file;
    FcFontSet* fonts = FcFontSort(config, pattern, FcFalse, nullptr, &result);
    for (int i = 0; fonts && i < fonts->nfont && file.empty(); ++i) {
        FcCharSet* has = nullptr;
        FcBool outline = FcFalse;
        FcChar8* path = nullptr;
        if (FcPatternGetCharSet(fonts->fonts[i], FC_CHARSET, 0, &has) == FcResultMatch &&
            FcCharSetHasChar(has, cp) &&
            FcPatternGetBool(fonts->fonts[i], FC_OUTLINE, 0, &outline) == FcResultMatch &&
            outline && FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &path) == FcResultMatch) {
            file = reinterpret_cast<const char*>(path);
            if (FcPatternGetInteger(fonts->fonts[i], FC_INDEX, 0, &faceIndex) != FcResultMatch)
                faceIndex = 0;
        }
    }
    if (fonts) FcFontSetDestroy(fonts);
    FcCharSetDestroy(chars);
    FcPatternDestroy(pattern);
    return file;
}

}  // namespace

struct GlyphSource::Library {
    FT_Library lib = nullptr;
    ~Library() {
        if (lib) FT_Done_FreeType(lib);
    }
};

// One open face and the scale from its units to the em of the outlines.
class GlyphFace {
public:
    FT_Face face = nullptr;
    double scale = 1.0;
    ~GlyphFace() {
        if (face) FT_Done_Face(face);
    }
    bool Has(char32_t cp) const { return FT_Get_Char_Index(face, cp) != 0; }
};

void FontConfigDeleter::operator()(FcConfig* config) const {
    FcConfigDestroy(config);
}

GlyphSource::~GlyphSource() {
    faces_.clear();  // before the library
}

GlyphFace* GlyphSource::OpenFace(const std::string& file, int index) {
    const auto key = std::make_pair(file, index);
    if (auto it = byFile_.find(key); it != byFile_.end()) return it->second;
    GlyphFace* opened = nullptr;
    FT_Face face = nullptr;
    if (FT_New_Face(library_->lib, file.c_str(), index, &face) == 0) {
        auto f = std::make_unique<GlyphFace>();
        f->face = face;
        if (FT_IS_SCALABLE(face) && face->units_per_EM != 0) {
            FT_Select_Charmap(face, FT_ENCODING_UNICODE);
            f->scale = emUnits_ / face->units_per_EM;
            opened = f.get();
            faces_.push_back(std::move(f));
        }
    }
    byFile_.emplace(key, opened);
    return opened;
}

std::unique_ptr<GlyphSource> GlyphSource::FromFiles(const std::string& mainFile, int faceIndex,
                                                    std::vector<std::string> fallbackFiles,
                                                    bool useFontconfig, double emUnits,
                                                    std::string* error) {
    std::unique_ptr<GlyphSource> source(new GlyphSource);
    source->library_ = std::make_unique<Library>();
    source->emUnits_ = emUnits;
    if (FT_Init_FreeType(&source->library_->lib) != 0) {
        if (error) *error = "FreeType could not be initialised";
        return nullptr;
    }
    FT_Face probe = nullptr;
    if (FT_New_Face(source->library_->lib, mainFile.c_str(), faceIndex, &probe) != 0) {
        if (error) *error = "cannot read the font file " + mainFile;
        return nullptr;
    }
    const bool scalable = FT_IS_SCALABLE(probe) && probe->units_per_EM != 0;
    FT_Done_Face(probe);
    if (!scalable) {
        if (error) *error = mainFile + " is not an outline font";
        return nullptr;
    }
    GlyphFace* main = source->OpenFace(mainFile, faceIndex);
    if (!main) {
        if (error) *error = "cannot read the font file " + mainFile;
        return nullptr;
    }
    source->fallbackFiles_ = std::move(fallbackFiles);
    source->useFontconfig_ = useFontconfig;
    source->fontFile_ = mainFile;
    source->fontName_ = std::string(main->face->family_name ? main->face->family_name : "") + " " +
                        (main->face->style_name ? main->face->style_name : "");
    source->descender_ = -main->face->descender * main->scale;
    return source;
}

GlyphFace* GlyphSource::FaceFor(char32_t cp) {
    if (faces_[0]->Has(cp)) return faces_[0].get();
    for (const std::string& file : fallbackFiles_)
        if (GlyphFace* f = OpenFace(file, 0); f && f->Has(cp)) return f;
    if (!useFontconfig_ || cp < 0x20) return nullptr;
    // A fallback font already open usually has the neighbours of the characters it gave.
    for (std::size_t i = 1; i < faces_.size(); ++i)
        if (faces_[i]->Has(cp)) return faces_[i].get();
    int index = 0;
    if (!fontConfig_) fontConfig_.reset(FcInitLoadConfigAndFonts());
    const std::string file = fallbackFontFile(fontConfig_.get(), cp, index);
    if (file.empty()) return nullptr;
    GlyphFace* f = OpenFace(file, index);
    return f && f->Has(cp) ? f : nullptr;
}

bool GlyphSource::Load(char32_t cp, GlyphOutline& out) {
    out = GlyphOutline{};
    GlyphFace* f = FaceFor(cp);
    if (!f) return false;
    if (!readGlyph(f->face, FT_Get_Char_Index(f->face, cp), f->scale, out)) {
        out = GlyphOutline{};
        return false;
    }
    return true;
}

namespace {

GlyphOutlines fromSource(std::unique_ptr<GlyphSource> source, double emUnits,
                         const std::string& error) {
    GlyphOutlines result;
    result.emUnits = emUnits;
    if (!source) {
        result.error = error;
        return result;
    }
    result.glyphs.resize(kGlyphCodes);
    for (int code = 0; code < kGlyphCodes; ++code)
        source->Load(static_cast<char32_t>(code), result.glyphs[static_cast<std::size_t>(code)]);
    result.fontFile = source->FontFile();
    result.fontName = source->FontName();
    result.descender = source->Descender();
    result.source = std::move(source);
    return result;
}

}  // namespace

GlyphOutlines loadGlyphOutlinesFromFile(const std::string& path, double emUnits,
                                        std::vector<std::string> fallbackFiles) {
    std::string error;
    auto source = GlyphSource::FromFiles(path, 0, std::move(fallbackFiles), false, emUnits, &error);
    return fromSource(std::move(source), emUnits, error);
}

GlyphOutlines loadGlyphOutlines(const std::string& family, double emUnits) {
    std::string error;
    int faceIndex = 0;
    const std::string file = matchFontFile(family, faceIndex, error);
    std::unique_ptr<GlyphSource> source;
    if (!file.empty()) source = GlyphSource::FromFiles(file, faceIndex, {}, true, emUnits, &error);
    GlyphOutlines result = fromSource(std::move(source), emUnits, error);
    result.family = family;
    return result;
}

}  // namespace kestrel::platform
