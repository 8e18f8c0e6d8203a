// A fixture for pixel tests of entities: a 200 x 150 headless framebuffer at one drawing unit per
// pixel with the origin at the lower left, cleared to white, the GL drawing context to draw
// through, and captures saved as PNG when the test has failed. Skips when there is no headless
// OpenGL.
#pragma once

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <filesystem>
#include <memory>
#include <string>

#include "entities/GlDrawContext.h"
#include "entities/Vertex.h"
#include "platform/HeadlessGL.h"

class GlCanvasTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 200;
    static constexpr int kHeight = 150;
    static constexpr mmRect kView{0, 0, kWidth, kHeight};

    using Image = kestrel::platform::Image;
    using Rgba = kestrel::platform::Rgba;

    void SetUp() override {
        std::string error;
        gl = kestrel::platform::HeadlessGlContext::create(kWidth, kHeight, &error);
        if (!gl) GTEST_SKIP() << "no headless OpenGL: " << error;
        gl->setPixelProjection();
        clear();
        glClear(GL_STENCIL_BUFFER_BIT);
    }

    // White again; the stencil is left as it is.
    static void clear() {
        glClearColor(1, 1, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    // Pixel (x, y) with y measured upwards in drawing units, as entities see it.
    static Rgba at(const Image& image, int x, int y) { return image.pixel(x, kHeight - 1 - y); }

    Image capture(const std::string& suffix = {}) {
        glFinish();
        Image image = gl->readPixels();
        if (HasFailure()) {
            const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
            std::filesystem::create_directories(KESTREL_TEST_OUTPUT_DIR);
            image.savePng(std::string(KESTREL_TEST_OUTPUT_DIR) + "/" + info->name() + suffix +
                          ".png");
        }
        return image;
    }

    static bool dark(const Rgba& c) { return c.r < 128 && c.g < 128 && c.b < 128; }
    static bool white(const Rgba& c) { return c.r == 255 && c.g == 255 && c.b == 255; }

    std::unique_ptr<kestrel::platform::HeadlessGlContext> gl;
    mmGlDrawContext dc;
};
