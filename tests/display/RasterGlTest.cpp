// Raster images drawn by the renderer into a headless context: BMP, JPEG and a tiled 1-bit TIFF
// placed by its world file, checked at known image positions (the last, padded tiles included);
// the dashed frame of a selected image; the reload into another context and after a regen.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "commands/CommandTestSupport.h"
#include "commands/Selection.h"
#include "commands/StartupDrawing.h"
#include "display/Renderer.h"
#include "entities/GLTexture.h"
#include "platform/HeadlessGL.h"
#include "support/RasterFiles.h"

namespace fs = std::filesystem;
using kestrel::platform::HeadlessGlContext;
using kestrel::platform::Image;
using kestrel::platform::Rgba;
using rasterfiles::Rgb;

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

Rgb blocks(int x, int y) {
    const int k = (x / 8 + 3 * (y / 8)) % 8;
    return Rgb{uint8_t(k & 1 ? 230 : 20), uint8_t(k & 2 ? 230 : 20), uint8_t(k & 4 ? 230 : 20)};
}

bool ink(int x, int y) {
    return (x + 2 * y) % 7 == 0 || x == 5 || y == 37;
}

bool near(const Rgba& a, const Rgb& b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

class RasterGl : public CommandTest {
protected:
    std::unique_ptr<HeadlessGlContext> gl;
    std::unique_ptr<mmRenderer> renderer;
    fs::path dir;
    std::vector<std::pair<std::string, Image>> images;

    void SetUp() override {
        std::string error;
        gl = HeadlessGlContext::create(kWidth, kHeight, &error);
        if (!gl) GTEST_SKIP() << "no headless OpenGL: " << error;
        PrepareStartupView(session, kWidth, kHeight);
        renderer = std::make_unique<mmRenderer>(host);
        ASSERT_TRUE(renderer->InitializeGl(session.modelView));
        session.drawing.rasterTileLimit = 16;  // small images over several tiles
        dir = fs::temp_directory_path() /
              ("kestrel-rastergl-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }

    void TearDown() override {
        if (!dir.empty()) fs::remove_all(dir);
        if (!HasFailure()) return;
        fs::create_directories(KESTREL_TEST_OUTPUT_DIR);
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        for (const auto& [name, image] : images)
            image.savePng(std::string(KESTREL_TEST_OUTPUT_DIR) + "/" + test + "-" + name + ".png");
    }

    // RASTER with the file, at the point unless its world file places it, scale 1.
    GLTexture& insert(const fs::path& path, std::u16string_view at = u"0,0") {
        host.queueOpenFiles({path.string()});
        type(u"raster");
        if (view().commandId != 0) {
            type(at);
            type(u"");
        }
        return entity<GLTexture>(session.drawing.entities.size() - 1);
    }

    Image paint(const std::string& name) {
        gl->makeCurrent();
        renderer->Paint(session.modelView, session.ModelScene());
        Image image = gl->readPixels();
        images.emplace_back(name, image);
        return image;
    }

    Rgba at(const Image& image, double x, double y) {
        int px = 0, py = 0;
        EXPECT_TRUE(session.modelView.worldToScreen(x, y, session.modelView.Matrices(), px, py));
        return image.pixel(px, py);
    }
    // The centre of image pixel (x, y from the top) of an image at (x0, y0) with square pixels.
    Rgba pixelOf(const Image& image, const GLTexture& img, int x, int y) {
        return at(image, img.insertX + (x + 0.5) * img.pixelSizeX,
                  img.insertY + (img.heightPx - y - 0.5) * img.pixelSizeY);
    }
    // Pixels of the whole image that differ from the expected colour.
    int wrongPixels(const Image& image, const GLTexture& img,
                    const std::function<Rgb(int, int)>& expected, int tolerance) {
        int wrong = 0;
        for (int y = 0; y < img.heightPx; ++y)
            for (int x = 0; x < img.widthPx; ++x)
                wrong += !near(pixelOf(image, img, x, y), expected(x, y), tolerance);
        return wrong;
    }
};

}  // namespace

// 40 x 30 pixels in tiles of 16: three columns (the last 8 texels wide) and two rows (the last 14
// high). Every pixel shows, the padding does not.
TEST_F(RasterGl, BmpAndJpegShowEveryPixelOverPaddedTiles) {
    rasterfiles::writeBytes(dir / "plan.bmp", rasterfiles::bmpBytes(40, 30, 24, blocks));
    ASSERT_TRUE(rasterfiles::writeJpeg(dir / "photo.jpg", 40, 30, blocks));
    GLTexture& bmp = insert(dir / "plan.bmp");
    EXPECT_EQ(bmp.tileCount, 6);
    EXPECT_EQ(bmp.padX, 8);
    EXPECT_EQ(bmp.padY, 2);
    session.modelView.zoomWindow(-2, -2, 42, 32, 0);
    const Image shown = paint("bmp");
    EXPECT_EQ(wrongPixels(shown, bmp, blocks, 0), 0);
    EXPECT_TRUE(near(pixelOf(shown, bmp, 36, 1), blocks(36, 1), 0));  // the last, padded tile
    EXPECT_EQ(at(shown, 41, 15), (Rgba{255, 255, 255, at(shown, 41, 15).a}));
    EXPECT_EQ(at(shown, 20, 31.5), (Rgba{255, 255, 255, at(shown, 20, 31.5).a}));

    // JPEG blurs colours across the blocks' edges: their middles are compared.
    bmp.erased = true;
    GLTexture& jpg = insert(dir / "photo.jpg");
    EXPECT_EQ(jpg.orientation, kRasterJpeg);
    const Image photo = paint("jpeg");
    for (int y = 3; y < 30; y += 8)
        for (int x = 4; x < 40; x += 8)
            EXPECT_TRUE(near(pixelOf(photo, jpg, x, y), blocks(x, y), 40)) << x << "," << y;
    EXPECT_TRUE(host.historyMessages().empty());
}

// The sheet's world file puts its top-left corner at (10, 30) with pixels of 0.5: it covers
// (10, 10) to (34, 30). Ink shows black, the rest white; the last row of tiles is padded.
TEST_F(RasterGl, TiledSheetPlacedByItsWorldFile) {
    ASSERT_TRUE(rasterfiles::writeBilevelTiff(dir / "sheet.tif", 48, 40, 16, ink, true));
    std::ofstream(dir / "sheet.tfw") << "0.5\n0\n0\n-0.5\n10\n30\n";
    GLTexture& sheet = insert(dir / "sheet.tif");
    EXPECT_EQ(view().commandId, 0);  // placed: no insertion point asked
    EXPECT_EQ(sheet.tileSize, 16);
    EXPECT_EQ(sheet.padY, 8);
    EXPECT_DOUBLE_EQ(sheet.insertY, 10.0);
    session.modelView.zoomWindow(9, 9, 35, 31, 0);
    const Image shown = paint("sheet");
    const auto expected = [](int x, int y) {
        return ink(x, y) ? Rgb{0, 0, 0} : Rgb{255, 255, 255};
    };
    EXPECT_EQ(wrongPixels(shown, sheet, expected, 0), 0);

    // Selected, it keeps its pixels: drawn again with XOR they would vanish. (Without grips,
    // which cover the corners.)
    session.modelView.showGrips = false;
    SelectEntity(session, sheet, true);
    const Image selected = paint("selected");
    EXPECT_EQ(wrongPixels(selected, sheet, expected, 0), 0);
}

TEST_F(RasterGl, SelectedImageShowsADashedFrame) {
    rasterfiles::writeBytes(dir / "plan.bmp", rasterfiles::bmpBytes(40, 30, 24, blocks));
    GLTexture& bmp = insert(dir / "plan.bmp");
    session.modelView.zoomWindow(-10, -10, 50, 40, 0);
    const auto frameRow = [&](const Image& image, int& black, int& white) {
        // The row of the bottom edge: of the rows about y = 0, the one with most black.
        int px = 0, py = 0;
        session.modelView.worldToScreen(0, 0, session.modelView.Matrices(), px, py);
        int best = -1;
        for (int row = py - 1; row <= py + 1; ++row) {
            int b = 0, w = 0;
            for (double x = 8; x <= 32; x += 0.25) {
                int qx = 0, qy = 0;
                session.modelView.worldToScreen(x, 0, session.modelView.Matrices(), qx, qy);
                const Rgba c = image.pixel(qx, row);
                b += c.r == 0 && c.g == 0 && c.b == 0;
                w += c.r == 255 && c.g == 255 && c.b == 255;
            }
            if (b > best) {
                best = b;
                black = b;
                white = w;
            }
        }
    };
    int black = 0, white = 0;
    frameRow(paint("plain"), black, white);
    EXPECT_GT(black, 80);
    EXPECT_EQ(white, 0);
    SelectEntity(session, bmp, true);
    frameRow(paint("highlighted"), black, white);
    EXPECT_GT(black, 20);
    EXPECT_GT(white, 20);
}

// Another context (an output render) reads the file again; after the file is gone, a regen
// leaves the frame and tells why.
TEST_F(RasterGl, TexturesReloadIntoAnotherContextAndAfterARegen) {
    rasterfiles::writeBytes(dir / "plan.bmp", rasterfiles::bmpBytes(40, 30, 24, blocks));
    GLTexture& bmp = insert(dir / "plan.bmp", u"20,20");  // clear of the axis icon
    session.modelView.zoomWindow(18, 18, 62, 52, 0);
    paint("first");

    std::string error;
    auto second = HeadlessGlContext::create(kWidth, kHeight, &error);
    ASSERT_TRUE(second) << error;
    {
        mmRenderer output(host);
        ASSERT_TRUE(output.InitializeGl(session.modelView));
        session.modelView.renderForOutput = true;
        output.Paint(session.modelView, session.ModelScene());
        session.modelView.renderForOutput = false;
        const Image exported = second->readPixels();
        images.emplace_back("output", exported);
        EXPECT_EQ(wrongPixels(exported, bmp, blocks, 0), 0);
        output.ReleaseGl();
    }
    second.reset();
    session.modelView.requestRedraw();
    EXPECT_EQ(wrongPixels(paint("again"), bmp, blocks, 0), 0);

    fs::remove(dir / "plan.bmp");
    type(u"regen");
    const Image frameOnly = paint("frame-only");
    EXPECT_EQ(wrongPixels(
                  frameOnly, bmp,
                  [](int, int) {
                      return Rgb{255, 255, 255};
                  },
                  0),
              0);
    ASSERT_FALSE(host.historyMessages().empty());
    EXPECT_EQ(host.historyMessages().back(), "Cannot load the raster image " +
                                                 (dir / "plan.bmp").string() +
                                                 ": the file does not exist.");
}

// An output render (an export) zoomed out to a quarter: a sheet's one-pixel line still shows
// black, where box-filtered mipmaps would leave a light grey.
TEST_F(RasterGl, ThinLinesStayBlackWhenAnOutputIsZoomedOut) {
    ASSERT_TRUE(rasterfiles::writeBilevelTiff(dir / "line.tif", 256, 256, 64,
                                              [](int x, int) { return x == 101; }));
    insert(dir / "line.tif", u"20,20");
    session.modelView.zoomWindow(-500, -350, 780, 610, 0);  // 1280 x 960 units in 320 x 240
    ASSERT_NEAR(session.modelView.ActiveZoomScale(), 0.25, 1e-9);
    session.modelView.renderForOutput = true;
    const Image exported = paint("output");
    session.modelView.renderForOutput = false;
    int px = 0, py = 0;
    ASSERT_TRUE(session.modelView.worldToScreen(20 + 101.5, 20 + 128, session.modelView.Matrices(),
                                                px, py));
    int darkest = 255;
    for (int dx = -2; dx <= 2; ++dx) darkest = std::min<int>(darkest, exported.pixel(px + dx, py).r);
    EXPECT_LT(darkest, 100);
}
