// The thin drawing interface entities emit their geometry through. The GL implementation sends it
// to OpenGL; the recording implementation keeps it for tests. Primitive codes are OpenGL's.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace prim {
inline constexpr int kPoints = 0;
inline constexpr int kLines = 1;
inline constexpr int kLineLoop = 2;
inline constexpr int kLineStrip = 3;
inline constexpr int kTriangles = 4;
inline constexpr int kTriangleStrip = 5;
inline constexpr int kTriangleFan = 6;
inline constexpr int kQuads = 7;
inline constexpr int kQuadStrip = 8;
inline constexpr int kPolygon = 9;
}  // namespace prim

// Passed as the primitive argument of Draw: the caller has already opened a primitive (a triangle
// fan of a hatch) and only vertices are to be emitted.
inline constexpr int kPrimitiveAlreadyOpen = prim::kTriangleFan;

// Draw modes.
inline constexpr int kDrawNormal = 0;
inline constexpr int kDrawHighlight = 1;
inline constexpr int kDrawGrips = 2;

class mmImageLoader;

// The display lists and textures made through one context, as their owners see it. An owner keeps
// a weak reference: it recognises the context its objects belong to, gives them back with Release
// or ReleaseTextures (they are deleted when that context next runs DeleteReleasedLists, so never
// while another context is current), and finds the reference expired once the context is gone.
struct mmDisplayListSpace {
    std::vector<std::pair<uint32_t, int>> released;
    std::vector<uint32_t> releasedTextures;
    void Release(uint32_t first, int count) { released.emplace_back(first, count); }
    void ReleaseTextures(const std::vector<uint32_t>& names) {
        releasedTextures.insert(releasedTextures.end(), names.begin(), names.end());
    }
};

class mmDrawContext {
public:
    virtual ~mmDrawContext() = default;

    const std::shared_ptr<mmDisplayListSpace>& ListSpace() const { return listSpace_; }
    // Deletes the lists and textures their owners gave back; call with this context current.
    void DeleteReleasedLists() {
        for (const auto& [first, count] : listSpace_->released) DeleteLists(first, count);
        listSpace_->released.clear();
        std::vector<uint32_t>& textures = listSpace_->releasedTextures;
        if (!textures.empty()) DeleteTextures(textures.data(), static_cast<int>(textures.size()));
        textures.clear();
    }
    // The GL context was destroyed or recreated: its lists are gone and owners must compile anew.
    void ForgetLists() { listSpace_ = std::make_shared<mmDisplayListSpace>(); }

    virtual void Begin(int primitive) = 0;
    virtual void Vertex(double x, double y) = 0;
    virtual void End() = 0;

    virtual void Color(float r, float g, float b) = 0;
    virtual void LineWidth(float width) = 0;
    virtual void PointSize(float size) = 0;
    // Line stipple on with the given repeat factor and pattern, or off.
    virtual void LineStipple(bool on, int factor = 1, uint16_t pattern = 0xFFFF) = 0;
    // Polygon stipple on with a 32x32 bit mask (128 bytes), or off when mask is null.
    virtual void PolygonStipple(const uint8_t* mask) = 0;

    virtual void PushMatrix() = 0;
    virtual void PopMatrix() = 0;
    virtual void Translate(double x, double y) = 0;
    virtual void Scale(double sx, double sy) = 0;

    // Even-odd fill through the stencil buffer: StencilMaskBegin starts from a zero stencil,
    // disables colour writes and inverts the stencil for every fragment; StencilCoverBegin
    // re-enables colour writes and passes only fragments whose stencil is 1; StencilEnd turns the
    // test off. The cover must cover every masked fragment (the GL side may rely on it to leave
    // the stencil zero instead of clearing it for every fill).
    virtual void StencilMaskBegin() = 0;
    virtual void StencilCoverBegin() = 0;
    virtual void StencilEnd() = 0;

    // Display lists (compiled in the current context, released by their owner).
    virtual uint32_t GenLists(int count) = 0;
    virtual void NewList(uint32_t list) = 0;
    virtual void EndList() = 0;
    virtual void CallList(uint32_t list) = 0;
    virtual void DeleteLists(uint32_t list, int count) = 0;

    // Raster images. BeginImage keeps the colour-buffer state, turns texturing on with white
    // modulation and, when xorOp, the logic op XOR; EndImage restores what it kept. TexturedQuad
    // draws the quad (0, 0)-(x, y) under the current transform with the texture coordinates
    // (0, 0)-(s, t) at the matching corners. A context without textures ignores them.
    virtual void BeginImage(bool /*xorOp*/) {}
    virtual void TexturedQuad(uint32_t /*texture*/, double /*x*/, double /*y*/, float /*s*/,
                              float /*t*/) {}
    virtual void EndImage() {}
    virtual void DeleteTextures(const uint32_t* /*names*/, int /*count*/) {}

    // On screen, what is smaller than this many pixels is drawn in less detail (a reference or a
    // hatch as a dot, a text as its box); 0, for pictures and plots, draws everything in full.
    void SetDetailPixels(float pixels) { detailPixels_ = pixels; }
    float DetailPixels() const { return detailPixels_; }

    // What gives raster images their textures in this context; null: images show their frame only.
    void SetImageLoader(mmImageLoader* loader) { imageLoader_ = loader; }
    mmImageLoader* ImageLoader() const { return imageLoader_; }

private:
    float detailPixels_ = 0.0f;
    std::shared_ptr<mmDisplayListSpace> listSpace_ = std::make_shared<mmDisplayListSpace>();
    mmImageLoader* imageLoader_ = nullptr;
};

// The outline of the axis-parallel rectangle with corners (x0, y0) and (x1, y1), as one closed
// line strip.
void EmitRectangleOutline(mmDrawContext& dc, double x0, double y0, double x1, double y1);
