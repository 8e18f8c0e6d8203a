// Script lines that stand for the mouse and the keys of the drawing view, so that scripts reach
// snapping, selection and grip editing as a user does. Coordinates are drawing units.
//   !move X,Y       the mouse moves onto the point (the snap search runs)
//   !pick X,Y       moves there and clicks the left button
//   !shiftpick X,Y  the same with Shift held
//   !dblclick X,Y   moves there and double-clicks (a layout's viewport is entered or left)
//   !key NAME       a key pressed in the view: Delete, Escape, F3, Return, Space, Backspace
#pragma once

#include <optional>
#include <string>
#include <string_view>

class mmSession;

// Runs the line when it is one of these: nothing when it is not, otherwise what was wrong with it
// (empty when nothing was).
std::optional<std::string> RunPointerScriptLine(mmSession& session, std::string_view line);
