// Numbers in DXF text: group codes, reals and integers as the C runtime reads them, and reals
// written in the shortest form that reads back to the same double. Locale-independent (the
// period is always the decimal separator).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// A code line: leading blanks skipped, decimal digits up to the first other character; an empty
// or non-numeric line gives 0. Saturates instead of overflowing.
int32_t parseDxfCode(std::string_view line);

// As strtod in the "C" locale: leading white space, an optional sign, the longest prefix that is
// a number (decimal, hexadecimal, inf or nan); 0 when there is none. A result that is not finite
// (inf, nan, or a value beyond the range of double) gives 0, so no such value reaches geometry.
double parseDxfReal(std::string_view text);

// As strtol: leading white space, an optional sign, decimal digits up to the first other
// character; 0 when there are none. Saturates at the limits of int32.
int32_t parseDxfInt(std::string_view text);

// Longest text formatDxfReal writes ("-2.2250738585072014e-308").
inline constexpr std::size_t kDxfRealMaxChars = 32;

// Writes x in the shortest form that reads back to the same double ("2.5", "0.2965325",
// "1e-07") and returns the length. Zero is written as 0 whatever its sign, and a value that is
// not finite as 0.
std::size_t formatDxfReal(double x, char* out);
// A single-precision value in the shortest form that reads back to the same float.
std::size_t formatDxfReal(float x, char* out);
