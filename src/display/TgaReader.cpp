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

class TgaSource final : public mmRowFileSource {
public:
    bool Open(const std::string& path, std::string& error);

protected:
    void ConvertRow(const uint8_t* in, int32_t firstColumn, int32_t width,
                    uint8_t* out) const override {
        in += int64_t{firstColumn} * bytesPerPixel_;
        for (int32_t x = 0; x < width; ++x, in += bytesPerPixel_, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }

private:
    int32_t bytesPerPixel_ = 3;
};

bool TgaSource::Open(const std::string& path, std::string& error) {
    const int64_t size = file_.OpenRegular(path, error);
    if (size < 0) return false;
    uint8_t head[kHeaderBytes];
    if (!file_.ReadAt(0, head, sizeof head) ||
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
    dataOffset_ = kHeaderBytes;
    stride_ = width * bytesPerPixel_;
    header_.width = static_cast<int32_t>(width);
    header_.height = static_cast<int32_t>(height);
    header_.orientation = kRasterBottomUp;
    header_.bytesPerTexel = 3;
    return true;
}

}  // namespace

std::unique_ptr<mmRasterSource> OpenTgaSource(const std::string& path, std::string& error) {
    auto source = std::make_unique<TgaSource>();
    if (!source->Open(path, error)) return nullptr;
    return source;
}
