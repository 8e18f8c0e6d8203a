// Raster images without pixels: tiling and the quads of the tiles, the frame with its picking,
// crossing and grips, textures shared by copies and loaded once per context and generation, the
// placement under moves and scales, and the path rules.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "entities/BlockRef.h"
#include "entities/GLTexture.h"
#include "entities/RecordingDrawContext.h"
#include "support/TestView.h"

namespace {

const mmRect kEverywhere{-1e6, -1e6, 1e6, 1e6};

// Hands out texture names, or fails.
class FakeLoader final : public mmImageLoader {
public:
    int loads = 0;
    bool succeed = true;
    uint32_t next = 1;

    bool Load(const GLTexture& image, std::vector<uint32_t>& names) override {
        ++loads;
        if (!succeed) {
            names.clear();
            return false;
        }
        if (names.empty())
            for (int32_t i = 0; i < image.tileCount; ++i)
                names.push_back(next++);
        return true;
    }
};

std::shared_ptr<GLTexture> image(int w, int h, int tile, double x, double y, double size,
                                 int32_t orientation = kRasterBottomUp) {
    auto img = std::make_shared<GLTexture>();
    img->path = "/maps/site.bmp";
    img->orientation = orientation;
    img->SetTiling(w, h, tile);
    img->insertX = x;
    img->insertY = y;
    img->pixelSizeX = img->pixelSizeY = size;
    img->BuildFrame();
    return img;
}

std::vector<mmRecordedPrimitive> quads(const mmRecordingDrawContext& dc) {
    std::vector<mmRecordedPrimitive> out;
    for (const mmRecordedPrimitive& p : dc.primitives)
        if (p.texture != 0) out.push_back(p);
    return out;
}

}  // namespace

// A 1000 x 600 image in tiles of 512: 2 columns, 2 rows, the last column 488 texels wide and the
// last row 176 texels high, their texture coordinates stopping short of the padding.
TEST(RasterTiles, ThousandBySixHundredInTilesOf512) {
    auto img = image(1000, 600, 512, 10, 20, 0.5);
    EXPECT_EQ(img->columns, 2);
    EXPECT_EQ(img->Rows(), 2);
    EXPECT_EQ(img->tileCount, 4);
    EXPECT_EQ(img->padX, 24);
    EXPECT_EQ(img->padY, 424);

    FakeLoader loader;
    mmRecordingDrawContext dc;
    dc.SetImageLoader(&loader);
    img->Draw(dc, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, {0, 0, 10, 0}, false);
    const auto tiles = quads(dc);
    ASSERT_EQ(tiles.size(), 4u);
    // Tile 3: row 1, column 1, from (10 + 512 * 0.5 - 10, 20 + 256) over 488 x 88 texels.
    const auto& last = tiles[3].vertices;
    EXPECT_DOUBLE_EQ(last[0].x, 256.0);
    EXPECT_DOUBLE_EQ(last[0].y, 276.0);
    EXPECT_DOUBLE_EQ(last[2].x - last[0].x, 488 * 0.5);
    EXPECT_DOUBLE_EQ(last[2].y - last[0].y, 88 * 0.5);
    EXPECT_FLOAT_EQ(tiles[3].texS, 1.0f - 24.0f / 512.0f);
    EXPECT_FLOAT_EQ(tiles[3].texT, 1.0f - 424.0f / 512.0f);
    EXPECT_FLOAT_EQ(tiles[0].texS, 1.0f);
    EXPECT_FALSE(tiles[0].logicXor);
    EXPECT_EQ(tiles[0].color[0], 1.0f);  // white: the texture's own colours
    // Then the frame in black through the five points.
    const mmRecordedPrimitive& frame = dc.primitives.back();
    EXPECT_EQ(frame.primitive, prim::kLineStrip);
    EXPECT_EQ(frame.vertices.size(), 5u);
    EXPECT_EQ(frame.color[0], 0.0f);
    EXPECT_EQ(dc.errors, 0);
}

// TIFF luminance: tiles run down from the top edge and are drawn with XOR.
TEST(RasterTiles, TiffLuminanceRunsDownFromTheTopWithXor) {
    auto img = image(1000, 600, 512, 0, 0, 1.0, kRasterTiffLuminance);
    FakeLoader loader;
    mmRecordingDrawContext dc;
    dc.SetImageLoader(&loader);
    img->Draw(dc, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, {}, false);
    const auto tiles = quads(dc);
    ASSERT_EQ(tiles.size(), 4u);
    EXPECT_TRUE(tiles[0].logicXor);
    EXPECT_DOUBLE_EQ(tiles[0].vertices[0].y, 600.0);
    EXPECT_DOUBLE_EQ(tiles[0].vertices[1].y, 88.0);
    EXPECT_DOUBLE_EQ(tiles[2].vertices[0].y, 88.0);  // row 1 starts where row 0 ends
    EXPECT_DOUBLE_EQ(tiles[2].vertices[1].y, 0.0);   // and stops at the bottom edge
}

TEST(RasterImage, FrameGripsPickingAndCrossing) {
    auto img = image(100, 50, 512, 10, 20, 2.0);
    ASSERT_EQ(img->points.size(), 5u);
    EXPECT_EQ(img->grips.size(), 5u);
    EXPECT_DOUBLE_EQ(img->points[2].x, 210.0);
    EXPECT_DOUBLE_EQ(img->points[2].y, 120.0);
    EXPECT_DOUBLE_EQ(img->extents.minX, 10.0);
    EXPECT_DOUBLE_EQ(img->extents.maxY, 120.0);

    const TestView view(400, 300, 1.0, 0.0, 300.0);
    // On the left edge, 4 pixels off it, 6 pixels off it, and in the middle.
    EXPECT_TRUE(
        img->HitTest(view.px(10), view.py(70), view.rect(), view.m, view.scale(), {}, true));
    EXPECT_TRUE(
        img->HitTest(view.px(14), view.py(70), view.rect(), view.m, view.scale(), {}, true));
    EXPECT_FALSE(
        img->HitTest(view.px(16), view.py(70), view.rect(), view.m, view.scale(), {}, true));
    EXPECT_FALSE(
        img->HitTest(view.px(110), view.py(70), view.rect(), view.m, view.scale(), {}, true));

    EXPECT_TRUE(img->CrossesRect({0, 60, 20, 80}, {}, true));      // over the left edge
    EXPECT_FALSE(img->CrossesRect({50, 50, 100, 100}, {}, true));  // inside
    EXPECT_FALSE(img->CrossesRect({300, 0, 400, 50}, {}, true));   // beside

    mmRecordingDrawContext dc;
    img->Draw(dc, kEverywhere, kDrawHighlight, 1.0f, prim::kLineStrip, {}, false);
    ASSERT_EQ(dc.primitives.size(), 2u);  // the black frame, then the white dashes
    EXPECT_FALSE(dc.primitives[0].lineStipple);
    EXPECT_EQ(dc.primitives[0].color[0], 0.0f);
    EXPECT_TRUE(dc.primitives[1].lineStipple);
    EXPECT_EQ(dc.primitives[1].stipplePattern, 0xAAAA);
    EXPECT_EQ(dc.primitives[1].color[0], 1.0f);

    dc.Clear();
    img->Draw(dc, kEverywhere, kDrawGrips, 1.0f, prim::kLineStrip, {}, false);
    ASSERT_EQ(dc.primitives.size(), 5u);
    EXPECT_DOUBLE_EQ(dc.primitives[0].vertices[2].x, 15.0);  // 10-pixel squares
}

// Copies share the textures; each context loads them once per generation, and gets the names
// back when the last copy is gone. A failed load is not tried again until the next generation.
TEST(RasterImage, TexturesSharedByCopiesPerContextAndGeneration) {
    FakeLoader loader;
    mmRecordingDrawContext first, second;
    first.SetImageLoader(&loader);
    second.SetImageLoader(&loader);
    {
        auto img = image(1000, 600, 512, 0, 0, 1.0);
        mmEntityList copies;
        const mmObjectPtr copy = CloneEntity(*img, copies);
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(static_cast<GLTexture&>(*copy).Textures(), img->Textures());

        img->Draw(first, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, {}, false);
        copy->Draw(first, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, {}, false);
        EXPECT_EQ(loader.loads, 1);
        loader.NewGeneration();
        img->Draw(first, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, {}, false);
        EXPECT_EQ(loader.loads, 2);
        EXPECT_EQ(loader.next, 5u);  // the names were used again
        img->Draw(second, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, {}, false);
        EXPECT_EQ(loader.loads, 3);
    }
    first.DeleteReleasedLists();
    EXPECT_EQ(first.deletedTextures, (std::vector<uint32_t>{1, 2, 3, 4}));

    loader.succeed = false;
    auto broken = image(100, 100, 512, 0, 0, 1.0);
    mmRecordingDrawContext dc;
    dc.SetImageLoader(&loader);
    broken->Draw(dc, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, {}, false);
    broken->Draw(dc, kEverywhere, kDrawNormal, 1.0f, prim::kLineStrip, {}, false);
    EXPECT_EQ(loader.loads, 4);
    ASSERT_EQ(dc.primitives.size(), 2u);  // the frame, twice
    EXPECT_EQ(dc.primitives[0].texture, 0u);
}

// Moves and scales keep an image upright: its pixel sizes change by the factors' sizes and it
// lies where its frame maps to; a turn takes its centre round.
TEST(RasterImage, MovesAndScalesKeepItUpright) {
    auto img = image(10, 20, 512, 1, 2, 1.0);
    TranslateEntity(*img, 5, 5);
    EXPECT_DOUBLE_EQ(img->insertX, 6.0);
    EXPECT_DOUBLE_EQ(img->points[2].y, 27.0);

    ScaleEntity(*img, -2.0, 3.0, 2.0);
    EXPECT_DOUBLE_EQ(img->pixelSizeX, 2.0);
    EXPECT_DOUBLE_EQ(img->pixelSizeY, 3.0);
    EXPECT_DOUBLE_EQ(img->insertX, -32.0);  // the frame from -12 to -32 in x
    EXPECT_DOUBLE_EQ(img->insertY, 21.0);
    EXPECT_DOUBLE_EQ(img->extents.maxX, -12.0);

    RotateEntity(*img, 90.0);  // the centre (-22, 51) goes to (-51, -22)
    EXPECT_DOUBLE_EQ(img->insertX, -61.0);
    EXPECT_DOUBLE_EQ(img->insertY, -52.0);
    EXPECT_DOUBLE_EQ(img->pixelSizeX, 2.0);
    EXPECT_DOUBLE_EQ(img->points[2].y, 8.0);

    for (double bad : {0.0, -1.0, std::numeric_limits<double>::infinity()})
        EXPECT_FALSE(img->SetScale(bad, 1.0, true)) << bad;
    EXPECT_DOUBLE_EQ(img->pixelSizeX, 2.0);
}

TEST(RasterImage, PathsNamesAndFolders) {
    GLTexture img;
    img.path = "c:\\maps\\site.tif";
    EXPECT_EQ(img.FileName(), "site.tif");
    EXPECT_EQ(img.Folder(), "c:\\maps");
    img.path = "plan.bmp";
    EXPECT_EQ(img.FileName(), "plan.bmp");
    EXPECT_EQ(img.Folder(), "");

    EXPECT_EQ(ResolveImagePath("scans/a.tif", "/work/job"), "/work/job/scans/a.tif");
    EXPECT_EQ(ResolveImagePath("../a.tif", "/work/job"), "/work/a.tif");
    EXPECT_EQ(ResolveImagePath("/abs/a.tif", "/work/job"), "/abs/a.tif");
    EXPECT_EQ(ResolveImagePath("  \"/abs/my scan.tif\"  ", ""), "/abs/my scan.tif");
    EXPECT_EQ(ResolveImagePath("a.tif", ""), "a.tif");
}
