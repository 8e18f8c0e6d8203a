// RASTER: the multi-file dialog, the loading message, the insertion point and scale prompts with
// their undo, files that cannot be read, several files, paths relative to the drawing's folder;
// and inserted images in picking, window selection and snapping.
#include <filesystem>

#include "commands/CommandTable.h"
#include "commands/PointerTestSupport.h"
#include "entities/GLTexture.h"
#include "support/RasterFiles.h"

namespace fs = std::filesystem;

namespace {

class Raster : public PointerTest {
protected:
    fs::path dir;

    void SetUp() override {
        PointerTest::SetUp();
        dir = fs::temp_directory_path() /
              ("kestrel-rastercmd-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // A 20 x 10 BMP.
    std::string bmp(const std::string& name) {
        rasterfiles::writeBytes(dir / name, rasterfiles::bmpBytes(20, 10, 24, [](int, int) {
                                    return rasterfiles::Rgb{200, 10, 10};
                                }));
        return (dir / name).string();
    }
    GLTexture& image(std::size_t i) { return entity<GLTexture>(i); }
};

}  // namespace

TEST_F(Raster, InsertionPointAndScaleThenUndo) {
    const std::string path = bmp("plan.bmp");
    host.queueOpenFiles({path});
    type(u"raster");
    ASSERT_EQ(host.fileDialogs().size(), 1u);
    EXPECT_TRUE(host.fileDialogs()[0].multiple);
    EXPECT_NE(host.fileDialogs()[0].filter.find("*.tif;"), std::string::npos);
    EXPECT_EQ(host.statusTexts(),
              (std::vector<std::string>{"Loading raster image " + path + "...", ""}));
    EXPECT_EQ(view().commandId, cmd::kRaster);
    EXPECT_EQ(utf8(session.commandLine.prompt), "Specify raster image insertion point: ");
    ASSERT_EQ(liveCount(), 1u);
    EXPECT_EQ(image(0).colorIndex, kColorByLayer);

    type(u"10,20");
    EXPECT_EQ(utf8(session.commandLine.prompt), "Type raster image scale factor <1.0>: ");
    type(u"abc");  // not a factor: asked again
    type(u"0");
    EXPECT_EQ(view().commandId, cmd::kRaster);
    type(u"2");
    EXPECT_EQ(view().commandId, 0);
    EXPECT_DOUBLE_EQ(image(0).insertX, 10.0);
    EXPECT_DOUBLE_EQ(image(0).pixelSizeX, 2.0);
    EXPECT_DOUBLE_EQ(image(0).extents.maxX, 50.0);
    EXPECT_DOUBLE_EQ(image(0).extents.maxY, 40.0);

    type(u"undo");
    EXPECT_EQ(liveCount(), 0u);
    type(u"redo");
    EXPECT_EQ(liveCount(), 1u);
}

TEST_F(Raster, PickedPointAndDefaultScale) {
    host.queueOpenFiles({bmp("plan.bmp")});
    type(u"raster");
    pick(5, 6);
    type(u"");
    EXPECT_EQ(view().commandId, 0);
    EXPECT_DOUBLE_EQ(image(0).insertX, 5.0);
    EXPECT_DOUBLE_EQ(image(0).insertY, 6.0);
    EXPECT_DOUBLE_EQ(image(0).pixelSizeY, 1.0);
}

TEST_F(Raster, UnreadableFileIsToldAndAddsNothing) {
    const std::string missing = (dir / "gone.tif").string();
    host.queueOpenFiles({missing});
    type(u"raster");
    EXPECT_EQ(view().commandId, 0);
    EXPECT_EQ(liveCount(), 0u);
    EXPECT_EQ(message(), "Cannot load the raster image " + missing + ": the file does not exist.");

    type(u"raster");  // a cancelled dialog
    EXPECT_EQ(view().commandId, 0);
}

// Every file adds its image; the last is placed by the prompts, the others stay at the origin
// (each its own undo step). Without an insertion point the last is not inserted.
TEST_F(Raster, SeveralFilesAndAnEmptyInsertionPoint) {
    host.queueOpenFiles({bmp("a.bmp"), (dir / "missing.bmp").string(), bmp("c.bmp")});
    type(u"raster");
    EXPECT_EQ(session.drawing.entities.size(), 2u);
    EXPECT_EQ(view().commandId, cmd::kRaster);
    type(u"");
    EXPECT_EQ(view().commandId, 0);
    EXPECT_EQ(liveCount(), 1u);
    EXPECT_DOUBLE_EQ(image(0).insertX, 0.0);
    type(u"undo");
    EXPECT_EQ(liveCount(), 0u);
}

TEST_F(Raster, RelativePathsTakenFromTheDrawingsFolder) {
    bmp("plan.bmp");
    session.documentFolder = dir.string();
    host.queueOpenFiles({"plan.bmp"});
    type(u"raster");
    ASSERT_EQ(liveCount(), 1u);
    EXPECT_EQ(image(0).path, (dir / "plan.bmp").string());
}

// The frame is picked, held by windows, crossed, and snapped to at its corners.
TEST_F(Raster, FrameTakesPartInPickingSelectionAndSnap) {
    host.queueOpenFiles({bmp("plan.bmp")});
    type(u"raster");
    type(u"10,10");
    type(u"");
    moveNear(20, 10, 0, 2);  // on the bottom edge
    click();
    EXPECT_TRUE(selected(0));
    run("!key Escape");
    moveNear(20, 15, 0);  // inside, away from the edges: an empty click starts a window
    click();
    EXPECT_FALSE(selected(0));
    run("!key Escape");

    run("!pick 45,30");  // right to left over the right edge: crossing
    run("!pick 25,15");
    EXPECT_TRUE(selected(0));
    run("!key Escape");

    type(u"line");
    moveNear(30, 20, 3, 2);
    EXPECT_EQ(model().snapInfo.kind, kSnapEndpoint);
    EXPECT_DOUBLE_EQ(model().snapInfo.x + session.originOffset.x, 30.0);
    type(u"");
}
