// What texts show of their codes: the %% codes of single-line text and the inline codes of
// multi-line text.
#include "entities/TextCodes.h"

#include <gtest/gtest.h>

TEST(TextCodes, PercentCodesOfSingleLineText) {
    struct Case {
        const char* raw;
        const char* shown;
    } cases[] = {
        {"%%c50",
         "\xe2\x8c\x80"
         "50"},
        {"%%C50 %%D %%P0.5",
         "\xe2\x8c\x80"
         "50 \xc2\xb0 \xc2\xb1"
         "0.5"},
        {"100%%%", "100%"},
        {"%%u Under%%u %%oOver", " Under Over"},  // toggles are removed
        {"%%177 %%0370", "\xc2\xb1 %0"},          // character numbers, at most three digits
        {"50%", "50%"},
        {"%%", "%%"},
        {"%%x", "%%x"},  // not a code: stays
        {"Ende%%", "Ende%%"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeTextSpecials(c.raw), c.shown) << c.raw;
        EXPECT_EQ(HasTextSpecials(c.raw), std::string(c.raw).find("%%") != std::string::npos);
    }
}

TEST(TextCodes, InlineCodesOfMultiLineTextAreNotShown) {
    struct Case {
        const char* raw;
        const char* shown;  // paragraphs joined with line feeds
    } cases[] = {
        {"\\A1;Plain", "Plain"},  // a code with its semicolon
        {"\\fArial|b1|i0|c0|p34;Bold", "Bold"},
        {"One\\PTwo", "One\nTwo"},  // paragraphs
        {"One\\PTwo; three", "One\nTwo; three"},
        {"a;b\\H2.5x;c", "a;bc"},         // a semicolon before the backslash stays
        {"{\\C1;red} text", "red text"},  // braces group, they are not shown
        {"Width \\W0.8;narrow\\~here", "Width narrow\xc2\xa0here"},
        {"\\S1^2;\" pipe", "1/2\" pipe"},  // a stacked fraction keeps its numbers
        {"\\S3#4;", "3/4"},
        {"C:\\\\temp \\{x\\}", "C:\\temp {x}"},  // escaped characters stay
        {"\\LUnder\\l \\OOver\\o \\KStrike\\k", "Under Over Strike"},
        {"end\\", "end"},
        {"Tab^Ihere^Jnext", "Tab\there\nnext"},
        {"\\pxqc;Centred\\P\\pi-1,l2;Item", "Centred\nItem"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MTextPlainText(c.raw), c.shown) << c.raw;
    EXPECT_EQ(MTextParagraphs("a\\P\\Pb").size(), 3u) << "an empty paragraph is a line";
}
