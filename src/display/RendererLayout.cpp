// mmRenderer: the scene of a layout: each viewport's model window cleared and drawn inside a
// scissor rectangle, the viewport frames, the paper sheet (on screen only) and the paper-space
// entities.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "display/Renderer.h"
#include "display/View.h"
#include "display/Viewports.h"
#include "drawing/Drawing.h"
#include "entities/Geometry.h"

namespace {

// The window rectangle (pixels, y up from the bottom) of a paper rectangle, held to the window.
mmRect windowRect(const mmView& view, const mmRect& paper) {
    const mmViewMatrices& m = view.PaperMatrices();
    const Vector3D a = projectToPixels(paper.minX, paper.minY, m);
    const Vector3D b = projectToPixels(paper.maxX, paper.maxY, m);
    const double h = view.Height();
    mmRect r{std::min(a.x, b.x), h - std::max(a.y, b.y), std::max(a.x, b.x), h - std::min(a.y, b.y)};
    r.minX = std::clamp(r.minX, 0.0, static_cast<double>(view.Width()));
    r.maxX = std::clamp(r.maxX, 0.0, static_cast<double>(view.Width()));
    r.minY = std::clamp(r.minY, 0.0, h);
    r.maxY = std::clamp(r.maxY, 0.0, h);
    return r;
}

void quad(mmDrawContext& dc, double x0, double y0, double x1, double y1) {
    dc.Begin(prim::kQuads);
    dc.Vertex(x0, y0);
    dc.Vertex(x1, y0);
    dc.Vertex(x1, y1);
    dc.Vertex(x0, y1);
    dc.End();
}

}  // namespace

const mmSpace* mmRenderer::EditedSpace(const mmView& view, const mmSceneSource& scene) {
    return view.InPaperMode() ? view.paperSpace : scene.model;
}

void mmRenderer::DrawLayoutScene(mmView& view, const mmSceneSource& scene) {
    UpdateModelWindows(view);
    view.currentViewportRect = mmRect{};
    bool regen = view.regenPending;
    for (std::size_t i = 0; i < view.SlotCount(); ++i) {
        DrawViewportSlot(view, scene, i, regen);
        regen = false;  // the outlines are built once however many viewports show them
    }
    LoadMatrices(view, view.PaperMatrices().modelview);
    if (!view.renderForOutput) DrawPaperSheet(view);
    mmEntityPass pass;
    pass.space = view.paperSpace;
    pass.window = screenRectToWorld(0, view.Height(), view.Width(), 0, view.PaperMatrices());
    pass.scale = static_cast<float>(view.paperPxPerMm * (view.renderForOutput ? 1.0 : view.paperZoom));
    pass.pendingId = view.InPaperMode() && scene.pendingEntity ? scene.pendingEntity->id : -1;
    pass.regen = view.regenPending;
    // Viewport frames in black with their own widths, never culled.
    dc_.Color(0.0f, 0.0f, 0.0f);
    for (std::size_t i = 0; i < view.SlotCount(); ++i) {
        mmViewport* v = view.ViewportOfSlot(i);
        if (!v || v->erased || !v->visible) continue;
        if (pass.pendingId == v->id && !v->selected) continue;
        dc_.LineWidth(static_cast<float>(std::max<int32_t>(v->lineWidth, 1)));
        v->Draw(dc_, pass.window, kDrawNormal, pass.scale, prim::kLineStrip, pass.shift, false);
    }
    pass.skipViewports = true;
    DrawEntities(view, scene, pass);
    dc_.LineWidth(1.0f);
}

void mmRenderer::DrawViewportSlot(mmView& view, const mmSceneSource& scene, std::size_t slot,
                                  bool regen) {
    const mmViewport* v = view.ViewportOfSlot(slot);
    if (!v || v->erased || !v->visible) return;
    const mmRect r = windowRect(view, v->extents);
    const bool current = view.viewIds[slot] == view.currentViewportId;
    if (current) view.currentViewportRect = r;
    const int x0 = static_cast<int>(std::lround(r.minX));
    const int y0 = static_cast<int>(std::lround(r.minY));
    const int w = static_cast<int>(std::lround(r.maxX)) - x0;
    const int h = static_cast<int>(std::lround(r.maxY)) - y0;
    if (w <= 0 || h <= 0) return;
    dc_.Flush();
    glEnable(GL_SCISSOR_TEST);
    glScissor(x0, y0, w, h);
    glClear(GL_COLOR_BUFFER_BIT);
    dc_.StencilContentsUnknown();
    LoadMatrices(view, view.SlotMatrices(slot).modelview);
    const double paperScale = view.paperPxPerMm * (view.renderForOutput ? 1.0 : view.paperZoom);
    const double ppu = view.zoomScale[slot] * paperScale;
    if (!view.renderForOutput) DrawAxisIcon(dc_, view, ppu);
    const double ox = view.originOffset.x, oy = view.originOffset.y;
    const mmRect& mw = v->modelWindow;
    mmEntityPass pass;
    pass.space = scene.model;
    pass.window = {mw.minX - ox, mw.minY - oy, mw.maxX - ox, mw.maxY - oy};
    pass.scale = static_cast<float>(ppu);
    pass.shift = mmShift{0.0, 0.0, ox, oy};
    pass.pendingId = !view.InPaperMode() && scene.pendingEntity ? scene.pendingEntity->id : -1;
    pass.regen = regen;
    DrawEntities(view, scene, pass);
    dc_.Flush();
    glDisable(GL_SCISSOR_TEST);
    dc_.StencilContentsUnknown();
}

// Grey everywhere outside the sheet, the sheet's outline and the printable area dotted, in
// printable-area pixels at paper zoom 1.
void mmRenderer::DrawPaperSheet(const mmView& view) {
    const kestrel::platform::PrinterMetrics& p = view.printerMetrics;
    const double W = view.paperWidthPx;
    const double H = view.paperHeightPx;
    const double ml = p.horzRes > 0 ? std::trunc((static_cast<double>(p.physicalWidth) / p.horzRes - 1.0) * W / 2.0) : 0.0;
    const double mb = p.vertRes > 0 ? std::trunc((static_cast<double>(p.physicalHeight) / p.vertRes - 1.0) * H / 2.0) : 0.0;
    constexpr double kFar = 1e9;
    dc_.PushMatrix();
    dc_.Scale(1.0 / view.paperPxPerMm, 1.0 / view.paperPxPerMm);
    dc_.Color(0.5f, 0.5f, 0.5f);
    quad(dc_, -kFar, -kFar, kFar, -mb);
    quad(dc_, -kFar, H + mb, kFar, kFar);
    quad(dc_, -kFar, -mb, -ml, H + mb);
    quad(dc_, W + ml, -mb, kFar, H + mb);
    dc_.Color(0.0f, 0.0f, 0.0f);
    dc_.LineWidth(2.0f);
    EmitRectangleOutline(dc_, -ml, -mb, W + ml, H + mb);
    dc_.LineWidth(1.0f);
    dc_.LineStipple(true, 8, 0xAAAA);
    EmitRectangleOutline(dc_, 0.0, 0.0, W, H);
    dc_.LineStipple(false, 1, 0xFFFF);
    dc_.PopMatrix();
}
