// The built-in toolbars.
#include "shell/FrameCommands.h"

#include <array>

namespace {

constexpr mmToolButton kSeparator{0, {}, {}};

constexpr std::array kMain{
    mmToolButton{frame::kFileNew, "new", "New drawing"},
    mmToolButton{frame::kFileOpen, "open", "Open a drawing"},
    mmToolButton{frame::kFileSave, "save", "Save the drawing"},
    kSeparator,
    mmToolButton{frame::kEditCut, "cut", "Cut"},
    mmToolButton{frame::kEditCopy, "copy", "Copy"},
    mmToolButton{frame::kEditPaste, "paste", "Paste"},
    kSeparator,
    mmToolButton{frame::kFilePrint, "print", "Print"},
    mmToolButton{frame::kAppAbout, "about", "About Kestrel"},
    kSeparator,
    mmToolButton{57643, "undo", "Undo"},
    mmToolButton{57644, "redo", "Redo"},
};

constexpr std::array kLayers{
    mmToolButton{frame::kLayersDialog, "layers", "Layers..."},
};

// The construction-line and ellipse buttons join when those entities exist.
constexpr std::array kDraw{
    mmToolButton{32812, "point", "Point"},
    mmToolButton{32813, "line", "Line"},
    mmToolButton{32815, "pline", "Polyline"},
    mmToolButton{32824, "rectangle", "Rectangle"},
    mmToolButton{32817, "circle", "Circle"},
    mmToolButton{32819, "arc", "Arc"},
    mmToolButton{32822, "hatch", "Hatch"},
    mmToolButton{32825, "block", "Make block"},
    mmToolButton{32826, "insert", "Insert block"},
    mmToolButton{32823, "raster", "Raster image"},
    mmToolButton{32827, "text", "Text"},
};

constexpr std::array kPanZoom{
    mmToolButton{32828, "pan", "Pan"},
    mmToolButton{32829, "zoom-realtime", "Zoom real time"},
    mmToolButton{32855, "zoom-window", "Zoom window"},
    mmToolButton{32830, "zoom-extents", "Zoom extents"},
};

constexpr std::array kTransform{
    mmToolButton{32831, "move", "Move"},
    mmToolButton{32832, "rotate", "Rotate"},
    mmToolButton{32833, "scale", "Scale"},
};

constexpr std::array kPolylineEdit{
    mmToolButton{32834, "pedit-insert", "Insert polyline vertex"},
    mmToolButton{32835, "pedit-delete", "Delete polyline vertex"},
    mmToolButton{32836, "pedit-bulge", "Polyline segment bulge"},
};

constexpr std::array kTools{
    mmToolButton{32838, "bringfront", "Bring to front"},
    mmToolButton{32837, "sendback", "Send to back"},
};

constexpr std::array kDimensions{
    mmToolButton{32839, "dim-aligned", "Aligned dimension"},
    mmToolButton{32841, "dim-radius", "Radius dimension"},
    mmToolButton{32840, "dim-linear", "Linear dimension"},
};

constexpr std::array kToolbars{
    mmToolbarInfo{"Main", "mainToolbar", mmDockSide::Top, kMain},
    mmToolbarInfo{"Draw", "drawToolbar", mmDockSide::Left, kDraw},
    mmToolbarInfo{"Pan/Zoom", "panZoomToolbar", mmDockSide::Top, kPanZoom},
    mmToolbarInfo{"Transform", "transformToolbar", mmDockSide::Top, kTransform},
    mmToolbarInfo{"Polyline Edit", "polylineEditToolbar", mmDockSide::Top, kPolylineEdit},
    mmToolbarInfo{"Tools", "toolsToolbar", mmDockSide::Top, kTools},
    mmToolbarInfo{"Dimensions", "dimensionsToolbar", mmDockSide::Top, kDimensions},
};

constexpr mmToolbarInfo kLayersToolbar{"Layers", "layersToolbar", mmDockSide::Top, kLayers};

}  // namespace

std::span<const mmToolbarInfo> BuiltinToolbars() {
    return kToolbars;
}

const mmToolbarInfo& LayersToolbar() {
    return kLayersToolbar;
}
