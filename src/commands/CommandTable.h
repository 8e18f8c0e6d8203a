// The built-in command table: names, aliases, command ids, first prompts and steps, in the order
// typed names are compared.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

struct mmCommandSteps;

namespace cmd {
inline constexpr int32_t kNone = 0;  // immediate commands run under no id
inline constexpr int32_t kPoint = 4511;
inline constexpr int32_t kPline = 4531;
inline constexpr int32_t kLine = 4541;
inline constexpr int32_t kCircle = 4561;
inline constexpr int32_t kArc = 4571;
inline constexpr int32_t kRectangle = 4581;
inline constexpr int32_t kViewport = 4591;
inline constexpr int32_t kRaster = 4991;
inline constexpr int32_t kBlock = 5121;
inline constexpr int32_t kInsert = 5131;
inline constexpr int32_t kHatch = 5141;
inline constexpr int32_t kText = 5151;
inline constexpr int32_t kDimLinear = 5152;
inline constexpr int32_t kDimAligned = 5153;
inline constexpr int32_t kGripEdit = 6121;
inline constexpr int32_t kZoom = 6221;
inline constexpr int32_t kPan = 6231;
inline constexpr int32_t kSendBack = 6241;
inline constexpr int32_t kBringFront = 6251;
inline constexpr int32_t kPlotScale = 6331;
inline constexpr int32_t kOffset = 7101;
inline constexpr int32_t kTrim = 7111;
inline constexpr int32_t kExtend = 7121;
}  // namespace cmd

struct mmCommandRow {
    std::u16string_view name;
    std::u16string_view alias;  // empty when there is none
    int32_t commandId;          // cmd::kNone for immediate commands
    bool clearsSelection;       // the interpreter clears the selection before starting it
    std::u16string_view firstPrompt;
    // Null while the command's steps are not part of the program: the name is then not
    // recognised.
    const mmCommandSteps* steps;
};

// Every row, in comparison order.
std::span<const mmCommandRow> CommandTable();
// The row whose name or alias equals the upper-case text, recognised or not; null when none.
const mmCommandRow* FindCommandRow(std::u16string_view upperName);
// The row of a recognised command named by the upper-case text; null when none.
const mmCommandRow* FindBuiltinCommand(std::u16string_view upperName);
// The steps of a running built-in command; null when the id has none.
const mmCommandSteps* StepsOfCommand(int32_t commandId);
// What lastCommand stores for a typed upper-case name: the name itself, except that the aliases
// Z and RE store ZOOM and REGEN.
std::u16string LastCommandName(std::u16string_view upperTyped);

// Commands whose pending entity is not drawn as it stands: grip editing and the dimension
// commands show it through their previews.
inline bool CommandHidesPendingEntity(int32_t commandId) {
    return commandId == cmd::kGripEdit || commandId == cmd::kDimLinear ||
           commandId == cmd::kDimAligned;
}
