// Offscreen pictures of a view.
#include "display/OutputPicture.h"

#include <algorithm>
#include <cmath>

#include "display/View.h"
#include "platform/HeadlessGL.h"

using kestrel::platform::Image;

namespace {

// Sets renderForOutput (with its matrices) for as long as it lives.
class OutputMode {
public:
    explicit OutputMode(mmView& view) : view_(view) {
        view_.renderForOutput = true;
        view_.PageChanged();
    }
    ~OutputMode() {
        view_.renderForOutput = false;
        view_.outputShiftX = 0.0;
        view_.outputShiftY = 0.0;
        view_.PageChanged();
        view_.needsFullRedraw = true;
    }
    OutputMode(const OutputMode&) = delete;
    OutputMode& operator=(const OutputMode&) = delete;

private:
    mmView& view_;
};

// A GL context of the view's size with a renderer set up for it.
struct OffscreenTarget {
    std::unique_ptr<kestrel::platform::HeadlessGlContext> gl;
    std::unique_ptr<mmRenderer> renderer;

    bool Open(mmView& view, kestrel::platform::Host& host, std::string* error) {
        gl = kestrel::platform::HeadlessGlContext::create(view.Width(), view.Height(), error);
        if (!gl) return false;
        renderer = std::make_unique<mmRenderer>(host);
        if (renderer->InitializeGl(view)) return true;
        if (error) *error = "the OpenGL context cannot draw";
        return false;
    }
    Image Draw(mmView& view, const mmSceneSource& scene) {
        view.needsFullRedraw = true;
        renderer->Paint(view, scene);
        return gl->readPixels();
    }
    ~OffscreenTarget() {
        if (renderer && gl && gl->makeCurrent()) renderer->ReleaseGl();
    }
};

void copyInto(Image& to, const Image& from, int x0, int y0) {
    for (int y = 0; y < from.height; ++y) {
        const int ty = y0 + y;
        if (ty < 0 || ty >= to.height) continue;
        const int x1 = std::max(0, x0), x2 = std::min(to.width, x0 + from.width);
        if (x2 <= x1) continue;
        const auto* src = from.rgba.data() + (static_cast<std::size_t>(y) * from.width + (x1 - x0)) * 4;
        auto* dst = to.rgba.data() + (static_cast<std::size_t>(ty) * to.width + x1) * 4;
        std::copy(src, src + static_cast<std::size_t>(x2 - x1) * 4, dst);
    }
}

Image crop(const Image& from, int x0, int y0, int w, int h) {
    Image out(w, h);
    copyInto(out, from, -x0, -y0);
    return out;
}

// The picture is opaque whatever alpha the framebuffer holds.
void makeOpaque(Image& image) {
    for (std::size_t i = 3; i < image.rgba.size(); i += 4) image.rgba[i] = 255;
}

}  // namespace

std::optional<Image> RenderViewPicture(mmView& view, const mmSceneSource& scene,
                                       kestrel::platform::Host& host, std::string* error) {
    OffscreenTarget target;
    if (!target.Open(view, host, error)) return std::nullopt;
    OutputMode output(view);
    Image picture = target.Draw(view, scene);
    makeOpaque(picture);
    return picture;
}

// Tile (c, r) of n x n: the window's picture scaled n times about the origin of the window's
// centre, moved so that the tile's part fills the window.
std::optional<Image> RenderTiledPicture(mmView& view, const mmSceneSource& scene, int n,
                                        kestrel::platform::Host& host, std::string* error) {
    const int w = view.Width() - view.Width() % n;
    const int h = view.Height() - view.Height() % n;
    if (w <= 0 || h <= 0) {
        if (error) *error = "the window is too small for a tiled export";
        return std::nullopt;
    }
    OffscreenTarget target;
    if (!target.Open(view, host, error)) return std::nullopt;
    Image whole(n * w, n * h);
    std::fill(whole.rgba.begin(), whole.rgba.end(), std::uint8_t{255});
    {
        const double savedZoom = view.outputZoom;
        OutputMode output(view);
        view.outputZoom = n;
        for (int t = 0; t < n * n; ++t) {
            const int column = t % n, row = t / n;
            // The tile's centre, in pixels of the magnified picture from its centre (y up).
            view.outputShiftX = (column + 0.5) * w - n * w / 2.0;
            view.outputShiftY = n * h / 2.0 - (row + 0.5) * h;
            view.PageChanged();
            const Image tile = target.Draw(view, scene);
            copyInto(whole, crop(tile, 0, 0, w, h), column * w, row * h);
        }
        view.outputZoom = savedZoom;
    }
    makeOpaque(whole);
    return whole;
}

std::optional<Image> RenderPlotPicture(mmView& view, const mmSceneSource& scene, int pageHeightPx,
                                       kestrel::platform::Host& host, std::string* error) {
    if (!view.isLayout) return RenderViewPicture(view, scene, host, error);
    const int oldW = view.Width(), oldH = view.Height();
    const kestrel::platform::PrinterMetrics& p = view.printerMetrics;
    const int pageW = std::max(1, static_cast<int>(std::lround(
                                      static_cast<double>(pageHeightPx) * p.horzRes / p.vertRes)));
    // A window whose page (less the margin) is pageW x pageHeightPx.
    view.Resize(pageW + 100, pageHeightPx + 100);
    std::optional<Image> picture = RenderViewPicture(view, scene, host, error);
    const int x0 = (view.Width() - view.paperWidthPx) / 2;
    const int y0 = (view.Height() - view.paperHeightPx) / 2;
    const int cw = view.paperWidthPx, ch = view.paperHeightPx;
    view.Resize(oldW, oldH);
    if (!picture) return std::nullopt;
    return crop(*picture, x0, y0, cw, ch);
}

kestrel::platform::PageRect FitOnPage(int w, int h, const kestrel::platform::PrinterMetrics& p) {
    kestrel::platform::PageRect r;
    if (w <= 0 || h <= 0 || p.horzRes <= 0 || p.vertRes <= 0) return r;
    const double s = std::min(static_cast<double>(p.horzRes) / w, static_cast<double>(p.vertRes) / h);
    r.width = static_cast<int>(std::lround(w * s));
    r.height = static_cast<int>(std::lround(h * s));
    r.x = (p.horzRes - r.width) / 2;
    r.y = (p.vertRes - r.height) / 2;
    return r;
}
