// BLOCK, INSERT and HATCH through the interpreter and the view: prompts, messages, what they
// make, and UNDO and REDO giving back the drawing before and after each.
#include "commands/CommandTable.h"
#include "commands/DrawingState.h"
#include "commands/PointerTestSupport.h"
#include "commands/ShellEvents.h"
#include "commands/Undo.h"
#include "entities/BlockRef.h"
#include "entities/Hatch.h"
#include "entities/Line.h"
#include "entities/RecordingDrawContext.h"
#include "platform/Unicode.h"

namespace {

class Blocks : public PointerTest {
protected:
    std::string state() const { return DrawingState(session.drawing); }
    std::string tail(std::size_t from) const { return history().substr(from); }
    // The last line of the history.
    std::string lastLine() const { return history().substr(history().rfind("\r\n") + 2); }

    void expectUndoRestores(const std::string& before) {
        const std::string after = state();
        ASSERT_NE(after, before);
        type(u"undo");
        EXPECT_EQ(state(), before);
        type(u"redo");
        EXPECT_EQ(state(), after);
        EXPECT_TRUE(session.drawing.spatialIndex.Matches(session.drawing.entities));
    }

    // Two lines selected, a block of them with base point (10, 10).
    void makeBlock(std::u16string_view name) {
        type(u"block");
        run("!pick 15,10");
        run("!pick 15,20");
        type(u"");
        type(u"10,10");
        type(name);
    }
    void drawTwoLines() {
        line(10, 10, 20, 10);
        line(10, 20, 20, 20);
    }
    mmBlockPtr block(std::u16string_view name) {
        return FindBlockByName(session.drawing.blocks, name);
    }
};

}  // namespace

TEST_F(Blocks, BlockCopiesTheSelectionRelativeToTheBasePoint) {
    drawTwoLines();
    const std::string before = state();
    const std::size_t from = history().size();
    makeBlock(u"Pair");
    EXPECT_EQ(tail(from),
              "\r\n> block\r\nSelect objects to make block: \r\nSpecify block base point: "
              "10,10\r\nSpecify block name: Pair");
    const mmBlockPtr pair = block(u"Pair");
    ASSERT_NE(pair, nullptr);
    ASSERT_EQ(pair->entities.size(), 2u);
    EXPECT_EQ(pair->entities[1]->points[1].x, 10.0);  // (20, 20) from the base point
    EXPECT_EQ(pair->entities[1]->points[1].y, 10.0);
    EXPECT_FALSE(pair->entities[0]->selected);
    EXPECT_EQ(session.drawing.entities.size(), 2u);  // the lines stay
    EXPECT_EQ(SelectionCount(session), 0u);
    EXPECT_TRUE(model().showGrips);
    expectUndoRestores(before);
}

TEST_F(Blocks, BlockWithAnExistingNameLeavesNoNewBlock) {
    drawTwoLines();
    makeBlock(u"Pair");
    const std::size_t blocks = session.drawing.blocks.size();
    const int steps = session.drawing.undoCount;
    makeBlock(u"Pair");
    EXPECT_EQ(lastLine(), "Error: Block with that name already exists!");
    EXPECT_EQ(session.drawing.blocks.size(), blocks);
    EXPECT_EQ(session.drawing.undoCount, steps);
    makeBlock(u"pair");  // names are compared exactly
    EXPECT_EQ(session.drawing.blocks.size(), blocks + 1);
}

TEST_F(Blocks, EmptyLinesAfterTheSelectionLeaveWithoutABlock) {
    drawTwoLines();
    type(u"block");
    type(u"");
    type(u"");  // no base point
    EXPECT_EQ(model().commandId, 0);
    type(u"block");
    type(u"");
    type(u"0,0");
    type(u"");  // no name
    EXPECT_EQ(model().commandId, 0);
    EXPECT_TRUE(session.drawing.blocks.empty());
}

TEST_F(Blocks, InsertPlacesTheBlockTwice) {
    drawTwoLines();
    makeBlock(u"Pair");
    const std::string before = state();
    const std::size_t from = history().size();
    type(u"insert");
    type(u"Pair");
    run("!pick 50,40");
    EXPECT_EQ(tail(from),
              "\r\n> insert\r\nType block name or [Display 'Block Insert Dialog' (hit enter)]: "
              "Pair\r\nSpecify point to insert block reference: 50.0000,40.0000,0.0000");
    ASSERT_EQ(session.drawing.entities.size(), 3u);
    auto& ref = dynamic_cast<mmBlockRef&>(*session.drawing.entities[2]);
    EXPECT_EQ(ref.blockName, u"Pair");
    EXPECT_EQ(ref.children.size(), 2u);
    EXPECT_EQ(ref.extents.minX, 50.0);
    EXPECT_EQ(ref.extents.maxY, 50.0);
    expectUndoRestores(before);

    type(u"insert");
    type(u"Pair");
    mmRecordingDrawContext dc;  // the block follows the cursor before it is placed
    model().commandPreview->DrawPreview(dc, model(), 0, 40);
    ASSERT_EQ(dc.primitives.size(), 2u);
    EXPECT_EQ(dc.primitives[1].vertices[1].x + model().originOffset.x, 10.0);
    EXPECT_EQ(dc.primitives[1].vertices[1].y + model().originOffset.y, 50.0);
    type(u"0,40");
    EXPECT_EQ(session.drawing.entities.size(), 4u);
}

TEST_F(Blocks, InsertOfAMissingNameOrNoName) {
    for (std::u16string_view name : {u"Nothing", u""}) {
        type(u"insert");
        type(name);
        EXPECT_EQ(lastLine(), "Error: Block definition for given name does not exist!");
        EXPECT_EQ(model().commandId, 0);
    }
    EXPECT_TRUE(session.drawing.entities.empty());
}

namespace {

// The window's insert dialog, answered by the test: the choice, or Cancel when there is none.
class DialogAnswer : public mmShellEvents {
public:
    std::optional<mmInsertBlockChoice> answer;
    std::vector<std::u16string> offered;
    bool ShowsDialogs() const override { return true; }
    std::optional<mmInsertBlockChoice> InsertBlockDialog(mmInsertBlockList& list) override {
        offered = list.names;
        return answer;
    }
};

}  // namespace

// Enter at the name opens the dialog: OK with a point inserts there at once, OK with the
// on-screen option asks for the point, Cancel looks up the empty name.
TEST_F(Blocks, InsertWithNoNameOpensTheDialog) {
    drawTwoLines();
    makeBlock(u"Pair");
    DialogAnswer dialog;
    session.SetShellEvents(&dialog);
    dialog.answer = mmInsertBlockChoice{u"Pair", 50.0, 40.0, 0.0, false};
    type(u"insert");
    type(u"");
    EXPECT_EQ(dialog.offered, std::vector<std::u16string>{u"Pair"});
    EXPECT_EQ(model().commandId, 0);
    ASSERT_EQ(session.drawing.entities.size(), 3u);
    const auto& ref = dynamic_cast<const mmBlockRef&>(*session.drawing.entities[2]);
    EXPECT_EQ(ref.blockName, u"Pair");
    EXPECT_EQ(ref.extents.minX, 50.0);
    EXPECT_EQ(ref.extents.maxY, 50.0);

    dialog.answer->specifyOnScreen = true;
    type(u"insert");
    type(u"");
    EXPECT_EQ(model().step, 2);  // the point is asked for
    type(u"0,40");
    EXPECT_EQ(session.drawing.entities.size(), 4u);

    dialog.answer.reset();
    type(u"insert");
    type(u"");
    EXPECT_EQ(lastLine(), "Error: Block definition for given name does not exist!");
    EXPECT_EQ(session.drawing.entities.size(), 4u);
    session.SetShellEvents(nullptr);
}

TEST_F(Blocks, HatchOfAClosedPolyline) {
    type(u"rectangle");
    type(u"10,10");
    type(u"30,20");
    const std::string before = state();
    const std::size_t from = history().size();
    type(u"hatch");
    EXPECT_EQ(model().cursorMode, kCursorSelect);
    run("!pick 20,10");
    type(u"");
    EXPECT_EQ(inputLine(), "Specify pattern name: <SOLID>");
    EXPECT_EQ(SelectionCount(session), 0u);
    type(u"");
    EXPECT_EQ(tail(from),
              "\r\n> hatch\r\nSelect objects to make hatch: \r\nSpecify pattern name: <SOLID>");
    auto& h = dynamic_cast<mmHatch&>(*session.drawing.entities[1]);
    ASSERT_EQ(h.loops.size(), 1u);
    ASSERT_EQ(h.loops[0]->size(), 1u);
    EXPECT_EQ(h.points[0].x, 20.0);  // the centre of the boundary
    EXPECT_EQ(h.points[0].y, 15.0);
    EXPECT_EQ((*h.loops[0])[0]->points[0].x, -10.0);
    expectUndoRestores(before);
}

TEST_F(Blocks, HatchPatternNames) {
    type(u"rectangle");
    type(u"10,10");
    type(u"30,20");
    for (std::u16string_view name : {u"ANSI31", u"solid"}) {
        type(u"hatch");
        select(0);
        type(u"");
        type(name);
        EXPECT_EQ(lastLine(), name == u"solid" ? "Specify pattern name: <SOLID>solid"
                                               : "Error: Pattern does not exist!");
        EXPECT_EQ(model().commandId, 0);
    }
    EXPECT_EQ(session.drawing.entities.size(), 3u);  // two solid hatches
}

TEST_F(Blocks, HatchTakesReferencesWithoutContentsAndSkipsOtherKinds) {
    drawTwoLines();
    makeBlock(u"Pair");
    type(u"insert");
    type(u"Pair");
    type(u"50,40");
    type(u"text");
    type(u"Label");
    type(u"0,40");
    type(u"");
    type(u"");
    type(u"circle");
    type(u"40,10");
    type(u"5");
    type(u"hatch");  // clears the selection: the objects are selected while it runs
    for (std::size_t i = 0; i < 5; ++i)
        select(i);
    type(u"");
    type(u"");
    auto& h = dynamic_cast<mmHatch&>(*session.drawing.entities.back());
    ASSERT_EQ(h.loops[0]->size(), 4u);  // two lines, the reference and the circle
    const auto& ref = dynamic_cast<const mmBlockRef&>(*(*h.loops[0])[2]);
    EXPECT_TRUE(ref.children.empty());
    EXPECT_TRUE(ref.points.empty());
}

TEST_F(Blocks, HatchOfNothingLeavesNoHatch) {
    type(u"text");
    type(u"Label");
    type(u"0,40");
    type(u"");
    type(u"");
    const std::string before = state();
    type(u"hatch");
    select(0);
    type(u"");
    EXPECT_EQ(model().commandId, 0);
    EXPECT_EQ(state(), before);
    type(u"hatch");
    type(u"");
    EXPECT_EQ(state(), before);
}
