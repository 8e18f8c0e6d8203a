// mmShellEvents: what the command layer tells the window around it beyond the Host requests.
#pragma once

#include <optional>

#include "commands/InsertBlockDialog.h"

class mmShellEvents {
public:
    virtual ~mmShellEvents() = default;

    // Object snap was switched on or off: the status-bar toggle follows, and the snap search runs
    // again at the last mouse position so the markers update at once.
    virtual void SnapToggled(bool /*on*/) {}

    // The tabs, the active tab or the paper or model mode of a layout changed: the tab strip and
    // the MODEL/PAPER pane follow.
    virtual void LayoutsChanged() {}

    // A window that shows dialogs is around the command layer (not so in the headless mode).
    virtual bool ShowsDialogs() const { return false; }

    // Shows the block insert dialog over the list (its browse button adds to it); the choice on
    // OK, nothing on Cancel. Without a window there is no dialog: nothing.
    virtual std::optional<mmInsertBlockChoice> InsertBlockDialog(mmInsertBlockList& /*list*/) {
        return std::nullopt;
    }
};
