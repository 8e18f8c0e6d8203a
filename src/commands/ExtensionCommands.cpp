// Extension commands: registration, lookup of their functions with dlsym, the start and continue
// protocols, and the input functions offered to modules.
#include "commands/ExtensionCommands.h"

#include <dlfcn.h>

#include "commands/InputGrammar.h"
#include "commands/Session.h"
#include "platform/CodePage.h"
#include "platform/Unicode.h"

namespace {

// Modules look names up in a buffer of this many bytes, terminator included.
constexpr std::size_t kFunctionNameBuffer = 200;

std::string utf8(std::u16string_view text) {
    std::string out;
    kestrel::platform::utf16ToUtf8(text, out);
    return out;
}

void warn(mmSession& s, const std::string& text) {
    s.host.messageBox(text, kestrel::platform::MessageKind::Warning);
}

void reportFailed(mmSession& s, const mmExtensionCommand& c) {
    warn(s, "Warning: Extension module " + utf8(c.moduleName) + " command [" + utf8(c.commandName) +
                "] failed!\n");
}

void reportMissing(mmSession& s, const mmExtensionCommand& c) {
    warn(s, "Warning: Extension module " + utf8(c.moduleName) + " doesn't have command [" +
                utf8(c.commandName) + "]!\n");
}

mmExtensionResult call(mmSession& s, const mmExtensionCommand& c,
                       mmExtensionCommandFunction function) {
    int& step = s.ActiveView().step;
    const int before = step;
    int ok = 0;
    try {
        ok = function(&step);
    } catch (...) {
        ok = 0;  // an exception from a module is its command failing
    }
    if (ok == 0) {
        reportFailed(s, c);
        return mmExtensionResult::Failed;
    }
    return s.ActiveView().step == before ? mmExtensionResult::Finished
                                         : mmExtensionResult::Continues;
}

}  // namespace

int32_t mmExtensionCommands::Add(std::u16string_view commandName, std::u16string_view tooltip,
                                 std::u16string_view moduleName, void* moduleHandle,
                                 int32_t uiCommandId) {
    mmExtensionCommand& entry = entries.emplace_back();
    entry.commandName = commandName;
    entry.tooltip = tooltip;
    entry.moduleName = UpperCase(moduleName);
    entry.commandId = nextCommandId++;
    entry.uiCommandId = uiCommandId;
    entry.moduleHandle = moduleHandle;
    return entry.commandId;
}

const mmExtensionCommand* mmExtensionCommands::FindByName(std::u16string_view name) const {
    const std::u16string upper = UpperCase(name);
    for (const mmExtensionCommand& entry : entries)
        if (UpperCase(entry.commandName) == upper) return &entry;
    return nullptr;
}

const mmExtensionCommand* mmExtensionCommands::FindById(int32_t commandId) const {
    if (commandId < kFirstCommandId) return nullptr;
    for (const mmExtensionCommand& entry : entries)
        if (entry.commandId == commandId) return &entry;
    return nullptr;
}

const mmExtensionCommand* mmExtensionCommands::FindByUiCommandId(int32_t uiCommandId) const {
    if (uiCommandId == 0) return nullptr;
    for (const mmExtensionCommand& entry : entries)
        if (entry.uiCommandId == uiCommandId) return &entry;
    return nullptr;
}

std::optional<std::u16string> ExtensionTooltip(const mmExtensionCommands& commands,
                                               int32_t uiCommandId) {
    const mmExtensionCommand* entry = commands.FindByUiCommandId(uiCommandId);
    if (!entry) return std::nullopt;
    return entry->tooltip.substr(
        0, kestrel::platform::utf16CutLength(entry->tooltip, kExtensionTooltipLength));
}

mmExtensionCommandFunction FindExtensionFunction(const mmExtensionCommand& c) {
    // A null handle would make dlsym search the whole process.
    if (!c.moduleHandle) return nullptr;
    std::string name;
    if (!kestrel::platform::utf16ToCp1252(c.commandName, name)) return nullptr;
    if (name.empty() || name.size() >= kFunctionNameBuffer) return nullptr;
    return reinterpret_cast<mmExtensionCommandFunction>(dlsym(c.moduleHandle, name.c_str()));
}

mmExtensionResult StartExtensionCommand(mmSession& s, const mmExtensionCommand& c) {
    const mmExtensionCommandFunction function = FindExtensionFunction(c);
    if (!function) {
        reportMissing(s, c);
        return mmExtensionResult::Failed;
    }
    mmView& view = s.ActiveView();
    view.step = 1;
    view.commandId = c.commandId;
    return call(s, c, function);
}

mmExtensionResult ContinueExtensionCommand(mmSession& s, const mmExtensionCommand& c) {
    const mmExtensionCommandFunction function = FindExtensionFunction(c);
    if (!function) {
        // Modules stay loaded, so this cannot happen to a command that started; never leave the
        // view inside a command that cannot run.
        reportMissing(s, c);
        s.ActiveView().ClearCommandState();
        return mmExtensionResult::Failed;
    }
    return call(s, c, function);
}

int32_t AddCommand(mmSession& s, std::u16string_view commandName, std::u16string_view tooltip,
                   std::u16string_view moduleName, void* moduleHandle, int32_t uiCommandId) {
    return s.extensionCommands.Add(commandName, tooltip, moduleName, moduleHandle, uiCommandId);
}

int GetInputType(const mmSession& s) {
    return s.ActiveView().inputType;
}

const std::u16string& GetInputString(const mmSession& s) {
    return s.ActiveView().lastInput;
}

mmVertex GetInputPoint(const mmSession& s) {
    return s.ActiveView().pickedPoint;
}

void SetUserInputMode(mmSession& s, int mode, bool withBase, double x, double y) {
    s.ActiveView().SetUserInputMode(mode, withBase, x, y);
}

void SaveCurrentCommand(mmSession& s) {
    mmView& view = s.ActiveView();
    s.savedCommand = {view.commandId, view.step};
    view.commandId = 0;
    view.step = 1;
}

void RestoreCurrentCommand(mmSession& s) {
    mmView& view = s.ActiveView();
    view.commandId = s.savedCommand.commandId;
    view.step = s.savedCommand.step;
}

void DoCommandLine(mmSession& s, std::u16string_view text) {
    s.commandLine.SubmitMenuCommand(text);
}

void DisplayMsg(mmSession& s, std::u16string_view text) {
    s.commandLine.pendingMessage = text;
    s.commandLine.FlushPendingMessage();
}

void DisplayPromptMsg(mmSession& s, std::u16string_view text) {
    s.commandLine.SetPrompt(text);
}

void Regen(mmSession& s) {
    s.RequestRedraw();
}
