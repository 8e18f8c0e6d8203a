// A session with a model view of 400 x 300 pixels at 4 pixels per unit, driven by the mouse and
// keys of the view through script lines ("!move X,Y", "!pick X,Y", "!key NAME") or by pixels.
#pragma once

#include <utility>

#include "commands/CommandTestSupport.h"
#include "commands/PointerScript.h"
#include "commands/Selection.h"
#include "commands/StartupDrawing.h"
#include "commands/ViewMouse.h"

class PointerTest : public CommandTest {
protected:
    void SetUp() override {
        PrepareStartupView(session, 400, 300);
        ASSERT_TRUE(model().setZoomScale(4.0));
    }

    mmView& model() { return session.modelView; }

    void run(std::string_view line) {
        const std::optional<std::string> problem = RunPointerScriptLine(session, line);
        ASSERT_TRUE(problem.has_value()) << line;
        EXPECT_EQ(*problem, "") << line;
    }

    // Window pixel of a drawing point.
    std::pair<int, int> pixel(double x, double y) {
        int px = 0, py = 0;
        EXPECT_TRUE(model().worldToScreen(x - session.originOffset.x, y - session.originOffset.y,
                                          model().Matrices(), px, py));
        return {px, py};
    }
    // The mouse dx pixels right of (and dy below) the pixel of a drawing point.
    void moveNear(double x, double y, int dx, int dy = 0) {
        const auto [px, py] = pixel(x, y);
        ViewMouseMove(session, px + dx, py + dy);
    }
    void click() {
        ViewLeftButtonDown(session, model().lastMouseX, model().lastMouseY);
        ViewLeftButtonUp(session, model().lastMouseX, model().lastMouseY);
    }

    void line(double x1, double y1, double x2, double y2) {
        type(u"line");
        type(coordinates(x1, y1));
        type(coordinates(x2, y2));
    }
    static std::u16string coordinates(double x, double y) {
        const std::string text = std::to_string(x) + "," + std::to_string(y);
        return std::u16string(text.begin(), text.end());
    }

    mmObject& at(std::size_t i) { return *session.drawing.entities.at(i); }
    void select(std::size_t i) { SelectEntity(session, at(i), true); }
    bool selected(std::size_t i) { return at(i).selected; }
};
