// HeadlessGlContext: EGL surfaceless context creation and its framebuffer.
#include "platform/HeadlessGL.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>

#include "platform/EglDisplay.h"

namespace kestrel::platform {

namespace {

bool setError(std::string* error, const std::string& text) {
    if (error) *error = text;
    return false;
}

EGLConfig chooseConfig(EGLDisplay display) {
    // No surface is ever made: any config that renders desktop GL will do.
    const EGLint attributes[] = {EGL_SURFACE_TYPE, 0, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                 EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (!eglChooseConfig(display, attributes, &config, 1, &count) || count < 1) return nullptr;
    return config;
}

EGLContext createCompatibilityContext(EGLDisplay display, EGLConfig config, std::string* error) {
    const EGLint compatibility[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                    EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, compatibility);
    // Without EGL 1.5 or EGL_KHR_create_context the profile cannot be asked for; a legacy
    // context is a compatibility one anyway, which initialize() checks.
    if (context == EGL_NO_CONTEXT) {
        context = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
    }
    if (context == EGL_NO_CONTEXT) {
        setError(error, "EGL: cannot create an OpenGL compatibility context (" +
                            egl::lastErrorText() + ")");
    }
    return context;
}

// GL 3.0 or later brings framebuffer objects; 3.2 or later may be a core profile, which has no
// fixed-function pipeline.
bool checkContext(std::string* error) {
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (!version) return setError(error, "GL: the context reports no version");
    int major = 0, minor = 0;
    std::sscanf(version, "%d.%d", &major, &minor);  // not atof: the locale may use a comma
    if (major < 3) {
        return setError(error, std::string("GL: version ") + version +
                                   " has no framebuffer objects (3.0 needed)");
    }
    if (major > 3 || (major == 3 && minor >= 2)) {
        GLint profile = 0;
        glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile);
        if (profile & GL_CONTEXT_CORE_PROFILE_BIT) {
            return setError(error,
                            "EGL: cannot create an OpenGL compatibility context (got a "
                            "core profile)");
        }
    }
    return true;
}

}  // namespace

std::unique_ptr<HeadlessGlContext> HeadlessGlContext::create(int width, int height,
                                                             std::string* error) {
    std::unique_ptr<HeadlessGlContext> context(new HeadlessGlContext);
    if (!context->initialize(width, height, error)) return nullptr;
    return context;
}

bool HeadlessGlContext::initialize(int width, int height, std::string* error) {
    display_ = egl::acquireDisplay(error);
    if (!display_) return false;
    if (!eglBindAPI(EGL_OPENGL_API)) return setError(error, "EGL: cannot bind the OpenGL API");
    EGLConfig config = chooseConfig(display_);
    if (!config) return setError(error, "EGL: no config for desktop OpenGL");
    context_ = createCompatibilityContext(display_, config, error);
    if (!context_) return false;
    if (!eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_)) {
        return setError(error, "EGL: cannot make the context current without a surface (" +
                                   egl::lastErrorText() + ")");
    }
    if (!checkContext(error) || !framebuffer_.create(width, height, error)) return false;
    glViewport(0, 0, width, height);
    return true;
}

HeadlessGlContext::~HeadlessGlContext() {
    if (context_) {
        eglBindAPI(EGL_OPENGL_API);
        const EGLContext previous = eglGetCurrentContext();
        const EGLDisplay previousDisplay = eglGetCurrentDisplay();
        if (eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_)) {
            framebuffer_.destroy();
        }
        if (previous != EGL_NO_CONTEXT && previous != context_) {
            eglMakeCurrent(previousDisplay, EGL_NO_SURFACE, EGL_NO_SURFACE, previous);
        } else {
            eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        }
        eglDestroyContext(display_, context_);
    }
    if (display_) egl::releaseDisplay();
}

bool HeadlessGlContext::ensureCurrent() const {
    eglBindAPI(EGL_OPENGL_API);
    if (eglGetCurrentContext() == context_) return true;
    return eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_);
}

bool HeadlessGlContext::makeCurrent() {
    if (!ensureCurrent()) return false;
    framebuffer_.bind();
    return true;
}

bool HeadlessGlContext::resize(int width, int height, std::string* error) {
    if (!ensureCurrent()) return setError(error, "EGL: cannot make the context current");
    if (!framebuffer_.create(width, height, error)) return false;
    glViewport(0, 0, width, height);
    return true;
}

Image HeadlessGlContext::readPixels() const {
    if (!ensureCurrent()) return Image();
    return framebuffer_.read();
}

void HeadlessGlContext::setPixelProjection() {
    if (!ensureCurrent()) return;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, width(), 0.0, height(), -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

}  // namespace kestrel::platform
