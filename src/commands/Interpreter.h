// The interpreter: each submitted line either starts a command (extension commands first, then
// the built-in table) or goes to the running command's step handler. Also starting, ending and
// finishing commands, applying points and the pick path of the view.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "entities/Vertex.h"

class mmSession;
struct mmCommandRow;

// Interprets one submitted line (called through mmCommandLine's submissions).
void InterpretInput(mmSession& session, std::u16string text, bool picked);

// Puts the active view into step 1 of a built-in command with its first prompt and runs the
// command's start. text is the line that started it (the argument for commands that take one).
void StartCommand(mmSession& session, const mmCommandRow& row, std::u16string& text);
// No command, no pending entity, grips shown, selection cleared.
void EndCommand(mmSession& session);
// Moves the running command to a step and shows its prompt.
void SetCommandStep(mmSession& session, int step, std::u16string_view prompt);
// The sequence that ends a completed command: consumes text, ends the command, redraws.
void FinishCommand(mmSession& session, std::u16string& text);
// Gives a point to the running command: appended to the pending entity (a point entity's
// position) and kept as the base of relative input.
void ApplyPoint(mmSession& session, double x, double y);

// A left click at (x, y) in drawing coordinates (snapped, origin offset added) while a command
// runs and is not selecting objects: the running step takes the pick and its echo is submitted
// with the picked flag. Returns false when the click is not for a command.
bool PickPoint(mmSession& session, double x, double y);

// For step handlers: a point from the line. A pick was already applied; typed text is parsed and
// applied. False when the text is not a point.
bool TakePoint(mmSession& session, const std::u16string& text, bool picked);
// The point of a line for steps that take points their own way: the pick's point, or the typed
// point; either becomes the base of relative input. Nothing when the text is not a point.
std::optional<mmVertex> InputPoint(mmSession& session, std::u16string_view text, bool picked);
// The typed point without applying it.
std::optional<mmVertex> TypedPoint(const mmSession& session, std::u16string_view text);
// The pick of a step that takes it as a point: applied, echoed as coordinates.
std::u16string PickAppliesPoint(mmSession& session, double x, double y);

// The message for a line that neither started nor fed a command.
std::u16string WrongCommandMessage(std::u16string_view text);
