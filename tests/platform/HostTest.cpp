// RecordingHost, StderrHost and the Host defaults.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/RecordingHost.h"
#include "platform/StderrHost.h"

namespace kestrel::platform {
namespace {

TEST(RecordingHost, RecordsRequestsInOrderAndAnswersFromTheScript) {
    RecordingHost recorder;
    recorder.queueAnswer(MessageAnswer::Yes);
    recorder.queueAnswer(MessageAnswer::Cancel);
    recorder.queueOpenFiles({"/tmp/a.dxf", "/tmp/b.dxf"});
    recorder.queueSaveFile("/tmp/out.dxf");
    Host& host = recorder;

    EXPECT_EQ(host.messageBox("Save changes?", MessageKind::Question, "Kestrel"),
              MessageAnswer::Yes);
    EXPECT_EQ(host.messageBox("Overwrite?", MessageKind::Question), MessageAnswer::Cancel);
    EXPECT_EQ(host.messageBox("Done"), MessageAnswer::Ok) << "default once the script is used up";
    host.statusText("Regenerating");
    host.statusText("");
    host.progress(0);
    host.progress(50);
    host.progress(-1);
    host.requestRedraw();
    host.requestRedraw();
    EXPECT_EQ(host.openFileDialog("Open", "DXF|*.dxf", true),
              (std::vector<std::string>{"/tmp/a.dxf", "/tmp/b.dxf"}));
    EXPECT_TRUE(host.openFileDialog("Open", "DXF|*.dxf", false).empty());
    EXPECT_EQ(host.saveFileDialog("Save As", "DXF|*.dxf", "Drawing1.dxf"), "/tmp/out.dxf");
    EXPECT_EQ(host.saveFileDialog("Save As", "DXF|*.dxf", ""), std::nullopt);

    EXPECT_EQ(recorder.messages(),
              (std::vector<RecordedMessage>{{"Save changes?", MessageKind::Question, "Kestrel"},
                                            {"Overwrite?", MessageKind::Question, ""},
                                            {"Done", MessageKind::Info, ""}}));
    EXPECT_EQ(recorder.statusTexts(), (std::vector<std::string>{"Regenerating", ""}));
    EXPECT_EQ(recorder.progressValues(), (std::vector<int>{0, 50, -1}));
    EXPECT_EQ(recorder.redrawCount(), 2);
    ASSERT_EQ(recorder.fileDialogs().size(), 4u);
    EXPECT_EQ(recorder.fileDialogs()[0],
              (RecordedFileDialog{false, "Open", "DXF|*.dxf", true, ""}));
    EXPECT_EQ(recorder.fileDialogs()[2],
              (RecordedFileDialog{true, "Save As", "DXF|*.dxf", false, "Drawing1.dxf"}));

    recorder.clearRecords();
    EXPECT_TRUE(recorder.messages().empty());
    EXPECT_EQ(recorder.redrawCount(), 0);
}

TEST(RecordingHost, DefaultAnswerCanBeSet) {
    RecordingHost host;
    host.setDefaultAnswer(MessageAnswer::No);
    EXPECT_EQ(host.messageBox("Save changes?", MessageKind::Question), MessageAnswer::No);
}

TEST(StderrHost, WritesEachMessageAsALineAndFlagsErrors) {
    std::ostringstream out;
    StderrHost host(MessageAnswer::Yes, out);

    EXPECT_EQ(host.messageBox("Drawing saved.", MessageKind::Info, "Kestrel"), MessageAnswer::Ok);
    EXPECT_EQ(host.messageBox("Replace \xC3\xA9t\xC3\xA9.dxf?", MessageKind::Question),
              MessageAnswer::Yes);
    EXPECT_FALSE(host.errorShown()) << "a warning is not an error";
    host.messageBox("Layer is locked", MessageKind::Warning);
    EXPECT_FALSE(host.errorShown());
    host.statusText("not written");
    host.messageBox("Cannot open file 'a.dxf'.", MessageKind::Error);
    EXPECT_TRUE(host.errorShown());

    host.setQuestionAnswer(MessageAnswer::Cancel);
    EXPECT_EQ(host.messageBox("Continue?", MessageKind::Question), MessageAnswer::Cancel);

    EXPECT_EQ(out.str(),
              "Drawing saved.\nReplace \xC3\xA9t\xC3\xA9.dxf?\nLayer is locked\n"
              "Cannot open file 'a.dxf'.\nContinue?\n");
}

// A host only has to answer message boxes; everything else has a default.
class MinimalHost : public Host {
public:
    MessageAnswer messageBox(const std::string&, MessageKind = MessageKind::Info,
                             const std::string& = {}) override {
        return MessageAnswer::Ok;
    }
};

TEST(Host, DefaultsIgnoreRequestsAndCancelDialogs) {
    MinimalHost host;
    host.statusText("x");
    host.progress(10);
    host.requestRedraw();
    EXPECT_TRUE(host.openFileDialog("Open", "*.dxf", true).empty());
    EXPECT_FALSE(host.saveFileDialog("Save", "*.dxf", "a.dxf").has_value());
}

}  // namespace
}  // namespace kestrel::platform
