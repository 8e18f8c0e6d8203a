// mmShellEvents: what the command layer tells the window around it beyond the Host requests.
#pragma once

class mmShellEvents {
public:
    virtual ~mmShellEvents() = default;

    // Object snap was switched on or off: the status-bar toggle follows, and the snap search runs
    // again at the last mouse position so the markers update at once.
    virtual void SnapToggled(bool /*on*/) {}

    // The tabs, the active tab or the paper or model mode of a layout changed: the tab strip and
    // the MODEL/PAPER pane follow.
    virtual void LayoutsChanged() {}
};
