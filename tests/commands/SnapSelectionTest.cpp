// Object snap, selection and erasing driven through the view's mouse and keys: the snap kinds and
// the cursor pull, which classes take which modes, snap off with selected grips, picks on
// overlapping entities, window and crossing selection with Shift, single-pick mode, the snap
// toggles, and erase with undo.
#include <cmath>

#include "commands/CommandTable.h"
#include "commands/GripEdit.h"
#include "commands/MenuCommands.h"
#include "commands/ObjectSnap.h"
#include "commands/PointerTestSupport.h"
#include "commands/Undo.h"
#include "commands/ViewInput.h"
#include "entities/Line.h"

namespace {

class Snap : public PointerTest {};

struct SnapEvents : mmShellEvents {
    std::vector<bool> toggles;
    void SnapToggled(bool on) override { toggles.push_back(on); }
};

}  // namespace

TEST_F(Snap, MarkerAtEightPixelsAndTheCursorPulledAtFour) {
    line(0, 0, 20, 0);
    type(u"line");
    moveNear(20, 0, 8);
    EXPECT_TRUE(model().snapMarkerShown);
    EXPECT_EQ(model().snapInfo.kind, kSnapEndpoint);
    EXPECT_EQ(model().cursorPixelX, pixel(20, 0).first + 8);  // not moved
    EXPECT_NE(utf8(model().CoordinateText()), "20.0000, 0.0000");

    moveNear(20, 0, 4);
    EXPECT_EQ(model().snapInfo.kind, kSnapEndpoint);
    EXPECT_EQ(model().cursorPixelX, pixel(20, 0).first);
    EXPECT_EQ(utf8(model().CoordinateText()), "20.0000, 0.0000");
    // With the default modes the line's segment is offered away from its grips too.
    moveNear(6, 0, 0, 2);
    EXPECT_EQ(model().snapInfo.kind, kSnapNearest);
    moveNear(20, 0, 4);
    click();
    EXPECT_NE(history().find("Specify first point (pick point or type coordinates): "
                             "20.0000,0.0000,0.0000"),
              std::string::npos)
        << history();
    EXPECT_EQ(model().lastPoint.x, 20.0);
}

// Each segment kind with the cursor a few pixels off, during LINE after a first point at
// (0, -20), with the endpoint bit off: a line's segment is tried only where its grip is not.
TEST_F(Snap, SegmentKindsAndWhereTheyPutThePoint) {
    line(10, 0, 40, 30);  // crosses the next one at (70/3, 40/3)
    line(30, 0, 10, 40);
    line(60, -25, 60, 40);  // the perpendicular foot from (0, -20) is (60, -20)
    ToggleSnapMode(session, menu::kSnapEndpoint);
    type(u"line");
    type(u"0,-20");
    struct Case {
        double x, y;
        int dx, dy;
        int kind;
        double atX, atY;  // where the result is
    } cases[] = {
        {70.0 / 3, 40.0 / 3, 3, 2, kSnapIntersection, 70.0 / 3, 40.0 / 3},
        {60, -20, 2, 1, kSnapPerpendicular, 60, -20},
        {60, 20, 2, 0, kSnapNearest, 60, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        moveNear(c.x, c.y, c.dx, c.dy);
        EXPECT_EQ(model().snapInfo.kind, c.kind);
        // A nearest point is the cursor's foot on the segment, a pixel from the one asked for.
        const double near = c.kind == kSnapNearest ? 0.3 : 0.01;
        EXPECT_NEAR(model().snapInfo.x + session.originOffset.x, c.atX, near);
        EXPECT_NEAR(model().snapInfo.y + session.originOffset.y, c.atY, near);
        // Discrete results this close pull the cursor; a nearest result does not.
        const bool pulled = model().cursorPixelX == model().snapInfo.screenX;
        EXPECT_EQ(pulled, c.kind != kSnapNearest);
    }
    // The click takes the nearest point all the same.
    EXPECT_EQ(ViewPickPoint(session).x, model().snapInfo.x + session.originOffset.x);
    EXPECT_NE(model().CursorInDrawing().x, ViewPickPoint(session).x);
}

TEST_F(Snap, CircleAndTextTakeOnlyTheEndpointBit) {
    type(u"circle");
    type(u"50,40");
    type(u"10");
    line(0, 0, 20, 0);
    type(u"line");
    moveNear(60, 40, 2);  // the circle's east grip
    EXPECT_EQ(model().snapInfo.kind, kSnapEndpoint);
    moveNear(50 + 10 * std::cos(0.5), 40 + 10 * std::sin(0.5), 1);  // on the outline, no grip
    EXPECT_EQ(model().snapInfo.kind, kSnapNone);

    ToggleSnapMode(session, menu::kSnapEndpoint);  // nearest, intersection, perpendicular left
    moveNear(60, 40, 2);
    EXPECT_EQ(model().snapInfo.kind, kSnapNone);
    EXPECT_FALSE(model().snapFound);
    moveNear(10, 0, 0, 2);  // the line still snaps, to its nearest point
    EXPECT_EQ(model().snapInfo.kind, kSnapNearest);
}

TEST_F(Snap, OffStillHoversAndDragsTheGripsOfSelectedEntities) {
    SnapEvents events;
    session.SetShellEvents(&events);
    line(0, 0, 20, 0);
    line(0, 10, 20, 10);
    run("!key F3");
    EXPECT_FALSE(session.snap.on);
    EXPECT_EQ(events.toggles, std::vector<bool>{false});

    type(u"line");  // unselected entities are not snapped with snap off
    moveNear(20, 10, 1);
    EXPECT_EQ(model().snapInfo.kind, kSnapNone);
    EXPECT_EQ(model().cursorPixelX, pixel(20, 10).first + 1);
    run("!key Escape");
    EXPECT_EQ(model().commandId, 0);

    select(0);
    moveNear(20, 0, 3);
    EXPECT_TRUE(model().snapFound);
    EXPECT_TRUE(at(0).grips[2].hover);
    EXPECT_EQ(model().hotGripIndex, 2);
    EXPECT_EQ(model().cursorPixelX, pixel(20, 0).first);  // pulled onto the grip
    EXPECT_FALSE(model().snapMarkerShown);
    moveNear(20, 0, 12);  // off the grip: the hover goes with the cursor
    EXPECT_FALSE(at(0).grips[2].hover);
    EXPECT_FALSE(model().snapFound);

    moveNear(20, 0, 2);
    click();
    EXPECT_EQ(model().commandId, cmd::kGripEdit);
    EXPECT_TRUE(at(0).grips[2].hot);
    run("!pick 30,5");
    EXPECT_EQ(model().commandId, 0);
    EXPECT_EQ(at(0).points[1].x, 30.0);
    EXPECT_EQ(at(0).points[1].y, 5.0);
    EXPECT_FALSE(at(0).grips[2].hot);
    EXPECT_TRUE(session.drawing.spatialIndex.Matches(session.drawing.entities));
    type(u"undo");
    EXPECT_EQ(at(0).points[1].x, 20.0);
    type(u"redo");
    EXPECT_EQ(at(0).points[1].x, 30.0);
    session.SetShellEvents(nullptr);
}

TEST_F(Snap, EscapeAndAnEmptyLineLeaveADraggedGripWhereItWas) {
    line(0, 0, 20, 0);
    select(0);
    moveNear(0, 0, 1);
    click();
    ASSERT_EQ(model().commandId, cmd::kGripEdit);
    moveNear(5, 5, 0);
    run("!key Escape");
    EXPECT_EQ(model().commandId, 0);
    EXPECT_EQ(at(0).points[0].x, 0.0);
    EXPECT_FALSE(at(0).grips[0].hot);
    EXPECT_FALSE(CanRedo(session.drawing));
    EXPECT_EQ(session.drawing.undoCount, 1);  // the line's creation only
}

TEST_F(Snap, TogglesFlipTheirBitAndShowTheirCheckMarks) {
    EXPECT_TRUE(session.snap.on);
    for (const int32_t id : {menu::kSnapEndpoint, menu::kSnapPerpendicular, menu::kSnapIntersection,
                             menu::kSnapNearest}) {
        EXPECT_TRUE(SnapModeChecked(session, id));
        EXPECT_TRUE(ToggleSnapMode(session, id));
        EXPECT_FALSE(SnapModeChecked(session, id));
    }
    EXPECT_EQ(session.snap.modes, 0);
    EXPECT_FALSE(ToggleSnapMode(session, menu::kUndo));
    // With every mode off but the switch on, a running command snaps to nothing.
    line(0, 0, 20, 0);
    type(u"line");
    moveNear(20, 0, 1);
    EXPECT_EQ(model().snapInfo.kind, kSnapNone);
    run("!key Escape");
    session.commandLine.InputKey(mmKey::F3);
    EXPECT_FALSE(session.snap.on);
    run("!key F3");
    EXPECT_TRUE(session.snap.on);
}

TEST_F(Snap, ThePickTakesTheLaterOfTwoOverlappingAndShiftDeselects) {
    line(0, 0, 20, 0);
    line(0, 0, 20, 0);
    run("!pick 5,0");
    EXPECT_FALSE(selected(0));
    EXPECT_TRUE(selected(1));
    EXPECT_EQ(SelectionCount(session), 1u);
    EXPECT_FALSE(model().selectionWindowStarted);
    run("!shiftpick 5,0");  // away from its grips, which a click would drag
    EXPECT_FALSE(selected(1));
    EXPECT_EQ(SelectionCount(session), 0u);
    EXPECT_EQ(model().selectedTotal, 0);
    run("!pick 10,30");  // nothing there: a window begins
    EXPECT_TRUE(model().selectionWindowStarted);
    run("!key Escape");
    EXPECT_FALSE(model().selectionWindowStarted);
}

TEST_F(Snap, AWindowTakesWhatIsInsideACrossingAlsoWhatItCrosses) {
    line(10, 10, 20, 10);  // inside
    line(15, 15, 50, 15);  // crosses the right edge
    line(60, 60, 70, 70);  // outside
    run("!pick 5,5");
    run("!pick 30,20");  // left to right: a window
    EXPECT_TRUE(selected(0));
    EXPECT_FALSE(selected(1));
    EXPECT_FALSE(selected(2));
    run("!key Escape");
    EXPECT_EQ(SelectionCount(session), 0u);

    run("!pick 30,20");
    run("!pick 5,5");  // right to left: crossing
    EXPECT_TRUE(selected(0));
    EXPECT_TRUE(selected(1));
    EXPECT_FALSE(selected(2));

    run("!shiftpick 25,5");
    run("!shiftpick 5,12");  // a crossing window with Shift deselects what it takes
    EXPECT_FALSE(selected(0));
    EXPECT_TRUE(selected(1));
}

TEST_F(Snap, SinglePickModeTakesOneObjectAndSubmitsAnEmptyPickedLine) {
    line(0, 0, 20, 0);
    mmView& v = model();
    type(u"trim");  // a command that asks for one object
    ASSERT_TRUE(v.commandSelecting);
    run("!pick 10,30");  // nothing there: nothing happens, no window
    EXPECT_FALSE(v.selectionWindowStarted);
    EXPECT_EQ(session.pendingEntity, nullptr);
    run("!pick 10,0");
    EXPECT_TRUE(selected(0));
    EXPECT_EQ(session.pendingEntity.get(), &at(0));
    EXPECT_TRUE(history().ends_with("\r\nSelect edge object: ")) << history();
}

TEST_F(Snap, EraseThenUndoRestoresExactlyTheErasedEntities) {
    line(0, 0, 10, 0);
    line(0, 5, 10, 5);
    line(0, 10, 10, 10);
    line(50, 50, 60, 60);
    const int steps = session.drawing.undoCount;
    run("!key Delete");  // nothing selected: nothing recorded
    EXPECT_EQ(session.drawing.undoCount, steps);

    run("!pick -5,-5");
    run("!pick 15,15");
    EXPECT_EQ(SelectionCount(session), 3u);
    session.modified = false;
    run("!key Delete");
    EXPECT_EQ(liveCount(), 1u);
    EXPECT_FALSE(at(3).erased);
    EXPECT_EQ(SelectionCount(session), 0u);
    EXPECT_TRUE(session.modified);
    run("!pick 5,5");  // erased entities are not picked
    EXPECT_EQ(SelectionCount(session), 0u);
    run("!key Escape");

    type(u"undo");
    EXPECT_EQ(liveCount(), 4u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_FALSE(at(i).selected);
        EXPECT_EQ(at(i).points[0].y, 5.0 * static_cast<double>(i));
    }
    type(u"redo");
    EXPECT_EQ(liveCount(), 1u);

    // The context menu's item erases too.
    type(u"undo");
    select(3);
    ChooseContextMenuItem(session, mmMenuAction::Delete);
    EXPECT_TRUE(at(3).erased);
    EXPECT_EQ(liveCount(), 3u);
}

TEST_F(Snap, ScriptLinesReportWhatIsWrongWithThem) {
    EXPECT_EQ(RunPointerScriptLine(session, "!move 1"), "a move is written !move X,Y");
    EXPECT_EQ(RunPointerScriptLine(session, "!pick a,b"), "a pick is written !pick X,Y");
    EXPECT_EQ(RunPointerScriptLine(session, "!key Tab"),
              "unknown key \"Tab\" (keys: Delete, Escape, F3, Return, Space, Backspace)");
    EXPECT_FALSE(RunPointerScriptLine(session, "!picky 1,2").has_value());
    EXPECT_FALSE(RunPointerScriptLine(session, "line").has_value());
}
