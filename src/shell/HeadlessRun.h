// The headless mode: the editor's start-up without a window, a script of typed lines and
// directives (HeadlessScript.h), a DXF save, an image of the active tab rendered offscreen and its plot to a PDF file.
#pragma once

#include <iosfwd>
#include <string>

#include "shell/ProgramOptions.h"

class mmSession;

// Runs what the options ask for; the transcript goes to out, messages to err. Returns the exit
// status: 0, or 1 when a file could not be read, saved or written.
int RunHeadless(const mmProgramOptions& options, std::ostream& out, std::ostream& err);

// A message for the command-line history, as a line of its own.
void AppendHistoryLine(mmSession& session, const std::string& utf8);
