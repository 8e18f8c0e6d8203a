// Blocks and dimensions at survey scale: inserting 100,000 references to a block of 20 entities
// (with and without scale and rotation), one pick pass over them, rebuilding 100,000 dimensions,
// and making their blocks for a save (the first save, then a later one).
#include <benchmark/benchmark.h>

#include "BenchGlyphs.h"

#include <malloc.h>

#include <cstdio>
#include <string>

#include "drawing/DimensionRules.h"
#include "drawing/Drawing.h"
#include "entities/Arc.h"
#include "entities/Block.h"
#include "entities/BlockRef.h"
#include "entities/Circle.h"
#include "entities/Dimension.h"
#include "entities/Line.h"
#include "entities/Polyline.h"
#include "entities/Text.h"
#include "support/TestView.h"

namespace {

constexpr int kReferences = 100'000;
constexpr int kDimensions = 100'000;

// A survey symbol of 20 entities: 8 lines, 4 circles, 4 arcs, 2 polylines with an arc segment,
// 2 texts; base point (1000, 1000).
mmBlockTable& symbolTable() {
    static mmBlockTable table = [] {
        mmBlockTable t;
        mmBlockPtr b = CreateBlock(0, 1000, 1000, 0, u"SYMBOL");
        for (int i = 0; i < 8; ++i) {
            auto l = std::make_shared<mmLine>();
            l->AddPoint(1000 + i, 1000);
            l->AddPoint(1000 + i, 1004);
            AddToBlock(*b, l);
        }
        for (int i = 0; i < 4; ++i) {
            auto c = std::make_shared<mmCircle>();
            c->AddPoint(1002 + i, 1002);
            c->SetRadius(0.5 + i);
            AddToBlock(*b, c);
            auto a = std::make_shared<mmArc>();
            a->AddPoint(1002, 1002 + i);
            a->radius = 1.5;
            a->startAngle = 10.0 * i;
            a->endAngle = 120.0 + 10.0 * i;
            a->UpdateGrips();
            AddToBlock(*b, a);
        }
        for (int i = 0; i < 2; ++i) {
            auto p = std::make_shared<mmPolyline>();
            for (const mmVertex& v :
                 {mmVertex(1000, 1000), mmVertex(1006, 1000), mmVertex(1006, 1003)})
                p->AddPoint(v.x, v.y + i);
            p->bulges = {0.0, 0.4, 0.0};
            p->UpdateGrips();
            AddToBlock(*b, p);
        }
        for (const char* s : {"TP", "1234"}) {
            auto text = std::make_shared<mmText>();
            text->CreateText(s, glyphs());
            text->SetHeight(0.8, nullptr);
            text->SetInsertionPoint(1001, 1005);
            AddToBlock(*b, text);
        }
        t[b->id] = b;
        return t;
    }();
    return table;
}

std::vector<std::shared_ptr<mmBlockRef>> insertReferences(bool transform) {
    std::vector<std::shared_ptr<mmBlockRef>> refs;
    refs.reserve(kReferences);
    for (int i = 0; i < kReferences; ++i) {
        auto ref = std::make_shared<mmBlockRef>();
        ref->id = i;
        ref->AddPoint(500000.0 + (i % 300) * 20.0, 4000000.0 + (i / 300) * 20.0);
        ref->InstantiateBlock(u"SYMBOL", symbolTable(), glyphs());
        if (transform) {
            ref->SetScale(2.0, 2.0, false);
            ref->SetRotation(30.0, false);
        }
        ref->UpdateGrips();
        ref->UpdateExtents();
        refs.push_back(std::move(ref));
    }
    return refs;
}

void BM_InsertReferences(benchmark::State& state) {
    const bool transform = state.range(0) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::size_t before = mallinfo2().uordblks;
        state.ResumeTiming();
        auto refs = insertReferences(transform);
        benchmark::DoNotOptimize(refs.data());
        state.PauseTiming();
        state.counters["bytes_per_ref"] =
            static_cast<double>(mallinfo2().uordblks - before) / kReferences;
        refs.clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kReferences);
}
BENCHMARK(BM_InsertReferences)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One click over every reference with the whole grid in view; culling rejects all but a few.
void BM_PickReferences(benchmark::State& state) {
    static auto refs = insertReferences(false);
    TestView view(1920, 1080, 0.25, -125000, 1001070);
    int hits = 0;
    for (auto _ : state) {
        hits = 0;
        for (const auto& r : refs)
            hits += r->HitTest(view.px(500000.0 + 20.0 * 7 + 3), view.py(4000000.0 + 20.0 * 5 + 1),
                               view.rect(), view.m, view.scale(), {}, true);
        benchmark::DoNotOptimize(hits);
    }
    state.counters["hits"] = hits;
    state.SetItemsProcessed(state.iterations() * kReferences);
}
BENCHMARK(BM_PickReferences)->Unit(benchmark::kMillisecond);

double bytesPerDimension = 0.0;

mmDrawing& dimensionDrawing() {
    static mmDrawing d;
    static const bool filled = [] {
        const std::size_t before = mallinfo2().uordblks;
        FillNewDrawing(d);
        d.entities.reserve(kDimensions);
        for (int i = 0; i < kDimensions; ++i) {
            const double x = 500000.0 + (i % 300) * 30.0, y = 4000000.0 + (i / 300) * 30.0;
            const int16_t type = i % 2 ? kDimAligned : kDimRotated;
            auto dim =
                NewDimension(d, type, d.nextEntityId++,
                             {{{x, y}, {x + 12.345, y + (i % 7)}, {x + 12.345, y + 8}}}, glyphs());
            AddEntity(d, dim);
        }
        bytesPerDimension = static_cast<double>(mallinfo2().uordblks - before) / kDimensions;
        return true;
    }();
    (void)filled;
    return d;
}

void BM_RebuildDimensions(benchmark::State& state) {
    mmDrawing& d = dimensionDrawing();
    state.counters["bytes_per_dim"] = bytesPerDimension;
    for (auto _ : state)
        for (const mmObjectPtr& e : d.entities) {
            auto& dim = static_cast<mmDimension&>(*e);
            dim.BuildDimension(nullptr);
            dim.UpdateGrips();
            dim.UpdateExtents();
        }
    state.SetItemsProcessed(state.iterations() * kDimensions);
}
BENCHMARK(BM_RebuildDimensions)->Unit(benchmark::kMillisecond);

// Arg 0: the first save adds every block; arg 1: a later save refreshes them.
void BM_MakeDimensionBlocks(benchmark::State& state) {
    mmDrawing& d = dimensionDrawing();
    const bool again = state.range(0) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (!again || d.blocks.empty()) {
            d.blocks.clear();
            d.nextBlockId = 0;
            if (again) MakeDimensionBlock(d);
        }
        state.ResumeTiming();
        benchmark::DoNotOptimize(MakeDimensionBlock(d));
    }
    state.SetItemsProcessed(state.iterations() * kDimensions);
}
BENCHMARK(BM_MakeDimensionBlocks)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    std::printf("sizeof: mmBlockRef %zu, mmDimension %zu, mmBlock %zu\n", sizeof(mmBlockRef),
                sizeof(mmDimension), sizeof(mmBlock));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
