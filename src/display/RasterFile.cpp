// The raster readers' file access and shared checks.
#include "display/RasterFile.h"

mmRasterFile::~mmRasterFile() {
    if (file_) std::fclose(file_);
}

bool mmRasterFile::Open(const std::string& path) {
    file_ = std::fopen(path.c_str(), "rb");
    return file_ != nullptr;
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
