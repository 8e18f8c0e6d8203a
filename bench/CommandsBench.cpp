// Commands on a drawing of a million lines: LINE submitted through the command line, undo and
// redo of a step, and the coordinate grammar.
#include <benchmark/benchmark.h>

#include "commands/InputGrammar.h"
#include "commands/Session.h"
#include "commands/Undo.h"
#include "drawing/LayerRules.h"
#include "entities/Line.h"
#include "platform/Host.h"

namespace {

class QuietHost : public kestrel::platform::Host {
public:
    kestrel::platform::MessageAnswer messageBox(const std::string&,
                                                kestrel::platform::MessageKind,
                                                const std::string&) override {
        return kestrel::platform::MessageAnswer::Ok;
    }
};

mmSession& largeSession() {
    static QuietHost host;
    static mmSession session(host);
    static const bool filled = [] {
        mmDrawing& d = session.drawing;
        d.entities.reserve(1'000'000);
        for (int i = 0; i < 1'000'000; ++i) {
            auto line = std::make_shared<mmLine>();
            ApplyLayerDefaults(*line, d);
            line->id = d.nextEntityId++;
            line->AddPoint((i % 1000) * 10.0, (i / 1000) * 10.0);
            line->AddPoint((i % 1000) * 10.0 + 7.0, (i / 1000) * 10.0 + 3.0);
            line->UpdateExtents();
            AddEntity(d, line);
        }
        return true;
    }();
    (void)filled;
    return session;
}

void BM_LineCommand(benchmark::State& state) {
    mmSession& s = largeSession();
    for (auto _ : state) {
        s.commandLine.SubmitMenuCommand(u"LINE");
        s.commandLine.SubmitInput(u"12.5,7.25", false);
        s.commandLine.SubmitInput(u"@30<45", false);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LineCommand);

void BM_UndoRedo(benchmark::State& state) {
    mmSession& s = largeSession();
    s.commandLine.SubmitMenuCommand(u"LINE");
    s.commandLine.SubmitInput(u"0,0", false);
    s.commandLine.SubmitInput(u"1,1", false);
    for (auto _ : state) {
        UndoStep(s);
        RedoStep(s);
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_UndoRedo);

void BM_ParseCoordinateInput(benchmark::State& state) {
    const mmVertex last(10, 20);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParseCoordinateInput(u"@123.456,-78.9", last));
        benchmark::DoNotOptimize(ParseCoordinateInput(u"250<33.5", last));
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_ParseCoordinateInput);

}  // namespace

BENCHMARK_MAIN();
