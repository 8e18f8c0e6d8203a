// mmRenderer: GL initialisation, resize and the paint frame.
#include "display/Renderer.h"

#include <GL/gl.h>

#include <cstring>
#include <string>

#include "display/View.h"
#include "entities/GlyphTable.h"
#include "platform/Host.h"

namespace {

bool hasExtension(const char* extension) {
    const auto* all = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (!all) return false;
    const std::size_t n = std::strlen(extension);
    for (const char* p = std::strstr(all, extension); p; p = std::strstr(p + n, extension))
        if ((p == all || p[-1] == ' ') && (p[n] == ' ' || p[n] == '\0')) return true;
    return false;
}

}  // namespace

mmRenderer::mmRenderer(kestrel::platform::Host& host, mmRendererOptions options)
    : host_(host), options_(options), rasterLoader_(host) {
    dc_.SetBatching(true);
    dc_.SetImageLoader(&rasterLoader_);
}

bool mmRenderer::InitializeGl(mmView& view) {
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (!version) {
        host_.messageBox("wglMakeCurrent failed.", kestrel::platform::MessageKind::Error);
        return false;
    }
    view.paperZoom = 1.0;
    view.paperShiftX = view.paperShiftY = 0.0;
    view.paperPanX = view.paperPanY = 0;
    view.regenPending = false;

    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    maxTextureSize_ = maxSize;
    rasterTileLimit_ = maxSize < 513 ? maxSize / 2 : 512;

    const bool generic11 = std::strncmp(version, "1.1", 3) == 0;
    textureCache_ = !generic11 && !options_.forceXorOverlays;
    view.selectionInScene = !textureCache_;
    const bool npot = hasExtension("GL_ARB_texture_non_power_of_two") && maxSize > 4095 &&
                      !options_.forceTiles;
    cache_.Configure(npot, maxSize);
    sgisGenerateMipmap_ = hasExtension("GL_SGIS_generate_mipmap");
    rasterLoader_.SetContext(maxSize, sgisGenerateMipmap_);

    cursors_.Upload();
    if (!view.glyphs) {
        std::string message;
        view.glyphs = SystemGlyphTable(&message);
        if (!message.empty()) host_.messageBox(message, kestrel::platform::MessageKind::Warning);
    }
    dc_.ForgetState();
    dc_.StencilContentsUnknown();
    initialised_ = true;
    Resize(view, view.Width(), view.Height());
    return true;
}

void mmRenderer::Resize(mmView& view, int width, int height) {
    view.Resize(width, height);
    if (!initialised_) return;
    if (textureCache_) cache_.Create(view.Width(), view.Height());
    dc_.StencilContentsUnknown();
    xorShown_.clear();
    view.requestRedraw();
}

void mmRenderer::ReleaseGl() {
    if (!initialised_) return;
    dc_.DeleteReleasedLists();
    cache_.Release();
    cursors_.Release();
    ContextLost();
}

void mmRenderer::ContextLost() {
    cache_.Forget();
    cursors_.Forget();
    dc_.ForgetLists();
    dc_.ForgetState();
    dc_.ForgetArrays();
    xorShown_.clear();
    initialised_ = false;
}

void mmRenderer::LoadMatrices(const mmView& view, const double* modelview) {
    const mmViewMatrices& m = view.Matrices();
    glViewport(m.viewport[0], m.viewport[1], m.viewport[2], m.viewport[3]);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(m.projection);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(modelview);
}

void mmRenderer::Paint(mmView& view, const mmSceneSource& scene) {
    if (!initialised_) return;
    dc_.DeleteReleasedLists();
    dc_.ForgetState();
    dc_.ForgetArrays();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
    // Less detail for what cannot be seen on screen; pictures and plots are drawn in full.
    dc_.SetDetailPixels(view.renderForOutput ? 0.0f : kScreenDetailPixels);
    const bool full = view.needsFullRedraw || view.renderForOutput;
    rasterLoader_.SetSoftwareMipmaps(view.renderForOutput || view.isLayout);
    if (textureCache_) glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (full) {
        if (!textureCache_) glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        DrawScene(view, scene);
        if (textureCache_) cache_.Copy();
    }
    if (textureCache_) {
        if (!full) {
            LoadMatrices(view, view.WindowMatrices().modelview);
            glEnable(GL_COLOR_LOGIC_OP);
            glLogicOp(GL_COPY);
            glColor3f(1.0f, 1.0f, 1.0f);
            cache_.Draw();
        }
        DrawCacheOverlays(view, scene);
    } else {
        DrawXorOverlays(view, scene, !full);
    }
    glLogicOp(GL_COPY);
    dc_.ForgetState();
    view.needsFullRedraw = false;
}
