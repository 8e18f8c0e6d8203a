// Drawing commands at survey scale: long polylines typed vertex by vertex (straight and tangent
// arcs), TEXT, and the import of a coordinate list of 100,000 labelled points.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "commands/Session.h"
#include "platform/RecordingHost.h"

namespace {

using kestrel::platform::RecordingHost;

// Submits a polyline of n vertices zigzagging right, in line or arc mode.
void typePolyline(mmSession& s, int n, bool arcs) {
    s.commandLine.SubmitMenuCommand(u"PLINE");
    s.commandLine.SubmitInput(u"0,0", false);
    if (arcs) s.commandLine.SubmitInput(u"A", false);
    for (int i = 1; i < n; ++i)
        s.commandLine.SubmitInput(i % 2 ? u"@10,5" : u"@10,-5", false);
    s.commandLine.SubmitInput(u"", false);
}

void BM_PlineTypedVertices(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const bool arcs = state.range(1) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        RecordingHost host;
        auto session = std::make_unique<mmSession>(host);
        state.ResumeTiming();
        typePolyline(*session, n, arcs);
        benchmark::DoNotOptimize(session->drawing.entities.back()->extents);
        state.PauseTiming();
        session.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_PlineTypedVertices)
    ->Args({10'000, 0})
    ->Args({10'000, 1})
    ->Unit(benchmark::kMillisecond);

void BM_TextCommand(benchmark::State& state) {
    RecordingHost host;
    mmSession s(host);
    for (auto _ : state) {
        s.commandLine.SubmitMenuCommand(u"TEXT");
        s.commandLine.SubmitInput(u"Survey point 1234 north", false);
        s.commandLine.SubmitInput(u"512345.25,6123456.75", false);
        s.commandLine.SubmitInput(u"2.5", false);
        s.commandLine.SubmitInput(u"30", false);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TextCommand);

const std::string& coordinateListFile() {
    static const std::string path = [] {
        const std::filesystem::path p =
            std::filesystem::temp_directory_path() / "kestrel-bench-coordinates.txt";
        std::ofstream out(p, std::ios::binary);
        for (int i = 0; i < 100'000; ++i)
            out << "P" << i << ';' << 512000.0 + (i % 400) * 2.5 << ';'
                << 6123000.0 + (i / 400) * 2.5 << "\r\n";
        return p.string();
    }();
    return path;
}

void BM_ImportCoordinateList(benchmark::State& state) {
    const std::string& path = coordinateListFile();
    for (auto _ : state) {
        state.PauseTiming();
        RecordingHost host;
        auto session = std::make_unique<mmSession>(host);
        host.queueOpenFiles({path});
        state.ResumeTiming();
        session->commandLine.SubmitMenuCommand(u"IMPTXT");
        benchmark::DoNotOptimize(session->drawing.entities.size());
        state.PauseTiming();
        session.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 100'000);
}
BENCHMARK(BM_ImportCoordinateList)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
