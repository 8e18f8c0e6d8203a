// mmRenderer: what is drawn over the scene: the selection with its grips, snap markers, the
// running command's preview, the selection window and the cursor; drawn directly over the cached
// scene, or recorded and XOR-drawn (and XOR-erased at the next frame) without the cache.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>

#include "display/CommandPreview.h"
#include "display/Renderer.h"
#include "display/TextureCache.h"
#include "display/View.h"
#include "drawing/Drawing.h"

namespace {

// Half the length of the crosshair bars of the texture-cache cursor.
constexpr int kCrosshairHalf = 40;

void drawSnapMarker(mmDrawContext& dc, const mmView& view) {
    if (!view.snapMarkerShown || view.commandId == 0 || view.cursorMode != kCursorPoint) return;
    const mmSnapInfo& snap = view.snapInfo;
    if (snap.kind != kSnapNearest && snap.kind != kSnapEndpoint && snap.kind != kSnapIntersection &&
        snap.kind != kSnapPerpendicular)
        return;
    const double scale = view.PixelsPerUnit();
    dc.Color(1.0f, 0.5f, 0.0f);
    dc.LineWidth(2.0f);
    dc.PushMatrix();
    dc.Translate(snap.x, snap.y);
    dc.Scale(1.0 / scale, 1.0 / scale);
    const auto strip = [&dc](std::initializer_list<std::pair<int, int>> points, int primitive) {
        dc.Begin(primitive);
        for (const auto& [x, y] : points)
            dc.Vertex(x, y);
        dc.End();
    };
    switch (snap.kind) {
        case kSnapNearest:
            strip({{-5, -5}, {6, 6}, {-5, 6}, {6, -5}, {-5, -5}}, prim::kLineStrip);
            break;
        case kSnapEndpoint:
            strip({{-5, -5}, {6, -5}, {6, 6}, {-5, 6}, {-5, -5}}, prim::kLineStrip);
            break;
        case kSnapIntersection:
            strip({{-5, -5}, {5, 5}, {-5, 5}, {5, -5}}, prim::kLines);
            break;
        default:
            strip({{-5, -5}, {-5, 5}, {-5, -5}, {5, -5}, {-5, 0}, {0, 0}, {0, 0}, {0, -5}},
                  prim::kLines);
            break;
    }
    dc.PopMatrix();
    dc.LineWidth(1.0f);
}

// The selection window's corners in display coordinates; false when none is being dragged.
bool selectionWindow(const mmView& view, mmVertex& a, mmVertex& b) {
    if (!view.selectionWindowStarted) return false;
    const double ox = view.InPaperMode() ? 0.0 : view.originOffset.x;
    const double oy = view.InPaperMode() ? 0.0 : view.originOffset.y;
    a = mmVertex(view.selectionWindowCorner.x - ox, view.selectionWindowCorner.y - oy);
    b = mmVertex(view.cursorX, view.cursorY);
    return true;
}

void drawSelectionWindowOutline(mmDrawContext& dc, const mmView& view) {
    mmVertex a, b;
    if (!selectionWindow(view, a, b)) return;
    const bool crossing = a.x > b.x;  // dragged right to left
    dc.Color(0.0f, 0.0f, 0.0f);
    dc.LineWidth(1.0f);
    if (crossing) dc.LineStipple(true, 4, 0xAAAA);
    EmitRectangleOutline(dc, a.x, a.y, b.x, b.y);
    if (crossing) dc.LineStipple(false);
}

// A picture with its hot spot on window pixel (px, py), as a textured quad in the window frame.
void texturedQuad(const mmCursorImage& image, unsigned texture, int px, int py, int height) {
    const double left = px - image.hotX;
    const double top = height - (py - image.hotY);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    glTexCoord2d(0, 0);
    glVertex2d(left, top - image.height);
    glTexCoord2d(1, 0);
    glVertex2d(left + image.width, top - image.height);
    glTexCoord2d(1, 1);
    glVertex2d(left + image.width, top);
    glTexCoord2d(0, 1);
    glVertex2d(left, top);
    glEnd();
}

void texturedRect(unsigned texture, double x0, double y0, double x1, double y1) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    EmitTexturedQuad(x0, y0, x1, y1);
    glEnd();
}

// The ink of a picture as points at pixel centres, in the window frame.
void bitmapPoints(mmDrawContext& dc, const mmCursorImage& image, int px, int py, int height) {
    dc.Begin(prim::kPoints);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.Ink(x, y))
                dc.Vertex(px - image.hotX + x + 0.5, height - (py - image.hotY + y) - 0.5);
    dc.End();
}

// A layout in model mode draws its overlays inside the current viewport only.
bool ScissorToViewport(const mmView& view) {
    if (!view.isLayout || view.InPaperMode()) return false;
    const mmRect& r = view.currentViewportRect;
    const int x0 = static_cast<int>(std::lround(r.minX));
    const int y0 = static_cast<int>(std::lround(r.minY));
    glEnable(GL_SCISSOR_TEST);
    glScissor(x0, y0, std::max(0, static_cast<int>(std::lround(r.maxX)) - x0),
              std::max(0, static_cast<int>(std::lround(r.maxY)) - y0));
    return true;
}

bool realTimeZooming(const mmView& view) {
    return view.cursorMode == kCursorZoom && view.step == 2;
}

// The slot matrix as a translation and a scale, for a context that records them.
void applyModelview(mmDrawContext& dc, const double* m) {
    dc.Translate(m[12], m[13]);
    dc.Scale(m[0], m[5]);
}

}  // namespace

void mmRenderer::DrawSelection(mmDrawContext& dc, const mmView& view, const mmSceneSource& scene) {
    const mmSpace* edited = EditedSpace(view, scene);
    if (!edited) return;
    const mmSpace& space = *edited;
    const bool grips = view.showGrips && space.selection.ids.size() < kGripSelectionLimit;
    const mmRect window = view.VisibleWindow();
    const float scale = static_cast<float>(view.PixelsPerUnit());
    const mmShift shift = view.DisplayShift();
    for (int32_t id : space.selection.ids) {
        const mmObjectPtr e = FindEntity(space, id);
        if (!e || e->erased || !e->visible || e.get() == scene.hiddenEntity) continue;
        SetEntityColor(dc, *e);
        dc.LineWidth(static_cast<float>(std::max<int32_t>(e->lineWidth, 1)));
        // The scene holds an image's pixels already; drawn again, those drawn with XOR would go.
        if (e->type != kTypeRasterImage)
            e->Draw(dc, window, kDrawNormal, scale, prim::kLineStrip, shift, true);
        e->Draw(dc, window, kDrawHighlight, scale, prim::kLineStrip, shift, true);
        if (grips) e->Draw(dc, window, kDrawGrips, scale, prim::kLineStrip, shift, true);
    }
}

// The entity under construction, in its own colour and width (the scene leaves it out).
void mmRenderer::DrawPendingEntity(mmDrawContext& dc, const mmView& view,
                                   const mmSceneSource& scene) {
    mmObject* e = scene.pendingEntity;
    // Grip editing shows its edited copy through the preview instead.
    if (!e || view.commandId == 0 || e->erased || !e->visible || e == scene.hiddenEntity) return;
    SetEntityColor(dc, *e);
    dc.LineWidth(static_cast<float>(std::max<int32_t>(e->lineWidth, 1)));
    e->Draw(dc, view.VisibleWindow(), kDrawNormal, static_cast<float>(view.PixelsPerUnit()),
            prim::kLineStrip, view.DisplayShift(), e->type != kTypeRasterImage);
    dc.LineWidth(1.0f);
}

void mmRenderer::DrawSlotOverlays(mmDrawContext& dc, const mmView& view, const mmSceneSource& scene,
                                  bool withSelection) {
    if (withSelection) DrawSelection(dc, view, scene);
    drawSnapMarker(dc, view);
    DrawPendingEntity(dc, view, scene);
    if (view.commandPreview && view.commandId != 0) {
        const mmVertex cursor = view.CursorInDrawing();
        view.commandPreview->DrawPreview(dc, view, cursor.x, cursor.y);
        dc.LineStipple(false);
        dc.PolygonStipple(nullptr);
    }
    drawSelectionWindowOutline(dc, view);
}

// The window tints the picture: light blue for a window, light green for a crossing window.
void mmRenderer::FillSelectionWindow(const mmView& view) {
    mmVertex a, b;
    if (!selectionWindow(view, a, b)) return;
    dc_.Flush();
    glLogicOp(GL_AND);
    if (a.x > b.x)
        dc_.Color(0.7f, 1.0f, 0.8f);
    else
        dc_.Color(0.7f, 0.8f, 1.0f);
    dc_.Begin(prim::kQuads);
    dc_.Vertex(a.x, a.y);
    dc_.Vertex(b.x, a.y);
    dc_.Vertex(b.x, b.y);
    dc_.Vertex(a.x, b.y);
    dc_.End();
    dc_.Flush();
    glLogicOp(GL_COPY);
}

void mmRenderer::DrawTexturedCursor(const mmView& view) {
    if (!view.mouseInside || view.CursorOutsideViewport()) return;
    LoadMatrices(view, view.WindowMatrices().modelview);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glColor3f(1.0f, 1.0f, 1.0f);
    glLogicOp(GL_AND);
    const int px = view.cursorPixelX;
    const int py = view.cursorPixelY;
    const int h = view.Height();
    using K = mmCursorTextures::Kind;
    const auto picture = [&](K kind) {
        texturedQuad(mmCursorTextures::Image(kind), cursors_.Texture(kind), px, py, h);
    };
    if (view.cursorMode == kCursorPan) {
        picture(K::kHand);
    } else if (realTimeZooming(view)) {
        picture(K::kMagnifier);
    } else if (view.cursorMode == kCursorSelect) {
        picture(K::kBox);
    } else {
        const unsigned cross = cursors_.Texture(K::kCrosshair);
        texturedRect(cross, px - kCrosshairHalf, h - py - 1, px + kCrosshairHalf, h - py);
        texturedRect(cross, px, h - py - kCrosshairHalf, px + 1, h - py + kCrosshairHalf);
        if (view.cursorMode == kCursorNone) picture(K::kBox);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
    glLogicOp(GL_COPY);
}

void mmRenderer::DrawCacheOverlays(mmView& view, const mmSceneSource& scene) {
    if (view.renderForOutput) return;
    LoadMatrices(view, view.Matrices().modelview);
    glEnable(GL_COLOR_LOGIC_OP);
    glLogicOp(GL_COPY);
    dc_.ForgetState();
    const bool clip = ScissorToViewport(view);
    DrawSlotOverlays(dc_, view, scene, true);
    dc_.Flush();
    FillSelectionWindow(view);
    if (clip) glDisable(GL_SCISSOR_TEST);
    DrawTexturedCursor(view);
    dc_.ForgetState();
}

// The XOR cursor: the hand and magnifier pictures, the 9x9 pick box, or lines across the window
// through the cursor with (when no command runs) the 6x6 aperture.
void mmRenderer::RecordXorCursor(mmDrawContext& dc, const mmView& view) {
    const int px = view.cursorPixelX;
    const int py = view.cursorPixelY;
    const int w = view.Width();
    const int h = view.Height();
    const double cx = px + 0.5;
    const double cy = h - py - 0.5;
    dc.Color(0.0f, 0.0f, 0.0f);
    dc.LineWidth(1.0f);
    if (view.cursorMode == kCursorPan) {
        bitmapPoints(dc, HandCursor(), px, py, h);
    } else if (realTimeZooming(view)) {
        bitmapPoints(dc, MagnifierCursor(), px, py, h);
    } else if (view.cursorMode == kCursorSelect) {
        // Each pixel once: XOR drawing twice would erase it.
        dc.Begin(prim::kPoints);
        for (int i = -4; i <= 4; ++i) {
            dc.Vertex(cx + i, cy - 4);
            dc.Vertex(cx + i, cy + 4);
        }
        for (int i = -3; i <= 3; ++i) {
            dc.Vertex(cx - 4, cy + i);
            dc.Vertex(cx + 4, cy + i);
        }
        dc.End();
    } else {
        dc.Begin(prim::kLines);
        dc.Vertex(0, cy);
        dc.Vertex(w, cy);
        dc.Vertex(cx, 0);
        dc.Vertex(cx, h);
        dc.End();
        if (view.cursorMode == kCursorNone) {
            dc.Begin(prim::kLineStrip);
            dc.Vertex(cx - 3, cy - 3);
            dc.Vertex(cx + 3, cy - 3);
            dc.Vertex(cx + 3, cy + 3);
            dc.Vertex(cx - 3, cy + 3);
            dc.Vertex(cx - 3, cy - 3);
            dc.End();
        }
    }
}

void mmRenderer::DrawXorOverlays(const mmView& view, const mmSceneSource& scene,
                                 bool erasePrevious) {
    static const double identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    LoadMatrices(view, identity);
    glEnable(GL_COLOR_LOGIC_OP);
    glLogicOp(GL_XOR);
    const bool clip = ScissorToViewport(view);
    if (erasePrevious) Replay(xorShown_);
    xorShown_.clear();
    if (!view.renderForOutput) {
        xorRecorder_.DeleteReleasedLists();
        xorRecorder_.Clear();
        xorRecorder_.PushMatrix();
        applyModelview(xorRecorder_, view.Matrices().modelview);
        DrawSlotOverlays(xorRecorder_, view, scene, false);
        xorRecorder_.PopMatrix();
        if (view.mouseInside && !view.CursorOutsideViewport()) {
            xorRecorder_.PushMatrix();
            applyModelview(xorRecorder_, view.WindowMatrices().modelview);
            RecordXorCursor(xorRecorder_, view);
            xorRecorder_.PopMatrix();
        }
        xorShown_.swap(xorRecorder_.primitives);
        Replay(xorShown_);
    }
    if (clip) glDisable(GL_SCISSOR_TEST);
    glLogicOp(GL_COPY);
}

// Draws recorded primitives (in the eye frame) with their colours inverted: XOR with the inverse
// gives the colour itself on the white background, and drawing the same again restores the
// picture.
void mmRenderer::Replay(const std::vector<mmRecordedPrimitive>& primitives) {
    dc_.ForgetState();
    int phase = 0;
    for (const mmRecordedPrimitive& p : primitives) {
        if (p.stencilPhase != phase) {
            if (p.stencilPhase == 1) dc_.StencilMaskBegin();
            if (p.stencilPhase == 2) dc_.StencilCoverBegin();
            if (p.stencilPhase == 0) dc_.StencilEnd();
            phase = p.stencilPhase;
        }
        dc_.Color(1.0f - p.color[0], 1.0f - p.color[1], 1.0f - p.color[2]);
        dc_.LineWidth(p.lineWidth);
        dc_.LineStipple(p.lineStipple, p.stippleFactor, p.stipplePattern);
        dc_.PolygonStipple(p.polygonStipple ? DefaultHighlightStipple() : nullptr);
        // A curve is recorded as its control polygon.
        dc_.Begin(p.primitive < 0 ? prim::kLineStrip : p.primitive);
        for (const mmVertex& v : p.vertices)
            dc_.Vertex(v.x, v.y);
        dc_.End();
    }
    if (phase != 0) dc_.StencilEnd();
    dc_.LineStipple(false, 1, 0xFFFF);
    dc_.PolygonStipple(nullptr);
    dc_.Flush();
}
