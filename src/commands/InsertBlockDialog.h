// The block insert dialog without its window: the block names it offers, what it hands back, and
// how its coordinate fields are read. The INSERT command shows it through the shell
// (mmShellEvents::InsertBlockDialog); the browse button is BrowseInsertBlocks.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "commands/XrefCommand.h"

class mmDrawing;

struct mmInsertBlockChoice {
    std::u16string chosenName;
    double insertX = 0.0;
    double insertY = 0.0;
    double insertZ = 0.0;  // read, not used
    // The insertion point is to be picked in the view rather than the typed one used.
    bool specifyOnScreen = false;
};

// The names the dialog offers: the drawing's named blocks in block id order (anonymous blocks,
// whose names start with "*", are left out).
mmInsertBlockList InsertDialogBlockList(const mmDrawing& drawing);
// A coordinate field read on OK: its first 39 characters, as the longest numeric prefix; 0.0
// when there is none.
double InsertDialogCoordinate(std::u16string_view text);
