// The pictures of the view's cursors, and the textures the renderer makes of them. Ink pixels are
// black, the rest white, so that drawing them with logic op AND leaves the picture around the ink.
#pragma once

#include <cstdint>
#include <vector>

struct mmCursorImage {
    int width = 0;
    int height = 0;
    int hotX = 0;  // the pixel on the mouse position, from the top-left corner
    int hotY = 0;
    std::vector<uint8_t> ink;  // width * height, rows top to bottom; 1 where inked

    bool Ink(int x, int y) const { return ink[static_cast<std::size_t>(y * width + x)] != 0; }
};

// The pictures drawn by logic op XOR on a renderer without texture cache: a 24x22 hand (panning)
// and a 24x20 magnifier (real-time zoom).
const mmCursorImage& HandCursor();
const mmCursorImage& MagnifierCursor();

// The texture pictures: the hand and the magnifier centred in 32x32, the 16x16 pick box and the
// 1x1 crosshair.
const mmCursorImage& HandTexture();
const mmCursorImage& MagnifierTexture();
const mmCursorImage& BoxTexture();
const mmCursorImage& CrosshairTexture();

// The four cursor textures of one GL context.
class mmCursorTextures {
public:
    enum Kind { kHand, kBox, kCrosshair, kMagnifier, kCount };

    // Uploads the four textures (RGB, nearest filtering) into the current context.
    void Upload();
    // Deletes them; the context they were made in must be current.
    void Release();
    // The context is gone, and its textures with it.
    void Forget();

    unsigned Texture(Kind kind) const { return names_[kind]; }
    static const mmCursorImage& Image(Kind kind);

private:
    unsigned names_[kCount] = {};
};
