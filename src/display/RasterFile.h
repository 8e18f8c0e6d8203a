// Small helpers of the raster readers: a file read at given offsets, little-endian numbers, and
// the checks and messages shared by the formats.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// Sides longer than this are refused before any size is computed from them.
inline constexpr int64_t kMaxRasterSide = int64_t{1} << 20;

inline uint32_t LittleEndian16(const uint8_t* p) { return p[0] | (p[1] << 8); }
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

    bool Open(const std::string& path);
    // Reads exactly size bytes at offset; false when the file ends before.
    bool ReadAt(int64_t offset, void* data, std::size_t size);
    std::FILE* Handle() const { return file_; }

private:
    std::FILE* file_ = nullptr;
};
