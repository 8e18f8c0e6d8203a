// Survey drawings of block references: 100,000 and 1,000,000 references to a 20-entity symbol,
// against as many plain lines. Each case runs in a child process of its own, so that its peak
// memory is its own: opening the DXF file (written once in the setup), the first full drawing
// into a 1280 x 800 offscreen target, a pick at the middle of the view, and the peak resident
// memory (VmHWM). "owned" gives every reference its own copy of the children after opening, as
// references held them before they shared them (100,000 only: a million would need ~8 GB).
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchMeasure.h"
#include "drawing/Drawing.h"
#include "entities/BlockRef.h"
#include "entities/ViewMatrices.h"
#include "fileio/dxf/DxfLoad.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 800;

enum Kind { kLines = 0, kShared = 1, kOwned = 2 };

// The symbol: 20 entities on layer 0 (lines, circles, arcs, a polyline), some coloured by block.
void writeSymbol(std::ofstream& out) {
    out << "0\nBLOCK\n8\n0\n2\nTREE\n70\n0\n10\n0\n20\n0\n";
    for (int i = 0; i < 20; ++i) {
        const double a = i * 0.3;
        switch (i % 4) {
            case 0:
                out << "0\nLINE\n8\n0\n10\n" << a << "\n20\n0\n11\n" << 2 - a / 3 << "\n21\n1\n";
                break;
            case 1:
                out << "0\nCIRCLE\n8\n0\n62\n0\n10\n" << a / 5 << "\n20\n" << a / 7 << "\n40\n"
                    << 0.2 + a / 10 << "\n";
                break;
            case 2:
                out << "0\nARC\n8\n0\n10\n0\n20\n" << a / 4 << "\n40\n1\n50\n" << 10 * i
                    << "\n51\n" << 10 * i + 90 << "\n";
                break;
            default:
                out << "0\nLWPOLYLINE\n8\n0\n62\n0\n90\n3\n70\n0\n10\n0\n20\n0\n10\n1\n20\n"
                    << a / 6 << "\n10\n1.5\n20\n0\n";
                break;
        }
    }
    out << "0\nENDBLK\n8\n0\n";
}

// count references to the symbol (or lines) on a grid 1000 wide, on two layers.
void writeFile(const std::string& path, Kind kind, int64_t count) {
    std::ofstream out(path);
    out << "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n0\nLAYER\n2\n0\n62\n7\n70\n0\n"
           "0\nLAYER\n2\nTREES\n62\n3\n70\n0\n0\nLAYER\n2\nMANHOLES\n62\n5\n70\n0\n"
           "0\nENDTAB\n0\nENDSEC\n0\nSECTION\n2\nBLOCKS\n";
    if (kind != kLines) writeSymbol(out);
    out << "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n";
    for (int64_t i = 0; i < count; ++i) {
        const int64_t x = (i % 1000) * 5, y = (i / 1000) * 5;
        const char* layer = i % 3 ? "TREES" : "MANHOLES";
        if (kind == kLines)
            out << "0\nLINE\n8\n" << layer << "\n10\n" << x << "\n20\n" << y << "\n11\n"
                << x + 2 << "\n21\n" << y + 1 << "\n";
        else
            out << "0\nINSERT\n8\n" << layer << "\n2\nTREE\n10\n" << x << "\n20\n" << y << "\n";
    }
    out << "0\nENDSEC\n0\nEOF\n";
}

std::string fileFor(Kind kind, int64_t count) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("kestrel-bench-" + std::string(kind == kLines ? "lines" : "refs") +
                               "-" + std::to_string(count) + ".dxf"))
                                 .string();
    if (!std::filesystem::exists(path)) writeFile(path, kind, count);
    return path;
}

long peakKb() {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word)
        if (word == "VmHWM:") {
            long kb = 0;
            status >> kb;
            return kb;
        }
    return peakRssKb();
}

void ownAll(const mmEntityList& entities) {
    for (const mmObjectPtr& e : entities)
        if (e && e->type == kTypeBlockRef) ownAll(static_cast<mmBlockRef&>(*e).children.Own());
}

// open, draw and pick seconds, peak kB; negative seconds when something failed.
struct Figures {
    double open = -1, draw = -1, pick = -1;
    double peakKb = 0;
    double hit = 0;
};

Figures runCase(const std::string& path, Kind kind) {
    Figures f;
    std::string error;
    OffscreenView v;
    if (!v.Create(kWidth, kHeight, error)) return f;
    mmDrawing drawing;
    FillNewDrawing(drawing);
    auto start = std::chrono::steady_clock::now();
    if (!loadDrawingFromDxf(drawing, v.view.glyphs.get(), path, nullptr)) return f;
    if (kind == kOwned) ownAll(drawing.entities);
    f.open = seconds(start);
    v.view.zoomExtents(drawing.entities);
    mmSceneSource scene;
    scene.model = &drawing;
    v.view.requestRedraw();
    start = std::chrono::steady_clock::now();
    v.renderer->Paint(v.view, scene);
    glFinish();
    f.draw = seconds(start);
    start = std::chrono::steady_clock::now();
    const mmRect window = v.view.VisibleWindow();
    const float ppu = static_cast<float>(v.view.PixelsPerUnit());
    const mmShift shift{0.0, 0.0, v.view.originOffset.x, v.view.originOffset.y};
    const mmVertex c = v.view.screenToWorld(kWidth / 2.0, kHeight / 2.0);
    std::vector<int32_t> near;
    drawing.spatialIndex.Query(drawing.entities, {c.x - 5, c.y - 5, c.x + 5, c.y + 5}, near);
    for (const int32_t i : near)
        if (drawing.entities[i]->HitTest(kWidth / 2, kHeight / 2, window, v.view.Matrices(), ppu,
                                         shift, true))
            ++f.hit;
    f.pick = seconds(start);
    f.peakKb = static_cast<double>(peakKb());
    return f;
}

// The case in a child process: its figures come back through a pipe.
Figures inChild(const std::string& path, Kind kind) {
    int fds[2];
    if (pipe(fds) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        const Figures f = runCase(path, kind);
        const ssize_t n = write(fds[1], &f, sizeof f);
        _exit(n == static_cast<ssize_t>(sizeof f) ? 0 : 1);
    }
    close(fds[1]);
    Figures f;
    if (pid < 0 || read(fds[0], &f, sizeof f) != static_cast<ssize_t>(sizeof f)) f = Figures{};
    close(fds[0]);
    if (pid > 0) waitpid(pid, nullptr, 0);
    return f;
}

void BM_References(benchmark::State& state) {
    const auto kind = static_cast<Kind>(state.range(0));
    const int64_t count = state.range(1);
    const std::string path = fileFor(kind, count);
    Figures f;
    for (auto _ : state) {
        f = inChild(path, kind);
        if (f.open < 0) {
            state.SkipWithError("the case failed (no headless OpenGL, or the file)");
            return;
        }
        state.SetIterationTime(f.open + f.draw + f.pick);
    }
    state.counters["open_s"] = f.open;
    state.counters["draw_s"] = f.draw;
    state.counters["pick_ms"] = f.pick * 1e3;
    state.counters["peak_MB"] = f.peakKb / 1024.0;
    state.counters["picked"] = f.hit;
}

}  // namespace

BENCHMARK(BM_References)
    ->ArgNames({"kind", "count"})
    ->Args({kLines, 100000})
    ->Args({kShared, 100000})
    ->Args({kOwned, 100000})
    ->Args({kLines, 1000000})
    ->Args({kShared, 1000000})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
