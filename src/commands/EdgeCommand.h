// The steps TRIM and EXTEND share: an edge picked on its own, then the objects to change, then
// the change of every selected polyline against the edge, as one undo step.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "commands/TrimExtend.h"

class mmSession;

// How a command changes one polyline against the edge; nothing when it would not change.
using mmEdgeCut = std::optional<mmPolylineEnds> (*)(const mmPolyline& target,
                                                    const mmPolyline& edge);

// Object selection with single picks, grips off.
void StartEdgeCommand(mmSession& session);
void EdgeCommandInput(mmSession& session, std::u16string& text, bool picked,
                      std::u16string_view objectsPrompt, mmEdgeCut cut);
