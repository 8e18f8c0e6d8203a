// Large raster images: a 10,000 x 10,000 1-bit tiled TIFF (group 4, tiles of 512) and a
// 4,000 x 3,000 JPEG. For each, the first load (header, world file), the first drawing (the file
// read again and uploaded into textures, then drawn) and a second drawing into a 1280 x 800
// offscreen target, as the view draws them (argument 0) or for output (1, mipmaps built by GLU);
// and the process's peak memory against the bytes the textures hold. Run one benchmark per
// process (--benchmark_filter) for its own peak.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "BenchMeasure.h"
#include "display/RasterImageLoad.h"
#include "drawing/Drawing.h"
#include "entities/GLTexture.h"
#include "support/RasterFiles.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 800;
const std::string kSheet = "/tmp/kestrel-bench-sheet-10000-v1.tif";
const std::string kPhoto = "/tmp/kestrel-bench-photo-4000x3000-v1.jpg";

// A drawing sheet: a grid every 100 pixels, diagonals and a frame.
void writeSheet() {
    if (std::filesystem::exists(kSheet)) return;
    rasterfiles::writeBilevelTiff(
        kSheet, 10000, 10000, 512,
        [](int x, int y) {
            return x % 100 < 2 || y % 100 < 2 || (x + y) % 997 < 3 || x < 20 || y < 20;
        },
        true);
}

void writePhoto() {
    if (std::filesystem::exists(kPhoto)) return;
    rasterfiles::writeJpeg(
        kPhoto, 4000, 3000,
        [](int x, int y) {
            return rasterfiles::Rgb{uint8_t(x * 255 / 4000), uint8_t(y * 255 / 3000),
                                    uint8_t((x / 50 + y / 50) % 2 ? 200 : 60)};
        },
        90);
}

void loadAndDraw(benchmark::State& state, const std::string& path, int bytesPerTexel) {
    std::string error;
    OffscreenView offscreen;
    if (!offscreen.Create(kWidth, kHeight, error)) return state.SkipWithError(error.c_str());
    mmView& view = offscreen.view;
    mmRenderer& renderer = *offscreen.renderer;
    view.renderForOutput = state.range(0) == 1;
    const long baseKb = peakRssKb();

    for (auto _ : state) {
        mmDrawing drawing;
        FillNewDrawing(drawing);
        auto image = std::make_shared<GLTexture>();
        auto start = std::chrono::steady_clock::now();
        LoadRasterImage(*image, path, renderer.RasterTileLimit(), offscreen.host);
        const double first = seconds(start);
        image->id = drawing.nextEntityId++;
        AddEntity(drawing, image);
        view.zoomExtents(drawing.entities);
        const std::array<double, 2> draws = offscreen.TimeTwoDraws({&drawing, nullptr});
        const long peakKb = peakRssKb();
        const double textureBytes =
            double(image->tileCount) * image->tileSize * image->tileSize * bytesPerTexel * 4 / 3;
        state.counters["first_load_s"] = first;
        state.counters["first_draw_s"] = draws[0];
        state.counters["second_draw_s"] = draws[1];
        state.counters["textures_MB"] = textureBytes / (1 << 20);
        state.counters["peak_growth_MB"] = (peakKb - baseKb) / 1024.0;
        state.counters["peak_MB"] = peakKb / 1024.0;
    }
}

void BM_TiledSheet10000(benchmark::State& state) {
    writeSheet();
    loadAndDraw(state, kSheet, 1);
}
BENCHMARK(BM_TiledSheet10000)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

void BM_Photo4000x3000(benchmark::State& state) {
    writePhoto();
    loadAndDraw(state, kPhoto, 3);
}
BENCHMARK(BM_Photo4000x3000)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    std::printf("sizeof: GLTexture %zu\n", sizeof(GLTexture));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
