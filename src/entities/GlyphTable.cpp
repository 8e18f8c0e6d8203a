// Building the glyph table from the platform's outlines.
#include "entities/GlyphTable.h"

#include <algorithm>
#include <mutex>

#include "platform/GlyphOutlines.h"

double mmGlyphTable::ReferenceHeight() const {
    if (glyphs.size() <= static_cast<std::size_t>(kReferenceCode)) return 0.0;
    const double h = glyphs[kReferenceCode].blackBoxHeight;
    return h > 0.0 ? h : 0.0;
}

mmGlyphTable::mmGlyphTable() = default;
mmGlyphTable::~mmGlyphTable() = default;

void FillGlyph(const kestrel::platform::GlyphOutline& in, mmGlyph& g) {
    g = mmGlyph{};
    if (!in.loaded) return;
    g.loaded = true;
    g.points.reserve(in.points.size());
    for (const auto& p : in.points)
        g.points.push_back({p.x, p.y});
    uint32_t previous = 0;
    for (uint32_t end : in.contourEnds) {
        if (end < previous || end > g.points.size()) break;
        g.contourEnds.push_back(end);
        previous = end;
    }
    g.points.resize(previous);
    if (!g.points.empty()) {
        g.inkMinX = g.inkMaxX = g.points[0].x;
        g.inkMinY = g.inkMaxY = g.points[0].y;
        for (const mmGlyphPoint& p : g.points) {
            g.inkMinX = std::min(g.inkMinX, p.x);
            g.inkMinY = std::min(g.inkMinY, p.y);
            g.inkMaxX = std::max(g.inkMaxX, p.x);
            g.inkMaxY = std::max(g.inkMaxY, p.y);
        }
    }
    g.blackBoxWidth = in.blackBoxWidth;
    g.blackBoxHeight = in.blackBoxHeight;
    g.advanceX = in.advanceX;
    g.advanceY = in.advanceY;
    g.originX = in.originX;
    g.originY = in.originY;
}

std::shared_ptr<mmGlyphTable> mmGlyphTable::FromOutlines(
    const kestrel::platform::GlyphOutlines& outlines) {
    auto table = std::make_shared<mmGlyphTable>();
    table->fontName = outlines.fontName;
    table->descender = outlines.descender;
    table->source_ = outlines.source;
    if (outlines.glyphs.empty()) return table;
    table->glyphs.resize(kCodes);
    const std::size_t count = std::min<std::size_t>(outlines.glyphs.size(), kCodes);
    for (std::size_t code = 0; code < count; ++code)
        FillGlyph(outlines.glyphs[code], table->glyphs[code]);
    return table;
}

const mmGlyph* mmGlyphTable::FindBeyondFirstPage(char32_t code) const {
    if (auto it = more_.find(code); it != more_.end()) return it->second.get();
    std::unique_ptr<mmGlyph> glyph;
    kestrel::platform::GlyphOutline outline;
    if (source_ && code <= 0x10FFFF && source_->Load(code, outline)) {
        glyph = std::make_unique<mmGlyph>();
        FillGlyph(outline, *glyph);
    }
    return more_.emplace(code, std::move(glyph)).first->second.get();
}

mmGlyphTablePtr LoadGlyphTable(const std::string& family, std::string* message) {
    const kestrel::platform::GlyphOutlines outlines = kestrel::platform::loadGlyphOutlines(family);
    std::shared_ptr<mmGlyphTable> table = mmGlyphTable::FromOutlines(outlines);
    if (message) {
        message->clear();
        if (!table->Usable()) {
            const std::string why = !outlines.error.empty()
                                        ? outlines.error
                                        : outlines.fontName + " has no outline for \"A\"";
            *message = "The font \"" + family + "\" is missing (" + why +
                       "): texts are shown without their characters.";
        }
    }
    return table;
}

mmGlyphTablePtr SystemGlyphTable(std::string* message) {
    static std::once_flag once;
    static mmGlyphTablePtr table;
    static std::string firstMessage;
    bool first = false;
    std::call_once(once, [&] {
        table = LoadGlyphTable("Arial", &firstMessage);
        first = true;
    });
    if (message) *message = first ? firstMessage : std::string();
    return table;
}
