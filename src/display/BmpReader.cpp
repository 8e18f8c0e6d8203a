// BMP files: uncompressed 24-bit RGB, 32-bit (the fourth byte dropped) and 1-, 4- and 8-bit rows
// through their palette, rows bottom-up or (a negative height) top-down. A band of rows is read
// from its place in the file; the rows the header declares must all lie inside the file.
#include <algorithm>
#include <cstring>

#include "display/RasterFile.h"
#include "display/RasterSource.h"
#include "entities/GLTexture.h"

namespace {

constexpr uint32_t kRgb = 0;
constexpr uint32_t kBitFields = 3;

class BmpSource final : public mmRowFileSource {
public:
    bool Open(const std::string& path, std::string& error) {
        const int64_t size = file_.OpenRegular(path, error);
        return size >= 0 && ReadHeader(size, error);
    }

protected:
    void ConvertRow(const uint8_t* in, int32_t firstColumn, int32_t width,
                    uint8_t* out) const override;

private:
    bool ReadHeader(int64_t fileSize, std::string& error);

    int32_t bitsPerPixel_ = 0;
    std::vector<uint8_t> palette_;  // RGB triples
};

bool BmpSource::ReadHeader(int64_t fileSize, std::string& error) {
    uint8_t head[54] = {};
    if (!file_.ReadAt(0, head, 18) || head[0] != 'B' || head[1] != 'M') {
        error = "it is not a BMP file";
        return false;
    }
    dataOffset_ = LittleEndian32(head + 10);
    const uint32_t infoSize = LittleEndian32(head + 14);
    int64_t width = 0, height = 0;
    uint32_t compression = kRgb, colorsUsed = 0;
    int paletteEntry = 4;
    if (infoSize == 12) {  // the OS/2 core header
        if (!file_.ReadAt(14, head + 14, 12)) return CutShort(error);
        width = LittleEndian16(head + 18);
        height = LittleEndian16(head + 20);
        bitsPerPixel_ = LittleEndian16(head + 24);
        paletteEntry = 3;
    } else if (infoSize >= 40) {
        if (!file_.ReadAt(14, head + 14, 40)) return CutShort(error);
        width = static_cast<int32_t>(LittleEndian32(head + 18));
        height = static_cast<int32_t>(LittleEndian32(head + 22));
        bitsPerPixel_ = LittleEndian16(head + 28);
        compression = LittleEndian32(head + 30);
        colorsUsed = LittleEndian32(head + 46);
    } else {
        error = "its header is of an unknown kind";
        return false;
    }
    topDown_ = height < 0;
    height = height < 0 ? -height : height;
    const bool palette = bitsPerPixel_ == 1 || bitsPerPixel_ == 4 || bitsPerPixel_ == 8;
    if (!(palette || bitsPerPixel_ == 24 || bitsPerPixel_ == 32) ||
        !(compression == kRgb || (compression == kBitFields && bitsPerPixel_ == 32))) {
        error = "only uncompressed BMP files of 1, 4, 8, 24 or 32 bits per pixel are read";
        return false;
    }
    if (compression == kBitFields) {
        // The masks follow the 40-byte header, or are its continuation in later headers.
        uint8_t masks[12];
        if (!file_.ReadAt(54, masks, sizeof masks)) return CutShort(error);
        if (LittleEndian32(masks) != 0xFF0000 || LittleEndian32(masks + 4) != 0xFF00 ||
            LittleEndian32(masks + 8) != 0xFF) {
            error = "its 32-bit pixels are not in the blue, green, red order";
            return false;
        }
    }
    if (!SidesAcceptable(width, height, error)) return false;
    stride_ = (width * bitsPerPixel_ + 31) / 32 * 4;
    if (dataOffset_ + stride_ * height > fileSize) return CutShort(error);
    if (palette) {
        const int64_t entries = colorsUsed > 0 && colorsUsed <= (1u << bitsPerPixel_)
                                    ? colorsUsed
                                    : int64_t{1} << bitsPerPixel_;
        std::vector<uint8_t> raw(static_cast<std::size_t>(entries * paletteEntry));
        if (!file_.ReadAt(14 + infoSize, raw.data(), raw.size())) return CutShort(error);
        palette_.assign(256 * 3, 0);
        for (int64_t i = 0; i < entries; ++i)
            for (int c = 0; c < 3; ++c)
                palette_[i * 3 + c] = raw[i * paletteEntry + 2 - c];
    }
    header_.width = static_cast<int32_t>(width);
    header_.height = static_cast<int32_t>(height);
    header_.orientation = kRasterBottomUp;
    header_.bytesPerTexel = 3;
    return true;
}

void BmpSource::ConvertRow(const uint8_t* in, int32_t firstColumn, int32_t width,
                           uint8_t* out) const {
    for (int32_t x = firstColumn; x < firstColumn + width; ++x, out += 3) {
        if (bitsPerPixel_ >= 24) {
            const uint8_t* p = in + std::size_t(x) * (bitsPerPixel_ / 8);
            out[0] = p[2];
            out[1] = p[1];
            out[2] = p[0];
            continue;
        }
        const int perByte = 8 / bitsPerPixel_;
        const int shift = 8 - bitsPerPixel_ * (x % perByte + 1);
        const int index = (in[x / perByte] >> shift) & ((1 << bitsPerPixel_) - 1);
        std::memcpy(out, palette_.data() + index * 3, 3);
    }
}

}  // namespace

std::unique_ptr<mmRasterSource> OpenBmpSource(const std::string& path, std::string& error) {
    auto source = std::make_unique<BmpSource>();
    if (!source->Open(path, error)) return nullptr;
    return source;
}
