// mmTextureCache: the copy of the drawn scene that a paint without a full redraw puts back before
// drawing the overlays: one texture of the client size, or a grid of square power-of-two tiles.
#pragma once

#include <vector>

// The tile grid for a client area of w x h when textures must have power-of-two sizes below
// maxTextureSize: the tile is the smaller of the two sides, each the power of two at or above the
// client side, halved while it is maxTextureSize or more or larger than that side.
struct mmTileLayout {
    int tile = 0;
    int columns = 0;
    int rows = 0;
    int count() const { return columns * rows; }
};
mmTileLayout ComputeTileLayout(int width, int height, int maxTextureSize);

// One quad from (x0, y0) to (x1, y1) with the whole bound texture on it, inside glBegin(GL_QUADS).
void EmitTexturedQuad(double x0, double y0, double x1, double y1);

class mmTextureCache {
public:
    // Single texture of the client size, or tiles.
    void Configure(bool singleTexture, int maxTextureSize);
    // One texture is in use (not tiles) for the current client area.
    bool SingleTexture() const { return inUse_; }
    const mmTileLayout& Tiles() const { return tiles_; }

    // (Re)creates the textures for a client area; the context must be current.
    void Create(int width, int height);
    // The colour buffer into the textures.
    void Copy() const;
    // The cached picture as textured quads over the client area, in the window frame (one unit
    // per pixel, origin at the lower-left corner).
    void Draw() const;
    // Deletes the textures (context current), or forgets them (context gone).
    void Release();
    void Forget();

private:
    bool single_ = true;
    bool inUse_ = true;
    int maxTextureSize_ = 0;
    int width_ = 0;
    int height_ = 0;
    mmTileLayout tiles_;
    std::vector<unsigned> names_;
};
