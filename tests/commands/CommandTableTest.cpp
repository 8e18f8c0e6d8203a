// The command table and the interpreter's handling of names.
#include <set>

#include "commands/CommandTable.h"
#include "commands/CommandTestSupport.h"
#include "commands/InputGrammar.h"

TEST(CommandTable, NamesAliasesAndIdsAreDistinct) {
    std::set<std::u16string_view> names;
    std::set<int32_t> ids;
    for (const mmCommandRow& row : CommandTable()) {
        EXPECT_TRUE(names.insert(row.name).second) << utf8(row.name);
        if (!row.alias.empty()) {
            EXPECT_TRUE(names.insert(row.alias).second) << utf8(row.alias);
        }
        if (row.commandId != cmd::kNone) {
            EXPECT_TRUE(ids.insert(row.commandId).second) << row.commandId;
        }
        EXPECT_EQ(UpperCase(row.name), row.name);
    }
    EXPECT_FALSE(ids.count(cmd::kGripEdit));
}

TEST(CommandTable, ComparisonOrder) {
    const char16_t* order[] = {
        u"EXTEND",    u"TRIM",       u"OFFSET",   u"UNDO",      u"REDO",     u"TESTDIM",
        u"PLOTSCALE", u"PLOTVIEW",   u"EXPTOIMG", u"IMPTXT",    u"SENDBACK", u"BRINGFRONT",
        u"DIMLINEAR", u"DIMALIGNED", u"POINT",    u"RECTANGLE", u"VIEWPORT", u"LINE",
        u"PLINE",     u"CIRCLE",     u"ARC",      u"BLOCK",     u"HATCH",    u"INSERT",
        u"RASTER",    u"TEXT",       u"ZOOM",     u"PAN",       u"REGEN",    u"WINVERXP"};
    ASSERT_EQ(CommandTable().size(), std::size(order));
    for (std::size_t i = 0; i < std::size(order); ++i)
        EXPECT_EQ(CommandTable()[i].name, order[i]);
}

TEST(CommandTable, AliasesStoreTheFullName) {
    const mmCommandRow* zoom = FindCommandRow(u"Z");
    ASSERT_NE(zoom, nullptr);
    EXPECT_EQ(zoom->commandId, cmd::kZoom);
    EXPECT_EQ(LastCommandName(u"Z"), u"ZOOM");
    EXPECT_EQ(LastCommandName(u"RE"), u"REGEN");
    EXPECT_EQ(LastCommandName(u"XP"), u"XP");
}

using Interpreter = CommandTest;

TEST_F(Interpreter, CommandsNotBuiltYetAreUnknown) {
    for (std::u16string_view name : {u"MOVE"}) {
        type(name);
        const std::string text = history();
        EXPECT_EQ(text.substr(text.rfind('\n') + 1),
                  "Unknown command \"" + utf8(UpperCase(name)) + "\"");
        EXPECT_EQ(view().commandId, 0);
    }
    EXPECT_TRUE(session.lastCommand.empty());
    EXPECT_FALSE(session.modified);
}

TEST_F(Interpreter, ImmediateCommandsLeaveNoMessage) {
    session.modelView.regenPending = false;
    for (std::u16string_view name : {u"TESTDIM", u"undo", u"Redo", u"XP", u"winverxp", u"RE"})
        type(name);
    EXPECT_EQ(history().find("Unknown"), std::string::npos);
    EXPECT_EQ(utf8(session.lastCommand), "REGEN");
    EXPECT_TRUE(session.modified);
    EXPECT_TRUE(view().regenPending);
    EXPECT_GT(host.redrawCount(), 0);
}

TEST_F(Interpreter, ViewportInModelSpaceWarnsAndEnds) {
    type(u"viewport");
    EXPECT_EQ(history(),
              "\r\n> viewport\r\nWarning: Viewport command is not supported in Model Space for "
              "this version!");
    EXPECT_EQ(view().commandId, 0);
    EXPECT_EQ(inputLine(), "> ");
}

TEST_F(Interpreter, StartingClearsTheSelection) {
    type(u"point");
    type(u"1,1");
    mmObject& point = *session.drawing.entities[0];
    point.selected = true;
    session.drawing.selection.ids.insert(point.id);
    type(u"line");
    EXPECT_FALSE(point.selected);
    EXPECT_TRUE(session.drawing.selection.ids.empty());
}
