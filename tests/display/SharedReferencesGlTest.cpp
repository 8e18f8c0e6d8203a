// References that share their children against references that own deep copies of them: the
// same file read twice, the second time with every reference (nested ones too) given its own
// copy, must draw the same pixels, pick, cross, select and snap alike and save the same file,
// before and after a change of the layers.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "commands/CommandTestSupport.h"
#include "commands/ObjectSnap.h"
#include "commands/Selection.h"
#include "commands/StartupDrawing.h"
#include "display/Renderer.h"
#include "drawing/LayerRules.h"
#include "entities/BlockRef.h"
#include "fileio/DxfTestSupport.h"
#include "fileio/dxf/DxfLoad.h"
#include "fileio/dxf/DxfSave.h"
#include "platform/HeadlessGL.h"

using kestrel::platform::HeadlessGlContext;
using kestrel::platform::Image;

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

// Layers Red (1) and Blue (5). Block Inner: a circle on layer 0 coloured by block and a line
// on Blue. Block Sym: a line on layer 0 by layer, an arc and a solid hatch by block, a text and
// Inner nested. References to Sym: alike ones (which share), on other layers, coloured by block,
// mirrored, turned, scaled, a 2 x 2 MINSERT, and small ones a pixel or two across.
constexpr char kFile[] = R"(
0 SECTION
2 TABLES
0 TABLE
2 LAYER
0 LAYER
2 0
62 7
0 LAYER
2 Red
62 1
0 LAYER
2 Blue
62 5
0 ENDTAB
0 ENDSEC
0 SECTION
2 BLOCKS
0 BLOCK
2 Inner
0 CIRCLE
8 0
62 0
40 3
0 LINE
8 Blue
10 -3
11 3
21 3
0 ENDBLK
0 BLOCK
2 Sym
0 LINE
8 0
11 10
0 ARC
8 0
62 0
40 6
50 0
51 120
0 HATCH
8 0
62 0
2 SOLID
70 1
91 1
92 1
72 1
93 3
10 0
20 0
10 4
20 0
10 0
20 4
98 0
0 TEXT
8 0
10 1
20 -4
40 2
1 AB
0 INSERT
8 0
2 Inner
10 10
20 5
0 ENDBLK
0 ENDSEC
0 SECTION
2 ENTITIES
0 INSERT
8 Red
2 Sym
10 10
20 10
0 INSERT
8 Red
2 Sym
10 40
20 10
0 INSERT
8 Red
2 Sym
10 70
20 10
0 INSERT
8 Blue
2 Sym
10 100
20 10
0 INSERT
8 0
62 3
2 Sym
10 130
20 10
0 INSERT
8 Red
2 Sym
10 30
20 50
41 -1
0 INSERT
8 Red
2 Sym
10 70
20 50
41 1.5
42 0.5
50 30
0 INSERT
8 Blue
2 Sym
10 100
20 50
50 -90
0 INSERT
8 Red
2 Sym
10 10
20 80
70 2
71 2
44 30
45 25
0 INSERT
8 Red
2 Sym
10 120
20 90
41 0.02
42 0.02
0 INSERT
8 Blue
2 Sym
10 130
20 90
41 0.02
42 0.02
0 ENDSEC
0 EOF
)";

// Every reference, nested ones included, gets its own deep copy of its children.
void ownAll(mmEntityList& entities) {
    for (const mmObjectPtr& e : entities)
        if (e && e->type == kTypeBlockRef) ownAll(static_cast<mmBlockRef&>(*e).children.Own());
}

// What one of the two drawings shows and does.
struct Observed {
    Image pixels;
    Image output;
    std::vector<int32_t> picks;
    std::vector<int32_t> crossings;
    std::vector<double> snaps;
    int selectedTotal = 0;
    std::string saved;
};

class SharedReferencesGl : public ::testing::Test {
protected:
    std::unique_ptr<HeadlessGlContext> gl;
    std::vector<std::pair<std::string, Image>> images;

    void SetUp() override {
        std::string error;
        gl = HeadlessGlContext::create(kWidth, kHeight, &error);
        if (!gl) GTEST_SKIP() << "no headless OpenGL: " << error;
    }
    void TearDown() override {
        if (!HasFailure()) return;
        std::filesystem::create_directories(KESTREL_TEST_OUTPUT_DIR);
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        for (const auto& [name, image] : images)
            image.savePng(std::string(KESTREL_TEST_OUTPUT_DIR) + "/" + test + "-" + name + ".png");
    }

    static void load(mmSession& s, bool owned) {
        PrepareStartupView(s, kWidth, kHeight);
        loadDrawingFromDxfText(s.drawing, s.glyphTable.get(), Dxf(kFile), nullptr);
        if (owned) ownAll(s.drawing.entities);
        s.modelView.zoomWindow(0, 0, 160, 120, 0);
    }

    // The layers change: Red turns yellow, Blue is switched off.
    static void changeLayers(mmSession& s) {
        for (auto& [id, layer] : s.drawing.layers) {
            if (layer.name == u"Red") layer.color = 0x00FFFF;
            if (layer.name == u"Blue") layer.show = false;
        }
        PushLayerProperties(s.drawing, s.glyphTable.get());
    }

    Observed observe(mmSession& s, const std::string& name) {
        Observed o;
        mmView& view = s.modelView;
        {
            mmRenderer renderer(s.host);
            EXPECT_TRUE(renderer.InitializeGl(view));
            renderer.Paint(view, s.ModelScene());
            o.pixels = gl->readPixels();
            view.renderForOutput = true;
            renderer.Paint(view, s.ModelScene());
            o.output = gl->readPixels();
            view.renderForOutput = false;
            renderer.ReleaseGl();
        }
        images.emplace_back(name, o.pixels);
        const mmRect window = view.VisibleWindow();
        const float ppu = static_cast<float>(view.PixelsPerUnit());
        const mmShift shift{0.0, 0.0, view.originOffset.x, view.originOffset.y};
        for (int y = 0; y < kHeight; y += 3)
            for (int x = 0; x < kWidth; x += 3) {
                int32_t hit = -1;
                for (const mmObjectPtr& e : s.drawing.entities)
                    if (e->HitTest(x, y, window, view.Matrices(), ppu, shift, true)) hit = e->id;
                o.picks.push_back(hit);
            }
        for (double x = 0; x < 160; x += 7)
            for (const mmObjectPtr& e : s.drawing.entities)
                if (e->CrossesRect({x, 0, x + 5, 120}, shift, true)) o.crossings.push_back(e->id);
        for (const mmObjectPtr& e : s.drawing.entities) SetEntitySelected(s, *e, true);
        o.selectedTotal = s.ActiveView().selectedTotal;
        for (int y = 0; y < kHeight; y += 9)
            for (int x = 0; x < kWidth; x += 9) {
                view.lastMouseX = x;
                view.lastMouseY = y;
                SnapSearch(s);
                o.snaps.insert(o.snaps.end(), {view.snapFound ? 1.0 : 0.0, view.snapInfo.x,
                                               view.snapInfo.y});
            }
        for (const mmObjectPtr& e : s.drawing.entities) SetEntitySelected(s, *e, false);
        const std::string path = ::testing::TempDir() + "shared-references-" + name + ".dxf";
        EXPECT_TRUE(saveDrawingAsDxf2000(s.drawing, nullptr, path));
        o.saved = ReadWholeFile(path);
        std::filesystem::remove(path);
        return o;
    }

    static void expectSame(const Observed& a, const Observed& b) {
        EXPECT_TRUE(a.pixels.rgba == b.pixels.rgba) << "on screen";
        EXPECT_TRUE(a.output.rgba == b.output.rgba) << "in a picture";
        EXPECT_EQ(a.picks, b.picks);
        EXPECT_EQ(a.crossings, b.crossings);
        EXPECT_EQ(a.selectedTotal, b.selectedTotal);
        EXPECT_EQ(a.snaps, b.snaps);
        EXPECT_EQ(a.saved, b.saved);
    }
};

}  // namespace

TEST_F(SharedReferencesGl, SharedAndOwnedChildrenDrawPickSnapAndSaveAlike) {
    kestrel::platform::RecordingHost hostA, hostB;
    mmSession shared(hostA), owned(hostB);
    load(shared, false);
    load(owned, true);
    const auto& first = static_cast<const mmBlockRef&>(*shared.drawing.entities[0]);
    const auto& second = static_cast<const mmBlockRef&>(*shared.drawing.entities[1]);
    ASSERT_TRUE(first.children.SameAs(second.children)) << "references read alike share";
    ASSERT_FALSE(static_cast<const mmBlockRef&>(*owned.drawing.entities[1])
                     .children.SameAs(static_cast<const mmBlockRef&>(*owned.drawing.entities[0])
                                          .children));
    const Observed before = observe(shared, "shared");
    expectSame(before, observe(owned, "owned"));
    ASSERT_FALSE(HasFailure());

    changeLayers(shared);
    changeLayers(owned);
    const Observed after = observe(shared, "shared-changed");
    expectSame(after, observe(owned, "owned-changed"));
    EXPECT_FALSE(after.pixels.rgba == before.pixels.rgba) << "the change shows";
}
