// Headless EGL context: legacy GL drawing into the framebuffer, stencil, display lists, several
// contexts in one process.
#include "platform/HeadlessGL.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>

namespace kestrel::platform {
namespace {

constexpr Rgba kWhite{255, 255, 255, 255};
constexpr Rgba kRed{255, 0, 0, 255};
constexpr Rgba kGreen{0, 255, 0, 255};
constexpr Rgba kBlue{0, 0, 255, 255};

void clearTo(Rgba c) {
    glClearColor(c.r / 255.0f, c.g / 255.0f, c.b / 255.0f, c.a / 255.0f);
    glClearStencil(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

// x0..x1, y0..y1 in GL units (y up).
void fillRect(float x0, float y0, float x1, float y1, Rgba c) {
    glColor4ub(c.r, c.g, c.b, c.a);
    glBegin(GL_QUADS);
    glVertex2f(x0, y0);
    glVertex2f(x1, y0);
    glVertex2f(x1, y1);
    glVertex2f(x0, y1);
    glEnd();
}

class HeadlessGl : public testing::Test {
protected:
    void SetUp() override {
        std::string error;
        context = HeadlessGlContext::create(64, 48, &error);
        ASSERT_TRUE(context) << error;
        context->setPixelProjection();
        clearTo(kWhite);
    }

    // Keeps the picture of a failed test for inspection.
    void TearDown() override {
        if (!context || !HasFailure()) return;
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        std::filesystem::create_directories(KESTREL_TEST_OUTPUT_DIR);
        const std::string path = std::string(KESTREL_TEST_OUTPUT_DIR) + "/" +
                                 info->test_suite_name() + "." + info->name() + ".png";
        if (context->readPixels().savePng(path)) std::cerr << "picture saved to " << path << "\n";
    }

    std::unique_ptr<HeadlessGlContext> context;
};

TEST_F(HeadlessGl, IsALegacyCapableContextWithAnEightBitStencil) {
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    ASSERT_NE(version, nullptr);
    ASSERT_NE(renderer, nullptr);
    std::cout << "GL_VERSION: " << version << "\nGL_RENDERER: " << renderer << "\n";
    RecordProperty("gl_version", version);
    RecordProperty("gl_renderer", renderer);

    GLint stencilBits = 0;
    glGetIntegerv(GL_STENCIL_BITS, &stencilBits);
    EXPECT_EQ(stencilBits, 8);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(HeadlessGl, PixelProjectionMapsUnitsToPixelsAndRowZeroIsTheTop) {
    fillRect(10, 38, 30, 48, kRed);  // touches the top edge
    const Image image = context->readPixels();
    ASSERT_EQ(image.width, 64);
    ASSERT_EQ(image.height, 48);

    EXPECT_EQ(image.pixel(10, 0), kRed);
    EXPECT_EQ(image.pixel(29, 9), kRed);
    EXPECT_EQ(image.pixel(9, 0), kWhite);
    EXPECT_EQ(image.pixel(30, 0), kWhite);
    EXPECT_EQ(image.pixel(10, 10), kWhite);
    EXPECT_EQ(image.pixel(20, 47), kWhite);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Even-odd fill as hatches use it: each loop is a fan from one point, inverting the stencil.
void invertFan(std::initializer_list<std::pair<float, float>> loop) {
    glBegin(GL_TRIANGLE_FAN);
    glVertex2f(0, 0);
    for (const auto& [x, y] : loop)
        glVertex2f(x, y);
    glVertex2f(loop.begin()->first, loop.begin()->second);
    glEnd();
}

GLubyte stencilAt(int x, int y) {
    GLubyte value = 0;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, &value);
    return value;
}

TEST_F(HeadlessGl, StencilInvertFillsARingWithAHole) {
    glEnable(GL_STENCIL_TEST);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glStencilMask(0xFF);
    glStencilFunc(GL_ALWAYS, 0, 0xFF);
    glStencilOp(GL_KEEP, GL_KEEP, GL_INVERT);
    invertFan({{8, 8}, {56, 8}, {56, 40}, {8, 40}});      // outer loop
    invertFan({{24, 16}, {40, 16}, {40, 32}, {24, 32}});  // island

    EXPECT_EQ(stencilAt(12, 12), 0xFF) << "all eight bits inverted";
    EXPECT_EQ(stencilAt(32, 24), 0x00);
    EXPECT_EQ(stencilAt(4, 4), 0x00);

    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glStencilFunc(GL_EQUAL, 1, 1);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    fillRect(0, 0, 64, 48, kRed);
    glDisable(GL_STENCIL_TEST);

    const Image image = context->readPixels();
    const int top = 47;
    EXPECT_EQ(image.pixel(12, top - 12), kRed);
    EXPECT_EQ(image.pixel(50, top - 35), kRed);
    EXPECT_EQ(image.pixel(32, top - 24), kWhite) << "island";
    EXPECT_EQ(image.pixel(4, top - 4), kWhite) << "outside";
    EXPECT_EQ(image.pixel(60, top - 44), kWhite) << "outside";
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(HeadlessGl, DisplayListReplaysUnderTheMatrixStack) {
    const GLuint list = glGenLists(1);
    ASSERT_NE(list, 0u);
    glNewList(list, GL_COMPILE);
    fillRect(0, 0, 8, 8, kGreen);
    glEndList();

    glPushMatrix();
    glTranslatef(4, 4, 0);
    glCallList(list);
    glTranslatef(40, 20, 0);
    glCallList(list);
    glPopMatrix();
    glCallList(list);  // back at the origin
    glDeleteLists(list, 1);

    const Image image = context->readPixels();
    EXPECT_EQ(image.pixel(4, 47 - 4), kGreen);
    EXPECT_EQ(image.pixel(44, 47 - 24), kGreen);
    EXPECT_EQ(image.pixel(0, 47), kGreen);
    EXPECT_EQ(image.pixel(30, 47 - 20), kWhite);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(HeadlessGl, LineAndPolygonStipplesApply) {
    GLubyte rows[128] = {};
    for (int row = 0; row < 32; row += 2) {
        for (int k = 0; k < 4; ++k)
            rows[row * 4 + k] = 0xFF;  // even window rows drawn
    }
    glPolygonStipple(rows);
    glEnable(GL_POLYGON_STIPPLE);
    fillRect(0, 0, 64, 16, kBlue);
    glDisable(GL_POLYGON_STIPPLE);

    glLineStipple(1, 0x00FF);  // 8 pixels on, 8 off
    glEnable(GL_LINE_STIPPLE);
    glColor4ub(kRed.r, kRed.g, kRed.b, kRed.a);
    glBegin(GL_LINES);
    glVertex2f(0, 30.5f);
    glVertex2f(64, 30.5f);
    glEnd();
    glDisable(GL_LINE_STIPPLE);

    const Image image = context->readPixels();
    EXPECT_EQ(image.pixel(5, 47 - 0), kBlue);
    EXPECT_EQ(image.pixel(5, 47 - 1), kWhite);
    EXPECT_EQ(image.pixel(5, 47 - 14), kBlue);
    const int line = 47 - 30;
    EXPECT_EQ(image.pixel(1, line), kRed);
    EXPECT_EQ(image.pixel(6, line), kRed);
    EXPECT_EQ(image.pixel(9, line), kWhite);
    EXPECT_EQ(image.pixel(14, line), kWhite);
    EXPECT_EQ(image.pixel(17, line), kRed);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(HeadlessGl, ResizeChangesFramebufferViewportAndProjection) {
    std::string error;
    ASSERT_TRUE(context->resize(100, 30, &error)) << error;
    context->setPixelProjection();
    clearTo(kWhite);
    fillRect(90, 0, 100, 30, kRed);

    const Image image = context->readPixels();
    ASSERT_EQ(image.width, 100);
    ASSERT_EQ(image.height, 30);
    EXPECT_EQ(image.pixel(99, 0), kRed);
    EXPECT_EQ(image.pixel(90, 29), kRed);
    EXPECT_EQ(image.pixel(89, 0), kWhite);

    EXPECT_FALSE(context->resize(0, 10, &error));
    EXPECT_NE(error.find("out of range"), std::string::npos) << error;
    EXPECT_EQ(context->width(), 100) << "a failed resize keeps the old size";
}

Rgba clearedColour(HeadlessGlContext& gl, Rgba colour) {
    EXPECT_TRUE(gl.makeCurrent());
    clearTo(colour);
    return gl.readPixels().pixel(0, 0);
}

TEST(HeadlessGlContexts, SeveralInSequenceAndAtOnce) {
    for (int i = 0; i < 3; ++i) {
        std::string error;
        auto gl = HeadlessGlContext::create(16, 16, &error);
        ASSERT_TRUE(gl) << error;
        EXPECT_EQ(clearedColour(*gl, kGreen), kGreen);
    }

    auto a = HeadlessGlContext::create(16, 16);
    auto b = HeadlessGlContext::create(8, 4);
    ASSERT_TRUE(a && b);
    clearedColour(*a, kRed);
    clearedColour(*b, kBlue);
    const Image fromA = a->readPixels();  // reads a's buffer although b is current
    EXPECT_EQ(fromA.width, 16);
    EXPECT_EQ(fromA.pixel(15, 15), kRed);
    EXPECT_EQ(b->readPixels().pixel(7, 3), kBlue);

    a.reset();
    EXPECT_EQ(clearedColour(*b, kGreen), kGreen) << "b outlives a";
}

TEST(HeadlessGlContexts, InvalidSizeFailsWithAMessageAndLeavesNothingBehind) {
    std::string error;
    EXPECT_EQ(HeadlessGlContext::create(0, 48, &error), nullptr);
    EXPECT_NE(error.find("out of range"), std::string::npos) << error;
    EXPECT_EQ(HeadlessGlContext::create(-5, -5), nullptr) << "error is optional";

    auto gl = HeadlessGlContext::create(4, 4, &error);
    ASSERT_TRUE(gl) << error;
    EXPECT_EQ(clearedColour(*gl, kBlue), kBlue);
}

}  // namespace
}  // namespace kestrel::platform
