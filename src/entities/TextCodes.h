// The codes users and files put in texts: the %% codes of single-line text (diameter, degree,
// plus-minus, percent, character numbers, underline and overline toggles) and the inline codes of
// multi-line text (paragraphs, fonts, heights, colours, stacks, braces ...). The entities keep
// their strings with the codes, as written; these functions give what is shown.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// A single-line text as shown: %%c, %%d, %%p become the diameter, degree and plus-minus signs,
// %%% a percent sign, %%nnn the character nnn of Windows-1252; %%u and %%o (underline and overline
// toggles) are removed. Any other %% stays as it is.
std::string DecodeTextSpecials(std::string_view raw);

// True when the string holds a code DecodeTextSpecials changes.
bool HasTextSpecials(std::string_view raw);

// A multi-line text's paragraphs as shown: split at \P (and ^J), without the formatting codes;
// \~ is a no-break space, \\ \{ \} their character, a stack \S1^2; its parts with "/", ^I a tab.
std::vector<std::string> MTextParagraphs(std::string_view raw);

// The paragraphs joined with line feeds.
std::string MTextPlainText(std::string_view raw);
