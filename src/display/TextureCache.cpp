// mmTextureCache: tile layout, creation, copy from the colour buffer and drawing.
#include "display/TextureCache.h"

#include <GL/gl.h>

#include <algorithm>

namespace {

int powerOfTwoAtLeast(int n) {
    int p = 1;
    while (p < n && p < (1 << 30)) p <<= 1;
    return p;
}

int fitSide(int client, int maxTextureSize) {
    int side = powerOfTwoAtLeast(client);
    while (side > 1 && (side >= maxTextureSize || side > client)) side /= 2;
    return side;
}

void createTexture(unsigned name, int width, int height) {
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
}

}  // namespace

void EmitTexturedQuad(double x0, double y0, double x1, double y1) {
    glTexCoord2d(0, 0);
    glVertex2d(x0, y0);
    glTexCoord2d(1, 0);
    glVertex2d(x1, y0);
    glTexCoord2d(1, 1);
    glVertex2d(x1, y1);
    glTexCoord2d(0, 1);
    glVertex2d(x0, y1);
}

mmTileLayout ComputeTileLayout(int width, int height, int maxTextureSize) {
    mmTileLayout layout;
    if (width <= 0 || height <= 0) return layout;
    layout.tile = std::min(fitSide(width, maxTextureSize), fitSide(height, maxTextureSize));
    layout.columns = (width + layout.tile - 1) / layout.tile;
    layout.rows = (height + layout.tile - 1) / layout.tile;
    return layout;
}

void mmTextureCache::Configure(bool singleTexture, int maxTextureSize) {
    single_ = singleTexture;
    maxTextureSize_ = maxTextureSize;
}

void mmTextureCache::Create(int width, int height) {
    Release();
    width_ = width;
    height_ = height;
    if (width <= 0 || height <= 0) return;
    // A client area beyond the texture size limit needs tiles even where one texture would do.
    inUse_ = single_ && width <= maxTextureSize_ && height <= maxTextureSize_;
    if (inUse_) {
        tiles_ = mmTileLayout{};
        names_.resize(1);
    } else {
        tiles_ = ComputeTileLayout(width, height, maxTextureSize_);
        names_.resize(static_cast<std::size_t>(tiles_.count()));
    }
    glGenTextures(static_cast<int>(names_.size()), names_.data());
    if (inUse_) {
        createTexture(names_[0], width, height);
    } else {
        for (unsigned name : names_) createTexture(name, tiles_.tile, tiles_.tile);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
}

void mmTextureCache::Copy() const {
    if (names_.empty()) return;
    if (inUse_) {
        glBindTexture(GL_TEXTURE_2D, names_[0]);
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, width_, height_);
    } else {
        const int t = tiles_.tile;
        for (int row = 0; row < tiles_.rows; ++row)
            for (int col = 0; col < tiles_.columns; ++col) {
                glBindTexture(GL_TEXTURE_2D, names_[static_cast<std::size_t>(row * tiles_.columns + col)]);
                // Edge tiles reach past the client area: only its part is read.
                glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, col * t, row * t,
                                    std::min(t, width_ - col * t), std::min(t, height_ - row * t));
            }
    }
    glBindTexture(GL_TEXTURE_2D, 0);
}

void mmTextureCache::Draw() const {
    if (names_.empty()) return;
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    if (inUse_) {
        glBindTexture(GL_TEXTURE_2D, names_[0]);
        glBegin(GL_QUADS);
        EmitTexturedQuad(0, 0, width_, height_);
        glEnd();
    } else {
        const int t = tiles_.tile;
        for (int row = 0; row < tiles_.rows; ++row)
            for (int col = 0; col < tiles_.columns; ++col) {
                glBindTexture(GL_TEXTURE_2D, names_[static_cast<std::size_t>(row * tiles_.columns + col)]);
                glBegin(GL_QUADS);
                EmitTexturedQuad(col * t, row * t, (col + 1) * t, (row + 1) * t);
                glEnd();
            }
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
}

void mmTextureCache::Release() {
    if (!names_.empty()) glDeleteTextures(static_cast<int>(names_.size()), names_.data());
    Forget();
}

void mmTextureCache::Forget() {
    names_.clear();
    tiles_ = mmTileLayout{};
}
