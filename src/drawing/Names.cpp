// Case folding of names.
#include "drawing/Names.h"

char16_t FoldNameChar(char16_t c) {
    if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
    // Latin-1 lower-case letters except the division sign and y with diaeresis.
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 32);
    return c;
}

std::u16string FoldedName(std::u16string_view name) {
    std::u16string key(name);
    for (char16_t& c : key)
        c = FoldNameChar(c);
    return key;
}

bool NamesEqualIgnoringCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldNameChar(a[i]) != FoldNameChar(b[i])) return false;
    return true;
}
