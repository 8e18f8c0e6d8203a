// PLINE and RECTANGLE: transcripts, segments and bulges, closing, rejected points, undo records
// and previews.
#include <cmath>

#include "commands/CommandTable.h"
#include "commands/CommandTestSupport.h"
#include "entities/Arc.h"
#include "entities/DrawContext.h"
#include "entities/Polyline.h"
#include "entities/RecordingDrawContext.h"

namespace {

constexpr char kFirst[] = "Specify first point: ";
constexpr char kNext[] = "Specify next point or [Arc/Close/Exit]: ";
constexpr char kTypedNext[] = "Insert or type next point: ";
constexpr char kArc[] = "Specify endpoint of arc or [Second pt/Line/clOse/Exit]: ";
constexpr char kSecond[] = "Specify second point of arc: ";
constexpr char kArcEnd[] = "Specify endpoint of arc: ";
constexpr char kFirstCorner[] = "Specify first corner (pick point or type coordinates): ";
constexpr char kSecondCorner[] = "Specify second corner of rectangle: ";

const double kQuarter = std::tan(M_PI / 8);  // bulge of a quarter circle

class PolylineCommands : public CommandTest {
protected:
    mmPolyline& polyline(std::size_t i = 0) { return entity<mmPolyline>(i); }
    std::string prompt() const { return utf8(session.commandLine.prompt); }
    std::string lastLine() const {
        const std::string h = history();
        return h.substr(h.rfind('\n') + 1);
    }
    mmRecordingDrawContext preview(double x, double y) {
        mmRecordingDrawContext dc;
        view().commandPreview->DrawPreview(dc, view(), x, y);
        return dc;
    }
    // The centre of the arc of segment i.
    static mmVertex centreOf(const mmPolyline& p, int i) {
        mmArc arc;
        EXPECT_TRUE(p.SegmentArc(i, 0, 0, arc)) << i;
        return arc.points.empty() ? mmVertex() : mmVertex(arc.points[0].x, arc.points[0].y);
    }
};

}  // namespace

TEST_F(PolylineCommands, TranscriptOfLineAndArcSegments) {
    type(u"pline");
    type(u"0,0");
    pick(10, 0);
    type(u"a");
    type(u"20,10");  // typed in arc mode: an arc too
    type(u"l");
    pick(20, 20);
    type(u"");
    EXPECT_EQ(history(), std::string("\r\n> pline") + "\r\n" + kFirst + "0,0" + "\r\n" +
                             kTypedNext + "10.0000,0.0000,0.0000" + "\r\n" + kNext + "a" + "\r\n" +
                             kArc + "20,10" + "\r\n" + kArc + "l" + "\r\n" + kNext +
                             "20.0000,20.0000,0.0000" + "\r\n" + kNext);
    EXPECT_EQ(inputLine(), "> ");

    const mmPolyline& p = polyline();
    ASSERT_EQ(p.points.size(), 4u);
    EXPECT_EQ(p.points[3].y, 20);
    ASSERT_EQ(p.bulges.size(), 4u);
    EXPECT_EQ(p.bulges[0], 0);
    EXPECT_NEAR(p.bulges[1], kQuarter, 1e-12);  // leaves (10, 0) along +x, centre (10, 10)
    EXPECT_EQ(p.bulges[2], 0);
    EXPECT_FALSE(p.closed);
    ASSERT_EQ(p.grips.size(), 8u);
    EXPECT_NEAR(p.grips[3].x, 10 + 10 * std::sqrt(0.5), 1e-4);  // the arc's mid point
    EXPECT_NEAR(p.grips[3].y, 10 - 10 * std::sqrt(0.5), 1e-4);
    EXPECT_EQ(p.extents.maxX, 20);
    EXPECT_EQ(p.extents.maxY, 20);
    EXPECT_EQ(session.drawing.undoCount, 1);
    EXPECT_EQ(view().commandId, 0);
}

// A pick, A, a second pick, Enter: one arc leaving the first vertex in the +x direction.
TEST_F(PolylineCommands, FirstArcLeavesAlongPlusX) {
    type(u"pline");
    pick(0, 0);
    type(u"A");
    pick(4, 4);
    type(u"");
    const mmPolyline& p = polyline();
    ASSERT_EQ(p.points.size(), 2u);
    EXPECT_NEAR(p.bulges[0], kQuarter, 1e-12);
    EXPECT_NEAR(centreOf(p, 0).x, 0, 1e-5);
    EXPECT_NEAR(centreOf(p, 0).y, 4, 1e-5);
}

TEST_F(PolylineCommands, ArcsFollowTheLastSegment) {
    type(u"pline");
    pick(0, 0);
    type(u"arc");
    pick(2, 2);    // quarter circle about (0, 2), ends heading +y
    pick(0, 4);    // continues on the same circle
    type(u"0,0");  // back down: a half circle on the left
    ASSERT_EQ(polyline().points.size(), 4u);
    EXPECT_NEAR(polyline().bulges[1], kQuarter, 1e-12);
    EXPECT_NEAR(polyline().bulges[2], 1, 1e-12);
    type(u"l");
    type(u"@0,-3");
    type(u"a");
    type(u"3,-6");  // leaves (0, -3) heading -y, turns left
    const mmPolyline& p = polyline();
    ASSERT_EQ(p.points.size(), 6u);
    EXPECT_EQ(p.bulges[3], 0);
    EXPECT_NEAR(p.bulges[4], kQuarter, 1e-12);
    EXPECT_NEAR(centreOf(p, 4).x, 3, 1e-5);
    EXPECT_NEAR(centreOf(p, 4).y, -3, 1e-5);

    // While it grows, its grips and extents are those a full update gives.
    mmPolyline full;
    full.CopyFrom(p);
    full.UpdateGrips();
    full.UpdateExtents();
    ASSERT_EQ(p.grips.size(), full.grips.size());
    for (std::size_t i = 0; i < p.grips.size(); ++i) {
        EXPECT_EQ(p.grips[i].x, full.grips[i].x) << i;
        EXPECT_EQ(p.grips[i].y, full.grips[i].y) << i;
    }
    EXPECT_EQ(p.extents.minX, full.extents.minX);
    EXPECT_EQ(p.extents.minY, full.extents.minY);
    EXPECT_EQ(p.extents.maxX, full.extents.maxX);
    EXPECT_NEAR(p.extents.minX, -2, 1e-5);  // the circle's left side
}

TEST_F(PolylineCommands, ArcThroughASecondPoint) {
    type(u"pline");
    type(u"0,0");
    type(u"s");
    EXPECT_EQ(prompt(), kSecond);
    pick(1, 1);
    EXPECT_EQ(prompt(), kArcEnd);
    EXPECT_EQ(polyline().points.size(), 1u);  // the second point is not a vertex
    type(u"2,0");
    EXPECT_EQ(prompt(), kArc);
    EXPECT_EQ(view().step, 2);
    EXPECT_NEAR(polyline().bulges[0], -1, 1e-12);  // clockwise over the top

    type(u"4,-2");  // leaves the half circle's end heading -y
    EXPECT_NEAR(polyline().bulges[1], kQuarter, 1e-12);
}

TEST_F(PolylineCommands, PointsThatMakeNoSegmentAreAskedAgain) {
    type(u"pline");
    pick(0, 0);
    pick(5, 0);
    pick(5, 0);  // a double click adds nothing
    EXPECT_EQ(polyline().points.size(), 2u);

    type(u"a");
    type(u"-3,0");  // straight behind the last segment
    EXPECT_EQ(lastLine(),
              "No arc tangent to the last segment ends there; specify another end point.");
    EXPECT_EQ(prompt(), kArc);

    type(u"s");
    type(u"6,0");
    type(u"7,0");
    EXPECT_EQ(lastLine(), "The three points lie on one line; specify another end point.");
    EXPECT_EQ(prompt(), kArcEnd);

    for (std::u16string_view ignored : {u"x", u"1,2,3,4", u"C"})
        type(ignored);
    EXPECT_EQ(prompt(), kArcEnd);
    EXPECT_EQ(polyline().points.size(), 2u);
    EXPECT_EQ(view().commandId, cmd::kPline);
}

TEST_F(PolylineCommands, CloseAndExit) {
    type(u"pline");
    type(u"0,0");
    type(u"4,0");
    type(u"c");  // two vertices: nothing to close yet
    EXPECT_EQ(view().commandId, cmd::kPline);
    type(u"4,3");
    type(u"Close");
    EXPECT_EQ(view().commandId, 0);
    EXPECT_TRUE(polyline(0).closed);
    EXPECT_EQ(polyline(0).bulges.back(), 0);

    // In arc mode clOse ends with an arc tangent to the last segment.
    type(u"pline");
    type(u"0,0");
    type(u"4,0");
    type(u"4,4");
    type(u"a");
    type(u"o");
    const mmPolyline& arcClosed = polyline(1);
    EXPECT_TRUE(arcClosed.closed);
    EXPECT_NEAR(arcClosed.bulges.back(), 1 + std::sqrt(2.0), 1e-12);  // leaves (4, 4) along +y

    type(u"pline");
    type(u"0,0");
    type(u"1,1");
    type(u"e");
    EXPECT_FALSE(polyline(2).closed);
    EXPECT_EQ(polyline(2).points.size(), 2u);
    EXPECT_EQ(session.drawing.undoCount, 3);
}

TEST_F(PolylineCommands, EndedWithoutASegmentLeavesNothing) {
    type(u"pline");
    EXPECT_EQ(session.drawing.entities.size(), 1u);  // added at the start
    type(u"1,1");
    type(u"");
    EXPECT_EQ(liveCount(), 0u);
    EXPECT_EQ(session.drawing.undoCount, 0);
}

TEST_F(PolylineCommands, UndoAndRedoTheNewPolyline) {
    type(u"pline");
    type(u"0,0");
    type(u"1,0");
    type(u"");
    type(u"rectangle");
    type(u"0,0");
    type(u"2,2");
    ASSERT_EQ(liveCount(), 2u);
    type(u"undo");
    EXPECT_TRUE(polyline(1).erased);
    type(u"undo");
    EXPECT_EQ(liveCount(), 0u);
    type(u"redo");
    EXPECT_FALSE(polyline(0).erased);
    EXPECT_EQ(polyline(0).points.size(), 2u);
    EXPECT_TRUE(polyline(1).erased);
}

TEST_F(PolylineCommands, PreviewsFromTheLastVertex) {
    session.originOffset.x = 100;
    session.originOffset.y = 50;
    session.originOffset.shifted = true;
    type(u"pline");
    EXPECT_TRUE(preview(0, 0).primitives.empty());
    type(u"100,50");
    mmRecordingDrawContext dc = preview(103, 54);
    ASSERT_EQ(dc.primitives.size(), 1u);
    ASSERT_EQ(dc.primitives[0].vertices.size(), 2u);
    EXPECT_EQ(dc.primitives[0].vertices[0].x, 0);
    EXPECT_EQ(dc.primitives[0].vertices[1].y, 4);

    type(u"a");
    dc = preview(104, 54);  // quarter circle about (0, 4) in display coordinates
    ASSERT_EQ(dc.primitives.size(), 1u);
    const std::vector<mmVertex>& arc = dc.primitives[0].vertices;
    ASSERT_GT(arc.size(), 2u);
    EXPECT_NEAR(arc.front().x, 0, 1e-5);
    EXPECT_NEAR(arc.back().x, 4, 1e-5);
    EXPECT_NEAR(arc.back().y, 4, 1e-5);
    for (const mmVertex& v : arc)
        EXPECT_NEAR(std::hypot(v.x, v.y - 4), 4, 1e-4);
    EXPECT_TRUE(preview(90, 50).primitives.empty());  // no tangent arc ends behind
    EXPECT_EQ(dc.errors, 0);
}

TEST_F(PolylineCommands, RectangleTranscriptAndEntity) {
    session.drawing.nextEntityId = 7;
    type(u"rectangle");
    EXPECT_TRUE(session.drawing.entities.empty());
    type(u"1,1");
    pick(4, 3);
    EXPECT_EQ(history(), std::string("\r\n> rectangle\r\n") + kFirstCorner + "1,1\r\n" +
                             kSecondCorner + "4.0000,3.0000,0.0000");
    const mmPolyline& r = polyline();
    EXPECT_EQ(r.id, 7);
    EXPECT_TRUE(r.closed);
    const double expected[5][2] = {{1, 1}, {4, 1}, {4, 3}, {1, 3}, {1, 1}};
    ASSERT_EQ(r.points.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(r.points[i].x, expected[i][0]) << i;
        EXPECT_EQ(r.points[i].y, expected[i][1]) << i;
    }
    EXPECT_EQ(r.grips.size(), 10u);
    EXPECT_EQ(r.extents.maxX, 4);
    EXPECT_EQ(r.extents.minY, 1);
    EXPECT_EQ(session.drawing.undoCount, 1);
    EXPECT_EQ(view().lastPoint.x, 4);
}

TEST_F(PolylineCommands, RectangleRejectsAndEnds) {
    type(u"rectangle");
    type(u"2,2");
    mmRecordingDrawContext dc = preview(5, 6);
    ASSERT_EQ(dc.primitives.size(), 1u);
    ASSERT_EQ(dc.primitives[0].vertices.size(), 5u);
    EXPECT_EQ(dc.primitives[0].vertices[2].x, 5);
    EXPECT_EQ(dc.primitives[0].vertices[2].y, 6);
    EXPECT_EQ(dc.primitives[0].vertices[4].x, 2);

    type(u"2,2");  // the same corner again
    EXPECT_EQ(lastLine(), "The second corner is the first one; specify another second corner.");
    EXPECT_EQ(prompt(), kSecondCorner);
    type(u"");
    EXPECT_TRUE(session.drawing.entities.empty());
    EXPECT_EQ(view().commandId, 0);
    EXPECT_EQ(session.drawing.undoCount, 0);
}
