// UTF-8 / UTF-16 conversion and the UTF-8 decoder.
#include "platform/Unicode.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace kestrel::platform {
namespace {

struct ValidCase {
    const char* name;
    std::string utf8;
    std::u16string utf16;
};
void PrintTo(const ValidCase& c, std::ostream* os) { *os << c.name; }


class UnicodeValid : public testing::TestWithParam<ValidCase> {};

TEST_P(UnicodeValid, ConvertsBothWays) {
    const ValidCase& c = GetParam();
    std::u16string utf16;
    std::string utf8;
    EXPECT_TRUE(utf8ToUtf16(c.utf8, utf16));
    EXPECT_EQ(utf16, c.utf16);
    EXPECT_TRUE(utf16ToUtf8(c.utf16, utf8));
    EXPECT_EQ(utf8, c.utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnicodeValid,
    testing::Values(
        ValidCase{"Ascii", "abc 123", u"abc 123"},
        ValidCase{"TwoBytes", "\xC3\xA9\xDF\xBF", u"\u00E9\u07FF"},
        ValidCase{"ThreeBytes", "\xE0\xA0\x80\xE2\x82\xAC\xEF\xBF\xBF", u"\u0800\u20AC\uFFFF"},
        ValidCase{"SurrogatePairs", "a\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF", u"a\U0001F600\U0010FFFF"}),
    [](const testing::TestParamInfo<ValidCase>& p) { return p.param.name; });

struct MalformedUtf8 {
    const char* name;
    std::string bytes;  // appended to "ok", so the bad index is 2
};
void PrintTo(const MalformedUtf8& c, std::ostream* os) { *os << c.name; }


class UnicodeMalformedUtf8 : public testing::TestWithParam<MalformedUtf8> {};

TEST_P(UnicodeMalformedUtf8, FailsAtTheBadSequence) {
    std::u16string out;
    std::size_t bad = 0;
    EXPECT_FALSE(utf8ToUtf16("ok" + GetParam().bytes + "tail", out, &bad));
    EXPECT_EQ(bad, 2u);
    EXPECT_EQ(out, u"ok");
    char32_t cp = 0;
    EXPECT_EQ(decodeUtf8(GetParam().bytes, 0, cp), 0u);
}

INSTANTIATE_TEST_SUITE_P(Cases, UnicodeMalformedUtf8,
                         testing::Values(MalformedUtf8{"LoneContinuation", "\x80"},
                                         MalformedUtf8{"TruncatedAtEnd", "\xE2\x82"},
                                         MalformedUtf8{"ContinuationMissing",
                                                       "\xE2\x82"
                                                       "A"},
                                         MalformedUtf8{"OverlongTwoBytes", "\xC0\xAF"},
                                         MalformedUtf8{"OverlongThreeBytes", "\xE0\x80\xAF"},
                                         MalformedUtf8{"OverlongFourBytes", "\xF0\x8F\xBF\xBF"},
                                         MalformedUtf8{"EncodedSurrogate", "\xED\xA0\x80"},
                                         MalformedUtf8{"AboveMax", "\xF4\x90\x80\x80"},
                                         MalformedUtf8{"FiveByteLead", "\xF8\x88\x80\x80\x80"},
                                         MalformedUtf8{"InvalidByte", "\xFF"}),
                         [](const testing::TestParamInfo<MalformedUtf8>& p) {
                             return p.param.name;
                         });

TEST(Unicode, TruncationAtEndOfInputIsMalformed) {
    std::u16string out;
    std::size_t bad = 0;
    EXPECT_FALSE(utf8ToUtf16("ok\xF0\x9F\x98", out, &bad));
    EXPECT_EQ(bad, 2u);
}

TEST(Unicode, UnpairedSurrogatesInUtf16Fail) {
    const char16_t high = 0xD800, low = 0xDC00;
    const std::u16string cases[] = {
        u"ok" + std::u16string(1, high), u"ok" + std::u16string(1, low) + u"x",
        u"ok" + std::u16string(1, high) + u"x", u"ok" + std::u16string{high, high, low}};
    for (const std::u16string& in : cases) {
        std::string out;
        std::size_t bad = 0;
        EXPECT_FALSE(utf16ToUtf8(in, out, &bad));
        EXPECT_EQ(bad, 2u);
        EXPECT_EQ(out, "ok");
    }
}

TEST(Unicode, EveryScalarValueRoundTrips) {
    for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
        if (cp == 0xD800) cp = 0xE000;
        std::string utf8;
        appendUtf8(utf8, cp);
        char32_t decoded = 0;
        ASSERT_EQ(decodeUtf8(utf8, 0, decoded), utf8.size()) << std::hex << std::uint32_t(cp);
        ASSERT_EQ(std::uint32_t(decoded), std::uint32_t(cp));
        std::u16string utf16;
        std::string back;
        ASSERT_TRUE(utf8ToUtf16(utf8, utf16));
        ASSERT_TRUE(utf16ToUtf8(utf16, back));
        ASSERT_EQ(back, utf8);
    }
}

TEST(Unicode, RandomBytesNeverCrashAndValidOnesRoundTrip) {
    std::mt19937 random(1252);
    std::uniform_int_distribution<int> length(0, 12), byte(0, 255);
    for (int n = 0; n < 50000; ++n) {
        std::string in(length(random), '\0');
        for (char& c : in)
            c = static_cast<char>(byte(random) | (byte(random) & 0x80));
        std::u16string utf16;
        std::size_t bad = in.size() + 1;
        if (!utf8ToUtf16(in, utf16, &bad)) {
            ASSERT_LT(bad, in.size());
            continue;
        }
        std::string back;
        ASSERT_TRUE(utf16ToUtf8(utf16, back));
        ASSERT_EQ(back, in);
    }
}

}  // namespace
}  // namespace kestrel::platform
