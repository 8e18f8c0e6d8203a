// The modify commands on large inputs, run through the command line: OFFSET of a polyline of
// 100,000 vertices with arcs, TRIM of 10,000 selected polylines, SENDBACK and BRINGFRONT of
// 10,000 selected entities in a drawing of a million, and the UNDO of each.
#include <benchmark/benchmark.h>

#include <memory>

#include "commands/Selection.h"
#include "commands/Session.h"
#include "commands/Undo.h"
#include "drawing/LayerRules.h"
#include "entities/Line.h"
#include "entities/Polyline.h"
#include "platform/Host.h"

namespace {

class QuietHost : public kestrel::platform::Host {
public:
    kestrel::platform::MessageAnswer messageBox(const std::string&, kestrel::platform::MessageKind,
                                                const std::string&) override {
        return kestrel::platform::MessageAnswer::Ok;
    }
};

QuietHost host;

void add(mmSession& s, const std::shared_ptr<mmObject>& e) {
    ApplyLayerDefaults(*e, s.drawing);
    e->id = s.drawing.nextEntityId++;
    e->UpdateGrips();
    e->UpdateExtents();
    AddEntity(s.drawing, e);
}

void submit(mmSession& s, std::u16string_view line) {
    s.commandLine.SubmitInput(line, false);
}

// The single pick of an object, as the view makes it.
void pickObject(mmSession& s, const mmObjectPtr& e) {
    SelectEntity(s, *e, true);
    s.pendingEntity = e;
    s.commandLine.SubmitInput(u"", true);
}

// A zigzag of 100,000 vertices whose every other segment is an arc.
std::shared_ptr<mmPolyline> longPolyline() {
    auto p = std::make_shared<mmPolyline>();
    for (int i = 0; i < 100'000; ++i) {
        p->points.emplace_back(i * 2.0, (i % 2) * 3.0);
        p->bulges.push_back(i % 2 ? 0.0 : 0.4);
    }
    return p;
}

void BM_OffsetLongPolylineWithArcs(benchmark::State& state) {
    mmSession s(host);
    const auto source = longPolyline();
    add(s, source);
    for (auto _ : state) {
        submit(s, u"offset");
        submit(s, u"1.5");
        pickObject(s, source);
        submit(s, u"100,50");
        state.PauseTiming();
        UndoStep(s);  // the copy stays in the list, erased
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 100'000);
}
BENCHMARK(BM_OffsetLongPolylineWithArcs)->Unit(benchmark::kMillisecond);

// 10,000 polylines of four vertices whose end segments cross the edge x = 0.
void BM_TrimTenThousandPolylines(benchmark::State& state) {
    mmSession s(host);
    auto edge = std::make_shared<mmPolyline>();
    edge->points = {mmVertex(0, -1), mmVertex(0, 100'001)};
    add(s, edge);
    mmEntityList targets;
    for (int i = 0; i < 10'000; ++i) {
        auto p = std::make_shared<mmPolyline>();
        const double y = i * 10.0;
        p->points = {mmVertex(-5, y), mmVertex(5, y), mmVertex(5, y + 5), mmVertex(-5, y + 5)};
        add(s, p);
        targets.push_back(p);
    }
    for (auto _ : state) {
        submit(s, u"trim");
        pickObject(s, edge);
        state.PauseTiming();
        for (const mmObjectPtr& t : targets)
            SetEntitySelected(s, *t, true);
        state.ResumeTiming();
        submit(s, u"");
        state.PauseTiming();
        UndoStep(s);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 10'000);
}
BENCHMARK(BM_TrimTenThousandPolylines)->Unit(benchmark::kMillisecond);

mmSession& millionLines() {
    static mmSession session(host);
    static const bool filled = [] {
        session.drawing.entities.reserve(1'100'000);
        for (int i = 0; i < 1'000'000; ++i) {
            auto line = std::make_shared<mmLine>();
            line->AddPoint((i % 1000) * 10.0, (i / 1000) * 10.0);
            line->AddPoint((i % 1000) * 10.0 + 7.0, (i / 1000) * 10.0 + 3.0);
            add(session, line);
        }
        UpdateSpatialIndex(session.drawing);
        return true;
    }();
    (void)filled;
    return session;
}

// Every hundredth entity selected (by id: the entries of those moved before are erased), then
// the command; the first search after it brings the spatial index up to date, which is part of
// the cost.
void selectEveryHundredth(mmSession& s) {
    for (int32_t id = 0; id < 1'000'000; id += 100)
        SetEntitySelected(s, *FindEntity(s.drawing, id), true);
}

void drawOrder(benchmark::State& state, std::u16string_view command) {
    mmSession& s = millionLines();
    std::vector<int32_t> positions;
    for (auto _ : state) {
        state.PauseTiming();
        selectEveryHundredth(s);
        state.ResumeTiming();
        submit(s, command);
        positions.clear();
        EntitiesNear(s.drawing, mmRect{0, 0, 10, 10}, positions);
        benchmark::DoNotOptimize(positions.data());
    }
    state.SetItemsProcessed(state.iterations() * 10'000);
    state.counters["entries"] = static_cast<double>(s.drawing.entities.size());
}

void BM_SendBackInAMillion(benchmark::State& state) {
    drawOrder(state, u"sendback");
}
BENCHMARK(BM_SendBackInAMillion)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_BringFrontInAMillion(benchmark::State& state) {
    drawOrder(state, u"bringfront");
}
BENCHMARK(BM_BringFrontInAMillion)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_UndoRedoOfSendBackInAMillion(benchmark::State& state) {
    mmSession& s = millionLines();
    selectEveryHundredth(s);
    submit(s, u"sendback");
    for (auto _ : state) {
        UndoStep(s);
        RedoStep(s);
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_UndoRedoOfSendBackInAMillion)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
