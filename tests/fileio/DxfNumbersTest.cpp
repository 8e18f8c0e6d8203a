// Numbers in DXF groups read as the C runtime reads them, and reals written as "%f" writes them.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "fileio/dxf/DxfNumbers.h"

TEST(DxfNumbers, RealsReadAsStrtodReadsThem) {
    for (const char* text : {"2.5",
                             " \t1.25",
                             "-3e2",
                             "+7",
                             "1e",
                             "1e+",
                             ".5",
                             "5.",
                             "-.5e-1",
                             "12abc",
                             "1,5",
                             "",
                             "abc",
                             "-",
                             "+",
                             "  -0",
                             "0x1p3",
                             "0x",
                             "0x.8",
                             "1e-5",
                             "123456789012.345678",
                             "2500000.123456",
                             "1.7976931348623157e308",
                             "4.9e-324",
                             "00012.5000"}) {
        EXPECT_EQ(parseDxfReal(text), std::strtod(text, nullptr)) << '"' << text << '"';
    }
}

TEST(DxfNumbers, RealsThatAreNotFiniteReadAsZero) {
    for (const char* text : {"inf", "-INFINITY", "nan", "NaN(1)", "1e400", "-1e999", "+-1"})
        EXPECT_EQ(parseDxfReal(text), 0.0) << text;
}

TEST(DxfNumbers, IntegersReadAsStrtolWithinInt32) {
    for (const char* text : {"62", " -7", "+3", "1.9", "12abc", "", "x", "  0256", "-0", "\t5"})
        EXPECT_EQ(parseDxfInt(text), std::strtol(text, nullptr, 10)) << '"' << text << '"';
    EXPECT_EQ(parseDxfInt("99999999999"), INT32_MAX);
    EXPECT_EQ(parseDxfInt("-99999999999"), INT32_MIN);
    EXPECT_EQ(parseDxfInt("-2147483648"), INT32_MIN);
}

TEST(DxfNumbers, CodeLinesAreDigitsAfterBlanks) {
    struct Case {
        const char* line;
        int32_t code;
    } cases[] = {{"0", 0},       {"  10", 10}, {"\t20", 20},
                 {"1001", 1001}, {"", 0},      {"abc", 0},
                 {"-1", 0},      {"40x", 40},  {"99999999999", INT32_MAX}};
    for (const Case& c : cases)
        EXPECT_EQ(parseDxfCode(c.line), c.code) << '"' << c.line << '"';
}

// Every written real reads back to the same double; small values keep their digits.
TEST(DxfNumbers, RealsAreWrittenInTheShortestFormThatReadsBackTheSame) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> wide(-1e7, 1e7);
    std::vector<double> values = {2.5,     1e-7,    5e-7,    0.0000005, 1.0000005,      0.1,
                                  25.4,    1e20,    1e300,   DBL_MAX,   DBL_MIN,        -DBL_MIN,
                                  4.9e-324, 0.2965325, -0.0342664, 2500000.123456, -123.4567895};
    for (int i = 0; i < 2000; ++i)
        values.push_back(wide(rng));
    for (double x : values) {
        char got[kDxfRealMaxChars];
        const std::size_t n = formatDxfReal(x, got);
        ASSERT_EQ(parseDxfReal(std::string_view(got, n)), x) << std::string(got, n);
    }
    const struct {
        double x;
        const char* text;
    } forms[] = {{0.2965325, "0.2965325"}, {-0.0342664, "-0.0342664"}, {2.5, "2.5"}, {10, "10"},
                 {1e-7, "1e-07"},          {0.0, "0"},                 {-0.0, "0"},  {HUGE_VAL, "0"},
                 {std::nan(""), "0"}};
    for (const auto& f : forms) {
        char out[kDxfRealMaxChars];
        EXPECT_EQ(std::string(out, formatDxfReal(f.x, out)), f.text) << f.x;
    }
}
