// TEXT and IMPTXT: transcripts, the conversion of typed and file text to the code page, the
// coordinate list format, file errors and undo records.
#include <filesystem>
#include <fstream>

#include <sys/stat.h>

#include "commands/CommandTable.h"
#include "commands/CommandTestSupport.h"
#include "commands/CoordinateList.h"
#include "commands/DrawingText.h"
#include "entities/Point.h"
#include "entities/Text.h"

namespace {

constexpr char kTextPrompt[] = "Type the text: ";
constexpr char kPosition[] = "Specify text position: ";
constexpr char kHeight[] = "Type text height <1.0>: ";
constexpr char kRotation[] = "Type text rotation <0.0>: ";

class TextCommands : public CommandTest {
protected:
    mmText& text(std::size_t i = 0) { return entity<mmText>(i); }
    std::string lastLine() const {
        const std::string h = history();
        return h.substr(h.rfind('\n') + 1);
    }
    // A coordinate list file of the given bytes, named after the running test.
    std::string listFile(const std::string& bytes, const std::string& extension = ".txt") {
        const std::filesystem::path dir = std::filesystem::path(KESTREL_TEST_OUTPUT_DIR) / "imptxt";
        std::filesystem::create_directories(dir);
        const std::string path =
            (dir / ::testing::UnitTest::GetInstance()->current_test_info()->name()).string() +
            extension;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    void importFile(const std::string& path) {
        host.queueOpenFiles({path});
        type(u"imptxt");
    }
};

}  // namespace

// Heights 0 and -2 keep 1.0; an empty rotation keeps 0.
TEST_F(TextCommands, TranscriptsWithQuotedWordsAndHeights) {
    struct Case {
        std::u16string height, rotation;
        double expectedHeight, expectedRotation;
    };
    const Case cases[] = {{u"0", u"", 1, 0}, {u"-2", u"30", 1, 30}, {u"2.5mm", u"0", 2.5, 0}};
    std::size_t index = 0;
    for (const Case& c : cases) {
        const std::string before = history();
        type(u"text");
        type(u"\"two words\"");
        type(u"3,4");
        type(c.height);
        type(c.rotation);
        EXPECT_EQ(history().substr(before.size()),
                  std::string("\r\n> text\r\n") + kTextPrompt + "\"two words\"\r\n" + kPosition +
                      "3,4\r\n" + kHeight + utf8(c.height) + "\r\n" + kRotation + utf8(c.rotation));
        const mmText& t = text(index++);
        EXPECT_EQ(t.String(), "two words");
        EXPECT_EQ(t.height, c.expectedHeight);
        EXPECT_EQ(t.rotation, c.expectedRotation);
        ASSERT_EQ(t.points.size(), 1u);
        EXPECT_EQ(t.points[0].x, 3);
        EXPECT_EQ(t.points[0].y, 4);
        EXPECT_EQ(t.glyphs, session.glyphTable);
    }
    EXPECT_EQ(inputLine(), "> ");
    EXPECT_EQ(session.drawing.undoCount, 3);
}

TEST_F(TextCommands, PickedPositionAndUndo) {
    type(u"text");
    EXPECT_EQ(session.drawing.entities.size(), 1u);  // added at the start
    pick(1, 2);                                      // no pick while the string is asked for
    EXPECT_EQ(view().step, 1);
    type(u"A");
    pick(-1.5, 2);
    type(u"");
    type(u"");
    EXPECT_EQ(text().points[0].x, -1.5);
    EXPECT_NE(history().find(std::string(kPosition) + "-1.5000,2.0000,0.0000"), std::string::npos);
    type(u"undo");
    EXPECT_TRUE(text().erased);
    type(u"redo");
    EXPECT_FALSE(text().erased);
    EXPECT_EQ(text().String(), "A");
}

TEST_F(TextCommands, NoTextOrNoPositionLeavesNothing) {
    type(u"text");
    type(u"");
    EXPECT_EQ(history(), std::string("\r\n> text\r\n") + kTextPrompt +
                             "\r\nYou didn't enter any text. Will exit text mode!");
    EXPECT_EQ(view().commandId, 0);

    type(u"text");
    type(u"abc");
    type(u"");
    EXPECT_EQ(liveCount(), 0u);
    EXPECT_EQ(session.drawing.undoCount, 0);
}

TEST_F(TextCommands, TypedTextKeepsEveryCharacterAndIsCutWithANotice) {
    type(u"text");
    type(std::u16string(250, u'x'));
    EXPECT_EQ(lastLine(), "The text was cut to 199 characters.");
    type(u"0,0");
    EXPECT_EQ(text().String(), std::string(199, 'x'));

    type(u"");
    type(u"");
    type(u"text");
    const std::size_t lines = history().size();
    type(u"\"\u0141\u00f3d\u017a \u4e2d %%c50\"");
    type(u"0,0");
    EXPECT_EQ(text(1).String(),
              "\xc5\x81\xc3\xb3"
              "d\xc5\xba \xe4\xb8\xad %%c50");
    EXPECT_EQ(history().find("cannot hold", lines), std::string::npos);
}

TEST(DrawingText, LimitsCountCharacters) {
    struct Case {
        std::u16string in;
        std::size_t limit;
        std::string out;
        bool cut;
    };
    const Case cases[] = {
        {u"abc", 199, "abc", false},
        {u"\u00E9\u20AC", 199, "\xC3\xA9\xE2\x82\xAC", false},
        {u"a\U0001F600b", 3,
         "a\xF0\x9F\x98\x80"
         "b",
         false},                                    // a surrogate pair is one character
        {u"\xD800x", 199, "\xEF\xBF\xBDx", false},  // an unpaired surrogate is U+FFFD
        {u"xxxx", 3, "xxx", true},
        {u"\u03A9\u03A9\u03A9\u03A9", 3, "\xCE\xA9\xCE\xA9\xCE\xA9", true},
    };
    for (const Case& c : cases) {
        const mmDrawingText result = ToDrawingText(c.in, c.limit);
        EXPECT_EQ(result.text, c.out) << utf8(c.in);
        EXPECT_EQ(result.cut, c.cut) << utf8(c.in);
    }
}

TEST(DrawingText, FileLinesAreUtf8OrCodePageBytes) {
    EXPECT_EQ(FileTextToDrawingText("M\xC3\xBCller", 49).text, "M\xC3\xBCller");
    EXPECT_EQ(FileTextToDrawingText("M\xFCller", 49).text, "M\xC3\xBCller");
    EXPECT_EQ(FileTextToDrawingText("\xCE\xA9", 49).text, "\xCE\xA9");
    const mmDrawingText longer = FileTextToDrawingText(std::string(60, 'n'), 49);
    EXPECT_EQ(longer.text, std::string(49, 'n'));
    EXPECT_TRUE(longer.cut);
}

TEST(CoordinateList, Lines) {
    struct Case {
        const char* line;
        bool ok;
        const char* name;
        double x, y;
    };
    const Case cases[] = {
        {"P1;10;20", true, "P1", 10, 20},
        {"P1\t10\t20", true, "P1", 10, 20},
        {"P 1; -5.5 ;+3e2\r", true, "P 1", -5.5, 300},
        {";7;8", true, "", 7, 8},
        {"P4;1;2;99", true, "P4", 1, 2},  // fields after y are ignored
        {"P5;1;2\t4", true, "P5", 1, 2},
        {"", false, "", 0, 0},
        {"P1;10", false, "", 0, 0},
        {"Name;X;Y", false, "", 0, 0},
        {"P3;1,5;2,5", false, "", 0, 0},  // decimal commas are not read as 1 and 2
        {"P6;1;2m", false, "", 0, 0},
        {"P7;inf;2", false, "", 0, 0},
        {"P8;1e999;2", false, "", 0, 0},
        {"P9;;2", false, "", 0, 0},
    };
    for (const Case& c : cases) {
        const std::optional<mmCoordinateRecord> r = ParseCoordinateLine(c.line);
        ASSERT_EQ(r.has_value(), c.ok) << c.line;
        if (!r) continue;
        EXPECT_EQ(r->name, c.name) << c.line;
        EXPECT_EQ(r->x, c.x) << c.line;
        EXPECT_EQ(r->y, c.y) << c.line;
    }
}

TEST_F(TextCommands, ImportMakesLabelledPoints) {
    session.drawing.nextEntityId = 5;
    importFile(listFile("\xEF\xBB\xBFP1;10;20\r\nP2\t-5.5\t3\nName;X;Y\n\n;7;8\nP3;1,5;2\n"));
    EXPECT_EQ(
        history(),
        "\r\n> imptxt\r\n3 lines without a name, x and y were skipped (the first is line 3).");
    ASSERT_EQ(session.drawing.entities.size(), 5u);
    const mmPointObj& p1 = entity<mmPointObj>(0);
    EXPECT_EQ(p1.points[0].x, 10);
    EXPECT_EQ(p1.points[0].y, 20);
    EXPECT_EQ(p1.extents.maxY, 20);
    EXPECT_EQ(p1.id, 5);
    const mmText& label = text(1);
    EXPECT_EQ(label.String(), "P1");
    EXPECT_EQ(label.points[0].x, 10.5);
    EXPECT_EQ(label.points[0].y, 20.5);
    EXPECT_EQ(label.height, 2);
    EXPECT_EQ(label.rotation, 0);
    EXPECT_EQ(label.id, 6);
    EXPECT_EQ(label.layerId, p1.layerId);
    EXPECT_EQ(text(3).String(), "P2");
    EXPECT_EQ(entity<mmPointObj>(4).points[0].x, 7);  // no name: no label

    ASSERT_EQ(host.fileDialogs().size(), 1u);
    EXPECT_FALSE(host.fileDialogs()[0].save);
    EXPECT_NE(host.fileDialogs()[0].filter.find("*.txt"), std::string::npos);
    EXPECT_EQ(session.drawing.undoCount, 0);  // not recorded
    EXPECT_EQ(view().commandId, 0);
    EXPECT_TRUE(host.messages().empty());
}

TEST_F(TextCommands, ImportLabelsInUtf8OrTheCodePage) {
    importFile(listFile("M\xC3\xBCller;1;1\nM\xFCller;2;2\n" + std::string(60, 'n') +
                        ";3;3\n\xCE\xA9;4;4\n"));
    EXPECT_EQ(text(1).String(), "M\xC3\xBCller");
    EXPECT_EQ(text(3).String(), "M\xC3\xBCller");
    EXPECT_EQ(text(5).String(), std::string(49, 'n'));
    EXPECT_EQ(text(7).String(), "\xCE\xA9");
    EXPECT_EQ(history(), "\r\n> imptxt\r\n1 label was cut to 49 characters.");
}

TEST_F(TextCommands, ImportFileErrors) {
    const std::string dir = std::filesystem::path(listFile("")).parent_path().string();
    // A named pipe blocked the import in open() until something wrote to it.
    const std::string fifo = dir + "/pipe.txt";
    std::filesystem::remove(fifo);
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<std::string, std::string> cases[] = {
        {dir + "/missing.txt", "ERROR: File not found"},
        {dir, "ERROR: An unspecified error occurred."},
        {fifo, "ERROR: An unspecified error occurred."},
    };
    for (const auto& [path, expected] : cases) {
        host.clearRecords();
        importFile(path);
        ASSERT_EQ(host.messages().size(), 1u) << path;
        EXPECT_EQ(host.messages()[0].text, expected);
        EXPECT_EQ(host.messages()[0].kind, kestrel::platform::MessageKind::Error);
        EXPECT_EQ(view().commandId, 0);
        EXPECT_EQ(inputLine(), "> ");
    }
    EXPECT_TRUE(session.drawing.entities.empty());

    host.clearRecords();
    type(u"imptxt");  // the dialog is cancelled
    EXPECT_TRUE(host.messages().empty());
    EXPECT_EQ(lastLine(), "> imptxt");
}

TEST_F(TextCommands, ImportCompletesTheDefaultExtension) {
    const std::string path = listFile("A;1;2\n");
    importFile(path.substr(0, path.size() - 4));
    EXPECT_EQ(session.drawing.entities.size(), 2u);
    EXPECT_TRUE(host.messages().empty());
}
