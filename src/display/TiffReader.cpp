// TIFF files through libtiff. Tiled bi-level sheets give their own square tiles, each 1 bit
// becoming a texel of inverted luminance (ink 255); every other TIFF libtiff can convert is read
// in bands through its RGBA interface and kept as inverted luminance too. Every strip or tile the
// header declares must lie inside the file before anything is read; libtiff's messages are kept
// for the reader's error instead of being printed.
#include <tiffio.h>

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "display/RasterFile.h"
#include "display/RasterSource.h"
#include "entities/GLTexture.h"

namespace {

constexpr tmsize_t kMaxLibtiffAllocation = tmsize_t{256} << 20;
constexpr uint32_t kMaxFileTile = 4096;
// RGBA bands wider than this are read in parts (each part decodes the band's strips again).
constexpr int32_t kRgbaBandWidth = 16384;

// The text without the module, which is a function's name or the file's path.
int keepError(TIFF*, void* user, const char*, const char* format, va_list args) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    *static_cast<std::string*>(user) = text;
    return 1;
}

int ignoreWarning(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

// A TIFF file opened with the handlers above; closed with this object.
class TiffFile {
public:
    ~TiffFile() {
        if (tif) TIFFClose(tif);
    }
    bool Open(const std::string& path) {
        TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
        if (!options) return false;
        TIFFOpenOptionsSetErrorHandlerExtR(options, keepError, &lastError);
        TIFFOpenOptionsSetWarningHandlerExtR(options, ignoreWarning, nullptr);
        TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxLibtiffAllocation);
        tif = TIFFOpenExt(path.c_str(), "r", options);
        TIFFOpenOptionsFree(options);
        return tif != nullptr;
    }
    std::string Error(const char* what) const {
        return lastError.empty() ? std::string(what) : std::string(what) + " (" + lastError + ")";
    }

    TIFF* tif = nullptr;
    std::string lastError;
};

// Every strip or tile has data inside the file, and uncompressed ones all of theirs.
bool stripsInsideFile(TIFF* tif, int64_t fileSize) {
    const bool tiled = TIFFIsTiled(tif);
    const uint32_t count = tiled ? TIFFNumberOfTiles(tif) : TIFFNumberOfStrips(tif);
    uint16_t compression = COMPRESSION_NONE;
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
    uint32_t height = 0, rowsPerStrip = 0;
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
    TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    const uint32_t perPlane = rowsPerStrip > 0 ? (height + rowsPerStrip - 1) / rowsPerStrip : 1;
    for (uint32_t i = 0; i < count; ++i) {
        int err = 0;
        const uint64_t offset = TIFFGetStrileOffsetWithErr(tif, i, &err);
        const uint64_t bytes = err ? 0 : TIFFGetStrileByteCountWithErr(tif, i, &err);
        if (err || bytes == 0 || offset > uint64_t(fileSize) || bytes > uint64_t(fileSize) - offset)
            return false;
        if (compression != COMPRESSION_NONE) continue;
        uint64_t needed = 0;
        if (tiled) {
            needed = TIFFTileSize64(tif);
        } else {
            const uint32_t first = (i % perPlane) * rowsPerStrip;
            needed = TIFFVStripSize64(tif, std::min(rowsPerStrip, height - first));
        }
        if (bytes < needed) return false;
    }
    return true;
}

// Tiled bi-level sheets: one texture per file tile, rows top-down.
class TiffTileSource final : public mmRasterSource {
public:
    TiffTileSource(std::unique_ptr<TiffFile> file, uint32_t tile, bool inkIsOne)
        : file_(std::move(file)), tile_(tile) {
        for (int b = 0; b < 256; ++b)
            for (int bit = 0; bit < 8; ++bit) {
                const bool one = (b >> (7 - bit)) & 1;
                expand_[b][bit] = one == inkIsOne ? 255 : 0;
            }
        buffer_.resize(static_cast<std::size_t>(TIFFTileSize(file_->tif)));
    }

    bool ReadTile(int32_t row, int32_t column, int32_t tileSize, uint8_t* texels) override {
        if (uint32_t(tileSize) != tile_ ||
            TIFFReadTile(file_->tif, buffer_.data(), uint32_t(column) * tile_,
                         uint32_t(row) * tile_, 0, 0) < 0) {
            error_ = file_->Error("a tile cannot be read");
            return false;
        }
        const tmsize_t rowBytes = TIFFTileRowSize(file_->tif);
        for (uint32_t y = 0; y < tile_; ++y) {
            const uint8_t* in = buffer_.data() + y * rowBytes;
            uint8_t* out = texels + std::size_t(y) * tile_;
            for (uint32_t x = 0; x < tile_; x += 8)
                std::memcpy(out + x, expand_[in[x / 8]].data(), std::min<uint32_t>(8, tile_ - x));
        }
        return true;
    }

private:
    std::unique_ptr<TiffFile> file_;
    uint32_t tile_;
    std::vector<uint8_t> buffer_;
    std::array<std::array<uint8_t, 8>, 256> expand_{};
};

// Any other TIFF: bands of RGBA rows from the top, each texel the complement of the luminance.
class TiffRgbaSource final : public mmBandSource {
public:
    explicit TiffRgbaSource(std::unique_ptr<TiffFile> file) : file_(std::move(file)) {}
    ~TiffRgbaSource() override {
        if (begun_) TIFFRGBAImageEnd(&image_);
    }

    bool Begin(std::string& error) {
        char message[1024] = {};
        if (!TIFFRGBAImageOK(file_->tif, message) ||
            !TIFFRGBAImageBegin(&image_, file_->tif, 1, message)) {
            error = std::string("its kind of TIFF cannot be shown (") + message + ")";
            return false;
        }
        begun_ = true;
        image_.req_orientation = ORIENTATION_TOPLEFT;
        return true;
    }

protected:
    int32_t BandWidthLimit() const override { return kRgbaBandWidth; }

    bool ReadBand(int32_t row, int32_t tileSize, int32_t firstColumn, int32_t width,
                  std::vector<uint8_t>& band) override {
        const int32_t count = std::min<int32_t>(tileSize, header_.height - row * tileSize);
        raster_.resize(std::size_t(width) * count);
        image_.row_offset = row * tileSize;
        image_.col_offset = firstColumn;
        if (!TIFFRGBAImageGet(&image_, raster_.data(), uint32_t(width), uint32_t(count))) {
            error_ = file_->Error("the image data cannot be read");
            return false;
        }
        band.resize(raster_.size());
        for (std::size_t i = 0; i < raster_.size(); ++i) {
            const uint32_t p = raster_[i];
            const uint32_t y =
                (TIFFGetR(p) * 299 + TIFFGetG(p) * 587 + TIFFGetB(p) * 114 + 500) / 1000;
            band[i] = static_cast<uint8_t>(255 - y);
        }
        return true;
    }

private:
    std::unique_ptr<TiffFile> file_;
    TIFFRGBAImage image_{};
    bool begun_ = false;
    std::vector<uint32_t> raster_;
};

}  // namespace

std::unique_ptr<mmRasterSource> OpenTiffSource(const std::string& path, std::string& error) {
    const int64_t size = RegularFileSize(path, error);
    if (size < 0) return nullptr;
    auto file = std::make_unique<TiffFile>();
    if (!file->Open(path)) {
        error = file->Error("it is not a TIFF file that can be read");
        return nullptr;
    }
    TIFF* tif = file->tif;
    uint32_t width = 0, height = 0, tileWidth = 0, tileLength = 0;
    uint16_t bits = 1, samples = 1, photometric = PHOTOMETRIC_MINISWHITE,
             orientation = ORIENTATION_TOPLEFT;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
    if (!SidesAcceptable(width, height, error)) return nullptr;
    if (int64_t{width} * height > kMaxRasterTextureBytes) {
        error = TooLargeMessage(width, height);
        return nullptr;
    }
    if (!stripsInsideFile(tif, size)) {
        error = "the file is cut short";
        return nullptr;
    }
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &orientation);
    TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tileWidth);
    TIFFGetField(tif, TIFFTAG_TILELENGTH, &tileLength);
    const bool bilevel =
        bits == 1 && samples == 1 &&
        (photometric == PHOTOMETRIC_MINISWHITE || photometric == PHOTOMETRIC_MINISBLACK);
    std::unique_ptr<mmRasterSource> source;
    int32_t fileTile = 0;
    if (TIFFIsTiled(tif) && bilevel && tileWidth == tileLength && tileWidth > 0 &&
        tileWidth <= kMaxFileTile && orientation == ORIENTATION_TOPLEFT) {
        fileTile = static_cast<int32_t>(tileWidth);
        source = std::make_unique<TiffTileSource>(std::move(file), tileWidth,
                                                  photometric == PHOTOMETRIC_MINISWHITE);
    } else {
        auto rgba = std::make_unique<TiffRgbaSource>(std::move(file));
        if (!rgba->Begin(error)) return nullptr;
        source = std::move(rgba);
    }
    source->SetHeader({static_cast<int32_t>(width), static_cast<int32_t>(height),
                       kRasterTiffLuminance, 1, fileTile});
    return source;
}
