// The raster readers' file access and shared checks.
#include "display/RasterFile.h"

#include <algorithm>

mmRasterFile::~mmRasterFile() {
    if (file_) std::fclose(file_);
}

int64_t mmRasterFile::OpenRegular(const std::string& path, std::string& error) {
    const int64_t size = RegularFileSize(path, error);
    if (size < 0) return -1;
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) {
        error = "it cannot be opened";
        return -1;
    }
    return size;
}

bool mmRasterFile::ReadAt(int64_t offset, void* data, std::size_t size) {
    if (!file_ || offset < 0 || fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0)
        return false;
    return std::fread(data, 1, size, file_) == size;
}

bool SidesAcceptable(int64_t width, int64_t height, std::string& error) {
    if (width <= 0 || height <= 0) {
        error = "the image has no pixels";
        return false;
    }
    if (width > kMaxRasterSide || height > kMaxRasterSide) {
        error = TooLargeMessage(width, height);
        return false;
    }
    return true;
}

std::string TooLargeMessage(int64_t width, int64_t height) {
    return "its " + std::to_string(width) + " x " + std::to_string(height) +
           " pixels are more than can be shown";
}

// Tile row `row` holds the image rows from row * tileSize up, one block in the file either way.
bool mmRowFileSource::ReadBand(int32_t row, int32_t tileSize, int32_t firstColumn, int32_t width,
                               std::vector<uint8_t>& band) {
    const int32_t first = row * tileSize;
    const int32_t count = std::min(tileSize, header_.height - first);
    const int64_t fileFirst = topDown_ ? header_.height - first - count : first;
    rows_.resize(static_cast<std::size_t>(stride_ * count));
    if (!file_.ReadAt(dataOffset_ + fileFirst * stride_, rows_.data(), rows_.size())) {
        error_ = "the file is cut short";
        return false;
    }
    band.resize(std::size_t(width) * count * 3);
    for (int32_t y = 0; y < count; ++y)
        ConvertRow(rows_.data() + (topDown_ ? count - 1 - y : y) * stride_, firstColumn, width,
                   band.data() + std::size_t(y) * width * 3);
    return true;
}
