// Pixels of entities read from a DXF file, rendered as the editor renders them: an ellipse, a
// filled solid, a leader's arrowhead, and the layer 0 children of a reference in the colour of
// the reference's layer.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "commands/CommandTestSupport.h"
#include "commands/StartupDrawing.h"
#include "display/Renderer.h"
#include "fileio/DxfTestSupport.h"
#include "fileio/dxf/DxfLoad.h"
#include "platform/HeadlessGL.h"

using kestrel::platform::HeadlessGlContext;
using kestrel::platform::Image;
using kestrel::platform::Rgba;

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

// Layer "Red" (colour 1); block "Mark": a line on layer 0 by layer from (0, 0) to (20, 0).
constexpr char kFile[] = R"(
0 SECTION
2 TABLES
0 TABLE
2 LAYER
0 LAYER
2 Red
62 1
0 ENDTAB
0 ENDSEC
0 SECTION
2 BLOCKS
0 BLOCK
2 Mark
0 LINE
8 0
11 20
0 ENDBLK
0 ENDSEC
0 SECTION
2 ENTITIES
0 ELLIPSE
10 30
20 50
11 20
40 0.5
0 SOLID
10 60
20 10
11 80
21 10
12 60
22 30
13 80
23 30
0 LEADER
71 1
10 90
20 60
10 99
20 60
1001 ACAD
1000 DSTYLE
1002 {
1070 41
1040 6
1002 }
0 INSERT
8 Red
2 Mark
10 5
20 5
0 ENDSEC
0 EOF
)";

class FileEntitiesGl : public CommandTest {
protected:
    std::unique_ptr<HeadlessGlContext> gl;
    Image image;

    void SetUp() override {
        std::string error;
        gl = HeadlessGlContext::create(kWidth, kHeight, &error);
        if (!gl) GTEST_SKIP() << "no headless OpenGL: " << error;
        PrepareStartupView(session, kWidth, kHeight);
        loadDrawingFromDxfText(session.drawing, nullptr, Dxf(kFile), nullptr);
        mmRenderer renderer(host);
        ASSERT_TRUE(renderer.InitializeGl(session.modelView));
        session.modelView.renderForOutput = true;
        session.modelView.zoomWindow(0, 0, 100, 75, 0);
        renderer.Paint(session.modelView, session.ModelScene());
        image = gl->readPixels();
        renderer.ReleaseGl();
    }
    void TearDown() override {
        if (!HasFailure()) return;
        std::filesystem::create_directories(KESTREL_TEST_OUTPUT_DIR);
        image.savePng(std::string(KESTREL_TEST_OUTPUT_DIR) + "/FileEntitiesGl.png");
    }

    Rgba at(double x, double y) {
        int px = 0, py = 0;
        EXPECT_TRUE(session.modelView.worldToScreen(x, y, session.modelView.Matrices(), px, py));
        return image.pixel(px, py);
    }
    // Any pixel of the 3x3 block around the point is inked in the colour test.
    template <class Test>
    bool near(double x, double y, Test test) {
        int px = 0, py = 0;
        EXPECT_TRUE(session.modelView.worldToScreen(x, y, session.modelView.Matrices(), px, py));
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (test(image.pixel(px + dx, py + dy))) return true;
        return false;
    }
};

bool black(const Rgba& c) { return c.r < 60 && c.g < 60 && c.b < 60; }
bool white(const Rgba& c) { return c.r == 255 && c.g == 255 && c.b == 255; }
bool red(const Rgba& c) { return c.r > 200 && c.g < 60 && c.b < 60; }

}  // namespace

TEST_F(FileEntitiesGl, EllipseOutline) {
    EXPECT_TRUE(near(50, 50, black)) << "the end of the major axis";
    EXPECT_TRUE(near(30, 60, black)) << "the end of the minor axis";
    EXPECT_TRUE(white(at(30, 50))) << "the centre";
    EXPECT_TRUE(white(at(30, 64))) << "beyond the minor axis";
}

TEST_F(FileEntitiesGl, SolidIsFilled) {
    EXPECT_TRUE(black(at(70, 20)));
    EXPECT_TRUE(black(at(62, 28)));
    EXPECT_TRUE(white(at(85, 20)));
}

TEST_F(FileEntitiesGl, LeaderHasItsArrowhead) {
    EXPECT_TRUE(black(at(93, 60.4))) << "inside the arrowhead, 6 long and 2 wide";
    EXPECT_TRUE(white(at(93, 63)));
    EXPECT_TRUE(near(98, 60, black)) << "the line";
}

TEST_F(FileEntitiesGl, LayerZeroChildrenTakeTheReferencesLayerColour) {
    EXPECT_TRUE(near(15, 5, red));
}
