// GlFramebuffer: an offscreen render target in the current GL context: RGBA8 colour and packed
// depth24/stencil8 renderbuffers.
#pragma once

#include <string>

#include "platform/Image.h"

namespace kestrel::platform {

// Every method works on the GL context current when it is called, which must be the one the
// framebuffer was created in. The destructor does not touch GL: the owner calls destroy() with
// the context current.
class GlFramebuffer {
public:
    GlFramebuffer() = default;
    GlFramebuffer(const GlFramebuffer&) = delete;
    GlFramebuffer& operator=(const GlFramebuffer&) = delete;

    // Creates (or re-creates at a new size) the buffers and leaves the framebuffer bound for
    // drawing and reading. On failure returns false with *error set; a size out of range keeps
    // the buffers it had, any other failure leaves none.
    bool create(int width, int height, std::string* error = nullptr);
    void destroy();

    bool valid() const { return framebuffer_ != 0; }
    int width() const { return width_; }
    int height() const { return height_; }

    void bind() const;

    // The colour buffer, top row first. Leaves the pixel-pack state and read binding as found.
    Image read() const;

private:
    unsigned framebuffer_ = 0;
    unsigned colour_ = 0;
    unsigned depthStencil_ = 0;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace kestrel::platform
