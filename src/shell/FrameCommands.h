// The window command ids of the main frame's own items (the command submissions of menus and
// toolbars are in commands/MenuCommands.h), and the table of the built-in toolbars: their names,
// buttons and where they dock.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace frame {
inline constexpr int32_t kFileNew = 57600;
inline constexpr int32_t kFileOpen = 57601;
inline constexpr int32_t kFileSave = 57603;
inline constexpr int32_t kFileSaveAs = 57604;
inline constexpr int32_t kFilePrint = 57607;
inline constexpr int32_t kEditCopy = 57634;
inline constexpr int32_t kEditCut = 57635;
inline constexpr int32_t kEditPaste = 57637;
inline constexpr int32_t kAppAbout = 57664;
inline constexpr int32_t kAppExit = 57665;
inline constexpr int32_t kLayersDialog = 32793;
inline constexpr int32_t kOnlineHelp = 32854;
inline constexpr int32_t kDimStyles = 32865;
// The status bar's OSNAP toggle.
inline constexpr int32_t kOsnapPane = 103;
}  // namespace frame

enum class mmDockSide { Top, Left };

struct mmToolButton {
    int32_t id;             // 0: a separator
    std::string_view icon;  // the image under :/icons/, without ".svg"
    std::string_view tip;
};

struct mmToolbarInfo {
    std::string_view title;
    std::string_view objectName;
    mmDockSide side;
    std::span<const mmToolButton> buttons;
};

// "Main", "Draw", "Pan/Zoom", "Transform", "Polyline Edit", "Tools", "Dimensions", in the order
// they are made ("Layers", which holds the layer list, is made before them).
std::span<const mmToolbarInfo> BuiltinToolbars();
const mmToolbarInfo& LayersToolbar();
