// The selection operations commands need.
#pragma once

class mmSession;

// Every selected entity of the current space is deselected and the set emptied; the view is
// redrawn when something was selected.
void ClearSelection(mmSession& session);
