// The grammar by which step handlers read typed input: numbers as the longest numeric prefix,
// option letters, and points (absolute, relative with "@", polar with "<"). Also the fixed
// formats picks are echoed in.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "entities/Vertex.h"

// The longest numeric prefix (leading blanks, sign, digits, decimal point, exponent) as a number;
// 0 when there is none ("abc" is 0, "2.5mm" is 2.5). Nothing when the digits are beyond the
// range of a double, so no step ever takes an infinite value.
std::optional<double> ReadNumber(std::u16string_view text);

// The upper-cased first character, 0 for an empty text.
char16_t OptionLetter(std::u16string_view text);

// The point typed text stands for, with lastPoint as the base of relative input. Nothing when the
// text is not a point (fewer than two or more than three fields, a leading separator, or a
// coordinate out of range).
std::optional<mmVertex> ParseCoordinateInput(std::u16string_view text, const mmVertex& lastPoint);

// ASCII and Latin-1 letters upper-cased.
std::u16string UpperCase(std::u16string_view text);

// "%.4f" of a finite value, independent of the process locale.
std::u16string FormatFixed4(double value);
// How a pick is echoed and submitted: "%.4f,%.4f,%.4f" of x, y and 0.
std::u16string FormatPickedPoint(double x, double y);
