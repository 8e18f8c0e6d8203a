// Windows-1252 conversion both ways.
#include "platform/CodePage.h"

#include <gtest/gtest.h>

namespace kestrel::platform {
namespace {

struct RoundTripCase {
    const char* name;
    std::string cp1252;
    std::string utf8;
    std::u16string utf16;
};
void PrintTo(const RoundTripCase& c, std::ostream* os) {
    *os << c.name;
}

class CodePageRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(CodePageRoundTrip, ConvertsBothWays) {
    const RoundTripCase& c = GetParam();
    EXPECT_EQ(cp1252ToUtf8(c.cp1252), c.utf8);
    EXPECT_EQ(cp1252ToUtf16(c.cp1252), c.utf16);

    std::string back;
    std::size_t bad = 99;
    EXPECT_TRUE(utf8ToCp1252(c.utf8, back, &bad));
    EXPECT_EQ(back, c.cp1252);
    EXPECT_EQ(bad, 99u) << "firstBad is only written on failure";
    EXPECT_TRUE(utf16ToCp1252(c.utf16, back));
    EXPECT_EQ(back, c.cp1252);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CodePageRoundTrip,
    testing::Values(RoundTripCase{"Empty", "", "", u""},
                    RoundTripCase{"Ascii", "LINE 0,0 10.5;\t~", "LINE 0,0 10.5;\t~",
                                  u"LINE 0,0 10.5;\t~"},
                    RoundTripCase{"EmbeddedNul", std::string("a\0b", 3), std::string("a\0b", 3),
                                  std::u16string(u"a\0b", 3)},
                    RoundTripCase{"EAcute", "caf\xE9", "caf\xC3\xA9", u"caf\u00E9"},
                    RoundTripCase{"Euro", "\x80", "\xE2\x82\xAC", u"\u20AC"},
                    RoundTripCase{"SCaron", "\x8A", "\xC5\xA0", u"\u0160"},
                    RoundTripCase{"YDiaeresis", "\x9F", "\xC5\xB8", u"\u0178"},
                    RoundTripCase{"TradeMarkAndQuotes", "\x99\x93\x94",
                                  "\xE2\x84\xA2\xE2\x80\x9C\xE2\x80\x9D", u"\u2122\u201C\u201D"},
                    RoundTripCase{"LatinOneUpperHalf", "\xD8 50 \xD7 3 m\xB2 \xFF",
                                  "\xC3\x98 50 \xC3\x97 3 m\xC2\xB2 \xC3\xBF",
                                  u"\u00D8 50 \u00D7 3 m\u00B2 \u00FF"},
                    RoundTripCase{"UnassignedBytes", "\x81\x8D\x8F\x90\x9D",
                                  "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D",
                                  u"\u0081\u008D\u008F\u0090\u009D"}),
    [](const testing::TestParamInfo<RoundTripCase>& p) { return p.param.name; });

TEST(CodePage, EveryByteRoundTripsAndBothPathsAgree) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));

    const std::string utf8 = cp1252ToUtf8(all);
    const std::u16string utf16 = cp1252ToUtf16(all);
    std::string viaUtf16;
    ASSERT_TRUE(utf16ToUtf8(utf16, viaUtf16));
    EXPECT_EQ(utf8, viaUtf16);

    std::string back;
    ASSERT_TRUE(utf8ToCp1252(utf8, back));
    EXPECT_EQ(back, all);
    ASSERT_TRUE(utf16ToCp1252(utf16, back));
    EXPECT_EQ(back, all);

    for (int b = 0; b < 256; ++b) {
        if (b < 0x80 || b >= 0xA0) {
            EXPECT_EQ(utf16[b], char16_t(b)) << "byte " << b;
        }
    }
}

struct FailureCase {
    const char* name;
    std::string utf8;
    std::u16string utf16;  // empty: no UTF-16 form (malformed UTF-8)
    std::size_t utf8Index;
    std::size_t utf16Index;
    std::string convertedBefore;
};
void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class CodePageFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(CodePageFailure, ReportsFirstUnconvertibleCharacter) {
    const FailureCase& c = GetParam();
    std::string out = "stale";
    std::size_t bad = 0;
    EXPECT_FALSE(utf8ToCp1252(c.utf8, out, &bad));
    EXPECT_EQ(bad, c.utf8Index);
    EXPECT_EQ(out, c.convertedBefore);
    EXPECT_FALSE(utf8ToCp1252(c.utf8, out)) << "firstBad is optional";

    if (c.utf16.empty()) return;
    out = "stale";
    EXPECT_FALSE(utf16ToCp1252(c.utf16, out, &bad));
    EXPECT_EQ(bad, c.utf16Index);
    EXPECT_EQ(out, c.convertedBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CodePageFailure,
    testing::Values(FailureCase{"LStroke",
                                "Ab\xC5\x81"
                                "c\xC5\x81",
                                u"Ab\u0141c\u0141", 2, 2, "Ab"},
                    FailureCase{"AfterLongAsciiRun", "0123456789abcdef\xC5\x81",
                                u"0123456789abcdef\u0141", 16, 16, "0123456789abcdef"},
                    FailureCase{"AfterEuro", "\xE2\x82\xAC\xC5\x81", u"\u20AC\u0141", 3, 1, "\x80"},
                    FailureCase{"SurrogatePair", "x\xF0\x9F\x98\x80y", u"x\U0001F600y", 1, 1, "x"},
                    FailureCase{"C1ControlWhoseByteIsEuro", "\xC2\x80", u"\u0080", 0, 0, ""},
                    FailureCase{"LoneSurrogate", "\xED\xA0\x80ok",
                                char16_t(0xD800) + std::u16string(u"ok"), 0, 0, ""},
                    FailureCase{"TruncatedUtf8", "ab\xC3", u"", 2, 0, "ab"},
                    FailureCase{"Latin1ByteAsUtf8", "caf\xE9", u"", 3, 0, "caf"}),
    [](const testing::TestParamInfo<FailureCase>& p) { return p.param.name; });

}  // namespace
}  // namespace kestrel::platform

namespace kestrel::platform {
namespace {

TEST(CodePageByName, PagesOfDxfFilesConvertBothWays) {
    struct Case {
        const char* name;
        std::string bytes;
        const char* utf8;
    } cases[] = {
        {"ANSI_1252", "Caf\xe9 25\x80", "Caf\xc3\xa9 25\xe2\x82\xac"},
        {"ansi_1251", "\xcf\xeb\xe0\xed", "\xd0\x9f\xd0\xbb\xd0\xb0\xd0\xbd"},  // "План"
        {"ANSI_1250",
         "\xa3\xf3"
         "d\x9f",
         "\xc5\x81\xc3\xb3"
         "d\xc5\xba"},                                                  // "Łódź"
        {"ANSI_1253", "\xc1\xe8", "\xce\x91\xce\xb8"},                  // "Αθ"
        {"DOS850", "\x82t\x82", "\xc3\xa9t\xc3\xa9"},                   // "été"
        {"ANSI_932", "\x93\xfa\x96{ A", "\xe6\x97\xa5\xe6\x9c\xac A"},  // "日本 A"
        {"ANSI_936", "\xd6\xd0\xce\xc4", "\xe4\xb8\xad\xe6\x96\x87"},   // "中文"
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto page = CodePage::FromDxfName(c.name);
        ASSERT_TRUE(page);
        EXPECT_EQ(page->ToUtf8(c.bytes), c.utf8);
        std::string back;
        const std::string utf8 = c.utf8;
        for (std::size_t i = 0; i < utf8.size();) {
            char32_t cp = 0;
            i += decodeUtf8(utf8, i, cp);
            EXPECT_TRUE(page->Encode(cp, back)) << static_cast<uint32_t>(cp);
        }
        EXPECT_EQ(back, c.bytes);
    }
    std::string out;
    EXPECT_FALSE(CodePage::Windows1252()->Encode(U'\u0141', out));
    EXPECT_FALSE(CodePage::FromDxfName("ANSI_1251")->Encode(U'\u00e9', out));
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(CodePage::FromDxfName("ANSI_9999"), nullptr);
    EXPECT_EQ(CodePage::FromDxfName("ANSI_1252 ")->Name(), "ANSI_1252");
    // A lead byte without its second byte is no character.
    EXPECT_EQ(CodePage::FromDxfName("ANSI_932")->ToUtf8("a\x93"), "a\xef\xbf\xbd");
}

}  // namespace
}  // namespace kestrel::platform
