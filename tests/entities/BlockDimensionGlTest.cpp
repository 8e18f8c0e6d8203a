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
#include "support/GlCanvas.h"

using kestrel::platform::Image;
using kestrel::platform::Rgba;

namespace {

using BlockDimensionGl = GlCanvasTest;

bool red(const Rgba& c) {
    return c.r > 200 && c.g < 60 && c.b < 60;
}

}  // namespace

TEST_F(BlockDimensionGl, ReferenceDrawsItsDimensionWithFilledArrowheads) {
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
    ref.Draw(dc, kView, kDrawNormal, 1.0f, prim::kLineStrip, {0, 0, 20, 0}, true);
    glFinish();
    const Image image = gl->readPixels();

    EXPECT_TRUE(red(at(image, 60, 105)));           // the line, shifted by 40 - 20 along x
    EXPECT_TRUE(dark(at(image, 20 + 6, 45)));       // inside the first arrowhead
    EXPECT_TRUE(dark(at(image, 120 - 6, 45)));      // inside the second
    EXPECT_TRUE(white(at(image, 20 + 6, 45 + 4)));  // beside it
    EXPECT_TRUE(dark(at(image, 70, 52)));           // the label above the dimension line
    EXPECT_TRUE(white(at(image, 70, 30)));
    if (HasFailure()) {
        std::filesystem::create_directories(KESTREL_TEST_OUTPUT_DIR);
        image.savePng(std::string(KESTREL_TEST_OUTPUT_DIR) + "/BlockDimensionGl.png");
    }
}
