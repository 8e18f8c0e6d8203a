// The input a command function of the module receives, read through the program's exported
// functions, and the replies that keep a command running or end it.
#pragma once

#include <optional>
#include <string>

struct Point {
    double x = 0.0;
    double y = 0.0;
};

struct Input {
    enum Kind { Pick, Marker, Text };
    Kind kind = Text;
    std::u16string text;  // what was typed (Text)
    Point point;          // where the pick was (Pick)
};

// The input of this call: a pick, the marker that follows each pick, or typed text.
Input ReadInput();
// A picked point, or typed coordinates (which become the base of relative input).
std::optional<Point> PointOf(const Input& input);
// Typed text read as a number.
std::optional<double> NumberOf(const Input& input);
// The upper-cased first letter of typed text; 0 for none.
char16_t OptionOf(const Input& input);
bool IsEmptyLine(const Input& input);

// The command goes on: the step changes, so the program calls again with the next input.
int Continue(int* step);
// The command has finished: the step is left as it was.
int Finish();
