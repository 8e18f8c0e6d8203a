// XREF from the menu, LoadXREF for modules and the insert-block dialog's browse button, over
// small DXF files written for the purpose.
#include <algorithm>

#include "commands/CommandTestSupport.h"
#include "commands/MenuCommands.h"
#include "commands/InsertBlockDialog.h"
#include "commands/XrefCommand.h"
#include "drawing/Drawing.h"
#include "fileio/BlockImport.h"
#include "fileio/DxfTestSupport.h"

namespace {

// Two blocks (DOOR based at (100, 50) and WINDOW) and a line in the ENTITIES section.
const std::string kFloor = Dxf(R"(
0 SECTION
2 BLOCKS
0 BLOCK
2 WINDOW
10 0
20 0
0 CIRCLE
10 1
20 1
40 0.5
0 ENDBLK
0 BLOCK
2 DOOR
10 100
20 50
0 LINE
10 100
20 50
11 101
21 52
0 ENDBLK
0 ENDSEC
0 SECTION
2 ENTITIES
0 LINE
8 0
10 0
20 0
11 10
21 5
0 ENDSEC
0 EOF)");

class XrefCommandTest : public CommandTest {
protected:
    TempDir dir;
    std::string floor = dir.file("floor.dxf");
    void SetUp() override { WriteWholeFile(floor, kFloor); }
};

TEST(XrefBlockName, IsTheFileNameWithoutFolderAndExtension) {
    const struct {
        const char* path;
        const char16_t* name;
    } cases[] = {
        {"/plans/floor.dxf", u"floor"},
        {"floor.DWG", u"floor"},
        {"a.b.dwg", u"a.b"},
        {"/plans/site", u"site"},
        {"/plans/.hidden", u".hidden"},
        {"caf\xc3\xa9.dxf", u"caf\u00e9"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(XrefBlockName(c.path), c.name) << c.path;
}

TEST_F(XrefCommandTest, XrefMakesTheBlockAndHandsItToInsert) {
    host.queueOpenFiles({floor});
    ASSERT_TRUE(SubmitMenuCommandId(session, menu::kXref));
    ASSERT_EQ(host.fileDialogs().size(), 1u);
    EXPECT_EQ(host.fileDialogs()[0].title, "Browse block or XREF...");
    EXPECT_EQ(host.fileDialogs()[0].filter, "Drawing files|*.dxf;*.dwg");
    const mmBlockPtr block = FindBlockByName(session.drawing.blocks, u"floor");
    ASSERT_TRUE(block);
    // Based at the base point of the file's last block, holding the model space.
    EXPECT_EQ(block->baseX, 100.0);
    EXPECT_EQ(block->baseY, 50.0);
    EXPECT_EQ(block->entities.size(), 1u);
    EXPECT_TRUE(FindBlockByName(session.drawing.blocks, u"DOOR"));
    EXPECT_NE(history().find("> INSERT"), std::string::npos) << history();
    EXPECT_NE(history().find("> floor"), std::string::npos) << history();
    EXPECT_TRUE(session.modified);
    EXPECT_GT(host.redrawCount(), 0);
}

TEST_F(XrefCommandTest, CancelledOrFailedXref) {
    SubmitMenuCommandId(session, menu::kXref);  // no file chosen
    EXPECT_TRUE(host.messages().empty());
    EXPECT_EQ(history().find("INSERT"), std::string::npos);
    const std::string r2007 = dir.file("old.dwg");
    WriteWholeFile(r2007, std::string("AC1021") + std::string(32, '\0'));
    for (const std::string& path : {dir.file("missing.dxf"), r2007}) {
        host.clearRecords();
        host.queueOpenFiles({path});
        SubmitMenuCommandId(session, menu::kXref);
        EXPECT_EQ(message(), kCantMakeXref) << path;
    }
    EXPECT_EQ(host.historyMessages(),
              std::vector<std::string>{"DWG file version R2007 is not supported at this moment!"});
    EXPECT_TRUE(session.drawing.blocks.empty());
    EXPECT_EQ(history().find("> INSERT"), std::string::npos);
}

TEST_F(XrefCommandTest, LoadXrefTellsSuccessByTheName) {
    char16_t name[255];
    std::fill(std::begin(name), std::end(name), u'x');
    EXPECT_EQ(LoadXref(session, u"/nonexistent/floor.dxf", name, 255), 0);
    EXPECT_EQ(name[0], 0);
    std::u16string path;
    kestrel::platform::utf8ToUtf16(floor, path);
    EXPECT_EQ(LoadXref(session, path, name, 255), 0);
    EXPECT_EQ(std::u16string(name), u"floor");
    EXPECT_EQ(LoadXref(session, path, name, 4), 0);
    EXPECT_EQ(std::u16string(name), u"flo");
    EXPECT_TRUE(host.messages().empty());
}

TEST_F(XrefCommandTest, BrowseAppendsTheFilesBlocksAndChoosesTheFirstEntry) {
    mmInsertBlockList list;
    list.names = {u"TREE"};
    host.queueOpenFiles({floor});
    ASSERT_TRUE(BrowseInsertBlocks(session, list));
    EXPECT_EQ(host.fileDialogs()[0].filter, "Drawing files|*.dxf");
    EXPECT_EQ(list.names, (std::vector<std::u16string>{u"TREE", u"WINDOW", u"DOOR"}));
    EXPECT_EQ(list.selected, 0);
    EXPECT_EQ(list.chosenName, u"TREE");
    // Nothing of the ENTITIES section is read.
    EXPECT_TRUE(session.drawing.entities.empty());
    EXPECT_FALSE(BrowseInsertBlocks(session, list));  // cancelled
    host.queueOpenFiles({dir.file("missing.dxf")});
    EXPECT_FALSE(BrowseInsertBlocks(session, list));
    EXPECT_EQ(message(), kCantMakeBlock);
    EXPECT_EQ(list.names.size(), 3u);
}

}  // namespace

// The block insert dialog offers the named blocks in id order; its coordinate fields are read
// as the C library reads numbers, 39 characters at most.
TEST(InsertBlockDialog, NamesAndCoordinateFields) {
    mmDrawing d;
    FillNewDrawing(d);
    AddBlock(d, CreateBlock(5, 0, 0, 0, u"WINDOW"));
    AddBlock(d, CreateBlock(2, 0, 0, 0, u"DOOR"));
    AddBlock(d, CreateBlock(3, 0, 0, kBlockAnonymous, u"*D3"));
    const mmInsertBlockList list = InsertDialogBlockList(d);
    ASSERT_EQ(list.names.size(), 2u);
    EXPECT_EQ(list.names[0], u"DOOR");
    EXPECT_EQ(list.names[1], u"WINDOW");
    EXPECT_EQ(list.chosenName, u"DOOR");

    const struct {
        std::u16string text;
        double value;
    } fields[] = {{u"12.5", 12.5}, {u"abc", 0.0}, {u"  -3e2x", -300.0}, {u"", 0.0},
                  {std::u16string(38, u' ') + u"45", 4.0}};
    for (const auto& f : fields) EXPECT_EQ(InsertDialogCoordinate(f.text), f.value);
}
