// The input grammar: numbers, option letters, points and the echo formats.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "commands/InputGrammar.h"

TEST(ReadNumber, LongestNumericPrefix) {
    const struct {
        std::u16string_view text;
        double value;
    } cases[] = {
        {u"abc", 0.0}, {u"2.5mm", 2.5}, {u"  -3e2x", -300.0}, {u"+.5", 0.5},
        {u"7.", 7.0},  {u"1e", 1.0},    {u"1e+", 1.0},        {u"2E-1", 0.2},
        {u".", 0.0},   {u"-", 0.0},     {u"", 0.0},           {u"1e-400", 0.0},
        {u"inf", 0.0}, {u"0x10", 0.0},  {u"12,5", 12.0},      {u"\t4", 4.0},
    };
    for (const auto& c : cases) {
        const std::optional<double> value = ReadNumber(c.text);
        ASSERT_TRUE(value.has_value());
        EXPECT_DOUBLE_EQ(*value, c.value);
    }
}

TEST(ReadNumber, OutOfRangeIsNoNumber) {
    EXPECT_FALSE(ReadNumber(u"1e400").has_value());
    EXPECT_FALSE(ReadNumber(u"-1e99999999999").has_value());
    EXPECT_FALSE(ReadNumber(std::u16string(400, u'9')).has_value());
}

TEST(OptionLetter, FirstCharacterUpperCased) {
    EXPECT_EQ(OptionLetter(u"arc"), u'A');
    EXPECT_EQ(OptionLetter(u"A"), u'A');
    EXPECT_EQ(OptionLetter(u""), u'\0');
}

TEST(ParseCoordinateInput, PointForms) {
    const mmVertex last(1, 1);
    const struct {
        std::u16string_view text;
        double x, y;
    } cases[] = {
        {u"10,20", 10, 20},  {u"10,20,5", 10, 20},
        {u"@5,0", 6, 1},     {u"@3,4", 4, 5},
        {u"@5<0", 6, 1},     {u"@50<90", 1, 51},
        {u"10<45,3", 10, 3}, {u"2<90", 0, 2},
        {u"x@2,2", 3, 3},    {u"12.0000,5.0000,0.0000", 12, 5},
    };
    for (const auto& c : cases) {
        const std::optional<mmVertex> p = ParseCoordinateInput(c.text, last);
        ASSERT_TRUE(p.has_value()) << std::string(c.text.begin(), c.text.end());
        EXPECT_NEAR(p->x, c.x, 1e-12);
        EXPECT_NEAR(p->y, c.y, 1e-12);
    }
    const std::optional<mmVertex> polar = ParseCoordinateInput(u"100<30", last);
    ASSERT_TRUE(polar);
    EXPECT_NEAR(polar->x, 100 * std::cos(30 * 3.141592653589793 / 180), 1e-9);
    EXPECT_NEAR(polar->y, 50.0, 1e-9);
}

TEST(ParseCoordinateInput, NotPoints) {
    for (std::u16string_view text :
         {u"7", u"1,2,3,4", u"", u"@", u",5", u"<5", u"@,1", u"abc", u"1e400,2"}) {
        const std::optional<mmVertex> p = ParseCoordinateInput(text, mmVertex(1, 1));
        EXPECT_FALSE(p.has_value()) << std::string(text.begin(), text.end());
    }
}

TEST(FormatPickedPoint, FourDecimalsAndReadsBack) {
    const std::u16string echo = FormatPickedPoint(12.5, -3.00004);
    EXPECT_EQ(echo, u"12.5000,-3.0000,0.0000");
    const std::optional<mmVertex> p = ParseCoordinateInput(echo, mmVertex());
    ASSERT_TRUE(p);
    EXPECT_DOUBLE_EQ(p->x, 12.5);
    EXPECT_DOUBLE_EQ(p->y, -3.0);
    EXPECT_EQ(FormatFixed4(1e20), u"100000000000000000000.0000");
}
