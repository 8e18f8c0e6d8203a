// The viewports of a layout view: creating them with their view slots, the slot removal and
// renumbering when one is erased, the slots following the viewports after an undo, activation by
// a point of the paper, the model window each one shows, and the frame width of the current one.
#pragma once

#include <cstdint>

#include "entities/Viewport.h"

class mmView;
struct mmSpace;

// A viewport with corners (x1, y1) and (x2, y2) in paper millimetres, the given id and the
// new-viewport properties, added to the paper space with a new view slot (shifts and pans 0,
// zoom 1, plot scale 1); it becomes the current viewport and the active slot.
mmViewportPtr CreateViewport(mmView& view, mmSpace& paper, int32_t id, double x1, double y1,
                             double x2, double y2);
// The viewport over the middle eight tenths of the printable area, with the next id of the paper
// space.
mmViewportPtr CreateDefaultViewport(mmView& view, mmSpace& paper);
// A viewport already in the paper space (read from a file) gets its slot, becomes current and
// is zoomed to its model window.
void AddViewportSlot(mmView& view, mmViewport& viewport);
// The slot of the viewport with this id leaves every per-slot list; the others are renumbered in
// list order and the last one becomes current (none: no active slot, and paper mode).
void RemoveViewportSlot(mmView& view, int32_t id);
// After an undo or redo: every viewport of the paper space that is not erased has a slot (one
// that came back is zoomed to the model window it kept), no other viewport has one, and each
// viewport's slot index is its position in the slot list.
void SyncViewportSlots(mmView& view);
// Paper mode: the viewport created last whose extents strictly contain the paper point becomes
// current (frame width 3) and model mode starts; false (nothing changes) when none does.
bool ActivateViewportAt(mmView& view, double x, double y);
// Makes the viewport of slot i current and the active slot.
void MakeViewportCurrent(mmView& view, std::size_t slot);
// The current viewport is framed with width 3 in model mode, 1 otherwise; the others with 1.
void UpdateViewportWidths(mmView& view);
// The model area (drawing coordinates) slot i shows inside its viewport.
mmRect SlotModelWindow(const mmView& view, std::size_t slot);
// Every viewport's model window and plot scale (units per paper millimetre) from its slot.
void UpdateModelWindows(mmView& view);
