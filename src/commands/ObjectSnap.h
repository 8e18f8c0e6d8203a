// Object snap: the master switch and mode bits with their toggles, and the search that runs on
// every mouse move over the view: it finds the grip, endpoint, intersection, perpendicular foot
// or nearest point under the cursor, hovers the grips of selected entities and pulls the cursor
// onto close results.
#pragma once

#include <cstdint>

class mmSession;
class mmView;

// Screen distances of the search, in pixels: a result closer than this pulls the cursor onto it,
// and a grip of a selected entity closer than this is hovered.
inline constexpr double kSnapPullPixels = 5.0;

// Whether a mouse move runs the search: not while the left button is held, while panning or
// zooming in real time, or while the running command selects objects.
bool SnapSearchRuns(const mmView& view);
// The search at the active view's mouse position. Fills the view's snap record, snapFound,
// snapMarkerShown and hotGripIndex (and, for a hovered grip while no grip is dragged, the pending
// entity), and moves the cursor onto a grip, intersection or perpendicular result closer than
// kSnapPullPixels.
void SnapSearch(mmSession& session);

// F3 and the status-bar toggle. The toggle follows, and the markers at once.
void SetSnapOn(mmSession& session, bool on);
void ToggleSnap(mmSession& session);
// The items of the object-snap menu flip one mode bit each; false for any other id.
bool ToggleSnapMode(mmSession& session, int32_t menuId);
// An item's check mark: its bit is set.
bool SnapModeChecked(const mmSession& session, int32_t menuId);
