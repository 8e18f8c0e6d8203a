// The headless mode: the editor's start-up without a window, a script of typed lines (with the
// mouse and keys of the view written "!pick X,Y" and the like), a DXF save and an image of the
// model view rendered offscreen.
#pragma once

#include <iosfwd>
#include <string>

#include "shell/ProgramOptions.h"

class mmSession;

// Runs what the options ask for; the transcript goes to out, messages to err. Returns the exit
// status: 0, or 1 when a file could not be read, saved or written.
int RunHeadless(const mmProgramOptions& options, std::ostream& out, std::ostream& err);

// One script line: a line of the mouse or keys of the view ("!move X,Y", "!pick X,Y",
// "!shiftpick X,Y", "!key NAME"; commands/PointerScript.h), the answer to the next file dialog
// ("!file PATH"), a menu item ("!menu ID", such as 32867 for XREF), the insert-block dialog's
// browse button ("!browseblocks"), or a line typed into the command line and entered ("!!" at
// the start stands for "!"). Returns what was wrong with it, or nothing (a line that is not
// UTF-8 and a pick the running command does not take are left without effect).
std::string RunScriptLine(mmSession& session, const std::string& line);

// A message for the command-line history, as a line of its own.
void AppendHistoryLine(mmSession& session, const std::string& utf8);

// Renders the model view into an image file (PNG, or the format its extension names) of the
// view's size, without the cursor, axis icon and overlays. False with *error set on failure.
bool ExportModelView(mmSession& session, const std::string& path, std::string* error);
