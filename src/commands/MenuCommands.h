// The menu and toolbar commands: the names they submit, and whether they are available.
#pragma once

#include <cstdint>

class mmSession;

namespace menu {
inline constexpr int32_t kUndo = 57643;
inline constexpr int32_t kRedo = 57644;
// The object-snap menu: one mode bit each.
inline constexpr int32_t kSnapEndpoint = 32787;
inline constexpr int32_t kSnapPerpendicular = 32870;
inline constexpr int32_t kSnapIntersection = 32869;
inline constexpr int32_t kSnapNearest = 32790;
}  // namespace menu

// Submits the command of a menu id: the upper-cased name of the extension command registered
// with that id first, else a name and for some items an option as a second line; XREF (32867)
// runs its file dialog and import. False for an id that is not a command menu item.
bool SubmitMenuCommandId(mmSession& session, int32_t menuId);
// UNDO and REDO are available only when there is something to undo or redo; extension commands
// always are.
bool MenuCommandEnabled(const mmSession& session, int32_t menuId);
