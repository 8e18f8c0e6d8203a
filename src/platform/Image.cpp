// Image: pixel access and PPM output.
#include "platform/Image.h"

#include <fstream>
#include <ostream>

namespace kestrel::platform {

std::ostream& operator<<(std::ostream& out, const Rgba& c) {
    return out << "rgba(" << int(c.r) << ',' << int(c.g) << ',' << int(c.b) << ',' << int(c.a)
               << ')';
}

Image::Image(int w, int h)
    : width(w), height(h), rgba(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4) {}

Rgba Image::pixel(int x, int y) const {
    const std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

void Image::setPixel(int x, int y, Rgba c) {
    std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
    p[3] = c.a;
}

bool Image::savePpm(const std::string& path) const {
    std::ofstream file(path, std::ios::binary);
    file << "P6\n" << width << ' ' << height << "\n255\n";
    std::vector<char> rgb(static_cast<std::size_t>(width) * height * 3);
    for (std::size_t i = 0, j = 0; j < rgb.size(); i += 4, j += 3) {
        rgb[j] = static_cast<char>(rgba[i]);
        rgb[j + 1] = static_cast<char>(rgba[i + 1]);
        rgb[j + 2] = static_cast<char>(rgba[i + 2]);
    }
    file.write(rgb.data(), static_cast<std::streamsize>(rgb.size()));
    file.close();
    return !file.fail();
}

}  // namespace kestrel::platform
