// Windows-1252 conversion, both ways: the one place that converts 8-bit drawing text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/Unicode.h"

namespace kestrel::platform {

// The character a Windows-1252 byte stands for. The five bytes the code page leaves unassigned
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value, as Windows does, so
// every byte string converts and round-trips.
char16_t cp1252ToUnicode(unsigned char byte);

// The byte for cp; false when Windows-1252 has none.
bool unicodeToCp1252(char32_t cp, char& byte);

// Never fail: every byte has a character.
std::u16string cp1252ToUtf16(std::string_view in);
std::string cp1252ToUtf8(std::string_view in);

// Both overwrite out. A character with no byte in the code page (or malformed input) is never
// replaced: the function returns false, out holds the bytes of everything before that character,
// and *firstBad (when given) its index in code units of the input (bytes for UTF-8). The caller
// decides what to do with it, e.g. write an escape and carry on after it.
bool utf16ToCp1252(std::u16string_view in, std::string& out, std::size_t* firstBad = nullptr);
bool utf8ToCp1252(std::string_view in, std::string& out, std::size_t* firstBad = nullptr);

}  // namespace kestrel::platform
