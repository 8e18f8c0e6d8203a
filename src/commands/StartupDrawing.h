// The drawing shown at start-up, by the editor and the headless mode alike: the model view's
// start-up zoom and pan with the glyph table its texts need, then either the drawing named on
// the command line or the three welcome texts typed through the command interpreter.
#pragma once

class mmSession;

// The model view of a client area of width x height at the start-up zoom and pan, with the
// session's glyph table.
void PrepareStartupView(mmSession& session, int width, int height);

// The welcome texts: three TEXT commands, each submitted as the command, the text, the insertion
// point, the height and the rotation. The document is not marked modified by them.
void TypeWelcomeTexts(mmSession& session);
