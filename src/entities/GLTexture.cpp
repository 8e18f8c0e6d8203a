// Raster images: tiling, frame, placement, drawing of the tiles and the frame, edge picking and
// crossing, and the textures shared by copies in each GL context.
#include "entities/GLTexture.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "entities/DrawContext.h"
#include "entities/Geometry.h"

mmImageTextures::~mmImageTextures() {
    for (Entry& e : entries_)
        if (const std::shared_ptr<mmDisplayListSpace> space = e.space.lock())
            space->ReleaseTextures(e.names);
}

const std::vector<uint32_t>* mmImageTextures::In(mmDrawContext& dc, const GLTexture& image) {
    const std::shared_ptr<mmDisplayListSpace>& space = dc.ListSpace();
    // Contexts that are gone took their textures with them.
    std::erase_if(entries_, [](const Entry& e) { return e.space.expired(); });
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const Entry& e) { return e.space.lock() == space; });
    mmImageLoader* loader = dc.ImageLoader();
    if (it == entries_.end()) {
        if (!loader) return nullptr;
        entries_.push_back(Entry{space, {}, 0, false});
        it = entries_.end() - 1;
    }
    if (loader && it->generation != loader->Generation()) {
        it->generation = loader->Generation();
        it->loaded = loader->Load(image, it->names);
    }
    return it->loaded ? &it->names : nullptr;
}

void GLTexture::SetTiling(int32_t width, int32_t height, int32_t tile) {
    widthPx = std::max(width, 0);
    heightPx = std::max(height, 0);
    tileSize = std::max(tile, 0);
    if (widthPx == 0 || heightPx == 0 || tileSize == 0) {
        columns = tileCount = padX = padY = 0;
        return;
    }
    columns = (widthPx + tileSize - 1) / tileSize;
    const int32_t rows = (heightPx + tileSize - 1) / tileSize;
    tileCount = columns * rows;
    padX = columns * tileSize - widthPx;
    padY = rows * tileSize - heightPx;
}

void GLTexture::BuildFrame() {
    const double x1 = insertX + widthPx * pixelSizeX;
    const double y1 = insertY + heightPx * pixelSizeY;
    points.clear();
    points.emplace_back(insertX, insertY);
    points.emplace_back(x1, insertY);
    points.emplace_back(x1, y1);
    points.emplace_back(insertX, y1);
    points.emplace_back(insertX, insertY);
    UpdateGrips();
    UpdateExtents();
}

void GLTexture::SetInsertion(double x, double y) {
    insertX = x;
    insertY = y;
    BuildFrame();
}

bool GLTexture::SetScale(double sx, double sy, bool byFactor) {
    const double nx = byFactor ? pixelSizeX * sx : sx;
    const double ny = byFactor ? pixelSizeY * sy : sy;
    if (!(std::isfinite(nx) && std::isfinite(ny) && nx > 0.0 && ny > 0.0)) return false;
    pixelSizeX = nx;
    pixelSizeY = ny;
    BuildFrame();
    return true;
}

namespace {

std::size_t lastSeparator(const std::string& path) {
    return path.find_last_of("/\\");
}

}  // namespace

std::string GLTexture::FileName() const {
    const std::size_t at = lastSeparator(path);
    return at == std::string::npos ? path : path.substr(at + 1);
}

std::string GLTexture::Folder() const {
    const std::size_t at = lastSeparator(path);
    return at == std::string::npos ? std::string() : path.substr(0, at);
}

// Tile i lies at row i / columns, column i % columns; the last row and column stop short of their
// padding. Rows run up from the lower-left corner, or down from the top edge for TIFF luminance.
void GLTexture::DrawTiles(mmDrawContext& dc, const std::vector<uint32_t>& names,
                          const mmShift& shift) const {
    const bool topDown = orientation == kRasterTiffLuminance;
    const double sign = topDown ? -1.0 : 1.0;
    const int32_t rows = Rows();
    const int32_t count = std::min<int32_t>(tileCount, static_cast<int32_t>(names.size()));
    const double ts = tileSize;
    dc.BeginImage(topDown);
    dc.PushMatrix();
    if (topDown) dc.Translate(0.0, heightPx * pixelSizeY);
    dc.Translate(insertX - shift.dx2, insertY - shift.dy2);
    dc.Scale(pixelSizeX, pixelSizeY);
    for (int32_t i = 0; i < count; ++i) {
        const int32_t row = i / columns;
        const int32_t column = i % columns;
        const double a = row == rows - 1 ? padY : 0;
        const double d = column == columns - 1 ? padX : 0;
        dc.PushMatrix();
        dc.Translate(column * ts, sign * row * ts);
        dc.TexturedQuad(names[i], ts - d, sign * (ts - a), static_cast<float>(1.0 - d / ts),
                        static_cast<float>(1.0 - a / ts));
        dc.PopMatrix();
    }
    dc.PopMatrix();
    dc.EndImage();
}

void GLTexture::DrawFrame(mmDrawContext& dc, const mmShift& shift) const {
    dc.Begin(prim::kLineStrip);
    for (const mmVertex& p : points)
        dc.Vertex(p.x - shift.dx2, p.y - shift.dy2);
    dc.End();
}

void GLTexture::Draw(mmDrawContext& dc, const mmRect& view, int mode, float pixelsPerUnit, int,
                     const mmShift& shift, bool cull) {
    if (cull && CulledBy(view, shift)) return;
    switch (mode) {
        case kDrawNormal:
            if (const std::vector<uint32_t>* names = textures_->In(dc, *this))
                DrawTiles(dc, *names, shift);
            dc.Color(0.0f, 0.0f, 0.0f);
            dc.LineWidth(1.0f);
            DrawFrame(dc, shift);
            break;
        case kDrawHighlight:
            dc.Color(0.0f, 0.0f, 0.0f);
            dc.LineWidth(1.0f);
            DrawFrame(dc, shift);
            dc.LineStipple(true, 4, 0xAAAA);
            dc.Color(1.0f, 1.0f, 1.0f);
            DrawFrame(dc, shift);
            dc.LineStipple(false);
            break;
        default:
            DrawGripList(dc, grips, shift.dx2, shift.dy2, pixelsPerUnit, kGripSquareSmall);
            break;
    }
}

bool GLTexture::HitTest(int cx, int cy, const mmRect& view, const mmViewMatrices& m, float,
                        const mmShift& shift, bool cull) {
    if (cull && CulledBy(view, shift)) return false;
    return pointStripHit(points, cx, cy, m, shift);
}

bool GLTexture::CrossesRect(const mmRect& rect, const mmShift& shift, bool cull) {
    if (cull && CulledBy(rect, shift)) return false;
    return pointStripCrossesRect(points, rect, shift);
}

void GLTexture::UpdateGrips() {
    grips.resize(std::min(grips.size(), points.size()));
    for (std::size_t i = 0; i < points.size(); ++i)
        SetGripAt(grips, i, points[i].x, points[i].y);
}

void GLTexture::UpdateExtents() {
    UpdateExtentsFromPoints();
}

void GLTexture::CopyFrom(const mmObject& from) {
    if (from.type == kTypeRasterImage) {
        const auto& image = static_cast<const GLTexture&>(from);
        path = image.path;
        widthPx = image.widthPx;
        heightPx = image.heightPx;
        tileCount = image.tileCount;
        columns = image.columns;
        tileSize = image.tileSize;
        padX = image.padX;
        padY = image.padY;
        orientation = image.orientation;
        insertX = image.insertX;
        insertY = image.insertY;
        pixelSizeX = image.pixelSizeX;
        pixelSizeY = image.pixelSizeY;
        textures_ = image.textures_;
    }
    mmObject::CopyFrom(from);
}

std::string ResolveImagePath(std::string_view path, std::string_view folder) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!path.empty() && blank(path.front()))
        path.remove_prefix(1);
    if (!path.empty() && path.front() == '"') path.remove_prefix(1);
    path = path.substr(0, path.find('"'));
    while (!path.empty() && blank(path.back()))
        path.remove_suffix(1);
    const std::filesystem::path p(path);
    if (path.empty() || p.is_absolute() || folder.empty()) return std::string(path);
    return (std::filesystem::path(folder) / p).lexically_normal().string();
}
