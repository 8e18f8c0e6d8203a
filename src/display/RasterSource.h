// The readers of raster image files: the format chosen by the path, each format's header, and the
// texels of the tiles read from the file a band or a tile at a time, so that no more than a band
// of the image is ever held in memory. Sizes a file declares are checked against the file before
// anything is allocated for them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

enum class mmRasterFormat { None, Bmp, Tga, Tiff, Jpeg };

// The loader of a path: the first of ".bmp", ".tga", ".tif" (also ".tiff"), ".jpg" found anywhere
// in the lower-cased path (cut at a double quote); None for any other.
mmRasterFormat RasterFormatOf(std::string_view path);

// The texels a file may fill, at most: 2 GiB of texture.
inline constexpr int64_t kMaxRasterTextureBytes = int64_t{1} << 31;

// What a raster file holds, from its header.
struct mmRasterHeader {
    int32_t width = 0;
    int32_t height = 0;
    int32_t orientation = 0;    // mmRasterOrientation
    int32_t bytesPerTexel = 3;  // 3: RGB, 1: luminance
    // The edge of the file's own square tiles (tiled bi-level TIFF), which the textures take;
    // 0 when the tiles take the drawing's limit.
    int32_t fileTileSize = 0;
};

// The texels of an image's tiles. Tile row 0 is the first row of the upload order: the bottom
// row for rows bottom-up, the top row for TIFF luminance.
class mmRasterSource {
public:
    virtual ~mmRasterSource() = default;

    const mmRasterHeader& Header() const { return header_; }
    void SetHeader(const mmRasterHeader& header) { header_ = header; }
    // The source reads its rows of tiles from the last to the first (a JPEG decodes from the top).
    virtual bool LastRowFirst() const { return false; }
    // Fills the tile at (row, column) of tiles of tileSize texels: tileSize rows of tileSize
    // texels in upload order, texels beyond the image left as they were. Tiles are asked for
    // row by row in the source's order. False, with Error() telling why, when the file cannot
    // give them.
    virtual bool ReadTile(int32_t row, int32_t column, int32_t tileSize, uint8_t* texels) = 0;
    const std::string& Error() const { return error_; }
    void SetError(std::string error) { error_ = std::move(error); }

protected:
    mmRasterHeader header_;
    std::string error_;
};

// Opens a raster file and reads its header. Null, with error saying why in a phrase that
// follows the path ("does not exist", "is cut short" ...), when it cannot be read.
std::unique_ptr<mmRasterSource> OpenRasterSource(const std::string& path, std::string& error);

// The readers of each format (path checked to be a regular file).
std::unique_ptr<mmRasterSource> OpenBmpSource(const std::string& path, std::string& error);
std::unique_ptr<mmRasterSource> OpenTgaSource(const std::string& path, std::string& error);
std::unique_ptr<mmRasterSource> OpenJpegSource(const std::string& path, std::string& error);
std::unique_ptr<mmRasterSource> OpenTiffSource(const std::string& path, std::string& error);

// A source that reads the image a band of one tile row at a time and cuts the tiles from it.
class mmBandSource : public mmRasterSource {
public:
    bool ReadTile(int32_t row, int32_t column, int32_t tileSize, uint8_t* texels) override;

protected:
    // Fills band with the rows of tile row `row` (rows count texels of Header().bytesPerTexel for
    // the columns from firstColumn, width texels each), in upload order.
    virtual bool ReadBand(int32_t row, int32_t tileSize, int32_t firstColumn, int32_t width,
                          std::vector<uint8_t>& band) = 0;
    // The widest band read at once, in texels (whole tiles of it are read).
    virtual int32_t BandWidthLimit() const { return header_.width; }

private:
    std::vector<uint8_t> band_;
    int32_t bandRow_ = -1;
    int32_t bandFirstColumn_ = -1;
    int32_t bandWidth_ = 0;
};

// The file's size in bytes, or -1 when it is not a regular file that can be read.
int64_t RegularFileSize(const std::string& path, std::string& error);
