// Comparison of layer, block and style names, which ignores letter case.
#pragma once

#include <string>
#include <string_view>

// Case-insensitive equality over ASCII and the Latin-1 letters.
bool NamesEqualIgnoringCase(std::u16string_view a, std::u16string_view b);
char16_t FoldNameChar(char16_t c);
// The name with every character folded: equal for names equal ignoring case.
std::u16string FoldedName(std::u16string_view name);
