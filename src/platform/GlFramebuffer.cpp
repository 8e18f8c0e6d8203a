// GlFramebuffer: framebuffer object set-up and readback.
#define GL_GLEXT_PROTOTYPES 1
#include "platform/GlFramebuffer.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>
#include <cstring>

namespace kestrel::platform {

namespace {

bool setError(std::string* error, const std::string& text) {
    if (error) *error = text;
    return false;
}

std::string hex(unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", value);
    return text;
}

bool sizeSupported(int width, int height, std::string* error) {
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxSize);
    if (width >= 1 && height >= 1 && width <= maxSize && height <= maxSize) return true;
    return setError(error, "GL: framebuffer size " + std::to_string(width) + "x" +
                               std::to_string(height) + " is out of range (1 to " +
                               std::to_string(maxSize) + ")");
}

GLint stencilBits() {
    GLint bits = 0;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_STENCIL_ATTACHMENT,
                                          GL_FRAMEBUFFER_ATTACHMENT_STENCIL_SIZE, &bits);
    return bits;
}

void flipRows(const std::vector<std::uint8_t>& bottomUp, Image& image) {
    const std::size_t stride = static_cast<std::size_t>(image.width) * 4;
    for (int y = 0; y < image.height; ++y) {
        const std::size_t source = static_cast<std::size_t>(image.height - 1 - y) * stride;
        std::memcpy(&image.rgba[y * stride], &bottomUp[source], stride);
    }
}

}  // namespace

bool GlFramebuffer::create(int width, int height, std::string* error) {
    if (!sizeSupported(width, height, error)) return false;  // keeps the current buffers
    destroy();
    glGenFramebuffers(1, &framebuffer_);
    glGenRenderbuffers(1, &colour_);
    glGenRenderbuffers(1, &depthStencil_);
    glBindRenderbuffer(GL_RENDERBUFFER, colour_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, depthStencil_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                              depthStencil_);
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        destroy();
        return setError(error, "GL: incomplete framebuffer (status " + hex(status) + ")");
    }
    if (stencilBits() != 8) {
        destroy();
        return setError(error, "GL: the framebuffer has no 8-bit stencil buffer");
    }
    width_ = width;
    height_ = height;
    return true;
}

void GlFramebuffer::destroy() {
    if (framebuffer_ == 0 && colour_ == 0 && depthStencil_ == 0) return;
    GLint bound = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    if (static_cast<GLuint>(bound) == framebuffer_) glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer_);
    glDeleteRenderbuffers(1, &colour_);
    glDeleteRenderbuffers(1, &depthStencil_);
    framebuffer_ = colour_ = depthStencil_ = 0;
    width_ = height_ = 0;
}

void GlFramebuffer::bind() const {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
}

Image GlFramebuffer::read() const {
    Image image(width_, height_);
    if (!valid()) return image;
    GLint previousRead = 0, previousPackBuffer = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previousRead);
    glGetIntegerv(GL_PIXEL_PACK_BUFFER_BINDING, &previousPackBuffer);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);

    std::vector<std::uint8_t> bottomUp(image.rgba.size());
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    flipRows(bottomUp, image);

    glPopClientAttrib();
    glBindBuffer(GL_PIXEL_PACK_BUFFER, static_cast<GLuint>(previousPackBuffer));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(previousRead));
    return image;
}

}  // namespace kestrel::platform
