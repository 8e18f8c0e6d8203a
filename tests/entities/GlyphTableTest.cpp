// The glyph table: built from outlines, usable only with an "A", and the message when the font is
// missing, given once for the process-wide table.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "TestGlyphs.h"
#include "entities/GlyphTable.h"
#include "entities/Text.h"

namespace {

// Points fontconfig at a set-up without fonts while alive.
struct NoFonts {
    NoFonts() {
        const std::string dir = std::string(KESTREL_TEST_OUTPUT_DIR) + "/no-fonts";
        std::filesystem::create_directories(dir);
        const std::string config = dir + "/fonts.conf";
        std::ofstream(config) << "<?xml version=\"1.0\"?><fontconfig><cachedir>" << dir
                              << "</cachedir></fontconfig>\n";
        ::setenv("FONTCONFIG_FILE", config.c_str(), 1);
    }
    ~NoFonts() { ::unsetenv("FONTCONFIG_FILE"); }
};

}  // namespace

TEST(GlyphTable, BuiltFromOutlinesWithTheHeightOfA) {
    auto table = SyntheticGlyphTable();
    ASSERT_EQ(table->glyphs.size(), 256u);
    EXPECT_EQ(table->ReferenceHeight(), 700);
    EXPECT_TRUE(table->Usable());
    EXPECT_EQ(table->Find(0x20AC), nullptr);  // beyond the first page, and no font to read it
    EXPECT_NE(table->Find(255), nullptr);
    const mmGlyph& o = table->glyphs['O'];
    ASSERT_EQ(o.contourCount(), 2u);
    EXPECT_EQ(o.contour(1).size(), 5u);
    EXPECT_EQ(o.contour(1)[0].x, 150);
    EXPECT_EQ(o.inkMinX, 50);
    EXPECT_EQ(o.inkMaxY, 700);
    EXPECT_TRUE(table->glyphs['B'].points.empty());

    kestrel::platform::GlyphOutlines withoutA;
    withoutA.glyphs.resize(255);
    EXPECT_FALSE(mmGlyphTable::FromOutlines(withoutA)->Usable());
    EXPECT_FALSE(mmGlyphTable().Usable());
}

TEST(GlyphTable, SystemFontLoadsWithoutAMessage) {
    if (!std::filesystem::exists(kPinnedFont)) GTEST_SKIP() << "font not installed: " << kPinnedFont;
    std::string message = "unchanged";
    auto table = LoadGlyphTable("Arial", &message);
    EXPECT_TRUE(message.empty()) << message;
    EXPECT_TRUE(table->Usable());
    EXPECT_EQ(table->fontName, "Liberation Sans Regular");
    // Beyond the first page on demand, from the font or from fontconfig's fallback.
    const mmGlyph* euro = table->Find(0x20AC);
    ASSERT_NE(euro, nullptr);
    EXPECT_FALSE(euro->points.empty());
    EXPECT_EQ(table->Find(0x20AC), euro) << "read once, then kept";
    if (!std::filesystem::exists(kPinnedCjkFont)) GTEST_SKIP() << "not installed: " << kPinnedCjkFont;
    const mmGlyph* han = table->Find(0x4E2D);
    ASSERT_NE(han, nullptr);
    EXPECT_GT(han->advanceX, 900.0) << "a full-width character";
    EXPECT_EQ(table->Find(0xE000), nullptr) << "no font has a private-use character";
}

TEST(GlyphTable, MissingFontIsNamedOnceAndTextsStillWork) {
    NoFonts noFonts;
    std::string first, second = "unchanged";
    auto table = SystemGlyphTable(&first);
    auto again = SystemGlyphTable(&second);
    EXPECT_EQ(table, again);
    EXPECT_NE(first.find("\"Arial\""), std::string::npos) << first;
    EXPECT_TRUE(second.empty());
    ASSERT_TRUE(table);
    EXPECT_FALSE(table->Usable());

    mmText text;
    text.CreateText("Survey 12", table);
    text.SetInsertionPoint(4, 5);
    EXPECT_EQ(text.extents.minX, 4);
    EXPECT_EQ(text.advance, 0);
}
