// What the drawing view does with keys and with the right button: the routing to the command
// line, and the context menu with the submissions its items make.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "commands/CommandLine.h"

class mmSession;

// What the view itself still has to do after a key or a menu choice.
enum class mmViewAction {
    None,
    FocusInputLine,  // the key went on to the input line, and the focus follows it
};

// A key pressed in the drawing view, with the text it types (empty for none).
mmViewAction ViewKey(mmSession& session, mmKey key, std::u16string_view text = {});
// Any key released in the view.
void ViewKeyUp(mmSession& session);

enum class mmMenuAction {
    Separator,
    LastCommand,
    Pan,
    Zoom,
    ZoomExtent,
    DeselectAll,
    Delete,
    Cut,
    Copy,
    Paste,
    Move,
    Rotate,
    Scale,
    Enter,
    Cancel,
    Exit,
};

struct mmContextMenuItem {
    mmMenuAction action;
    std::u16string label;  // empty for a separator
};

// The right button released over the view: the menu to show, or none (a running command
// without a menu has then been sent an empty line).
std::vector<mmContextMenuItem> ViewRightButtonUp(mmSession& session);
// The item chosen from that menu.
mmViewAction ChooseContextMenuItem(mmSession& session, mmMenuAction action);
