// What the drawing view does with the mouse: the cursor and its readout, panning with the middle
// button (and the left one during PAN), real-time zoom during ZOOM, wheel zoom, and left clicks
// that give the running command its picks. Positions are window pixels, y down.
#pragma once

#include "entities/Vertex.h"

class mmSession;

// The mouse moved to window pixel (x, y): the cursor follows it and the object snap search runs.
void ViewMouseMove(mmSession& session, int x, int y);
// The mouse moved onto the drawing point (x, y) (scripts): a move to its pixel, after which the
// cursor stays on the point itself unless a snap pulled it.
void ViewMouseMoveTo(mmSession& session, double x, double y);
// The mouse left the view: no cursor is drawn.
void ViewMouseLeave(mmSession& session);
// A left click: a pan or real-time zoom, a pick for the running command, the start of grip
// editing on a hovered grip, or a selection click. Returns true when the click was used.
bool ViewLeftButtonDown(mmSession& session, int x, int y);
void ViewLeftButtonUp(mmSession& session, int x, int y);
// The middle button pans while held, in any cursor mode, which comes back on release.
void ViewMiddleButtonDown(mmSession& session, int x, int y);
void ViewMiddleButtonUp(mmSession& session, int x, int y);
// A wheel delta: 120 for one notch away from the user.
void ViewWheel(mmSession& session, int delta);

// The point a left click gives the running command, in drawing coordinates: the cursor (which a
// snap may have moved), or the nearest point of a nearest snap.
mmVertex ViewPickPoint(const mmSession& session);
