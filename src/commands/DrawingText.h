// How text typed or read from a file becomes the text of a drawing entity: UTF-8, cut to a
// length limit in characters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

struct mmDrawingText {
    std::string text;  // UTF-8, at most the limit of characters
    bool cut = false;  // characters beyond the limit were dropped
};

// A surrogate pair is one character; an unpaired surrogate (malformed input) becomes U+FFFD.
mmDrawingText ToDrawingText(std::u16string_view text, std::size_t maxCharacters);
// A line of a file: read as UTF-8 when it is well-formed UTF-8, otherwise as Windows-1252 bytes.
mmDrawingText FileTextToDrawingText(std::string_view line, std::size_t maxCharacters);

// The history line that tells a text was cut, or empty when nothing was. what names the texts
// ("The text", "2 labels"); plural when it names more than one.
std::u16string DrawingTextNotice(std::u16string_view what, bool plural, bool cut,
                                 std::size_t maxCharacters);
