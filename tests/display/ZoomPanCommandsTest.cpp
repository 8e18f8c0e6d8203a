// ZOOM and PAN driven the way the editor drives them: lines typed into the command line, and the
// mouse in the view.
#include <gtest/gtest.h>

#include "commands/CommandTable.h"
#include "commands/CommandTestSupport.h"
#include "commands/StartupDrawing.h"
#include "commands/ViewInput.h"
#include "commands/ViewMouse.h"

#include <functional>

namespace {

class ZoomPan : public CommandTest {
protected:
    void SetUp() override { PrepareStartupView(session, 800, 600); }

    mmView& model() { return session.modelView; }
    std::string prompt() const { return utf8(session.commandLine.prompt); }
    std::pair<int, int> pixel(double x, double y) {
        int px = 0, py = 0;
        EXPECT_TRUE(model().worldToScreen(x, y, model().Matrices(), px, py));
        return {px, py};
    }
};

}  // namespace

TEST_F(ZoomPan, ZThenWAsksForTheWindowCornersAndZooms) {
    type(u"z");
    EXPECT_EQ(view().commandId, cmd::kZoom);
    EXPECT_EQ(prompt(),
              "Specify corner of window or [All/Extents/Real time/Window/Center/Scale]: <real time> ");
    type(u"w");
    EXPECT_EQ(prompt(), "Specify first window's corner: ");
    type(u"0,0");
    EXPECT_EQ(prompt(), "Specify second window's corner: ");
    type(u"@100,50");
    EXPECT_EQ(view().commandId, 0);
    EXPECT_EQ(inputLine(), "> ");
    EXPECT_NEAR(model().ActiveZoomScale(), 8.0, 0.05);  // 100 units across 800 pixels
    EXPECT_NEAR(pixel(0, 0).first, 0, 1);
    EXPECT_NEAR(pixel(100, 50).first, 800, 1);
}

TEST_F(ZoomPan, WindowCornersCanBePicked) {
    type(u"zoom");
    type(u"W");
    const mmVertex a = model().screenToWorld(200, 400);
    ViewLeftButtonDown(session, 200, 400);
    ViewLeftButtonUp(session, 200, 400);
    ViewMouseMove(session, 300, 350);
    ViewLeftButtonDown(session, 300, 350);
    EXPECT_EQ(view().commandId, 0);
    // 100 pixels wide became the whole window.
    EXPECT_NEAR(model().ActiveZoomScale(), kInitialZoomScale * 8.0, 0.2);
    EXPECT_NEAR(pixel(a.x, a.y).first, 0, 2);
    EXPECT_NE(history().find("Specify second window's corner: "), std::string::npos);
}

TEST_F(ZoomPan, ExtentsOfAnEmptyDrawingLeaveTheMessageAndTheView) {
    const double pan = model().panX[0];
    type(u"zoom");
    type(u"e");
    const std::string message = "\r\nCan't zoom extents! Zoom coordinates range to big.";
    EXPECT_EQ(history().substr(history().size() - message.size()), message);
    EXPECT_EQ(model().ActiveZoomScale(), kInitialZoomScale);
    EXPECT_EQ(model().panX[0], pan);
    EXPECT_EQ(view().commandId, 0);
}

TEST_F(ZoomPan, RealTimeZoomFollowsVerticalMoves) {
    type(u"zoom");
    type(u"");
    EXPECT_EQ(prompt(), "Hold left mouse button and move up/down. Hit <Enter> or <Esc> to exit.");
    EXPECT_EQ(view().cursorMode, kCursorZoom);
    ViewMouseMove(session, 400, 300);
    ViewLeftButtonDown(session, 400, 300);
    double scale = model().ActiveZoomScale();
    ViewMouseMove(session, 430, 300);  // sideways zooms out
    EXPECT_NEAR(model().ActiveZoomScale() / scale, 0.970685, 1e-6);
    scale = model().ActiveZoomScale();
    ViewMouseMove(session, 430, 290);  // up zooms in
    EXPECT_NEAR(model().ActiveZoomScale() / scale, 1.0302, 1e-12);
    ViewLeftButtonUp(session, 430, 290);
    scale = model().ActiveZoomScale();
    ViewMouseMove(session, 430, 200);  // button released: no zoom
    EXPECT_EQ(model().ActiveZoomScale(), scale);
    type(u"");
    EXPECT_EQ(view().commandId, 0);
}

TEST_F(ZoomPan, LeftPressAtTheOptionsStartsRealTimeZoom) {
    type(u"Z");
    ViewLeftButtonDown(session, 400, 300);
    EXPECT_EQ(view().step, 2);
    const double scale = model().ActiveZoomScale();
    ViewMouseMove(session, 400, 250);
    EXPECT_GT(model().ActiveZoomScale(), scale);
    EXPECT_EQ(history().find("Unknown"), std::string::npos);
}

TEST_F(ZoomPan, ScaleMustBeAPositiveNumber) {
    type(u"zoom");
    type(u"scale");
    EXPECT_EQ(prompt(), "Specify scale factor <11.7244>: ");
    for (std::u16string_view bad : {u"abc", u"-2", u"0"}) {
        type(bad);
        EXPECT_EQ(prompt(), "Specify scale factor <11.7244>: ") << utf8(bad);
        EXPECT_EQ(model().ActiveZoomScale(), kInitialZoomScale);
    }
    type(u"4");
    EXPECT_EQ(model().ActiveZoomScale(), 4.0);
    EXPECT_EQ(view().commandId, 0);
}

// An empty line at the corner prompts was ignored, and Esc in the view and "Exit" submit one:
// the user was trapped until two corners were given.
TEST_F(ZoomPan, RegressionEmptyLineLeavesTheWindowCorners) {
    const auto leave = [&](const std::function<void()>& how) {
        type(u"zoom");
        type(u"w");
        how();
        EXPECT_EQ(view().commandId, 0);
        type(u"zoom");
        type(u"w");
        type(u"0,0");
        how();
        EXPECT_EQ(view().commandId, 0);
        EXPECT_EQ(inputLine(), "> ");
        EXPECT_EQ(model().ActiveZoomScale(), kInitialZoomScale);
    };
    leave([&] { type(u""); });
    leave([&] { ViewKey(session, mmKey::Escape); });
    leave([&] { ChooseContextMenuItem(session, mmMenuAction::Exit); });
}

// zoom s 1e308 then 1e-300 made the view NaN for good; out-of-range answers get a message.
TEST_F(ZoomPan, RegressionScalesAndWindowsOutsideTheRangeAreRefused) {
    const std::string range = "The scale must lie between 0.00000001 and 1000000 pixels per drawing unit.";
    type(u"zoom");
    type(u"s");
    for (std::u16string_view bad : {u"1e308", u"1e-300", u"-2"}) {
        type(bad);
        EXPECT_EQ(history().substr(history().size() - range.size()), range) << utf8(bad);
        EXPECT_EQ(model().ActiveZoomScale(), kInitialZoomScale);
    }
    type(u"1e6");
    EXPECT_EQ(model().ActiveZoomScale(), 1e6);
    EXPECT_EQ(view().commandId, 0);

    type(u"zoom");
    type(u"w");
    type(u"0,0");
    type(u"1e-9,1e-9");
    EXPECT_NE(history().find("Can't zoom to that window"), std::string::npos);
    EXPECT_EQ(model().ActiveZoomScale(), 1e6);
    EXPECT_EQ(view().commandId, 0);
}

TEST_F(ZoomPan, PanDragsWithTheLeftButtonUntilEnter) {
    type(u"pan");
    EXPECT_EQ(view().cursorMode, kCursorPan);
    const mmVertex p = model().screenToWorld(100, 100);
    ViewMouseMove(session, 100, 100);
    ViewLeftButtonDown(session, 100, 100);
    ViewMouseMove(session, 130, 120);
    EXPECT_EQ(pixel(p.x, p.y), std::make_pair(130, 120));
    ViewLeftButtonUp(session, 130, 120);
    ViewMouseMove(session, 200, 200);
    EXPECT_EQ(pixel(p.x, p.y), std::make_pair(130, 120));
    type(u"");
    EXPECT_EQ(view().commandId, 0);
}

TEST_F(ZoomPan, MiddleButtonPanReturnsToTheCommandsCursorMode) {
    type(u"line");
    ASSERT_EQ(view().cursorMode, kCursorPoint);
    const mmVertex p = model().screenToWorld(300, 300);
    ViewMiddleButtonDown(session, 300, 300);
    EXPECT_EQ(view().cursorMode, kCursorPan);
    ViewMouseMove(session, 280, 310);
    ViewMiddleButtonUp(session, 280, 310);
    EXPECT_EQ(view().cursorMode, kCursorPoint);
    EXPECT_EQ(pixel(p.x, p.y), std::make_pair(280, 310));
    EXPECT_EQ(view().commandId, cmd::kLine);
    EXPECT_TRUE(session.drawing.entities.empty());  // the pan was no pick
}
