// The modify module loaded from the build as the program loads it: MOVE, ROTATE, SCALE, PEDIT
// and DIMRADIUS typed and picked through the interpreter, each one step of UNDO and REDO.
#include <cmath>

#include "commands/MenuCommands.h"
#include "commands/PointerTestSupport.h"
#include "commands/Undo.h"
#include "entities/Circle.h"
#include "entities/Dimension.h"
#include "entities/GLTexture.h"
#include "entities/Line.h"
#include "entities/Polyline.h"
#include "shell/extension/LoadXref.h"
#include "shell/extension/ModuleLoader.h"

namespace {

constexpr double kTolerance = 1e-9;

class ModifyModule : public PointerTest {
protected:
    void SetUp() override {
        PointerTest::SetUp();
        SetExtensionSession(&session);
        ASSERT_EQ(LoadExtensionModules(session, KESTREL_MODULES_DIR), 1);
        ASSERT_TRUE(host.messages().empty());
    }
    void TearDown() override { SetExtensionSession(nullptr); }

    void expectPoint(const mmVertex& p, double x, double y) {
        EXPECT_NEAR(p.x, x, kTolerance);
        EXPECT_NEAR(p.y, y, kTolerance);
    }
    // Undo, then redo, the last step: before and after are checked by the callers' lambdas.
    template <class Before, class After>
    void expectUndoRedo(Before before, After after) {
        const int steps = session.drawing.undoCount;
        type(u"undo");
        before();
        type(u"redo");
        after();
        EXPECT_EQ(session.drawing.undoCount, steps);
    }
    void pline(std::initializer_list<std::u16string> points) {
        type(u"pline");
        for (const std::u16string& p : points) type(p);
        type(u"");
    }
    const std::vector<mmVertex>& vertices(std::size_t i) { return entity<mmPolyline>(i).points; }
    double bulge(std::size_t i, int segment) { return entity<mmPolyline>(i).BulgeAt(segment); }
};

}  // namespace

TEST_F(ModifyModule, MoveTheSelectionByTwoPoints) {
    line(0, 0, 10, 0);
    run("!pick 5,0");
    const int steps = session.drawing.undoCount;
    type(u"move");
    EXPECT_EQ(view().rubberBand, kRubberPoint);
    type(u"0,0");
    EXPECT_EQ(view().rubberBand, kRubberFromBase);  // the line from the base to the cursor
    expectPoint(view().rubberBase, 0, 0);
    type(u"@5,5");  // relative to the base point
    EXPECT_EQ(history().substr(history().rfind("\r\n> move")),
              "\r\n> move\r\nSpecify base point: 0,0\r\nSpecify second point: @5,5");
    EXPECT_EQ(view().commandId, 0);
    EXPECT_FALSE(entity<mmLine>(0).selected);
    expectPoint(entity<mmLine>(0).points[1], 15, 5);
    EXPECT_EQ(session.drawing.undoCount, steps + 1);
    expectUndoRedo([&] { expectPoint(entity<mmLine>(0).points[1], 10, 0); },
                   [&] { expectPoint(entity<mmLine>(0).points[1], 15, 5); });
}

TEST_F(ModifyModule, MoveSelectsAtItsPromptAndPicksItsPoints) {
    line(0, 0, 10, 0);
    line(0, 10, 10, 10);
    type(u"move");
    EXPECT_EQ(inputLine(), "Select objects: ");
    run("!pick 5,10");  // selects the second line
    type(u"");
    EXPECT_EQ(inputLine(), "Specify base point: ");
    pick(5, 10);
    pick(5, 20);
    EXPECT_EQ(view().commandId, 0);
    expectPoint(entity<mmLine>(0).points[0], 0, 0);
    expectPoint(entity<mmLine>(1).points[0], 0, 20);
    // Return at any prompt leaves everything as it was.
    type(u"move");
    type(u"");
    EXPECT_EQ(view().commandId, 0);
    run("!pick 5,0");
    type(u"move");
    type(u"");
    EXPECT_EQ(view().commandId, 0);
    expectPoint(entity<mmLine>(0).points[0], 0, 0);
}

TEST_F(ModifyModule, RotateByATypedOrPickedAngle) {
    line(10, 0, 20, 0);
    type(u"rotate");
    run("!pick 5,-5");  // a window around the line
    run("!pick 25,5");
    type(u"");
    type(u"0,0");
    EXPECT_EQ(inputLine(), "Specify rotation angle or pick a point: ");
    type(u"90");
    expectPoint(entity<mmLine>(0).points[0], 0, 10);
    expectPoint(entity<mmLine>(0).points[1], 0, 20);

    run("!pick 0,15");
    type(u"rotate");
    type(u"0,0");
    pick(-3, 0);  // half a turn
    expectPoint(entity<mmLine>(0).points[1], 0, -20);
    expectUndoRedo([&] { expectPoint(entity<mmLine>(0).points[1], 0, 20); },
                   [&] { expectPoint(entity<mmLine>(0).points[1], 0, -20); });
}

TEST_F(ModifyModule, ScaleByATypedOrPickedFactor) {
    type(u"circle");
    type(u"10,10");
    type(u"5");
    run("!pick 15,10");
    type(u"scale");
    type(u"10,10");
    type(u"0");
    EXPECT_EQ(history().substr(history().rfind("\r\n")),
              "\r\nThe scale factor must be greater than 0.");
    EXPECT_EQ(inputLine(), "Specify scale factor or pick a point: ");
    type(u"2");
    EXPECT_EQ(entity<mmCircle>(0).radius, 10);

    run("!pick 20,10");
    type(u"scale");
    type(u"0,10");
    pick(0.5, 10);  // the factor is the distance from the base
    EXPECT_NEAR(entity<mmCircle>(0).radius, 5, kTolerance);
    expectPoint(entity<mmCircle>(0).points[0], 5, 10);
    expectUndoRedo([&] { EXPECT_EQ(entity<mmCircle>(0).radius, 10); },
                   [&] { EXPECT_NEAR(entity<mmCircle>(0).radius, 5, kTolerance); });
}

// Images stay upright: ROTATE takes the centre round, SCALE the pixel sizes, MOVE the corner.
TEST_F(ModifyModule, ImagesMoveTurnAndScaleUpright) {
    auto img = std::make_shared<GLTexture>();
    img->SetTiling(100, 50, 512);
    img->SetScale(0.1, 0.1, false);  // a frame 10 x 5 at the origin
    img->id = session.CurrentSpace().nextEntityId++;
    ASSERT_TRUE(AddEntity(session.drawing, img));
    const auto corner = [&](int i) { return entity<GLTexture>(0).points.at(i); };

    run("!pick 5,0");
    type(u"rotate");
    type(u"0,0");
    type(u"90");  // the centre (5, 2.5) goes to (-2.5, 5)
    expectPoint(corner(0), -7.5, 2.5);
    expectPoint(corner(2), 2.5, 7.5);

    run("!pick 0,2.5");
    type(u"scale");
    type(u"-7.5,2.5");
    type(u"2");
    EXPECT_DOUBLE_EQ(entity<GLTexture>(0).pixelSizeX, 0.2);
    expectPoint(corner(2), 12.5, 12.5);

    run("!pick -7.5,5");
    type(u"move");
    type(u"0,0");
    type(u"1,1");
    expectPoint(corner(0), -6.5, 3.5);
    expectUndoRedo([&] { expectPoint(corner(0), -7.5, 2.5); },
                   [&] { expectPoint(corner(0), -6.5, 3.5); });
}

TEST_F(ModifyModule, PeditInsertsDeletesAndBendsOneStepEach) {
    pline({u"0,0", u"20,0", u"20,20"});
    const int steps = session.drawing.undoCount;

    // B with a typed bulge: the first segment becomes a half circle below the chord.
    type(u"pedit");
    EXPECT_EQ(inputLine(), "Enter an option [Insert vertex/Delete vertex/Bulge]: ");
    type(u"b");
    run("!pick 20,10");
    EXPECT_EQ(history().substr(history().rfind("\r\n")), "\r\nSelect polyline: ");
    type(u"10,1");
    type(u"1");
    EXPECT_EQ(bulge(0, 0), 1);
    EXPECT_EQ(bulge(0, 1), 0);

    // I on the arc: the two halves keep to the circle.
    type(u"pedit");
    type(u"I");
    run("!pick 20,10");
    pick(10, -12);
    ASSERT_EQ(vertices(0).size(), 4u);
    expectPoint(vertices(0)[1], 10, -10);
    EXPECT_NEAR(bulge(0, 0), std::tan(3.141592653589793 / 8), kTolerance);
    EXPECT_NEAR(bulge(0, 1), std::tan(3.141592653589793 / 8), kTolerance);

    // B through a picked point straightens the second quarter.
    type(u"pedit");
    type(u"b");
    run("!pick 20,10");
    type(u"18,-5");
    pick(15, -5);  // on the chord from (10, -10) to (20, 0)
    EXPECT_EQ(bulge(0, 1), 0);

    // D: the vertex nearest to the pick.
    type(u"pedit");
    type(u"d");
    run("!pick 20,10");
    type(u"19,19");
    ASSERT_EQ(vertices(0).size(), 3u);
    expectPoint(vertices(0)[2], 20, 0);
    EXPECT_EQ(session.drawing.undoCount, steps + 4);

    type(u"undo");
    EXPECT_EQ(vertices(0).size(), 4u);
    type(u"undo");
    EXPECT_NEAR(bulge(0, 1), std::tan(3.141592653589793 / 8), kTolerance);
    type(u"undo");
    EXPECT_EQ(vertices(0).size(), 3u);
    EXPECT_EQ(bulge(0, 0), 1);
    type(u"undo");
    EXPECT_EQ(bulge(0, 0), 0);
    type(u"redo");
    EXPECT_EQ(bulge(0, 0), 1);
}

TEST_F(ModifyModule, PeditRefusesWhatItCannotEdit) {
    line(0, 30, 10, 30);
    pline({u"0,0", u"20,0"});
    type(u"pedit");
    type(u"x");  // not an option: asked again
    EXPECT_EQ(inputLine(), "Enter an option [Insert vertex/Delete vertex/Bulge]: ");
    type(u"d");
    run("!pick 5,30");
    EXPECT_EQ(history().substr(history().rfind("\r\n")), "\r\nThe object is not a polyline.");
    EXPECT_EQ(inputLine(), "Select polyline: ");
    EXPECT_FALSE(entity<mmLine>(0).selected);
    run("!pick 5,0");
    type(u"0,0");
    EXPECT_EQ(history().substr(history().rfind("\r\n")),
              "\r\nA polyline keeps at least two vertices.");
    EXPECT_EQ(vertices(1).size(), 2u);
    EXPECT_EQ(view().commandId, 0);
}

TEST_F(ModifyModule, DimradiusOfAPickedCircle) {
    type(u"circle");
    type(u"10,10");
    type(u"5");
    type(u"dimradius");
    run("!pick 15,10");
    EXPECT_EQ(view().rubberBand, kRubberFromBase);
    expectPoint(view().rubberBase, 10, 10);
    type(u"30,30");
    EXPECT_EQ(history().substr(history().rfind("\r\n> dimradius")),
              "\r\n> dimradius\r\nSelect circle or arc: \r\nSpecify dimension line location: 30,30");
    auto& d = entity<mmDimension>(1);
    EXPECT_EQ(d.dimType, kDimRadius);
    EXPECT_EQ(d.label.String(), "R5");
    const double r = 5 / std::sqrt(2.0);
    expectPoint(d.defPoints[kDimRadialChordPoint], 10 + r, 10 + r);
    expectPoint(d.defPoints[kDimRadialCentre], 10, 10);
    expectUndoRedo([&] { EXPECT_TRUE(d.erased); }, [&] { EXPECT_FALSE(d.erased); });
}

TEST_F(ModifyModule, MenuItemsAndButtonsReachTheModule) {
    pline({u"0,0", u"20,0"});
    EXPECT_TRUE(SubmitMenuCommandId(session, 32834));  // Insert vertex: PEDIT, then I
    EXPECT_EQ(inputLine(), "Select polyline: ");
    type(u"");
    EXPECT_TRUE(SubmitMenuCommandId(session, 32831));
    EXPECT_EQ(inputLine(), "Select objects: ");
    EXPECT_EQ(history().substr(history().rfind("\r\n")), "\r\n> MOVE");
    EXPECT_EQ(utf8(*ExtensionTooltip(session.extensionCommands, 32841)), "Radius dimension");
}
