// Pixels of a block reference holding a dimension, drawn through OpenGL into an offscreen
// framebuffer: the children at the insertion point in their colours, the filled arrowheads.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <filesystem>

#include "DigitGlyphs.h"
#include "entities/BlockRef.h"
#include "entities/Dimension.h"
#include "entities/GlDrawContext.h"
#include "entities/Line.h"
#include "platform/HeadlessGL.h"

using kestrel::platform::HeadlessGlContext;
using kestrel::platform::Image;
using kestrel::platform::Rgba;

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 150;
const mmRect kView{0, 0, kWidth, kHeight};  // one unit per pixel, origin bottom left

bool dark(const Rgba& c) { return c.r < 128 && c.g < 128 && c.b < 128; }
bool red(const Rgba& c) { return c.r > 200 && c.g < 60 && c.b < 60; }
bool white(const Rgba& c) { return c.r == 255 && c.g == 255 && c.b == 255; }

}  // namespace

TEST(BlockDimensionGl, ReferenceDrawsItsDimensionWithFilledArrowheads) {
    std::string error;
    auto gl = HeadlessGlContext::create(kWidth, kHeight, &error);
    if (!gl) GTEST_SKIP() << "no headless OpenGL: " << error;
    gl->setPixelProjection();
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);

    // In the block: a red line and a dimension of 100 units with 12-unit arrowheads.
    mmBlockTable blocks;
    mmBlockPtr block = CreateBlock(0, 0, 0, 0, u"B");
    auto line = std::make_shared<mmLine>();
    line->AddPoint(0.5, 100.5);
    line->AddPoint(100.5, 100.5);
    line->color = 0x0000FF;
    AddToBlock(*block, line);
    auto dim = std::make_shared<mmDimension>();
    dim->SetStyleValues({12, 2, 4, 3, 10, 0});
    mmGlyphTablePtr glyphs = DigitGlyphTable();
    dim->InitLabel(glyphs);
    dim->InitParts();
    dim->color = 0;
    dim->label.color = 0;
    dim->defPoints[0] = {0.5, 0.5};
    dim->defPoints[1] = {100.5, 0.5};
    dim->defPoints[2] = {100.5, 40.5};
    dim->BuildDimension(glyphs);
    AddToBlock(*block, dim);
    blocks[0] = block;

    mmBlockRef ref;
    ref.AddPoint(40, 5);
    ASSERT_TRUE(ref.InstantiateBlock(u"B", blocks, glyphs));
    ref.UpdateExtents();
    mmGlDrawContext dc;
    ref.Draw(dc, kView, kDrawNormal, 1.0f, prim::kLineStrip, {0, 0, 20, 0}, true);
    glFinish();
    Image image = gl->readPixels();
    auto at = [&](int x, int y) { return image.pixel(x, kHeight - 1 - y); };

    EXPECT_TRUE(red(at(60, 105)));                  // the line, shifted by 40 - 20 along x
    EXPECT_TRUE(dark(at(20 + 6, 45)));              // inside the first arrowhead
    EXPECT_TRUE(dark(at(120 - 6, 45)));             // inside the second
    EXPECT_TRUE(white(at(20 + 6, 45 + 4)));         // beside it
    EXPECT_TRUE(dark(at(70, 52)));                  // the label above the dimension line
    EXPECT_TRUE(white(at(70, 30)));
    if (HasFailure()) {
        std::filesystem::create_directories(KESTREL_TEST_OUTPUT_DIR);
        image.savePng(std::string(KESTREL_TEST_OUTPUT_DIR) + "/BlockDimensionGl.png");
    }
}
