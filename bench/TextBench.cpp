// A drawing of 100,000 texts: the time to open it from DXF, to draw it the first time (glyph
// geometry prepared) and the second time into a 1280 x 800 offscreen target, and the process's
// peak memory after each phase. Each phase runs once per process, as a user meets it.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "BenchGlyphs.h"
#include "BenchMeasure.h"
#include "drawing/Drawing.h"
#include "entities/MText.h"
#include "fileio/dxf/DxfLoad.h"

namespace {

constexpr int kTexts = 100'000;
constexpr int kWidth = 1280;
constexpr int kHeight = 800;
const std::string kPath = "/tmp/kestrel-bench-texts-100k-v1.dxf";

// Survey labels of 3 to 12 characters on a grid of 400 columns, a tenth of them turned.
void writeTexts(const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "0\nSECTION\n2\nENTITIES\n";
    const char* words[] = {"P", "EL ", "MH", "%%c", "CL", "BM ", "TREE ", "IL "};
    for (int i = 0; i < kTexts; ++i) {
        const double x = (i % 400) * 25.0, y = (i / 400) * 8.0;
        out << "0\nTEXT\n8\n0\n10\n" << x << "\n20\n" << y << "\n40\n2.0\n";
        if (i % 10 == 0) out << "50\n" << (i % 7) * 15.0 << "\n";
        out << "1\n" << words[i % 8] << (i * 7919) % 100000 << "." << i % 100 << "\n";
    }
    out << "0\nENDSEC\n0\nEOF\n";
}

void BM_HundredThousandTexts(benchmark::State& state) {
    writeTexts(kPath);
    std::string error;
    OffscreenView offscreen;
    if (!offscreen.Create(kWidth, kHeight, error, glyphs()))
        return state.SkipWithError(error.c_str());
    mmView& view = offscreen.view;
    mmRenderer& renderer = *offscreen.renderer;
    const long baseKb = peakRssKb();

    for (auto _ : state) {
        mmDrawing drawing;
        FillNewDrawing(drawing);
        auto start = std::chrono::steady_clock::now();
        loadDrawingFromDxf(drawing, view.glyphs.get(), kPath, nullptr);
        const double open = seconds(start);
        const long openKb = peakRssKb();
        view.zoomExtents(drawing.entities);

        const std::array<double, 2> draws = offscreen.TimeTwoDraws({&drawing, nullptr});
        const long drawKb = peakRssKb();
        state.counters["open_s"] = open;
        state.counters["first_draw_s"] = draws[0];
        state.counters["second_draw_s"] = draws[1];
        state.counters["open_peak_MB"] = (openKb - baseKb) / 1024.0;
        state.counters["draw_peak_MB"] = (drawKb - openKb) / 1024.0;
        state.counters["draw_bytes_per_text"] = (drawKb - openKb) * 1024.0 / kTexts;
        state.counters["peak_MB"] = drawKb / 1024.0;
    }
    renderer.DrawContext().DeleteReleasedLists();
}
BENCHMARK(BM_HundredThousandTexts)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    std::printf("sizeof: mmText %zu, mmMText %zu\n", sizeof(mmText), sizeof(mmMText));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
