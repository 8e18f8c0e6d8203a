// MOVE, ROTATE and SCALE of large selections as the modify module applies them: every entity
// changed and snapshotted for UNDO as one step.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "commands/Session.h"
#include "entities/Line.h"
#include "entities/Text.h"
#include "platform/RecordingHost.h"
#include "shell/extension/ObjectEdits.h"

namespace {

using kestrel::platform::RecordingHost;

// n entities: lines, with every tenth a text.
std::vector<int> fill(mmSession& s, int n) {
    std::vector<int> ids;
    ids.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        mmObjectPtr e;
        const double x = (i % 1000) * 10.0, y = (i / 1000) * 10.0;
        if (i % 10 == 9) {
            auto text = std::make_shared<mmText>();
            text->CreateText("A1", s.glyphTable);
            text->SetInsertionPoint(x, y);
            e = text;
        } else {
            auto line = std::make_shared<mmLine>();
            line->AddPoint(x, y);
            line->AddPoint(x + 5, y + 5);
            e = line;
        }
        e->UpdateGrips();
        e->UpdateExtents();
        e->id = s.drawing.nextEntityId++;
        AddEntity(s.drawing, e);
        ids.push_back(e->id);
    }
    return ids;
}

template <class Edit>
void run(benchmark::State& state, Edit edit) {
    const int n = static_cast<int>(state.range(0));
    RecordingHost host;
    mmSession s(host);
    const std::vector<int> ids = fill(s, n);
    for (auto _ : state) {
        benchmark::DoNotOptimize(edit(s, ids));
        // Only the step just recorded is kept, as after one command.
        state.PauseTiming();
        for (auto& step : s.drawing.undoSlots) step.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void BM_MoveObjects(benchmark::State& state) {
    run(state, [](mmSession& s, const std::vector<int>& ids) { return MoveObjects(s, ids, 1, 2); });
}
void BM_RotateObjects(benchmark::State& state) {
    run(state, [](mmSession& s, const std::vector<int>& ids) {
        return RotateObjects(s, ids, 5000, 500, 30);
    });
}
void BM_ScaleObjects(benchmark::State& state) {
    run(state, [](mmSession& s, const std::vector<int>& ids) {
        return ScaleObjects(s, ids, 5000, 500, 1.001);
    });
}
BENCHMARK(BM_MoveObjects)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RotateObjects)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScaleObjects)->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
