// HeadlessGlContext: an OpenGL compatibility-profile context with no display (EGL on Mesa's
// surfaceless platform) rendering into a framebuffer object; for tests and the headless mode.
#pragma once

#include <memory>
#include <string>

#include "platform/GlFramebuffer.h"
#include "platform/Image.h"

namespace kestrel::platform {

// A context lives on the thread that created it. Several may exist at once; the methods that
// touch GL make this context current first. After create the context is current with its
// framebuffer bound and the viewport covering it; legacy GL 1.x calls work in it.
class HeadlessGlContext {
public:
    // nullptr on failure, with *error (when given) saying why, e.g.
    // "EGL: cannot create an OpenGL compatibility context (0x3009 EGL_BAD_MATCH)".
    static std::unique_ptr<HeadlessGlContext> create(int width, int height,
                                                     std::string* error = nullptr);
    ~HeadlessGlContext();
    HeadlessGlContext(const HeadlessGlContext&) = delete;
    HeadlessGlContext& operator=(const HeadlessGlContext&) = delete;

    // Makes the context current and binds its framebuffer.
    bool makeCurrent();

    // New framebuffer size (contents undefined) and viewport; keeps the old size on failure.
    bool resize(int width, int height, std::string* error = nullptr);

    int width() const { return framebuffer_.width(); }
    int height() const { return framebuffer_.height(); }

    // The framebuffer's colour, row 0 at the top.
    Image readPixels() const;

    // Loads an orthographic projection with one unit per pixel, origin at the bottom-left corner
    // and y up, and an identity model-view matrix; leaves the model-view matrix selected.
    void setPixelProjection();

private:
    HeadlessGlContext() = default;
    bool initialize(int width, int height, std::string* error);
    bool ensureCurrent() const;

    void* display_ = nullptr;  // EGLDisplay
    void* context_ = nullptr;  // EGLContext
    GlFramebuffer framebuffer_;
};

}  // namespace kestrel::platform
