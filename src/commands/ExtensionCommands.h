// The commands extension modules register, the protocol by which the interpreter runs them (a
// function of the command's name found in the module, called once per input with the address of
// the view's step), and the input functions offered to modules.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "entities/Vertex.h"

class mmSession;

// The function a module exports under a command's name. Returns 0 on failure; leaving *step
// unchanged means the command has finished, changing it means it continues.
using mmExtensionCommandFunction = int (*)(int* step);

struct mmExtensionCommand {
    std::u16string commandName;
    std::u16string tooltip;
    std::u16string moduleName;  // upper-case, used in messages
    int32_t commandId = 0;
    int32_t uiCommandId = 0;
    void* moduleHandle = nullptr;  // the dlopen handle
};

class mmExtensionCommands {
public:
    static constexpr int32_t kFirstCommandId = 100000;

    // Registration order; entries never move, so references stay valid while modules register.
    std::deque<mmExtensionCommand> entries;
    int32_t nextCommandId = kFirstCommandId;

    // Appends an entry under the next id and returns that id.
    int32_t Add(std::u16string_view commandName, std::u16string_view tooltip,
                std::u16string_view moduleName, void* moduleHandle, int32_t uiCommandId);
    // The first entry whose name equals the text ignoring case.
    const mmExtensionCommand* FindByName(std::u16string_view name) const;
    const mmExtensionCommand* FindById(int32_t commandId) const;
    // The first entry whose button or menu item is uiCommandId (never for 0, which is none).
    const mmExtensionCommand* FindByUiCommandId(int32_t uiCommandId) const;
};

// Tooltips of extension buttons are cut to this many characters.
inline constexpr std::size_t kExtensionTooltipLength = 80;
// The tooltip of the entry whose uiCommandId is the id, cut to kExtensionTooltipLength; nothing
// when no entry has it.
std::optional<std::u16string> ExtensionTooltip(const mmExtensionCommands& commands,
                                               int32_t uiCommandId);

enum class mmExtensionResult { Finished, Continues, Failed };

// The module's function for the command, found by its name in the code page; null when the module
// has none (or the name cannot be written in the code page).
mmExtensionCommandFunction FindExtensionFunction(const mmExtensionCommand& command);
// Starts the command at step 1 (its id becomes the running command unless the function is
// missing). Failures are reported in message boxes.
mmExtensionResult StartExtensionCommand(mmSession& session, const mmExtensionCommand& command);
// Hands the current input to the running extension command.
mmExtensionResult ContinueExtensionCommand(mmSession& session, const mmExtensionCommand& command);

// What modules call (their C entry points wrap these).
int32_t AddCommand(mmSession& session, std::u16string_view commandName, std::u16string_view tooltip,
                   std::u16string_view moduleName, void* moduleHandle, int32_t uiCommandId);
// 0 when the current input was typed text, 1 when it was a pick.
int GetInputType(const mmSession& session);
// The last line handed to the interpreter, quotes removed.
const std::u16string& GetInputString(const mmSession& session);
// The last picked point in drawing coordinates.
mmVertex GetInputPoint(const mmSession& session);
void SetUserInputMode(mmSession& session, int mode, bool withBase, double x, double y);
// A single slot: saves (commandId, step), then no command at step 1; restoring brings them back.
void SaveCurrentCommand(mmSession& session);
void RestoreCurrentCommand(mmSession& session);
void DoCommandLine(mmSession& session, std::u16string_view text);
void DisplayMsg(mmSession& session, std::u16string_view text);
void DisplayPromptMsg(mmSession& session, std::u16string_view text);
void Regen(mmSession& session);
