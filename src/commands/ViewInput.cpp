// Key routing of the drawing view and its context menu.
#include "commands/ViewInput.h"

#include "commands/CommandTable.h"
#include "commands/Selection.h"
#include "commands/Session.h"

namespace {

bool commandTakesKeys(const mmView& view) {
    return view.commandId != 0 && view.cursorMode != kCursorSelect;
}

bool zoomOrPan(const mmView& view) {
    return view.commandId == cmd::kZoom || view.commandId == cmd::kPan;
}

mmViewAction forward(mmSession& s, mmKey key, std::u16string_view text) {
    s.commandLine.InputKey(key, text);
    return mmViewAction::FocusInputLine;
}

void submit(mmSession& s, std::u16string_view text) {
    s.commandLine.SubmitInput(text, false);
}

}  // namespace

mmViewAction ViewKey(mmSession& s, mmKey key, std::u16string_view text) {
    mmView& view = s.ActiveView();
    if (commandTakesKeys(view)) {
        // Esc (and, during ZOOM and PAN, Return) give the command an empty line.
        if (key == mmKey::Escape || (zoomOrPan(view) && key == mmKey::Return)) {
            submit(s, u"");
            return mmViewAction::None;
        }
        if (zoomOrPan(view)) return mmViewAction::None;
        return forward(s, key, text);
    }
    switch (key) {
        case mmKey::Shift:
            view.shiftHeld = true;
            return mmViewAction::None;
        case mmKey::Delete:
            EraseSelection(s);
            return mmViewAction::None;
        case mmKey::Space:
            submit(s, s.lastCommand);
            return mmViewAction::None;
        default:
            return forward(s, key, text);
    }
}

void ViewKeyUp(mmSession& s) {
    s.ActiveView().shiftHeld = false;
}

std::vector<mmContextMenuItem> ViewRightButtonUp(mmSession& s) {
    const mmView& view = s.ActiveView();
    const mmMenuAction sep = mmMenuAction::Separator;
    if (view.commandId == cmd::kPline)
        return {{mmMenuAction::Enter, u"Enter"}, {mmMenuAction::Cancel, u"Cancel"}};
    if (zoomOrPan(view)) return {{mmMenuAction::Exit, u"Exit"}, {sep, u""}};
    if (view.commandId != 0) {
        submit(s, u"");
        return {};
    }
    std::vector<mmContextMenuItem> items{
        {mmMenuAction::LastCommand, s.lastCommand.empty() ? u"Last command" : s.lastCommand},
        {sep, u""},
        {mmMenuAction::Pan, u"Pan"},
        {mmMenuAction::Zoom, u"Zoom"},
        {mmMenuAction::ZoomExtent, u"Zoom Extent"},
    };
    if (!s.CurrentSpace().selection.ids.empty()) {
        items.insert(items.end(), {{sep, u""},
                                   {mmMenuAction::DeselectAll, u"Deselect All"},
                                   {sep, u""},
                                   {mmMenuAction::Delete, u"Delete"},
                                   {mmMenuAction::Cut, u"Cut"},
                                   {mmMenuAction::Copy, u"Copy"},
                                   {mmMenuAction::Paste, u"Paste"},
                                   {sep, u""},
                                   {mmMenuAction::Move, u"Move"},
                                   {mmMenuAction::Rotate, u"Rotate"},
                                   {mmMenuAction::Scale, u"Scale"}});
    }
    return items;
}

mmViewAction ChooseContextMenuItem(mmSession& s, mmMenuAction action) {
    switch (action) {
        case mmMenuAction::LastCommand:
            submit(s, s.lastCommand);
            break;
        case mmMenuAction::Pan:
            submit(s, u"PAN");
            break;
        case mmMenuAction::Zoom:
            submit(s, u"ZOOM");
            submit(s, u"R");
            break;
        case mmMenuAction::ZoomExtent:
            submit(s, u"ZOOM");
            submit(s, u"E");
            break;
        case mmMenuAction::DeselectAll:
            return forward(s, mmKey::Escape, {});
        case mmMenuAction::Delete:
            EraseSelection(s);
            break;
        case mmMenuAction::Enter:
        case mmMenuAction::Exit:
            submit(s, u"");
            break;
        default:  // items without an action
            break;
    }
    return mmViewAction::None;
}
