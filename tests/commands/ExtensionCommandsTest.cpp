// Extension commands from a loaded module: precedence over built-in names, the start and
// continue protocols, failures, picks delivered twice and the input functions.
#include <dlfcn.h>

#include <vector>

#include "commands/CommandTable.h"
#include "commands/CommandTestSupport.h"
#include "commands/ExtensionCommands.h"
#include "entities/RecordingDrawContext.h"

namespace {

using ProbeFunction = int (*)(int*);

struct ProbeCall {
    int step;
    int inputType;
    std::u16string input;
};

// What the module's PROBE command saw; it prompts "Pick: " and continues until the input is
// "done".
mmSession* probedSession = nullptr;
std::vector<ProbeCall> probeCalls;
int probeCommand(int* step) {
    probeCalls.push_back({*step, GetInputType(*probedSession), GetInputString(*probedSession)});
    DisplayPromptMsg(*probedSession, u"Pick: ");
    if (GetInputString(*probedSession) != u"done") ++*step;
    return 1;
}

class Extensions : public CommandTest {
protected:
    void SetUp() override {
        module = dlopen(KESTREL_TEST_EXTENSION, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(module, nullptr) << dlerror();
        reinterpret_cast<void (*)(ProbeFunction)>(dlsym(module, "TestSetProbe"))(probeCommand);
        probedSession = &session;
        probeCalls.clear();
    }
    void TearDown() override {
        if (module) dlclose(module);
    }
    int32_t add(std::u16string_view name) {
        return AddCommand(session, name, u"tip", u"testmod", module, 500);
    }
    int lineCalls() { return reinterpret_cast<int (*)()>(dlsym(module, "TestLineCalls"))(); }

    void* module = nullptr;
};

}  // namespace

TEST_F(Extensions, ModuleLineOverridesTheBuiltIn) {
    const int before = lineCalls();
    const int32_t id = add(u"LINE");
    EXPECT_EQ(id, mmExtensionCommands::kFirstCommandId);
    type(u"Line");
    EXPECT_EQ(view().commandId, id);
    EXPECT_EQ(session.pendingEntity, nullptr);  // no built-in line was started
    EXPECT_EQ(inputLine(), "> ");
    type(u"anything");  // the module finishes on its second call
    EXPECT_EQ(view().commandId, 0);
    EXPECT_EQ(lineCalls(), before + 2);
    EXPECT_TRUE(session.drawing.entities.empty());
    EXPECT_EQ(utf8(session.lastCommand), "LINE");
    EXPECT_EQ(history().find("Unknown"), std::string::npos);
}

TEST_F(Extensions, FirstRegistrationWinsAndIdsDiffer) {
    const int32_t first = add(u"PROBE");
    const int32_t second = add(u"probe");
    EXPECT_EQ(second, first + 1);
    type(u"probe");
    EXPECT_EQ(view().commandId, first);
}

TEST_F(Extensions, FailingCommandWarnsAndStaysRunning) {
    const int32_t id = add(u"FAILING");
    type(u"failing");
    EXPECT_EQ(message(), "Warning: Extension module TESTMOD command [FAILING] failed!\n");
    EXPECT_EQ(host.messages().back().kind, kestrel::platform::MessageKind::Warning);
    EXPECT_EQ(view().commandId, id);
    type(u"x");
    EXPECT_EQ(host.messages().size(), 2u);
    EXPECT_EQ(view().commandId, id);
    EXPECT_EQ(history().find("Unknown"), std::string::npos);
}

TEST_F(Extensions, MissingFunctionWarnsAndIsUnknown) {
    add(u"MISSING");
    type(u"missing");
    EXPECT_EQ(message(), "Warning: Extension module TESTMOD doesn't have command [MISSING]!\n");
    EXPECT_EQ(view().commandId, 0);
    EXPECT_EQ(history(), "\r\n> missing\r\nUnknown command \"MISSING\"");
}

TEST_F(Extensions, PickIsSeenAsPointThenAsMarker) {
    add(u"PROBE");
    type(u"probe");
    type(u"7");
    pick(2, 3);
    EXPECT_EQ(GetInputPoint(session).x, 2);
    ASSERT_EQ(probeCalls.size(), 4u);
    EXPECT_EQ(probeCalls[0].input, u"probe");
    EXPECT_EQ(probeCalls[1].input, u"7");
    EXPECT_EQ(probeCalls[2].inputType, 1);
    EXPECT_EQ(probeCalls[3].inputType, 0);
    EXPECT_EQ(probeCalls[3].input, u"#EXT#");
    EXPECT_EQ(history(), "\r\n> probe\r\nPick: 7\r\nPick: ");  // the marker echoes the prompt
    type(u"done");
    EXPECT_EQ(view().commandId, 0);
}

TEST_F(Extensions, SavedCommandResumesAtItsStep) {
    const int32_t id = add(u"PROBE");
    type(u"probe");
    type(u"x");
    const int step = view().step;
    SaveCurrentCommand(session);
    EXPECT_EQ(view().commandId, 0);
    EXPECT_EQ(view().step, 1);
    RestoreCurrentCommand(session);
    EXPECT_EQ(view().commandId, id);
    EXPECT_EQ(view().step, step);
}

TEST_F(Extensions, InputModeDrawsALineFromTheBase) {
    add(u"PROBE");
    type(u"probe");
    SetUserInputMode(session, 1, true, 1, 2);
    EXPECT_EQ(view().cursorMode, kCursorPoint);
    mmRecordingDrawContext dc;
    view().commandPreview->DrawPreview(dc, view(), 4, 6);
    ASSERT_EQ(dc.primitives.size(), 1u);
    EXPECT_EQ(dc.primitives[0].vertices[0].y, 2);
    EXPECT_EQ(dc.primitives[0].vertices[1].x, 4);
    SetUserInputMode(session, 0, false, 0, 0);
    EXPECT_EQ(view().rubberBand, kRubberNone);
    EXPECT_EQ(view().cursorMode, kCursorNone);
}

TEST_F(Extensions, NamesOutsideTheCodePageHaveNoFunction) {
    add(u"LINE\u4E00");
    type(u"line\u4E00");
    EXPECT_NE(message().find("doesn't have command"), std::string::npos);
    EXPECT_EQ(view().commandId, 0);
}
