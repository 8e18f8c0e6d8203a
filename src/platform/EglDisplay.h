// The process-wide EGL display for headless contexts (Mesa surfaceless platform), initialized on
// first use and terminated when the last user releases it. Used by HeadlessGlContext only.
#pragma once

#include <string>

namespace kestrel::platform::egl {

// Returns the initialized display (an EGLDisplay) and counts a user, or nullptr with *error set.
void* acquireDisplay(std::string* error);

// Drops a user; the last one terminates the display.
void releaseDisplay();

// "0x3003 EGL_BAD_ALLOC" for the thread's last EGL error.
std::string lastErrorText();

}  // namespace kestrel::platform::egl
