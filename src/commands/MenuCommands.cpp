// The menu command ids and their submissions.
#include "commands/MenuCommands.h"

#include <array>
#include <string_view>

#include "commands/InputGrammar.h"
#include "commands/Session.h"
#include "commands/Undo.h"
#include "commands/XrefCommand.h"

namespace {

struct MenuCommand {
    int32_t id;
    std::u16string_view name;
    std::u16string_view option;  // submitted as a second line when not empty
};

constexpr std::array<MenuCommand, 29> kMenuCommands{{
    {menu::kUndo, u"UNDO", u""}, {menu::kRedo, u"REDO", u""}, {32812, u"POINT", u""},
    {32813, u"LINE", u""},       {32815, u"PLINE", u""},      {32824, u"RECTANGLE", u""},
    {32817, u"CIRCLE", u""},     {32819, u"ARC", u""},        {32822, u"HATCH", u""},
    {32825, u"BLOCK", u""},      {32826, u"INSERT", u""},     {32823, u"RASTER", u""},
    {32827, u"TEXT", u""},       {32856, u"VIEWPORT", u""},   {32831, u"MOVE", u""},
    {32832, u"ROTATE", u""},     {32833, u"SCALE", u""},      {32834, u"PEDIT", u"I"},
    {32835, u"PEDIT", u"D"},     {32836, u"PEDIT", u"B"},     {32837, u"SENDBACK", u""},
    {32838, u"BRINGFRONT", u""}, {32839, u"DIMALIGNED", u""}, {32840, u"DIMLINEAR", u""},
    {32841, u"DIMRADIUS", u""},  {32828, u"PAN", u""},        {32829, u"ZOOM", u"R"},
    {32855, u"ZOOM", u"W"},      {32830, u"ZOOM", u"E"},
}};

const MenuCommand* find(int32_t id) {
    for (const MenuCommand& command : kMenuCommands)
        if (command.id == id) return &command;
    return nullptr;
}

}  // namespace

bool SubmitMenuCommandId(mmSession& s, int32_t menuId) {
    // A button or menu item an extension module registered submits its command, exactly as
    // typing it would.
    if (const mmExtensionCommand* extension = s.extensionCommands.FindByUiCommandId(menuId)) {
        s.commandLine.SubmitMenuCommand(UpperCase(extension->commandName));
        return true;
    }
    if (menuId == menu::kXref) {
        RunXrefCommand(s);
        return true;
    }
    const MenuCommand* command = find(menuId);
    if (!command) return false;
    s.commandLine.SubmitMenuCommand(command->name);
    if (!command->option.empty()) s.commandLine.SubmitMenuCommand(command->option);
    return true;
}

bool MenuCommandEnabled(const mmSession& s, int32_t menuId) {
    if (s.extensionCommands.FindByUiCommandId(menuId)) return true;
    if (menuId == menu::kUndo) return CanUndo(s.drawing);
    if (menuId == menu::kRedo) return CanRedo(s.drawing);
    if (menuId == menu::kXref) return true;
    return find(menuId) != nullptr;
}
