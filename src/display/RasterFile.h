// Small helpers of the raster readers: a file read at given offsets, little-endian numbers, the
// checks and messages shared by the formats, and the band source of uncompressed rows.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "display/RasterSource.h"

// Sides longer than this are refused before any size is computed from them.
inline constexpr int64_t kMaxRasterSide = int64_t{1} << 20;

inline uint32_t LittleEndian16(const uint8_t* p) {
    return p[0] | (p[1] << 8);
}
inline uint32_t LittleEndian32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24);
}

inline bool CutShort(std::string& error) {
    error = "the file is cut short";
    return false;
}

// "its W x H pixels are more than can be shown"
std::string TooLargeMessage(int64_t width, int64_t height);
// False, with the reason, for sides that are not positive or longer than kMaxRasterSide.
bool SidesAcceptable(int64_t width, int64_t height, std::string& error);

// A file opened for reading, closed with this object.
class mmRasterFile {
public:
    mmRasterFile() = default;
    mmRasterFile(const mmRasterFile&) = delete;
    mmRasterFile& operator=(const mmRasterFile&) = delete;
    ~mmRasterFile();

    // Opens a regular file: its size, or -1 with the reason.
    int64_t OpenRegular(const std::string& path, std::string& error);
    // Reads exactly size bytes at offset; false when the file ends before.
    bool ReadAt(int64_t offset, void* data, std::size_t size);
    std::FILE* Handle() const { return file_; }

private:
    std::FILE* file_ = nullptr;
};

// Uncompressed rows of stride bytes one after another from dataOffset, bottom-up or top-down
// (BMP, TGA): a band is read as one block and each row converted to RGB.
class mmRowFileSource : public mmBandSource {
protected:
    bool ReadBand(int32_t row, int32_t tileSize, int32_t firstColumn, int32_t width,
                  std::vector<uint8_t>& band) override;
    // The RGB texels of the columns from firstColumn, width of them, of a stored row.
    virtual void ConvertRow(const uint8_t* in, int32_t firstColumn, int32_t width,
                            uint8_t* out) const = 0;

    mmRasterFile file_;
    int64_t dataOffset_ = 0;
    int64_t stride_ = 0;
    bool topDown_ = false;

private:
    std::vector<uint8_t> rows_;
};
