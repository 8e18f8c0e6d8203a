// DIMLINEAR and DIMALIGNED through the interpreter and the view: picks only, the style values and
// the fit rule, the block name, leaving an incomplete dimension, and UNDO.
#include <cmath>

#include "commands/CommandTable.h"
#include "commands/DrawingState.h"
#include "commands/PointerTestSupport.h"
#include "drawing/DimStyleTable.h"
#include "entities/Dimension.h"
#include "entities/RecordingDrawContext.h"

namespace {

constexpr char kFirst[] = "Specify first origin for dimension: ";
constexpr char kSecond[] = "Specify second origin for dimension: ";
constexpr char kPosition[] = "Specify dimension line position: ";

class DimensionCommands : public PointerTest {
protected:
    void pickAt(double x, double y) { run("!pick " + std::to_string(x) + "," + std::to_string(y)); }
    mmDimension& dimension(std::size_t i) { return dynamic_cast<mmDimension&>(at(i)); }
    // Snapping off, so picks land where they are made.
    void SetUp() override {
        PointerTest::SetUp();
        session.snap.on = false;
    }
};

}  // namespace

TEST_F(DimensionCommands, ThreePicksEchoedAsBlanksAndTypedTextIgnored) {
    const std::string before = DrawingState(session.drawing);
    type(u"dimlinear");
    type(u"10,10");  // typed coordinates change nothing
    EXPECT_EQ(inputLine(), kFirst);
    pickAt(10, 10);
    pickAt(30, 10);
    EXPECT_TRUE(session.drawing.entities.empty());  // it enters the drawing with the last pick
    pickAt(30, 25);
    EXPECT_EQ(history(), std::string("\r\n> dimlinear\r\n") + kFirst + "10,10\r\n" + kFirst +
                             " \r\n" + kSecond + " \r\n" + kPosition + " ");
    EXPECT_EQ(view().commandId, 0);
    mmDimension& d = dimension(0);
    EXPECT_EQ(d.dimType, kDimRotated);
    EXPECT_EQ(d.label.String(), "20");
    EXPECT_EQ(d.defPoints[0].x, 10.0);
    EXPECT_EQ(d.defPoints[1].x, 30.0);
    EXPECT_EQ(d.defPoints[2].x, 30.0);
    EXPECT_EQ(d.defPoints[2].y, 25.0);
    EXPECT_EQ(d.defPoints[3].x, 10.0);
    EXPECT_EQ(d.defPoints[3].y, 25.0);
    const std::string after = DrawingState(session.drawing);
    type(u"undo");
    EXPECT_EQ(DrawingState(session.drawing), before);
    type(u"redo");
    EXPECT_EQ(DrawingState(session.drawing), after);
}

TEST_F(DimensionCommands, AlignedMeasuresAlongTheOrigins) {
    type(u"DIMALIGNED");
    pickAt(10, 10);
    pickAt(40, 50);
    pickAt(30, 50);
    const mmDimension& d = dimension(0);
    EXPECT_EQ(d.dimType, kDimAligned);
    EXPECT_EQ(d.label.String(), "50");
}

TEST_F(DimensionCommands, StyleValuesAndTheFitRule) {
    const struct {
        double distance;
        bool shrinks;
    } cases[] = {{100, false}, {1, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.distance);
        type(u"dimlinear");
        pickAt(-40, 10);
        // The label "0.0" at the style's text height decides the room the dimension needs.
        const mmDimension& pending = static_cast<const mmDimension&>(*session.pendingEntity);
        EXPECT_EQ(pending.label.String(), "0.0");
        const double width = pending.label.extents.maxX - pending.label.extents.minX;
        pickAt(-40 + c.distance, 10);
        pickAt(-40, 20);
        const mmDimension& d = dimension(session.drawing.entities.size() - 1);
        const double f = c.shrinks ? (c.distance / (5.0 + width)) / 5.0 : 1.0;
        EXPECT_NEAR(d.textHeight, 2.5 * f, 1e-12);
        EXPECT_NEAR(d.arrowSize, 2.5 * f, 1e-12);
        EXPECT_NEAR(d.extLineOffset, 0.625 * f, 1e-12);
        EXPECT_NEAR(d.extLineExtension, 1.25 * f, 1e-12);
        EXPECT_NEAR(d.textGap, 0.625 * f, 1e-12);
        EXPECT_NEAR(d.label.height, 2.5 * f, 1e-12);
        EXPECT_EQ(d.arrowKind, 0);
        EXPECT_EQ(d.dimStyleId, session.drawing.currentDimStyleId);
    }
}

TEST_F(DimensionCommands, BlockNameOfIdTwelve) {
    session.drawing.nextEntityId = 12;
    type(u"dimlinear");
    pickAt(0, 0);
    pickAt(10, 0);
    pickAt(5, 5);
    EXPECT_EQ(dimension(0).id, 12);
    EXPECT_EQ(dimension(0).blockName, u"*D12");
}

TEST_F(DimensionCommands, EscapeAndAnEmptyLineLeaveWithoutADimension) {
    type(u"dimaligned");
    pickAt(0, 0);
    run("!key Escape");
    EXPECT_EQ(view().commandId, 0);
    type(u"dimlinear");
    pickAt(0, 0);
    pickAt(10, 0);
    type(u"");
    EXPECT_EQ(view().commandId, 0);
    EXPECT_TRUE(session.drawing.entities.empty());
    EXPECT_EQ(session.drawing.undoCount, 0);
}

TEST_F(DimensionCommands, TheSecondOriginMustDifferFromTheFirst) {
    type(u"dimlinear");
    pickAt(5, 5);
    pickAt(5, 5);
    EXPECT_EQ(inputLine(), kSecond);
    EXPECT_NE(history().find("The second origin is the first one"), std::string::npos);
}

// Whether the preview for the cursor at (x, y) draws a line at height y from x0 to x1.
bool previewHasLineAt(const mmSession& s, double x, double y, double x0, double x1) {
    mmRecordingDrawContext dc;
    s.ActiveView().commandPreview->DrawPreview(dc, s.ActiveView(), x, y);
    const mmOriginOffset& o = s.ActiveView().originOffset;
    for (const mmRecordedPrimitive& p : dc.primitives) {
        if (p.vertices.size() != 2) continue;
        const mmVertex& a = p.vertices[0];
        const mmVertex& b = p.vertices[1];
        if (std::fabs(a.y + o.y - y) < 1e-9 && std::fabs(b.y + o.y - y) < 1e-9 &&
            std::fabs(std::min(a.x, b.x) + o.x - x0) < 1e-9 &&
            std::fabs(std::max(a.x, b.x) + o.x - x1) < 1e-9)
            return true;
    }
    return false;
}

TEST_F(DimensionCommands, PreviewsFollowTheCursorWhileTheDimensionItselfIsHidden) {
    type(u"dimlinear");
    EXPECT_EQ(session.ModelScene().hiddenEntity, session.pendingEntity.get());
    pickAt(0, 0);
    EXPECT_TRUE(previewHasLineAt(session, 10, 0, 0, 10));  // from the first origin
    pickAt(10, 0);
    EXPECT_TRUE(previewHasLineAt(session, 10, 7, 0, 10));  // the dimension line at the cursor
    EXPECT_TRUE(previewHasLineAt(session, 10, 12, 0, 10));
}
