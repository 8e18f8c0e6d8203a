// mmRasterTextureLoader: the loader a renderer gives its drawing context, which reads a raster
// image's file again and uploads its tiles into the current GL context, reporting progress and
// failures through the Host. No pixels stay in memory after a load.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "entities/GLTexture.h"

namespace kestrel::platform {
class Host;
}

class mmRasterSource;

inline constexpr char kTextureSizeTooSmallMessage[] =
    "ERROR: OpenGL texture size of graphics card is too small and is not supported!";
inline constexpr char kUnsupportedTileSizeMessage[] = "Error: Unsupported raster tile size!";

// "Loading raster image PATH..." in the status bar while a load runs.
std::string RasterLoadingText(const std::string& path);

// The next mipmap level of a tile of inverted luminance: each texel of the half-size level is
// 255 when any of the 2 x 2 texels under it holds ink, else 0, so thin lines stay when zoomed
// out. Odd sizes round down (the last row or column of an odd size is left out).
void HalveInkLevel(const uint8_t* level, int32_t size, std::vector<uint8_t>& next);

class mmRasterTextureLoader final : public mmImageLoader {
public:
    explicit mmRasterTextureLoader(kestrel::platform::Host& host) : host_(host) {}

    // The limits of the current context.
    void SetContext(int32_t maxTextureSize, bool cardMipmaps) {
        maxTextureSize_ = maxTextureSize;
        cardMipmaps_ = cardMipmaps;
    }
    // RGB mipmaps built by GLU rather than by the card (for output renders and layouts).
    void SetSoftwareMipmaps(bool on) { softwareMipmaps_ = on; }

    bool Load(const GLTexture& image, std::vector<uint32_t>& names) override;

private:
    bool Fail(const GLTexture& image, std::vector<uint32_t>& names, const std::string& message);
    bool Upload(mmRasterSource& source, const GLTexture& image, const std::vector<uint32_t>& names);
    void UploadTile(uint32_t name, const uint8_t* texels, int32_t size, bool luminance);

    kestrel::platform::Host& host_;
    int32_t maxTextureSize_ = 0;
    bool cardMipmaps_ = false;
    bool softwareMipmaps_ = true;
    std::vector<uint8_t> tile_;
    std::vector<uint8_t> level_;
    std::vector<uint8_t> nextLevel_;
};
