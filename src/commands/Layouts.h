// The tabs of the drawing (the model tab and the layouts) as the session keeps them: switching,
// paper and model editing of a layout, adding, deleting and renaming layouts with their rules,
// page setup and the application's printer. The shell's tab strip and status pane only show
// these and forward to them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "fileio/dxf/DxfLayout.h"
#include "platform/Printer.h"

class mmLayout;
class mmSession;
class mmView;
struct mmSpace;

inline constexpr char16_t kModelTabLabel[] = u"Model";
inline constexpr char16_t kModelTabTooltip[] = u"Model Space";
inline constexpr char16_t kLayoutTabTooltip[] = u"Plot layout";
inline constexpr char kRenameLayoutFailed[] = "Rename layout failed!";
inline constexpr char kInvalidLabelName[] = "Invalid label name";

int TabCount(const mmSession& session);
std::u16string TabLabel(const mmSession& session, int tab);
std::u16string_view TabTooltip(int tab);

// The application's current printer (the Host's default the first time).
std::optional<kestrel::platform::PrinterSetup> CurrentPrinter(mmSession& session);

// Makes the tab's view the active one: a running command ends, the layout's printer becomes the
// current one (a layout without one takes a copy of it), its page is laid out again for the window
// and it is drawn anew. The model view is never in paper mode. False for a tab that does not
// exist.
bool ActivateTab(mmSession& session, int tab);
// The layout view of the active tab edits paper space (on) or the model through its current
// viewport. Model mode is refused without a viewport. Switching to paper on the model tab first
// activates the first layout. Each switch ends a running command, clears the snap and grip state,
// frames the current viewport (width 3 in model mode) and redraws. Returns whether the view is
// now in the mode asked for.
bool SetPaperMode(mmSession& session, bool paper);
// A command that works on the paper (VIEWPORT) starting on a layout in model mode: paper mode
// without ending it.
void EnterPaperForCommand(mmSession& session);
// The MODEL/PAPER pane was pressed.
void TogglePaperMode(mmSession& session);
// "PAPER" or "MODEL", after the active view.
std::u16string_view PaperModeLabel(const mmSession& session);

// A double-click at window pixel (x, y) with no command running, on a layout: in paper mode the
// viewport under it (the one created last where several overlap) becomes current and model mode
// starts; in model mode a click outside the current viewport returns to paper mode. Either
// switch clears the selection. False when nothing changed.
bool LayoutDoubleClick(mmSession& session, int x, int y);

// Empties the layouts and makes "Layout1" (with its default viewport when withViewport) the only
// one, the model tab active.
void ResetLayouts(mmSession& session, bool withViewport);
// After a drawing was read: one layout per layout read, in tab order with its name (a name that
// is empty or taken gets a free "Layout%d"; no layout read gives "Layout1"), taking its paper
// space (its viewports get their slots and show the model windows they kept); a layout without
// paper-space entities gets the default viewport onto the whole model. The model tab is active.
void ReceiveLayouts(mmSession& session, DxfLayoutList& read);
// The layout whose paper space a save writes as the file's own: the active one, else the first.
mmLayout* LayoutToSave(mmSession& session);
// Every layout in tab order for a save, LayoutToSave's owning the file's paper space; the
// viewports' model windows are brought up to date.
DxfLayoutList LayoutsToSave(mmSession& session);
// The history line of a save into a file that keeps one paper space (R12): the layout saved and
// those left out; empty when there is no other layout.
std::string LayoutsLeftOutMessage(const mmSession& session, const mmLayout& saved);
// Appends a layout of this name in paper mode, its page laid out from the current printer and
// its view sized like the model view's.
mmLayout& AppendLayout(mmSession& session, std::u16string name);

// The items of the tab menu, in order, with a separator after Rename and after Plot scale.
enum class mmTabMenuItem { NewLayout, Delete, Rename, PlotScale, PageSetup, Plot };
struct mmTabMenuState {
    bool deleteEnabled = false;
    bool renameEnabled = false;
};
// Delete and Rename are greyed on the model tab; Delete also while fewer than three tabs exist
// (a drawing keeps one layout at least).
mmTabMenuState TabMenuState(const mmSession& session, int tab);

// "New layout": a layout named "Layout" and the smallest number from the tab count on that no
// layout has; the page-setup dialog for it; its default viewport shows what the model tab shows;
// paper mode; it becomes the active tab. Returns its tab.
int NewLayout(mmSession& session);
// "Delete": refused (false) unless the tab is a layout and more than two tabs exist; the tab to
// its right (else its left) becomes active.
bool DeleteLayout(mmSession& session, int tab);
// "Rename": the message for a label that cannot be a layout's name (empty, or the name of the
// model tab or of another layout, in any letter case); nothing when the layout was renamed.
std::optional<std::string> RenameLayout(mmSession& session, int tab, std::u16string_view label);
// "Page setup": the dialog for the active tab's printer and paper; on OK they become the
// layout's and the application's, and the page is laid out again.
void PageSetup(mmSession& session);
