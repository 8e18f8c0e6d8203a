// The keys of the input line, the history pane and the drawing view, the context menu and the
// menu commands.
#include "commands/CommandTable.h"
#include "commands/CommandTestSupport.h"
#include "commands/MenuCommands.h"
#include "commands/ViewInput.h"
#include "entities/Line.h"

namespace {
class Keys : public CommandTest {
protected:
    mmCommandLine& line = session.commandLine;
};

struct SnapEvents : mmShellEvents {
    std::vector<bool> toggles;
    void SnapToggled(bool on) override { toggles.push_back(on); }
};
}  // namespace

TEST_F(Keys, BackspaceNeverErasesThePrompt) {
    typeKeys(u"ab");
    for (int i = 0; i < 5; ++i)
        line.InputKey(mmKey::Backspace);
    EXPECT_EQ(inputLine(), "> ");
    type(u"line");
    line.InputKey(mmKey::Backspace);
    EXPECT_EQ(utf8(line.inputText()), "Specify first point (pick point or type coordinates): ");
}

TEST_F(Keys, EmptyReturnAndSpaceWhileIdle) {
    type(u"");
    EXPECT_EQ(history(), "\r\n> ");  // echoed, no message
    line.InputKey(mmKey::Space);     // no last command yet
    type(u"regen");
    line.InputKey(mmKey::Space);
    EXPECT_EQ(history(), "\r\n> \r\n> \r\n> regen\r\n> REGEN");
}

TEST_F(Keys, QuoteModeEndsWithItsLine) {
    typeKeys(u"\"a");
    EXPECT_TRUE(line.quoteMode);
    line.InputKey(mmKey::Backspace);
    line.InputKey(mmKey::Backspace);  // the quote itself
    EXPECT_FALSE(line.quoteMode);
    typeKeys(u"\"x");
    line.InputKey(mmKey::Return);
    EXPECT_FALSE(line.quoteMode);
}

// "0,0" and "10,10" pasted together once read as the one point (0, 10).
TEST_F(Keys, RegressionPastedLinesAreEnteredOneByOne) {
    line.PasteText(u"line\r\n0,0\n10,10\rtext\n\"a b\"\n2");
    EXPECT_EQ(history(),
              "\r\n> line\r\nSpecify first point (pick point or type coordinates): 0,0"
              "\r\nInsert or type second point: 10,10\r\n> text\r\nType the text: \"a b\"");
    EXPECT_EQ(inputLine(), "Specify text position: 2");  // the last line waits for Return
    const auto& segment = entity<mmLine>(0);
    EXPECT_EQ(segment.points[0].x, 0);
    EXPECT_EQ(segment.points[1].y, 10);
}

TEST_F(Keys, F3TogglesSnap) {
    SnapEvents events;
    session.SetShellEvents(&events);
    line.InputKey(mmKey::F3);
    line.InputKey(mmKey::F3);
    EXPECT_EQ(events.toggles, (std::vector<bool>{false, true}));
    EXPECT_TRUE(session.snap.on);
    session.SetShellEvents(nullptr);
}

TEST_F(Keys, HistoryPaneContinuesTheInputLine) {
    EXPECT_FALSE(line.HistoryKey(mmKey::Other, u"l"));
    EXPECT_FALSE(line.HistoryKey(mmKey::Backspace));
    EXPECT_FALSE(line.HistoryKey(mmKey::Other, u"i"));
    EXPECT_EQ(inputLine(), "> li");
    EXPECT_TRUE(line.HistoryKey(mmKey::Return));
}

TEST_F(Keys, ViewKeysWhileIdle) {
    EXPECT_EQ(ViewKey(session, mmKey::Other, u"c"), mmViewAction::FocusInputLine);
    EXPECT_EQ(inputLine(), "> c");
    EXPECT_EQ(ViewKey(session, mmKey::Delete), mmViewAction::None);  // nothing selected
    EXPECT_EQ(ViewKey(session, mmKey::Shift), mmViewAction::None);
    EXPECT_TRUE(view().shiftHeld);
    ViewKeyUp(session);
    EXPECT_FALSE(view().shiftHeld);
    EXPECT_EQ(ViewKey(session, mmKey::Return), mmViewAction::FocusInputLine);
    EXPECT_EQ(history(), "\r\n> c\r\nUnknown command \"C\"");
}

TEST_F(Keys, EscInTheViewEndsAPointCommand) {
    type(u"line");
    EXPECT_EQ(ViewKey(session, mmKey::Other, u"1"), mmViewAction::FocusInputLine);
    EXPECT_EQ(ViewKey(session, mmKey::Escape), mmViewAction::None);
    EXPECT_EQ(view().commandId, 0);
    EXPECT_TRUE(session.drawing.entities.empty());
}

TEST_F(Keys, ContextMenu) {
    std::vector<mmContextMenuItem> items = ViewRightButtonUp(session);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(utf8(items[0].label), "Last command");
    type(u"point");
    type(u"0,0");
    session.drawing.selection.ids.insert(0);
    items = ViewRightButtonUp(session);
    ASSERT_EQ(items.size(), 16u);
    EXPECT_EQ(utf8(items[0].label), "POINT");
    EXPECT_EQ(utf8(items[6].label), "Deselect All");
    EXPECT_EQ(ChooseContextMenuItem(session, mmMenuAction::DeselectAll),
              mmViewAction::FocusInputLine);
    EXPECT_TRUE(session.drawing.selection.ids.empty());

    ChooseContextMenuItem(session, mmMenuAction::LastCommand);
    EXPECT_EQ(view().commandId, cmd::kPoint);
    EXPECT_TRUE(ViewRightButtonUp(session).empty());  // no menu: the command got an empty line
    EXPECT_EQ(view().commandId, 0);
}

TEST_F(Keys, MenuCommandsSubmitNamesAndOptions) {
    EXPECT_TRUE(SubmitMenuCommandId(session, 32813));
    EXPECT_EQ(view().commandId, cmd::kLine);
    type(u"");
    EXPECT_TRUE(SubmitMenuCommandId(session, 32834));  // PEDIT then I, both unknown here
    EXPECT_NE(
        history().find("\r\n> PEDIT\r\nUnknown command \"PEDIT\"\r\n> I\r\nUnknown command \"I\""),
        std::string::npos);
    EXPECT_FALSE(SubmitMenuCommandId(session, 1));
    EXPECT_FALSE(MenuCommandEnabled(session, menu::kUndo));
}

TEST_F(Keys, HistoryKeepsItsNewestWholeLines) {
    const std::u16string name(100000, u'q');
    for (int i = 0; i < 8; ++i) line.SubmitMenuCommand(name);
    type(u"last");
    const std::u16string& text = line.history();
    EXPECT_LE(text.size(), mmCommandLine::kHistoryLimit);
    EXPECT_GT(text.size(), mmCommandLine::kHistoryLimit / 2);
    EXPECT_EQ(text.substr(0, 4), u"\r\n> ");
    const std::u16string end = u"\r\n> last\r\nUnknown command \"LAST\"";
    EXPECT_EQ(utf8(text.substr(text.size() - end.size())), utf8(end));
}
