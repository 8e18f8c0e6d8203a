// Uploading raster tiles: the file is read again tile by tile, each tile becomes a texture with
// its mipmaps (RGB by the card or by GLU, TIFF luminance always the ink-keeping levels), and
// progress goes to the Host.
#define GL_GLEXT_PROTOTYPES 1
#include "display/RasterTextureLoader.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <algorithm>

#include "display/RasterImageLoad.h"
#include "display/RasterSource.h"
#include "platform/Host.h"

std::string RasterLoadingText(const std::string& path) {
    return "Loading raster image " + path + "...";
}

void HalveInkLevel(const uint8_t* level, int32_t size, std::vector<uint8_t>& next) {
    const int32_t half = std::max(size / 2, 1);
    next.assign(std::size_t(half) * half, 0);
    for (int32_t y = 0; y < half; ++y)
        for (int32_t x = 0; x < half; ++x) {
            bool ink = false;
            for (int32_t dy = 0; dy < 2; ++dy)
                for (int32_t dx = 0; dx < 2; ++dx) {
                    const int32_t sx = std::min(2 * x + dx, size - 1);
                    const int32_t sy = std::min(2 * y + dy, size - 1);
                    ink = ink || level[std::size_t(sy) * size + sx] > 0;
                }
            next[std::size_t(y) * half + x] = ink ? 255 : 0;
        }
}

bool mmRasterTextureLoader::Fail(const GLTexture&, std::vector<uint32_t>& names,
                                 const std::string& message) {
    if (!names.empty()) glDeleteTextures(static_cast<GLsizei>(names.size()), names.data());
    names.clear();
    if (!message.empty()) host_.historyMessage(message);
    return false;
}

bool mmRasterTextureLoader::Load(const GLTexture& image, std::vector<uint32_t>& names) {
    if (image.tileCount <= 0) return Fail(image, names, {});
    if (maxTextureSize_ <= 0) return Fail(image, names, kTextureSizeTooSmallMessage);
    if (image.tileSize > maxTextureSize_) return Fail(image, names, kUnsupportedTileSizeMessage);
    std::string error;
    const std::unique_ptr<mmRasterSource> source = OpenRasterSource(image.path, error);
    if (!source) return Fail(image, names, RasterLoadMessage(image.path, error));
    const mmRasterHeader& h = source->Header();
    if (h.width != image.widthPx || h.height != image.heightPx ||
        h.orientation != image.orientation ||
        (h.fileTileSize > 0 && h.fileTileSize != image.tileSize))
        return Fail(image, names,
                    RasterLoadMessage(image.path, "the file has changed since it was inserted"));
    if (names.size() != static_cast<std::size_t>(image.tileCount)) {
        if (!names.empty()) glDeleteTextures(static_cast<GLsizei>(names.size()), names.data());
        names.assign(static_cast<std::size_t>(image.tileCount), 0);
        glGenTextures(image.tileCount, names.data());
    }
    host_.statusText(RasterLoadingText(image.path));
    const bool uploaded = Upload(*source, image, names);
    host_.progress(-1);
    host_.statusText("");
    if (!uploaded) return Fail(image, names, RasterLoadMessage(image.path, source->Error()));
    return true;
}

// Tile rows in the source's order; the tiles of the last row and column start blank (white).
bool mmRasterTextureLoader::Upload(mmRasterSource& source, const GLTexture& image,
                                   const std::vector<uint32_t>& names) {
    while (glGetError() != GL_NO_ERROR) {
    }
    const int32_t bpp = source.Header().bytesPerTexel;
    const bool luminance = bpp == 1;
    const int32_t ts = image.tileSize;
    const int32_t rows = image.Rows();
    const uint8_t blank = luminance ? 0 : 255;
    tile_.resize(std::size_t(ts) * ts * bpp);
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    int32_t done = 0;
    int shown = -1;
    bool ok = true;
    for (int32_t k = 0; k < rows && ok; ++k) {
        const int32_t row = source.LastRowFirst() ? rows - 1 - k : k;
        for (int32_t column = 0; column < image.columns && ok; ++column) {
            if (row == rows - 1 || column == image.columns - 1)
                std::fill(tile_.begin(), tile_.end(), blank);
            ok = source.ReadTile(row, column, ts, tile_.data());
            if (!ok) break;
            UploadTile(names[std::size_t(row) * image.columns + column], tile_.data(), ts,
                       luminance);
            const int percent = static_cast<int>(int64_t{++done} * 100 / image.tileCount);
            if (percent != shown) host_.progress(shown = percent);
        }
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    if (ok && glGetError() == GL_OUT_OF_MEMORY) {
        source.SetError("the graphics card has no room for its textures");
        ok = false;
    }
    return ok;
}

void mmRasterTextureLoader::UploadTile(uint32_t name, const uint8_t* texels, int32_t size,
                                       bool luminance) {
    const GLenum format = luminance ? GL_LUMINANCE : GL_RGB;
    const GLint internal = luminance ? GL_LUMINANCE8 : GL_RGB8;
    const bool software = softwareMipmaps_ || !cardMipmaps_;
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_LOD_BIAS, luminance ? -0.4f : 0.0f);
    glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, !software && !luminance);
    // Luminance always takes the levels built here: box-filtered levels fade thin lines away.
    if (software && !luminance) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 1000);
        gluBuild2DMipmaps(GL_TEXTURE_2D, internal, size, size, format, GL_UNSIGNED_BYTE, texels);
        return;
    }
    glTexImage2D(GL_TEXTURE_2D, 0, internal, size, size, 0, format, GL_UNSIGNED_BYTE, texels);
    if (!luminance) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 1000);
        return;
    }
    // The levels down to 2 x 2, each keeping any ink of the one above.
    int32_t maxLevel = 0;
    while ((size >> (maxLevel + 1)) > 1)
        ++maxLevel;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, maxLevel);
    const uint8_t* level = texels;
    int32_t levelSize = size;
    for (int32_t l = 1; l <= maxLevel; ++l) {
        HalveInkLevel(level, levelSize, nextLevel_);
        levelSize = std::max(levelSize / 2, 1);
        level_.swap(nextLevel_);
        level = level_.data();
        glTexImage2D(GL_TEXTURE_2D, l, internal, levelSize, levelSize, 0, format, GL_UNSIGNED_BYTE,
                     level);
    }
}
