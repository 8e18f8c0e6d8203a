// Image: an RGBA8 picture in top-down row order (row 0 is the top), as read back from GL.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace kestrel::platform {

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const Rgba&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Rgba& colour);  // "rgba(255,0,0,255)"

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;  // width * height * 4 bytes, rows top to bottom

    Image() = default;
    Image(int w, int h);  // transparent black

    // x from the left, y from the top; both must be inside the image.
    Rgba pixel(int x, int y) const;
    void setPixel(int x, int y, Rgba colour);

    // Binary PPM (P6, alpha dropped) and PNG (RGBA, uncompressed deflate). False on I/O error.
    bool savePpm(const std::string& path) const;
    bool savePng(const std::string& path) const;
};

}  // namespace kestrel::platform
