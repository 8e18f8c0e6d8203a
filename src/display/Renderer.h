// mmRenderer: draws one view with legacy OpenGL in whatever context is current (a Qt widget's or a
// headless EGL one): the paint frame with its texture cache of the scene, the scene itself
// (entities in list order, the axis icon), the overlays (selection highlight and grips, snap
// markers, the running command's preview, the selection window, the cursor), and the XOR overlays
// of a renderer that reports version "1.1".
#pragma once

#include <memory>
#include <vector>

#include "display/CursorImages.h"
#include "display/RasterTextureLoader.h"
#include "display/TextureCache.h"
#include "entities/GlDrawContext.h"
#include "entities/RecordingDrawContext.h"
#include "entities/Vertex.h"

namespace kestrel::platform {
class Host;
}

struct mmSpace;
class mmObject;
class mmView;

// Grips are not drawn when this many entities or more are selected.
inline constexpr std::size_t kGripSelectionLimit = 1000;
// On screen, references and hatches smaller than this many pixels are drawn as a dot, texts
// less high as their box.
inline constexpr float kScreenDetailPixels = 2.0f;

// What a paint draws besides the view's own state.
struct mmSceneSource {
    const mmSpace* model = nullptr;  // model space, with its selection
    // The entity the running command builds or edits: its stored copy is not drawn in the scene,
    // the entity itself is drawn with the overlays.
    mmObject* pendingEntity = nullptr;
    // An entity drawn only by the command preview (the one grip editing changes), neither in the
    // scene nor with the selection.
    const mmObject* hiddenEntity = nullptr;
};

// One pass over a space's entities in list order.
struct mmEntityPass {
    const mmSpace* space = nullptr;
    mmRect window;  // the visible window, display coordinates
    float scale = 1.0f;  // window pixels per unit
    mmShift shift;
    int32_t pendingId = -1;  // the unselected entity of this id is drawn with the overlays
    bool regen = false;      // texts rebuild their outlines
    bool skipViewports = false;
};

// The axis icon at the model origin, a constant size of pixels at this many pixels per unit.
void DrawAxisIcon(mmDrawContext& dc, const mmView& view, double pixelsPerUnit);

struct mmRendererOptions {
    bool forceXorOverlays = false;  // as on a "1.1" renderer: no texture cache
    bool forceTiles = false;        // as without non-power-of-two textures
};

// The colour an entity is drawn in: its own, except that pure white is drawn black.
void SetEntityColor(mmDrawContext& dc, const mmObject& entity);

class mmRenderer {
public:
    explicit mmRenderer(kestrel::platform::Host& host, mmRendererOptions options = {});
    mmRenderer(const mmRenderer&) = delete;
    mmRenderer& operator=(const mmRenderer&) = delete;

    // With the view's context current, once per context: reads the context's limits, chooses the
    // texture cache, uploads the cursor textures and gives the view its glyph table. The missing
    // font message goes to the Host once.
    bool InitializeGl(mmView& view);
    // The view's framebuffer has a new size (context current): the view's projection, the cache
    // textures and a full redraw.
    void Resize(mmView& view, int width, int height);
    // Draws a frame: the scene when the view asked for a full redraw (or always without a cache),
    // else the cached copy, then the overlays.
    void Paint(mmView& view, const mmSceneSource& scene);
    // Deletes the GL objects of this renderer (context current, before it goes).
    void ReleaseGl();
    // The context is gone with everything made in it; InitializeGl starts again.
    void ContextLost();

    bool Initialised() const { return initialised_; }
    bool TextureCacheOn() const { return textureCache_; }
    const mmTextureCache& Cache() const { return cache_; }
    int MaxTextureSize() const { return maxTextureSize_; }
    // For raster images: the largest tile, and whether GL_SGIS_generate_mipmap exists.
    int RasterTileLimit() const { return rasterTileLimit_; }
    bool SgisGenerateMipmap() const { return sgisGenerateMipmap_; }
    mmGlDrawContext& DrawContext() { return dc_; }

private:
    void DrawScene(mmView& view, const mmSceneSource& scene);
    void DrawEntities(const mmView& view, const mmSceneSource& scene, const mmEntityPass& pass);
    // A layout: each viewport's model window scissored, its frame, the paper sheet and the paper
    // entities.
    void DrawLayoutScene(mmView& view, const mmSceneSource& scene);
    void DrawViewportSlot(mmView& view, const mmSceneSource& scene, std::size_t slot, bool regen);
    void DrawPaperSheet(const mmView& view);
    // The space edited in the view: the paper space in paper mode, else the model.
    static const mmSpace* EditedSpace(const mmView& view, const mmSceneSource& scene);
    void DrawSelection(mmDrawContext& dc, const mmView& view, const mmSceneSource& scene);
    void DrawPendingEntity(mmDrawContext& dc, const mmView& view, const mmSceneSource& scene);
    void DrawSlotOverlays(mmDrawContext& dc, const mmView& view, const mmSceneSource& scene,
                          bool withSelection);
    void FillSelectionWindow(const mmView& view);
    void DrawTexturedCursor(const mmView& view);
    void RecordXorCursor(mmDrawContext& dc, const mmView& view);
    void DrawCacheOverlays(mmView& view, const mmSceneSource& scene);
    void DrawXorOverlays(const mmView& view, const mmSceneSource& scene, bool erasePrevious);
    void Replay(const std::vector<mmRecordedPrimitive>& primitives);
    void LoadMatrices(const mmView& view, const double* modelview);

    kestrel::platform::Host& host_;
    mmRendererOptions options_;
    mmGlDrawContext dc_;
    mmRasterTextureLoader rasterLoader_;
    mmTextureCache cache_;
    mmCursorTextures cursors_;
    bool initialised_ = false;
    bool textureCache_ = true;
    bool sgisGenerateMipmap_ = false;
    int maxTextureSize_ = 0;
    int rasterTileLimit_ = 0;
    // XOR mode: what the last frame drew over the scene, replayed to erase it.
    std::vector<mmRecordedPrimitive> xorShown_;
    mmRecordingDrawContext xorRecorder_;
};
