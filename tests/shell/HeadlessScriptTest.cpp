// Script lines of the headless mode: the directives, their arguments and the answers they give
// to the next dialog.
#include <gtest/gtest.h>

#include <sstream>

#include "commands/Session.h"
#include "shell/HeadlessScript.h"

using kestrel::platform::MessageAnswer;
using kestrel::platform::MessageKind;

namespace {

class Script : public ::testing::Test {
protected:
    std::ostringstream err;
    HeadlessHost host{err};
    mmSession session{host};
    mmScriptContext context{session, host};

    std::string run(std::string_view line) { return RunScriptLine(context, line); }
};

}  // namespace

TEST(ScriptArguments, BlanksSeparateAndQuotesEncloseThem) {
    using Words = std::vector<std::string>;
    EXPECT_EQ(SplitScriptArguments("a.txt  b.txt"), (Words{"a.txt", "b.txt"}));
    EXPECT_EQ(SplitScriptArguments("\"my file.txt\" c"), (Words{"my file.txt", "c"}));
    EXPECT_EQ(SplitScriptArguments("\"\""), Words{""});
    EXPECT_EQ(SplitScriptArguments("  "), Words{});
    EXPECT_EQ(SplitScriptArguments("\"open"), std::nullopt);
}

TEST_F(Script, FileAnswersTheNextDialogOnly) {
    EXPECT_EQ(run("!file a.txt \"b c.txt\""), "");
    EXPECT_EQ(run("!file d.txt"), "");
    EXPECT_EQ(host.openFileDialog("Open", "", true), (std::vector<std::string>{"a.txt", "b c.txt"}));
    EXPECT_EQ(host.saveFileDialog("Save", "", "x.dxf"), "d.txt");
    EXPECT_TRUE(host.openFileDialog("Open", "", false).empty());  // unanswered: cancelled
    EXPECT_EQ(run("!file x.txt y.txt"), "");
    EXPECT_EQ(host.openFileDialog("Open", "", false), std::vector<std::string>{"x.txt"});
    EXPECT_NE(run("!file"), "");
    EXPECT_NE(run("!file \"open"), "");
}

TEST_F(Script, ButtonAnswersTheNextMessageBox) {
    EXPECT_EQ(run("!button yes"), "");
    EXPECT_EQ(run("!button Cancel "), "");
    EXPECT_EQ(host.messageBox("Save?", MessageKind::Question, {}), MessageAnswer::Yes);
    EXPECT_EQ(host.messageBox("Save?", MessageKind::Question, {}), MessageAnswer::Cancel);
    EXPECT_EQ(host.messageBox("Save?", MessageKind::Question, {}), MessageAnswer::No);
    EXPECT_EQ(err.str(), "Save?\nSave?\nSave?\n");
    EXPECT_EQ(run("!button ok"), "");
    EXPECT_EQ(host.messageBox("Done", MessageKind::Info, {}), MessageAnswer::Ok);
    EXPECT_NE(run("!button maybe"), "");
}

TEST_F(Script, OtherLinesAreTyped) {
    EXPECT_NE(run("!nothing 1"), "");
    EXPECT_EQ(run("!!x"), "");
    EXPECT_EQ(run("line\r"), "");
    EXPECT_NE(session.commandLine.history().find(u"> !x\r\nUnknown command \"!X\"\r\n> line"),
              std::u16string::npos);
    EXPECT_EQ(run("!pick 1,2"), "");
    EXPECT_NE(run("!pick 1"), "");
}
