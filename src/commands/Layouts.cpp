// The tabs of the drawing, paper and model editing, and the layout tab menu.
#include "commands/Layouts.h"

#include <algorithm>

#include "commands/Interpreter.h"
#include "commands/Selection.h"
#include "commands/Session.h"
#include "display/Viewports.h"
#include "drawing/Names.h"
#include "platform/Unicode.h"

namespace {

mmLayout* layoutOfTab(const mmSession& s, int tab) {
    if (tab < 1 || static_cast<std::size_t>(tab) > s.layouts.size()) return nullptr;
    return s.layouts[static_cast<std::size_t>(tab - 1)].get();
}

// A running command is left as Esc leaves it.
void endRunningCommand(mmSession& s) {
    if (s.ActiveView().commandId == 0 && !s.pendingEntity) return;
    EndCommand(s);
    s.commandLine.SetPrompt(kIdlePrompt);
}

// New entities, picks and undo go to the paper space of a layout in paper mode, else to the model.
void followActiveSpace(mmSession& s) {
    mmLayout* layout = s.ActiveLayout();
    s.drawing.activePaperSpace =
        layout && layout->view.InPaperMode() ? &layout->paper : nullptr;
}

// The snap marker, the hovered grip and a started selection window belong to the mode left.
void clearPointerState(mmView& view) {
    view.snapInfo = mmSnapInfo();
    view.snapMarkerShown = false;
    view.snapFound = false;
    view.hotGripIndex = -1;
    view.hoveredEntity.reset();
    view.hoveredGrip = -1;
    view.selectionWindowStarted = false;
}

void redrawAll(mmSession& s) {
    mmView& view = s.ActiveView();
    view.regenPending = true;
    view.requestRedraw();
    s.RequestRedraw();
    s.events().LayoutsChanged();
}

bool nameTaken(const mmSession& s, std::u16string_view name, const mmLayout* except) {
    if (NamesEqualIgnoringCase(name, kModelTabLabel)) return true;
    return std::any_of(s.layouts.begin(), s.layouts.end(), [&](const mmLayoutPtr& l) {
        return l.get() != except && NamesEqualIgnoringCase(l->name, name);
    });
}

// The window shows one view at a time: the view made active takes its size and its window.
void takeWindow(mmView& view, mmView& from) {
    if (&view == &from) return;
    view.window = from.window;
    view.mouseInside = false;
    if (view.Width() != from.Width() || view.Height() != from.Height())
        view.Resize(from.Width(), from.Height());
}

// "Layout" and the smallest number from the tab count on that no tab has.
std::u16string freeLayoutName(const mmSession& s) {
    std::u16string name;
    int number = TabCount(s);
    do {
        const std::string digits = std::to_string(number++);
        name = u"Layout" + std::u16string(digits.begin(), digits.end());
    } while (nameTaken(s, name, nullptr));
    return name;
}

// A layout without paper-space entities shows the whole model through the default viewport.
void giveDefaultViewport(mmSession& s, mmLayout& layout) {
    CreateDefaultViewport(layout.view, layout.paper);
    layout.view.SetPaperMode(false);
    layout.view.zoomExtents(s.drawing.ModelSpace().entities);
    layout.view.SetPaperMode(true);
    UpdateViewportWidths(layout.view);
}

}  // namespace

int TabCount(const mmSession& s) {
    return 1 + static_cast<int>(s.layouts.size());
}

std::u16string TabLabel(const mmSession& s, int tab) {
    if (const mmLayout* layout = layoutOfTab(s, tab)) return layout->name;
    return kModelTabLabel;
}

std::u16string_view TabTooltip(int tab) {
    return tab == 0 ? kModelTabTooltip : kLayoutTabTooltip;
}

std::optional<kestrel::platform::PrinterSetup> CurrentPrinter(mmSession& s) {
    if (!s.printer) s.printer = s.host.defaultPrinter();
    return s.printer;
}

bool ActivateTab(mmSession& s, int tab) {
    if (tab < 0 || tab >= TabCount(s)) return false;
    mmView& old = s.ActiveView();
    endRunningCommand(s);
    clearPointerState(old);
    mmLayout* layout = layoutOfTab(s, tab);
    mmView& view = layout ? layout->view : s.modelView;
    takeWindow(view, old);
    if (layout && layout->printer)
        s.printer = layout->printer;
    else if (layout)
        layout->printer = CurrentPrinter(s);
    if (const auto printer = CurrentPrinter(s); printer && layout) view.SetupPage(printer->metrics);
    s.activeTab = tab;
    s.activeView = &view;
    followActiveSpace(s);
    redrawAll(s);
    return true;
}

bool SetPaperMode(mmSession& s, bool paper) {
    if (paper && !s.ActiveLayout()) {
        if (s.layouts.empty()) return false;
        ActivateTab(s, 1);
    }
    mmLayout* layout = s.ActiveLayout();
    if (!layout) return !paper;
    mmView& view = layout->view;
    if (view.paperMode == paper) return true;
    if (!paper && !view.HasActiveSlot()) return false;
    endRunningCommand(s);
    clearPointerState(view);
    ClearSelection(s);
    view.SetPaperMode(paper);
    UpdateViewportWidths(view);
    followActiveSpace(s);
    view.SetMousePosition(view.lastMouseX, view.lastMouseY);
    redrawAll(s);
    return true;
}

void EnterPaperForCommand(mmSession& s) {
    mmLayout* layout = s.ActiveLayout();
    if (!layout || layout->view.InPaperMode()) return;
    mmView& view = layout->view;
    clearPointerState(view);
    ClearSelection(s);
    view.SetPaperMode(true);
    UpdateViewportWidths(view);
    followActiveSpace(s);
    redrawAll(s);
}

void TogglePaperMode(mmSession& s) {
    SetPaperMode(s, !s.ActiveView().InPaperMode());
}

std::u16string_view PaperModeLabel(const mmSession& s) {
    return s.ActiveView().InPaperMode() ? u"PAPER" : u"MODEL";
}

bool LayoutDoubleClick(mmSession& s, int x, int y) {
    mmLayout* layout = s.ActiveLayout();
    if (!layout || s.ActiveView().commandId != 0) return false;
    mmView& view = layout->view;
    const mmVertex p = view.screenToWorld(x, y, true);
    if (view.InPaperMode()) {
        ClearSelection(s);
        if (!ActivateViewportAt(view, p.x, p.y)) return false;
        view.SetPaperMode(false);
    } else {
        const mmViewport* current = view.CurrentViewport();
        if (current) {
            const mmRect& r = current->extents;
            if (p.x >= r.minX && p.x <= r.maxX && p.y >= r.minY && p.y <= r.maxY) return false;
        }
        ClearSelection(s);
        view.SetPaperMode(true);
    }
    clearPointerState(view);
    UpdateViewportWidths(view);
    followActiveSpace(s);
    view.SetMousePosition(x, y);
    redrawAll(s);
    return true;
}

mmLayout& AppendLayout(mmSession& s, std::u16string name) {
    auto layout = std::make_unique<mmLayout>(s.originOffset, std::move(name));
    mmView& view = layout->view;
    view.commandPreview = s.Preview();
    view.glyphs = s.glyphTable;
    view.window = s.modelView.window;
    if (const auto printer = CurrentPrinter(s)) view.printerMetrics = printer->metrics;
    view.Resize(s.modelView.Width(), s.modelView.Height());
    view.SetupPage(view.printerMetrics);
    s.layouts.push_back(std::move(layout));
    return *s.layouts.back();
}

void ResetLayouts(mmSession& s, bool withViewport) {
    if (s.activeTab != 0) ActivateTab(s, 0);
    s.drawing.activePaperSpace = nullptr;
    s.layouts.clear();
    mmLayout& layout = AppendLayout(s, u"Layout1");
    if (withViewport) CreateDefaultViewport(layout.view, layout.paper);
    s.events().LayoutsChanged();
}

void ReceiveLayouts(mmSession& s, DxfLayoutList& read) {
    if (s.activeTab != 0) ActivateTab(s, 0);
    s.drawing.activePaperSpace = nullptr;
    s.layouts.clear();
    const std::vector<DxfLayoutEntry> entries = read.Layouts();
    for (std::size_t i = 0; i < std::max<std::size_t>(entries.size(), 1); ++i) {
        std::u16string name = i < entries.size() ? entries[i].name : u"";
        if (name.empty() || nameTaken(s, name, nullptr)) name = freeLayoutName(s);
        mmLayout& layout = AppendLayout(s, std::move(name));
        if (i < entries.size()) TakeSpaceContents(layout.paper, read.SpaceOf(i));
        SyncViewportSlots(layout.view);
        if (layout.paper.entities.empty()) giveDefaultViewport(s, layout);
    }
    s.events().LayoutsChanged();
}

mmLayout* LayoutToSave(mmSession& s) {
    mmLayout* layout = s.ActiveLayout();
    if (!layout && !s.layouts.empty()) layout = s.layouts.front().get();
    return layout;
}

DxfLayoutList LayoutsToSave(mmSession& s) {
    std::vector<DxfLayoutEntry> entries;
    for (const mmLayoutPtr& layout : s.layouts) {
        UpdateModelWindows(layout->view);
        entries.push_back({layout->name, &layout->paper});
    }
    mmLayout* active = LayoutToSave(s);
    if (!active) return DxfLayoutList();
    return DxfLayoutList(std::move(entries), active->paper);
}

std::string LayoutsLeftOutMessage(const mmSession& s, const mmLayout& saved) {
    std::string others;
    int count = 0;
    for (const mmLayoutPtr& layout : s.layouts) {
        if (layout.get() == &saved) continue;
        std::string name;
        kestrel::platform::utf16ToUtf8(layout->name, name);
        others += (count++ == 0 ? "\"" : ", \"") + name + "\"";
    }
    if (count == 0) return {};
    std::string name;
    kestrel::platform::utf16ToUtf8(saved.name, name);
    return "Only the layout \"" + name + "\" was saved: an R12 file keeps one paper space, so " +
           others + (count == 1 ? " is" : " are") + " not in it.";
}

mmTabMenuState TabMenuState(const mmSession& s, int tab) {
    mmTabMenuState state;
    const bool layout = layoutOfTab(s, tab) != nullptr;
    state.renameEnabled = layout;
    state.deleteEnabled = layout && TabCount(s) >= 3;
    return state;
}

int NewLayout(mmSession& s) {
    std::u16string name = freeLayoutName(s);
    // What the model tab's window shows now.
    const mmView& model = s.modelView;
    const mmRect shown = model.VisibleWindow();
    mmLayout& layout = AppendLayout(s, std::move(name));
    const int tab = TabCount(s) - 1;
    ActivateTab(s, tab);
    PageSetup(s);
    CreateDefaultViewport(layout.view, layout.paper);
    layout.view.zoomSlotToWindow(static_cast<std::size_t>(layout.view.activeView), shown, 0);
    SetPaperMode(s, true);
    s.modified = true;
    redrawAll(s);
    return tab;
}

bool DeleteLayout(mmSession& s, int tab) {
    if (!layoutOfTab(s, tab) || TabCount(s) <= 2) return false;
    const int next = tab + 1 < TabCount(s) ? tab + 1 : tab - 1;
    if (s.activeTab == tab) ActivateTab(s, next);
    const int active = s.activeTab;
    s.layouts.erase(s.layouts.begin() + (tab - 1));
    s.activeTab = active > tab ? active - 1 : active;
    s.modified = true;
    redrawAll(s);
    return true;
}

std::optional<std::string> RenameLayout(mmSession& s, int tab, std::u16string_view label) {
    mmLayout* layout = layoutOfTab(s, tab);
    if (!layout) return std::string(kRenameLayoutFailed);
    if (label.empty() || nameTaken(s, label, layout)) return std::string(kInvalidLabelName);
    layout->name = std::u16string(label);
    s.modified = true;
    s.events().LayoutsChanged();
    return std::nullopt;
}

void PageSetup(mmSession& s) {
    const auto current = CurrentPrinter(s);
    const auto chosen =
        s.host.pageSetupDialog(current ? *current : kestrel::platform::PdfPrinterA4());
    if (!chosen) return;
    s.printer = chosen;
    if (mmLayout* layout = s.ActiveLayout()) {
        layout->printer = chosen;
        layout->view.SetupPage(chosen->metrics);
    }
    s.RequestRedraw();
}
