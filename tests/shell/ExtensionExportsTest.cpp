// The exported functions as a module calls them: refusals of null pointers and bad sizes, the
// input line copied whole or cut, polylines on the working layer, buttons routed to commands,
// and the window functions accepted without a window.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "commands/CommandTestSupport.h"
#include "commands/MenuCommands.h"
#include "entities/Polyline.h"
#include "shell/extension/LoadXref.h"

namespace {

class Exports : public CommandTest {
protected:
    void SetUp() override { SetExtensionSession(&session); }
    void TearDown() override { SetExtensionSession(nullptr); }
};

}  // namespace

TEST_F(Exports, NullPointersAndBadSizesAreRefused) {
    const int id = 0;
    int out = 7;
    double x = 1.0;
    char16_t text[4] = u"abc";
    const KestrelToolbarButton button{0, 1, KESTREL_BUTTON, nullptr};
    // None of these may crash; the counted ones say they were refused.
    GetInputType(nullptr);
    GetInputString(nullptr);
    GetInputPoint(nullptr, &x);
    GetPickedObject(nullptr);
    GetMainFrameWindow(nullptr);
    DisplayMsg(nullptr);
    DisplayPromptMsg(nullptr);
    DoCommandLine(nullptr);
    setWorkingLayer(nullptr);
    addPolyline(nullptr, 4, &out);
    addPolyline(&x, 2, nullptr);
    addPolyline(&x, -2, &out);
    CreateExtensionToolbar(1, nullptr, u"t", 0, nullptr, 3);
    CreateExtensionToolbar(1, nullptr, u"t", 0, &button, -1);
    CreateExtensionDockbar(1, nullptr, u"t", 0, nullptr);
    EXPECT_EQ(LoadXREF(u"x.dxf", nullptr), 0);
    EXPECT_EQ(GetInputStringN(nullptr, 10), -1);
    EXPECT_EQ(GetInputStringN(text, 0), -1);
    EXPECT_EQ(GetInputNumber(nullptr), 0);
    EXPECT_EQ(GetInputCoordinates(&x, nullptr), 0);
    EXPECT_EQ(SetObjectSelectMode(3), -1);
    EXPECT_EQ(GetSelection(nullptr, 2), -1);
    EXPECT_EQ(GetSelection(&out, -1), -1);
    EXPECT_EQ(moveObjects(nullptr, 1, 1.0, 1.0), -1);
    EXPECT_EQ(moveObjects(&id, -1, 1.0, 1.0), -1);
    EXPECT_EQ(moveObjects(&id, 1, std::nan(""), 1.0), -1);
    EXPECT_EQ(scaleObjects(&id, 1, 0.0, 0.0, 0.0), -1);
    EXPECT_EQ(getPolylineVertex(0, 0, &x, &x, nullptr), -1);
    EXPECT_EQ(getCircle(0, &x, nullptr, &x), -1);
    EXPECT_EQ(addRadiusDimension(0, 0, 1, 0, 2, 2, nullptr), -1);
    EXPECT_EQ(out, 7);
    EXPECT_TRUE(session.drawing.entities.empty());
    EXPECT_EQ(session.drawing.undoCount, 0);
    EXPECT_TRUE(host.messages().empty());

    // Without a session every call is refused.
    SetExtensionSession(nullptr);
    EXPECT_EQ(GetInputStringN(text, 4), -1);
    EXPECT_EQ(getObjectType(0), 0);
}

TEST_F(Exports, InputLineIsCopiedWholeOrCutAtTheBuffer) {
    type(u"h\u00E9llo\U0001F600");
    std::array<char16_t, KESTREL_INPUT_LINE_SIZE> line{};
    GetInputString(line.data());
    EXPECT_EQ(std::u16string(line.data()), u"h\u00E9llo\U0001F600");
    EXPECT_EQ(GetInputStringN(line.data(), 7), 7);
    EXPECT_EQ(std::u16string(line.data()), u"h\u00E9llo");  // the pair is not cut in half
    EXPECT_EQ(GetInputStringN(line.data(), 1), 7);
    EXPECT_EQ(line[0], 0);

    // A line longer than the command line takes (a module may submit one) is cut at the buffer.
    const std::u16string longLine(KESTREL_INPUT_LINE_SIZE + 100, u'x');
    DoCommandLine(longLine.c_str());
    line.back() = u'?';
    GetInputString(line.data());
    EXPECT_EQ(std::u16string(line.data()).size(), KESTREL_INPUT_LINE_SIZE - 1u);
    EXPECT_EQ(line.back(), 0);
    EXPECT_EQ(GetInputStringN(line.data(), static_cast<int>(line.size())),
              static_cast<int>(longLine.size()));
}

TEST_F(Exports, TypedLinesStopAtTheLongestTheCommandLineTakes) {
    EXPECT_FALSE(session.commandLine.TypeText(std::u16string(mmCommandLine::kMaxTypedLength + 5, u'a')));
    EXPECT_EQ(session.commandLine.typedText().size(), mmCommandLine::kMaxTypedLength);
}

TEST_F(Exports, NumbersAndCoordinatesOfTheInput) {
    double v = -1.0, x = 0.0, y = 0.0;
    const struct {
        std::u16string text;
        int number;
        double value;
        int point;
    } cases[] = {
        {u"2.5mm", 1, 2.5, 0}, {u"-1e2", 1, -100.0, 0}, {u".5", 1, 0.5, 0},
        {u"abc", 0, 0.0, 0},   {u"-", 0, 0.0, 0},        {u"3,4", 1, 3.0, 1},
    };
    for (const auto& c : cases) {
        type(c.text);
        v = -1.0;
        EXPECT_EQ(GetInputNumber(&v), c.number) << utf8(c.text);
        EXPECT_EQ(v, c.number ? c.value : -1.0) << utf8(c.text);
        EXPECT_EQ(GetInputCoordinates(&x, &y), c.point) << utf8(c.text);
    }
    EXPECT_EQ(x, 3.0);
    type(u"@1,1");  // relative to the last point, which the previous call set
    EXPECT_EQ(GetInputCoordinates(&x, &y), 1);
    EXPECT_EQ(x, 4.0);
    EXPECT_EQ(y, 5.0);
}

TEST_F(Exports, PolylinesOnTheWorkingLayerAndTheirUpdates) {
    const double xy[] = {0, 0, 10, 0, 10, 5, 99};  // the odd last value is left over
    int id = -1;
    addPolyline(xy, 7, &id);
    ASSERT_EQ(id, 0);
    auto& line = entity<mmPolyline>(0);
    EXPECT_EQ(line.pointCount(), 3);
    EXPECT_EQ(line.layerId, 0);
    updatePolyline(id, 1, 20, 0);
    updatePolyline(id, -1, 30, 30);
    updatePolyline(id, 4, 40, 40);
    ASSERT_EQ(line.pointCount(), 5);
    EXPECT_EQ(line.points[1].x, 20);
    EXPECT_EQ(line.points[4].y, 40);
    EXPECT_EQ(line.extents.maxX, 40);
    updatePolyline(id, 0, std::nan(""), 0);  // would corrupt the drawing
    EXPECT_EQ(line.points[0].x, 0);
    updatePolyline(12345, 0, 1, 1);  // no such object: nothing happens
    addPolyline(nullptr, 0, &id);
    EXPECT_EQ(id, 1);
    EXPECT_EQ(entity<mmPolyline>(1).pointCount(), 0);
}

// The button of a registered uiCommandId submits its command; other ids keep their own meaning.
TEST_F(Exports, ButtonsOfRegisteredIdsSubmitTheirCommand) {
    ::AddCommand(session, u"Probe", std::u16string(100, u't'), u"m", nullptr, 4242);
    EXPECT_TRUE(MenuCommandEnabled(session, 4242));
    EXPECT_EQ(ExtensionTooltip(session.extensionCommands, 4242)->size(), kExtensionTooltipLength);
    EXPECT_FALSE(ExtensionTooltip(session.extensionCommands, 0));
    EXPECT_TRUE(SubmitMenuCommandId(session, 4242));
    // The module has no such function: the usual message, after the upper-cased name.
    EXPECT_EQ(history().substr(0, 11), "\r\n> PROBE\r\n");
    EXPECT_TRUE(SubmitMenuCommandId(session, 32812));
    EXPECT_EQ(view().commandId, 4511);  // POINT
}

TEST_F(Exports, WindowCallsWithoutAWindowAreAcceptedAndDoNothing) {
    void* window = &window;
    GetMainFrameWindow(&window);
    EXPECT_EQ(window, nullptr);
    const KestrelToolbarButton button{0, 1, KESTREL_BUTTON, u"tip"};
    CreateExtensionToolbar(1, nullptr, u"Tools", 0, &button, 1);
    int content = 0;
    CreateExtensionDockbar(0, nullptr, u"Pane", 0, &content);
    EXPECT_TRUE(host.messages().empty());
}
