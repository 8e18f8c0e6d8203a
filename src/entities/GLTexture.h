// GLTexture: a raster image, a BMP, JPEG, TGA or TIFF file shown at an insertion point with a
// size per pixel in drawing units. The pixels are not kept here: they live in GL textures, square
// tiles that a loader reads from the file into each context that draws the image, shared by the
// image's copies. The entity keeps the path, the image and tile sizes and its closed frame, which
// is what picking, snapping, selection and extents see.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "entities/Object.h"

struct mmDisplayListSpace;
class GLTexture;

// How the tiles hold the pixels: BMP and TGA rows bottom-up in RGB; TIFF luminance, inverted, rows
// top-down, drawn with XOR so that the white sheet shows the image's own luminance; JPEG as BMP.
enum mmRasterOrientation : int32_t {
    kRasterBottomUp = 0,
    kRasterTiffLuminance = 1,
    kRasterJpeg = 2,
};

// Gives raster images their textures in the current GL context.
class mmImageLoader {
public:
    // Uploads the image's tiles, one texture each in tile order, into names (names given are
    // used again, else new ones are made). False when the image shows no pixels; the names are
    // then deleted and names is empty.
    virtual bool Load(const GLTexture& image, std::vector<uint32_t>& names) = 0;

    // Textures loaded before the current generation are read from their files again when next
    // drawn (a regen, a render for output).
    uint64_t Generation() const { return generation_; }
    void NewGeneration() { ++generation_; }

protected:
    ~mmImageLoader() = default;

private:
    uint64_t generation_ = 1;
};

// The textures of one image in every context that drew it, shared by the image's copies. The
// names go back to their context when the last copy is gone.
class mmImageTextures {
public:
    mmImageTextures() = default;
    mmImageTextures(const mmImageTextures&) = delete;
    mmImageTextures& operator=(const mmImageTextures&) = delete;
    ~mmImageTextures();

    // The names of the tiles in the context of dc, loaded through its loader when the context
    // has none yet or they are of an older generation. Null when the image has no pixels there.
    const std::vector<uint32_t>* In(mmDrawContext& dc, const GLTexture& image);

private:
    struct Entry {
        std::weak_ptr<mmDisplayListSpace> space;
        std::vector<uint32_t> names;
        uint64_t generation = 0;
        bool loaded = false;
    };
    std::vector<Entry> entries_;
};

class GLTexture : public mmObject {
public:
    std::string path;  // as given, double quotes removed
    int32_t widthPx = 0;
    int32_t heightPx = 0;
    int32_t tileCount = 0;
    int32_t columns = 0;
    int32_t tileSize = 0;
    int32_t padX = 0;  // texels of the last column's tiles beyond the image
    int32_t padY = 0;  // texels of the last row's tiles beyond the image
    int32_t orientation = kRasterBottomUp;
    double insertX = 0.0;  // the lower-left corner
    double insertY = 0.0;
    double pixelSizeX = 1.0;  // drawing units per pixel
    double pixelSizeY = 1.0;

    GLTexture() { type = kTypeRasterImage; }

    // The image size and its tiling into squares of tile texels (sizes that are not positive
    // give no tiles).
    void SetTiling(int32_t width, int32_t height, int32_t tile);
    int32_t Rows() const { return columns > 0 ? tileCount / columns : 0; }
    // The frame from the insertion point, pixel sizes and image size; then grips and extents.
    void BuildFrame();
    // The lower-left corner goes to (x, y); the frame follows.
    void SetInsertion(double x, double y);
    // The pixel sizes become sx and sy (are multiplied by them when byFactor), about the lower-left
    // corner. Sizes that are not positive and finite are refused (false, nothing changes).
    bool SetScale(double sx, double sy, bool byFactor);
    // The file name after the last folder separator, and the folder before it ('/' or '\').
    std::string FileName() const;
    std::string Folder() const;

    // The frame's edges are picked (within 5 pixels) and crossed; the inside is not.
    void Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit, int primitive,
              const mmShift& shift, bool cull) override;
    bool HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m, float pixelsPerUnit,
                 const mmShift& shift, bool cull) override;
    bool CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) override;
    void UpdateGrips() override;
    void UpdateExtents() override;
    // Copies the fields and the frame; the copy shares the textures.
    void CopyFrom(const mmObject& from) override;

    const std::shared_ptr<mmImageTextures>& Textures() const { return textures_; }

private:
    void DrawTiles(mmDrawContext& dc, const std::vector<uint32_t>& names,
                   const mmShift& shift) const;
    void DrawFrame(mmDrawContext& dc, const mmShift& shift) const;

    std::shared_ptr<mmImageTextures> textures_ = std::make_shared<mmImageTextures>();
};

// A path as written in a dialog or a file: cut at a double quote inside it, surrounding blanks
// and quotes removed. A relative path is taken from folder (when it is not empty).
std::string ResolveImagePath(std::string_view path, std::string_view folder);
