// DXF reading and writing of a synthetic survey drawing of a million entities: throughput of
// the tokenizer alone, of reading into the drawing and of saving it, and the peak memory of a
// read. Pass --dxf-file=PATH to use another file (made when missing).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>

#include "SyntheticDxf.h"
#include "drawing/Drawing.h"
#include "entities/Arc.h"
#include "entities/Circle.h"
#include "entities/GlyphTable.h"
#include "entities/Line.h"
#include "entities/MText.h"
#include "entities/Point.h"
#include "entities/Polyline.h"
#include "entities/Text.h"
#include "fileio/dxf/DxfLoad.h"
#include "fileio/dxf/DxfReader.h"
#include "fileio/dxf/DxfSave.h"

namespace {

constexpr int64_t kEntities = 1'000'000;
std::string gInput = "/tmp/kestrel-bench-survey-1M-v3.dxf";
mmGlyphTablePtr gGlyphs;  // texts are laid out as the editor lays them out
uint64_t gInputBytes = 0;

double mb(uint64_t bytes) {
    return static_cast<double>(bytes) / 1e6;
}

long peakRssKb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

long currentRssKb() {
    long pages = 0, resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void prepareInput() {
    if (!std::filesystem::exists(gInput)) {
        const SyntheticDxfStats s = WriteSyntheticDxf(gInput, kEntities);
        const auto n = [](int64_t v) { return static_cast<long long>(v); };
        std::printf(
            "made %s: %.1f MB, %lld lines, %lld circles, %lld arcs, %lld points, %lld polylines "
            "(%lld vertices), %lld texts, %lld multi-line texts\n",
            gInput.c_str(), mb(s.bytes), n(s.lines), n(s.circles), n(s.arcs), n(s.points),
            n(s.polylines), n(s.vertices), n(s.texts), n(s.mtexts));
    }
    gInputBytes = std::filesystem::file_size(gInput);
}

void BM_TokenizeGroups(benchmark::State& state) {
    int64_t groups = 0;
    for (auto _ : state) {
        DxfReader r;
        r.open(gInput);
        groups = 0;
        while (r.readGroup())
            ++groups;
        benchmark::DoNotOptimize(groups);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * gInputBytes));
    state.counters["groups"] = static_cast<double>(groups);
}
BENCHMARK(BM_TokenizeGroups)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// Argument 1: texts laid out with the system font, as in the editor; 0: without outlines.
void BM_ReadDrawing(benchmark::State& state) {
    const mmGlyphTable* glyphs = state.range(0) ? gGlyphs.get() : nullptr;
    std::size_t entities = 0;
    for (auto _ : state) {
        auto drawing = std::make_unique<mmDrawing>();
        FillNewDrawing(*drawing);
        loadDrawingFromDxf(*drawing, glyphs, gInput, nullptr);
        entities = drawing->entities.size();
        state.PauseTiming();
        drawing.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * gInputBytes));
    state.counters["entities"] = static_cast<double>(entities);
}
BENCHMARK(BM_ReadDrawing)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

// Argument 0: the R12 writer; 1: DXF 2000.
void BM_SaveDrawing(benchmark::State& state) {
    mmDrawing drawing;
    FillNewDrawing(drawing);
    loadDrawingFromDxf(drawing, gGlyphs.get(), gInput, nullptr);
    const DxfVersion version = state.range(0) ? DxfVersion::R2000 : DxfVersion::R12;
    const std::string out = gInput + ".saved.dxf";
    for (auto _ : state) {
        if (!saveDrawingAsDxf(drawing, nullptr, out, version)) state.SkipWithError("save failed");
    }
    const uint64_t bytes = std::filesystem::file_size(out);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["MB written"] = mb(bytes);
    std::filesystem::remove(out);
}
BENCHMARK(BM_SaveDrawing)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

// A file of n layers, n lines each on one of them (named in another letter case), n / 4 blocks
// and a reference to each: names are looked up, not searched, so time grows with n alone.
std::string manyNamesDxf(int n) {
    std::string t = "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n";
    for (int i = 0; i < n; ++i) t += "0\nLAYER\n2\nLayer" + std::to_string(i) + "\n62\n1\n";
    t += "0\nENDTAB\n0\nENDSEC\n0\nSECTION\n2\nBLOCKS\n";
    for (int i = 0; i < n / 4; ++i)
        t += "0\nBLOCK\n2\nB" + std::to_string(i) + "\n0\nLINE\n11\n1\n0\nENDBLK\n";
    t += "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n";
    for (int i = 0; i < n; ++i) t += "0\nLINE\n8\nLAYER" + std::to_string(i) + "\n11\n1\n";
    for (int i = 0; i < n / 4; ++i) t += "0\nINSERT\n2\nB" + std::to_string(i) + "\n";
    return t + "0\nENDSEC\n0\nEOF\n";
}

void BM_ReadManyNames(benchmark::State& state) {
    const std::string text = manyNamesDxf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        mmDrawing drawing;
        FillNewDrawing(drawing);
        loadDrawingFromDxfText(drawing, nullptr, text, nullptr);
        benchmark::DoNotOptimize(drawing.entities.size());
    }
    state.counters["layers"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_ReadManyNames)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond)->UseRealTime();

// One read on its own, before the benchmarks: the peak memory it needs.
double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void reportReadMemory() {
    const long before = currentRssKb();
    {
        mmDrawing drawing;
        FillNewDrawing(drawing);
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = cpuSeconds();
        loadDrawingFromDxf(drawing, gGlyphs.get(), gInput, nullptr);
        const double cpu = cpuSeconds() - cpuStart;
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf(
            "first read of %.1f MB into %zu entities: %.2f s (%.0f MB/s), %.2f s CPU; "
            "resident %.0f MB (%.0f MB before), peak %.0f MB\n",
            mb(gInputBytes), drawing.entities.size(), wall, mb(gInputBytes) / wall, cpu,
            currentRssKb() / 1024.0, before / 1024.0, peakRssKb() / 1024.0);
    }
    std::printf(
        "sizeof: mmLine %zu, mmCircle %zu, mmArc %zu, mmPointObj %zu, mmPolyline %zu, mmText %zu, "
        "mmMText %zu, mmVertex %zu\n",
        sizeof(mmLine), sizeof(mmCircle), sizeof(mmArc), sizeof(mmPointObj), sizeof(mmPolyline),
        sizeof(mmText), sizeof(mmMText), sizeof(mmVertex));
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--dxf-file=", 11) == 0) gInput = argv[i] + 11;
    prepareInput();
    std::string fontMessage;
    gGlyphs = SystemGlyphTable(&fontMessage);
    if (!fontMessage.empty()) std::printf("%s\n", fontMessage.c_str());
    reportReadMemory();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
