// Image::savePng: a PNG writer with no library (stored deflate blocks), for dumping test images.
#include <algorithm>
#include <array>
#include <fstream>

#include "platform/Image.h"

namespace kestrel::platform {

namespace {

constexpr std::array<std::uint32_t, 256> makeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> kCrcTable = makeCrcTable();

using Bytes = std::vector<std::uint8_t>;

std::uint32_t crc32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i)
        c = kCrcTable[(c ^ data[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::uint32_t adler32(const Bytes& data) {
    std::uint32_t a = 1, b = 0;
    for (const std::uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void putBigEndian(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(std::uint8_t(v >> shift));
}

void putChunk(Bytes& out, const char type[4], const Bytes& data) {
    putBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    putBigEndian(out, crc32(&out[start], out.size() - start));
}

// Zlib stream of raw in stored (uncompressed) deflate blocks of at most 65535 bytes.
Bytes zlibStored(const Bytes& raw) {
    Bytes out = {0x78, 0x01};
    std::size_t pos = 0;
    do {
        const std::size_t n = std::min<std::size_t>(65535, raw.size() - pos);
        const bool last = pos + n == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(std::uint8_t(n & 0xFF));
        out.push_back(std::uint8_t(n >> 8));
        out.push_back(std::uint8_t(~n & 0xFF));
        out.push_back(std::uint8_t((~n >> 8) & 0xFF));
        out.insert(out.end(), raw.begin() + pos, raw.begin() + pos + n);
        pos += n;
    } while (pos < raw.size());
    putBigEndian(out, adler32(raw));
    return out;
}

Bytes scanlines(const Image& image) {
    const std::size_t stride = static_cast<std::size_t>(image.width) * 4;
    Bytes raw;
    raw.reserve((stride + 1) * image.height);
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0);  // filter: none
        const auto row = image.rgba.begin() + y * stride;
        raw.insert(raw.end(), row, row + stride);
    }
    return raw;
}

}  // namespace

bool Image::savePng(const std::string& path) const {
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    putBigEndian(header, static_cast<std::uint32_t>(width));
    putBigEndian(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter, no interlace
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", zlibStored(scanlines(*this)));
    putChunk(png, "IEND", {});

    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    file.close();
    return !file.fail();
}

}  // namespace kestrel::platform
