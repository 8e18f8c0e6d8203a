// How text typed or read from a file becomes the 8-bit text of a drawing entity: converted to
// Windows-1252 with a defined replacement for what the code page cannot hold, and cut to a
// length limit.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Stands for every character the code page has no byte for.
inline constexpr char kReplacementByte = '?';

struct mmDrawingText {
    std::string bytes;      // Windows-1252, at most the limit
    bool replaced = false;  // some characters became kReplacementByte
    bool cut = false;       // characters beyond the limit were dropped
};

// One byte per character, so cutting at the limit never splits a character. A surrogate pair
// is one character and becomes one replacement.
mmDrawingText ToDrawingText(std::u16string_view text, std::size_t maxBytes);
// A line of a file: read as UTF-8 when it is well-formed UTF-8, otherwise as Windows-1252 bytes
// already (every byte is a character there).
mmDrawingText FileTextToDrawingText(std::string_view line, std::size_t maxBytes);

// The history line that tells what conversions changed, or empty when nothing changed. what
// names the texts ("The text", "2 labels"); plural when it names more than one.
std::u16string DrawingTextNotice(std::u16string_view what, bool plural, bool replaced, bool cut,
                                 std::size_t maxBytes);
