// Glyph outlines from the pinned font (Liberation Sans, what fontconfig gives for "Arial"):
// code mapping, flattening, metrics, and the failures when no font can be read.
#include "platform/GlyphOutlines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace kestrel::platform {
namespace {

constexpr const char* kPinned = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";

const GlyphOutlines& pinned() {
    static const GlyphOutlines outlines = loadGlyphOutlinesFromFile(kPinned);
    return outlines;
}

struct PinnedFont : ::testing::Test {
    void SetUp() override {
        if (!std::filesystem::exists(kPinned)) GTEST_SKIP() << "font not installed: " << kPinned;
        ASSERT_TRUE(pinned().error.empty()) << pinned().error;
    }
};

}  // namespace

TEST_F(PinnedFont, ArialMatchesTheLiberationFont) {
    const GlyphOutlines outlines = loadGlyphOutlines("Arial");
    EXPECT_TRUE(outlines.error.empty()) << outlines.error;
    EXPECT_EQ(outlines.fontName, "Liberation Sans Regular");
    EXPECT_EQ(outlines.glyphs.size(), static_cast<std::size_t>(kGlyphCodes));
}

TEST_F(PinnedFont, TheFirstPageIsCodePointsAndTheRestComesOnDemand) {
    const auto& g = pinned().glyphs;
    ASSERT_EQ(g.size(), 256u);
    EXPECT_FALSE(g[0x09].loaded);  // control characters have no glyph
    EXPECT_FALSE(g[0x80].loaded);  // a C1 control, not the euro sign
    EXPECT_TRUE(g[0xE9].loaded);   // e acute
    GlyphOutline euro, han;
    ASSERT_TRUE(pinned().source);
    EXPECT_TRUE(pinned().source->Load(U'\u20AC', euro));
    EXPECT_NE(euro.points.size(), g[0xE9].points.size());
    EXPECT_FALSE(pinned().source->Load(U'\u4E2D', han));  // no fallback files given
    EXPECT_FALSE(han.loaded);
    // A space has an advance and no ink.
    EXPECT_TRUE(g[' '].loaded);
    EXPECT_TRUE(g[' '].points.empty());
    EXPECT_NEAR(g[' '].advanceX, 569 * 1000.0 / 2048, 1e-3);
}

TEST_F(PinnedFont, MetricsAreInUnitsOfAThousandEm) {
    const GlyphOutline& a = pinned().glyphs['A'];
    EXPECT_NEAR(a.blackBoxHeight, 1409 * 1000.0 / 2048, 1e-3);  // the cap height
    EXPECT_EQ(a.originY, 0);
    EXPECT_EQ(a.advanceY, 0);
    const GlyphOutline& w = pinned().glyphs['W'];
    EXPECT_GT(w.advanceX, w.blackBoxWidth);
    float minX = 1e9f, maxY = -1e9f;
    for (const GlyphPoint& p : w.points) {
        minX = std::min(minX, p.x);
        maxY = std::max(maxY, p.y);
    }
    EXPECT_NEAR(minX, w.originX, 1e-3);
    EXPECT_NEAR(maxY, w.blackBoxHeight, 1e-3);
}

TEST_F(PinnedFont, ContoursAreClosedAndCurvesFlattenedInThirds) {
    // "l" is a plain rectangle; "o" is two curved contours, each quadratic piece three points.
    const GlyphOutline& l = pinned().glyphs['l'];
    ASSERT_EQ(l.contourEnds.size(), 1u);
    EXPECT_EQ(l.contourEnds[0], 5u);
    const GlyphOutline& o = pinned().glyphs['o'];
    ASSERT_EQ(o.contourEnds.size(), 2u);
    for (std::size_t c = 0; c < 2; ++c) {
        const std::uint32_t begin = c == 0 ? 0 : o.contourEnds[0];
        const std::uint32_t end = o.contourEnds[c];
        EXPECT_GT(end - begin, 12u);
        EXPECT_EQ((end - begin - 1) % 3, 0u) << "only curve pieces of three segments";
        EXPECT_EQ(o.points[begin].x, o.points[end - 1].x);
        EXPECT_EQ(o.points[begin].y, o.points[end - 1].y);
    }
}

TEST(GlyphOutlinesFailure, UnreadableFilesAndNoFontsAreReported) {
    const GlyphOutlines missing = loadGlyphOutlinesFromFile("/nonexistent/font.ttf");
    EXPECT_NE(missing.error.find("/nonexistent/font.ttf"), std::string::npos);
    EXPECT_TRUE(missing.glyphs.empty());

    const std::string dir = std::string(KESTREL_TEST_OUTPUT_DIR) + "/no-fonts";
    std::filesystem::create_directories(dir);
    const std::string garbage = dir + "/garbage.ttf";
    std::ofstream(garbage) << "not a font";
    EXPECT_FALSE(loadGlyphOutlinesFromFile(garbage).error.empty());

    // A fontconfig set-up without font folders: nothing matches at all.
    const std::string config = dir + "/fonts.conf";
    std::ofstream(config) << "<?xml version=\"1.0\"?><fontconfig><cachedir>" << dir
                          << "</cachedir></fontconfig>\n";
    ::setenv("FONTCONFIG_FILE", config.c_str(), 1);
    const GlyphOutlines none = loadGlyphOutlines("Arial");
    ::unsetenv("FONTCONFIG_FILE");
    EXPECT_EQ(none.error, "no outline font is installed");
    EXPECT_TRUE(none.glyphs.empty());
    EXPECT_EQ(none.family, "Arial");
}

}  // namespace kestrel::platform
