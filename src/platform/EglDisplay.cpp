// The shared headless EGL display.
#include "platform/EglDisplay.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstdio>
#include <cstring>
#include <mutex>
#include <utility>

namespace kestrel::platform::egl {

namespace {

std::mutex gMutex;
EGLDisplay gDisplay = EGL_NO_DISPLAY;
int gUsers = 0;

void setError(std::string* error, std::string text) {
    if (error) *error = std::move(text);
}

bool hasExtension(const char* list, const char* name) {
    if (!list) return false;
    const std::size_t length = std::strlen(name);
    for (const char* p = std::strstr(list, name); p; p = std::strstr(p + length, name)) {
        const bool startOk = p == list || p[-1] == ' ';
        const bool endOk = p[length] == ' ' || p[length] == '\0';
        if (startOk && endOk) return true;
    }
    return false;
}

EGLDisplay surfacelessDisplay() {
    const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (!hasExtension(clientExtensions, "EGL_MESA_platform_surfaceless")) return EGL_NO_DISPLAY;
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay) return EGL_NO_DISPLAY;
    return getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
}

EGLDisplay openDisplay(std::string* error) {
    EGLDisplay display = surfacelessDisplay();
    if (display == EGL_NO_DISPLAY) display = eglGetDisplay(EGL_DEFAULT_DISPLAY);
    if (display == EGL_NO_DISPLAY) {
        setError(error, "EGL: no surfaceless display");
        return EGL_NO_DISPLAY;
    }
    if (!eglInitialize(display, nullptr, nullptr)) {
        setError(error, "EGL: cannot initialize the display (" + lastErrorText() + ")");
        return EGL_NO_DISPLAY;
    }
    if (!hasExtension(eglQueryString(display, EGL_EXTENSIONS), "EGL_KHR_surfaceless_context")) {
        setError(error, "EGL: the display has no EGL_KHR_surfaceless_context");
        eglTerminate(display);
        return EGL_NO_DISPLAY;
    }
    return display;
}

const char* errorName(EGLint code) {
    switch (code) {
        case EGL_SUCCESS:
            return "EGL_SUCCESS";
        case EGL_NOT_INITIALIZED:
            return "EGL_NOT_INITIALIZED";
        case EGL_BAD_ACCESS:
            return "EGL_BAD_ACCESS";
        case EGL_BAD_ALLOC:
            return "EGL_BAD_ALLOC";
        case EGL_BAD_ATTRIBUTE:
            return "EGL_BAD_ATTRIBUTE";
        case EGL_BAD_CONFIG:
            return "EGL_BAD_CONFIG";
        case EGL_BAD_CONTEXT:
            return "EGL_BAD_CONTEXT";
        case EGL_BAD_DISPLAY:
            return "EGL_BAD_DISPLAY";
        case EGL_BAD_MATCH:
            return "EGL_BAD_MATCH";
        case EGL_BAD_PARAMETER:
            return "EGL_BAD_PARAMETER";
        case EGL_BAD_SURFACE:
            return "EGL_BAD_SURFACE";
        default:
            return "EGL error";
    }
}

}  // namespace

void* acquireDisplay(std::string* error) {
    std::lock_guard lock(gMutex);
    if (gUsers == 0) {
        gDisplay = openDisplay(error);
        if (gDisplay == EGL_NO_DISPLAY) return nullptr;
    }
    ++gUsers;
    return gDisplay;
}

void releaseDisplay() {
    std::lock_guard lock(gMutex);
    if (gUsers == 0 || --gUsers > 0) return;
    eglTerminate(gDisplay);
    gDisplay = EGL_NO_DISPLAY;
}

std::string lastErrorText() {
    const EGLint code = eglGetError();
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%04X ", static_cast<unsigned>(code));
    return hex + std::string(errorName(code));
}

}  // namespace kestrel::platform::egl
