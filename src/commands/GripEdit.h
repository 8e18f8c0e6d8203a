// Grip editing (command 6121): a click on the hovered grip of a selected entity starts dragging
// it; the next click (or a typed point) moves it there by the grip rules of the entity's class, as
// one undo step. An empty line leaves the entity as it was.
#pragma once

class mmSession;

// Starts dragging the hovered grip (the view's hotGripIndex of the pending entity). False when no
// grip is hovered.
bool StartGripEdit(mmSession& session);
