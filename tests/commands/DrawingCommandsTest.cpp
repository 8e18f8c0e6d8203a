// POINT, LINE, CIRCLE and ARC: steps, new-entity properties, undo records and previews.
#include <cmath>

#include "commands/CommandTable.h"
#include "commands/CommandTestSupport.h"
#include "drawing/LayerList.h"
#include "entities/Arc.h"
#include "entities/Circle.h"
#include "entities/DrawContext.h"
#include "entities/Line.h"
#include "entities/Point.h"
#include "entities/RecordingDrawContext.h"

namespace {
class DrawingCommands : public CommandTest {
protected:
    // A current layer that differs from every default.
    void useRedLayer() {
        mmLayer layer = mmLayer::WithDefaults(3, u"Walls");
        layer.color = 0x0000FF;
        layer.colorIndex = 1;
        layer.lineWidth = 3;
        layer.show = false;
        session.drawing.layers[3] = layer;
        session.drawing.currentLayerId = 3;
    }
    std::string prompt() const { return utf8(session.commandLine.prompt); }
    mmRecordingDrawContext preview(double x, double y) {
        mmRecordingDrawContext dc;
        view().commandPreview->DrawPreview(dc, view(), x, y);
        return dc;
    }
};
}  // namespace

// A layer chosen as current while LINE waits for its second point: the line being drawn keeps
// the layer it started with, the next one takes the new layer.
TEST_F(DrawingCommands, CurrentLayerChosenDuringACommandAppliesToLaterEntities) {
    useRedLayer();
    session.drawing.currentLayerId = 0;
    type(u"line");
    type(u"0,0");
    ASSERT_TRUE(ChooseCurrentLayer(session.drawing, 3));
    type(u"1,1");
    type(u"line");
    type(u"2,2");
    type(u"3,3");
    EXPECT_EQ(entity<mmLine>(0).layerId, 0);
    EXPECT_EQ(entity<mmLine>(1).layerId, 3);
    EXPECT_EQ(entity<mmLine>(1).color, 0x0000FFu);
}

TEST_F(DrawingCommands, LineCarriesTheCurrentLayerAndIsRecorded) {
    useRedLayer();
    session.drawing.nextEntityId = 40;
    type(u"line");
    EXPECT_TRUE(session.drawing.entities.empty());  // not added before it is complete
    type(u"1,2");
    type(u"@4,0");
    ASSERT_EQ(session.drawing.entities.size(), 1u);
    const mmLine& line = entity<mmLine>(0);
    EXPECT_EQ(line.id, 40);
    EXPECT_EQ(session.drawing.nextEntityId, 41);
    EXPECT_EQ(line.layerId, 3);
    EXPECT_EQ(line.color, 0x0000FFu);
    EXPECT_EQ(line.colorIndex, kColorByLayer);
    EXPECT_EQ(line.lineWidth, 3);
    EXPECT_EQ(line.lineWidthSource, kLineWidthByLayer);
    EXPECT_FALSE(line.visible);
    EXPECT_FALSE(line.selected);
    ASSERT_EQ(line.grips.size(), 3u);
    EXPECT_EQ(line.grips[1].x, 3);
    EXPECT_EQ(line.extents.maxX, 5);
    EXPECT_EQ(session.drawing.undoCount, 1);
    EXPECT_TRUE(session.modified);
    EXPECT_EQ(view().commandId, 0);
    EXPECT_EQ(session.pendingEntity, nullptr);
}

TEST_F(DrawingCommands, EnterEndsLineWithoutALine) {
    type(u"line");
    type(u"1,2");
    type(u"");
    EXPECT_TRUE(session.drawing.entities.empty());
    EXPECT_EQ(session.drawing.undoCount, 0);
    EXPECT_EQ(view().commandId, 0);
    EXPECT_EQ(prompt(), "> ");
}

TEST_F(DrawingCommands, PointTakesOnePosition) {
    type(u"point");
    ASSERT_EQ(session.drawing.entities.size(), 1u);  // added at the start
    pick(3, 4);
    const mmPointObj& point = entity<mmPointObj>(0);
    EXPECT_EQ(point.points.size(), 1u);
    EXPECT_EQ(point.points[0].y, 4);
    EXPECT_EQ(point.extents.minX, 3);
    EXPECT_EQ(session.drawing.undoCount, 1);
    EXPECT_EQ(view().commandId, 0);

    type(u"point");
    type(u"");  // no position: the empty point goes
    EXPECT_TRUE(session.drawing.entities.at(1)->erased);
    EXPECT_EQ(session.drawing.undoCount, 1);
}

TEST_F(DrawingCommands, CircleRadiusTypedOrPicked) {
    type(u"circle");
    type(u"1,1");
    EXPECT_EQ(prompt(), "Move to or type radius: ");
    for (std::u16string_view bad : {u"0", u"-2", u"abc", u"1e999"})
        type(bad);
    EXPECT_EQ(view().step, 2);  // rejected radii keep the prompt
    type(u"2.5mm");
    EXPECT_EQ(entity<mmCircle>(0).radius, 2.5);
    EXPECT_EQ(entity<mmCircle>(0).grips.size(), 5u);

    type(u"circle");
    pick(0, 0);
    pick(3, 4);
    EXPECT_NE(history().find("Move to or type radius: 5.0000"), std::string::npos);
    EXPECT_EQ(entity<mmCircle>(1).radius, 5);
    EXPECT_EQ(session.drawing.undoCount, 2);

    type(u"circle");
    type(u"1,1");
    type(u"");  // no radius yet: discarded, nothing recorded
    EXPECT_TRUE(session.drawing.entities.at(2)->erased);
    EXPECT_EQ(session.drawing.undoCount, 2);
}

// A pick on the centre gave a circle or arc of radius 0, which a typed 0 never does.
TEST_F(DrawingCommands, RegressionPickOnTheCentreIsNoRadius) {
    type(u"circle");
    type(u"1,1");
    pick(1, 1);
    EXPECT_EQ(view().step, 2);
    EXPECT_EQ(prompt(), "Move to or type radius: ");
    pick(1, 3);
    EXPECT_EQ(entity<mmCircle>(0).radius, 2);

    type(u"arc");
    type(u"c");
    type(u"5,5");
    pick(5, 5);
    EXPECT_EQ(view().step, 12);
    pick(5, 6);
    EXPECT_EQ(view().step, 13);
    EXPECT_EQ(entity<mmArc>(1).radius, 1);
}

TEST_F(DrawingCommands, ArcThroughThreePoints) {
    type(u"arc");
    type(u"1,0");
    EXPECT_EQ(prompt(), "Specify second (pass-tru) point: ");
    type(u"0,1");
    type(u"-1,0");
    const mmArc& arc = entity<mmArc>(0);
    EXPECT_NEAR(arc.points[0].x, 0, 1e-12);
    EXPECT_NEAR(arc.radius, 1, 1e-12);
    EXPECT_NEAR(arc.startAngle, 0, 1e-9);
    EXPECT_NEAR(arc.endAngle, 180, 1e-9);
    EXPECT_EQ(arc.grips.size(), 4u);
    EXPECT_EQ(session.drawing.undoCount, 1);
}

TEST_F(DrawingCommands, ArcEndPointOnTheLineIsAskedAgain) {
    type(u"arc");
    type(u"0,0");
    type(u"1,1");
    type(u"2,2");
    EXPECT_EQ(view().step, 3);
    EXPECT_NE(history().find("one line"), std::string::npos);
    EXPECT_EQ(session.pendingEntity->points.size(), 3u);
    pick(2, 0);
    EXPECT_EQ(view().commandId, 0);
    EXPECT_NEAR(entity<mmArc>(0).radius, 1, 1e-12);
}

TEST_F(DrawingCommands, ArcEnterChoosesCentreMode) {
    type(u"arc");
    type(u"");
    EXPECT_EQ(prompt(), "Specify center point: ");
    type(u"2,2");
    type(u"3");
    EXPECT_EQ(prompt(), "Specify arc's start angle: ");
    pick(2, 10);  // start angle from the pick
    EXPECT_NE(history().find("Specify arc's start angle: 90.0000"), std::string::npos);
    type(u"180");
    const mmArc& arc = entity<mmArc>(0);
    EXPECT_EQ(arc.radius, 3);
    EXPECT_NEAR(arc.startAngle, 90, 1e-12);
    EXPECT_EQ(arc.endAngle, 180);
    EXPECT_EQ(view().commandId, 0);

    type(u"arc");
    type(u"c");
    EXPECT_EQ(view().step, 11);
    type(u"0,0");
    type(u"");  // an arc without its radius is discarded
    EXPECT_TRUE(session.drawing.entities.at(1)->erased);
    EXPECT_EQ(session.drawing.undoCount, 1);
}

TEST_F(DrawingCommands, PreviewsFollowTheCursorInDisplayCoordinates) {
    session.originOffset.x = 100;
    session.originOffset.y = 50;
    session.originOffset.shifted = true;
    type(u"line");
    EXPECT_TRUE(preview(0, 0).primitives.empty());
    type(u"110,60");
    mmRecordingDrawContext dc = preview(120, 60);
    ASSERT_EQ(dc.primitives.size(), 1u);
    EXPECT_EQ(dc.primitives[0].primitive, prim::kLineStrip);
    EXPECT_FLOAT_EQ(dc.primitives[0].color[0], 0.2f);
    ASSERT_EQ(dc.primitives[0].vertices.size(), 2u);
    EXPECT_EQ(dc.primitives[0].vertices[0].x, 10);
    EXPECT_EQ(dc.primitives[0].vertices[1].x, 20);
    EXPECT_EQ(dc.primitives[0].vertices[1].y, 10);
    type(u"");

    type(u"circle");
    type(u"100,50");
    dc = preview(103, 54);  // the radius line, then the circle of radius 5 about (0, 0)
    ASSERT_EQ(dc.primitives.size(), 2u);
    EXPECT_EQ(dc.primitives[0].vertices[1].y, 4);
    EXPECT_NEAR(dc.primitives[1].vertices[0].y, 5, 1e-9);
    EXPECT_EQ(dc.errors, 0);
}
