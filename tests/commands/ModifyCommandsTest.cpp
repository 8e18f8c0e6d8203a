// TRIM, EXTEND, OFFSET, SENDBACK and BRINGFRONT through the interpreter and the view: prompts,
// results, and UNDO and REDO giving back exactly the drawing before and after each command.
#include <cmath>

#include "commands/CommandTable.h"
#include "commands/DrawingState.h"
#include "commands/PointerTestSupport.h"
#include "commands/Undo.h"
#include "entities/Line.h"
#include "entities/Polyline.h"
#include "entities/RecordingDrawContext.h"

namespace {

class Modify : public PointerTest {
protected:
    void pline(std::initializer_list<mmVertex> points) {
        type(u"pline");
        for (const mmVertex& p : points)
            type(coordinates(p.x, p.y));
        type(u"");
    }
    mmPolyline& poly(std::size_t i) { return dynamic_cast<mmPolyline&>(at(i)); }
    std::string state() const { return DrawingState(session.drawing); }

    // UNDO gives back the drawing as it was before the command, REDO as it was after; the
    // indexes follow both.
    void expectUndoRestores(const std::string& before) {
        const std::string after = state();
        ASSERT_NE(after, before);
        type(u"undo");
        EXPECT_EQ(state(), before);
        EXPECT_TRUE(session.drawing.spatialIndex.Matches(session.drawing.entities));
        type(u"redo");
        EXPECT_EQ(state(), after);
        EXPECT_TRUE(session.drawing.spatialIndex.Matches(session.drawing.entities));
    }

    // Picks the edge, then the objects by picks, then Enter.
    void edgeCommand(std::u16string_view name, const mmVertex& edgeAt,
                     std::initializer_list<mmVertex> objectsAt) {
        type(name);
        pickAt(edgeAt);
        for (const mmVertex& p : objectsAt)
            pickAt(p);
        type(u"");
    }
    void pickAt(const mmVertex& p) {
        run("!pick " + std::to_string(p.x) + "," + std::to_string(p.y));
    }
    static void expectPoint(const mmVertex& v, double x, double y) {
        EXPECT_NEAR(v.x, x, 1e-9);
        EXPECT_NEAR(v.y, y, 1e-9);
    }
};

constexpr char kEdgePrompt[] = "Select edge object: ";

}  // namespace

TEST_F(Modify, TrimCutsBothEndSegmentsAtTheEdge) {
    pline({{20, 0}, {20, 40}});                       // the edge
    pline({{10, 20}, {30, 20}, {30, 30}, {10, 30}});  // crosses it with both end segments
    const std::string before = state();
    const std::size_t historyBefore = history().size();
    edgeCommand(u"trim", {20, 5}, {{30, 25}});
    EXPECT_EQ(history().substr(historyBefore),
              std::string("\r\n> trim\r\n") + kEdgePrompt + "\r\nSelect objects to trim: ");
    EXPECT_EQ(model().commandId, 0);
    expectPoint(poly(1).points[0], 20, 20);
    expectPoint(poly(1).points[3], 20, 30);
    expectPoint(poly(1).points[1], 30, 20);
    expectPoint(poly(0).points[0], 20, 0);  // the edge stays
    expectUndoRestores(before);
}

TEST_F(Modify, TrimWithAnEdgeCrossingOnlyTheMiddleLeavesTheTarget) {
    pline({{0, 10}, {10, 10}, {10, 20}, {20, 20}, {20, 10}, {30, 10}});
    pline({{15, 0}, {15, 40}});
    const std::string before = state();
    const int steps = session.drawing.undoCount;
    edgeCommand(u"trim", {15, 5}, {{5, 10}});
    EXPECT_EQ(state(), before);
    EXPECT_EQ(session.drawing.undoCount, steps);  // nothing changed, nothing to undo
}

// A polyline of one segment is both the first and the last: TRIM cut it at its start and then at
// its end, onto the same point; EXTEND likewise after lengthening it.
TEST_F(Modify, OneSegmentPolylineIsNotShrunkToAPoint) {
    const struct {
        std::u16string_view command;
        mmVertex start, end, pickAt, expectedStart, expectedEnd;
    } cases[] = {
        {u"TRIM", {10, 20}, {30, 20}, {27, 20}, {20, 20}, {30, 20}},
        {u"extend", {5, 20}, {12, 20}, {8, 20}, {5, 20}, {20, 20}},
    };
    pline({{20, 0}, {20, 40}});
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8(c.command));
        pline({c.start, c.end});
        edgeCommand(c.command, {20, 5}, {c.pickAt});
        const mmPolyline& target = dynamic_cast<mmPolyline&>(*session.drawing.entities.back());
        expectPoint(target.points[0], c.expectedStart.x, c.expectedStart.y);
        expectPoint(target.points[1], c.expectedEnd.x, c.expectedEnd.y);
    }
}

// The edge, still selected from its pick, was cut against itself.
TEST_F(Modify, TheEdgeAmongTheObjectsIsNotCut) {
    pline({{0, 0}, {10, 10}, {20, 0}});
    const std::string before = state();
    edgeCommand(u"trim", {5, 5}, {});
    EXPECT_EQ(state(), before);
}

TEST_F(Modify, OnlyPolylinesAreEdgesAndTargets) {
    line(15, 0, 15, 40);
    pline({{10, 20}, {30, 20}, {30, 30}});
    pline({{20, 0}, {20, 40}});
    line(10, 35, 30, 35);
    const std::string before = state();
    edgeCommand(u"trim", {15, 5}, {{25, 20}});  // a line as the edge
    edgeCommand(u"trim", {20, 5}, {{25, 35}});  // a line as the target
    EXPECT_EQ(state(), before);
}

TEST_F(Modify, AnEmptyLineInsteadOfAnEdgeEndsTheCommand) {
    type(u"extend");
    EXPECT_EQ(model().cursorMode, kCursorSelect);
    EXPECT_FALSE(model().showGrips);
    type(u"");
    EXPECT_EQ(model().commandId, 0);
    EXPECT_TRUE(model().showGrips);
}

TEST_F(Modify, ExtendReachesAnEdgeFarAway) {
    // The edge's last segment lies five million units away, on the line of the target's end.
    pline({{40, 70}, {40, 60}, {5000000, 60}, {5000000, -100}});
    pline({{5, 0}, {5, 50}});
    pline({{10, 30}, {20, 30}, {20, 10}, {30, 10}});
    const std::string before = state();
    edgeCommand(u"extend", {40, 65}, {{20, 20}});
    EXPECT_EQ(history().substr(history().size() - 28), "\r\nSelect objects to extend: ");
    expectPoint(poly(2).points[3], 5000000, 10);
    expectPoint(poly(2).points[0], 10, 30);  // nothing of this edge lies beyond the start
    expectUndoRestores(before);

    edgeCommand(u"extend", {5, 45}, {{20, 20}});
    expectPoint(poly(2).points[0], 5, 30);
    expectPoint(poly(2).points[3], 5000000, 10);
}

TEST_F(Modify, OffsetPromptsAndUndo) {
    pline({{10, 10}, {30, 10}, {30, 30}});
    const std::string before = state();
    const std::size_t historyBefore = history().size();
    type(u"offset");
    type(u"2");
    EXPECT_EQ(model().cursorMode, kCursorSelect);
    EXPECT_TRUE(model().commandSelecting);
    pickAt({20, 10});
    EXPECT_EQ(model().cursorMode, kCursorPoint);
    type(u"20,20");
    EXPECT_EQ(history().substr(historyBefore),
              "\r\n> offset\r\nSpecify offset distance or [Through]: 2\r\nSpecify object to "
              "offset: \r\nSpecify point on side to offset: 20,20");
    ASSERT_EQ(session.drawing.entities.size(), 2u);
    const mmPolyline& copy = poly(1);
    EXPECT_EQ(copy.id, 1);
    EXPECT_FALSE(copy.selected);
    expectPoint(copy.points[0], 10, 12);
    expectPoint(copy.points[1], 28, 12);
    expectPoint(copy.points[2], 28, 30);
    expectUndoRestores(before);
}

TEST_F(Modify, OffsetPreviewShowsTheCopyForTheCursorSide) {
    pline({{10, 10}, {30, 10}});
    type(u"offset");
    type(u"2");
    pickAt({20, 10});
    const auto firstVertexOfPreview = [&](double y) {
        mmRecordingDrawContext dc;
        model().commandPreview->DrawPreview(dc, model(), 20, y);
        return dc.primitives.empty() ? mmVertex(0, 0) : dc.primitives[0].vertices.at(0);
    };
    const mmOriginOffset& o = model().originOffset;
    EXPECT_NEAR(firstVertexOfPreview(15).y + o.y, 12, 1e-9);
    EXPECT_NEAR(firstVertexOfPreview(5).y + o.y, 8, 1e-9);
    EXPECT_EQ(session.drawing.entities.size(), 1u);
}

TEST_F(Modify, OffsetThroughReadsAsZeroAndLiesOnTheSource) {
    type(u"pline");
    type(u"10,10");
    type(u"a");
    run("!pick 20,20");  // a tangent arc leaving +x
    type(u"");
    type(u"offset");
    type(u"T");
    pickAt({17.0711, 12.9289});  // the middle of the arc
    run("!pick 15,5");
    ASSERT_EQ(session.drawing.entities.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        expectPoint(poly(1).points[i], poly(0).points[i].x, poly(0).points[i].y);
        EXPECT_NEAR(poly(1).bulges[i], poly(0).bulges[i], 1e-9);
    }
}

TEST_F(Modify, OffsetOfANonPolylineGivesNothing) {
    line(0, 0, 20, 0);
    type(u"offset");
    type(u"3");
    pickAt({10, 0});
    type(u"10,5");
    EXPECT_EQ(session.drawing.entities.size(), 1u);
    EXPECT_EQ(session.drawing.undoCount, 1);
}

TEST_F(Modify, SendBackDrawsItFirstAndGrowsTheList) {
    for (int i = 0; i < 3; ++i)
        line(0, 10, 20, 10 + i);
    const std::string before = state();
    const mmObjectPtr third = session.drawing.entities[2];
    select(2);
    const std::size_t historyBefore = history().size();
    type(u"sendback");
    EXPECT_EQ(history().substr(historyBefore), "\r\n> sendback");  // acts at once, no prompt
    EXPECT_EQ(model().commandId, 0);
    const mmEntityList& list = session.drawing.entities;
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0]->id, 2);
    EXPECT_FALSE(list[0]->erased);
    EXPECT_EQ(list[3], third);
    EXPECT_TRUE(third->erased);
    EXPECT_EQ(FindEntity(session.drawing, 2), list[0]);
    EXPECT_EQ(SelectionCount(session), 0u);
    expectUndoRestores(before);
    type(u"undo");
    EXPECT_EQ(FindEntity(session.drawing, 2), third);
    EXPECT_FALSE(third->erased);
}

TEST_F(Modify, BringFrontWithoutASelectionAsksForOne) {
    for (int i = 0; i < 3; ++i)
        line(0, 10, 20, 10 + 5 * i);
    const std::string before = state();
    type(u"bringfront");
    EXPECT_EQ(inputLine(), "Select object(s) to bring to front: ");
    EXPECT_EQ(model().cursorMode, kCursorSelect);
    pickAt({19, 10});  // the first line
    type(u"");
    const mmEntityList& list = session.drawing.entities;
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[3]->id, 0);
    EXPECT_TRUE(list[0]->erased);
    EXPECT_EQ(FindEntity(session.drawing, 0), list[3]);
    expectUndoRestores(before);
}

// The id of an entity brought to the front referred to its erased entry after the list was
// indexed again.
TEST_F(Modify, ReindexingFindsTheEntryShown) {
    for (int i = 0; i < 2; ++i)
        line(0, 10, 20, 10 + i);
    select(0);
    type(u"bringfront");
    ReindexSpace(session.drawing);
    EXPECT_EQ(FindEntity(session.drawing, 0), session.drawing.entities[2]);
}
