// UTF-8 / UTF-16 conversion and code-point helpers; malformed input is reported, never replaced.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrel::platform {

// Decodes the UTF-8 sequence starting at in[pos] into cp. Returns its length in bytes (1 to 4),
// or 0 when the bytes there are not well-formed UTF-8 (truncated, overlong, surrogate, or above
// U+10FFFF) or pos is past the end.
std::size_t decodeUtf8(std::string_view in, std::size_t pos, char32_t& cp);

// Appends the UTF-8 form of cp (which must be a scalar value: not a surrogate, <= U+10FFFF).
void appendUtf8(std::string& out, char32_t cp);

// Both conversions overwrite out. On malformed input (bad UTF-8, or an unpaired surrogate in
// UTF-16) they return false, out holds the conversion of everything before the bad character,
// and *firstBad (when given) its index in code units of the input (bytes for UTF-8).
bool utf8ToUtf16(std::string_view in, std::u16string& out, std::size_t* firstBad = nullptr);
bool utf16ToUtf8(std::u16string_view in, std::string& out, std::size_t* firstBad = nullptr);

// The length of the longest prefix of text of at most limit code units that does not end in the
// first half of a surrogate pair.
std::size_t utf16CutLength(std::u16string_view text, std::size_t limit);

}  // namespace kestrel::platform
