// The colour index palette both ways, and the colour text.
#include <gtest/gtest.h>

#include "drawing/Palette.h"

TEST(Palette, LookupsByIndex) {
    struct Case { int32_t index; uint32_t rgb; };
    const Case cases[] = {{7, 0xFFFFFF}, {256, 0}, {-1, 0}, {250, 0x333333}, {255, 0xB3B3B3},
                          {1, 0xFF0000}, {5, 0x0000FF}, {21, 0xFFBFAA}, {0, 0}};
    for (const Case& c : cases) {
        const uint32_t color = PaletteColor(c.index);
        EXPECT_EQ(MakeColor(c.rgb >> 16, (c.rgb >> 8) & 0xFF, c.rgb & 0xFF), color) << c.index;
    }
}

TEST(Palette, ReverseLookupTakesTheFirstIndex) {
    EXPECT_EQ(PaletteIndex(MakeColor(255, 0, 0)), 1);  // not 10
    EXPECT_EQ(PaletteIndex(MakeColor(0, 0, 0)), 0);
    const uint32_t unknown = MakeColor(1, 2, 3);
    EXPECT_EQ(PaletteIndex(unknown), static_cast<int32_t>(unknown));
    for (int i = 1; i < 256; ++i) EXPECT_EQ(PaletteColor(PaletteIndex(PaletteColor(i))), PaletteColor(i));
}

TEST(Palette, ColorTextIsRedGreenBlue) {
    EXPECT_EQ(ColorText(MakeColor(255, 128, 0)), "255,128,0");
    EXPECT_EQ(ColorText(0xFFFFFF), "255,255,255");
}
