// Raster image files made by tests and benchmarks: BMP and TGA bytes written here, JPEG and TIFF
// through libjpeg and libtiff. Pixels come from a function of (x, y), y counted from the top.
#pragma once

#include <tiffio.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace rasterfiles {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
};
using Pixels = std::function<Rgb(int x, int y)>;

inline void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
inline void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

inline void writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A BMP of 24 or 32 bits, or of 8 bits whose palette entry i is palette[i] and whose pixel is the
// red value of pixels (as an index). topDown writes a negative height.
inline std::vector<uint8_t> bmpBytes(int w, int h, int bits, const Pixels& pixels,
                                     bool topDown = false, const std::vector<Rgb>& palette = {}) {
    const uint32_t stride = (w * bits + 31) / 32 * 4;
    const uint32_t paletteBytes = bits == 8 ? uint32_t(palette.size()) * 4 : 0;
    const uint32_t offset = 54 + paletteBytes;
    std::vector<uint8_t> out{'B', 'M'};
    put32(out, offset + stride * h);
    put32(out, 0);
    put32(out, offset);
    put32(out, 40);
    put32(out, uint32_t(w));
    put32(out, uint32_t(topDown ? -h : h));
    put16(out, 1);
    put16(out, uint32_t(bits));
    put32(out, 0);
    put32(out, stride * h);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, bits == 8 ? uint32_t(palette.size()) : 0);
    put32(out, 0);
    for (const Rgb& c : bits == 8 ? palette : std::vector<Rgb>{}) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    for (int fileRow = 0; fileRow < h; ++fileRow) {
        const int y = topDown ? fileRow : h - 1 - fileRow;
        std::vector<uint8_t> row(stride, 0);
        for (int x = 0; x < w; ++x) {
            const Rgb c = pixels(x, y);
            if (bits == 8) {
                row[x] = c.r;
            } else {
                uint8_t* p = row.data() + x * (bits / 8);
                p[0] = c.b;
                p[1] = c.g;
                p[2] = c.r;
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

// An uncompressed true-colour TGA, rows bottom-up unless topDown.
inline std::vector<uint8_t> tgaBytes(int w, int h, int bits, const Pixels& pixels,
                                     bool topDown = false) {
    std::vector<uint8_t> out{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    put16(out, uint32_t(w));
    put16(out, uint32_t(h));
    out.push_back(uint8_t(bits));
    out.push_back(topDown ? 0x20 : 0x00);
    for (int fileRow = 0; fileRow < h; ++fileRow) {
        const int y = topDown ? fileRow : h - 1 - fileRow;
        for (int x = 0; x < w; ++x) {
            const Rgb c = pixels(x, y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
            if (bits == 32) out.push_back(255);
        }
    }
    return out;
}

inline bool writeJpeg(const std::filesystem::path& path, int w, int h, const Pixels& pixels,
                      int quality = 95, bool gray = false) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = JDIMENSION(w);
    cinfo.image_height = JDIMENSION(h);
    cinfo.input_components = gray ? 1 : 3;
    cinfo.in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(std::size_t(w) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int x = 0; x < w; ++x) {
            const Rgb c = pixels(x, int(cinfo.next_scanline));
            if (gray) {
                row[x] = c.r;
                continue;
            }
            row[x * 3] = c.r;
            row[x * 3 + 1] = c.g;
            row[x * 3 + 2] = c.b;
        }
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&cinfo, &p, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(file);
    return true;
}

// A 1-bit TIFF (ink 1, photometric min-is-white unless minIsBlack), tiled with square tiles
// (tile > 0) or in strips, compressed with CCITT group 4 or not at all.
inline bool writeBilevelTiff(const std::filesystem::path& path, int w, int h, int tile,
                             const std::function<bool(int x, int y)>& ink, bool g4 = false,
                             bool minIsBlack = false) {
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    if (!tif) return false;
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(w));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(h));
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC,
                 minIsBlack ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_MINISWHITE);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, g4 ? COMPRESSION_CCITTFAX4 : COMPRESSION_NONE);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    const auto bit = [&](int x, int y) { return ink(x, y) != minIsBlack; };
    bool ok = true;
    if (tile > 0) {
        TIFFSetField(tif, TIFFTAG_TILEWIDTH, uint32_t(tile));
        TIFFSetField(tif, TIFFTAG_TILELENGTH, uint32_t(tile));
        std::vector<uint8_t> buffer(std::size_t(TIFFTileSize(tif)));
        const int rowBytes = (tile + 7) / 8;
        for (int ty = 0; ty < h && ok; ty += tile)
            for (int tx = 0; tx < w && ok; tx += tile) {
                std::fill(buffer.begin(), buffer.end(), 0);
                for (int y = 0; y < tile && ty + y < h; ++y)
                    for (int x = 0; x < tile && tx + x < w; ++x)
                        if (bit(tx + x, ty + y)) buffer[y * rowBytes + x / 8] |= 0x80 >> (x % 8);
                ok = TIFFWriteTile(tif, buffer.data(), uint32_t(tx), uint32_t(ty), 0, 0) >= 0;
            }
    } else {
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, uint32_t(16));
        std::vector<uint8_t> row(std::size_t((w + 7) / 8));
        for (int y = 0; y < h && ok; ++y) {
            std::fill(row.begin(), row.end(), 0);
            for (int x = 0; x < w; ++x)
                if (bit(x, y)) row[x / 8] |= 0x80 >> (x % 8);
            ok = TIFFWriteScanline(tif, row.data(), uint32_t(y), 0) >= 0;
        }
    }
    TIFFClose(tif);
    return ok;
}

// An 8-bit RGB TIFF in strips.
inline bool writeRgbTiff(const std::filesystem::path& path, int w, int h, const Pixels& pixels) {
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    if (!tif) return false;
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(w));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(h));
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, uint32_t(8));
    std::vector<uint8_t> row(std::size_t(w) * 3);
    bool ok = true;
    for (int y = 0; y < h && ok; ++y) {
        for (int x = 0; x < w; ++x) {
            const Rgb c = pixels(x, y);
            row[x * 3] = c.r;
            row[x * 3 + 1] = c.g;
            row[x * 3 + 2] = c.b;
        }
        ok = TIFFWriteScanline(tif, row.data(), uint32_t(y), 0) >= 0;
    }
    TIFFClose(tif);
    return ok;
}

inline std::vector<uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace rasterfiles
