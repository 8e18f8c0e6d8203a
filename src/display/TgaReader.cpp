// TGA files: uncompressed true colour of 24 or 32 bits (the alpha dropped), rows bottom-up or,
// with bit 5 of the descriptor, top-down. The first twelve header bytes must be 0, 0, 2 and nine
// zeros; the rows the header declares must lie inside the file. Tiled as BMP files are.
#include <algorithm>
#include <cstring>

#include "display/RasterFile.h"
#include "display/RasterSource.h"
#include "entities/GLTexture.h"

namespace {

constexpr uint8_t kUncompressedTrueColour[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr int64_t kHeaderBytes = 18;
constexpr uint8_t kTopOrigin = 0x20;

class TgaSource final : public mmBandSource {
public:
    bool Open(const std::string& path, std::string& error);

protected:
    bool ReadBand(int32_t row, int32_t tileSize, int32_t firstColumn, int32_t width,
                  std::vector<uint8_t>& band) override;

private:
    mmRasterFile file_;
    int32_t bytesPerPixel_ = 3;
    bool topDown_ = false;
    std::vector<uint8_t> rows_;
};

bool TgaSource::Open(const std::string& path, std::string& error) {
    const int64_t size = RegularFileSize(path, error);
    if (size < 0) return false;
    uint8_t head[kHeaderBytes];
    if (!file_.Open(path) || !file_.ReadAt(0, head, sizeof head) ||
        std::memcmp(head, kUncompressedTrueColour, sizeof kUncompressedTrueColour) != 0 ||
        (head[16] != 24 && head[16] != 32)) {
        error = "only uncompressed true-colour TGA files of 24 or 32 bits are read";
        return false;
    }
    const int64_t width = LittleEndian16(head + 12);
    const int64_t height = LittleEndian16(head + 14);
    if (!SidesAcceptable(width, height, error)) return false;
    bytesPerPixel_ = head[16] / 8;
    topDown_ = (head[17] & kTopOrigin) != 0;
    if (kHeaderBytes + width * height * bytesPerPixel_ > size) return CutShort(error);
    header_.width = static_cast<int32_t>(width);
    header_.height = static_cast<int32_t>(height);
    header_.orientation = kRasterBottomUp;
    header_.bytesPerTexel = 3;
    return true;
}

bool TgaSource::ReadBand(int32_t row, int32_t tileSize, int32_t firstColumn, int32_t width,
                         std::vector<uint8_t>& band) {
    const int32_t first = row * tileSize;
    const int32_t count = std::min(tileSize, header_.height - first);
    const int64_t stride = int64_t{header_.width} * bytesPerPixel_;
    const int64_t fileFirst = topDown_ ? header_.height - first - count : first;
    rows_.resize(static_cast<std::size_t>(stride * count));
    if (!file_.ReadAt(kHeaderBytes + fileFirst * stride, rows_.data(), rows_.size())) {
        error_ = "the file is cut short";
        return false;
    }
    band.resize(std::size_t(width) * count * 3);
    for (int32_t y = 0; y < count; ++y) {
        const uint8_t* in = rows_.data() + (topDown_ ? count - 1 - y : y) * stride +
                            int64_t{firstColumn} * bytesPerPixel_;
        uint8_t* out = band.data() + std::size_t(y) * width * 3;
        for (int32_t x = 0; x < width; ++x, in += bytesPerPixel_, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    return true;
}

}  // namespace

std::unique_ptr<mmRasterSource> OpenTgaSource(const std::string& path, std::string& error) {
    auto source = std::make_unique<TgaSource>();
    if (!source->Open(path, error)) return nullptr;
    return source;
}
