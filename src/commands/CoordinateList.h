// The lines of a coordinate list file: a name, x and y separated by ";" or a tab.
#pragma once

#include <optional>
#include <string_view>

struct mmCoordinateRecord {
    std::string_view name;  // the bytes before the first separator, as in the file
    double x = 0.0;
    double y = 0.0;
};

// The first separator is the first ";" or, when there is none, the first tab; the second is the
// next ";" after it, or else the next tab. x is the field between them and y the number after
// the second, which may be followed by further fields. Nothing when the line lacks a separator,
// or x or y is not a finite number (headers, blank lines, decimal commas).
std::optional<mmCoordinateRecord> ParseCoordinateLine(std::string_view line);
