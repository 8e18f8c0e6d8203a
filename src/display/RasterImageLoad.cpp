// The first load of a raster image.
#include "display/RasterImageLoad.h"

#include "display/RasterSource.h"
#include "display/WorldFile.h"
#include "entities/GLTexture.h"
#include "platform/Host.h"

using kestrel::platform::MessageKind;

std::string RasterLoadMessage(const std::string& path, const std::string& reason) {
    return "Cannot load the raster image " + path + ": " + reason + ".";
}

mmRasterLoad LoadRasterImage(GLTexture& image, const std::string& path, int32_t tileLimit,
                             kestrel::platform::Host& host) {
    std::string error;
    const std::unique_ptr<mmRasterSource> source = OpenRasterSource(path, error);
    if (!source) {
        host.messageBox(RasterLoadMessage(path, error), MessageKind::Error);
        return mmRasterLoad::Failed;
    }
    const mmRasterHeader& h = source->Header();
    image.path = path;
    image.orientation = h.orientation;
    image.SetTiling(h.width, h.height, h.fileTileSize > 0 ? h.fileTileSize : tileLimit);
    image.insertX = image.insertY = 0.0;
    image.pixelSizeX = image.pixelSizeY = 1.0;
    mmWorldFile world;
    if (RasterFormatOf(path) == mmRasterFormat::Tiff) world = ReadWorldFile(path);
    if (world.bad) host.messageBox(kBadWorldFileMessage, MessageKind::Warning);
    image.pixelSizeX = world.pixelSizeX;
    image.pixelSizeY = world.pixelSizeY;
    image.insertX = world.insertX;
    image.insertY = world.insertY;
    if (world.placed) image.insertY -= image.heightPx * image.pixelSizeY;
    image.BuildFrame();
    return world.placed ? mmRasterLoad::Placed : mmRasterLoad::Loaded;
}
