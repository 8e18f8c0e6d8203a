// mmRenderer: the scene of the model view: the axis icon and the entity pass over model space in
// list order.
#include <GL/gl.h>

#include <algorithm>

#include "display/Renderer.h"
#include "display/View.h"
#include "drawing/Drawing.h"
#include "entities/Text.h"

namespace {

// Two arrows with an X and a Y, in pixels.
constexpr float kAxisStrip[][2] = {
    {4, 7},   {-7, 7},  {-7, -7}, {7, -7}, {7, 0},  {50, 0},  {50, -7}, {70, 0}, {50, 7},
    {50, -3}, {70, 0},  {50, 3},  {50, 0}, {7, 0},  {7, 7},   {0, 7},   {0, 50}, {7, 50},
    {0, 70},  {-7, 50}, {3, 50},  {0, 70}, {-3, 50}, {0, 50}, {0, 7},
};
constexpr float kAxisLines[][2] = {
    {7, -3},  {7, 3},   {75, -10}, {85, 10}, {85, -10}, {75, 10},
    {0, 75},  {0, 85},  {0, 85},   {-6, 95}, {0, 85},   {6, 95},
};

}  // namespace

void DrawAxisIcon(mmDrawContext& dc, const mmView& view, double scale) {
    dc.Color(0.4f, 0.4f, 0.4f);
    dc.LineWidth(1.0f);
    dc.PushMatrix();
    dc.Translate(-view.originOffset.x, -view.originOffset.y);
    dc.Scale(1.0 / scale, 1.0 / scale);
    dc.Begin(prim::kLineStrip);
    for (const auto& p : kAxisStrip) dc.Vertex(p[0], p[1]);
    dc.End();
    dc.Begin(prim::kLines);
    for (const auto& p : kAxisLines) dc.Vertex(p[0], p[1]);
    dc.End();
    dc.PopMatrix();
}

namespace {

bool isText(const mmObject& e) {
    return e.type == kTypeText || e.type == kTypeMText || e.type == kTypeAttributeDef;
}

}  // namespace

void SetEntityColor(mmDrawContext& dc, const mmObject& e) {
    if ((e.color & 0xFFFFFF) == 0xFFFFFF) {
        dc.Color(0.0f, 0.0f, 0.0f);
        return;
    }
    dc.Color((e.color & 0xFF) / 255.0f, ((e.color >> 8) & 0xFF) / 255.0f,
             ((e.color >> 16) & 0xFF) / 255.0f);
}

void mmRenderer::DrawScene(mmView& view, const mmSceneSource& scene) {
    dc_.StencilContentsUnknown();
    glEnable(GL_COLOR_LOGIC_OP);
    glLogicOp(GL_COPY);
    // Raster images read their files again into this context.
    if (view.regenPending || view.renderForOutput) rasterLoader_.NewGeneration();
    if (view.isLayout) {
        DrawLayoutScene(view, scene);
    } else {
        const std::size_t slot = static_cast<std::size_t>(view.activeView);
        LoadMatrices(view, view.SlotMatrices(slot).modelview);
        if (!view.renderForOutput) DrawAxisIcon(dc_, view, view.zoomScale[slot]);
        mmEntityPass pass;
        pass.space = scene.model;
        pass.window = view.VisibleWindow();
        pass.scale = static_cast<float>(view.PixelsPerUnit());
        pass.shift = mmShift{0.0, 0.0, view.originOffset.x, view.originOffset.y};
        pass.pendingId = scene.pendingEntity ? scene.pendingEntity->id : -1;
        pass.regen = view.regenPending;
        DrawEntities(view, scene, pass);
    }
    // Without the cache the highlight belongs to the scene: the XOR overlays cannot tint.
    if (!textureCache_ && !view.renderForOutput) {
        LoadMatrices(view, view.Matrices().modelview);
        DrawSelection(dc_, view, scene);
    }
    dc_.Flush();
    view.regenPending = false;
}

void mmRenderer::DrawEntities(const mmView& view, const mmSceneSource& scene,
                              const mmEntityPass& pass) {
    if (!pass.space) return;
    for (const mmObjectPtr& entity : pass.space->entities) {
        mmObject* e = entity.get();
        if (!e || e->erased || !e->visible || e == scene.hiddenEntity) continue;
        if (pass.skipViewports && e->type == kTypeViewport) continue;
        // The copy a command edits is drawn with the overlays.
        if (pass.pendingId >= 0 && e->id == pass.pendingId && !e->selected) continue;
        if (pass.regen && isText(*e)) {
            auto& text = static_cast<mmText&>(*e);
            text.Rebuild(text.glyphs ? nullptr : view.glyphs);
        }
        SetEntityColor(dc_, *e);
        // A width GL rejects would leave the previous entity's width in force.
        dc_.LineWidth(static_cast<float>(std::max<int32_t>(e->lineWidth, 1)));
        e->Draw(dc_, pass.window, kDrawNormal, pass.scale, prim::kLineStrip, pass.shift,
                e->type != kTypeRasterImage);
    }
}
