// mmSession: the application-level state the command layer works on: the drawing, the views and
// which one is active, the Host, the command line, the entity being built, the extension command
// table, the last command and the modified flag. The Qt shell and the headless mode each own one.
#pragma once

#include <string>

#include "commands/BuiltinPreview.h"
#include "commands/CommandLine.h"
#include "commands/ExtensionCommands.h"
#include "commands/ShellEvents.h"
#include "display/Layout.h"
#include "display/Renderer.h"
#include "display/View.h"
#include "drawing/Drawing.h"
#include "entities/GlyphTable.h"
#include "platform/Host.h"

// (commandId, step) kept by SaveCurrentCommand.
struct mmSavedCommand {
    int commandId = 0;
    int step = 0;
};

// What a running command keeps between its steps besides the pending entity.
struct mmCommandScratch {
    // Direction of the last segment added to a polyline (PLINE's tangent arcs).
    mmVertex tangentDirection{1.0, 0.0};
    // A point given ahead of the entity it shapes: PLINE's second arc point, RECTANGLE's first
    // corner.
    mmVertex heldPoint;
    // Grip editing: the copy of the entity that shows it with the dragged grip at the cursor.
    mmObjectPtr editedCopy;
    // TEXT's string, given to the text with its position so it never shows anywhere else.
    std::string heldText;
    // OFFSET's distance.
    double offsetDistance = 0.0;
    // The block BLOCK is filling.
    mmBlockPtr heldBlock;
};

// Object snap settings of the application: the master switch and the mode bits.
struct mmSnapSettings {
    bool on = true;
    int modes = 0x2E;  // nearest, endpoint, intersection, perpendicular
};

class mmSession {
public:
    // Starts with a new drawing (layer "0", style "Standard") and the model view active. A
    // missing system font is reported in a message box.
    explicit mmSession(kestrel::platform::Host& host);
    mmSession(const mmSession&) = delete;
    mmSession& operator=(const mmSession&) = delete;

    kestrel::platform::Host& host;
    mmDrawing drawing;
    mmOriginOffset originOffset;
    mmView modelView;
    mmView* activeView;
    // The layouts in tab order (tab 0 is the model tab, tab i the layout i - 1) and the active
    // tab.
    std::vector<mmLayoutPtr> layouts;
    int activeTab = 0;
    // The application's current printer; empty until first asked for.
    std::optional<kestrel::platform::PrinterSetup> printer;

    mmCommandLine commandLine;
    // The entity the running command builds or edits; null when no command runs.
    mmObjectPtr pendingEntity;
    mmCommandScratch scratch;
    mmSavedCommand savedCommand;
    mmExtensionCommands extensionCommands;
    std::u16string lastCommand;  // upper-case
    bool modified = false;
    mmSnapSettings snap;
    // The folder of the drawing's file (empty until it is opened or saved): relative image paths
    // are taken from it.
    std::string documentFolder;
    // Snapping, picking and window selection visit every entity of the space in turn instead of
    // asking the spatial index: the reference the index is checked against (tests, benchmarks).
    bool linearSearch = false;
    // The glyph table of the texts commands create; null or unusable when no font could be
    // loaded (such texts have no outlines).
    mmGlyphTablePtr glyphTable;

    mmView& ActiveView() { return *activeView; }
    const mmView& ActiveView() const { return *activeView; }
    // The layout of the active tab; null on the model tab.
    mmLayout* ActiveLayout() const;
    // The space with this serial: model space or a layout's paper space; null when none is.
    mmSpace* FindSpace(uint64_t serial);
    mmLayout* LayoutOfSpace(const mmSpace* space) const;
    // The space new entities go to and undo works on: the active layout's paper space when paper
    // space is edited, model space otherwise.
    mmSpace& CurrentSpace() { return drawing.TargetSpace(); }

    // Asks for the active view to be drawn again.
    void RequestRedraw();
    // What a paint of a view draws besides the view's own state (a layout's paper space is the
    // view's).
    mmSceneSource ModelScene() const;
    // The preview every view of the session draws for the running command.
    const mmCommandPreview* Preview() const { return &preview_; }

    mmShellEvents& events() { return *events_; }
    // Null restores the default, which ignores everything.
    void SetShellEvents(mmShellEvents* events) { events_ = events ? events : &noEvents_; }

private:
    mmBuiltinCommandPreview preview_;
    mmShellEvents noEvents_;
    mmShellEvents* events_ = &noEvents_;
};
