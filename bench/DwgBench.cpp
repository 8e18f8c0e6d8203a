// DWG import split into its two halves: the bridge's decode (Node.js and LibreDWG, a child
// process) and the conversion of its JSON document into the drawing (parse and convert), for the
// largest DWG test drawing and for synthetic documents of 100,000 and 1,000,000 entities in the
// bridge's form. Pass --dwg-file=PATH to time another file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>

#include "drawing/Drawing.h"
#include "fileio/dwg/DwgBridge.h"
#include "fileio/dwg/DwgJson.h"
#include "fileio/dwg/DwgLoad.h"

namespace {

std::string gDwg = std::string(KESTREL_TEST_DATA_DIR) + "/dwg/example_2000.dwg";
std::string gDecoded;  // the bridge's document for gDwg

bool decodeOnce(benchmark::State& state) {
    if (gDecoded.empty()) {
        DwgBridgeOutcome o = RunDwgBridge(gDwg);
        if (!o.ok) {
            state.SkipWithError((gDwg + ": " + o.message + " " + o.detail).c_str());
            return false;
        }
        gDecoded = std::move(o.json);
    }
    return true;
}

void BM_BridgeDecode(benchmark::State& state) {
    if (!std::filesystem::exists(gDwg)) {
        state.SkipWithError(("no file " + gDwg).c_str());
        return;
    }
    std::size_t bytes = 0;
    for (auto _ : state) {
        DwgBridgeOutcome o = RunDwgBridge(gDwg);
        if (!o.ok) {
            state.SkipWithError((o.message + " " + o.detail).c_str());
            return;
        }
        bytes = o.json.size();
        if (gDecoded.empty()) gDecoded = std::move(o.json);
    }
    state.counters["json_MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_BridgeDecode)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_ConvertDecodedFile(benchmark::State& state) {
    if (!decodeOnce(state)) return;
    for (auto _ : state) {
        mmDrawing d;
        FillNewDrawing(d);
        const DwgImportResult r = importDwgDocument(d, nullptr, gDecoded, nullptr, false, {});
        benchmark::DoNotOptimize(r.ok);
        state.counters["entities"] = static_cast<double>(d.entities.size());
    }
}
BENCHMARK(BM_ConvertDecodedFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// A survey drawing in the bridge's form: lines, light-weight polylines of 2 to 14 vertices,
// circles, arcs, points, texts and multi-line texts on eight layers at large coordinates.
std::string syntheticDocument(int64_t count) {
    std::mt19937 rng(1);
    std::uniform_real_distribution<double> coord(0.0, 5000.0), small(0.5, 40.0);
    std::string s =
        R"({"format":1,"file_magic":"AC1015","version":"R_2000","error":0,"codepage":30,"DIMSTYLE":[],"LAYER":[)";
    for (int l = 0; l < 8; ++l)
        s += std::string(l ? "," : "") + R"({"name":"L)" + std::to_string(l) +
             R"(","flag":0,"frozen":0,"locked":0,"color":{"index":)" + std::to_string(l + 1) +
             R"(,"rgb":0,"method":0},"linewt":31})";
    s += R"(],"BLOCK_HEADER":[],"entities":[)";
    char buffer[256];
    const auto x = [&] { return 2500000.0 + coord(rng); };
    const auto y = [&] { return 5600000.0 + coord(rng); };
    for (int64_t i = 0; i < count; ++i) {
        if (i) s += ',';
        std::snprintf(
            buffer, sizeof buffer,
            R"({"entmode":2,"invisible":0,"color":{"index":256,"rgb":0,"method":0},"layer":"L%d","linewt":29,)",
            static_cast<int>(i % 8));
        s += buffer;
        switch (i % 10) {
            case 0:
            case 1:
            case 2:
                std::snprintf(
                    buffer, sizeof buffer,
                    R"("type":"LINE","start":[%.6f,%.6f,0],"end":[%.6f,%.6f,0],"extrusion":[0,0,1]})",
                    x(), y(), x(), y());
                s += buffer;
                break;
            case 3:
            case 4: {
                const int n = 2 + static_cast<int>(i % 13);
                s += R"("type":"LWPOLYLINE","flag":)" + std::to_string(i % 3 == 0 ? 512 : 0) +
                     R"(,"points":[)";
                for (int k = 0; k < n; ++k) {
                    std::snprintf(buffer, sizeof buffer, "%s[%.6f,%.6f]", k ? "," : "", x(), y());
                    s += buffer;
                }
                s += R"(],"bulges":[],"const_width":0,"elevation":0,"extrusion":[0,0,1]})";
                break;
            }
            case 5:
                std::snprintf(
                    buffer, sizeof buffer,
                    R"("type":"CIRCLE","center":[%.6f,%.6f,0],"radius":%.6f,"extrusion":[0,0,1]})",
                    x(), y(), small(rng));
                s += buffer;
                break;
            case 6:
                std::snprintf(
                    buffer, sizeof buffer,
                    R"("type":"ARC","center":[%.6f,%.6f,0],"radius":%.6f,"start_angle":0.5,"end_angle":2.5,"extrusion":[0,0,1]})",
                    x(), y(), small(rng));
                s += buffer;
                break;
            case 7:
                std::snprintf(buffer, sizeof buffer,
                              R"("type":"POINT","x":%.6f,"y":%.6f,"z":0,"extrusion":[0,0,1]})", x(),
                              y());
                s += buffer;
                break;
            case 8:
                std::snprintf(
                    buffer, sizeof buffer,
                    R"("type":"TEXT","ins_pt":[%.6f,%.6f],"alignment_pt":[0,0],"height":2.5,"rotation":0,"width_factor":1,"text_value":"P%lld","style":"Standard"})",
                    x(), y(), static_cast<long long>(i));
                s += buffer;
                break;
            default:
                std::snprintf(
                    buffer, sizeof buffer,
                    R"("type":"MTEXT","ins_pt":[%.6f,%.6f,0],"x_axis_dir":[1,0,0],"text_height":2.5,"attachment":1,"text":"\\A1;Parcel %lld\\PArea"})",
                    x(), y(), static_cast<long long>(i));
                s += buffer;
                break;
        }
    }
    s += "]}";
    return s;
}

void BM_ParseSyntheticJson(benchmark::State& state) {
    const std::string doc = syntheticDocument(state.range(0));
    for (auto _ : state) {
        const DwgJson j = DwgJson::parse(doc, nullptr, false);
        benchmark::DoNotOptimize(j.is_discarded());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * doc.size()));
    state.counters["json_MB"] = static_cast<double>(doc.size()) / 1e6;
}
BENCHMARK(BM_ParseSyntheticJson)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ImportSyntheticDocument(benchmark::State& state) {
    const std::string doc = syntheticDocument(state.range(0));
    for (auto _ : state) {
        mmDrawing d;
        FillNewDrawing(d);
        const DwgImportResult r = importDwgDocument(d, nullptr, doc, nullptr, false, {});
        if (!r.ok || d.entities.size() != static_cast<std::size_t>(state.range(0)))
            state.SkipWithError("the document did not convert");
        state.PauseTiming();
        {
            mmDrawing released;
            std::swap(released.entities, d.entities);
        }
        state.ResumeTiming();
    }
    state.counters["json_MB"] = static_cast<double>(doc.size()) / 1e6;
}
BENCHMARK(BM_ImportSyntheticDocument)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--dwg-file=", 11) == 0) gDwg = argv[i] + 11;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
