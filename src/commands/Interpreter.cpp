// The interpreter, the start and end of commands, and the pick path.
#include "commands/Interpreter.h"

#include <algorithm>

#include "commands/Command.h"
#include "commands/CommandTable.h"
#include "commands/InputGrammar.h"
#include "commands/Selection.h"
#include "commands/Session.h"
#include "entities/Point.h"

namespace {

void markStarted(mmSession& s, std::u16string lastCommand) {
    s.modified = true;
    s.lastCommand = std::move(lastCommand);
}

// Step 2 of the interpreter: the text names a command to start, or nothing.
void startNamedCommand(mmSession& s, std::u16string& text) {
    const std::u16string upper = UpperCase(text);
    if (const mmExtensionCommand* extension = s.extensionCommands.FindByName(upper)) {
        if (StartExtensionCommand(s, *extension) == mmExtensionResult::Finished)
            FinishCommand(s, text);
        markStarted(s, upper);
        return;
    }
    const mmCommandRow* row = FindBuiltinCommand(upper);
    if (!row) return;
    if (row->clearsSelection) ClearSelection(s);
    if (row->commandId == cmd::kNone)
        row->steps->start(s, text);
    else
        StartCommand(s, *row, text);
    markStarted(s, LastCommandName(upper));
}

// Step 3: the line goes to the running command.
void feedRunningCommand(mmSession& s, std::u16string& text, bool picked) {
    const int commandId = s.ActiveView().commandId;
    if (const mmExtensionCommand* extension = s.extensionCommands.FindById(commandId)) {
        if (ContinueExtensionCommand(s, *extension) == mmExtensionResult::Finished)
            FinishCommand(s, text);
        return;
    }
    if (const mmCommandSteps* steps = StepsOfCommand(commandId)) steps->input(s, text, picked);
}

// Step 4: with no command running, the idle prompt, and the message for an unused line.
void finishInterpretation(mmSession& s, const std::u16string& text) {
    if (s.ActiveView().commandId != 0) return;
    if (!text.empty()) s.commandLine.pendingMessage = WrongCommandMessage(text);
    s.commandLine.SetPrompt(kIdlePrompt);
    const mmSelectionSet& selection = s.CurrentSpace().selection;
    if (selection.observer) selection.observer->SelectionChanged(selection.count);
}

}  // namespace

void InterpretInput(mmSession& s, std::u16string text, bool picked) {
    std::erase(text, u'"');
    mmView& view = s.ActiveView();
    view.lastInput = text;
    view.inputType = 0;
    if (view.commandId == 0 && !text.empty())
        startNamedCommand(s, text);
    else if (view.commandId != 0)
        feedRunningCommand(s, text, picked);
    finishInterpretation(s, text);
}

void StartCommand(mmSession& s, const mmCommandRow& row, std::u16string& text) {
    mmView& view = s.ActiveView();
    view.commandId = row.commandId;
    view.step = 1;
    view.cursorMode = kCursorPoint;
    s.pendingEntity.reset();
    s.commandLine.SetPrompt(row.firstPrompt);
    row.steps->start(s, text);
}

void EndCommand(mmSession& s) {
    s.ActiveView().ClearCommandState();
    s.pendingEntity.reset();
    ClearSelection(s);
}

void SetCommandStep(mmSession& s, int step, std::u16string_view prompt) {
    s.ActiveView().step = step;
    s.commandLine.SetPrompt(prompt);
}

void FinishCommand(mmSession& s, std::u16string& text) {
    text.clear();
    EndCommand(s);
    s.RequestRedraw();
}

void ApplyPoint(mmSession& s, double x, double y) {
    if (mmObject* entity = s.pendingEntity.get()) {
        if (entity->type == kTypePoint && !entity->points.empty()) {
            entity->points[0] = mmVertex(x, y);
            entity->grips.assign(1, mmVertex(x, y));
        } else {
            entity->AddPoint(x, y);
        }
    }
    s.ActiveView().lastPoint = mmVertex(x, y);
}

bool PickPoint(mmSession& s, double x, double y) {
    mmView& view = s.ActiveView();
    if (view.commandId == 0 || view.cursorMode == kCursorSelect) return false;
    view.pickedPoint = mmVertex(x, y);
    view.inputType = 1;
    if (const mmExtensionCommand* extension = s.extensionCommands.FindById(view.commandId)) {
        // The base of relative coordinates typed next, as for a point a built-in step applies.
        view.lastPoint = mmVertex(x, y);
        // Delivered twice: as a point now, then as the marker text while the command still runs.
        std::u16string none;
        if (ContinueExtensionCommand(s, *extension) == mmExtensionResult::Finished)
            FinishCommand(s, none);
        // A command that finished on the point gets no marker; the pick still echoes the prompt.
        if (s.ActiveView().commandId == extension->commandId)
            s.commandLine.SubmitInput(kPickMarker, true);
        else
            s.commandLine.SubmitInput(u"", false);
        return true;
    }
    const mmCommandSteps* steps = StepsOfCommand(view.commandId);
    if (!steps || !steps->pick) return false;
    const std::optional<std::u16string> echo = steps->pick(s, x, y);
    if (!echo) return false;
    s.commandLine.SubmitInput(*echo, true);
    return true;
}

bool TakePoint(mmSession& s, const std::u16string& text, bool picked) {
    if (picked) return true;
    const std::optional<mmVertex> point = TypedPoint(s, text);
    if (!point) return false;
    ApplyPoint(s, point->x, point->y);
    return true;
}

std::optional<mmVertex> InputPoint(mmSession& s, std::u16string_view text, bool picked) {
    mmView& view = s.ActiveView();
    const std::optional<mmVertex> point =
        picked ? std::optional<mmVertex>(view.pickedPoint) : TypedPoint(s, text);
    if (point) view.lastPoint = *point;
    return point;
}

std::optional<mmVertex> TypedPoint(const mmSession& s, std::u16string_view text) {
    return ParseCoordinateInput(text, s.ActiveView().lastPoint);
}

std::u16string PickAppliesPoint(mmSession& s, double x, double y) {
    ApplyPoint(s, x, y);
    return FormatPickedPoint(x, y);
}

std::u16string WrongCommandMessage(std::u16string_view text) {
    return u"Unknown command \"" + UpperCase(text) + u"\"";
}
