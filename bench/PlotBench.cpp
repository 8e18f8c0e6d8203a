// Plotting a drawing of 1,000,000 lines to a one-page PDF, from the Model tab (all of it in the
// window) and from Layout1 (its viewport zoomed to all of it): the offscreen render, the page
// picture and the PDF file.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdio>
#include <iostream>

#include "commands/Layouts.h"
#include "commands/Plotting.h"
#include "commands/Session.h"
#include "commands/StartupDrawing.h"
#include "display/Viewports.h"
#include "entities/Line.h"
#include "shell/HeadlessScript.h"

namespace {

// Lines in a grid of cells 10 units wide, 1000 cells a row.
void fill(mmSession& s, int count) {
    for (int i = 0; i < count; ++i) {
        const double x = (i % 1000) * 10.0, y = (i / 1000) * 10.0;
        auto line = std::make_shared<mmLine>();
        line->id = s.drawing.nextEntityId++;
        line->color = 0x0000FF;
        line->AddPoint(x, y);
        line->AddPoint(x + 7, y + 3 + (i % 5));
        line->UpdateGrips();
        line->UpdateExtents();
        AddEntity(s.drawing, line);
    }
}

void BM_PlotToPdf(benchmark::State& state) {
    HeadlessHost host(std::cerr);
    mmSession session(host);
    PrepareStartupView(session, 1280, 800);
    fill(session, 1'000'000);
    session.modelView.zoomExtents(session.drawing.ModelSpace().entities);
    if (state.range(0) == 1) {
        ActivateTab(session, 1);
        SetPaperMode(session, false);
        session.ActiveView().zoomExtents(session.drawing.ModelSpace().entities);
        SetPaperMode(session, true);
    }
    const std::string path = "/tmp/kestrel-plot-bench.pdf";
    for (auto _ : state)
        if (!PlotActiveView(session, path)) state.SkipWithError("the plot failed");
    std::remove(path.c_str());
}
// 0: the Model tab, 1: Layout1.
BENCHMARK(BM_PlotToPdf)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
