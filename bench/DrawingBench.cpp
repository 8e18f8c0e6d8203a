// Model space with a million lines: adding, finding by id, and one pick pass for a cursor.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdio>

#include "drawing/Drawing.h"
#include "drawing/LayerRules.h"
#include "entities/Arc.h"
#include "entities/Circle.h"
#include "entities/Line.h"
#include "entities/Point.h"
#include "support/TestView.h"

namespace {

constexpr int kLines = 1'000'000;

void fillLines(mmDrawing& drawing, int count) {
    drawing.entities.reserve(count);
    for (int i = 0; i < count; ++i) {
        auto line = std::make_shared<mmLine>();
        ApplyLayerDefaults(*line, drawing);
        line->id = drawing.nextEntityId;
        const double x = (i % 1000) * 10.0;
        const double y = (i / 1000) * 10.0;
        line->AddPoint(x, y);
        line->AddPoint(x + 7.0, y + 3.0);
        line->UpdateGrips();
        line->UpdateExtents();
        AddEntity(drawing, line);
        ++drawing.nextEntityId;
    }
}

void BM_AddLines(benchmark::State& state) {
    for (auto _ : state) {
        mmDrawing drawing;
        FillNewDrawing(drawing);
        fillLines(drawing, kLines);
        benchmark::DoNotOptimize(drawing.entities.data());
        state.PauseTiming();
        ResetDrawing(drawing);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_AddLines)->Unit(benchmark::kMillisecond);

mmDrawing& sharedDrawing() {
    static mmDrawing drawing;
    static const bool filled = [] {
        FillNewDrawing(drawing);
        fillLines(drawing, kLines);
        return true;
    }();
    (void)filled;
    return drawing;
}

void BM_FindEachById(benchmark::State& state) {
    mmDrawing& drawing = sharedDrawing();
    for (auto _ : state) {
        for (int id = 0; id < kLines; ++id) benchmark::DoNotOptimize(FindEntity(drawing, id).get());
    }
    state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_FindEachById)->Unit(benchmark::kMillisecond);

// One pass of culling and picking over the whole list for a cursor, as a click does.
void BM_HitTestPass(benchmark::State& state) {
    mmDrawing& drawing = sharedDrawing();
    TestView view(1920, 1080, 2.0, 100, 1000);  // a window onto part of the grid
    const mmRect rect = view.rect();
    int hits = 0;
    for (auto _ : state) {
        hits = 0;
        for (const mmObjectPtr& e : drawing.entities)
            if (e && e->visible && !e->erased &&
                e->HitTest(view.px(503.5), view.py(201.5), rect, view.m, view.scale(), {}, true))
                ++hits;
        benchmark::DoNotOptimize(hits);
    }
    state.counters["hits"] = hits;
    state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_HitTestPass)->Unit(benchmark::kMillisecond);

void reportMemory() {
    std::printf("sizeof: mmObject %zu, mmLine %zu, mmCircle %zu, mmArc %zu, mmPointObj %zu\n",
                sizeof(mmObject), sizeof(mmLine), sizeof(mmCircle), sizeof(mmArc),
                sizeof(mmPointObj));
    const std::size_t before = mallinfo2().uordblks;
    {
        mmDrawing drawing;
        FillNewDrawing(drawing);
        fillLines(drawing, kLines);
        const std::size_t after = mallinfo2().uordblks;
        std::printf("heap per line in model space (entity, points, grips, index): %.1f bytes\n",
                    static_cast<double>(after - before) / kLines);
    }
}

}  // namespace

int main(int argc, char** argv) {
    reportMemory();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
