// The choice of a raster reader by the path, and the tiles cut from bands.
#include "display/RasterSource.h"

#include "display/RasterFile.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

mmRasterFormat RasterFormatOf(std::string_view path) {
    std::string lower(path.substr(0, path.find('"')));
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    static constexpr std::pair<const char*, mmRasterFormat> kOrder[] = {
        {".bmp", mmRasterFormat::Bmp},
        {".tga", mmRasterFormat::Tga},
        {".tif", mmRasterFormat::Tiff},
        {".jpg", mmRasterFormat::Jpeg},
    };
    for (const auto& [extension, format] : kOrder)
        if (lower.find(extension) != std::string::npos) return format;
    return mmRasterFormat::None;
}

int64_t RegularFileSize(const std::string& path, std::string& error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) {
        error = "the file does not exist";
        return -1;
    }
    // Opening a named pipe or a device would wait or read without end.
    if (ec || !fs::is_regular_file(status)) {
        error = "it is not a file that can be read";
        return -1;
    }
    const auto size = fs::file_size(path, ec);
    if (ec) {
        error = "it cannot be read";
        return -1;
    }
    return static_cast<int64_t>(size);
}

std::unique_ptr<mmRasterSource> OpenRasterSource(const std::string& path, std::string& error) {
    const mmRasterFormat format = RasterFormatOf(path);
    if (format == mmRasterFormat::None) {
        error = "only .bmp, .tga, .tif and .jpg files are read";
        return nullptr;
    }
    if (RegularFileSize(path, error) < 0) return nullptr;
    std::unique_ptr<mmRasterSource> source;
    switch (format) {
        case mmRasterFormat::Bmp:
            source = OpenBmpSource(path, error);
            break;
        case mmRasterFormat::Tga:
            source = OpenTgaSource(path, error);
            break;
        case mmRasterFormat::Tiff:
            source = OpenTiffSource(path, error);
            break;
        default:
            source = OpenJpegSource(path, error);
            break;
    }
    if (!source) return nullptr;
    const mmRasterHeader& h = source->Header();
    if (!SidesAcceptable(h.width, h.height, error)) return nullptr;
    if (int64_t{h.width} * h.height * h.bytesPerTexel > kMaxRasterTextureBytes) {
        error = TooLargeMessage(h.width, h.height);
        return nullptr;
    }
    return source;
}

bool mmBandSource::ReadTile(int32_t row, int32_t column, int32_t tileSize, uint8_t* texels) {
    const int32_t bpp = header_.bytesPerTexel;
    const int32_t x0 = column * tileSize;
    if (tileSize <= 0 || x0 >= header_.width || row * int64_t{tileSize} >= header_.height) {
        error_ = "a tile lies outside the image";
        return false;
    }
    // A band is the whole width, or as many whole tiles as the widest band allowed holds.
    const int32_t widest = BandWidthLimit();
    const int32_t limit =
        widest >= header_.width ? header_.width : std::max(tileSize, widest / tileSize * tileSize);
    const int32_t first = x0 / limit * limit;
    const int32_t width = std::min(limit, header_.width - first);
    if (row != bandRow_ || first != bandFirstColumn_) {
        bandRow_ = -1;
        if (!ReadBand(row, tileSize, first, width, band_)) return false;
        bandRow_ = row;
        bandFirstColumn_ = first;
        bandWidth_ = width;
    }
    const int32_t rows = std::min<int32_t>(tileSize, header_.height - row * tileSize);
    const int32_t texelsWide = std::min(tileSize, header_.width - x0);
    for (int32_t y = 0; y < rows; ++y)
        std::memcpy(texels + std::size_t(y) * tileSize * bpp,
                    band_.data() + (std::size_t(y) * bandWidth_ + (x0 - first)) * bpp,
                    std::size_t(texelsWide) * bpp);
    return true;
}
