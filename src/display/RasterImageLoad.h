// The first load of a raster image: its file's header gives the image its size, orientation and
// tiling, and a TIFF's world file places and scales it. The pixels come later, when a view draws
// the image (mmRasterTextureLoader).
#pragma once

#include <cstdint>
#include <string>

namespace kestrel::platform {
class Host;
}

class GLTexture;

enum class mmRasterLoad {
    Failed,  // the file cannot be shown; the message was given
    Loaded,  // at (0, 0) with pixels of one drawing unit (or as a partial world file says)
    Placed,  // placed and scaled by a world file of six lines
};

// "Cannot load the raster image PATH: REASON."
std::string RasterLoadMessage(const std::string& path, const std::string& reason);

// Sets the image's path, size, orientation and tiling (the file's own tiles, else tiles of
// tileLimit texels) and its frame. Errors are shown in a message box, a bad world file with its
// warning.
mmRasterLoad LoadRasterImage(GLTexture& image, const std::string& path, int32_t tileLimit,
                             kestrel::platform::Host& host);
